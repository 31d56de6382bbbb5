#include "app/SettingsLocation.h"

#include <QDir>
#include <QTemporaryFile>

namespace {

const QString kFileName = QStringLiteral("Veltrix.ini");
const QString kUserSubfolder = QStringLiteral("Veltrix");

} // namespace

bool canCreateFileIn(const QString &folder)
{
    if (!QDir(folder).exists())
        return false;
    // The probe removes itself when it goes out of scope.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".veltrix-write-test-XXXXXX")));
    return probe.open();
}

QString userConfigFolder()
{
    // Relative values are invalid by the XDG rules and are ignored.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    return QDir(QDir::homePath()).filePath(QStringLiteral(".config"));
}

QString settingsFilePath(const QString &programFolder, const FolderWritableCheck &isWritable)
{
    if (isWritable(programFolder))
        return QDir(programFolder).filePath(kFileName);
    const QString folder = QDir(userConfigFolder()).filePath(kUserSubfolder);
    // A folder that cannot be made shows at the first write, as "Unable to write to ...".
    QDir().mkpath(folder);
    return QDir(folder).filePath(kFileName);
}
