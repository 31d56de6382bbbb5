#include "formats/RtfWriter.h"

#include "formats/CharacterFormat.h"
#include "formats/ParagraphFormat.h"
#include "formats/RtfCodePages.h"
#include "formats/RtfFields.h"
#include "formats/RtfReader.h"
#include "formats/TableCells.h"
#include "formats/TableFormat.h"

#include <QBuffer>
#include <QByteArrayList>
#include <QDeadlineTimer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <vector>

namespace rtf {

namespace {

constexpr int kLang = 1049; // Russian, as the control writes for this program's users
constexpr int kSymbolCharset = 2;
constexpr int kMaxLevel = 8; // Word's lists have nine levels
constexpr int kCyrillicCodePage = 1251;
constexpr qreal kTwipsPerPixel = paraformat::kTwipsPerPixel;
constexpr qreal kLineTwipsPerPercent = 240.0 / 100.0; // \slmult1: 240 is one line
// The width a table of variable columns shares out when the document has no
// page width: an A4 page's text between Word's default margins.
constexpr int kDefaultTableTwips = 9638;
constexpr int kMinColumnTwips = 15; // a pixel: \cellx edges must rise
constexpr int kMaxBorderTwips = 255; // \brdrw

enum Vertical { kBaseline, kSuper, kSub };

struct CharState {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int fg = 0; // colour table index, 0 = automatic
    int bg = 0; // 0 = none
    int vertical = kBaseline;
    int raise = 0; // half-points, \up or \dn
};

struct FontEntry {
    QString family;
    int charset;
    bool operator==(const FontEntry &o) const { return family == o.family && charset == o.charset; }
};

size_t qHash(const FontEntry &f, size_t seed = 0)
{
    return qHashMulti(seed, f.family, f.charset);
}

// The code page a reader decodes the font's text with.
int codePageOf(const FontEntry &font)
{
    return detail::codePageOfFont(font.charset, font.family);
}

// The byte of a character in a code page, -1 when it has none.
int byteIn(int codePage, char16_t c)
{
    if (codePage == kCyrillicCodePage)
        return detail::windows1251Byte(c);
    const char16_t *table = codePage ? detail::codePageTable(codePage) : nullptr;
    if (!table || c == 0xFFFD)
        return -1;
    for (int b = 0; b < 128; ++b) {
        if (table[b] == c)
            return 0x80 + b;
    }
    return -1;
}

// A table in the document's top frame (or in frames other than tables); the
// tables inside its cells go as their paragraphs.
struct TableSpan {
    const QTextTable *table;
    int first; // its first and last positions
    int last;
};

// A cell of a table's row as written (an index into the table's cells): a
// cell that starts in the row, or one that a cell starting above covers,
// written empty and merged with it.
struct RowPlace {
    size_t cell;
    int column;
    bool continued;
    bool mergedAcross = false; // a column a cell to its left spans
};

// The table being written, its grid's edges in twips, the row whose
// definition went last, that row's cells and how many of them are written.
struct TableWriting {
    const QTextTable *table = nullptr;
    QTextTableFormat format;
    int last = 0; // the table's last position
    std::vector<tableformat::PlacedCell> cells;
    tableformat::ColumnCellFormats columnFormats;
    size_t cellAt = 0; // the cell paragraphs go to
    size_t enteredCell = 0;
    std::vector<int> edges;
    int firstRow = -1;
    int row = -1;
    bool rowOpen = false;
    std::vector<RowPlace> places;
    size_t placesWritten = 0;
    bool cellShown = false; // false for a cell the file's row did not have
    QByteArray definition; // of a row inside a cell, written after its cells
};

struct ListInfo {
    int id = 0; // \listid and \ls
    paraformat::ListStyle style = paraformat::ListStyle::None;
    int level = 0;
    int start = 1;
};

class Writer
{
public:
    Writer(const QTextDocument &document, int from, int to);
    bool step(const QDeadlineTimer &deadline);
    QByteArray result();

private:
    enum class Phase { Start, Tables, Body, Done };

    void collect(const QTextBlock &block);
    void collectTable(const QTextTable &table);
    void finishCollecting();
    void findTables();
    const TableSpan *tableAt(int position, size_t &index) const;
    void widenToRows();
    int fontIndex(const QString &family, int charset = charformat::kDefaultCharset);
    int colorIndex(const QColor &color);
    CharState stateOf(const QTextCharFormat &format);

    void header();
    void listTable();
    void body(const QTextBlock &block);
    void paragraph(const QTextBlock &block, bool inTable = false, bool endsCell = false);
    void tableParagraph(const QTextTable &table, const QTextBlock &block);
    bool enterCell(const QTextTable &table, const QTextBlock &block);
    void innerParagraph(const QTextTable &table, const QTextBlock &block);
    void endInnerTable();
    bool nested() const { return m_t == &m_inner; }
    void startTable(const QTextTable &table);
    void endTable();
    void startRow(int row);
    void endRow();
    void cellDefinition(const RowPlace &place);
    int cellEnd(size_t index) const;
    size_t cellStartingAt(int first) const;
    // The format the cell at `index` of the table being written has.
    QTextTableCellFormat cellFormat(size_t index) const;
    bool isAbsent(size_t index) const;
    void cellBorders(const QTextTableCellFormat &format);
    void emptyCell();
    void keptWords(const QByteArray &words);
    void picture(const QTextImageFormat &format);
    void keptPicture(const QTextImageFormat &format);
    void hexLines(const QByteArray &data);
    void paragraphSpacing(const QTextBlockFormat &format);
    void tabStops(const QTextBlockFormat &format);
    void linkTo(const QString &address);
    void listNumber(const QTextBlock &block, const QTextList *list);
    void paragraphFormat(const QTextBlock &block, bool inTable = false);
    void vertical(const CharState &s);
    void hiddenText(const QTextCharFormat &format);
    void changeTo(const CharState &state);
    void word(const char *text) { m_out += text; m_delimit = true; }
    void word(const char *text, int value)
    {
        m_out += text;
        m_out += QByteArray::number(value);
        m_delimit = true;
    }
    void raw(char c) { m_out += c; m_delimit = false; }
    void raw(const char *text) { m_out += text; m_delimit = false; }
    void text(QStringView s);
    void textChar(char c)
    {
        if (m_delimit) {
            m_out += ' ';
            m_delimit = false;
        }
        m_out += c;
    }

