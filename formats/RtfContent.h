#pragma once

#include <QByteArrayList>
#include <QHash>
#include <QImage>
#include <QString>

#include "formats/RtfTableGrid.h"

#include <vector>

// What the parser makes of an RTF document, ready to become a QTextDocument:
// all text in one buffer cut into runs, the paragraphs, and every distinct
// character and paragraph format once.
namespace rtf::detail {

constexpr quint32 kAutoColor = 0xFFFFFFFFu; // no colour given: the text's default
constexpr int kDefaultHalfPoints = 24;      // 12 points

enum CharFlag {
    kBoldFlag = 1, kItalicFlag = 2, kUnderlineFlag = 4, kStrikeFlag = 8,
    kSuperFlag = 16, kSubFlag = 32,
};

struct CharKey {
    int family = -1; // index into Content::families; -1: the document's default
    int halfPoints = kDefaultHalfPoints;
    int flags = 0;   // CharFlag bits
    quint32 fg = kAutoColor;
    quint32 bg = kAutoColor;
    int raise = 0;    // half-points up (\up) or down (negative, \dn)
    int charset = -1; // the font's \fcharset; -1: none given
    int link = -1;    // index into Content::links
    int hidden = -1;  // index into Content::hiddenTexts: hidden text just before
    bool operator==(const CharKey &o) const
    {
        return family == o.family && halfPoints == o.halfPoints && flags == o.flags && fg == o.fg
            && bg == o.bg && raise == o.raise && charset == o.charset && link == o.link
            && hidden == o.hidden;
    }
};

inline size_t qHash(const CharKey &k, size_t seed = 0)
{
    // The rare properties share words; the font's character set follows its family.
    return qHashMulti(seed, k.family, k.halfPoints, quint32(k.flags) ^ (quint32(k.raise) << 8), k.fg,
                      k.bg ^ quint32(k.link) ^ (quint32(k.hidden) << 16));
}

enum Alignment { kAlignLeft, kAlignCentre, kAlignRight, kAlignJustify };

enum TabKind : quint8 { kTabLeft, kTabRight, kTabCentre, kTabDecimal };

struct TabStop {
    int twips;
    TabKind kind;
};

struct ParaKey {
    int align = kAlignLeft;
    int li = 0;    // twips, as RTF gives them
    int fi = 0;
    int ri = 0;
    int sb = 0;    // space before and after, twips
    int sa = 0;
    int sl = 0;    // line spacing: \sl as given, 0 for single
    bool slmult = false;
    int tabs = 0;  // index into Content::tabLists
    int list = 0;  // paraformat::ListStyle
    int listId = 0; // see ListRef
    int listLevel = 0;
    int listStart = 1;
    bool pageBreak = false; // the paragraph starts a page
    bool operator==(const ParaKey &o) const
    {
        return align == o.align && li == o.li && fi == o.fi && ri == o.ri && sb == o.sb
            && sa == o.sa && sl == o.sl && slmult == o.slmult && tabs == o.tabs && list == o.list
            && listId == o.listId && listLevel == o.listLevel && listStart == o.listStart
            && pageBreak == o.pageBreak;
    }
};

inline size_t qHash(const ParaKey &k, size_t seed = 0)
{
    // Small values share words.
    const auto word = [](int value) { return quint32(value); };
    const quint32 flags = word(k.align) | word(k.list) << 4 | word(k.pageBreak) << 8 | word(k.slmult) << 9;
    return qHashMulti(seed, flags, k.li, k.fi, k.ri, word(k.sb) ^ (word(k.sa) << 16),
                      word(k.sl) ^ (word(k.tabs) << 16),
                      word(k.listId) ^ (word(k.listLevel) << 24) ^ (word(k.listStart) << 8));
}

struct Run {
    int format; // < 0: the image -(format + 1)
    qsizetype start;
    qsizetype length;
};

struct Block {
    int paraFormat;
    int charFormat; // of the paragraph mark
    size_t firstRun;
    size_t runCount;
    int shownNumber; // the list number the file shows; 0 when it shows none
    int table = -1;  // the table (Content::tables) whose cell holds it; -1: none
    int row = 0;     // the table's row
    int cell = 0;    // the cell of that row's text, as \cell ends them
    // The same of a table inside that cell (Content::innerTables).
    int innerTable = -1;
    int innerRow = 0;
    int innerCell = 0;
};

struct Image {
    QImage image;
    double width = 0; // pixels; 0 = the image's own
    double height = 0;
    QByteArray keptData;  // a metafile shown as a box: its bytes
    QByteArray keptWords; // and the words that declared it
};

struct Content {
    QString text; // the runs' characters; longer than what they use
    QByteArrayList keptGroups; // the header's groups that are not shown, as read
    std::vector<Run> runs;
    std::vector<Block> blocks;
    std::vector<CharKey> charFormats;
    std::vector<ParaKey> paraFormats;
    std::vector<Image> images;
    std::vector<QString> families;
    std::vector<QString> links;                 // hyperlink addresses
    std::vector<QString> hiddenTexts;
    std::vector<std::vector<TabStop>> tabLists; // [0] is no tab stops
    std::vector<TableGrid> tables;              // as the rows define them
    std::vector<TableGrid> innerTables;         // tables inside cells
};

// Where characters go: the document's text, or the list number RTF writes
// before a list paragraph for readers that know no lists.
// Hidden text is kept aside for the character that follows it.
enum class Target : quint8 { None, MainText, NumberText, Hidden };

// Collects text into runs and paragraphs as the parser reads it.
class ContentCollector
{
public:
    // The text rarely outgrows the RTF it comes from.
    explicit ContentCollector(qsizetype expectedLength);
    Q_DISABLE_COPY_MOVE(ContentCollector) // m_buffer points into m_content

