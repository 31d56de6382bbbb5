#pragma once

#include "formats/ParagraphFormat.h"

#include <QStringView>

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
constexpr int kPnOutline = 3;      // \pnlvlN, outline level N from 1

constexpr int kMaxListLevels = 16;
constexpr int kMaxListStart = 32767; // as Word takes it

// What a list paragraph's number belongs to: items of one list and level
// count on together, across paragraphs without numbers between them.
struct ListRef {
    int style = kStyleNone;
    int list = 0;  // \ls, or 0 for the {\pn} numbering
    int level = 0; // 0 is the outermost
    int start = 1; // the first item's number
};

// The number a list number text such as "3.", "c)" or "(iv)" shows in a
// style; 0 when it shows none.
int shownListNumber(QStringView text, int style);

class ListTable
{
public:
    void startOldList();
    // \pnlvlbody, \pnlvlblt, \pnlvlcont (kPn...), or \pnlvlN as N + kPnOutline.
    void setOldListLevel(int level) { m_pnLevel = level; }
    void setOldListStyle(int style) { m_pnStyle = style; }
    void setOldListStart(int start);
    // What the {\pn} group just read gives its paragraph.
    ListRef oldList() const;

    void startList();
    void setListId(int id) { m_listId = id; }
    void startLevel() { m_level = Level(); }
    void setLevelFormat(int levelnfc) { m_level.format = levelnfc; }
    void setLevelStart(int start);
    void endLevel();
    void endList();

    void startOverride();
    void setOverrideListId(int id) { m_overrideListId = id; }
    void setOverrideNumber(int ls) { m_overrideNumber = ls; }
    void endOverride();

    // The list of a paragraph with \lsN\ilvlM, when the tables define one.
    std::optional<ListRef> list(int ls, int level) const;

private:
    struct Level {
        int format = 0; // \levelnfc
        int start = 1;
    };

    int m_pnLevel = kPnBody;
    int m_pnStyle = kStyleDecimal;
    int m_pnStart = 1;

    std::unordered_map<int, std::vector<Level>> m_lists; // \listid -> its levels
    std::unordered_map<int, int> m_overrides;            // \ls -> \listid
    std::vector<Level> m_levels;
    int m_listId = 0;
    Level m_level;
    int m_overrideListId = 0;
    int m_overrideNumber = 0;
};

} // namespace rtf::detail
