#pragma once

#include "editor/ParagraphMetrics.h"
#include "editor/ParagraphPieces.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QRawFont>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <limits>
#include <map>
#include <optional>
#include <unordered_set>
#include <vector>

class QElapsedTimer;
class QTextTable;

class TextMarks;

// The editor's document layout. It lays out only the paragraphs that are
// shown or asked for, and keeps the height and line count of every paragraph
// in a ParagraphMetrics, in runs that carry their sums: an edit lays out the
// paragraphs it touched and moves nothing else, so a keystroke costs the same
// at the start of a large document as in a small one. Paragraphs not laid out
// yet take an estimated height until the background pass, a paint or a query
// reaches them; all paragraphs above one that is painted or placed are laid
// out first, so what is shown never moves when the rest is laid out.
//
// A paragraph of many thousand characters is laid out in pieces (see
// ParagraphPieces) and has no lines in its own QTextLayout: whoever asks
// where its lines are asks lineAt() and its neighbours, which answer for
// every paragraph.
//
// It handles what the editor's documents hold: paragraphs with alignment,
// margins, first-line indent, tabs and lists, inline pictures, and tables.
// A table's rows are laid out a row at a time (rows that a cell spans
// together): each cell's paragraphs at the cell's width, the row as tall as
// its tallest cell. The row's height is carried by the entry of its last
// paragraph; the others have none, so the sums place every row. Addresses in the text are shown as links
// when `setLinksShown` is on; that format is painted only and never part of
// the document.
class EditorLayout : public QAbstractTextDocumentLayout {
    Q_OBJECT
public:
    explicit EditorLayout(QTextDocument *document);
    ~EditorLayout() override;

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

    // A display line where it is shown: a line of a paragraph's own layout,
    // or of one piece of a long paragraph's. Valid until the next change.
    struct ShownLine {
        QTextLine line; // invalid: none
        QPointF origin; // of the line's layout, in the document
        int offset = 0; // the document position of that layout's first character
        int number = 0; // the display line within its paragraph
        bool last = false; // its paragraph's last line
        bool isValid() const { return line.isValid(); }
        int start() const { return offset + line.textStart(); }
        int end() const { return start() + line.textLength(); }
        QRectF rect() const { return line.rect().translated(origin); }
        qreal cursorToX(int position) const { return origin.x() + line.cursorToX(position - offset); }
        int xToCursor(qreal x) const { return offset + line.xToCursor(x - origin.x()); }
    };
    // The line showing a position, and so where the caret is; laid out as
    // far as needed. Not `placed`, nothing above its paragraph is laid out
    // and its origin is not where it is shown.
    ShownLine lineAt(int position, bool placed = true);
    ShownLine lineOfParagraph(const QTextBlock &block, int lineInParagraph);
    ShownLine lineBefore(const ShownLine &line);
    ShownLine lineAfter(const ShownLine &line);
    // The caret's box at a position, in the document.
    QRectF caretRect(int position);
    // A paragraph laid out in pieces, whose own QTextLayout holds no lines.
    bool isPieced(const QTextBlock &block) const { return piecesOf(block) != nullptr; }
    bool hasPiecedParagraphs() const;

    void setLinksShown(bool shown);
    // Marks over the text (words spelling flags), a red wave where shown; not owned.
    void setTextMarks(TextMarks *marks) { marks_ = marks; }
    bool linksShown() const { return linksShown_; }

    // Display lines, counted over laid-out paragraphs: each call lays out
    // whatever paragraphs before the answer are still estimated.
    int firstLineOfBlock(int blockNumber);
    // The paragraph that holds display line `line` and that paragraph's first
    // line; -1 when the document has fewer lines.
    int blockOfLine(int line, int *firstLine);
    int lineCount();

    // Lays out every paragraph still estimated.
    void layoutAll();

    // Writes each list paragraph's number or bullet, as this layout shows it
    // at the same place, into the text of `copy`, a clone of the document
    // made for a layout that would number and place lists its own way (Qt's
    // paginating layout, for printing).
    void writeListMarkersInto(QTextDocument &copy) const;
    // Lays out one paragraph now, wherever it is; those before it stay estimated.
    void layoutParagraph(const QTextBlock &block) { ensureLaidOut(block); }
    int blocksNotLaidOut() const;
    // Held, the background pass waits: what is shown and asked for is still
    // laid out when needed.
    void setBackgroundHeld(bool held);
    // The text the next change puts in at `from`: plain text as a file being
    // read brings it. The whole lines in it are measured from it, without
    // reading each paragraph back from the document.
    void expectInsertedText(int from, QString text);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    using Entry = ParagraphMetrics::Entry;
    struct ChangeKey {
        int from = -1, removed = -1, added = -1, revision = -1;
        bool operator==(const ChangeKey &other) const
        {
            return from == other.from && removed == other.removed && added == other.added && revision == other.revision;
        }
    };

