#pragma once

#include "formats/ParagraphFormat.h"

#include <optional>
#include <unordered_map>
#include <vector>

// The list definitions of an RTF document: the old {\pn} group a paragraph
// carries itself, and the newer \listtable with its \listoverridetable, which
// paragraphs refer to by \ls and \ilvl. Styles are paraformat::ListStyle
// values as ints, 0 for none.
namespace rtf::detail {

constexpr int kStyleNone = int(paraformat::ListStyle::None);
constexpr int kStyleBullet = int(paraformat::ListStyle::Bullet);
constexpr int kStyleDecimal = int(paraformat::ListStyle::ArabicNumbers);
constexpr int kStyleLowerLetter = int(paraformat::ListStyle::LoCaseLetter);
constexpr int kStyleUpperLetter = int(paraformat::ListStyle::UpCaseLetter);
constexpr int kStyleLowerRoman = int(paraformat::ListStyle::LoCaseRoman);
constexpr int kStyleUpperRoman = int(paraformat::ListStyle::UpCaseRoman);

// Levels of a {\pn} group.
constexpr int kPnBody = 0;
constexpr int kPnBullet = 1;
constexpr int kPnContinuation = 2; // a paragraph of a list item without a number

constexpr int kMaxListLevels = 16;

class ListTable
{
public:
    void startOldList();
    void setOldListLevel(int level) { m_pnLevel = level; }
    void setOldListStyle(int style) { m_pnStyle = style; }
    // The style the {\pn} group just read gives its paragraph.
    int oldListStyle() const;

    void startList();
    void setListId(int id) { m_listId = id; }
    void startLevel() { m_levelFormat = 0; }
    void setLevelFormat(int levelnfc) { m_levelFormat = levelnfc; }
    void endLevel();
    void endList();

    void startOverride();
    void setOverrideListId(int id) { m_overrideListId = id; }
    void setOverrideNumber(int ls) { m_overrideNumber = ls; }
    void endOverride();

    // The style of a paragraph with \lsN\ilvlM, when the tables define one.
    std::optional<int> style(int ls, int level) const;

private:
    int m_pnLevel = kPnBody;
    int m_pnStyle = kStyleDecimal;

    std::unordered_map<int, std::vector<int>> m_lists; // \listid -> \levelnfc per level
    std::unordered_map<int, int> m_overrides;          // \ls -> \listid
    std::vector<int> m_levels;
    int m_listId = 0;
    int m_levelFormat = 0;
    int m_overrideListId = 0;
    int m_overrideNumber = 0;
};

} // namespace rtf::detail