    const QTextDocument &m_doc;
    Phase m_phase = Phase::Start;
    QTextBlock m_next;
    int m_from;
    int m_to;
    QString m_defaultFamily;
    double m_defaultPoints = 12;

    QByteArray m_out;
    bool m_delimit = false;
    CharState m_state;

    std::vector<FontEntry> m_fonts;
    QHash<FontEntry, int> m_fontIndex;
    int m_codePage = kCyrillicCodePage; // of the font text is written in
    QString m_link;            // the address of the open hyperlink field
    CharState m_stateOutsideLink;
    int m_symbolFont = -1;
    std::vector<QRgb> m_colors;      // from index 1
    QHash<QRgb, int> m_colorIndex;
    QHash<const QTextList *, ListInfo> m_lists;
    std::vector<ListInfo> m_listOrder;

    std::vector<TableSpan> m_tables;
    bool m_tablesAsText = false; // the range lies in one cell
    size_t m_collectAt = 0;      // m_tables' index each pass has reached
    size_t m_bodyAt = 0;
    const QTextTable *m_collected = nullptr;
    std::vector<TableSpan> m_innerTables; // tables inside cells
    size_t m_innerAt = 0;
    size_t m_collectInnerAt = 0;
    const QTextTable *m_innerCollected = nullptr;
    TableWriting m_outer;
    TableWriting m_inner; // a table inside a cell of m_outer
    TableWriting *m_t = &m_outer; // the one paragraphs go to
};

Writer::Writer(const QTextDocument &document, int from, int to) : m_doc(document)
{
    const int count = document.characterCount();
    m_from = qBound(0, from, count);
    m_to = qBound(m_from, to, count);
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family();
    if (font.pointSizeF() > 0)
        m_defaultPoints = font.pointSizeF();
    else if (font.pixelSize() > 0)
        m_defaultPoints = font.pixelSize() * 0.75;
    fontIndex(m_defaultFamily); // \f0, the \deff0 font
    findTables();
    if (!m_tables.empty() && (m_from > 0 || m_to < count))
        widenToRows();
}

// The tables nearest inside a frame, through frames that are no tables.
void tablesIn(const QTextFrame *outer, std::vector<TableSpan> &tables)
{
    std::vector<const QTextFrame *> frames{outer};
    while (!frames.empty()) {
        const QTextFrame *frame = frames.back();
        frames.pop_back();
        for (const QTextFrame *child : frame->childFrames()) {
            const auto *table = qobject_cast<const QTextTable *>(child);
            if (!table)
                frames.push_back(child);
            else if (table->rows() > 0 && table->columns() > 0 && table->firstPosition() <= table->lastPosition())
                tables.push_back({table, table->firstPosition(), table->lastPosition()});
        }
    }
}

void Writer::findTables()
{
    if (m_doc.rootFrame()->childFrames().isEmpty())
        return;
    tablesIn(m_doc.rootFrame(), m_tables);
    // The tables in their cells, one level deep; deeper ones are written as
    // their cells' paragraphs.
    for (const TableSpan &outer : m_tables)
        tablesIn(outer.table, m_innerTables);
    const auto byPosition = [](const TableSpan &a, const TableSpan &b) { return a.first < b.first; };
    std::sort(m_tables.begin(), m_tables.end(), byPosition);
    std::sort(m_innerTables.begin(), m_innerTables.end(), byPosition);
}

// The table a position is in; `index` goes on from where the last call of
// the same pass left it, positions only growing.
const TableSpan *tableAt(const std::vector<TableSpan> &tables, int position, size_t &index)
{
    while (index < tables.size() && tables[index].last < position)
        ++index;
    return index < tables.size() && position >= tables[index].first ? &tables[index] : nullptr;
}

const TableSpan *Writer::tableAt(int position, size_t &index) const
{
    return rtf::tableAt(m_tables, position, index);
}

// The first and last positions of the cells that start in a row.
std::pair<int, int> rowRange(const QTextTable &table, int row)
{
    int first = -1;
    int last = -1;
    for (int column = 0; column < table.columns(); ++column) {
        const QTextTableCell cell = table.cellAt(row, column);
        if (cell.row() != row || cell.column() != column)
            continue;
        if (first < 0)
            first = cell.firstPosition();
        last = cell.lastPosition();
    }
    return {first, last};
}

// A range within one cell is that cell's paragraphs; one that reaches into
// other cells takes the rows it touches whole, so that they make a table.
void Writer::widenToRows()
{
    size_t index = 0;
    const TableSpan *fromTable = tableAt(m_from, index);
    const QTextTableCell fromCell = fromTable ? fromTable->table->cellAt(m_from) : QTextTableCell();
    if (fromCell.isValid() && m_to <= fromCell.lastPosition()) {
        m_tablesAsText = true;
        return;
    }
    if (fromCell.isValid()) {
        const int first = rowRange(*fromTable->table, fromCell.row()).first;
        if (first >= 0)
            m_from = std::min(m_from, first);
    }
    if (m_to <= m_from)
        return;
    index = 0;
    const TableSpan *toTable = tableAt(m_to - 1, index);
    const QTextTableCell toCell = toTable ? toTable->table->cellAt(m_to - 1) : QTextTableCell();
    if (toCell.isValid()) {
        const int last = rowRange(*toTable->table, toCell.row()).second;
        if (last >= 0)
            m_to = std::max(m_to, last + 1); // the cell's end, then \row
    }
}

int Writer::fontIndex(const QString &family, int charset)
{
    const FontEntry entry{family, charset};
    const auto it = m_fontIndex.constFind(entry);
    if (it != m_fontIndex.constEnd())
        return it.value();
    const int index = int(m_fonts.size());
    m_fonts.push_back(entry);
    m_fontIndex.insert(entry, index);
    return index;
}

int Writer::colorIndex(const QColor &color)
{
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    const auto it = m_colorIndex.constFind(rgb);
    if (it != m_colorIndex.constEnd())
        return it.value();
    m_colors.push_back(rgb);
    const int index = int(m_colors.size());
    m_colorIndex.insert(rgb, index);
    return index;
}

CharState Writer::stateOf(const QTextCharFormat &format)
{
    CharState s;
    QString family;
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        family = families.first();
    else
        family = m_defaultFamily;
    const int charset = format.hasProperty(charformat::kCharsetProperty)
        ? format.intProperty(charformat::kCharsetProperty)
        : charformat::kDefaultCharset;
    s.font = fontIndex(family, charset);
    const double points = format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0
        ? format.fontPointSize()
        : m_defaultPoints;
    s.halfPoints = qBound(2, int(std::lround(points * 2)), 3276);
    s.bold = format.fontWeight() >= QFont::DemiBold;
    s.italic = format.fontItalic();
    s.underline = format.fontUnderline();
    s.strike = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        s.fg = colorIndex(format.foreground().color());
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        s.bg = colorIndex(format.background().color());
    if (format.hasProperty(charformat::kRaiseProperty)) {
        s.raise = format.intProperty(charformat::kRaiseProperty);
    } else if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript) {
        s.vertical = kSuper;
    } else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) {
        s.vertical = kSub;
    }
    return s;
}

