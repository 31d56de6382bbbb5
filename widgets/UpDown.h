#pragma once

#include <QWidget>

class QLineEdit;

// A pair of arrow buttons that steps a position within a range and shows it in
// a buddy text box. Before each step the position is taken from the box, so a
// number typed there is where the next step starts.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    int position() const { return position_; }
    void setPosition(int position);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setRange(int minimum, int maximum);
    // The box that shows the position; its Up and Down keys step too.
    void setBuddy(QLineEdit *buddy);

    // One step, as a click on an arrow does.
    void step(bool up);

Q_SIGNALS:
    // Raised before a step; position() is still the value shown until now.
    void changing(bool up);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int position_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
    QLineEdit *buddy_ = nullptr;
};
