#pragma once

#include <QFrame>
#include <QList>

class QLabel;

// A status bar of fixed-width text panels; the last panel reaches to the bar's
// right end. Each panel is a label without a name of its own, so a screen reader
// hears the text it shows and is told whenever that text changes.
class StatusBar : public QFrame {
    Q_OBJECT
public:
    StatusBar(int panelCount, QWidget *parent = nullptr);

    int panelCount() const { return static_cast<int>(panels_.size()); }
    QLabel *panel(int index) const { return panels_.at(index); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);
    void setPanelAlignment(int index, Qt::Alignment alignment);

    // Widths in pixels; the last panel keeps at least its width and takes the rest.
    void setPanelWidths(const QList<int> &widths);
    int panelWidth(int index) const;

private:
    QList<QLabel *> panels_;
    QList<int> widths_;
};