// Fonts and colours in the order the body uses them, so that the tables come
// out the same for the same content.
void Writer::collect(const QTextBlock &block)
{
    if (!m_tablesAsText && !m_tables.empty()) {
        const TableSpan *span = tableAt(block.position(), m_collectAt);
        if (span && span->table != m_collected) {
            m_collected = span->table;
            collectTable(*span->table);
        }
        const TableSpan *inner = rtf::tableAt(m_innerTables, block.position(), m_collectInnerAt);
        if (inner && inner->table != m_innerCollected) {
            m_innerCollected = inner->table;
            collectTable(*inner->table);
        }
    }
    bool wroteText = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (qMax(m_from, fragment.position()) < qMin(m_to, fragment.position() + fragment.length())) {
            stateOf(fragment.charFormat());
            wroteText = true;
        }
    }
    if (!wroteText && block.position() + block.length() - 1 < m_to)
        stateOf(block.charFormat());
    if (QTextList *list = block.textList()) {
        if (!m_lists.contains(list)) {
            ListInfo info;
            info.id = int(m_listOrder.size()) + 1;
            info.style = paraformat::fromQtListStyle(list->format().style());
            info.level = qBound(0, paraformat::listLevel(list->format()), kMaxLevel);
            info.start = paraformat::listStart(list->format());
            if (info.style == paraformat::ListStyle::None)
                info.style = paraformat::ListStyle::ArabicNumbers;
            m_lists.insert(list, info);
            m_listOrder.push_back(info);
            if (info.style == paraformat::ListStyle::Bullet && m_symbolFont < 0)
                m_symbolFont = -2;
        }
    }
}

// The colours of the cells' borders and backgrounds.
void Writer::collectTable(const QTextTable &table)
{
    const tableformat::ColumnCellFormats columns(table.format(), table.columns());
    for (const tableformat::PlacedCell &cell : tableformat::cellsInOrder(table)) {
        const QTextTableCellFormat format = columns.of(cell.cell.format(), cell.column);
        for (const QBrush &brush : {format.topBorderBrush(), format.leftBorderBrush(), format.bottomBorderBrush(),
                                    format.rightBorderBrush()}) {
            if (brush.style() != Qt::NoBrush)
                colorIndex(brush.color());
        }
        if (format.hasProperty(tableformat::kShadingProperty)) {
            for (const int property : {tableformat::kShadingBackgroundProperty, tableformat::kShadingPatternProperty}) {
                if (const QColor colour = format.colorProperty(property); colour.isValid())
                    colorIndex(colour);
            }
        } else if (format.background().style() != Qt::NoBrush) {
            colorIndex(format.background().color());
        }
    }
    const QBrush border = table.format().borderBrush();
    if (table.format().border() > 0 && border.style() != Qt::NoBrush)
        colorIndex(border.color());
}

void Writer::finishCollecting()
{
    if (m_symbolFont == -2)
        m_symbolFont = fontIndex(QStringLiteral("Symbol"), kSymbolCharset);
}

int levelNfc(paraformat::ListStyle style)
{
    switch (style) {
    case paraformat::ListStyle::Bullet: return 23;
    case paraformat::ListStyle::UpCaseRoman: return 1;
    case paraformat::ListStyle::LoCaseRoman: return 2;
    case paraformat::ListStyle::UpCaseLetter: return 3;
    case paraformat::ListStyle::LoCaseLetter: return 4;
    default: return 0;
    }
}

const char *pnType(paraformat::ListStyle style)
{
    switch (style) {
    case paraformat::ListStyle::UpCaseRoman: return "\\pnucrm";
    case paraformat::ListStyle::LoCaseRoman: return "\\pnlcrm";
    case paraformat::ListStyle::UpCaseLetter: return "\\pnucltr";
    case paraformat::ListStyle::LoCaseLetter: return "\\pnlcltr";
    default: return "\\pndec";
    }
}

// Word's list table, so that readers other than the rich edit control keep
// letter and roman numbering, levels and start numbers. Each list is one \ls
// whose levels up to its own are defined; its own carries its style and start.
void Writer::listTable()
{
    raw("{\\*");
    word("\\listtable");
    for (const ListInfo &list : m_listOrder) {
        raw("\r\n{");
        word("\\list\\listtemplateid", list.id);
        if (list.level == 0)
            word("\\listsimple");
        for (int level = 0; level <= list.level; ++level) {
            const paraformat::ListStyle style =
                level == list.level ? list.style : paraformat::ListStyle::ArabicNumbers;
            raw("{");
            word("\\listlevel\\levelnfc", levelNfc(style));
            word("\\levelnfcn", levelNfc(style));
            word("\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat", level == list.level ? list.start : 1);
            word("\\levelspace0\\levelindent0");
            static const char hex[] = "0123456789abcdef";
            if (style == paraformat::ListStyle::Bullet) {
                raw("{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}");
            } else {
                raw("{\\leveltext\\'02\\'0");
                m_out += hex[level];
                raw(".;}{\\levelnumbers\\'01;}");
            }
            word("\\fi-360\\li", 720 * (level + 1));
            raw("}");
        }
        raw("{\\listname ;}");
        word("\\listid", list.id);
        raw("}");
    }
    raw("}\r\n{\\*");
    word("\\listoverridetable");
    for (const ListInfo &list : m_listOrder) {
        raw("{");
        word("\\listoverride\\listid", list.id);
        word("\\listoverridecount0\\ls", list.id);
        raw("}");
    }
    raw("}\r\n");
}

