#pragma once

#include <QByteArray>
#include <QFile>

// A figure of this process's memory from /proc/self/status, in kilobytes:
// "VmRSS:" now, "VmHWM:" its peak so far; -1 when it cannot be read.
inline qint64 statusKilobytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}
