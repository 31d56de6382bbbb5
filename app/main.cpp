#include "accessories/CalculatorWindow.h"
#include "app/Accessibility.h"
#include "app/CommandLine.h"
#include "app/ErrorDisplay.h"
#include "app/RecentFiles.h"
#include "app/RecoveryFiles.h"
#include "app/RunningCopies.h"
#include "app/SettingsLocation.h"
#include "app/ToolbarIcons.h"
#include "editor/TRxRichEdit.h"
#include "app/Unit1.h"
#include "spelling/Speller.h"
#include "platform/QtPlatform.h"
#include "platform/WindowSystem.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <cstdio>

namespace {

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Toolbar pictures come from the desktop's icon theme where it has them.
void useDesktopIconTheme()
{
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString &dir : {QStringLiteral("/usr/share/icons"), QStringLiteral("/usr/local/share/icons")}) {
        if (!paths.contains(dir) && QDir(dir).exists())
            paths.append(dir);
    }
    QIcon::setThemeSearchPaths(paths);
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

QStringList argumentsAfterProgramName(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    return arguments;
}

// --help and --version answer on standard output, with no display needed.
bool answeredOnStandardOutput(int argc, char *argv[])
{
    const commandline::Request request =
        commandline::parse(argumentsAfterProgramName(argc, argv), QString()).request;
    if (request == commandline::Request::Run)
        return false;
    const QString text = request == commandline::Request::Help ? commandline::helpText() : commandline::versionText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredOnStandardOutput(argc, argv))
        return 0;
    if (!hasDisplay()) {
        std::fprintf(stderr, "veltrix: no display to show the window on; run it on a desktop, "
                             "or under a virtual one: xvfb-run ./veltrix.sh run\n");
        return 2;
    }
    // Qt 6.4 picks its platform itself: Wayland where WAYLAND_DISPLAY is set
    // or the session is a Wayland one, X11 when that fails (qt6-wayland
    // missing) and DISPLAY names XWayland or an X server.
    VeltrixApplication app(argc, argv);
    // The program ends when the main window's close sequence has run, and then only.
    app.setQuitOnLastWindowClosed(false);
    installAccessibleInterfaces();
    QGuiApplication::setApplicationName(QStringLiteral("veltrix"));
    // No display name: Qt's X11 window titles would gain it as a suffix.
    QGuiApplication::setDesktopFileName(QStringLiteral("veltrix"));
    QGuiApplication::setWindowIcon(applicationIcon());
    useDesktopIconTheme();

    platform::QtPlatform platform;
    app.setPlatform(&platform);

    TForm1::Options options;
    options.settingsPath = settingsFilePath(QCoreApplication::applicationDirPath());
    // The application has taken Qt's own options out of argc and argv by now.
    const commandline::Arguments commandLine =
        commandline::parse(argumentsAfterProgramName(argc, argv), QDir::currentPath());
    options.argumentCount = commandLine.count;
    options.copiesFolder = copies::defaultFolder();
    options.recentFilesPath = recentfiles::defaultPath();
    // A file another copy has open is shown there; a copy started for such
    // files only has nothing left to do.
    options.files = RunningCopies(options.copiesFolder).keepUnheld(commandLine.files);
    if (!commandLine.files.isEmpty() && options.files.isEmpty())
        return 0;
    options.recoveryFolder = recovery::defaultFolder();
    options.dictionaryDirs = spelling::Speller::systemDictionaryDirs();
    options.personalWordsPath = spelling::Speller::defaultPersonalListPath();
    options.windowPositionsKnown = platform::windowPositionsKnown();
    TForm1 Form1(platform, options);
    TForm2 Form2(Form1.editor(), [&platform](const QString &message) { showError(platform, message); });
    Form1.setCalculator(&Form2);

    // First show: centred on the desktop at its current size, then maximized;
    // the size read from the settings becomes the restored size. (A Wayland
    // compositor places the window itself.)
    if (QScreen *screen = Form1.screen()) {
        QRect frame = Form1.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        Form1.move(frame.topLeft());
    }
    Form1.showMaximized();
    QTimer::singleShot(0, &Form1, &TForm1::finishStartUp);
    return app.exec();
}
