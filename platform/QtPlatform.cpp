#include "platform/QtPlatform.h"

#include "platform/CurrentPrinter.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtFindDialogs.h"
#include "platform/QtFormatDialogs.h"
#include "platform/QtObjectDialogs.h"
#include "platform/PrinterSetupDialog.h"
#include "platform/QtTrayIcon.h"
#include "platform/DesktopKeyboard.h"
#include "platform/X11Keyboard.h"

#include <QCoreApplication>
#include <QDialog>
#include <QProcess>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QRegularExpression>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
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
    QPrinter &currentPrinter() override { return current_.printer(); }

    bool askPrint(QWidget *owner) override
    {
        QPrintDialog dialog(&current_.printer(), owner);
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        return dialog.exec() == QDialog::Accepted;
    }

    void askPrinterSetup(QWidget *owner) override
    {
        PrinterSetupDialog dialog(current_.printerSetup(), owner);
        if (dialog.exec() == QDialog::Accepted)
            current_.confirmPrinterSetup(dialog.choice());
    }

    void askPageSetup(QWidget *owner) override
    {
        // Qt's dialog writes margins into the printer it is given: it gets one
        // of its own, set up as the current printer with the dialog's margins.
        QPrinter &printer = current_.printer();
        QPrinter pageSetup(QPrinter::HighResolution);
        if (printer.outputFormat() == QPrinter::NativeFormat)
            pageSetup.setPrinterName(printer.printerName());
        pageSetup.setPageLayout(current_.pageSetup());
        QPageSetupDialog dialog(&pageSetup, owner);
        if (dialog.exec() == QDialog::Accepted)
            current_.confirmPageSetup(pageSetup.pageLayout());
    }

private:
    CurrentPrinter current_;
};

// Hands a file or an address to the desktop; what happens then is the
// desktop's business and is not reported.
class QtShell : public Shell {
public:
    void open(const QString &target) override
    {
        QDesktopServices::openUrl(shellTarget(target));
    }

    // The file manager's own interface selects the file; without one, or when
    // it fails, the folder is opened as a folder.
    void showInFileManager(const QString &path) override
    {
        const QUrl folder = QUrl::fromLocalFile(QFileInfo(path).absolutePath());
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !QCoreApplication::instance()) {
            QDesktopServices::openUrl(folder);
            return;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
            QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
        call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kFileManagerTimeoutMs), QCoreApplication::instance());
        QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [folder](QDBusPendingCallWatcher *answered) {
            if (answered->isError())
                QDesktopServices::openUrl(folder);
            answered->deleteLater();
        });
    }

    void startProgramCopy(const QStringList &arguments) override
    {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
    }

private:
    // A file manager started for the call may take a while to answer.
    static constexpr int kFileManagerTimeoutMs = 10000;
};

} // namespace

QUrl shellTarget(const QString &target)
{
    // An address with a scheme is one; "www." is the web; anything else is a
    // file, found from the current folder as the shell would.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch())
        return QUrl(target, QUrl::TolerantMode);
    if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(target));
}

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
      clock_(std::make_unique<SystemClock>()),
      findDialogs_(std::make_unique<QtFindDialogs>())
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
FindDialogs &QtPlatform::findDialogs() { return *findDialogs_; }

} // namespace platform
