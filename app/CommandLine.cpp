#include "app/CommandLine.h"

#include <QDir>
#include <QFileInfo>

namespace commandline {

namespace {

const QString kHelp = QStringLiteral("--help");
const QString kVersion = QStringLiteral("--version");
const QString kEndOfSwitches = QStringLiteral("--");

} // namespace

Arguments parse(const QStringList &arguments, const QString &workingFolder)
{
    Arguments result;
    result.count = int(arguments.size());
    const QDir folder(workingFolder);
    bool switchesEnded = false;
    for (const QString &argument : arguments) {
        if (!switchesEnded) {
            if (argument == kHelp || argument == kVersion) {
                result.request = argument == kHelp ? Request::Help : Request::Version;
                return result;
            }
            if (argument == kEndOfSwitches) {
                switchesEnded = true;
                continue;
            }
            if (argument.startsWith(QLatin1Char('-')))
                continue;
        }
        if (argument.isEmpty())
            continue;
        const QFileInfo file(folder, argument);
        if (file.isFile())
            result.files.append(QDir::cleanPath(file.absoluteFilePath()));
    }
    return result;
}

QString helpText()
{
    return QStringLiteral("Usage: veltrix [FILE]...\n"
                          "Veltrix 3.0, a text editor for RTF and plain text.\n"
                          "\n"
                          "  FILE       opens the file; each further file opens in a window of its own;\n"
                          "             a file open in a running copy comes to the front there\n"
                          "  --help     shows this text and exits\n"
                          "  --version  shows the version and exits\n"
                          "\n"
                          "Started with arguments that name no existing file, the window goes to the\n"
                          "notification area when it first becomes active.\n");
}

QString versionText()
{
    return QStringLiteral("Veltrix 3.0\n");
}

} // namespace commandline
