#include "formats/RtfFields.h"

#include <QStringList>

namespace rtf::detail {

namespace {

const QLatin1String kHyperlink("HYPERLINK");

// The instruction's words after HYPERLINK: quoted ones whole, with \" and
// \\ inside them, others up to the next space.
QStringList arguments(QStringView s)
{
    QStringList result;
    qsizetype i = 0;
    while (i < s.size()) {
        if (s[i].isSpace()) {
            ++i;
            continue;
        }
        QString word;
        if (s[i] == QLatin1Char('"')) {
            for (++i; i < s.size() && s[i] != QLatin1Char('"'); ++i) {
                if (s[i] == QLatin1Char('\\') && i + 1 < s.size())
                    ++i;
                word += s[i];
            }
            ++i; // the closing quote
        } else {
            for (; i < s.size() && !s[i].isSpace(); ++i)
                word += s[i];
        }
        result << word;
    }
    return result;
}

} // namespace

std::optional<QString> hyperlinkAddress(QStringView instruction)
{
    const QStringView s = instruction.trimmed();
    if (!s.startsWith(kHyperlink, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringList words = arguments(s.mid(kHyperlink.size()));
    QString address;
    QString bookmark;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        if (word.startsWith(QLatin1Char('\\')) && word.size() == 2) {
            // \l takes the bookmark; \o, \t and \m take words we do not keep.
            const QChar name = word[1].toLower();
            if (name == QLatin1Char('l') && i + 1 < words.size())
                bookmark = words[++i];
            else if ((name == QLatin1Char('o') || name == QLatin1Char('t')) && i + 1 < words.size())
                ++i;
            continue;
        }
        if (address.isEmpty())
            address = word;
    }
    if (!bookmark.isEmpty())
        address += QLatin1Char('#') + bookmark;
    if (address.isEmpty())
        return std::nullopt;
    return address;
}

QString hyperlinkInstruction(const QString &address)
{
    QString escaped = address;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    const qsizetype hash = address.indexOf(QLatin1Char('#'));
    if (hash == 0)
        return QStringLiteral("HYPERLINK \\l \"%1\"").arg(escaped.mid(1));
    return QStringLiteral("HYPERLINK \"%1\"").arg(escaped);
}

} // namespace rtf::detail