void Writer::header()
{
    raw("{");
    word("\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang", kLang);
    raw("{");
    word("\\fonttbl");
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        raw("{");
        word("\\f", int(i));
        word("\\fnil\\fcharset", m_fonts[i].charset);
        QString name = m_fonts[i].family;
        name.remove(QLatin1Char(';'));
        m_codePage = detail::codePageOfCharset(m_fonts[i].charset);
        text(name);
        raw(";}");
    }
    m_codePage = codePageOf(m_fonts[0]);
    raw("}\r\n{");
    word("\\colortbl");
    raw(" ;");
    for (QRgb rgb : m_colors) {
        word("\\red", qRed(rgb));
        word("\\green", qGreen(rgb));
        word("\\blue", qBlue(rgb));
        raw(";");
    }
    raw("}\r\n");
    if (!m_listOrder.empty())
        listTable();
    if (m_from == 0 && m_to == m_doc.characterCount()) {
        for (const QByteArray &group : m_doc.property(kKeptHeaderProperty).value<QByteArrayList>()) {
            m_out += group;
            m_out += "\r\n";
        }
    }
    raw("{\\*");
    word("\\generator");
    text(QStringLiteral("Veltrix 3.0"));
    raw(";}");
    word("\\viewkind4\\uc1");
    raw("\r\n");
}

void Writer::changeTo(const CharState &s)
{
    CharState &c = m_state;
    if (s.font != c.font) {
        word("\\f", s.font);
        m_codePage = codePageOf(m_fonts[size_t(s.font)]);
    }
    if (s.halfPoints != c.halfPoints)
        word("\\fs", s.halfPoints);
    if (s.bold != c.bold)
        word(s.bold ? "\\b" : "\\b0");
    if (s.italic != c.italic)
        word(s.italic ? "\\i" : "\\i0");
    if (s.underline != c.underline)
        word(s.underline ? "\\ul" : "\\ulnone");
    if (s.strike != c.strike)
        word(s.strike ? "\\strike" : "\\strike0");
    if (s.fg != c.fg)
        word("\\cf", s.fg);
    if (s.bg != c.bg)
        word("\\highlight", s.bg);
    if (s.vertical != c.vertical || s.raise != c.raise)
        vertical(s);
    c = s;
}

void Writer::vertical(const CharState &s)
{
    if (s.raise > 0)
        word("\\up", s.raise);
    else if (s.raise < 0)
        word("\\dn", -s.raise);
    else if (m_state.raise != 0)
        word("\\up0");
    if (s.vertical == kSuper)
        word("\\super");
    else if (s.vertical == kSub)
        word("\\sub");
    else if (m_state.vertical != kBaseline)
        word("\\nosupersub");
}

void Writer::text(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c >= 0x20 && c < 0x80) {
            if (c == '\\' || c == '{' || c == '}') {
                m_out += '\\';
                m_out += char(c);
                m_delimit = false;
            } else {
                textChar(char(c));
            }
            continue;
        }
        switch (c) {
        case '\t': word("\\tab"); continue;
        case QChar::LineSeparator: word("\\line"); continue;
        case QChar::Nbsp: raw("\\~"); continue;
        case QChar::SoftHyphen: raw("\\-"); continue;
        case 0x2011: raw("\\_"); continue;
        case QChar::ParagraphSeparator:
        case QChar::ObjectReplacementCharacter:
        case 0xFDD0:
        case 0xFDD1:
            continue;
        default:
            break;
        }
        if (c < 0x20)
            continue;
        const int b = byteIn(m_codePage, c);
        if (b >= 0) {
            static const char hex[] = "0123456789abcdef";
            m_out += "\\'";
            m_out += hex[b >> 4];
            m_out += hex[b & 15];
            m_delimit = false;
            continue;
        }
        // Outside the font's code page: \uN with a one-character fallback (\uc1).
        word("\\u", int(qint16(c)));
        raw('?');
    }
}

// A picture kept as read (a metafile) goes back with its own words and bytes.
void Writer::keptPicture(const QTextImageFormat &format)
{
    raw("{");
    word("\\pict");
    m_out += format.property(charformat::kPictureWordsProperty).toByteArray();
    raw("\r\n");
    hexLines(format.property(charformat::kPictureDataProperty).toByteArray());
    raw("}");
}

void Writer::hexLines(const QByteArray &data)
{
    static const char hex[] = "0123456789abcdef";
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto b = uchar(data[i]);
        m_out += hex[b >> 4];
        m_out += hex[b & 15];
        if (i % 64 == 63)
            m_out += "\r\n";
    }
}

void Writer::picture(const QTextImageFormat &format)
{
    if (format.hasProperty(charformat::kPictureDataProperty)) {
        keptPicture(format);
        return;
    }
    const QVariant resource = m_doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    if (resource.userType() == QMetaType::QImage)
        image = qvariant_cast<QImage>(resource);
    else if (resource.userType() == QMetaType::QPixmap)
        image = qvariant_cast<QPixmap>(resource).toImage();
    else if (resource.userType() == QMetaType::QByteArray)
        image.loadFromData(resource.toByteArray());
    if (image.isNull())
        return;
    // A palette picture read from a damaged bitmap may hold fewer colours than
    // its pixels use; written so, it would not read back. Its colours as they
    // are shown go instead.
    if (image.colorCount() > 0)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;

    double width = format.width();
    double height = format.height();
    if (width <= 0 && height <= 0) {
        width = image.width();
        height = image.height();
    } else if (width <= 0) {
        width = image.width() * height / image.height();
    } else if (height <= 0) {
        height = image.height() * width / image.width();
    }
    raw("{");
    word("\\pict\\pngblip\\picw", image.width());
    word("\\pich", image.height());
    // Pixels at 96 dots per inch to twips.
    word("\\picwgoal", int(std::lround(width * 15)));
    word("\\pichgoal", int(std::lround(height * 15)));
    raw("\r\n");
    hexLines(png);
    raw("}");
}

