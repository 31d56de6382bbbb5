#include "app/IniFile.h"

#include "platform/FileWrites.h"
#include "platform/VeltrixError.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <limits>
#include <optional>
#include <utility>

namespace {

// One line of the file as raw bytes, split from its line end so that lines we
// do not rewrite go back out exactly as they came in, whatever their encoding.
struct Line {
    QByteArray content;
    QByteArray eol; // "\n", "\r\n" or empty for a last line without one
};

QList<Line> splitLines(const QByteArray &data)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.append({data.mid(start), QByteArray()});
            break;
        }
        qsizetype end = nl;
        if (end > start && data.at(end - 1) == '\r')
            --end;
        lines.append({data.mid(start, end - start), data.mid(end, nl + 1 - end)});
        start = nl + 1;
    }
    return lines;
}

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    QString name;
    QString value;
    qsizetype valueOffset = 0; // byte offset just past '=' in the raw content
};

Parsed parseLine(const Line &line)
{
    Parsed result;
    const QByteArray &body = line.content;
    // fromUtf8 drops a UTF-8 signature, so a first line saved with one still
    // reads as a section header.
    const QString text = QString::fromUtf8(body).trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char(';')))
        return result;
    if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.lastIndexOf(QLatin1Char(']'));
        if (close > 0) {
            result.kind = Kind::Section;
            result.name = text.mid(1, close - 1).trimmed();
            return result;
        }
    }
    // '=' is a single byte in UTF-8 and in every 8-bit code page, so the byte
    // search is safe whatever the line's encoding.
    const qsizetype eq = body.indexOf('=');
    if (eq <= 0)
        return result;
    const QString key = QString::fromUtf8(body.left(eq)).trimmed();
    if (key.isEmpty())
        return result;
    result.kind = Kind::Key;
    result.name = key;
    result.value = QString::fromUtf8(body.mid(eq + 1)).trimmed();
    result.valueOffset = eq + 1;
    return result;
}

bool sameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// Where a section and a key sit in the file; -1 for what is not there.
struct Location {
    qsizetype section = -1;
    qsizetype key = -1;
    qsizetype lastNonEmpty = -1; // last non-blank line of the section, header included
    Parsed keyLine;
};

Location locate(const QList<Line> &lines, const QString &section, const QString &key)
{
    Location loc;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Parsed p = parseLine(lines.at(i));
        if (p.kind == Kind::Section) {
            if (inSection)
                break; // only the first matching section counts
            if (sameName(p.name, section)) {
                inSection = true;
                loc.section = i;
                loc.lastNonEmpty = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!QString::fromUtf8(lines.at(i).content).trimmed().isEmpty())
            loc.lastNonEmpty = i;
        if (p.kind == Kind::Key && loc.key < 0 && sameName(p.name, key)) {
            loc.key = i;
            loc.keyLine = p;
        }
    }
    return loc;
}

std::optional<QByteArray> readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

[[noreturn]] void failWrite(const QString &path)
{
    throw VeltrixError(QStringLiteral("Unable to write to %1").arg(path));
}

void writeValue(const QString &path, const QString &section, const QString &key, const QString &value)
{
    QByteArray old;
    if (QFileInfo::exists(path)) {
        // A file we cannot read must not be replaced by one holding only the new key.
        std::optional<QByteArray> data = readAll(path);
        if (!data)
            failWrite(path);
        old = std::move(*data);
    }

    QList<Line> lines = splitLines(old);
    QByteArray eol("\n");
    for (const Line &line : std::as_const(lines)) {
        if (!line.eol.isEmpty()) {
            eol = line.eol;
            break;
        }
    }

    // A line break inside the value would cut it short at the next read and
    // could smuggle in lines of its own (a file path may hold one).
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray valueBytes = flat.toUtf8();
    const QByteArray keyLine = key.toUtf8() + '=' + valueBytes;

    const Location loc = locate(lines, section, key);
    if (loc.key >= 0) {
        Line &line = lines[loc.key];
        line.content = line.content.left(loc.keyLine.valueOffset) + valueBytes;
    } else if (loc.section >= 0) {
        Line &after = lines[loc.lastNonEmpty];
        if (after.eol.isEmpty())
            after.eol = eol;
        lines.insert(loc.lastNonEmpty + 1, Line{keyLine, eol});
    } else {
        if (!lines.isEmpty() && lines.last().eol.isEmpty())
            lines.last().eol = eol;
        lines.append(Line{QByteArray("[") + section.toUtf8() + ']', eol});
        lines.append(Line{keyLine, eol});
    }

    QByteArray out;
    out.reserve(old.size() + keyLine.size() + section.size() + 8);
    for (const Line &line : std::as_const(lines))
        out += line.content + line.eol;

    // The new text goes to a temporary file that replaces the old one only once
    // it is complete, so a full disk never leaves a cut-off settings file.
    QSaveFile file(path);
    if (!filewrites::openForSaving(file))
        failWrite(path);
    if (!filewrites::writeAll(file, out) || !file.flush()) {
        file.cancelWriting();
        failWrite(path);
    }
    filewrites::keepOwnership(file);
    if (!file.commit())
        failWrite(path);
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const std::optional<QByteArray> data = readAll(path_);
    if (!data)
        return defaultValue;
    const QList<Line> lines = splitLines(*data);
    const Location loc = locate(lines, section, key);
    if (loc.key < 0)
        return defaultValue;
    QString value = loc.keyLine.value.left(kMaxValueLength);
    // Never hand back half of a surrogate pair.
    if (value.size() == kMaxValueLength && value.back().isHighSurrogate())
        value.chop(1);
    return value;
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int value = inifile::parseInteger(readString(section, key, QString()), &ok);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) const
{
    writeValue(path_, section, key, value);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) const
{
    writeValue(path_, section, key, QString::number(value));
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) const
{
    writeValue(path_, section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

namespace inifile {

int parseInteger(const QString &text, bool *ok)
{
    bool dummy = false;
    bool &valid = ok ? *ok : dummy;
    valid = false;

    if (text.size() > 2 && text.at(0) == QLatin1Char('0')
        && (text.at(1) == QLatin1Char('x') || text.at(1) == QLatin1Char('X'))) {
        // Hexadecimal is a 32-bit pattern: 0xFFFFFFFF is -1.
        quint64 acc = 0;
        for (qsizetype i = 2; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            int digit;
            if (c >= u'0' && c <= u'9')
                digit = c - u'0';
            else if (c >= u'a' && c <= u'f')
                digit = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F')
                digit = c - u'A' + 10;
            else
                return 0;
            acc = acc * 16 + digit;
            if (acc > 0xFFFFFFFFull)
                return 0;
        }
        valid = true;
        return static_cast<int>(static_cast<quint32>(acc));
    }

    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return 0;
    const qint64 limit = negative ? -static_cast<qint64>(std::numeric_limits<int>::min())
                                  : std::numeric_limits<int>::max();
    qint64 acc = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return 0;
        acc = acc * 10 + (c - u'0');
        if (acc > limit)
            return 0;
    }
    valid = true;
    return static_cast<int>(negative ? -acc : acc);
}

} // namespace inifile
