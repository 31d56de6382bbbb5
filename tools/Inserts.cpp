#include "tools/Inserts.h"

#include "formats/PlainTextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <new>

namespace inserts {

QString longTimeFormat(const QLocale &locale)
{
    // Drop every unquoted run of 't' (the zone) with the one space joining it
    // to the rest; quoted literals stay as they are.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            result.append(c);
            continue;
        }
        if (quoted || c != QLatin1Char('t')) {
            result.append(c);
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('t'))
            ++i;
        if (!result.isEmpty() && result.back().isSpace())
            result.chop(1);
        else if (i + 1 < format.size() && format.at(i + 1).isSpace())
            ++i;
    }
    return result.trimmed();
}

QString dateTimeText(const QDateTime &moment, const QLocale &locale)
{
    const QString date = locale.toString(moment.date(), QLocale::ShortFormat);
    const QTime time = moment.time();
    if (time.hour() == 0 && time.minute() == 0 && time.second() == 0)
        return date;
    return date + QLatin1Char(' ') + locale.toString(time, longTimeFormat(locale));
}

QString fileNamePart(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    return path.mid(slash + 1);
}

namespace {

// Whether the bytes after a UTF-16 byte-order mark are whole UTF-16 text:
// whole code units, every surrogate paired.
bool isWholeUtf16(QByteArrayView units, bool bigEndian)
{
    if (units.size() % 2)
        return false;
    const auto *s = reinterpret_cast<const unsigned char *>(units.data());
    bool pairOpen = false;
    for (qsizetype i = 0; i < units.size(); i += 2) {
        const char16_t c = char16_t(bigEndian ? s[i] << 8 | s[i + 1] : s[i + 1] << 8 | s[i]);
        const bool high = QChar::isHighSurrogate(c);
        const bool low = QChar::isLowSurrogate(c);
        if (pairOpen != low)
            return false;
        pairOpen = high;
    }
    return !pairOpen;
}

// Bytes cut at a file's first zero byte. UTF-16 text is usually cut inside a
// character, which leaves its byte-order mark announcing text that is not
// there: such bytes read as the characters they are, never as U+FFFD.
QString decodeKeptBytes(QByteArrayView bytes)
{
    const bool littleMark = bytes.startsWith("\xFF\xFE");
    const bool bigMark = bytes.startsWith("\xFE\xFF");
    if ((littleMark || bigMark) && !isWholeUtf16(bytes.sliced(2), bigMark))
        return decodeUnmarkedText(bytes).text;
    return decodePlainText(bytes).text;
}

} // namespace

QString textUpToFirstZero(QByteArrayView bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return decodeKeptBytes(zero < 0 ? bytes : bytes.first(zero));
}

std::optional<QString> readFileText(const QString &path, qsizetype maxCharacters)
{
    // No decoding turns more than four bytes into one character (a UTF-16
    // CR LF), a byte-order mark aside: past this many bytes the text is too
    // long whatever the encoding.
    const qint64 byteLimit = 4 * qint64(maxCharacters) + 4;
    try {
        if (!QFileInfo(path).isFile())
            return std::nullopt; // folders, devices and pipes are no documents
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        QByteArray bytes;
        bytes.reserve(qsizetype(std::min(file.size(), byteLimit)));
        char buffer[64 * 1024];
        for (;;) {
            const qint64 got = file.read(buffer, sizeof buffer);
            if (got < 0)
                return std::nullopt;
            if (got == 0)
                break;
            const char *zero = static_cast<const char *>(std::memchr(buffer, 0, size_t(got)));
            const qint64 keep = zero ? zero - buffer : got;
            if (bytes.size() + keep > byteLimit)
                return std::nullopt;
            bytes.append(buffer, qsizetype(keep));
            if (zero)
                break;
        }
        QString text = decodeKeptBytes(bytes);
        if (text.size() > maxCharacters)
            return std::nullopt;
        return text;
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

} // namespace inserts
