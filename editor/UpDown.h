#pragma once

#include <QWidget>

class QToolButton;

// A pair of arrow buttons that steps a position within a range.
class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    int position() const { return position_; }
    void setPosition(int position);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    void setRange(int minimum, int maximum);

Q_SIGNALS:
    // Raised before a step; `positionBefore` is the position shown until now.
    void changing(int positionBefore, bool up);

private:
    void step(bool up);

    int position_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
};