void Writer::listNumber(const QTextBlock &block, const QTextList *list)
{
    const ListInfo info = m_lists.value(list);
    // The rich edit control's own form: the rendered number in \pntext, the
    // definition in \pn; then the list table's \ls for Word and LibreOffice.
    if (info.style == paraformat::ListStyle::Bullet) {
        raw("{");
        word("\\pntext\\f", m_symbolFont);
        raw("\\'b7");
        word("\\tab");
        raw("}{\\*");
        word("\\pn\\pnlvlblt\\pnf", m_symbolFont);
        word("\\pnindent0");
        raw("{");
        word("\\pntxtb");
        raw("\\'b7}}");
    } else {
        raw("{");
        word("\\pntext\\f", m_state.font);
        text(paraformat::listNumberText(info.style, paraformat::listItemNumber(*list, block)));
        word("\\tab");
        raw("}{\\*");
        if (info.level == 0)
            word("\\pn\\pnlvlbody");
        else
            word("\\pn\\pnlvl", info.level + 1);
        word("\\pnf", m_state.font);
        word("\\pnindent0\\pnstart", info.start);
        word(pnType(info.style));
        raw("{");
        word("\\pntxta");
        text(QStringLiteral("."));
        raw("}}");
    }
    word("\\ls", info.id);
    word("\\ilvl", info.level);
}

void Writer::paragraphFormat(const QTextBlock &block, bool inTable)
{
    word("\\pard");
    if (inTable)
        word(nested() ? "\\intbl\\itap2" : "\\intbl");
    const QTextBlockFormat format = block.blockFormat();
    if (const QTextList *list = block.textList())
        listNumber(block, list);
    switch (format.alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify)) {
    case Qt::AlignHCenter: word("\\qc"); break;
    case Qt::AlignRight: word("\\qr"); break;
    case Qt::AlignJustify: word("\\qj"); break;
    default: break;
    }
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        word("\\pagebb");
    const paraformat::Indents twips = paraformat::indentsInTwips(format);
    if (twips.other)
        word("\\fi", -twips.other);
    if (twips.first + twips.other)
        word("\\li", twips.first + twips.other);
    if (twips.right)
        word("\\ri", twips.right);
    paragraphSpacing(format);
    tabStops(format);
}

void Writer::paragraphSpacing(const QTextBlockFormat &format)
{
    const int sb = int(std::lround(format.topMargin() * kTwipsPerPixel));
    const int sa = int(std::lround(format.bottomMargin() * kTwipsPerPixel));
    if (sb)
        word("\\sb", sb);
    if (sa)
        word("\\sa", sa);
    const qreal height = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (height > 0 && height != 100) {
            word("\\sl", int(std::lround(height * kLineTwipsPerPercent)));
            word("\\slmult1");
        }
        break;
    case QTextBlockFormat::MinimumHeight:
        word("\\sl", int(std::lround(height * kTwipsPerPixel)));
        word("\\slmult0");
        break;
    case QTextBlockFormat::FixedHeight:
        word("\\sl", -int(std::lround(height * kTwipsPerPixel)));
        word("\\slmult0");
        break;
    default:
        break;
    }
}

void Writer::tabStops(const QTextBlockFormat &format)
{
    for (const QTextOption::Tab &tab : format.tabPositions()) {
        switch (tab.type) {
        case QTextOption::RightTab: word("\\tqr"); break;
        case QTextOption::CenterTab: word("\\tqc"); break;
        case QTextOption::DelimiterTab: word("\\tqdec"); break;
        default: break;
        }
        word("\\tx", int(std::lround(tab.position * kTwipsPerPixel)));
    }
}

// A run of text with one address is the result of a HYPERLINK field. Inside
// the field's groups the format changes are undone when they close.
void Writer::linkTo(const QString &address)
{
    if (address == m_link)
        return;
    if (!m_link.isEmpty()) {
        raw("}}}");
        m_state = m_stateOutsideLink;
        m_codePage = codePageOf(m_fonts[size_t(m_state.font)]);
    }
    m_link = address;
    if (address.isEmpty())
        return;
    m_stateOutsideLink = m_state;
    raw("{");
    word("\\field");
    raw("{\\*");
    word("\\fldinst");
    raw("{");
    text(detail::hyperlinkInstruction(address));
    raw("}}{");
    word("\\fldrslt");
    raw("{");
}

// Hidden text stands in a group of its own before the character that carries it.
void Writer::hiddenText(const QTextCharFormat &format)
{
    raw("{");
    word("\\v");
    text(format.stringProperty(charformat::kHiddenTextProperty));
    raw("}");
}

void Writer::paragraph(const QTextBlock &block, bool inTable, bool endsCell)
{
    paragraphFormat(block, inTable);
    const int blockStart = block.position();
    const int blockEnd = blockStart + block.length() - 1; // the paragraph mark
    bool wroteText = false;
    int hiddenSerial = 0; // of the fragment before
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int start = qMax(m_from, fragment.position());
        const int end = qMin(m_to, fragment.position() + fragment.length());
        if (start >= end)
            continue;
        const QTextCharFormat cf = fragment.charFormat();
        linkTo(cf.isAnchor() ? cf.anchorHref() : QString());
        changeTo(stateOf(cf));
        const int serial = cf.intProperty(charformat::kHiddenSerialProperty);
        if (serial != hiddenSerial && start == fragment.position()
            && cf.hasProperty(charformat::kHiddenTextProperty))
            hiddenText(cf);
        hiddenSerial = serial;
        wroteText = true;
        if (cf.isImageFormat()) {
            for (int i = start; i < end; ++i)
                picture(cf.toImageFormat());
            continue;
        }
        const QString blockText = fragment.text();
        text(QStringView(blockText).mid(start - fragment.position(), end - start));
    }
    linkTo(QString());
    if (blockEnd < m_to || endsCell) {
        const QTextCharFormat mark = block.charFormat();
        if (!wroteText)
            changeTo(stateOf(mark));
        if (mark.hasProperty(charformat::kHiddenTextProperty))
            hiddenText(mark);
        word(!endsCell ? "\\par" : nested() ? "\\nestcell" : "\\cell");
        raw("\r\n");
    }
}

