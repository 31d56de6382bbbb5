#include "spelling/PersonalList.h"

#include "platform/VeltrixError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

namespace spelling {

namespace {

// A list grown past this is not ours (or not a list): only its start is read,
// and nothing more is added to it.
constexpr qint64 kMaxListBytes = 8 * 1024 * 1024;
constexpr int kMaxWordUnits = 100;
constexpr qint64 kNanosecondsPerSecond = 1000000000;

QString failure(const QString &path, const QString &reason)
{
    return QStringLiteral("Unable to write to %1: %2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

PersonalList::PersonalList(QString path) : path_(std::move(path))
{
    read();
}

PersonalList::Stamp PersonalList::stamp() const
{
    struct stat st {};
    if (::stat(QFile::encodeName(path_).constData(), &st) != 0)
        return {};
    return {true, quint64(st.st_ino), qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * kNanosecondsPerSecond + st.st_mtim.tv_nsec};
}

bool PersonalList::isWord(const QString &line)
{
    if (line.isEmpty() || line.size() > kMaxWordUnits)
        return false;
    for (QChar c : line) {
        if (c.isSpace() || c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter
            || c.isSurrogate())
            return false;
    }
    return true;
}

void PersonalList::read()
{
    readStamp_ = stamp();
    words_.clear();
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(kMaxListBytes);
    for (const QByteArray &line : bytes.split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (isWord(word))
            words_.insert(word);
    }
}

bool PersonalList::refresh()
{
    if (stamp() == readStamp_)
        return false;
    const QSet<QString> before = words_;
    read();
    return words_ != before;
}

void PersonalList::add(const QString &word)
{
    if (!isWord(word))
        return;
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        throw VeltrixError(failure(path_, QStringLiteral("the folder cannot be made")));
    // Read again just before writing, so a word another copy added is not lost.
    QByteArray bytes;
    QFile current(path_);
    if (current.exists()) {
        if (current.size() > kMaxListBytes)
            throw VeltrixError(failure(path_, QStringLiteral("the file is too large to be a word list")));
        if (!current.open(QIODevice::ReadOnly))
            throw VeltrixError(failure(path_, current.errorString()));
        bytes = current.readAll();
        current.close();
    }
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes.append('\n');
    bytes.append(word.toUtf8()).append('\n');

    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw VeltrixError(failure(path_, file.errorString()));
    read();
}

} // namespace spelling
