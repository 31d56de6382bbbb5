#include "editor/RunnableFiles.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>
#include <QStringList>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace runnablefiles {

namespace {

// Enough for the MIME database's magic of programs and scripts.
constexpr qsizetype kSniffBytes = 4096;

// Endings some desktop or runtime starts (Wine, Java, the package installers)
// although the MIME database may not say so.
bool hasRunnableSuffix(const QString &path)
{
    static const QStringList suffixes = {
        QStringLiteral("desktop"), QStringLiteral("kdelnk"), QStringLiteral("directory"), QStringLiteral("sh"),
        QStringLiteral("bash"), QStringLiteral("zsh"), QStringLiteral("csh"), QStringLiteral("ksh"),
        QStringLiteral("fish"), QStringLiteral("command"), QStringLiteral("py"), QStringLiteral("pyw"),
        QStringLiteral("pyc"), QStringLiteral("pl"), QStringLiteral("pm"), QStringLiteral("rb"),
        QStringLiteral("php"), QStringLiteral("lua"), QStringLiteral("tcl"), QStringLiteral("js"),
        QStringLiteral("mjs"), QStringLiteral("jar"), QStringLiteral("jnlp"), QStringLiteral("class"),
        QStringLiteral("exe"), QStringLiteral("com"), QStringLiteral("scr"), QStringLiteral("pif"),
        QStringLiteral("bat"), QStringLiteral("cmd"), QStringLiteral("msi"), QStringLiteral("vbs"),
        QStringLiteral("vbe"), QStringLiteral("wsf"), QStringLiteral("ps1"), QStringLiteral("lnk"),
        QStringLiteral("appimage"), QStringLiteral("run"), QStringLiteral("bin"), QStringLiteral("elf"),
        QStringLiteral("so"), QStringLiteral("deb"), QStringLiteral("rpm"), QStringLiteral("snap"),
        QStringLiteral("flatpak"), QStringLiteral("flatpakref"), QStringLiteral("flatpakrepo"),
    };
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && suffixes.contains(name.mid(dot + 1), Qt::CaseInsensitive);
}

bool isRunnableType(const QMimeType &type)
{
    static const QStringList runnable = {
        QStringLiteral("application/x-executable"),    QStringLiteral("application/x-pie-executable"),
        QStringLiteral("application/x-sharedlib"),     QStringLiteral("application/x-shellscript"),
        QStringLiteral("application/x-desktop"),       QStringLiteral("application/x-ms-dos-executable"),
        QStringLiteral("application/x-msdownload"),    QStringLiteral("application/x-msi"),
        QStringLiteral("application/x-ms-shortcut"),   QStringLiteral("application/x-bat"),
        QStringLiteral("application/java-archive"),    QStringLiteral("application/x-java-archive"),
        QStringLiteral("application/x-java"),          QStringLiteral("application/x-java-jnlp-file"),
        QStringLiteral("application/vnd.appimage"),    QStringLiteral("application/x-iso9660-appimage"),
        QStringLiteral("application/vnd.debian.binary-package"), QStringLiteral("application/x-rpm"),
        QStringLiteral("application/vnd.flatpak"),     QStringLiteral("application/vnd.flatpak.ref"),
        QStringLiteral("application/vnd.flatpak.repo"), QStringLiteral("application/vnd.snap"),
        QStringLiteral("application/x-perl"),          QStringLiteral("application/x-ruby"),
        QStringLiteral("text/x-python"),               QStringLiteral("text/x-python3"),
        QStringLiteral("application/x-php"),
    };
    if (!type.isValid())
        return false;
    for (const QString &name : runnable) {
        if (type.inherits(name))
            return true;
    }
    return false;
}

// The first bytes of a plain file, or nullopt when it is no plain file or
// cannot be read. Opened without waiting, so that a pipe put in the file's
// place does not hold the caller.
std::optional<QByteArray> plainFileStart(const QString &path, bool *executable)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    std::optional<QByteArray> start;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        *executable = (status.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0;
        QByteArray bytes(kSniffBytes, Qt::Uninitialized);
        const ssize_t got = ::read(fd, bytes.data(), static_cast<size_t>(bytes.size()));
        if (got >= 0) {
            bytes.truncate(got);
            start = bytes;
        }
    }
    ::close(fd);
    return start;
}

} // namespace

bool isRunnable(const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return true;
    if (hasRunnableSuffix(path))
        return true;
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return true;
    if (S_ISDIR(status.st_mode))
        return false;
    bool executable = true;
    const std::optional<QByteArray> start = plainFileStart(path, &executable);
    if (!start || executable || start->startsWith("#!"))
        return true;
    const QMimeDatabase mime;
    if (isRunnableType(mime.mimeTypeForData(*start)) || isRunnableType(mime.mimeTypeForFileNameAndData(path, *start)))
        return true;
    for (const QMimeType &type : mime.mimeTypesForFileName(path)) {
        if (isRunnableType(type))
            return true;
    }
    return false;
}

} // namespace runnablefiles
