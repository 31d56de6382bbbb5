#include "formats/RtfListTable.h"

#include <algorithm>

namespace rtf::detail {

namespace {

// Lists and overrides kept; a hostile table cannot grow past them.
constexpr size_t kMaxLists = 4096;

// The list style of a \levelnfc number format.
int styleOfNumberFormat(int levelnfc)
{
    switch (levelnfc) {
    case 1: return kStyleUpperRoman;
    case 2: return kStyleLowerRoman;
    case 3: return kStyleUpperLetter;
    case 4: return kStyleLowerLetter;
    case 23: return kStyleBullet;
    case 255: return kStyleNone;
    default: return kStyleDecimal;
    }
}

constexpr int kMaxShownNumber = 1'000'000;
constexpr int kLetters = 26;
constexpr qsizetype kLongestRoman = 16; // MMMDCCCLXXXVIII is 15

int romanDigit(QChar c)
{
    switch (c.toLower().unicode()) {
    case 'i': return 1;
    case 'v': return 5;
    case 'x': return 10;
    case 'l': return 50;
    case 'c': return 100;
    case 'd': return 500;
    case 'm': return 1000;
    default: return 0;
    }
}

int romanValue(QStringView s)
{
    if (s.size() > kLongestRoman)
        return 0;
    int total = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const int v = romanDigit(s[i]);
        if (v == 0)
            return 0;
        const int next = i + 1 < s.size() ? romanDigit(s[i + 1]) : 0;
        total += v < next ? -v : v;
    }
    return total > 0 && total < kMaxShownNumber ? total : 0;
}

// a..z, then Word's aa, bb... or the aa, ab... of other programs.
int letterValue(QStringView s)
{
    const int first = s[0].toLower().unicode() - 'a' + 1;
    if (s.size() == 1)
        return first;
    if (s.size() > 4)
        return 0;
    bool repeated = true;
    for (QChar c : s)
        repeated = repeated && c.toLower() == s[0].toLower();
    if (repeated)
        return first + kLetters * int(s.size() - 1);
    int n = 0;
    for (QChar c : s)
        n = n * kLetters + (c.toLower().unicode() - 'a' + 1);
    return n;
}

} // namespace

int shownListNumber(QStringView text, int style)
{
    // The last run of letters or digits: "1.2." shows 2 at its own level.
    qsizetype end = text.size();
    while (end > 0 && !(text[end - 1].isLetterOrNumber() && text[end - 1].unicode() < 0x80))
        --end;
    qsizetype begin = end;
    while (begin > 0 && text[begin - 1].isLetterOrNumber() && text[begin - 1].unicode() < 0x80)
        --begin;
    const QStringView token = text.mid(begin, end - begin);
    if (token.isEmpty())
        return 0;
    switch (style) {
    case kStyleLowerRoman:
    case kStyleUpperRoman:
        return romanValue(token);
    case kStyleLowerLetter:
    case kStyleUpperLetter: {
        for (QChar c : token) {
            if (!c.isLetter())
                return 0;
        }
        return letterValue(token);
    }
    case kStyleDecimal: {
        bool ok = false;
        const int n = token.toInt(&ok);
        return ok && n > 0 && n < kMaxShownNumber ? n : 0;
    }
    default:
        return 0;
    }
}

void ListTable::startOldList()
{
    m_pnLevel = kPnBody;
    m_pnStyle = kStyleDecimal;
    m_pnStart = 1;
}

void ListTable::setOldListStart(int start)
{
    m_pnStart = std::clamp(start, 0, kMaxListStart);
}

ListRef ListTable::oldList() const
{
    ListRef ref;
    ref.start = m_pnStart;
    if (m_pnLevel == kPnBullet)
        ref.style = kStyleBullet;
    else if (m_pnLevel == kPnContinuation)
        ref.style = kStyleNone;
    else
        ref.style = m_pnStyle;
    if (m_pnLevel >= kPnOutline)
        ref.level = std::min(m_pnLevel - kPnOutline, kMaxListLevels - 1);
    return ref;
}

void ListTable::startList()
{
    m_levels.clear();
    m_listId = 0;
}

void ListTable::setLevelStart(int start)
{
    m_level.start = std::clamp(start, 0, kMaxListStart);
}

void ListTable::endLevel()
{
    if (m_levels.size() < size_t(kMaxListLevels))
        m_levels.push_back(m_level);
}

void ListTable::endList()
{
    if (m_lists.size() < kMaxLists || m_lists.count(m_listId))
        m_lists[m_listId] = m_levels;
}

void ListTable::startOverride()
{
    m_overrideListId = 0;
    m_overrideNumber = 0;
}

void ListTable::endOverride()
{
    if (m_overrides.size() < kMaxLists || m_overrides.count(m_overrideNumber))
        m_overrides[m_overrideNumber] = m_overrideListId;
}

std::optional<ListRef> ListTable::list(int ls, int level) const
{
    if (ls == 0)
        return std::nullopt;
    const auto o = m_overrides.find(ls);
    if (o == m_overrides.end())
        return std::nullopt;
    const auto l = m_lists.find(o->second);
    if (l == m_lists.end() || l->second.empty())
        return std::nullopt;
    const std::vector<Level> &levels = l->second;
    const Level &definition = levels[size_t(qMin<int>(level, int(levels.size()) - 1))];
    ListRef ref;
    ref.style = styleOfNumberFormat(definition.format);
    ref.list = ls;
    ref.level = level;
    ref.start = definition.start;
    return ref;
}

} // namespace rtf::detail