    // The paragraphs an edit touched: where they start, how many entries
    // they had and how many paragraphs they are now.
    struct ChangedBlocks {
        int first = 0;
        int oldCount = 0;
        int newCount = 0;
        int from = 0, removed = 0, added = 0; // the change itself
    };

    void applyChange(int from, int removed, int added);
    std::optional<ChangedBlocks> changedBlocks(int from, int removed, int added, bool textKnown) const;
    // Puts the changed paragraphs' new entries in place of their old ones;
    // returns their height.
    qreal replaceEntries(const ChangedBlocks &changed, QStringView inserted);
    void repaintChange(const ChangedBlocks &changed, qreal top, qreal oldHeight, qreal newHeight);
    void rebuild();
    void markStale();
    void ensureCurrent() const;
    bool inStep() const { return document()->blockCount() == metrics_.count(); }
    // Lays out a paragraph and returns what it measured.
    Entry layoutBlock(const QTextBlock &block) const;
    void measure(int blockNumber, const QTextBlock &block) const;
    // The same figures, without the paragraph keeping lines where it can.
    Entry measureOnly(const QTextBlock &block) const;
    void measureOnly(int blockNumber, const QTextBlock &block) const;
    // With `paragraphStart` off the layout's first line is not the
    // paragraph's (no first-line indent, no space above); with
    // `paragraphEnd` off no space below is added.
    // `cellWidth`: the width of the table cell the paragraph stands in.
    Entry layoutLines(const QTextBlock &block, QTextLayout &layout, bool paragraphStart = true,
                      bool paragraphEnd = true, qreal cellWidth = -1) const;
    // Tables.
    class CellPlace;
    struct RowGroup {
        QTextTable *table = nullptr;
        int firstRow = 0;
        int lastRow = 0;
        QTextBlock first; // its first and last paragraphs
        QTextBlock last;
        bool isValid() const { return table != nullptr; }
    };
    // The table a paragraph stands in (the outermost one), if any.
    QTextTable *tableOf(const QTextBlock &block) const;
    RowGroup rowGroup(const QTextBlock &block) const;
    // Lays out the group's cells and returns its height; with `note` its
    // figures go into the entries.
    // `changed`: the one paragraph an edit changed; the others keep their lines.
    // Without `lines` a paragraph that surely takes one line is only measured
    // (the rows the background goes through); it gets lines when shown.
    qreal layoutGroup(const RowGroup &group, bool note = true, const QTextBlock &changed = QTextBlock(),
                      bool lines = true) const;
    struct Span {
        qreal left;
        qreal width;
    };
    // Lays out rows of a table across `area` and returns their height; the
    // cells' places are from the rows' top. Tables in the cells are laid out
    // with them, `depth` being their table's.
    qreal layoutRows(QTextTable *table, int firstRow, int lastRow, Span area, int depth,
                     const QTextBlock &changed, bool lines) const;
    void keepCellShaping(CellPlace &place);
    void dropOldCellShaping();
    void ensureGroupLaidOut(const RowGroup &group) const;
    static const CellPlace *placeOf(const QTextBlock &block);
    void drawGroup(QPainter *painter, const PaintContext &context, const RowGroup &group, const QPointF &origin);
    int hitGroup(const RowGroup &group, const QPointF &point, Qt::HitTestAccuracy accuracy) const;
    // Long paragraphs.
    class Pieced;
    struct Reach {
        int position = std::numeric_limits<int>::max(); // laid out past this character
        int line = std::numeric_limits<int>::max();     // and this display line
        qreal y = std::numeric_limits<qreal>::max();    // and this height, in the paragraph
        const QElapsedTimer *slice = nullptr;           // unless it is used up
    };
    // The pieces of a long paragraph; `changing`, while its change is followed.
    ParagraphPieces *piecesOf(const QTextBlock &block, bool changing = false) const;
    bool wrapsLines() const;
    void buildPieces(const QTextBlock &block, ParagraphPieces &pieces, const Reach &reach) const;
    std::vector<ParagraphPieces::Piece> layOutRange(const QTextBlock &block, int start, int end) const;
    ParagraphPieces::Piece layOutPiece(const QTextBlock &block, int start, int end, bool leaveLastLine) const;
    void editPieces(const QTextBlock &block, ParagraphPieces &pieces, int from, int removed, int added) const;
    Entry piecedEntry(const QTextBlock &block, const ParagraphPieces &pieces) const;
    // Puts a long paragraph's figures in its entry once more was laid out.
    void notePieces(const QTextBlock &block, const ParagraphPieces &pieces) const;
    // Lays out a long paragraph as far as asked and puts its figures in its entry.
    void reachPieces(const QTextBlock &block, ParagraphPieces &pieces, const Reach &reach) const;
    ShownLine ownLine(const QTextBlock &block, const QTextLine &line, const QPointF &blockOrigin) const;
    ShownLine piecedLine(const QTextBlock &block, const ParagraphPieces &pieces, int index, const QTextLine &line,
                         const QPointF &blockOrigin) const;
    void drawPieces(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                    const ParagraphPieces &pieces, const QPointF &origin, qreal height);
    // A plain paragraph that surely fits on one line, measured from its
    // characters' advances without a layout; none when it may not fit or
    // holds characters that need shaping.
    std::optional<Entry> singleLine(const QTextBlock &block) const { return singleLine(block, block.text()); }
    std::optional<Entry> singleLine(const QTextBlock &block, QStringView text) const;
    // The advance of a character in the default font; negative when it is
    // to be shaped.
    qreal plainAdvance(QChar c) const;
    // A paragraph whose character formats only name fonts, measured as a
    // plain one is, each run in its font: its entry when it surely takes one line.
    // In a cell (`cellWidth` not negative) the line wraps at the cell's width.
    std::optional<Entry> uniformLine(const QTextBlock &block, qreal cellWidth = -1) const;
    struct FontAdvances {
        std::vector<float> advances; // by UTF-16 code, filled as met
        std::optional<QFontMetricsF> metrics;
        QRawFont raw;
        qreal ascent = 0; // of a line in the font, its leading included
        qreal descent = 0;
        qreal leading = 0;
    };
    FontAdvances &advancesOf(const QFont &font) const;
    static std::shared_ptr<FontAdvances> measuredAdvances(const QFont &font);
    // The font of a character format, or nullptr when the format changes
    // more than the font; the formats met last are remembered.
    FontAdvances *measuredFont(const QTextCharFormat &format) const;
    struct MeasuredFormat {
        QTextCharFormat format;
        FontAdvances *font = nullptr;
    };
    static qreal advanceIn(FontAdvances &font, QChar c);
    Entry estimate(const QTextBlock &block) const;
    void ensureLaidOut(const QTextBlock &block) const;
    // Lays out, in order, the estimated paragraphs up to `lastBlock` that
    // start at or above `lastY`; with a time slice it stops when that is
    // used up and says false.
    bool layoutPrefix(int lastBlock, qreal lastY, const QElapsedTimer *slice = nullptr) const;
    void layoutThrough(int blockNumber) const;
    void layoutThroughY(qreal y) const;
    void scheduleBackground();
    void backgroundStep();
    void reportSize() const;
    qreal availableWidth() const;
    qreal margin() const;
    class ShapingKept;
    void keepShaping(const QTextBlock &block);
    void dropOldShaping();
    void drawBlock(QPainter *painter, const PaintContext &context, const QTextBlock &block, const QPointF &origin,
                   qreal height);
    QList<QTextLayout::FormatRange> formatRanges(const PaintContext &context, const QTextBlock &block) const;
    struct ListMarker {
        bool bullet = false;
        QString text; // the number, for numbered lists
        QFont font;
        QSizeF size;
        qreal left = 0;     // where it starts, from the paragraph's left edge
        qreal textFrom = 0; // where the first line's text may start at the earliest
        qreal ascent = 0;
        qreal height = 0;
    };
    static QTextCharFormat listMarkerFormat(const QTextBlock &block);
    ListMarker listMarker(const QTextBlock &block) const;
    void drawListMarker(QPainter *painter, const QPointF &origin, const QTextBlock &block,
                        const QTextLine &first) const;