void Writer::body(const QTextBlock &block)
{
    if (m_tablesAsText || m_tables.empty()) {
        paragraph(block);
        return;
    }
    if (const TableSpan *span = tableAt(block.position(), m_bodyAt)) {
        tableParagraph(*span->table, block);
        return;
    }
    endTable();
    // Qt keeps a paragraph before a table that starts the document, where a
    // file's table has none: empty, it is not written, else each reading
    // would add one. Anywhere else an empty paragraph is the text's own.
    const int blockEnd = block.position() + block.length() - 1;
    if (block.length() == 1 && block.position() == 0) {
        const TableSpan *next = tableAt(blockEnd + 1, m_bodyAt);
        if (next && next->first == blockEnd + 1)
            return;
    }
    paragraph(block);
}

// A paragraph of a table's cell. A row's definition goes before its first
// paragraph; the cells a cell above covers go empty where they stand.
void Writer::tableParagraph(const QTextTable &table, const QTextBlock &block)
{
    if (!enterCell(table, block))
        return;
    const int position = block.position();
    if (const TableSpan *inner = rtf::tableAt(m_innerTables, position, m_innerAt)) {
        innerParagraph(*inner->table, block);
        return;
    }
    endInnerTable();
    const int blockEnd = position + block.length() - 1;
    // Like the one at the document's start, Qt keeps a paragraph before a
    // table that starts a cell.
    if (block.length() == 1 && position == m_t->cells[m_t->cellAt].first) {
        size_t at = m_innerAt;
        const TableSpan *next = rtf::tableAt(m_innerTables, blockEnd + 1, at);
        if (next && next->first == blockEnd + 1)
            return;
    }
    paragraph(block, true, blockEnd >= cellEnd(m_t->cellAt));
}

void Writer::innerParagraph(const QTextTable &table, const QTextBlock &block)
{
    m_t = &m_inner;
    if (enterCell(table, block)) {
        const int blockEnd = block.position() + block.length() - 1;
        paragraph(block, true, blockEnd >= cellEnd(m_t->cellAt));
    }
    m_t = &m_outer;
}

void Writer::endInnerTable()
{
    m_t = &m_inner;
    endTable();
    m_t = &m_outer;
}

// Follows the table's rows and cells to the paragraph's. False: the
// paragraph is not written (a cell the file's row did not have), or it has
// been, as a paragraph of a table without cells.
bool Writer::enterCell(const QTextTable &table, const QTextBlock &block)
{
    if (&table != m_t->table) {
        endTable();
        startTable(table);
    }
    if (m_t->cells.empty()) {
        paragraph(block, true);
        return false;
    }
    const int position = block.position();
    while (m_t->cellAt + 1 < m_t->cells.size() && m_t->cells[m_t->cellAt + 1].first <= position)
        ++m_t->cellAt;
    const tableformat::PlacedCell &cell = m_t->cells[m_t->cellAt];
    if (cell.row != m_t->row) {
        endRow();
        // Rows of cells only from above have no paragraphs of their own.
        for (int row = m_t->row < 0 ? cell.row : m_t->row + 1; row < cell.row; ++row) {
            startRow(row);
            endRow();
        }
        startRow(cell.row);
    }
    if (m_t->cellAt != m_t->enteredCell) {
        m_t->enteredCell = m_t->cellAt;
        if (!nested())
            endInnerTable();
        while (m_t->placesWritten < m_t->places.size() && m_t->places[m_t->placesWritten].column < cell.column) {
            emptyCell();
            ++m_t->placesWritten;
        }
        m_t->cellShown = m_t->placesWritten < m_t->places.size() &&
                         m_t->places[m_t->placesWritten].column == cell.column;
        if (m_t->cellShown)
            ++m_t->placesWritten;
    }
    return m_t->cellShown;
}

// A cell ends where the next one's mark stands, the last at the table's end.
int Writer::cellEnd(size_t index) const
{
    return index + 1 < m_t->cells.size() ? m_t->cells[index + 1].first - 1 : m_t->last;
}

size_t Writer::cellStartingAt(int first) const
{
    const auto it = std::lower_bound(
        m_t->cells.begin(), m_t->cells.end(), first,
        [](const tableformat::PlacedCell &cell, int position) { return cell.first < position; });
    return it != m_t->cells.end() && it->first == first ? size_t(it - m_t->cells.begin()) : m_t->cells.size();
}

// A column's width in twips, or a negative value for one that takes a share
// of what the others leave.
double fixedColumnTwips(const QTextLength &width, double whole)
{
    if (width.type() == QTextLength::FixedLength)
        return width.rawValue() * kTwipsPerPixel;
    if (width.type() == QTextLength::PercentageLength)
        return whole * width.rawValue() / 100;
    return -1;
}