    void put(char16_t c)
    {
        if (Q_UNLIKELY(m_size == m_capacity))
            grow();
        m_buffer[m_size++] = c;
    }

    Target openTarget() const { return m_openTarget; }
    // Starts a run of this format unless the open run has it already.
    void openRun(Target target, const CharKey &key);
    void closeRun();
    void addImage(Image image);

    // A list number without a list we understand stays as text.
    void endParagraph(const ParaKey &paragraph, const CharKey &mark, int shownNumber = 0);
    // The list number text read for the open paragraph, its runs closed.
    QString numberText() const;
    bool paragraphEmpty() const { return m_content.runs.size() == m_blockRunStart; }
    bool hasNumberText() const { return !m_numberRuns.empty(); }
    // The list number text read so far becomes the paragraph's text.
    void numberTextIsText();
    int paragraphCount() const { return int(m_content.blocks.size()); }
    void putInTable(int paragraph, int table, int row, int cell)
    {
        Block &block = m_content.blocks[size_t(paragraph)];
        block.table = table;
        block.row = row;
        block.cell = cell;
    }
    void putInInnerTable(int paragraph, int table, int row, int cell)
    {
        Block &block = m_content.blocks[size_t(paragraph)];
        block.innerTable = table;
        block.innerRow = row;
        block.innerCell = cell;
    }

    Content take(std::vector<QString> families);

    // Tab stops: the list `base` with one more stop; 0 is no stops.
    int addTabStop(int base, TabStop stop);
    int addLink(const QString &address);
    int addHiddenText(QString text);

private:
    void grow();
    int charFormat(const CharKey &key);
    int paraFormat(const ParaKey &key);

    Content m_content;
    char16_t *m_buffer = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
    std::vector<Run> m_numberRuns;
    size_t m_blockRunStart = 0;
    Target m_openTarget = Target::None;
    CharKey m_openKey;
    QHash<CharKey, int> m_charIndex;
    QHash<ParaKey, int> m_paraIndex;
    QHash<quint64, int> m_tabSteps; // (base, stop) -> list
    QHash<QString, int> m_linkIndex;
};

} // namespace rtf::detail