    mutable ParagraphMetrics metrics_;
    qreal estimatedLineHeight_ = 0;
    qreal estimatedCharsPerLine_ = 0; // 0: nothing wraps
    mutable qreal widest_ = 0;
    mutable std::shared_ptr<FontAdvances> plainAdvances_; // of the document's default font
    mutable std::optional<qreal> plainLineHeight_;
    mutable QHash<QString, std::shared_ptr<FontAdvances>> fontAdvances_; // by QFont::key()
    mutable std::vector<MeasuredFormat> measuredFormats_;
    mutable QSizeF reportedSize_;
    bool linksShown_ = false;
    TextMarks *marks_ = nullptr;
    bool stale_ = true; // entries to be made anew before the next use
    ChangeKey applied_;
    QTimer background_;
    bool backgroundHeld_ = false;
    int expectedFrom_ = -1;
    QString expectedText_;
    std::unordered_set<ShapingKept *> kept_;
    std::unordered_set<Pieced *> pieced_;
    std::unordered_set<CellPlace *> shapedCells_;
    // What an edit in a long paragraph changed, from its top, when its
    // pieces kept their height: all that is painted again.
    mutable std::optional<std::pair<qreal, qreal>> piecedRepaint_;
    // What an edit in a table asks to paint again, from its row's top.
    std::optional<QRectF> tableRepaint_; // what a change in a table asks to paint again
    // The row groups found, by the number of their first paragraph, while no
    // paragraph has come or gone: an edit inside one paragraph keeps them all.
    quint64 structure_ = 0;
    struct FoundGroup {
        int last = -1;
        RowGroup group;
    };
    mutable quint64 foundStructure_ = 0;
    mutable std::map<int, FoundGroup> foundGroups_;
    quint64 paints_ = 0;
};
