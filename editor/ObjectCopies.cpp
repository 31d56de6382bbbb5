#include "editor/ObjectCopies.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Names already taken in the folder are skipped, up to this many.
constexpr int kNameAttempts = 100;
constexpr mode_t kOwnerOnly = 0600;

// A new file, never one that exists or a link planted in its place; 0 or
// the error number.
int writeNewFile(const QString &path, const QByteArray &content)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          kOwnerOnly);
    if (fd < 0)
        return errno;
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t wrote = ::write(fd, content.constData() + done, static_cast<size_t>(content.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            break;
        done += wrote;
    }
    const int error = done < content.size() ? (errno ? errno : EIO) : 0;
    if (::close(fd) == 0 && error == 0)
        return 0;
    QFile::remove(path);
    return error ? error : EIO;
}

} // namespace

ObjectCopies::ObjectCopies() = default;

ObjectCopies::~ObjectCopies() = default;

bool ObjectCopies::makeFolder()
{
    // A folder someone cleared away meanwhile is made anew.
    if (folder_ && QDir(folder_->path()).exists())
        return true;
    folder_ = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(QStringLiteral("veltrix-objects-XXXXXX")));
    if (folder_->isValid())
        return true;
    folder_.reset();
    return false;
}

QString ObjectCopies::write(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    if (image.isNull() || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG") || !makeFolder())
        return {};
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString path = folder_->filePath(QStringLiteral("object-%1.png").arg(++written_));
        const int error = writeNewFile(path, png);
        if (error == 0)
            return path;
        if (error != EEXIST)
            return {};
    }
    return {};
}
