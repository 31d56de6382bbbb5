#include "platform/FileWrites.h"

#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>
#include <unistd.h>

namespace filewrites {

bool openForSaving(QSaveFile &file)
{
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

void keepOwnership(QSaveFile &file)
{
    struct stat old {};
    const QByteArray path = QFile::encodeName(file.fileName());
    if (::stat(path.constData(), &old) != 0 || file.handle() < 0)
        return;
    if (::fchown(file.handle(), old.st_uid, old.st_gid) != 0)
        (void)::fchown(file.handle(), static_cast<uid_t>(-1), old.st_gid);
}

} // namespace filewrites
