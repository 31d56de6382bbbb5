#include "formats/RtfListTable.h"

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

} // namespace

void ListTable::startOldList()
{
    m_pnLevel = kPnBody;
    m_pnStyle = kStyleDecimal;
}

int ListTable::oldListStyle() const
{
    if (m_pnLevel == kPnBullet)
        return kStyleBullet;
    if (m_pnLevel == kPnContinuation)
        return kStyleNone;
    return m_pnStyle;
}

void ListTable::startList()
{
    m_levels.clear();
    m_listId = 0;
}

void ListTable::endLevel()
{
    if (m_levels.size() < size_t(kMaxListLevels))
        m_levels.push_back(m_levelFormat);
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

std::optional<int> ListTable::style(int ls, int level) const
{
    if (ls == 0)
        return std::nullopt;
    const auto o = m_overrides.find(ls);
    if (o == m_overrides.end())
        return std::nullopt;
    const auto l = m_lists.find(o->second);
    if (l == m_lists.end() || l->second.empty())
        return std::nullopt;
    const std::vector<int> &levels = l->second;
    return styleOfNumberFormat(levels[size_t(qMin<int>(level, int(levels.size()) - 1))]);
}

} // namespace rtf::detail
