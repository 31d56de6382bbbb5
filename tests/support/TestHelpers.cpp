#include "support/TestHelpers.h"

#include <QFile>
#include <gtest/gtest.h>

namespace testhelpers {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    if (!written)
        ADD_FAILURE() << "cannot write " << path.toStdString() << ": " << file.errorString().toStdString();
    return written;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace testhelpers
