#include "platform/QtPlatform.h"

#include "platform/QtMessageBoxes.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtFindDialogs.h"
#include "platform/QtFormatDialogs.h"
#include "platform/QtObjectDialogs.h"
#include "platform/QtTrayIcon.h"
#include "platform/X11Keyboard.h"

#include <QCoreApplication>
#include <QDialog>
#include <QProcess>

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
    QtPrinting()
    {
        // The page setup starts on A4 with 25 mm margins.
        pageSetup_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                             QMarginsF(25, 25, 25, 25), QPageLayout::Millimeter));
    }

    QPrinter &currentPrinter() override { return printer_; }

    bool askPrint(QWidget *owner) override
    {
        QPrintDialog dialog(&printer_, owner);
        dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
        return dialog.exec() == QDialog::Accepted;
    }

    void askPrinterSetup(QWidget *owner) override
    {
        QPageSetupDialog dialog(&printer_, owner);
        dialog.setWindowTitle(QStringLiteral("Print Setup"));
        dialog.exec();
    }

    void askPageSetup(QWidget *owner) override
    {
        pageSetup_.setPrinterName(printer_.printerName());
        QPageSetupDialog dialog(&pageSetup_, owner);
        if (dialog.exec() != QDialog::Accepted)
            return;
        printer_.setPageSize(pageSetup_.pageLayout().pageSize());
        printer_.setPageOrientation(pageSetup_.pageLayout().orientation());
    }

private:
    QPrinter printer_{QPrinter::HighResolution};
    QPrinter pageSetup_{QPrinter::HighResolution}; // holds the page setup dialog's values
};

// Hands a file or an address to the desktop; what happens then is the
// desktop's business and is not reported.
class QtShell : public Shell {
public:
    void open(const QString &target) override
    {
        QDesktopServices::openUrl(shellTarget(target));
    }

    void startProgramCopy() override
    {
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    }
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
