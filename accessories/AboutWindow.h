#pragma once

#include <QDialog>
#include <functional>

// The about window, built anew at each opening: the program, its version, its
// developer and release date, and two lines that open the web site and start a
// mail while the window stays open.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(bool english, std::function<void()> openSite, std::function<void()> startMail, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The calendar window: a month calendar that fills it, showing today.
class CalendarWindow : public QDialog {
    Q_OBJECT
public:
    explicit CalendarWindow(QWidget *parent = nullptr);
};