// The grid's edges in twips: as read while the columns are the file's, else
// from the table's left margin and its columns' widths.
std::vector<int> gridEdges(const QTextTable &table, const QTextDocument &document)
{
    const QTextTableFormat format = table.format();
    const int columns = table.columns();
    const QList<int> kept = format.property(tableformat::kColumnEdgesProperty).value<QList<int>>();
    if (kept.size() == columns + 1)
        return std::vector<int>(kept.begin(), kept.end());
    const QList<QTextLength> widths = format.columnWidthConstraints();
    const double page = document.pageSize().width();
    const double whole = page > 0 ? page * kTwipsPerPixel : kDefaultTableTwips;
    std::vector<double> fixed(static_cast<size_t>(columns));
    double taken = 0;
    int shared = 0;
    for (int column = 0; column < columns; ++column) {
        fixed[size_t(column)] = fixedColumnTwips(column < widths.size() ? widths[column] : QTextLength(), whole);
        if (fixed[size_t(column)] < 0)
            ++shared;
        else
            taken += fixed[size_t(column)];
    }
    double share = shared ? (whole - taken) / shared : 0;
    if (share < kMinColumnTwips)
        share = whole / columns;
    std::vector<int> edges;
    edges.reserve(size_t(columns) + 1);
    double at = format.leftMargin() * kTwipsPerPixel;
    edges.push_back(int(std::lround(at)));
    for (const double width : fixed) {
        at += width < 0 ? share : width;
        edges.push_back(std::max(int(std::lround(at)), edges.back() + kMinColumnTwips));
    }
    return edges;
}

void Writer::startTable(const QTextTable &table)
{
    m_t->table = &table;
    m_t->format = table.format();
    m_t->last = table.lastPosition();
    m_t->cells = tableformat::cellsInOrder(table);
    m_t->columnFormats = tableformat::ColumnCellFormats(m_t->format, table.columns());
    m_t->cellAt = 0;
    m_t->enteredCell = m_t->cells.size();
    m_t->edges = gridEdges(table, m_doc);
    m_t->firstRow = -1;
    m_t->row = -1;
    m_t->rowOpen = false;
}

void Writer::endTable()
{
    if (!nested())
        endInnerTable();
    if (!m_t->table)
        return;
    endRow();
    // The rows after the last paragraph's, when the whole table is written.
    if (m_t->last < m_to) {
        for (int row = m_t->row + 1; row < m_t->table->rows(); ++row) {
            startRow(row);
            endRow();
        }
    }
    m_t->table = nullptr;
    m_t->cells.clear();
}

QTextTableCellFormat Writer::cellFormat(size_t index) const
{
    const tableformat::PlacedCell &cell = m_t->cells[index];
    return m_t->columnFormats.of(cell.cell.format(), cell.column);
}

bool Writer::isAbsent(size_t index) const
{
    return cellEnd(index) == m_t->cells[index].first
        && cellFormat(index).boolProperty(tableformat::kAbsentCellProperty);
}

// A row's definition: \trowd, the row's words, each cell's words and edge.
void Writer::startRow(int row)
{
    m_t->row = row;
    m_t->places.clear();
    m_t->placesWritten = 0;
    QByteArray rowWords;
    bool firstCell = true;
    for (int column = 0; column < m_t->table->columns(); ++column) {
        const size_t index = cellStartingAt(m_t->table->cellAt(row, column).firstPosition());
        if (index >= m_t->cells.size() || m_t->cells[index].column != column)
            continue; // a cell to the left spans it
        const bool continued = m_t->cells[index].row != row;
        if (!continued && firstCell) {
            rowWords = cellFormat(index).property(tableformat::kRowKeptWordsProperty).toByteArray();
            firstCell = false;
        }
        m_t->places.push_back({index, column, continued});
        // A cell spanning columns is written as its columns merged (\clmgf,
        // \clmrg): every edge of the grid stays one. Below a merge down the
        // cell is one, as \clvmrg finds the cell above by its edges.
        const int span = m_t->cells[index].cell.format().tableCellColumnSpan(); // spans are each cell's own
        for (int k = 1; !continued && k < span && column + k < m_t->table->columns(); ++k)
            m_t->places.push_back({index, column + k, false, true});
    }
    // No cell where the file's row had none, at either end.
    while (!m_t->places.empty() && isAbsent(m_t->places.back().cell))
        m_t->places.pop_back();
    size_t leading = 0;
    while (leading < m_t->places.size() && isAbsent(m_t->places[leading].cell))
        ++leading;
    m_t->places.erase(m_t->places.begin(), m_t->places.begin() + qsizetype(leading));
    m_t->rowOpen = !m_t->places.empty();
    if (!m_t->rowOpen)
        return;
    if (m_t->firstRow < 0)
        m_t->firstRow = row;
    // A row inside a cell is defined after its cells.
    const qsizetype definitionStart = m_out.size();
    const bool delimit = m_delimit;
    const QTextTableFormat &format = m_t->format;
    word("\\trowd\\trgaph", int(std::lround(format.cellPadding() * kTwipsPerPixel)));
    word("\\trleft", m_t->edges[size_t(m_t->places.front().column)]);
    if (row < format.headerRowCount())
        word("\\trhdr");
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment == Qt::AlignHCenter)
        word("\\trqc");
    else if (alignment == Qt::AlignRight)
        word("\\trqr");
    keptWords(rowWords);
    for (const RowPlace &place : m_t->places)
        cellDefinition(place);
    raw("\r\n");
    if (nested()) {
        m_t->definition = m_out.mid(definitionStart);
        m_out.truncate(definitionStart);
        m_delimit = delimit;
    }
}

void Writer::endRow()
{
    if (!nested())
        endInnerTable();
    if (!m_t->rowOpen)
        return;
    for (; m_t->placesWritten < m_t->places.size(); ++m_t->placesWritten)
        emptyCell();
    if (nested()) {
        raw("{\\*\\nesttableprops");
        m_out += m_t->definition;
        word("\\nestrow");
        raw("}");
    } else {
        word("\\row");
    }
    raw("\r\n");
    m_t->rowOpen = false;
}

void Writer::emptyCell()
{
    word(nested() ? "\\pard\\intbl\\itap2\\nestcell" : "\\pard\\intbl\\cell");
    raw("\r\n");
}

void Writer::keptWords(const QByteArray &words)
{
    if (words.isEmpty())
        return;
    m_out += words;
    m_delimit = true;
}

