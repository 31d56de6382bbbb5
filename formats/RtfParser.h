#pragma once

#include "formats/RtfColorTable.h"
#include "formats/RtfContent.h"
#include "formats/RtfFontTable.h"
#include "formats/RtfKeywords.h"
#include "formats/RtfListTable.h"
#include "formats/RtfLoadStatus.h"
#include "formats/RtfPicture.h"
#include "formats/RtfTables.h"
#include "formats/RtfTokenizer.h"

#include <vector>

// Turns an RTF document's tokens into Content. The state of open groups lives
// on a stack of its own, never on the call stack, and groups nested beyond
// a limit are counted instead of saved.
namespace rtf::detail {

// What the text of a group is.
enum class Dest : quint8 {
    Normal,     // document text
    NumberText, // \pntext, \listtext: the rendered list number
    Skip,
    FontTable,
    ColorTable,
    Pict,
    Pn,
    ListTable,
    List,
    ListLevel,
    ListOverrideTable,
    ListOverride,
    FieldInstruction,
    Shape,        // \shp: its properties, of which only the picture is kept
    ShapeName,    // \sn: a property's name
    ShapePicture, // \sv of the pib property: the shape's picture
};

// How much of a document the data holds. A whole document's last \par
// merges with the document's own final paragraph end; the last \par of a
// fragment (the clipboard's, a drag's) ends a paragraph of its own.
enum class Extent : quint8 { Document, Fragment };

// \itap of a paragraph in a cell of a table inside a cell. Tables deeper in
// have their rows read as lines of tabs; levels beyond the deepest count as it.
constexpr quint8 kInnerNesting = 2;
constexpr quint8 kDeepestNesting = 255;

// What a group saves when it opens and gets back when it closes.
struct State {
    Dest dest = Dest::Normal;
    quint8 uc = 1; // fallback characters after \u
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool pageBreakBefore = false; // \pagebb
    bool inTable = false;         // \intbl
    bool nestedRow = false;       // in a nested row's definition (\nesttableprops)
    quint8 nesting = 0;           // \itap: 1 in a cell, 2 in a cell of a table in a cell
    bool superscript = false;
    bool subscript = false;
    bool slmult = false;
    quint8 align = kAlignLeft;
    quint8 tabKind = kTabLeft; // of the next \tx
    int font = -1; // -1: the default font
    int halfPoints = kDefaultHalfPoints;
    int fg = 0;    // colour table indexes; 0: automatic
    int bg = 0;
    int li = 0;    // twips
    int fi = 0;
    int ri = 0;
    int sb = 0;    // twips
    int sa = 0;
    int sl = 0;
    int tabs = 0;  // see ContentCollector::addTabStop
    int raise = 0; // half-points
    int link = -1; // inside a hyperlink's result: its address
    int ls = 0;
    int ilvl = 0;
    ListRef pn; // numbering of the {\pn} form
    const uchar *openedAt = nullptr; // this group's opening brace
    bool kept = false; // inside a header group kept as read
    bool started = false; // something other than \* came after the opening brace
};

class Parser
{
public:
    // begin is at the opening "{\rtf".
    Parser(const uchar *begin, const uchar *end, Extent extent = Extent::Document);

    void parse();
    int paragraphCount() const { return m_content.paragraphCount(); }
    Content takeContent()
    {
        Content content = m_content.take(m_fonts.takeFamilies());
        content.keptGroups = std::move(m_keptGroups);
        content.tables = m_tables.take();
        content.innerTables = m_innerTables.take();
        return content;
    }
    LoadStatus status() const;

private:
    // Tokens and groups (RtfParser.cpp).
    void openGroup();
    void closeGroup();
    void keepIfInHeader(bool starred, QByteArrayView word);
    void keepGroup(const uchar *openedAt);
    void closeDestination(const State &closed);
    void controlWord(const Token &token);
    void controlSymbol(uchar c);
    void hexByte(uchar value);
    void text(const Token &token);
    void binary(const Token &token);
    void finish();

    // One handler per group of keywords (RtfKeywordHandlers.cpp).
    void destination(const Keyword &keyword, bool starred);
    void shapeDestination(Action action);
    void documentSetting(const Keyword &keyword, const Token &word);
    void font(const Keyword &keyword, const Token &word);
    void colour(const Keyword &keyword, const Token &word);
    void characterFormat(const Keyword &keyword, const Token &word);
    void paragraphFormat(const Keyword &keyword, const Token &word);
    void breakOrCharacter(const Keyword &keyword);
    void unicode(const Keyword &keyword, const Token &word);
    void picture(const Keyword &keyword, const Token &word);
    void oldList(const Keyword &keyword, const Token &word);
    void listTable(const Keyword &keyword, const Token &word);
    void table(const Keyword &keyword, const Token &word);

