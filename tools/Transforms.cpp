#include "tools/Transforms.h"

#include "formats/CodePages.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
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

// One collation for every user: the language-neutral one, which puts Latin
// before Cyrillic whatever the locale, and ignores case.
QCollator caseBlindCollator()
{
    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    return collator;
}

// Hyphens and apostrophes weigh only between lines that are otherwise equal,
// so "can't" sorts beside "cant" and "e-mail" beside "email".
bool isLightMark(QChar c)
{
    return c == QLatin1Char('-') || c == QLatin1Char('\'') || c == QChar(0x2019) || c == QChar(0x00AD);
}

QString withoutLightMarks(const QString &line)
{
    QString out;
    out.reserve(line.size());
    for (const QChar c : line) {
        if (!isLightMark(c))
            out.append(c);
    }
    return out;
}

// A line's keys: `main` without hyphens and apostrophes, `full` (only for
// lines that hold any) with them, for the tie between otherwise equal lines.
struct LineKeys {
    std::optional<QCollatorSortKey> main;
    std::optional<QCollatorSortKey> full;

    const QCollatorSortKey &whole() const { return full ? *full : *main; }
};

// Keys for lines[from, to) into keys[from, to), with a collator of its own: a
// collator may not be used by two threads at once.
void makeKeys(const QStringList &lines, qsizetype from, qsizetype to, std::vector<LineKeys> &keys)
{
    const QCollator collator = caseBlindCollator();
    for (qsizetype i = from; i < to; ++i) {
        const QString &line = lines.at(i);
        LineKeys &key = keys[size_t(i)];
        if (std::any_of(line.begin(), line.end(), isLightMark)) {
            key.main.emplace(collator.sortKey(withoutLightMarks(line)));
            key.full.emplace(collator.sortKey(line));
        } else {
            key.main.emplace(collator.sortKey(line));
        }
    }
}

} // namespace

void SortLines(QStringList &lines)
{
    if (lines.size() < 2)
        return;
    // Sort keys per line: a million lines compare by keys far faster than by
    // running the collation on every comparison. Large inputs make and sort
    // their keys in two halves at once, then merge them.
    const qsizetype count = lines.size();
    const bool twoHalves = count >= 20000 && std::thread::hardware_concurrency() > 1;
    const qsizetype half = twoHalves ? count / 2 : count;
    std::vector<LineKeys> keys(static_cast<size_t>(count));
    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    const auto before = [&keys](int a, int b) {
        const LineKeys &ka = keys[size_t(a)];
        const LineKeys &kb = keys[size_t(b)];
        int byKey = ka.main->compare(*kb.main);
        if (byKey == 0 && (ka.full || kb.full))
            byKey = ka.whole().compare(kb.whole());
        return byKey != 0 ? byKey < 0 : a < b;
    };
    const auto sortPart = [&](qsizetype from, qsizetype to) {
        makeKeys(lines, from, to, keys);
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
