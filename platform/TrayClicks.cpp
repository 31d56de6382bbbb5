#include "platform/TrayClicks.h"

namespace platform {

TrayClicks::TrayClicks(int doubleClickMs, std::function<void(TrayIcon::Activation)> deliver)
    : deliver_(std::move(deliver))
{
    pendingClick_.setSingleShot(true);
    pendingClick_.setInterval(doubleClickMs);
    connect(&pendingClick_, &QTimer::timeout, this, [this] { deliver_(TrayIcon::Activation::LeftClick); });
}

void TrayClicks::receive(Raw raw)
{
    switch (raw) {
    case Raw::LeftPress:
        if (!reportsDoubleClicks_)
            deliver_(TrayIcon::Activation::DoubleClick);
        else if (!pendingClick_.isActive()) // the second press of a double click comes here too
            pendingClick_.start();
        break;
    case Raw::DoublePress:
        pendingClick_.stop();
        deliver_(TrayIcon::Activation::DoubleClick);
        break;
    case Raw::RightPress:
        pendingClick_.stop();
        deliver_(TrayIcon::Activation::RightClick);
        break;
    }
}

} // namespace platform
