#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdlib>

namespace fuzzinput {

// The input written as the file `name` in a folder of the run's own, for the
// readers that take a path. The folder lives until the process ends.
inline QString asFile(const QString &name, const void *data, std::size_t size)
{
    static const QTemporaryDir *folder = new QTemporaryDir;
    const QString path = folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(static_cast<const char *>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

} // namespace fuzzinput
