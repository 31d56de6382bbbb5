#include "app/RecoveryFiles.h"

#include "platform/FileWrites.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QtDebug>

#include <unistd.h>

namespace recovery {

namespace {

const QByteArray kMagic = QByteArrayLiteral("Veltrix recovery copy 1\n");
const QByteArray kNameKey = QByteArrayLiteral("file=");
const QByteArray kKindKey = QByteArrayLiteral("kind=");
const QString kCopySuffix = QStringLiteral(".copy");
const QString kLockSuffix = QStringLiteral(".lock");

QString lockPathFor(const QString &copyPath)
{
    return copyPath.chopped(kCopySuffix.size()) + kLockSuffix;
}

// A lock held while the process lives; one left by a process that is gone is
// taken over. Never stale by age: a run may last for weeks.
std::unique_ptr<QLockFile> tryToLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QDateTime staleBefore()
{
    return QDateTime::currentDateTime().addDays(-Store::kStaleDays);
}

} // namespace

QString defaultFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/veltrix");
}

// A short header of text lines, an empty line, then the content as it is.
QByteArray encode(const Copy &copy)
{
    QByteArray bytes = kMagic;
    bytes += kNameKey + copy.documentName.toUtf8().toPercentEncoding() + '\n';
    bytes += kKindKey + (copy.rtf ? QByteArrayLiteral("rtf") : QByteArrayLiteral("text")) + '\n';
    bytes += '\n';
    bytes += copy.content;
    return bytes;
}

std::optional<Copy> decode(const QByteArray &bytes)
{
    if (!bytes.startsWith(kMagic))
        return std::nullopt;
    const qsizetype headerEnd = bytes.indexOf("\n\n", kMagic.size() - 1);
    if (headerEnd < 0)
        return std::nullopt;
    Copy copy;
    bool haveName = false, haveKind = false;
    const QByteArray header = bytes.mid(kMagic.size(), headerEnd - kMagic.size() + 1);
    for (const QByteArray &line : header.split('\n')) {
        if (line.startsWith(kNameKey)) {
            copy.documentName = QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(kNameKey.size())));
            haveName = true;
        } else if (line.startsWith(kKindKey)) {
            const QByteArray kind = line.mid(kKindKey.size());
            if (kind != "rtf" && kind != "text")
                return std::nullopt;
            copy.rtf = kind == "rtf";
            haveKind = true;
        }
    }
    if (!haveName || !haveKind)
        return std::nullopt;
    copy.content = bytes.mid(headerEnd + 2);
    return copy;
}

LeftCopy::LeftCopy(QString path, std::unique_ptr<QLockFile> lock, Copy copy)
    : path_(std::move(path)), lock_(std::move(lock)), copy_(std::move(copy))
{
}

LeftCopy::~LeftCopy() = default;

Store::Store(const QString &folder) : folder_(folder)
{
    writer_.setMaxThreadCount(1); // writes and removals stay in the order asked
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return;
    if (QFileInfo(folder).ownerId() != ::geteuid()) {
        ownedByAnother_ = true;
        qWarning("veltrix: no recovery copies, %s belongs to another user", qPrintable(folder));
        return;
    }
    // The copies hold the user's text: theirs alone.
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QString id = QStringLiteral("%1-%2")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    copyPath_ = QDir(folder).filePath(id + kCopySuffix);
    lock_ = tryToLock(lockPathFor(copyPath_));
    if (!lock_)
        qWarning("veltrix: no recovery copies, %s cannot be used", qPrintable(folder));
}

// The copy goes before the lock, so no other program ever finds a copy of a
// run that closed normally.
Store::~Store()
{
    waitForDone();
}

void Store::write(const QString &documentName, bool rtf, std::function<QByteArray()> produce)
{
    if (!isActive())
        return;
    writer_.start([path = copyPath_, documentName, rtf, produce = std::move(produce), failed = failed_] {
        const QByteArray bytes = encode(Copy{documentName, rtf, produce()});
        // Whole or not at all: the previous copy stays until this one is complete.
        QSaveFile file(path);
        if (filewrites::openForSaving(file) && filewrites::writeAll(file, bytes) && file.commit())
            return;
        qWarning("veltrix: recovery copy %s not written: %s", qPrintable(path), qPrintable(file.errorString()));
        if (failed)
            failed(file.errorString());
    });
}

void Store::remove()
{
    if (!isActive())
        return;
    writer_.start([path = copyPath_] { QFile::remove(path); });
}

void Store::removeLeft(const LeftCopy &left)
{
    writer_.start([path = left.path()] { QFile::remove(path); });
    // The copy must be gone before its lock is released with `left`.
    writer_.waitForDone();
}

void Store::waitForDone()
{
    writer_.waitForDone();
}

std::unique_ptr<LeftCopy> Store::claimLeftCopy()
{
    if (!isActive())
        return nullptr;
    const QFileInfoList copies =
        QDir(folder_).entryInfoList({QLatin1Char('*') + kCopySuffix}, QDir::Files, QDir::Time);
    for (const QFileInfo &info : copies) {
        const QString path = info.absoluteFilePath();
        if (path == copyPath_)
            continue;
        std::unique_ptr<QLockFile> lock = tryToLock(lockPathFor(path));
        if (!lock)
            continue; // its program still runs
        QFile file(path);
        std::optional<Copy> copy = file.open(QIODevice::ReadOnly) ? decode(file.readAll()) : std::nullopt;
        if (copy) {
            sweepStaleLocks();
            return std::make_unique<LeftCopy>(path, std::move(lock), std::move(*copy));
        }
        // Nothing can be had from it; kept a while in case a later version
        // of the program reads it, then deleted (its lock goes with `lock`).
        if (info.lastModified() < staleBefore())
            QFile::remove(path);
    }
    sweepStaleLocks();
    return nullptr;
}

void Store::sweepStaleLocks()
{
    const QDateTime weekAgo = staleBefore();
    const QFileInfoList locks = QDir(folder_).entryInfoList({QLatin1Char('*') + kLockSuffix}, QDir::Files);
    for (const QFileInfo &info : locks) {
        const QString copy = info.absoluteFilePath().chopped(kLockSuffix.size()) + kCopySuffix;
        if (info.lastModified() >= weekAgo || QFileInfo::exists(copy))
            continue;
        // Taken only when its program is gone; released, it is deleted.
        tryToLock(info.absoluteFilePath());
    }
}

} // namespace recovery
