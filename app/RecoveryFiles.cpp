#include "app/RecoveryFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QtDebug>

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
    writer_.start([path = copyPath_, documentName, rtf, produce = std::move(produce)] {
        const QByteArray bytes = encode(Copy{documentName, rtf, produce()});
        // Whole or not at all: the previous copy stays until this one is complete.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            qWarning("veltrix: recovery copy %s not written: %s", qPrintable(path), qPrintable(file.errorString()));
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
        if (!file.open(QIODevice::ReadOnly))
            continue;
        std::optional<Copy> copy = decode(file.readAll());
        if (copy)
            return std::make_unique<LeftCopy>(path, std::move(lock), std::move(*copy));
    }
    return nullptr;
}

} // namespace recovery