void Writer::cellDefinition(const RowPlace &place)
{
    const tableformat::PlacedCell &cell = m_t->cells[place.cell];
    const QTextTableCellFormat format = cellFormat(place.cell);
    const int span = std::max(1, format.tableCellColumnSpan());
    if (place.mergedAcross) {
        word("\\clmrg");
    } else if (place.continued) {
        if (cell.row >= m_t->firstRow) // the cell's first row is written too
            word("\\clvmrg");
    } else {
        if (span > 1)
            word("\\clmgf");
        if (format.tableCellRowSpan() > 1)
            word("\\clvmgf");
    }
    if (format.verticalAlignment() == QTextCharFormat::AlignMiddle)
        word("\\clvertalc");
    else if (format.verticalAlignment() == QTextCharFormat::AlignBottom)
        word("\\clvertalb");
    cellBorders(format);
    if (format.hasProperty(tableformat::kShadingProperty)) {
        const QColor under = format.colorProperty(tableformat::kShadingBackgroundProperty);
        const QColor over = format.colorProperty(tableformat::kShadingPatternProperty);
        if (under.isValid())
            word("\\clcbpat", colorIndex(under));
        if (over.isValid())
            word("\\clcfpat", colorIndex(over));
        word("\\clshdng", format.intProperty(tableformat::kShadingProperty));
    } else if (format.background().style() != Qt::NoBrush) {
        word("\\clcbpat", colorIndex(format.background().color()));
    }
    if (!place.mergedAcross)
        keptWords(format.property(tableformat::kCellKeptWordsProperty).toByteArray());
    // Each column of a merge across has its own edge; below a merge down
    // the cell takes all its columns.
    const int columns = place.continued ? span : 1;
    const size_t right = std::min(size_t(place.column + columns), m_t->edges.size() - 1);
    word("\\cellx", m_t->edges[right]);
}

const char *borderStyleWord(QTextFrameFormat::BorderStyle style)
{
    switch (style) {
    case QTextFrameFormat::BorderStyle_Dotted: return "\\brdrdot";
    case QTextFrameFormat::BorderStyle_Dashed: return "\\brdrdash";
    case QTextFrameFormat::BorderStyle_Double: return "\\brdrdb";
    case QTextFrameFormat::BorderStyle_DotDash: return "\\brdrdashd";
    case QTextFrameFormat::BorderStyle_DotDotDash: return "\\brdrdashdd";
    case QTextFrameFormat::BorderStyle_Groove: return "\\brdrengrave";
    case QTextFrameFormat::BorderStyle_Ridge: return "\\brdremboss";
    case QTextFrameFormat::BorderStyle_Inset: return "\\brdrinset";
    case QTextFrameFormat::BorderStyle_Outset: return "\\brdroutset";
    default: return "\\brdrs";
    }
}

// A side the cell gives no border of its own has the table's (a table made in
// the program); one read from a file always has its own.
void Writer::cellBorders(const QTextTableCellFormat &format)
{
    const QTextTableFormat &table = m_t->format;
    struct Side {
        const char *word;
        int widthProperty;
        int styleProperty;
        int brushProperty;
    };
    static const Side sides[] = {
        {"\\clbrdrt", QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle,
         QTextFormat::TableCellTopBorderBrush},
        {"\\clbrdrl", QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle,
         QTextFormat::TableCellLeftBorderBrush},
        {"\\clbrdrb", QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle,
         QTextFormat::TableCellBottomBorderBrush},
        {"\\clbrdrr", QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle,
         QTextFormat::TableCellRightBorderBrush},
    };
    for (const Side &side : sides) {
        const bool own = format.hasProperty(side.widthProperty);
        const qreal width = own ? format.doubleProperty(side.widthProperty) : table.border();
        const auto style = own ? QTextFrameFormat::BorderStyle(format.intProperty(side.styleProperty))
                               : table.borderStyle();
        const QBrush brush = own ? format.brushProperty(side.brushProperty) : table.borderBrush();
        if (width <= 0 || style == QTextFrameFormat::BorderStyle_None)
            continue;
        word(side.word);
        word(borderStyleWord(style));
        word("\\brdrw", int(std::lround(std::clamp(width * kTwipsPerPixel, 1.0, qreal(kMaxBorderTwips)))));
        if (brush.style() != Qt::NoBrush)
            word("\\brdrcf", colorIndex(brush.color()));
    }
}

// Two passes over the paragraphs: the tables, then the body. Each stops at the
// deadline once it has done at least one paragraph, and goes on from there.
bool Writer::step(const QDeadlineTimer &deadline)
{
    bool worked = false;
    const auto timeIsUp = [&] { return worked && deadline.hasExpired(); };
    if (m_phase == Phase::Start) {
        m_next = m_doc.findBlock(m_from);
        m_phase = Phase::Tables;
    }
    if (m_phase == Phase::Tables) {
        for (; m_next.isValid() && m_next.position() < m_to; m_next = m_next.next(), worked = true) {
            if (timeIsUp())
                return false;
            collect(m_next);
        }
        finishCollecting();
        m_out.reserve(1024 + (m_to - m_from) * 2);
        header();
        m_next = m_doc.findBlock(m_from);
        m_phase = Phase::Body;
    }
    if (m_phase == Phase::Body) {
        for (; m_next.isValid() && m_next.position() < m_to; m_next = m_next.next(), worked = true) {
            if (timeIsUp())
                return false;
            body(m_next);
        }
        endTable();
        raw("}\r\n");
        m_phase = Phase::Done;
    }
    return true;
}

QByteArray Writer::result()
{
    step(QDeadlineTimer(QDeadlineTimer::Forever));
    return std::move(m_out);
}

} // namespace

struct StepwiseWriter::State {
    explicit State(const QTextDocument &document) : writer(document, 0, document.characterCount()) {}
    Writer writer;
};

StepwiseWriter::StepwiseWriter(const QTextDocument &document) : state_(std::make_unique<State>(document)) {}

StepwiseWriter::~StepwiseWriter() = default;

bool StepwiseWriter::step(const QDeadlineTimer &deadline)
{
    return state_->writer.step(deadline);
}

QByteArray StepwiseWriter::take()
{
    return state_->writer.result();
}

QByteArray write(const QTextDocument &document)
{
    return write(document, 0, document.characterCount());
}

QByteArray write(const QTextDocument &document, int from, int to)
{
    Writer writer(document, from, to);
    return writer.result();
}

} // namespace rtf
