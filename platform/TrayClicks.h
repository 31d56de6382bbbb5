#pragma once

#include "platform/Platform.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace platform {

// Turns the clicks a tray reports into what the user meant. An XEmbed tray
// reports the first press of a double click as a click of its own: that click
// waits out the double-click interval, so a double click is never taken for a
// click plus a menu that swallows the second press. A StatusNotifierItem tray
// never reports a double click, so there a left click is the double click.
class TrayClicks : public QObject {
public:
    enum class Raw { LeftPress, RightPress, DoublePress };

    TrayClicks(int doubleClickMs, std::function<void(TrayIcon::Activation)> deliver);

    void setReportsDoubleClicks(bool reports) { reportsDoubleClicks_ = reports; }
    void receive(Raw raw);

private:
    QTimer pendingClick_;
    bool reportsDoubleClicks_ = true;
    std::function<void(TrayIcon::Activation)> deliver_;
};

} // namespace platform
