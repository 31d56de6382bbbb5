#pragma once

#include "platform/Platform.h"

#include <memory>

class QSystemTrayIcon;

namespace platform {
class TrayClicks;
}

namespace platform {

// The icon on whichever tray Qt finds: XEmbed or StatusNotifierItem.
class QtTrayIcon : public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;

    bool isAvailable() const override;
    void show(const QString &tip) override;
    void hide() override;
    bool isVisible() const override;
    void setActivationHandler(std::function<void(Activation)> handler) override;

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<TrayClicks> clicks_;
    std::function<void(Activation)> handler_;
};

} // namespace platform
