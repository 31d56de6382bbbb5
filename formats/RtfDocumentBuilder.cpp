#include "formats/RtfDocumentBuilder.h"
#include "formats/RtfReader.h"

#include "formats/CharacterFormat.h"
#include "formats/ParagraphFormat.h"
#include "formats/RtfListTable.h"
#include "formats/RtfTables.h"
#include "formats/TableFormat.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <map>

namespace rtf::detail {

namespace {

// Qt revisits every item of a list when one is added, so a list of n items
// costs n*n. Lists stay whole up to kLongList items until the lists so far
// have cost kListBudget; after that they are cut every kShortList items.
constexpr int kLongList = 4096;
constexpr int kShortList = 16;
constexpr qint64 kListBudget = 8'000'000;

constexpr qreal kTwipsPerPixel = paraformat::kTwipsPerPixel;
constexpr qreal kPercentPerLineTwips = 100.0 / 240.0; // \slmult1: 240 is one line
constexpr int kMarkUnseen = -2;

std::atomic<quint64> g_nextImageId{1};

std::vector<QTextCharFormat> charFormats(const Content &content)
{
    std::vector<QTextCharFormat> formats;
    formats.reserve(content.charFormats.size());
    for (const CharKey &k : content.charFormats) {
        QTextCharFormat f;
        if (k.family >= 0) {
            const QString &family = content.families[size_t(k.family)];
            f.setFontFamilies(QStringList{family});
            f.setProperty(charformat::kFamilyHashProperty, static_cast<int>(qHash(family)));
        }
        f.setFontPointSize(k.halfPoints / 2.0);
        f.setFontWeight((k.flags & kBoldFlag) ? QFont::Bold : QFont::Normal);
        f.setFontItalic(k.flags & kItalicFlag);
        f.setFontUnderline(k.flags & kUnderlineFlag);
        f.setFontStrikeOut(k.flags & kStrikeFlag);
        if (k.fg != kAutoColor)
            f.setForeground(QColor(QRgb(k.fg)));
        if (k.bg != kAutoColor)
            f.setBackground(QColor(QRgb(k.bg)));
        if (k.raise != 0) {
            f.setVerticalAlignment(k.raise > 0 ? QTextCharFormat::AlignSuperScript
                                               : QTextCharFormat::AlignSubScript);
            f.setProperty(charformat::kRaiseProperty, k.raise);
        } else if (k.flags & kSuperFlag) {
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        } else if (k.flags & kSubFlag) {
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        }
        if (k.charset >= 0)
            f.setProperty(charformat::kCharsetProperty, k.charset);
        if (k.hidden >= 0) {
            f.setProperty(charformat::kHiddenTextProperty, content.hiddenTexts[size_t(k.hidden)]);
            f.setProperty(charformat::kHiddenSerialProperty, k.hidden + 1);
        }
        if (k.link >= 0) {
            f.setAnchor(true);
            f.setAnchorHref(content.links[size_t(k.link)]);
        }
        formats.push_back(f);
    }
    return formats;
}

QList<QTextOption::Tab> tabPositions(const std::vector<TabStop> &stops)
{
    static const QTextOption::TabType types[] = {QTextOption::LeftTab, QTextOption::RightTab,
                                                 QTextOption::CenterTab, QTextOption::DelimiterTab};
    QList<QTextOption::Tab> tabs;
    for (const TabStop &stop : stops) {
        const QTextOption::TabType type = types[stop.kind & 3];
        tabs.append(QTextOption::Tab(stop.twips / kTwipsPerPixel, type,
                                     type == QTextOption::DelimiterTab ? QChar('.') : QChar()));
    }
    return tabs;
}

void setSpacing(QTextBlockFormat &f, const ParaKey &k)
{
    if (k.sb)
        f.setTopMargin(k.sb / kTwipsPerPixel);
    if (k.sa)
        f.setBottomMargin(k.sa / kTwipsPerPixel);
    // \sl: positive is at least, negative exactly that height; with \slmult1
    // a multiple of single spacing.
    if (k.sl > 0 && k.slmult)
        f.setLineHeight(k.sl * kPercentPerLineTwips, QTextBlockFormat::ProportionalHeight);
    else if (k.sl > 0)
        f.setLineHeight(k.sl / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
    else if (k.sl < 0)
        f.setLineHeight(-k.sl / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
}

std::vector<QTextBlockFormat> blockFormats(const Content &content)
{
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    std::vector<QTextBlockFormat> formats;
    formats.reserve(content.paraFormats.size());
    for (const ParaKey &k : content.paraFormats) {
        QTextBlockFormat f;
        f.setAlignment(alignments[k.align & 3]);
        paraformat::setIndentsInTwips(f, {k.li + k.fi, -k.fi, k.ri}, k.list != 0);
        setSpacing(f, k);
        if (k.tabs > 0) {
            const std::vector<TabStop> &stops = content.tabLists[size_t(k.tabs)];
            f.setTabPositions(tabPositions(stops));
            size_t hash = 0;
            for (const TabStop &stop : stops)
                hash = qHashMulti(hash, stop.twips, static_cast<int>(stop.kind));
            f.setProperty(paraformat::kTabsHashProperty, static_cast<int>(hash));
        }
        if (k.pageBreak)
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        formats.push_back(f);
    }
    return formats;
}

// Adds the images as resources under names unique to the process, so
// documents never share an image by accident; returns the names.
std::vector<QString> addImages(const Content &content, QTextDocument &document)
{
    std::vector<QString> names;
    names.reserve(content.images.size());
    for (const Image &image : content.images) {
        const QString name = QStringLiteral("veltrix-image:%1").arg(g_nextImageId.fetch_add(1));
        document.addResource(QTextDocument::ImageResource, QUrl(name), image.image);
        names.push_back(name);
    }
    return names;
}

// Puts the items of one list and level into one QTextList, across paragraphs
// without numbers between them; an item ends the lists of deeper levels. The
// number a file shows decides where a list starts again.
class ListJoiner
{
public:
    void add(QTextCursor &cursor, const ParaKey &paragraph, int shownNumber)
    {
        if (paragraph.list == 0)
            return;
        const Key key{paragraph.listId, paragraph.listLevel};
        // Deeper levels of this list count again after this item.
        m_open.erase(m_open.upper_bound({key.list, key.level}), m_open.lower_bound({key.list + 1, 0}));
        const int maxItems = m_cost < kListBudget ? kLongList : kShortList;
        auto it = m_open.find(key);
        if (it != m_open.end()) {
            Open &open = it->second;
            const int next = open.start + open.items;
            const bool continues = open.style == paragraph.list
                && (shownNumber == 0 || shownNumber == next || paragraph.list == kStyleBullet);
            if (continues && open.items < maxItems) {
                open.list->add(cursor.block());
                m_cost += open.items++;
                return;
            }
            if (continues) {
                // A long list goes on in a new one that starts where it ended.
                shownNumber = next;
            }
        }
        const int start = shownNumber > 0 ? shownNumber : paragraph.listStart;
        QTextList *list = cursor.createList(paraformat::listFormat(paraformat::ListStyle(paragraph.list),
                                                                   paragraph.listLevel, start));
        m_open[key] = Open{list, paragraph.list, start, 1};
    }

private:
    struct Key {
        int list;
        int level;
        bool operator<(const Key &o) const { return list != o.list ? list < o.list : level < o.level; }
    };
    struct Open {
        QTextList *list;
        int style;
        int start;
        int items;
    };

    std::map<Key, Open> m_open;
    qint64 m_cost = 0;
};

class Builder
{
public:
    Builder(const Content &content, QTextDocument &document)
        : m_content(content), m_charFormats(charFormats(content)),
          m_blockFormats(blockFormats(content)), m_imageNames(addImages(content, document)),
          m_cursor(&document), m_outerMarks(cellMarks(content.tables, &Block::table, &Block::row, &Block::cell)),
          m_innerMarks(cellMarks(content.innerTables, &Block::innerTable, &Block::innerRow, &Block::innerCell))
    {
    }

    void build()
    {
        m_cursor.beginEditBlock();
        for (size_t b = 0; b < m_content.blocks.size(); ++b) {
            const Block &block = m_content.blocks[b];
            const QTextBlockFormat &blockFormat = m_blockFormats[size_t(block.paraFormat)];
            const QTextCharFormat &markFormat = m_charFormats[size_t(block.charFormat)];
            if (const TableGrid *grid = gridOf(m_content.tables, block.table, block.row)) {
                const int outerCell = m_outer.cell;
                if (!placeInCell(m_outer, *grid, block.table, block.row, block.cell, block.runCount))
                    continue;
                if (m_outer.cell != outerCell)
                    m_inner = {};
                const TableGrid *inner = gridOf(m_content.innerTables, block.innerTable, block.innerRow);
                if (!inner)
                    leaveTable(m_inner);
                else if (!placeInCell(m_inner, *inner, block.innerTable, block.innerRow, block.innerCell,
                                      block.runCount))
                    continue;
            } else {
                m_fresh = b == 0;
                leaveTable(m_outer);
            }
            if (m_fresh && m_outer.cell >= 0) {
                // A cell's first paragraph mark is the cell's own: its format
                // holds the cell's borders and span, and the mark's, when the
                // cell was made, already.
                // A cell's paragraph starts in the default block format.
                if (!m_markInCell || !(m_content.paraFormats[size_t(block.paraFormat)] == ParaKey()))
                    m_cursor.setBlockFormat(blockFormat);
                if (!m_markInCell)
                    m_cursor.mergeBlockCharFormat(markFormat);
            } else if (m_fresh) {
                m_cursor.setBlockFormat(blockFormat);
                m_cursor.setBlockCharFormat(markFormat);
            } else {
                m_cursor.insertBlock(blockFormat, markFormat);
            }
            m_fresh = false;
            m_markInCell = false;
            m_lists.add(m_cursor, m_content.paraFormats[size_t(block.paraFormat)], block.shownNumber);
            for (size_t r = block.firstRun; r < block.firstRun + block.runCount; ++r)
                insertRun(m_content.runs[r]);
        }
        m_cursor.endEditBlock();
    }

private:
    void insertRun(const Run &run)
    {
        if (run.format < 0) {
            const size_t index = size_t(-run.format - 1);
            const Image &image = m_content.images[index];
            QTextImageFormat f;
            f.setName(m_imageNames[index]);
            if (image.width > 0)
                f.setWidth(image.width);
            if (image.height > 0)
                f.setHeight(image.height);
            if (!image.keptData.isEmpty()) {
                f.setProperty(charformat::kPictureDataProperty, image.keptData);
                f.setProperty(charformat::kPictureWordsProperty, image.keptWords);
            }
            m_cursor.insertText(QString(QChar::ObjectReplacementCharacter), f);
        } else if (run.length > 0) {
            m_cursor.insertText(
                QString::fromRawData(m_content.text.constData() + run.start, run.length),
                m_charFormats[size_t(run.format)]);
        }
    }

    // A table being filled: the cell paragraphs go to, and the cells that
    // hold paragraphs already.
    struct OpenTable {
        QTextTable *table = nullptr;
        int index = -1;
        int cell = -1;
        std::vector<bool> filled;
    };

    // The table a paragraph stands in, when it is one the document can hold.
    static const TableGrid *gridOf(const std::vector<TableGrid> &tables, int table, int row)
    {
        if (table < 0 || size_t(table) >= tables.size())
            return nullptr;
        const TableGrid &grid = tables[size_t(table)];
        if (row >= grid.rowCount() || grid.sources[size_t(row)].empty() || grid.columns() <= 0 ||
            qint64(grid.rowCount()) * grid.columns() > kMaxTableCells)
            return nullptr;
        return &grid;
    }

    // The cell of the grid a paragraph goes to; -1: it is left out, an empty
    // paragraph of a cell merged into another.
    static int targetCell(const TableGrid &grid, int row, int cellIndex, size_t runs)
    {
        const std::vector<int> &sources = grid.sources[size_t(row)];
        const size_t source = std::min(size_t(cellIndex), sources.size() - 1);
        const int target = sources[source];
        const GridCell &place = grid.cells[size_t(target)];
        const bool own = place.row == row && size_t(place.source) == source;
        return own || runs > 0 ? target : -1;
    }

    // For each table, the mark format of each cell's first paragraph, to go
    // with the cell's format when the cell is made: -1 when the cell has no
    // paragraph, kMarkUnseen when the mark's format is never seen (it shows
    // only in an empty paragraph, with a list number or as hidden text).
    std::vector<std::vector<int>> cellMarks(const std::vector<TableGrid> &tables, int Block::*table,
                                            int Block::*row, int Block::*cell) const
    {
        std::vector<std::vector<int>> marks(tables.size());
        for (const Block &block : m_content.blocks) {
            const TableGrid *grid = gridOf(tables, block.*table, block.*row);
            const int target = grid ? targetCell(*grid, block.*row, block.*cell, block.runCount) : -1;
            if (target < 0)
                continue;
            std::vector<int> &ofTable = marks[size_t(block.*table)];
            if (ofTable.empty())
                ofTable.assign(grid->cells.size(), -1);
            if (ofTable[size_t(target)] == -1)
                ofTable[size_t(target)] = markSeen(block) ? block.charFormat : kMarkUnseen;
        }
        return marks;
    }

    bool markSeen(const Block &block) const
    {
        return block.runCount == 0 || m_content.paraFormats[size_t(block.paraFormat)].list != kStyleNone ||
               m_content.charFormats[size_t(block.charFormat)].hidden >= 0;
    }

    // Puts the cursor where the paragraph goes: the cell it stands in, after
    // what that cell holds already. False: it is left out.
    bool placeInCell(OpenTable &open, const TableGrid &grid, int table, int row, int cellIndex, size_t runs)
    {
        if (table != open.index) {
            leaveTable(open);
            openTable(open, grid, (&open == &m_outer ? m_outerMarks : m_innerMarks)[size_t(table)]);
            open.index = table;
        }
        const int target = targetCell(grid, row, cellIndex, runs);
        if (target < 0)
            return false;
        if (target == open.cell)
            return true;
        open.cell = target;
        const GridCell &place = grid.cells[size_t(target)];
        const QTextTableCell cell = open.table->cellAt(place.row, place.column);
        m_fresh = !open.filled[size_t(target)];
        m_markInCell = m_fresh;
        open.filled[size_t(target)] = true;
        m_cursor.setPosition(m_fresh ? cell.firstPosition() : cell.lastPosition());
        return true;
    }

    // The paragraph after a table takes the one Qt puts there.
    void leaveTable(OpenTable &open)
    {
        if (!open.table)
            return;
        if (&open == &m_outer)
            m_inner = {};
        // By position: moving a cursor by blocks asks the layout for lines.
        m_cursor.setPosition(open.table->lastPosition() + 1);
        open = {};
        m_fresh = true;
    }

    void openTable(OpenTable &open, const TableGrid &grid, const std::vector<int> &marks)
    {
        // Formats first: a cell's format also holds its span.
        const int columns = grid.columns();
        std::vector<bool> covered(size_t(grid.rowCount()) * size_t(columns));
        // Rows repeat their definitions: a cell defined as the one above it
        // takes its format as made.
        struct Made {
            const GridCell *place = nullptr;
            int mark = -1;
            QTextTableCellFormat format;
        };
        std::vector<Made> above(static_cast<size_t>(columns));
        std::vector<QTextTableCellFormat> formats(grid.cells.size());
        // The format most cells of a column have is the column's, held once
        // by the table: given to each cell, formats took most of the time a
        // large table takes to read. A cell whose first paragraph's format
        // goes with the cell keeps its own.
        struct Candidate {
            QTextTableCellFormat format;
            int cells = 0;
        };
        constexpr size_t kCandidates = 4;
        std::vector<std::vector<Candidate>> candidates(static_cast<size_t>(columns));
        for (size_t i = 0; i < grid.cells.size(); ++i) {
            const GridCell &place = grid.cells[i];
            const int mark = i < marks.size() && marks[i] >= 0 ? marks[i] : -1;
            Made &made = above[size_t(place.column)];
            if (!made.place || made.mark != mark || !sameDefinition(grid, *made.place, place)) {
                made.format = cellFormat(grid, place);
                if (mark >= 0)
                    made.format.merge(m_charFormats[size_t(mark)]);
                made.format.setProperty(tableformat::kOwnCellFormatProperty, true);
                made.mark = mark;
            }
            made.place = &place;
            formats[i] = made.format;
            if (mark < 0) {
                std::vector<Candidate> &ofColumn = candidates[size_t(place.column)];
                auto found = std::find_if(ofColumn.begin(), ofColumn.end(),
                                          [&](const Candidate &c) { return c.format == made.format; });
                if (found != ofColumn.end())
                    ++found->cells;
                else if (ofColumn.size() < kCandidates)
                    ofColumn.push_back({made.format, 1});
            }
            for (int r = place.row; r < place.row + place.rowSpan && r < grid.rowCount(); ++r)
                for (int c = place.column; c < place.column + place.columnSpan && c < columns; ++c)
                    covered[size_t(r) * size_t(columns) + size_t(c)] = true;
        }
        std::vector<QTextTableCellFormat> shared(static_cast<size_t>(columns));
        QVariantList sharedList;
        bool anyShared = false;
        for (size_t c = 0; c < candidates.size(); ++c) {
            auto most = std::max_element(candidates[c].begin(), candidates[c].end(),
                                         [](const Candidate &a, const Candidate &b) { return a.cells < b.cells; });
            if (most != candidates[c].end() && most->cells > 1) {
                shared[c] = most->format;
                anyShared = true;
            }
            sharedList.append(shared[c].isValid() ? QVariant(shared[c]) : QVariant(QTextFormat()));
        }
        QTextTableFormat format = tableFormat(grid);
        if (anyShared)
            format.setProperty(tableformat::kColumnCellFormatsProperty, sharedList);
        open.table = m_cursor.insertTable(grid.rowCount(), columns, format);
        QTextTable *const table = open.table;
        for (size_t i = 0; i < grid.cells.size(); ++i) {
            const GridCell &place = grid.cells[i];
            const QTextTableCellFormat &column = shared[size_t(place.column)];
            if (!column.isValid() || !(formats[i] == column))
                table->cellAt(place.row, place.column).setFormat(formats[i]);
        }
        QTextTableCellFormat absent;
        absent.setProperty(tableformat::kAbsentCellProperty, true);
        absent.setProperty(tableformat::kOwnCellFormatProperty, true);
        for (size_t i = 0; i < covered.size(); ++i) {
            if (!covered[i])
                table->cellAt(int(i / size_t(columns)), int(i % size_t(columns))).setFormat(absent);
        }
        for (const GridCell &place : grid.cells) {
            if (place.rowSpan == 1 && place.columnSpan == 1)
                continue;
            table->mergeCells(place.row, place.column, place.rowSpan, place.columnSpan);
            // The merged cells' empty paragraphs go.
            const QTextTableCell cell = table->cellAt(place.row, place.column);
            QTextCursor inside(m_cursor);
            inside.setPosition(cell.firstPosition());
            inside.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            inside.removeSelectedText();
        }
        open.filled.assign(grid.cells.size(), false);
        open.cell = -1;
    }

    static QTextTableFormat tableFormat(const TableGrid &grid)
    {
        QTextTableFormat format;
        QList<QTextLength> widths;
        widths.reserve(grid.columns());
        for (size_t i = 0; i + 1 < grid.edges.size(); ++i)
            widths.append(QTextLength(QTextLength::FixedLength,
                                      (double(grid.edges[i + 1]) - double(grid.edges[i])) / kTwipsPerPixel));
        format.setColumnWidthConstraints(widths);
        const QList<int> edges(grid.edges.begin(), grid.edges.end());
        format.setProperty(tableformat::kColumnEdgesProperty, QVariant::fromValue(edges));
        format.setLeftMargin(grid.edges.front() / kTwipsPerPixel);
        const RowCells &first = grid.rows.front();
        static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        format.setAlignment(alignments[std::clamp(first.alignment, 0, 2)]);
        format.setCellSpacing(0);
        format.setBorder(0);
        format.setBorderCollapse(true);
        format.setCellPadding(std::max(0, first.gap) / kTwipsPerPixel);
        int header = 0;
        while (header < grid.rowCount() && grid.rows[size_t(header)].header)
            ++header;
        format.setHeaderRowCount(header);
        return format;
    }

    // The first cell of its own a row's definition has, which holds the row's words.
    static bool firstOfRow(const TableGrid &grid, const GridCell &place)
    {
        const std::vector<int> &sources = grid.sources[size_t(place.row)];
        const auto first = std::find_if(sources.begin(), sources.end(),
                                        [&](int index) { return grid.cells[size_t(index)].row == place.row; });
        return first != sources.end() && &grid.cells[size_t(*first)] == &place;
    }

    // Whether two cells' definitions make the same format (cellFormat).
    static bool sameDefinition(const TableGrid &grid, const GridCell &a, const GridCell &b)
    {
        const RowCells &rowA = grid.rows[size_t(a.row)];
        const RowCells &rowB = grid.rows[size_t(b.row)];
        const RowCells::Cell &x = rowA.cells[size_t(a.source)];
        const RowCells::Cell &y = rowB.cells[size_t(b.source)];
        const auto sameBorder = [](const CellBorder &p, const CellBorder &q) {
            return p.shown == q.shown && p.width == q.width && p.colour == q.colour;
        };
        const bool rowWordsA = firstOfRow(grid, a) && !rowA.kept.isEmpty();
        const bool rowWordsB = firstOfRow(grid, b) && !rowB.kept.isEmpty();
        return rowA.gap == rowB.gap && std::equal(rowA.padding, rowA.padding + 4, rowB.padding) &&
               std::equal(x.padding, x.padding + 4, y.padding) &&
               std::equal(x.borders, x.borders + 4, y.borders, sameBorder) && x.background == y.background &&
               x.pattern == y.pattern && x.shading == y.shading &&
               x.vertical == y.vertical && x.kept == y.kept && rowWordsA == rowWordsB &&
               (!rowWordsA || rowA.kept == rowB.kept);
    }

    static QTextTableCellFormat cellFormat(const TableGrid &grid, const GridCell &place)
    {
        const RowCells &row = grid.rows[size_t(place.row)];
        const RowCells::Cell &cell = row.cells[size_t(place.source)];
        QTextTableCellFormat format;
        // The cell's own padding, else the row's, else \trgaph left and right.
        const auto padding = [&](CellSide side) {
            const int own = cell.padding[side] >= 0 ? cell.padding[side] : row.padding[side];
            const bool sideways = side == kLeftSide || side == kRightSide;
            return (own >= 0 ? own : sideways ? std::max(0, row.gap) : 0) / kTwipsPerPixel;
        };
        format.setTopPadding(padding(kTopSide));
        format.setBottomPadding(padding(kBottomSide));
        format.setLeftPadding(padding(kLeftSide));
        format.setRightPadding(padding(kRightSide));
        using F = QTextTableCellFormat;
        const auto side = [&](CellSide which, void (F::*setWidth)(qreal),
                              void (F::*setStyle)(QTextFrameFormat::BorderStyle), void (F::*setBrush)(const QBrush &)) {
            const CellBorder &border = cell.borders[which];
            const bool shown = border.shown && border.width > 0;
            (format.*setWidth)(shown ? border.width / kTwipsPerPixel : 0);
            (format.*setStyle)(shown ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
            if (shown)
                (format.*setBrush)(border.colour == kNoColour ? QColor(Qt::black) : QColor(QRgb(border.colour)));
        };
        side(kTopSide, &F::setTopBorder, &F::setTopBorderStyle, &F::setTopBorderBrush);
        side(kLeftSide, &F::setLeftBorder, &F::setLeftBorderStyle, &F::setLeftBorderBrush);
        side(kBottomSide, &F::setBottomBorder, &F::setBottomBorderStyle, &F::setBottomBorderBrush);
        side(kRightSide, &F::setRightBorder, &F::setRightBorderStyle, &F::setRightBorderBrush);
        if (cell.shading > 0) {
            // Shading mixes the pattern colour (black unless named) into the
            // background (white unless named).
            const QColor under = cell.background != kNoColour ? QColor(QRgb(cell.background)) : QColor(Qt::white);
            const QColor over = cell.pattern != kNoColour ? QColor(QRgb(cell.pattern)) : QColor(Qt::black);
            const auto mix = [&](int a, int b) { return (a * (kWholeShading - cell.shading) + b * cell.shading) / kWholeShading; };
            format.setBackground(QColor(mix(under.red(), over.red()), mix(under.green(), over.green()),
                                        mix(under.blue(), over.blue())));
            format.setProperty(tableformat::kShadingProperty, cell.shading);
            if (cell.pattern != kNoColour)
                format.setProperty(tableformat::kShadingPatternProperty, over);
            if (cell.background != kNoColour)
                format.setProperty(tableformat::kShadingBackgroundProperty, under);
        } else if (cell.background != kNoColour) {
            format.setBackground(QColor(QRgb(cell.background)));
        }
        if (!cell.kept.isEmpty())
            format.setProperty(tableformat::kCellKeptWordsProperty, cell.kept);
        // The row's own words go with its first cell of its own.
        if (!row.kept.isEmpty() && firstOfRow(grid, place))
            format.setProperty(tableformat::kRowKeptWordsProperty, row.kept);
        static const QTextCharFormat::VerticalAlignment verticals[] = {
            QTextCharFormat::AlignTop, QTextCharFormat::AlignMiddle, QTextCharFormat::AlignBottom};
        format.setVerticalAlignment(verticals[std::clamp(cell.vertical, 0, 2)]);
        return format;
    }

    const Content &m_content;
    const std::vector<QTextCharFormat> m_charFormats;
    const std::vector<QTextBlockFormat> m_blockFormats;
    const std::vector<QString> m_imageNames;
    QTextCursor m_cursor;
    ListJoiner m_lists;
    bool m_fresh = false; // the cursor stands in an empty paragraph the next one takes
    const std::vector<std::vector<int>> m_outerMarks;
    const std::vector<std::vector<int>> m_innerMarks;
    bool m_markInCell = false; // the cell the cursor is fresh in has its first mark's format
    OpenTable m_outer;
    OpenTable m_inner; // a table inside a cell of m_outer
};

} // namespace

void buildDocument(const Content &content, QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    document.setProperty(kKeptHeaderProperty,
                         content.keptGroups.isEmpty() ? QVariant() : QVariant::fromValue(content.keptGroups));
    Builder(content, document).build();
    document.setUndoRedoEnabled(undo);
}

} // namespace rtf::detail
