#pragma once

#include "platform/Platform.h"

#include <memory>

class QUrl;

namespace platform {

// What the shell's "open" of a target opens.
QUrl shellTarget(const QString &target);

// The platform on Qt: real message boxes, the keyboard of the desktop.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    MessageBoxes &messageBoxes() override;
    KeyboardLayouts &keyboardLayouts() override;
    ObjectDialogs &objectDialogs() override;
    Printing &printing() override;
    Shell &shell() override;
    FileDialogs &fileDialogs() override;
    TrayIcon &trayIcon() override;
    LockKeys &lockKeys() override;
    FormatDialogs &formatDialogs() override;
    ModalWindows &modalWindows() override;
    Clock &clock() override;
    FindDialogs &findDialogs() override;

private:
    std::unique_ptr<MessageBoxes> messageBoxes_;
    std::unique_ptr<KeyboardLayouts> keyboardLayouts_;
    std::unique_ptr<ObjectDialogs> objectDialogs_;
    std::unique_ptr<Printing> printing_;
    std::unique_ptr<Shell> shell_;
    std::unique_ptr<FileDialogs> fileDialogs_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<LockKeys> lockKeys_;
    std::unique_ptr<FormatDialogs> formatDialogs_;
    std::unique_ptr<ModalWindows> modalWindows_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<FindDialogs> findDialogs_;
};

} // namespace platform
