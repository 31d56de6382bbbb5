#include "tools/LayoutFix.h"

#include <iterator>

namespace layoutfix {

namespace {

constexpr std::size_t kUtf16Units = 0x10000;
constexpr char32_t kLastUtf16Unit = 0xFFFF;

// The 47 character keys, row by row from the left, unshifted and shifted; the
// same key stands at the same index in all four strings.
constexpr char16_t kEnglishPlain[] = u"`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./";
constexpr char16_t kEnglishShifted[] = u"~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?";
constexpr char16_t kRussianPlain[] = u"ё1234567890-=йцукенгшщзхъ\\фывапролджэячсмитьбю.";
constexpr char16_t kRussianShifted[] = u"Ё!\"№;%:?*()_+ЙЦУКЕНГШЩЗХЪ/ФЫВАПРОЛДЖЭЯЧСМИТЬБЮ,";
constexpr std::size_t kKeyCount = std::size(kEnglishPlain) - 1;
static_assert(std::size(kEnglishShifted) - 1 == kKeyCount && std::size(kRussianPlain) - 1 == kKeyCount
              && std::size(kRussianShifted) - 1 == kKeyCount);

// The Cyrillic and Cyrillic Supplement blocks, and the end of ASCII.
constexpr char16_t kFirstCyrillic = 0x0400;
constexpr char16_t kPastCyrillic = 0x0530;
constexpr char16_t kPastAscii = 0x80;

bool isCyrillicLetter(QChar c)
{
    return c.unicode() >= kFirstCyrillic && c.unicode() < kPastCyrillic && c.isLetter();
}

bool isLatinLetter(QChar c)
{
    const char16_t u = c.unicode();
    if (u < kPastAscii)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
    return c.isLetter() && c.script() == QChar::Script_Latin;
}

} // namespace

KeyMapping::KeyMapping() : toRussian_(kUtf16Units, 0), toEnglish_(kUtf16Units, 0) {}

// A character on several keys is reached through the first of them.
void KeyMapping::pair(char32_t english, char32_t russian)
{
    if (english == 0 || russian == 0 || english > kLastUtf16Unit || russian > kLastUtf16Unit)
        return;
    char16_t &forward = toRussian_[english];
    if (forward == 0)
        forward = char16_t(russian);
    char16_t &back = toEnglish_[russian];
    if (back == 0)
        back = char16_t(english);
}

KeyMapping KeyMapping::standard()
{
    KeyMapping mapping;
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        mapping.pair(kEnglishPlain[key], kRussianPlain[key]);
        mapping.pair(kEnglishShifted[key], kRussianShifted[key]);
    }
    return mapping;
}

std::optional<KeyMapping> KeyMapping::fromLayouts(const QList<platform::LayoutKey> &english,
                                                  const QList<platform::LayoutKey> &russian)
{
    KeyMapping mapping;
    for (const platform::LayoutKey &englishKey : english) {
        for (const platform::LayoutKey &russianKey : russian) {
            if (russianKey.keycode != englishKey.keycode)
                continue;
            mapping.pair(englishKey.plain, russianKey.plain);
            mapping.pair(englishKey.shifted, russianKey.shifted);
            break;
        }
    }
    for (char16_t letter = u'a'; letter <= u'z'; ++letter) {
        if (isCyrillicLetter(QChar(mapping.toRussian_[letter])))
            return mapping;
    }
    return std::nullopt;
}

QChar KeyMapping::convert(QChar c, Direction direction) const
{
    const std::vector<char16_t> &table = direction == Direction::ToRussian ? toRussian_ : toEnglish_;
    const char16_t converted = table[c.unicode()];
    return converted ? QChar(converted) : c;
}

QString KeyMapping::convert(QStringView text, Direction direction) const
{
    const std::vector<char16_t> &table = direction == Direction::ToRussian ? toRussian_ : toEnglish_;
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar c : text) {
        const char16_t converted = table[c.unicode()];
        *out++ = converted ? QChar(converted) : c;
    }
    return result;
}

Direction directionOf(QStringView text)
{
    qsizetype cyrillic = 0;
    qsizetype latin = 0;
    for (const QChar c : text) {
        if (isCyrillicLetter(c))
            ++cyrillic;
        else if (isLatinLetter(c))
            ++latin;
    }
    return cyrillic > latin ? Direction::ToEnglish : Direction::ToRussian;
}

namespace {

enum class Script { None, Cyrillic, Latin, Mixed };

Script scriptOf(QStringView word)
{
    bool cyrillic = false;
    bool latin = false;
    for (const QChar c : word) {
        cyrillic = cyrillic || isCyrillicLetter(c);
        latin = latin || isLatinLetter(c);
    }
    if (cyrillic && latin)
        return Script::Mixed;
    return cyrillic ? Script::Cyrillic : latin ? Script::Latin : Script::None;
}

bool endsLine(QChar c)
{
    return c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c == u'\n' || c == u'\r';
}

} // namespace

int caretRunLength(QStringView beforeCaret)
{
    qsizetype start = beforeCaret.size();
    while (start > 0 && !beforeCaret[start - 1].isSpace())
        --start;
    if (start == beforeCaret.size())
        return 0;
    const Script script = scriptOf(beforeCaret.mid(start));
    if (script == Script::None || script == Script::Mixed)
        return int(beforeCaret.size() - start);

    qsizetype runStart = start;
    qsizetype wordEnd = start;
    while (wordEnd > 0) {
        qsizetype gap = wordEnd;
        while (gap > 0 && beforeCaret[gap - 1].isSpace() && !endsLine(beforeCaret[gap - 1]))
            --gap;
        if (gap == 0 || endsLine(beforeCaret[gap - 1]))
            break;
        qsizetype wordStart = gap;
        while (wordStart > 0 && !beforeCaret[wordStart - 1].isSpace())
            --wordStart;
        const Script word = scriptOf(beforeCaret.mid(wordStart, gap - wordStart));
        if (word == script)
            runStart = wordStart;
        else if (word != Script::None)
            break;
        wordEnd = wordStart;
    }
    return int(beforeCaret.size() - runStart);
}

LayoutFixer::LayoutFixer(KeyMapping mapping) : mapping_(std::move(mapping)) {}

LayoutFixer::Fix LayoutFixer::fix(const QString &text, int start)
{
    Fix fix;
    if (last_ && last_->start == start && last_->result == text) {
        fix.text = last_->original;
        fix.direction = last_->direction == Direction::ToEnglish ? Direction::ToRussian : Direction::ToEnglish;
    } else {
        fix.direction = directionOf(text);
        fix.text = mapping_.convert(text, fix.direction);
    }
    last_ = Record{start, fix.text, text, fix.direction};
    return fix;
}

} // namespace layoutfix