    // Text and paragraphs (RtfParser.cpp). The small ones run for every
    // character and are defined here so that they inline.
    Target textTarget() const
    {
        if (m_state.dest == Dest::Normal)
            return m_state.hidden ? Target::Hidden : Target::MainText;
        if (m_state.hidden)
            return Target::None;
        if (m_state.dest == Dest::NumberText)
            return Target::NumberText;
        return Target::None;
    }
    // The characters bytes 0x80..0xFF stand for here.
    const char16_t *byteTable()
    {
        if (m_state.dest == Dest::FontTable && m_fonts.entryPending())
            return m_fonts.entryByteTable();
        return m_fonts.byteTable(m_state.font);
    }
    void openRun(Target target)
    {
        if (m_content.openTarget() != target || m_formatDirty)
            startRun(target);
    }
    // Text goes into a run, or aside while it is hidden.
    void put(Target target, char16_t c)
    {
        if (target == Target::Hidden)
            m_hiddenText.append(QChar(c));
        else
            m_content.put(c);
    }
    // Opens the run, after the tabs of table cells that ended before.
    void beginText(Target target)
    {
        if (target == Target::Hidden)
            return;
        if (m_pendingCellTabs > 0 && target == Target::MainText)
            putCellTabs(m_pendingCellTabs);
        openRun(target);
    }
    void putCellTabs(int count);
    void endParagraphIfAny();
    void startRun(Target target);
    void documentText(const uchar *begin, const uchar *end);
    void emitChar(char16_t c);
    void emitUnicode(int value);
    void flushHighSurrogate();
    CharKey currentKey();
    int takeHiddenText();
    ListRef listRef() const;
    // In a cell: ended by \cell, or a paragraph of a table (\intbl).
    void endParagraph(bool inCell = false, bool inInnerCell = false);
    void tableRowEnded();
    void innerRowEnded();
    void innerTableEnded();
    // A control word as it stands in the file: "\\word" and its number.
    static QByteArray wordText(const Token &token);
    void tableEnded();
    void commitColor();
    void finishPicture();
    void finishFieldInstruction();

    Tokenizer m_tokens;
    Extent m_extent;
    bool m_done = false;

    State m_state;
    std::vector<State> m_stack;
    int m_overflow = 0;        // groups opened beyond the saved depth
    bool m_star = false;       // \* came just before
    QByteArrayList m_keptGroups;
    qsizetype m_keptBytes = 0;
    bool m_closingAtEnd = false; // groups the data left open close without a brace
    int m_unicodeSkip = 0;     // fallback characters of a \u still to skip
    char16_t m_highSurrogate = 0;

    FontTable m_fonts;
    ColorTable m_colors;
    ListTable m_lists;
    PictureReader m_picture;

    ContentCollector m_content;
    LoadStatus m_status;
    TableCollector m_tables;
    // Tables inside cells, one level deep, with their rows' paragraphs as
    // m_rowParagraphs has the outer row's.
    TableCollector m_innerTables;
    std::vector<std::pair<int, int>> m_innerRowParagraphs;
    int m_innerRowCells = 0;
    // The collector the words of a row's definition go to.
    TableCollector &tables() { return m_state.nestedRow ? m_innerTables : m_tables; }
    bool m_formatDirty = true; // the state may no longer match the open run
    int m_pendingCellTabs = 0;   // cells of a table inside a cell ended since the last text
    // The paragraphs of the table row being read, each with the cell of the
    // row it stands in, and the cells ended so far.
    std::vector<std::pair<int, int>> m_rowParagraphs;
    int m_rowCells = 0;
    bool m_pendingPageBreak = false; // a \page: the next paragraph starts a page
    QString m_fieldInstruction;
    QString m_hiddenText; // hidden since the last visible character
    int m_fieldLink = -1; // the address the open field's instruction gave
    QString m_shapeProperty;          // the name of the shape property being read
    bool m_shapePictureShown = false; // the open shape's picture is in the text
    struct ShapeBox {
        int left = 0; // twips
        int top = 0;
        int right = 0;
        int bottom = 0;
    } m_shapeBox; // the open shape's extent
};

} // namespace rtf::detail
