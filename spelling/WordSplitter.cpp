#include "spelling/WordSplitter.h"

#include <QChar>
#include <QString>

namespace spelling {

namespace {

constexpr char16_t kRightSingleQuote = 0x2019;
constexpr char16_t kModifierApostrophe = 0x02BC;
constexpr char16_t kHyphen = 0x2010;
constexpr char16_t kNonBreakingHyphen = 0x2011;

struct CodePoint {
    char32_t value = 0;
    int width = 1;
};

// A lone surrogate is its own code point and is no letter.
CodePoint codePointAt(QStringView text, int i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(c, text[i + 1]), 2};
    return {c.unicode(), 1};
}

bool isLetter(char32_t c) { return QChar::isLetter(c); }

// Soft hyphens and zero-width joiners and spaces stay inside a word but do not start one.
bool isInvisible(char32_t c) { return QChar::category(c) == QChar::Other_Format; }

bool isWordChar(char32_t c)
{
    return QChar::isLetterOrNumber(c) || QChar::isMark(c) || c == '_' || isInvisible(c);
}

bool isApostrophe(char32_t c) { return c == '\'' || c == kRightSingleQuote || c == kModifierApostrophe; }
bool isHyphen(char32_t c) { return c == '-' || c == kHyphen || c == kNonBreakingHyphen; }

bool wordCharAt(QStringView text, int i, int end)
{
    return i < end && isWordChar(codePointAt(text, i).value);
}

bool letterAt(QStringView text, int i, int end)
{
    return i < end && isLetter(codePointAt(text, i).value);
}

bool startsWithInsensitive(QStringView text, QLatin1String prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

} // namespace

bool isAddress(QStringView chunk)
{
    // Opening brackets and quotes before a link are not part of it.
    int first = 0;
    while (first < chunk.size() && QStringView(u"(<[\"'«").contains(chunk[first]))
        ++first;
    const QStringView body = chunk.mid(first);
    if (body.contains(QLatin1String("://")) || startsWithInsensitive(body, QLatin1String("www."))
        || startsWithInsensitive(body, QLatin1String("mailto:")))
        return true;
    const qsizetype at = body.indexOf(u'@');
    return at > 0 && body.indexOf(u'.', at) > at + 1;
}

std::vector<Span> chunksOf(QStringView paragraph)
{
    std::vector<Span> chunks;
    const int size = int(paragraph.size());
    int i = 0;
    while (i < size) {
        while (i < size && paragraph[i].isSpace())
            ++i;
        const int start = i;
        while (i < size && !paragraph[i].isSpace())
            ++i;
        if (i > start && !isAddress(paragraph.mid(start, i - start)))
            chunks.push_back({start, i - start});
    }
    return chunks;
}

std::vector<Word> wordsIn(QStringView text, Span span)
{
    std::vector<Word> words;
    const int end = span.end();
    int i = span.start;
    while (i < end) {
        const CodePoint first = codePointAt(text, i);
        if (!isWordChar(first.value) || isInvisible(first.value)) {
            i += first.width;
            continue;
        }
        Word word;
        word.span.start = i;
        int partStart = i;
        while (i < end) {
            const CodePoint cp = codePointAt(text, i);
            if (isWordChar(cp.value)) {
                word.notProse = word.notProse || QChar::isDigit(cp.value) || QChar::isNumber(cp.value)
                                || cp.value == '_';
                i += cp.width;
            } else if (isApostrophe(cp.value) && i > partStart
                       && letterAt(text, i - 1, end) && letterAt(text, i + 1, end)) {
                i += cp.width;
            } else if (isHyphen(cp.value) && i > partStart && wordCharAt(text, i + 1, end)) {
                word.parts.push_back({partStart, i - partStart});
                i += cp.width;
                partStart = i;
            } else {
                break;
            }
        }
        word.parts.push_back({partStart, i - partStart});
        word.span.length = i - word.span.start;
        words.push_back(std::move(word));
    }
    return words;
}

Alphabet alphabetOf(QStringView word)
{
    bool cyrillic = false;
    bool latin = false;
    for (int i = 0; i < word.size();) {
        const CodePoint cp = codePointAt(word, i);
        i += cp.width;
        if (!isLetter(cp.value))
            continue;
        switch (QChar::script(cp.value)) {
        case QChar::Script_Cyrillic: cyrillic = true; break;
        case QChar::Script_Latin: latin = true; break;
        default: return Alphabet::Other;
        }
    }
    if (cyrillic && latin)
        return Alphabet::Mixed;
    if (cyrillic)
        return Alphabet::Cyrillic;
    return latin ? Alphabet::Latin : Alphabet::None;
}

int letterCount(QStringView word)
{
    int count = 0;
    for (int i = 0; i < word.size();) {
        const CodePoint cp = codePointAt(word, i);
        i += cp.width;
        count += isLetter(cp.value) ? 1 : 0;
    }
    return count;
}

bool isAllCaps(QStringView word)
{
    bool any = false;
    for (int i = 0; i < word.size();) {
        const CodePoint cp = codePointAt(word, i);
        i += cp.width;
        if (!isLetter(cp.value))
            continue;
        if (!QChar::isUpper(cp.value))
            return false;
        any = true;
    }
    return any;
}

} // namespace spelling
