#include "platform/QtTrayIcon.h"

#include "platform/TrayClicks.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QWidget>
#include <algorithm>

namespace platform {

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

bool QtTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

namespace {

// Qt docks an icon on an XEmbed tray through a widget window of its own; on a
// StatusNotifierItem tray there is no such window.
bool onXEmbedTray()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget *window) {
        return window->objectName() == QLatin1String("QSystemTrayIconSys");
    });
}

} // namespace

void QtTrayIcon::show(const QString &tip)
{
    if (!icon_) {
        icon_ = std::make_unique<QSystemTrayIcon>(QGuiApplication::windowIcon());
        clicks_ = std::make_unique<TrayClicks>(QApplication::doubleClickInterval(), [this](Activation activation) {
            if (handler_)
                handler_(activation);
        });
        QObject::connect(icon_.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
            case QSystemTrayIcon::Trigger: clicks_->receive(TrayClicks::Raw::LeftPress); break;
            case QSystemTrayIcon::Context: clicks_->receive(TrayClicks::Raw::RightPress); break;
            case QSystemTrayIcon::DoubleClick: clicks_->receive(TrayClicks::Raw::DoublePress); break;
            default: break;
            }
        });
    }
    icon_->setToolTip(tip);
    icon_->show();
    clicks_->setReportsDoubleClicks(onXEmbedTray());
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
