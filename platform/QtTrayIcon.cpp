#include "platform/QtTrayIcon.h"

#include <QGuiApplication>
#include <QSystemTrayIcon>

namespace platform {

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

bool QtTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::show(const QString &tip)
{
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(QGuiApplication::windowIcon());
        QObject::connect(icon_.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
            if (!handler_)
                return;
            switch (reason) {
            case QSystemTrayIcon::Trigger: handler_(Activation::LeftClick); break;
            case QSystemTrayIcon::Context: handler_(Activation::RightClick); break;
            case QSystemTrayIcon::DoubleClick: handler_(Activation::DoubleClick); break;
            default: break;
            }
        });
    }
    icon_->setToolTip(tip);
    icon_->show();
}

void QtTrayIcon::hide()
{
    if (icon_)
        icon_->hide();
}

bool QtTrayIcon::isVisible() const
{
    return icon_ && icon_->isVisible();
}

void QtTrayIcon::setActivationHandler(std::function<void(Activation)> handler)
{
    handler_ = std::move(handler);
}

} // namespace platform
