#include "platform/QtPlatform.h"

#include "platform/QtMessageBoxes.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtFormatDialogs.h"
#include "platform/QtObjectDialogs.h"
#include "platform/QtTrayIcon.h"
#include "platform/X11Keyboard.h"

#include <QCoreApplication>
#include <QDialog>
#include <QProcess>

#include <QDesktopServices>
#include <QFileInfo>
#include <QPrinter>
#include <QUrl>

namespace platform {

namespace {

class QtModalWindows : public ModalWindows {
public:
    int exec(QDialog &window) override { return window.exec(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() override { return QDateTime::currentDateTime(); }
};

class QtPrinting : public Printing {
public:
    QPrinter &currentPrinter() override { return printer_; }

private:
    QPrinter printer_{QPrinter::HighResolution};
};

// Hands a file or an address to the desktop; what happens then is the
// desktop's business and is not reported.
class QtShell : public Shell {
public:
    void open(const QString &target) override
    {
        const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
        QDesktopServices::openUrl(url);
    }

    void startProgramCopy() override
    {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    }
};

} // namespace

QtPlatform::QtPlatform()
    : messageBoxes_(std::make_unique<QtMessageBoxes>()),
      keyboardLayouts_(makeDesktopKeyboardLayouts()),
      objectDialogs_(std::make_unique<QtObjectDialogs>()),
      printing_(std::make_unique<QtPrinting>()),
      shell_(std::make_unique<QtShell>()),
      fileDialogs_(std::make_unique<QtFileDialogs>()),
      trayIcon_(std::make_unique<QtTrayIcon>()),
      lockKeys_(makeDesktopLockKeys()),
      formatDialogs_(std::make_unique<QtFormatDialogs>()),
      modalWindows_(std::make_unique<QtModalWindows>()),
      clock_(std::make_unique<SystemClock>())
{
}

QtPlatform::~QtPlatform() = default;

MessageBoxes &QtPlatform::messageBoxes() { return *messageBoxes_; }
KeyboardLayouts &QtPlatform::keyboardLayouts() { return *keyboardLayouts_; }
ObjectDialogs &QtPlatform::objectDialogs() { return *objectDialogs_; }
Printing &QtPlatform::printing() { return *printing_; }
Shell &QtPlatform::shell() { return *shell_; }
FileDialogs &QtPlatform::fileDialogs() { return *fileDialogs_; }
TrayIcon &QtPlatform::trayIcon() { return *trayIcon_; }
LockKeys &QtPlatform::lockKeys() { return *lockKeys_; }
FormatDialogs &QtPlatform::formatDialogs() { return *formatDialogs_; }
ModalWindows &QtPlatform::modalWindows() { return *modalWindows_; }
Clock &QtPlatform::clock() { return *clock_; }

} // namespace platform
