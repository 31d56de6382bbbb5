#include "tools/Transforms.h"

#include "formats/CodePages.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <array>
#include <numeric>
#include <optional>
#include <thread>
#include <vector>

namespace transforms {

namespace {

// For each Windows-1251 byte, the character its letter turns into; derived from
// the code page's own characters, so only pairs the code page holds on both
// sides change (µ has no capital in it and stays).
struct CaseTable {
    std::array<char16_t, 256> upper;
    std::array<char16_t, 256> lower;
};

const CaseTable &caseTable()
{
    static const CaseTable table = [] {
        CaseTable t;
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QChar c = codepage::decodeWindows1251(QByteArrayView(&byte, 1)).at(0);
            const QChar up = c.toUpper();
            const QChar low = c.toLower();
            t.upper[b] = codepage::canEncodeWindows1251(up) ? up.unicode() : c.unicode();
            t.lower[b] = codepage::canEncodeWindows1251(low) ? low.unicode() : c.unicode();
        }
        return t;
    }();
    return table;
}

QString mapCase(const QString &text, const std::array<char16_t, 256> &map)
{
    QString out = text;
    char16_t *data = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0, n = out.size(); i < n; ++i) {
        const char16_t c = data[i];
        const int b = c < 0x80 ? int(c) : codepage::windows1251Byte(QChar(c));
        if (b >= 0)
            data[i] = map[b];
    }
    return out;
}

} // namespace

QString Reversed(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const QChar c = text.at(i);
        if (c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()) {
            out.append(text.at(i - 1));
            out.append(c);
            --i;
        } else {
            out.append(c);
        }
    }
    return out;
}

QString UpperCase1251(const QString &text)
{
    return mapCase(text, caseTable().upper);
}

QString LowerCase1251(const QString &text)
{
    return mapCase(text, caseTable().lower);
}

QStringList DocumentLines(const QString &documentText)
{
    QStringList lines = documentText.split(QStringLiteral("\r\n"));
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

namespace {

QCollator caseBlindCollator(const QLocale &locale)
{
    // The C locale has no collation of its own and would order by code point.
    QCollator collator(locale.language() == QLocale::C ? QLocale(QLocale::English, QLocale::UnitedStates)
                                                       : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

// Sort keys for lines[from, to) into keys[from, to), with a collator of its
// own: a collator may not be used by two threads at once.
void makeKeys(const QStringList &lines, const QLocale &locale, qsizetype from, qsizetype to,
              std::vector<std::optional<QCollatorSortKey>> &keys)
{
    const QCollator collator = caseBlindCollator(locale);
    for (qsizetype i = from; i < to; ++i)
        keys[size_t(i)].emplace(collator.sortKey(lines.at(i)));
}

} // namespace

void SortLines(QStringList &lines, const QLocale &locale)
{
    if (lines.size() < 2)
        return;
    // One sort key per line: a million lines compare by keys far faster than by
    // running the collation on every comparison. Large inputs make and sort
    // their keys in two halves at once, then merge them.
    const qsizetype count = lines.size();
    const bool twoHalves = count >= 20000 && std::thread::hardware_concurrency() > 1;
    const qsizetype half = twoHalves ? count / 2 : count;
    std::vector<std::optional<QCollatorSortKey>> keys(static_cast<size_t>(count));
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto before = [&keys](int a, int b) {
        const int byKey = keys[size_t(a)]->compare(*keys[size_t(b)]);
        return byKey != 0 ? byKey < 0 : a < b;
    };
    const auto sortPart = [&](qsizetype from, qsizetype to) {
        makeKeys(lines, locale, from, to, keys);
        std::sort(order.begin() + from, order.begin() + to, before);
    };
    if (twoHalves) {
        std::thread second(sortPart, half, count);
        sortPart(0, half);
        second.join();
        std::inplace_merge(order.begin(), order.begin() + half, order.end(), before);
    } else {
        sortPart(0, count);
    }
    QStringList sorted;
    sorted.reserve(count);
    for (int index : order)
        sorted.append(std::move(lines[index]));
    lines = std::move(sorted);
}

QString JoinLines(const QStringList &lines)
{
    if (lines.isEmpty())
        return {};
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

} // namespace transforms
