#include "editor/EditorLayout.h"

#include "editor/Links.h"
#include "editor/TextMarks.h"
#include "editor/TableGeometry.h"
#include "formats/CharacterFormat.h"
#include "formats/TableFormat.h"
#include "formats/ParagraphFormat.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRawFont>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextObjectInterface>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// An edit that makes more paragraphs than this is estimated and laid out
// later, like a whole new text; fewer are laid out at once.
constexpr int kLayOutAtOnce = 512;
constexpr qint64 kBackgroundSliceMs = 8;
// Paragraphs laid out at a time while a line past the estimated ones is looked for.
constexpr int kLineSearchStep = 256;
// Times the whole document is laid out for its size to settle (the scroll bar).
constexpr int kSizeRounds = 3;
// Paragraphs whose shaped glyphs are kept for the next paint: a few screens.
constexpr std::size_t kShapingKept = 512;
constexpr qreal kWidthStep = 128;
// Width for lines when the document has no page width: nothing wraps.
constexpr qreal kUnlimitedWidth = 1e6;
// What kerning may add to a line's width beyond its characters' advances.
constexpr qreal kKerningShare = 0.03;
constexpr qreal kKerningPixels = 4;
// Paragraphs longer than this many characters are laid out in pieces of
// about kPiece characters; an edit lets a piece grow to kLongestPiece before
// it is cut again, and a piece shorter than kShortestPiece joins the next.
constexpr int kPiecedParagraph = 8192;
constexpr int kPiece = 256;
constexpr int kLongestPiece = 512;
constexpr int kShortestPiece = 64;
// What keeps the last line of a piece's layout that the next piece shows from
// being drawn: the height of the piece's clip falls short of it by this much.
constexpr qreal kPieceClipInset = 0.01;
constexpr qreal kBorderOverhang = 2;
constexpr float kUnknownAdvance = -2;
constexpr float kShapedAdvance = -1;

// The marks of a set but the `keep` painted last, which let their glyphs go.
template <class Mark>
std::vector<Mark *> paintedLongestAgo(const std::unordered_set<Mark *> &marks, std::size_t keep)
{
    std::vector<Mark *> oldest(marks.begin(), marks.end());
    const auto kept = static_cast<std::ptrdiff_t>(keep);
    std::nth_element(oldest.begin(), oldest.end() - kept, oldest.end(),
                     [](const Mark *a, const Mark *b) { return a->paint < b->paint; });
    oldest.resize(oldest.size() - keep);
    return oldest;
}

// Inline pictures: the image resource the format names, at the size the
// format gives (or its own size).
class PictureHandler : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument *document, int, const QTextFormat &format) override
    {
        const QTextImageFormat image = format.toImageFormat();
        const QSizeF own = picture(document, image).size();
        const qreal width = image.width();
        const qreal height = image.height();
        if (width > 0 && height > 0)
            return {width, height};
        if (own.isEmpty())
            return {16, 16};
        if (width > 0)
            return {width, own.height() * width / own.width()};
        if (height > 0)
            return {own.width() * height / own.height(), height};
        return own;
    }

    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int,
                    const QTextFormat &format) override
    {
        const QImage image = picture(document, format.toImageFormat());
        if (image.isNull()) {
            painter->drawRect(rect.adjusted(0, 0, -1, -1));
            return;
        }
        painter->drawImage(rect, image);
    }

private:
    static QImage picture(QTextDocument *document, const QTextImageFormat &format)
    {
        const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(format.name()));
        if (data.userType() == QMetaType::QImage)
            return data.value<QImage>();
        if (data.userType() == QMetaType::QPixmap)
            return data.value<QPixmap>().toImage();
        if (data.userType() == QMetaType::QByteArray)
            return QImage::fromData(data.toByteArray());
        return {};
    }
};

// Text in the document's default font and nothing else (an object is a
// format too): a layout of its own lays it out as the paragraph's does.
bool isPlainParagraph(const QTextBlock &block)
{
    if (!block.charFormat().properties().isEmpty() || !block.blockFormat().properties().isEmpty() ||
        block.textList())
        return false;
    const QList<QTextLayout::FormatRange> formats = block.textFormats();
    return std::all_of(formats.begin(), formats.end(),
                       [](const QTextLayout::FormatRange &range) { return range.format.properties().isEmpty(); });
}

} // namespace

// Marks a paragraph whose layout keeps its shaped glyphs between paints. The
// document deletes it with the paragraph.
class EditorLayout::ShapingKept : public QTextBlockUserData {
public:
    ShapingKept(EditorLayout *owner, const QTextBlock &block) : owner(owner), block(block) {}
    ~ShapingKept() override
    {
        if (owner)
            owner->kept_.erase(this);
    }
    EditorLayout *owner;
    QTextBlock block;
    quint64 paint = 0;
};

// Where a paragraph of a table cell is, from its row group's top at the
// page's text edge; set each time its group is laid out.
// A cell's paragraph that was painted keeps its shaped glyphs, for a few
// screens of cells (see keepCellShaping).
class EditorLayout::CellPlace : public QTextBlockUserData {
public:
    explicit CellPlace(const QTextBlock &block) : block(block) {}
    ~CellPlace() override
    {
        if (owner)
            owner->shapedCells_.erase(this);
    }
    EditorLayout *owner = nullptr; // while it keeps its glyphs
    QTextBlock block;
    quint64 paint = 0;
    QPointF at;
    qreal width = 0;
    qreal height = 0;
    int lines = 1;
    int depth = 0; // 0 in a cell of an outermost table, 1 in a table in that cell, ...
    bool linesKept = false; // its layout has lines, not only its height measured
    bool cellFirst = false; // the first paragraph of its cell, which knows the cell:
    QRectF cell;
    QTextTableCellFormat format;
};

// A long paragraph's pieces, known to the layout until the document deletes them.
class EditorLayout::Pieced : public ParagraphPieces {
public:
    Pieced(EditorLayout *owner, int textLength, bool usable)
        : ParagraphPieces(textLength), owner(owner), usable(usable)
    {
    }
    ~Pieced() override
    {
        if (owner)
            owner->pieced_.erase(this);
    }
    EditorLayout *owner;
    bool usable; // false: it holds objects, and is laid out as a whole
};

EditorLayout::EditorLayout(QTextDocument *document) : QAbstractTextDocumentLayout(document)
{
    registerHandler(QTextFormat::ImageObject, new PictureHandler(this));
    // Read by the text control; the page width stays the viewport's without wrap.
    setProperty("cursorWidth", 1);
    setProperty("contentHasAlignment", true);
    background_.setSingleShot(true);
    background_.setInterval(0);
    connect(&background_, &QTimer::timeout, this, &EditorLayout::backgroundStep);
    // Connected before anyone else's, so that whoever reacts to a change
    // finds the layout already in step with the text.
    connect(document, &QTextDocument::contentsChange, this, [this](int from, int removed, int added) {
        applyChange(from, removed, added);
    });
}

EditorLayout::~EditorLayout()
{
    // The document deletes the marks after its layout.
    for (ShapingKept *kept : kept_)
        kept->owner = nullptr;
    for (Pieced *pieced : pieced_)
        pieced->owner = nullptr;
    for (CellPlace *place : shapedCells_)
        place->owner = nullptr;
}

qreal EditorLayout::margin() const
{
    return document()->documentMargin();
}

qreal EditorLayout::availableWidth() const
{
    const qreal page = document()->pageSize().width();
    return page > 0 ? std::max<qreal>(0, page - 2 * margin()) : kUnlimitedWidth;
}

// Structure ----------------------------------------------------------------------

EditorLayout::Entry EditorLayout::estimate(const QTextBlock &block) const
{
    Entry entry;
    if (estimatedCharsPerLine_ > 0)
        entry.lines = std::max(1, static_cast<int>(std::ceil(block.length() / estimatedCharsPerLine_)));
    entry.height = entry.lines * estimatedLineHeight_;
    return entry;
}

void EditorLayout::markStale()
{
    stale_ = true;
    ++structure_;
    Q_EMIT update(QRectF(0, 0, kUnlimitedWidth, kUnlimitedWidth * 1e3));
    // The size is reported once the entries are made again, when first asked.
    QMetaObject::invokeMethod(this, [this] { reportSize(); }, Qt::QueuedConnection);
}

void EditorLayout::ensureCurrent() const
{
    if (stale_)
        const_cast<EditorLayout *>(this)->rebuild();
}

void EditorLayout::rebuild()
{
    stale_ = false;
    ++structure_;
    // Width, wrap mode and font change only through a rebuild: the estimates
    // are fixed here once for every paragraph.
    const QFontMetricsF metrics(document()->defaultFont());
    estimatedLineHeight_ = metrics.lineSpacing();
    const qreal width = availableWidth();
    const bool wraps = document()->defaultTextOption().wrapMode() != QTextOption::NoWrap && width < kUnlimitedWidth;
    estimatedCharsPerLine_ = wraps && metrics.averageCharWidth() > 0 ? width / metrics.averageCharWidth() : 0;
    plainAdvances_.reset();
    plainLineHeight_.reset();
    fontAdvances_.clear();
    measuredFormats_.clear();
    metrics_.clear();
    widest_ = 0;
    for (Pieced *pieced : pieced_)
        pieced->clear();
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        metrics_.append(estimate(block));
    scheduleBackground();
}

void EditorLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    const ChangeKey key{from, charsRemoved, charsAdded, document()->revision()};
    if (key == applied_) {
        applied_ = ChangeKey();
        return; // already followed from the document's change signal
    }
    // Page size, default font or text option: everything anew.
    if (from == 0 && charsRemoved == 0 && charsAdded == document()->characterCount() &&
        inStep()) {
        markStale();
        return;
    }
    applyChange(from, charsRemoved, charsAdded);
    applied_ = ChangeKey();
}

void EditorLayout::expectInsertedText(int from, QString text)
{
    expectedFrom_ = from;
    expectedText_ = std::move(text);
}

void EditorLayout::applyChange(int from, int removed, int added)
{
    applied_ = ChangeKey{from, removed, added, document()->revision()};
    piecedRepaint_.reset(); // said by this change's pieces only
    tableRepaint_.reset();
    QString inserted;
    if (from == expectedFrom_ && removed == 0 && added == expectedText_.size())
        inserted = std::move(expectedText_);
    expectedFrom_ = -1;
    expectedText_ = QString();
    if (stale_)
        return; // all made anew when next asked
    const std::optional<ChangedBlocks> changed = changedBlocks(from, removed, added, !inserted.isEmpty());
    if (!changed) {
        markStale();
        return;
    }
    if (changed->oldCount != 1 || changed->newCount != 1)
        ++structure_;
    const qreal top = metrics_.top(changed->first);
    qreal oldHeight = 0;
    for (int k = 0; k < changed->oldCount; ++k)
        oldHeight += metrics_.at(changed->first + k).height;
    const qreal newHeight = replaceEntries(*changed, inserted);
    if (!inStep()) {
        markStale(); // never expected: the document and the entries disagree
        return;
    }
    const bool sameHeight = qFuzzyCompare(1 + newHeight, 1 + oldHeight);
    if (tableRepaint_)
        Q_EMIT update(*tableRepaint_);
    else if (piecedRepaint_ && changed->newCount == 1 && changed->oldCount == 1 && sameHeight)
        Q_EMIT update(QRectF(0, margin() + top + piecedRepaint_->first, kUnlimitedWidth,
                             piecedRepaint_->second - piecedRepaint_->first));
    else
        repaintChange(*changed, top, oldHeight, newHeight);
    piecedRepaint_.reset();
    tableRepaint_.reset();
    reportSize();
    if (changed->newCount > kLayOutAtOnce)
        scheduleBackground();
}

// None when the change is better followed by making every entry anew: most
// of the document changed, and its new lines not measured from their text.
std::optional<EditorLayout::ChangedBlocks> EditorLayout::changedBlocks(int from, int removed, int added,
                                                                      bool textKnown) const
{
    const QTextDocument *doc = document();
    const int count = doc->blockCount();
    const int last = doc->characterCount() - 1;
    ChangedBlocks changed;
    changed.from = from;
    changed.removed = removed;
    changed.added = added;
    changed.first = doc->findBlock(std::clamp(from, 0, last)).blockNumber();
    const int lastChanged = doc->findBlock(std::clamp(from + added, 0, last)).blockNumber();
    changed.newCount = lastChanged - changed.first + 1;
    changed.oldCount = changed.newCount - (count - metrics_.count());
    if (changed.first < 0 || changed.oldCount < 1 || changed.first + changed.oldCount > metrics_.count() ||
        (changed.newCount > kLayOutAtOnce && changed.newCount > count / 2 && !textKnown))
        return std::nullopt;
    return changed;
}

qreal EditorLayout::replaceEntries(const ChangedBlocks &changed, QStringView inserted)
{
    // Laid out now when they are few, estimated for later otherwise; the
    // paragraphs after the first are whole lines of the text put in, when
    // that is known, and measured from it.
    const bool layOut = changed.newCount <= kLayOutAtOnce;
    qsizetype line = inserted.indexOf(QLatin1Char('\n')) + 1; // 0: no whole line
    bool plain = false;
    std::vector<Entry> fresh;
    fresh.reserve(static_cast<std::size_t>(changed.newCount));
    qreal height = 0;
    std::vector<RowGroup> groups; // the table rows the change is in, laid out once the entries are in place
    QTextBlock block = document()->findBlockByNumber(changed.first);
    for (int k = 0; k < changed.newCount && block.isValid(); ++k, block = block.next()) {
        if (tableOf(block)) {
            const RowGroup group = rowGroup(block);
            if (group.isValid() && (groups.empty() || groups.back().first != group.first))
                groups.push_back(group);
            fresh.push_back(estimate(block));
            continue;
        }
        std::optional<QStringView> text; // the paragraph's, from the text put in
        if (!layOut && k > 0 && line > 0) {
            qsizetype end = inserted.indexOf(QLatin1Char('\n'), line);
            end = end < 0 ? inserted.size() : end;
            text = inserted.sliced(line, end - line);
            line = end + 1;
        }
        if (ParagraphPieces *pieces = piecesOf(block, true)) {
            // A keystroke in a long paragraph lays out the piece it falls in.
            if (changed.oldCount == 1 && changed.newCount == 1)
                editPieces(block, *pieces, changed.from - block.position(), changed.removed, changed.added);
            else
                pieces->clear();
            pieces->setTextLength(block.length() - 1);
            fresh.push_back(piecedEntry(block, *pieces));
        } else {
            std::optional<Entry> measured;
            if (text) {
                // Every line of one insertion takes the formats of the second paragraph.
                plain = k == 1 ? isPlainParagraph(block) : plain;
                if (plain)
                    measured = singleLine(block, *text);
            }
            fresh.push_back(layOut ? layoutBlock(block) : measured ? *measured : estimate(block));
        }
        height += fresh.back().height;
    }
    if (!groups.empty()) {
        // Before the change an edit in one paragraph of a row left the row's
        // paragraphs where they were: the row's height is still its last one's.
        const bool inPlace = changed.newCount == 1 && changed.oldCount == 1;
        const int lastOfFirst = groups.front().last.blockNumber();
        const qreal oldRow = inPlace && lastOfFirst < metrics_.count() ? metrics_.at(lastOfFirst).height : -1;
        metrics_.remove(changed.first, changed.oldCount);
        metrics_.insert(changed.first, fresh);
        qreal rowHeight = 0;
        if (layOut) {
            const QTextBlock typedIn = inPlace ? document()->findBlockByNumber(changed.first) : QTextBlock();
            for (const RowGroup &group : groups)
                rowHeight = layoutGroup(group, true, typedIn);
        }
        const qreal top = metrics_.top(groups.front().first.blockNumber());
        const qreal m = margin();
        // What stands above the change stays; a row's borders may stand a
        // pixel above it.
        const qreal from = std::min(metrics_.top(changed.first), top) + m - kBorderOverhang;
        tableRepaint_ = QRectF(0, from, kUnlimitedWidth, kUnlimitedWidth * 1e3);
        if (layOut && groups.size() == 1 && qFuzzyCompare(1 + rowHeight, 1 + oldRow)) {
            // The row kept its height: only the cell typed in changed.
            tableRepaint_ = QRectF(0, m + top, kUnlimitedWidth, rowHeight);
            const QTextTableCell cell =
                inPlace ? groups.front().table->cellAt(changed.from) : QTextTableCell();
            const CellPlace *place = cell.isValid() ? placeOf(document()->findBlock(cell.firstPosition())) : nullptr;
            if (place && place->cellFirst) {
                tableRepaint_ = place->cell.translated(m, m + top)
                                    .adjusted(-kBorderOverhang, -kBorderOverhang, kBorderOverhang, kBorderOverhang);
            }
        }
        height = 0;
        for (int k = 0; k < changed.newCount; ++k)
            height += metrics_.at(changed.first + k).height;
        return height;
    }
    metrics_.remove(changed.first, changed.oldCount);
    metrics_.insert(changed.first, fresh);
    return height;
}

void EditorLayout::repaintChange(const ChangedBlocks &changed, qreal top, qreal oldHeight, qreal newHeight)
{
    // Unless the paragraphs kept their height, everything below them moved.
    const qreal m = margin();
    if (changed.newCount == changed.oldCount && qFuzzyCompare(1 + newHeight, 1 + oldHeight))
        Q_EMIT update(QRectF(0, m + top, kUnlimitedWidth, newHeight));
    else
        Q_EMIT update(QRectF(0, m + top, kUnlimitedWidth, kUnlimitedWidth * 1e3));
}

// Laying out -----------------------------------------------------------------------

namespace {

// How far a line moves the next one down, by the paragraph's line spacing.
qreal lineAdvance(const QTextBlockFormat &format, qreal natural)
{
    const qreal value = format.lineHeight();
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight: return value > 0 ? natural * value / 100 : natural;
    case QTextBlockFormat::FixedHeight: return value > 0 ? value : natural;
    case QTextBlockFormat::MinimumHeight: return std::max(natural, value);
    case QTextBlockFormat::LineDistanceHeight: return natural + std::max<qreal>(0, value);
    default: return natural;
    }
}

// Qt wraps a line at a word boundary, and anywhere only once it has measured
// the whole word to find it too wide: on a long run without a break
// opportunity (minified JSON, base64) every line measures the rest of the
// run, and the paragraph costs the square of its length. So a long
// paragraph's lines are first broken anywhere, and broken again at words only
// when they hold a break opportunity: the same lines Qt would break, each
// measured once or twice.
class WrapChoice {
public:
    WrapChoice(const QTextBlock &block, QTextLayout &layout)
        : layout_(layout), word_(layout.textOption()), anywhere_(word_)
    {
        anywhere_.setWrapMode(QTextOption::WrapAnywhere);
        // What the layout lays out: a layout of its own has its text, a
        // paragraph's has the paragraph's with what is being composed.
        text_ = layout.text();
        const qsizetype length = text_.isEmpty() ? block.length() : text_.size();
        active_ = length > kShortParagraph && word_.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
        if (!active_)
            return;
        if (text_.isEmpty()) {
            text_ = block.text();
            if (!layout.preeditAreaText().isEmpty())
                text_.insert(layout.preeditAreaPosition(), layout.preeditAreaText());
        }
    }

    void setWidth(QTextLine &line, qreal width)
    {
        if (!active_) {
            line.setLineWidth(width);
            return;
        }
        layout_.setTextOption(anywhere_);
        line.setLineWidth(width);
        if (holdsBreak(line.textStart(), line.textStart() + line.textLength())) {
            layout_.setTextOption(word_);
            line.setLineWidth(width);
        }
    }

    ~WrapChoice()
    {
        if (active_)
            layout_.setTextOption(word_);
    }

private:
    // Paragraphs up to this many characters are wrapped by Qt alone.
    static constexpr int kShortParagraph = 2048;

    // A break opportunity inside [from, to): a break at `to` itself is where
    // the line ends either way.
    bool holdsBreak(int from, int to)
    {
        if (!finder_)
            finder_.emplace(QTextBoundaryFinder::Line, text_);
        for (int i = from + 1; i < to; ++i) {
            finder_->setPosition(i);
            if (finder_->isAtBoundary())
                return true;
        }
        return false;
    }

    QTextLayout &layout_;
    QString text_;
    QTextOption word_;
    QTextOption anywhere_;
    bool active_ = false;
    std::optional<QTextBoundaryFinder> finder_;
};

} // namespace

EditorLayout::Entry EditorLayout::layoutBlock(const QTextBlock &block) const
{
    if (const ParagraphPieces *pieces = piecesOf(block))
        return piecedEntry(block, *pieces);
    return layoutLines(block, *block.layout());
}


// Fonts whose advances are kept at once, at most: a document names a few.
constexpr qsizetype kMostFontsMeasured = 16;

EditorLayout::FontAdvances &EditorLayout::advancesOf(const QFont &font) const
{
    std::shared_ptr<FontAdvances> &found = fontAdvances_[font.key()];
    if (!found)
        found = measuredAdvances(font);
    return *found;
}

std::shared_ptr<EditorLayout::FontAdvances> EditorLayout::measuredAdvances(const QFont &font)
{
    auto made = std::make_shared<FontAdvances>();
    made->advances.assign(std::size_t(1) << 16, kUnknownAdvance);
    made->metrics.emplace(font);
    made->raw = QRawFont::fromFont(font);
    QTextLayout sample(QStringLiteral("x"), font);
    sample.beginLayout();
    QTextLine line = sample.createLine();
    line.setLeadingIncluded(true);
    sample.endLayout();
    made->ascent = line.ascent();
    made->descent = line.descent();
    made->leading = line.height() - line.ascent() - line.descent();
    return made;
}

// Character formats remembered with their fonts: a document uses a few, and
// the same ones paragraph after paragraph.
constexpr std::size_t kMostFormatsMeasured = 16;

EditorLayout::FontAdvances *EditorLayout::measuredFont(const QTextCharFormat &format) const
{
    for (const MeasuredFormat &measured : measuredFormats_) {
        if (measured.format == format) // shared formats compare at once
            return measured.font;
    }
    // The properties of a character format that change no measure.
    static const int kUnmeasured[] = {QTextFormat::FontFamilies, QTextFormat::FontPointSize, QTextFormat::FontWeight,
                                      QTextFormat::FontItalic, QTextFormat::FontUnderline,
                                      QTextFormat::FontStrikeOut, QTextFormat::TextUnderlineStyle,
                                      QTextFormat::ForegroundBrush, QTextFormat::BackgroundBrush,
                                      QTextFormat::IsAnchor, QTextFormat::AnchorHref};
    FontAdvances *font = nullptr;
    const QMap<int, QVariant> properties = format.properties();
    const bool measurable = std::all_of(properties.keyBegin(), properties.keyEnd(), [](int key) {
        return (key >= QTextFormat::UserProperty && key != charformat::kRaiseProperty) ||
               std::find(std::begin(kUnmeasured), std::end(kUnmeasured), key) != std::end(kUnmeasured);
    });
    if (measurable) {
        if (fontAdvances_.size() >= kMostFontsMeasured) {
            fontAdvances_.clear();
            measuredFormats_.clear();
        }
        font = &advancesOf(format.font().resolve(document()->defaultFont()));
    }
    if (measuredFormats_.size() >= kMostFormatsMeasured)
        measuredFormats_.erase(measuredFormats_.begin());
    measuredFormats_.push_back({format, font});
    return font;
}

qreal EditorLayout::advanceIn(FontAdvances &font, QChar c)
{
    float &advance = font.advances[c.unicode()];
    if (advance == kUnknownAdvance) {
        // Left-to-right or neutral characters of the font itself, drawn alone
        // as they are in a line: anything else is shaped. A soft line break
        // counts as white space but starts a line.
        static constexpr QChar::Direction kPlain[] = {QChar::DirL,  QChar::DirEN, QChar::DirES, QChar::DirET,
                                                      QChar::DirCS, QChar::DirWS, QChar::DirON};
        const bool plain = c.unicode() >= 0x20 && c.unicode() != 0xAD && c != QChar::LineSeparator &&
                           !c.isSurrogate() && !c.isMark() &&
                           std::find(std::begin(kPlain), std::end(kPlain), c.direction()) != std::end(kPlain) &&
                           font.raw.supportsCharacter(c); // the font itself, not a fallback
        advance = plain ? static_cast<float>(font.metrics->horizontalAdvance(c)) : kShapedAdvance;
    }
    return advance;
}

std::optional<EditorLayout::Entry> EditorLayout::uniformLine(const QTextBlock &block, qreal cellWidth) const
{
    if (block.textList() || block.length() <= 1)
        return std::nullopt;
    const QTextBlockFormat format = block.blockFormat();
    if (format.indent() != 0 || format.hasProperty(QTextFormat::TabPositions) || format.nonBreakableLines())
        return std::nullopt;
    const QList<QTextLayout::FormatRange> ranges = block.textFormats();
    if (ranges.isEmpty())
        return std::nullopt;
    const QString text = block.text();
    qreal bound = 0;
    qreal ascent = 0;
    qreal descent = 0;
    qreal leading = 0;
    const QTextCharFormat *previous = nullptr;
    FontAdvances *font = nullptr;
    for (const QTextLayout::FormatRange &range : ranges) {
        if (!previous || !(range.format == *previous)) {
            font = measuredFont(range.format);
            if (!font)
                return std::nullopt;
            previous = &range.format;
            // A line is as tall as the tallest of its fonts above and below.
            ascent = std::max(ascent, font->ascent);
            descent = std::max(descent, font->descent);
            leading = std::max(leading, font->leading);
        }
        for (const QChar c : QStringView(text).mid(range.start, range.length)) {
            const qreal advance = advanceIn(*font, c);
            if (advance < 0)
                return std::nullopt; // a tab, or what is shaped
            bound += advance;
        }
    }
    const bool inCell = cellWidth >= 0;
    const qreal page = inCell ? cellWidth : availableWidth();
    const qreal width = page - format.leftMargin() - format.rightMargin() - format.textIndent();
    // A cell wraps at its width, whatever the page does.
    const bool wraps =
        inCell || (page < kUnlimitedWidth && document()->defaultTextOption().wrapMode() != QTextOption::NoWrap);
    if (wraps && bound * (1 + kKerningShare) + kKerningPixels > width)
        return std::nullopt;
    Entry entry;
    entry.height = format.topMargin() + lineAdvance(format, ascent + descent + leading) + format.bottomMargin();
    entry.laidOut = true;
    if (!inCell) { // the table's width counts
        widest_ = std::max(widest_, format.leftMargin() + std::max<qreal>(0, format.textIndent()) +
                                        (wraps ? std::min(bound, width) : bound) + format.rightMargin());
    }
    return entry;
}

qreal EditorLayout::plainAdvance(QChar c) const
{
    if (!plainAdvances_)
        plainAdvances_ = measuredAdvances(document()->defaultFont());
    return advanceIn(*plainAdvances_, c);
}

std::optional<EditorLayout::Entry> EditorLayout::singleLine(const QTextBlock &block, QStringView text) const
{
    const qreal width = availableWidth();
    // Each tab takes a whole tab stop at most, and kerning a little: an upper
    // bound of the line's width.
    const qreal tab = document()->defaultTextOption().tabStopDistance();
    qreal bound = 0;
    for (const QChar c : text) {
        const qreal advance = c == QLatin1Char('\t') ? tab : plainAdvance(c);
        if (advance < 0)
            return std::nullopt;
        bound += advance;
    }
    const bool wraps = width < kUnlimitedWidth && document()->defaultTextOption().wrapMode() != QTextOption::NoWrap;
    if (wraps && bound * (1 + kKerningShare) + kKerningPixels > width)
        return std::nullopt;
    if (!plainLineHeight_) {
        QTextLayout sample(QStringLiteral("x"), document()->defaultFont());
        plainLineHeight_ = layoutLines(block, sample).height;
    }
    Entry entry;
    entry.height = *plainLineHeight_;
    entry.laidOut = true;
    widest_ = std::max(widest_, wraps ? std::min(bound, width) : bound);
    return entry;
}

EditorLayout::Entry EditorLayout::measureOnly(const QTextBlock &block) const
{
    // A paragraph's layout, once it has lines, keeps them and its text for as
    // long as the document lives: hundreds of bytes a paragraph. Plain
    // paragraphs are measured in a layout that goes at once, and get lines of
    // their own when they are shown or asked for; one that surely fits on a
    // line is not laid out at all.
    if (const ParagraphPieces *pieces = piecesOf(block))
        return piecedEntry(block, *pieces);
    if (!isPlainParagraph(block)) {
        if (const std::optional<Entry> line = uniformLine(block))
            return *line;
        return layoutBlock(block);
    }
    if (const std::optional<Entry> line = singleLine(block))
        return *line;
    QTextLayout scratch(block.text(), document()->defaultFont());
    Entry entry = layoutLines(block, scratch);
    entry.linesKept = false;
    return entry;
}

EditorLayout::Entry EditorLayout::layoutLines(const QTextBlock &block, QTextLayout &layout, bool paragraphStart,
                                              bool paragraphEnd, qreal cellWidth) const
{
    const QTextBlockFormat format = block.blockFormat();
    const Qt::LayoutDirection direction = block.textDirection();
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(direction);
    option.setAlignment(QStyle::visualAlignment(direction, format.alignment()));
    const qreal width = cellWidth >= 0 ? cellWidth : availableWidth();
    if (cellWidth >= 0)
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // a cell wraps at its width
    if (format.nonBreakableLines() || width >= kUnlimitedWidth)
        option.setWrapMode(QTextOption::ManualWrap);
    if (format.hasProperty(QTextFormat::TabPositions))
        option.setTabs(format.tabPositions());
    layout.setTextOption(option);

    qreal indent = format.indent() * document()->indentWidth();
    if (const QTextList *list = block.textList())
        indent += list->format().indent() * document()->indentWidth();
    const qreal left = format.leftMargin() + indent;
    const qreal right = format.rightMargin();
    const qreal firstLine = paragraphStart ? format.textIndent() : 0;
    const qreal markerEnd =
        paragraphStart && block.textList() && direction != Qt::RightToLeft ? listMarker(block).textFrom : 0;

    qreal y = paragraphStart ? format.topMargin() : 0;
    qreal widest = 0;
    WrapChoice wrap(block, layout);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        qreal x = left;
        qreal lineWidth = width - left - right;
        if (line.lineNumber() == 0) {
            lineWidth -= firstLine;
            if (direction != Qt::RightToLeft)
                x += firstLine;
            // A number wider than the hang moves the text, never itself.
            if (markerEnd > x) {
                lineWidth -= markerEnd - x;
                x = markerEnd;
            }
        }
        wrap.setWidth(line, std::max<qreal>(0, lineWidth));
        line.setPosition(QPointF(x, y));
        y += lineAdvance(format, line.height());
        // A wrapped line may run a fraction of a pixel past its width; only
        // what cannot wrap (a wide picture, a line without wrap) widens the text.
        qreal used = line.naturalTextWidth();
        if (used <= lineWidth + 1)
            used = std::min(used, std::max<qreal>(0, lineWidth));
        widest = std::max(widest, x + used + right);
    }
    layout.endLayout();
    if (cellWidth >= 0)
        widest = 0; // the table's width counts
    layout.setPosition(QPointF(0, 0));
    if (paragraphEnd)
        y += format.bottomMargin();

    Entry entry;
    entry.height = y;
    entry.lines = std::max(1, layout.lineCount());
    entry.laidOut = true;
    entry.linesKept = true;
    widest_ = std::max(widest_, widest);
    return entry;
}

void EditorLayout::measure(int blockNumber, const QTextBlock &block) const
{
    if (const RowGroup group = rowGroup(block); group.isValid())
        layoutGroup(group);
    else
        metrics_.set(blockNumber, layoutBlock(block));
}

void EditorLayout::measureOnly(int blockNumber, const QTextBlock &block) const
{
    if (const RowGroup group = rowGroup(block); group.isValid())
        layoutGroup(group, true, QTextBlock(), false);
    else
        metrics_.set(blockNumber, measureOnly(block));
}

void EditorLayout::ensureLaidOut(const QTextBlock &block) const
{
    if (piecesOf(block))
        return; // laid out a piece at a time, as far as it is shown or asked for
    if (const RowGroup group = rowGroup(block); group.isValid()) {
        ensureGroupLaidOut(group);
        return;
    }
    QTextLayout *layout = block.layout();
    if (!inStep()) {
        // Asked in the middle of an edit, before the change is known: lay the
        // paragraph out for its lines and leave the sums to the change.
        if (layout->lineCount() == 0)
            layoutBlock(block);
        return;
    }
    const int number = block.blockNumber();
    const Entry &entry = metrics_.at(number);
    if (!entry.laidOut || !entry.linesKept || layout->lineCount() == 0)
        measure(number, block);
}

bool EditorLayout::layoutPrefix(int lastBlock, qreal lastY, const QElapsedTimer *slice) const
{
    const bool anyY = lastY == std::numeric_limits<qreal>::max();
    QTextBlock block;
    int previous = -2;
    for (int number = metrics_.firstNotLaidOut(); number >= 0 && number <= lastBlock;
         previous = number, number = metrics_.firstNotLaidOut(number + 1)) {
        // Paragraphs in a row are reached without looking each one up.
        block = number == previous + 1 ? block.next() : document()->findBlockByNumber(number);
        if (!block.isValid() || (!anyY && metrics_.top(number) > lastY))
            return true;
        if (ParagraphPieces *pieces = piecesOf(block)) {
            Reach reach;
            reach.y = anyY ? reach.y : lastY - metrics_.top(number);
            reach.slice = slice;
            buildPieces(block, *pieces, reach);
            metrics_.set(number, piecedEntry(block, *pieces));
            if (!pieces->complete() && slice && slice->elapsed() >= kBackgroundSliceMs)
                return false;
            continue;
        }
        measureOnly(number, block);
        if (slice && slice->elapsed() >= kBackgroundSliceMs)
            return false;
    }
    return true;
}

void EditorLayout::layoutThrough(int blockNumber) const
{
    layoutPrefix(blockNumber, std::numeric_limits<qreal>::max());
}

void EditorLayout::layoutThroughY(qreal y) const
{
    layoutPrefix(std::numeric_limits<int>::max(), y);
}

int EditorLayout::firstLineOfBlock(int blockNumber)
{
    ensureCurrent();
    layoutThrough(blockNumber - 1);
    ensureLaidOut(document()->findBlockByNumber(blockNumber)); // its lines are read next
    return metrics_.firstLine(blockNumber);
}

int EditorLayout::blockOfLine(int line, int *firstLine)
{
    ensureCurrent();
    if (line < 0)
        return -1;
    // Estimated line counts may be off either way: the paragraph found stands
    // once every paragraph through it is laid out. Only those are: a
    // paragraph may cost much (thousands of fonts to find), and the first
    // line is asked for before the first screen is shown.
    for (;;) {
        const int found = metrics_.atLine(line, firstLine);
        const int estimated = metrics_.firstNotLaidOut();
        if (found >= 0 && found == estimated) {
            // A long paragraph is laid out as far as the line, not to its end.
            const QTextBlock block = document()->findBlockByNumber(found);
            if (ParagraphPieces *pieces = piecesOf(block)) {
                Reach reach;
                reach.line = line - *firstLine;
                reachPieces(block, *pieces, reach);
                if (line - *firstLine < pieces->builtLines())
                    return found;
                if (!pieces->complete())
                    continue;
            }
        }
        if (estimated < 0 || (found >= 0 && found < estimated)) {
            if (found >= 0)
                ensureLaidOut(document()->findBlockByNumber(found)); // its lines are read next
            return found;
        }
        layoutThrough(found >= 0 ? std::max(found, estimated) : estimated + kLineSearchStep - 1);
    }
}

int EditorLayout::lineCount()
{
    layoutAll();
    return metrics_.totalLines();
}

void EditorLayout::layoutAll()
{
    // The size reported may bring in or take away the editor's scroll bar, and
    // the new width makes every paragraph an estimate again: laid out once
    // more, so that what is answered next is measured. A width that keeps
    // changing with the scroll bar settles on the last one.
    for (int round = 0; round < kSizeRounds; ++round) {
        ensureCurrent();
        layoutThrough(metrics_.count() - 1);
        reportSize();
        if (!stale_ && metrics_.notLaidOut() == 0)
            return;
    }
    ensureCurrent();
    layoutThrough(metrics_.count() - 1);
}

int EditorLayout::blocksNotLaidOut() const
{
    ensureCurrent();
    return metrics_.notLaidOut();
}

void EditorLayout::scheduleBackground()
{
    if (!backgroundHeld_ && !background_.isActive())
        background_.start();
}

void EditorLayout::setBackgroundHeld(bool held)
{
    backgroundHeld_ = held;
    if (held)
        background_.stop();
    else
        scheduleBackground();
}

void EditorLayout::backgroundStep()
{
    ensureCurrent();
    QElapsedTimer slice;
    slice.start();
    const int first = metrics_.firstNotLaidOut();
    if (first < 0)
        return;
    const qreal top = metrics_.top(first);
    const bool done = layoutPrefix(std::numeric_limits<int>::max(), std::numeric_limits<qreal>::max(), &slice);
    Q_EMIT update(QRectF(0, margin() + top, kUnlimitedWidth, kUnlimitedWidth * 1e3));
    reportSize();
    if (!done)
        scheduleBackground();
}

void EditorLayout::reportSize() const
{
    const QSizeF size = documentSize();
    if (size == reportedSize_)
        return;
    reportedSize_ = size;
    auto *self = const_cast<EditorLayout *>(this);
    Q_EMIT self->documentSizeChanged(size);
}

void EditorLayout::setLinksShown(bool shown)
{
    if (shown == linksShown_)
        return;
    linksShown_ = shown;
    Q_EMIT update(QRectF(0, 0, kUnlimitedWidth, kUnlimitedWidth * 1e3));
}

// Geometry ---------------------------------------------------------------------------

QSizeF EditorLayout::documentSize() const
{
    ensureCurrent();
    const qreal height = metrics_.totalHeight();
    const qreal m = margin();
    const qreal page = document()->pageSize().width();
    // The width without wrap grows in steps: typing on the longest line
    // would otherwise change the scroll range, and repaint the scroll bar, at
    // every key.
    qreal width = widest_ + 2 * m;
    if (page > 0 && width <= page)
        width = page;
    else
        width = std::max(page, std::ceil(width / kWidthStep) * kWidthStep);
    return {width, height + 2 * m};
}

QRectF EditorLayout::frameBoundingRect(QTextFrame *frame) const
{
    if (frame == document()->rootFrame())
        return QRectF(QPointF(0, 0), documentSize());
    auto *table = qobject_cast<QTextTable *>(frame);
    if (!table || !inStep() || frame->parentFrame() != document()->rootFrame())
        return {};
    const QTextBlock first = document()->findBlock(table->firstPosition());
    const QTextBlock last = document()->findBlock(table->lastPosition());
    blockBoundingRect(last); // laid out through the table
    const qreal m = margin();
    const qreal top = metrics_.top(first.blockNumber());
    const qreal bottom = metrics_.top(last.blockNumber() + 1);
    return QRectF(m, m + top, std::max<qreal>(0, widest_), bottom - top);
}

QRectF EditorLayout::blockBoundingRect(const QTextBlock &block) const
{
    ensureCurrent();
    if (!block.isValid() || block.document() != document())
        return {};
    // Everything above a paragraph is laid out before it is placed: what is
    // shown never moves when the paragraphs before it are laid out later.
    if (inStep())
        layoutThrough(block.blockNumber() - 1);
    ensureLaidOut(block);
    const qreal m = margin();
    const qreal width = std::min(availableWidth(), std::max<qreal>(0, documentSize().width() - 2 * m));
    if (!inStep()) {
        // In the middle of an edit: where the paragraph was, roughly.
        if (const CellPlace *place = tableOf(block) ? placeOf(block) : nullptr)
            return QRectF(QPointF(m, m) + place->at, QSizeF(place->width, place->height));
        return QRectF(m, m, width, block.layout()->boundingRect().height());
    }
    const int number = block.blockNumber();
    if (const CellPlace *place = tableOf(block) ? placeOf(block) : nullptr)
        return QRectF(QPointF(m, m + metrics_.top(number)) + place->at, QSizeF(place->width, place->height));
    return QRectF(m, m + metrics_.top(number), width, metrics_.at(number).height);
}

int EditorLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    ensureCurrent();
    const qreal m = margin();
    const bool exact = accuracy == Qt::ExactHit;
    const qreal y = point.y() - m;
    if (y < 0 && exact)
        return -1;
    // Everything through y laid out, the paragraph found there is final.
    layoutThroughY(y);
    qreal top = 0;
    const QTextBlock block = document()->findBlockByNumber(metrics_.atY(std::max<qreal>(0, y), &top));
    if (const RowGroup group = rowGroup(block); group.isValid()) {
        ensureGroupLaidOut(group);
        const qreal groupTop = metrics_.top(group.first.blockNumber());
        return hitGroup(group, QPointF(point.x() - m, y - groupTop), accuracy);
    }
    ensureLaidOut(block);
    const QTextLayout *layout = block.layout();
    qreal inBlockY = y - top;
    int lines = layout->lineCount();
    int offset = block.position();
    if (ParagraphPieces *pieces = piecesOf(block)) {
        Reach reach;
        reach.y = inBlockY;
        reachPieces(block, *pieces, reach);
        const int index = pieces->atY(inBlockY);
        if (index < 0)
            return exact ? -1 : block.position();
        const ParagraphPieces::Piece &piece = pieces->at(index);
        layout = piece.layout.get();
        lines = piece.lines;
        offset += piece.start;
        inBlockY -= piece.y;
    }
    if (lines == 0)
        return exact ? -1 : block.position();
    QTextLine line = layout->lineAt(0);
    for (int i = 0; i < lines; ++i) {
        line = layout->lineAt(i);
        if (inBlockY < line.y() + line.height())
            break;
    }
    const qreal x = point.x() - m;
    if (exact) {
        if (inBlockY < line.y() || inBlockY >= line.y() + line.height())
            return -1;
        const QRectF text = line.naturalTextRect();
        if (x < text.left() || x >= text.right())
            return -1;
        return offset + line.xToCursor(x, QTextLine::CursorOnCharacter);
    }
    return offset + line.xToCursor(x, QTextLine::CursorBetweenCharacters);
}

// Painting ---------------------------------------------------------------------------

void EditorLayout::keepShaping(const QTextBlock &block)
{
    QTextBlockUserData *data = block.userData();
    auto *kept = dynamic_cast<ShapingKept *>(data);
    if (!data) {
        kept = new ShapingKept(this, block);
        QTextBlock(block).setUserData(kept);
        kept_.insert(kept);
        block.layout()->setCacheEnabled(true);
    }
    if (kept)
        kept->paint = paints_;
}

void EditorLayout::dropOldShaping()
{
    if (kept_.size() <= kShapingKept)
        return;
    const bool current = inStep();
    for (ShapingKept *kept : paintedLongestAgo(kept_, kShapingKept / 2)) {
        QTextBlock block = kept->block;
        block.layout()->setCacheEnabled(false);
        block.setUserData(nullptr); // deletes the mark
        // Laid out again without the cache, the glyphs are let go.
        if (current && block.layout()->lineCount() > 0)
            measure(block.blockNumber(), block);
    }
}

void EditorLayout::draw(QPainter *painter, const PaintContext &context)
{
    ensureCurrent();
    if (!inStep())
        rebuild(); // never expected outside an edit
    const QRectF clip = context.clip;
    const qreal m = margin();
    qreal top = 0;
    if (clip.isValid())
        layoutThroughY(clip.bottom() - m);
    // A table's borders may stand a pixel past its rows: what is painted
    // below one starts with it.
    const int first = clip.isValid() ? metrics_.atY(std::max<qreal>(0, clip.top() - m - kBorderOverhang), &top) : 0;
    QTextBlock block = document()->findBlockByNumber(first);
    for (int number = first; block.isValid() && number < metrics_.count(); ++number, block = block.next()) {
        if (clip.isValid() && m + top > clip.bottom())
            break;
        if (const RowGroup group = rowGroup(block); group.isValid()) {
            // A row is drawn whole, from its first paragraph on.
            ensureGroupLaidOut(group);
            const qreal groupTop = metrics_.top(group.first.blockNumber());
            number = group.last.blockNumber();
            block = group.last;
            top = metrics_.top(number + 1);
            if (!clip.isValid() || m + top >= clip.top())
                drawGroup(painter, context, group, QPointF(m, m + groupTop));
            continue;
        }
        ParagraphPieces *pieces = piecesOf(block);
        if (pieces) {
            Reach reach;
            reach.y = clip.isValid() ? clip.bottom() - m - top : reach.y;
            buildPieces(block, *pieces, reach);
            metrics_.set(number, piecedEntry(block, *pieces));
        } else {
            ensureLaidOut(block);
        }
        const qreal height = metrics_.at(number).height;
        const QPointF origin(m, m + top);
        top += height;
        if (clip.isValid() && origin.y() + height < clip.top())
            continue;
        if (pieces)
            drawPieces(painter, context, block, *pieces, origin, height);
        else
            drawBlock(painter, context, block, origin, height);
    }
    dropOldCellShaping();
    ++paints_;
    dropOldShaping();
    if (documentSize() != reportedSize_)
        QMetaObject::invokeMethod(this, [this] { reportSize(); }, Qt::QueuedConnection);
}

void EditorLayout::drawBlock(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                             const QPointF &origin, qreal height)
{
    QTextLayout *layout = block.layout();
    keepShaping(block);
    const QTextBlockFormat format = block.blockFormat();
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        painter->fillRect(QRectF(origin, QSizeF(std::min(availableWidth(), widest_), height)), format.background());
    painter->setPen(context.palette.color(QPalette::Text));
    layout->draw(painter, origin, formatRanges(context, block), context.clip.isValid() ? context.clip : QRectF());
    if (block.textList())
        drawListMarker(painter, origin, block, layout->lineAt(0));

    const int position = block.position();
    const int cursor = context.cursorPosition;
    if ((cursor >= position && cursor < position + block.length()) ||
        (cursor < -1 && !layout->preeditAreaText().isEmpty())) {
        const int inBlock = cursor < -1 ? layout->preeditAreaPosition() - (cursor + 2) : cursor - position;
        painter->setPen(context.palette.color(QPalette::Text));
        layout->drawCursor(painter, origin, inBlock, property("cursorWidth").toInt());
    }
}

// Links and selections, as formats over the paragraph's text.
QList<QTextLayout::FormatRange> EditorLayout::formatRanges(const PaintContext &context, const QTextBlock &block) const
{
    QList<QTextLayout::FormatRange> ranges;
    if (linksShown_) {
        const QList<links::Link> found = links::find(block.text());
        const QTextCharFormat linkFormat = found.isEmpty() ? QTextCharFormat() : links::format();
        for (const links::Link &link : found)
            ranges.append({link.start, link.length, linkFormat});
    }
    if (marks_ && marks_->active()) {
        if (const std::vector<TextMarks::Span> *spans = marks_->shownIn(block)) {
            QTextCharFormat wave;
            wave.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
            wave.setUnderlineColor(Qt::red);
            for (const TextMarks::Span &span : *spans)
                ranges.append({span.start, span.length, wave});
        }
    }
    const int position = block.position();
    const int length = block.length();
    for (const Selection &selection : context.selections) {
        const int start = selection.cursor.selectionStart() - position;
        const int end = selection.cursor.selectionEnd() - position;
        if (start < length && end > 0 && end > start) {
            const int from = std::max(start, 0);
            ranges.append({from, std::min(end, length) - from, selection.format});
        } else if (!selection.cursor.hasSelection() &&
                   selection.format.hasProperty(QTextFormat::FullWidthSelection) &&
                   block.contains(selection.cursor.position())) {
            const QTextLine line = block.layout()->lineForTextPosition(selection.cursor.position() - position);
            if (line.isValid())
                ranges.append({line.textStart(), std::max(1, line.textLength()), selection.format});
        }
    }
    return ranges;
}

QTextCharFormat EditorLayout::listMarkerFormat(const QTextBlock &block)
{
    if (auto it = block.begin(); !it.atEnd())
        return it.fragment().charFormat();
    return block.charFormat();
}

// A list paragraph's number or bullet starts at the first-line indent, in the
// font of the paragraph's first characters, and a space keeps the text from it.
EditorLayout::ListMarker EditorLayout::listMarker(const QTextBlock &block) const
{
    ListMarker marker;
    const QTextList *list = block.textList();
    const QTextListFormat::Style style = list->format().style();
    marker.font = listMarkerFormat(block).font();
    const QFontMetricsF metrics(marker.font);
    marker.bullet =
        style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle || style == QTextListFormat::ListSquare;
    if (marker.bullet) {
        marker.size = QSizeF(metrics.lineSpacing() / 3, metrics.lineSpacing() / 3);
    } else {
        marker.text = paraformat::listItemText(*list, block);
        marker.size = QSizeF(metrics.horizontalAdvance(marker.text), metrics.height());
    }
    const QTextBlockFormat format = block.blockFormat();
    marker.left = std::max(0, paraformat::indents(format).first) * paraformat::kPixelsPerPoint +
                  (format.indent() + list->format().indent()) * document()->indentWidth();
    marker.textFrom = marker.left + marker.size.width() + metrics.horizontalAdvance(QLatin1Char(' '));
    marker.ascent = metrics.ascent();
    marker.height = metrics.height();
    return marker;
}

void EditorLayout::drawListMarker(QPainter *painter, const QPointF &origin, const QTextBlock &block,
                                  const QTextLine &first) const
{
    if (!first.isValid())
        return;
    const ListMarker marker = listMarker(block);
    const QTextCharFormat charFormat = listMarkerFormat(block);
    QRectF box(origin + QPointF(marker.left, first.y()), marker.size);
    box.translate(0, marker.height / 2 - marker.size.height() / 2);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QBrush brush = charFormat.hasProperty(QTextFormat::ForegroundBrush) ? charFormat.foreground()
                                                                             : painter->pen().brush();
    if (marker.bullet) {
        if (block.textList()->format().style() == QTextListFormat::ListSquare) {
            painter->fillRect(box, brush);
        } else if (block.textList()->format().style() == QTextListFormat::ListCircle) {
            painter->setPen(QPen(brush, 0));
            painter->setBrush(Qt::NoBrush);
            painter->drawEllipse(box);
        } else {
            painter->setPen(Qt::NoPen);
            painter->setBrush(brush);
            painter->drawEllipse(box);
        }
    } else {
        painter->setFont(marker.font);
        painter->setPen(QPen(brush, 0));
        painter->drawText(QPointF(box.left(), origin.y() + first.y() + marker.ascent), marker.text);
    }
    painter->restore();
}

// Long paragraphs ---------------------------------------------------------------------

bool EditorLayout::wrapsLines() const
{
    return availableWidth() < kUnlimitedWidth && document()->defaultTextOption().wrapMode() != QTextOption::NoWrap;
}

ParagraphPieces *EditorLayout::piecesOf(const QTextBlock &block, bool changing) const
{
    const int length = block.length() - 1;
    if (length <= kPiecedParagraph || !block.isValid() || !wrapsLines() || block.blockFormat().nonBreakableLines() ||
        tableOf(block))
        return nullptr;
    QTextBlockUserData *data = block.userData();
    if (auto *pieced = dynamic_cast<Pieced *>(data)) {
        if (!pieced->usable)
            return nullptr;
        if (!changing && pieced->textLength() != length) { // never expected: every change is followed
            pieced->clear();
            pieced->setTextLength(length);
        }
        return pieced;
    }
    // Objects need the paragraph's own layout, which asks the document for them.
    const bool usable = !block.text().contains(QChar::ObjectReplacementCharacter);
    auto *self = const_cast<EditorLayout *>(this);
    auto *pieced = new Pieced(self, length, usable);
    if (data)
        block.layout()->setCacheEnabled(false); // the shaping kept goes with its mark
    QTextBlock(block).setUserData(pieced);
    self->pieced_.insert(pieced);
    if (!usable)
        return nullptr;
    block.layout()->clearLayout();
    return pieced;
}

bool EditorLayout::hasPiecedParagraphs() const
{
    return std::any_of(pieced_.begin(), pieced_.end(), [](const Pieced *pieced) { return pieced->usable; });
}

ParagraphPieces::Piece EditorLayout::layOutPiece(const QTextBlock &block, int start, int end,
                                                 bool leaveLastLine) const
{
    // Only the characters of the piece are read, and the formats that cover them.
    QTextCursor range(document());
    range.setPosition(block.position() + start);
    range.setPosition(block.position() + end, QTextCursor::KeepAnchor);
    QList<QTextLayout::FormatRange> formats;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int from = std::max(fragment.position() - block.position(), start);
        const int to = std::min(fragment.position() - block.position() + fragment.length(), end);
        if (to <= from)
            continue;
        const QTextCharFormat format = fragment.charFormat();
        if (!format.properties().isEmpty())
            formats.append({from - start, to - from, format});
    }
    auto layout = std::make_unique<QTextLayout>(range.selectedText(), document()->defaultFont());
    layout->setFormats(formats);
    const Entry entry = layoutLines(block, *layout, start == 0, false);
    int lines = layout->lineCount();
    int length = end - start;
    qreal height = entry.height;
    if (leaveLastLine && lines > 1) {
        // The last line may stop short at the piece's end: the next piece starts with it.
        const QTextLine last = layout->lineAt(lines - 1);
        length = last.textStart();
        height = last.y();
        --lines;
    }
    return ParagraphPieces::piece(start, length, std::move(layout), lines, height);
}

std::vector<ParagraphPieces::Piece> EditorLayout::layOutRange(const QTextBlock &block, int start, int end) const
{
    std::vector<ParagraphPieces::Piece> pieces;
    while (start < end) {
        const bool whole = end - start <= kLongestPiece;
        pieces.push_back(layOutPiece(block, start, whole ? end : start + kPiece, !whole));
        start = pieces.back().end();
    }
    return pieces;
}

void EditorLayout::buildPieces(const QTextBlock &block, ParagraphPieces &pieces, const Reach &reach) const
{
    while (!pieces.complete() && pieces.built() <= reach.position && pieces.builtLines() <= reach.line &&
           pieces.builtHeight() <= reach.y && !(reach.slice && reach.slice->elapsed() >= kBackgroundSliceMs)) {
        const int start = pieces.built();
        const int end = std::min(start + kPiece, pieces.textLength());
        pieces.append(layOutPiece(block, start, end, end < pieces.textLength()));
    }
}

void EditorLayout::editPieces(const QTextBlock &block, ParagraphPieces &pieces, int from, int removed,
                              int added) const
{
    const int length = block.length() - 1;
    if (pieces.textLength() - removed + added != length || from < 0) {
        pieces.clear();
        return;
    }
    if (added > 0) {
        QTextCursor range(document());
        range.setPosition(block.position() + from);
        range.setPosition(block.position() + from + added, QTextCursor::KeepAnchor);
        if (range.selectedText().contains(QChar::ObjectReplacementCharacter)) {
            static_cast<Pieced &>(pieces).usable = false; // laid out as a whole from now on
            pieces.clear();
            return;
        }
    }
    const bool complete = pieces.complete();
    const int built = pieces.built();
    pieces.setTextLength(length);
    if (pieces.count() == 0 || from > built || (from == built && !complete))
        return; // not laid out yet
    const int first = pieces.atPosition(from);
    if (from + removed > built) {
        pieces.truncate(first);
        return;
    }
    const int last = removed > 0 ? pieces.atPosition(from + removed - 1) : first;
    const int shift = added - removed;
    const int start = pieces.at(first).start;
    int end = pieces.at(last).end() + shift;
    int through = last;
    // A piece left short takes in the next one.
    if (end - start < kShortestPiece && through + 1 < pieces.count()) {
        ++through;
        end = pieces.at(through).end() + shift;
    }
    const qreal top = pieces.at(first).y;
    const qreal oldBottom = pieces.at(through).y + pieces.at(through).height;
    std::vector<ParagraphPieces::Piece> fresh = layOutRange(block, start, end);
    qreal changedFrom = top;
    QTextLayout *typedIn = fresh.empty() ? nullptr : fresh.front().layout.get();
    if (typedIn) {
        const QTextLayout &layout = *typedIn;
        // A line's first word may move up to the line before when characters go.
        const int inPiece = std::min<int>(from - start, static_cast<int>(layout.text().size()));
        const QTextLine line = layout.lineForTextPosition(inPiece);
        if (line.isValid() && line.lineNumber() > 0)
            changedFrom = top + layout.lineAt(line.lineNumber() - 1).y();
    }
    qreal freshHeight = 0;
    for (const ParagraphPieces::Piece &piece : fresh)
        freshHeight += piece.height;
    pieces.replace(first, through, std::move(fresh), shift);
    // The piece typed in keeps its shaping for the caret and the next paint.
    pieces.keepShaping(typedIn);
    if (qFuzzyCompare(1 + freshHeight, 1 + (oldBottom - top)))
        piecedRepaint_ = std::make_pair(changedFrom, oldBottom);
}

EditorLayout::Entry EditorLayout::piecedEntry(const QTextBlock &block, const ParagraphPieces &pieces) const
{
    Entry entry;
    entry.linesKept = true;
    entry.lines = pieces.builtLines();
    entry.height = pieces.builtHeight();
    if (pieces.complete()) {
        entry.laidOut = true;
        entry.height += block.blockFormat().bottomMargin();
    } else {
        const int rest = pieces.textLength() - pieces.built();
        const int lines =
            estimatedCharsPerLine_ > 0 ? std::max(1, static_cast<int>(std::ceil(rest / estimatedCharsPerLine_))) : 1;
        entry.lines += lines;
        entry.height += lines * estimatedLineHeight_;
    }
    entry.lines = std::max(1, entry.lines);
    return entry;
}

void EditorLayout::notePieces(const QTextBlock &block, const ParagraphPieces &pieces) const
{
    if (!inStep())
        return;
    const int number = block.blockNumber();
    const Entry entry = piecedEntry(block, pieces);
    const Entry &old = metrics_.at(number);
    if (old.height == entry.height && old.lines == entry.lines && old.laidOut == entry.laidOut)
        return;
    metrics_.set(number, entry);
    auto *self = const_cast<EditorLayout *>(this);
    QMetaObject::invokeMethod(self, [self] { self->reportSize(); }, Qt::QueuedConnection);
}

EditorLayout::ShownLine EditorLayout::piecedLine(const QTextBlock &block, const ParagraphPieces &pieces, int index,
                                                 const QTextLine &line, const QPointF &blockOrigin) const
{
    const ParagraphPieces::Piece &piece = pieces.at(index);
    ShownLine shown;
    shown.line = line;
    shown.origin = blockOrigin + QPointF(0, piece.y);
    shown.offset = block.position() + piece.start;
    shown.number = piece.firstLine + line.lineNumber();
    shown.last = pieces.complete() && index == pieces.count() - 1 && line.lineNumber() == piece.lines - 1;
    return shown;
}

EditorLayout::ShownLine EditorLayout::ownLine(const QTextBlock &block, const QTextLine &line,
                                              const QPointF &blockOrigin) const
{
    ShownLine shown;
    shown.line = line;
    shown.origin = blockOrigin;
    shown.offset = block.position();
    shown.number = line.isValid() ? line.lineNumber() : 0;
    shown.last = shown.number == block.layout()->lineCount() - 1;
    return shown;
}

void EditorLayout::reachPieces(const QTextBlock &block, ParagraphPieces &pieces, const Reach &reach) const
{
    buildPieces(block, pieces, reach);
    notePieces(block, pieces);
}

EditorLayout::ShownLine EditorLayout::lineAt(int position, bool placed)
{
    ensureCurrent();
    position = std::clamp(position, 0, std::max(0, document()->characterCount() - 1));
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return {};
    QPointF origin;
    if (placed)
        origin = blockBoundingRect(block).topLeft();
    else
        ensureLaidOut(block);
    const int inBlock = position - block.position();
    if (ParagraphPieces *pieces = piecesOf(block)) {
        Reach reach;
        reach.position = inBlock;
        reachPieces(block, *pieces, reach);
        const int index = pieces->atPosition(inBlock);
        if (index < 0)
            return {};
        const ParagraphPieces::Piece &piece = pieces->at(index);
        QTextLine line = piece.layout->lineForTextPosition(inBlock - piece.start);
        if (!line.isValid() || line.lineNumber() >= piece.lines)
            line = piece.layout->lineAt(piece.lines - 1);
        return piecedLine(block, *pieces, index, line, origin);
    }
    return ownLine(block, block.layout()->lineForTextPosition(inBlock), origin);
}

EditorLayout::ShownLine EditorLayout::lineOfParagraph(const QTextBlock &block, int lineInParagraph)
{
    ensureCurrent();
    if (!block.isValid() || lineInParagraph < 0)
        return {};
    const QPointF origin = blockBoundingRect(block).topLeft();
    if (ParagraphPieces *pieces = piecesOf(block)) {
        Reach reach;
        reach.line = lineInParagraph;
        reachPieces(block, *pieces, reach);
        const int index = pieces->atLine(lineInParagraph);
        if (index < 0)
            return {};
        const ParagraphPieces::Piece &piece = pieces->at(index);
        const int inPiece = lineInParagraph - piece.firstLine;
        if (inPiece >= piece.lines)
            return {};
        return piecedLine(block, *pieces, index, piece.layout->lineAt(inPiece), origin);
    }
    if (lineInParagraph >= block.layout()->lineCount())
        return {};
    return ownLine(block, block.layout()->lineAt(lineInParagraph), origin);
}

EditorLayout::ShownLine EditorLayout::lineBefore(const ShownLine &line)
{
    if (!line.isValid())
        return {};
    const QTextBlock block = document()->findBlock(line.start());
    if (line.start() > block.position())
        return lineAt(line.start() - 1);
    const QTextBlock previous = block.previous();
    return previous.isValid() ? lineAt(previous.position() + previous.length() - 1) : ShownLine();
}

EditorLayout::ShownLine EditorLayout::lineAfter(const ShownLine &line)
{
    if (!line.isValid())
        return {};
    if (!line.last)
        return lineAt(line.end());
    const QTextBlock next = document()->findBlock(line.start()).next();
    return next.isValid() ? lineAt(next.position()) : ShownLine();
}

QRectF EditorLayout::caretRect(int position)
{
    const ShownLine shown = lineAt(position);
    if (!shown.isValid())
        return {};
    const QRectF line = shown.rect();
    return QRectF(shown.cursorToX(position), line.top(), property("cursorWidth").toInt(), line.height());
}

void EditorLayout::drawPieces(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                              const ParagraphPieces &pieces, const QPointF &origin, qreal height)
{
    const QTextBlockFormat format = block.blockFormat();
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        painter->fillRect(QRectF(origin, QSizeF(std::min(availableWidth(), widest_), height)), format.background());
    painter->setPen(context.palette.color(QPalette::Text));
    const QRectF clip = context.clip;
    const int position = block.position();
    const int cursor = context.cursorPosition - position;
    const int cursorPiece = cursor >= 0 && cursor <= pieces.textLength() ? pieces.atPosition(cursor) : -1;
    for (int i = clip.isValid() ? std::max(0, pieces.atY(clip.top() - origin.y())) : 0; i < pieces.count(); ++i) {
        const ParagraphPieces::Piece &piece = pieces.at(i);
        const QPointF at = origin + QPointF(0, piece.y);
        if (clip.isValid() && at.y() > clip.bottom())
            break;
        // The piece's own lines only: the one it leaves to the next piece is drawn there.
        QRectF shown(0, at.y(), kUnlimitedWidth, std::max<qreal>(0, piece.height - kPieceClipInset));
        if (clip.isValid())
            shown = shown.intersected(clip);
        const bool lastPiece = i == pieces.count() - 1;
        QList<QTextLayout::FormatRange> ranges;
        if (linksShown_) {
            const QString text = piece.layout->text().left(piece.length);
            for (const links::Link &link : links::find(text))
                ranges.append({link.start, link.length, links::format()});
        }
        for (const Selection &selection : context.selections) {
            const int start = selection.cursor.selectionStart() - position - piece.start;
            const int end = selection.cursor.selectionEnd() - position - piece.start;
            const int length = piece.length + (lastPiece ? 1 : 0); // the last one shows the paragraph end
            if (start < length && end > 0 && end > start) {
                const int from = std::max(start, 0);
                ranges.append({from, std::min(end, length) - from, selection.format});
            }
        }
        piece.layout->draw(painter, at, ranges, shown);
        if (i == 0 && block.textList())
            drawListMarker(painter, at, block, piece.layout->lineAt(0));
        if (i == cursorPiece) {
            painter->setPen(context.palette.color(QPalette::Text));
            piece.layout->drawCursor(painter, at, cursor - piece.start, property("cursorWidth").toInt());
        }
    }
}

// Tables ------------------------------------------------------------------------------

const EditorLayout::CellPlace *EditorLayout::placeOf(const QTextBlock &block)
{
    return dynamic_cast<const CellPlace *>(block.userData());
}

QTextTable *EditorLayout::tableOf(const QTextBlock &block) const
{
    QTextFrame *root = document()->rootFrame();
    if (root->childFrames().isEmpty() || !block.isValid())
        return nullptr;
    QTextFrame *frame = QTextCursor(block).currentFrame();
    while (frame && frame->parentFrame() && frame->parentFrame() != root)
        frame = frame->parentFrame();
    return frame == root ? nullptr : qobject_cast<QTextTable *>(frame);
}

EditorLayout::RowGroup EditorLayout::rowGroup(const QTextBlock &block) const
{
    if (!block.isValid())
        return {};
    // A row is asked for again and again while a key is typed in it, and
    // every row on the screen each time it is painted.
    const bool cached = inStep();
    const int number = block.blockNumber();
    if (cached) {
        if (foundStructure_ != structure_) {
            foundGroups_.clear();
            foundStructure_ = structure_;
        }
        auto found = foundGroups_.upper_bound(number);
        if (found != foundGroups_.begin() && (--found)->second.last >= number &&
            found->second.group.first.blockNumber() == found->first)
            return found->second.group;
    }
    QTextTable *table = tableOf(block);
    if (!table)
        return {};
    const QTextTableCell cell = table->cellAt(block.position());
    if (!cell.isValid())
        return {};
    RowGroup group;
    group.table = table;
    // The row and every row a cell of it spans, and theirs: a cell that
    // spans two rows stands in both at its column. Cells compare at once,
    // where asking one its row or span looks it up among all of them.
    const int columns = table->columns();
    const int rows = table->rows();
    const auto joined = [&](int upper) {
        for (int c = 0; c < columns; ++c) {
            if (table->cellAt(upper, c) == table->cellAt(upper + 1, c))
                return true;
        }
        return false;
    };
    group.firstRow = cell.row();
    group.lastRow = group.firstRow;
    while (group.firstRow > 0 && joined(group.firstRow - 1))
        --group.firstRow;
    while (group.lastRow + 1 < rows && joined(group.lastRow))
        ++group.lastRow;
    // By positions: a cell's cursors ask the layout where they are.
    const QTextDocument *doc = document();
    group.first = doc->findBlock(table->cellAt(group.firstRow, 0).firstPosition());
    group.last = group.lastRow + 1 < rows
        ? doc->findBlock(table->cellAt(group.lastRow + 1, 0).firstPosition()).previous()
        : doc->findBlock(table->lastPosition());
    if (cached) {
        constexpr std::size_t kGroupsKept = 4096;
        if (foundGroups_.size() >= kGroupsKept)
            foundGroups_.clear();
        foundGroups_[group.first.blockNumber()] = {group.last.blockNumber(), group};
    }
    return group;
}

namespace {

// Widths for tables that leave them to the layout, when lines do not wrap.
constexpr qreal kTableWidthWithoutWrap = 624;
// Tables in cells are laid out as tables this deep; deeper ones as their
// paragraphs.
constexpr int kDeepestLaidOutTable = 8;
constexpr qreal kNarrowestColumn = 16;

qreal padding(const QTextTableCellFormat &cell, const QTextTableFormat &table, QTextFormat::Property property)
{
    return cell.hasProperty(property) ? cell.doubleProperty(property) : table.cellPadding();
}

} // namespace

qreal EditorLayout::layoutGroup(const RowGroup &group, bool note, const QTextBlock &changed, bool lines) const
{
    const qreal page = availableWidth() < kUnlimitedWidth ? availableWidth() : kTableWidthWithoutWrap;
    const qreal total = layoutRows(group.table, group.firstRow, group.lastRow, {0, page}, 0, changed, lines);
    if (note && inStep()) {
        const int last = group.last.blockNumber();
        for (QTextBlock block = group.first; block.isValid(); block = block.next()) {
            const CellPlace *place = placeOf(block);
            Entry entry;
            entry.lines = place ? place->lines : 1;
            entry.laidOut = true;
            entry.linesKept = place && place->linesKept;
            entry.height = block.blockNumber() == last ? total : 0;
            metrics_.set(block.blockNumber(), entry);
            if (block.blockNumber() >= last)
                break;
        }
    }
    return total;
}

qreal EditorLayout::layoutRows(QTextTable *table, int firstRow, int lastRow, Span area, int depth,
                               const QTextBlock &changed, bool lines) const
{
    const QTextTableFormat format = table->format();
    const int columns = table->columns();
    const tableformat::ColumnCellFormats columnFormats(format, columns);
    std::vector<double> x =
        tablegeometry::columnEdges(format.columnWidthConstraints(), columns, area.width, kNarrowestColumn);
    // A table in a cell starts where the cell's text does: what files say of
    // its left edge is measured in more ways than one.
    qreal left = tablegeometry::tableLeft(x.back(), area.width, depth == 0 ? format.leftMargin() : 0,
                                          int(format.alignment()));
    if (depth == 0) {
        // A table may stand out into the page's margin, never out of the page.
        left = std::max(-margin(), left);
    } else {
        // A table in a cell stays in the cell, narrowed if need be.
        if (x.back() > area.width && x.back() > 0) {
            const double scale = area.width / x.back();
            for (double &edge : x)
                edge *= scale;
        }
        left = std::clamp<qreal>(left, 0, std::max<qreal>(0, area.width - x.back()));
    }
    for (double &edge : x)
        edge += area.left + left;
    widest_ = std::max<qreal>(widest_, x.back());

    struct Laid {
        QTextBlock first;
        QTextBlock last;
        qreal top = 0; // padding above
    };
    // The cells that start in these rows, in the order of the text: a cell
    // ends where the next one starts. A cell is the same at every place of
    // the grid it spans, and compares at once; asking one for its row, span
    // or end looks it up among all of them.
    struct Origin {
        int row;
        int column;
        QTextTableCell cell;
        QTextBlock first;
    };
    std::vector<Origin> origins;
    const int tableRows = table->rows();
    for (int r = firstRow; r <= lastRow; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if ((r > 0 && table->cellAt(r - 1, c) == cell) || (c > 0 && table->cellAt(r, c - 1) == cell))
                continue;
            origins.push_back({r, c, cell, document()->findBlock(cell.firstPosition())});
        }
    }
    const QTextBlock lastOfRows = lastRow + 1 < tableRows
        ? document()->findBlock(table->cellAt(lastRow + 1, 0).firstPosition()).previous()
        : document()->findBlock(table->lastPosition());
    std::vector<Laid> laid;
    std::vector<tablegeometry::CellHeight> heights;
    // The tables and frames in the cells, in the order of their positions.
    const QList<QTextFrame *> inside = table->childFrames();
    qsizetype nextInside = 0;
    const int rows = lastRow - firstRow + 1;
    for (std::size_t o = 0; o < origins.size(); ++o) {
        const Origin &origin = origins[o];
        const int r = origin.row;
        const int c = origin.column;
        const QTextTableCell &cell = origin.cell;
        const QTextTableCellFormat cellFormat = columnFormats.of(cell.format(), c);
        const qreal leftPad = padding(cellFormat, format, QTextFormat::TableCellLeftPadding);
        const qreal rightPad = padding(cellFormat, format, QTextFormat::TableCellRightPadding);
        const qreal topPad = padding(cellFormat, format, QTextFormat::TableCellTopPadding);
        const qreal bottomPad = padding(cellFormat, format, QTextFormat::TableCellBottomPadding);
        int end = c + 1;
        while (end < columns && table->cellAt(r, end) == cell)
            ++end;
        int rowSpan = 1;
        while (r + rowSpan < tableRows && table->cellAt(r + rowSpan, c) == cell)
            ++rowSpan;
        const qreal width = std::max<qreal>(1, x[std::size_t(end)] - x[std::size_t(c)] - leftPad - rightPad);
        const Laid cellLaid{origin.first, o + 1 < origins.size() ? origins[o + 1].first.previous() : lastOfRows,
                            topPad};
        qreal y = 0;
        for (QTextBlock block = cellLaid.first; block.isValid(); block = block.next()) {
            const int position = block.position();
            while (nextInside < inside.size() && inside[nextInside]->lastPosition() < position)
                ++nextInside;
            QTextTable *inner = nextInside < inside.size() && inside[nextInside]->firstPosition() <= position
                ? qobject_cast<QTextTable *>(inside[nextInside])
                : nullptr;
            if (inner && depth + 1 < kDeepestLaidOutTable && inner->rows() > 0 && inner->columns() > 0) {
                const qreal height = layoutRows(inner, 0, inner->rows() - 1,
                                                {x[std::size_t(c)] + leftPad, width}, depth + 1, changed, lines);
                const QTextBlock innerLast = document()->findBlock(inner->lastPosition());
                for (QTextBlock in = block; in.isValid(); in = in.next()) {
                    auto *place = const_cast<CellPlace *>(placeOf(in));
                    if (place) {
                        place->at.ry() += y;
                        if (place->cellFirst && place->depth > depth)
                            place->cell.translate(0, y);
                    }
                    if (in == innerLast)
                        break;
                }
                y += height;
                block = innerLast;
                if (block == cellLaid.last || !block.isValid())
                    break;
                continue;
            }
            auto *place = const_cast<CellPlace *>(placeOf(block));
            const bool fresh = !place;
            if (fresh) {
                place = new CellPlace(block);
                block.setUserData(place); // what it had before goes
            }
            // The paragraphs of the row an edit did not touch keep their lines.
            const bool keep = changed.isValid() && block != changed && !fresh && place->linesKept &&
                              qFuzzyCompare(1 + place->width, 1 + width) && block.layout()->lineCount() > 0;
            if (!keep) {
                // Measured only, a paragraph keeps no layout: hundreds of
                // bytes a cell, and its text shaped, for rows never shown.
                std::optional<Entry> entry = lines ? std::nullopt : uniformLine(block, width);
                if (entry) {
                    if (place->linesKept)
                        block.layout()->clearLayout();
                    place->linesKept = false;
                } else {
                    entry = layoutLines(block, *block.layout(), true, true, width);
                    place->linesKept = true;
                }
                place->height = entry->height;
                place->lines = entry->lines;
            }
            place->at = QPointF(x[std::size_t(c)] + leftPad, y);
            place->width = width;
            place->depth = depth;
            place->cellFirst = block == cellLaid.first;
            // Qt keeps an empty paragraph before a table that starts a
            // cell, where the file has none: it takes no room.
            const bool beforeTable = place->cellFirst && block.length() == 1 && nextInside < inside.size() &&
                                     inside[nextInside]->firstPosition() == position + 1;
            y += beforeTable ? 0 : place->height;
            if (block == cellLaid.last)
                break;
        }
        heights.push_back({r - firstRow, std::min(rowSpan, lastRow - r + 1), y + topPad + bottomPad});
        laid.push_back(cellLaid);
        auto *first = const_cast<CellPlace *>(placeOf(cellLaid.first));
        first->cell = QRectF(x[std::size_t(c)], 0, x[std::size_t(end)] - x[std::size_t(c)], 0);
        first->format = cellFormat;
    }
    const std::vector<double> rowHeights = tablegeometry::rowHeights(rows, heights, 0);
    std::vector<qreal> tops(std::size_t(rows) + 1, 0);
    for (int r = 0; r < rows; ++r)
        tops[std::size_t(r) + 1] = tops[std::size_t(r)] + rowHeights[std::size_t(r)];
    for (std::size_t i = 0; i < laid.size(); ++i) {
        const Laid &cellLaid = laid[i];
        const int r = heights[i].row;
        const qreal top = tops[std::size_t(r)];
        const qreal height = tops[std::size_t(r + heights[i].rowSpan)] - top;
        auto *first = const_cast<CellPlace *>(placeOf(cellLaid.first));
        first->cell.setTop(top);
        first->cell.setHeight(height);
        qreal shift = 0;
        const qreal room = height - heights[i].height;
        if (first->format.verticalAlignment() == QTextCharFormat::AlignMiddle)
            shift = room / 2;
        else if (first->format.verticalAlignment() == QTextCharFormat::AlignBottom)
            shift = room;
        const qreal down = top + cellLaid.top + std::max<qreal>(0, shift);
        for (QTextBlock block = cellLaid.first; block.isValid(); block = block.next()) {
            auto *place = const_cast<CellPlace *>(placeOf(block));
            if (place) {
                place->at.ry() += down;
                if (place->cellFirst && place->depth > depth)
                    place->cell.translate(0, down);
            }
            if (block == cellLaid.last)
                break;
        }
    }
    return tops.back();
}

void EditorLayout::keepCellShaping(CellPlace &place)
{
    place.paint = paints_;
    if (shapedCells_.insert(&place).second) {
        place.owner = this;
        place.block.layout()->setCacheEnabled(true);
    }
}

void EditorLayout::dropOldCellShaping()
{
    if (shapedCells_.size() <= kShapingKept * 4)
        return;
    // The cells painted longest ago let their lines and glyphs go; they keep
    // their places, and are laid out again when next shown. Those of the
    // paint just made stay, however many.
    const std::size_t painted = std::size_t(std::count_if(
        shapedCells_.begin(), shapedCells_.end(), [this](const CellPlace *place) { return place->paint == paints_; }));
    if (painted >= shapedCells_.size())
        return;
    for (CellPlace *old : paintedLongestAgo(shapedCells_, std::max(kShapingKept * 2, painted))) {
        shapedCells_.erase(old);
        old->owner = nullptr;
        QTextLayout *layout = old->block.layout();
        layout->setCacheEnabled(false);
        layout->clearLayout();
        old->linesKept = false;
    }
}

void EditorLayout::ensureGroupLaidOut(const RowGroup &group) const
{
    // A group's entries are set together: its first and last paragraphs
    // tell for all of them. Its paragraphs may have been measured only.
    const auto noted = [this](const QTextBlock &block) {
        return !inStep() || metrics_.at(block.blockNumber()).laidOut;
    };
    bool laidOut = noted(group.first) && noted(group.last);
    for (QTextBlock block = group.first; laidOut && block.isValid(); block = block.next()) {
        const CellPlace *place = placeOf(block);
        laidOut = place && place->linesKept && block.layout()->lineCount() > 0;
        if (block == group.last)
            break;
    }
    if (!laidOut)
        layoutGroup(group, inStep());
}

void EditorLayout::drawGroup(QPainter *painter, const PaintContext &context, const RowGroup &group,
                             const QPointF &origin)
{
    // A selection across cells takes whole cells: it is painted as theirs,
    // in this table or in one inside its cells.
    PaintContext own = context;
    struct SelectedCells {
        QTextTable *table;
        QRect cells; // columns by rows
        QTextCharFormat format;
    };
    std::vector<SelectedCells> selectedCells;
    own.selections.clear();
    const auto inGroup = [&](QTextFrame *frame) {
        while (frame && frame != group.table)
            frame = frame->parentFrame();
        return frame != nullptr;
    };
    for (const Selection &selection : context.selections) {
        QTextTable *table = selection.cursor.hasComplexSelection() ? selection.cursor.currentTable() : nullptr;
        if (table && inGroup(table)) {
            int row = 0, rows = 0, column = 0, columns = 0;
            selection.cursor.selectedTableCells(&row, &rows, &column, &columns);
            selectedCells.push_back({table, QRect(column, row, columns, rows), selection.format});
        } else {
            own.selections.append(selection);
        }
    }
    const auto selectionOf = [&](const QTextBlock &block) -> const QTextCharFormat * {
        for (const SelectedCells &selected : selectedCells) {
            const QTextTableCell cell = selected.table->cellAt(block.position());
            if (cell.isValid() &&
                selected.cells.intersects(QRect(cell.column(), cell.row(), cell.columnSpan(), cell.rowSpan())))
                return &selected.format;
        }
        return nullptr;
    };
    // Backgrounds, then text, then borders over both.
    std::vector<const CellPlace *> cells;
    const int last = group.last.blockNumber();
    const QRectF clip = context.clip;
    const auto shown = [&](const CellPlace &place) {
        return !clip.isValid() || clip.intersects(place.cell.translated(origin).adjusted(
                                      -kBorderOverhang, -kBorderOverhang, kBorderOverhang, kBorderOverhang));
    };
    for (QTextBlock block = group.first; block.isValid(); block = block.next()) {
        const CellPlace *place = placeOf(block);
        if (place && place->cellFirst && !place->format.hasProperty(tableformat::kAbsentCellProperty) &&
            shown(*place)) {
            cells.push_back(place);
            if (place->format.hasProperty(QTextFormat::BackgroundBrush))
                painter->fillRect(place->cell.translated(origin), place->format.background());
            if (const QTextCharFormat *selected = selectionOf(block))
                painter->fillRect(place->cell.translated(origin), selected->background());
        }
        if (block.blockNumber() >= last)
            break;
    }
    for (QTextBlock block = group.first; block.isValid(); block = block.next()) {
        const CellPlace *place = placeOf(block);
        // A row a cell spans many of is drawn as far as it is shown.
        if (place && clip.isValid() &&
            !clip.intersects(QRectF(origin + place->at, QSizeF(std::max<qreal>(1, place->width), place->height)))) {
            place = nullptr;
        }
        if (place) {
            PaintContext shown = own;
            if (const QTextCharFormat *selected = selectionOf(block)) {
                QTextCursor whole(block);
                whole.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
                shown.selections.append(Selection{whole, *selected});
            }
            keepCellShaping(*const_cast<CellPlace *>(place));
            drawBlock(painter, shown, block, origin + place->at, place->height);
        }
        if (block.blockNumber() >= last)
            break;
    }
    // A cell without borders of its own has its table's (pasted tables).
    const QTextTableFormat outer = group.table->format();
    painter->save();
    // Lines of one pen go together, in the order they come.
    std::vector<QLineF> pending;
    const auto flush = [&] {
        if (!pending.empty())
            painter->drawLines(pending.data(), int(pending.size()));
        pending.clear();
    };
    for (const CellPlace *place : cells) {
        const QTextTable *own = place->depth > 0 ? QTextCursor(place->block).currentTable() : nullptr;
        const QTextTableFormat table = own ? own->format() : outer;
        const QRectF box = place->cell.translated(origin);
        const QTextTableCellFormat &f = place->format;
        const auto line = [&](QTextFormat::Property width, QTextFormat::Property style, QTextFormat::Property brush,
                              QPointF from, QPointF to) {
            const bool own = f.hasProperty(width);
            const qreal w = own ? f.doubleProperty(width) : table.border();
            const auto lineStyle = own ? QTextFrameFormat::BorderStyle(f.intProperty(style)) : table.borderStyle();
            if (w <= 0 || lineStyle == QTextFrameFormat::BorderStyle_None)
                return;
            const QBrush paint = own ? f.brushProperty(brush) : table.borderBrush();
            // Thinner than a pixel is still seen, as a pixel.
            const QPen pen(paint.style() == Qt::NoBrush ? QBrush(Qt::black) : paint, std::max<qreal>(1, w));
            if (pen != painter->pen()) {
                flush();
                painter->setPen(pen);
            }
            pending.emplace_back(from, to);
        };
        using F = QTextFormat;
        line(F::TableCellTopBorder, F::TableCellTopBorderStyle, F::TableCellTopBorderBrush, box.topLeft(),
             box.topRight());
        line(F::TableCellBottomBorder, F::TableCellBottomBorderStyle, F::TableCellBottomBorderBrush,
             box.bottomLeft(), box.bottomRight());
        line(F::TableCellLeftBorder, F::TableCellLeftBorderStyle, F::TableCellLeftBorderBrush, box.topLeft(),
             box.bottomLeft());
        line(F::TableCellRightBorder, F::TableCellRightBorderStyle, F::TableCellRightBorderBrush, box.topRight(),
             box.bottomRight());
    }
    flush();
    painter->restore();
}

int EditorLayout::hitGroup(const RowGroup &group, const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    // The cell under the point, or the nearest one.
    // A cell of a table in a cell is nearer than the cell it stands in.
    QTextBlock found;
    int depth = 0;
    qreal nearest = std::numeric_limits<qreal>::max();
    const int last = group.last.blockNumber();
    for (QTextBlock block = group.first; block.isValid(); block = block.next()) {
        const CellPlace *place = placeOf(block);
        if (place && place->cellFirst) {
            const QRectF &cell = place->cell;
            const qreal dx = std::max<qreal>({cell.left() - point.x(), 0, point.x() - cell.right()});
            const qreal dy = std::max<qreal>({cell.top() - point.y(), 0, point.y() - cell.bottom()});
            if (dx + dy < nearest || (dx + dy == nearest && place->depth > depth)) {
                nearest = dx + dy;
                found = block;
                depth = place->depth;
            }
        }
        if (block.blockNumber() >= last)
            break;
    }
    if (!found.isValid() || (accuracy == Qt::ExactHit && nearest > 0))
        return -1;
    // Its paragraph at the point's height, not one of a table inside it.
    const QTextTable *table = depth > 0 ? QTextCursor(found).currentTable() : group.table;
    const int cellEnd = table->cellAt(found.position()).lastPosition();
    for (QTextBlock next = found.next(); next.isValid() && next.position() <= cellEnd; next = next.next()) {
        const CellPlace *place = placeOf(next);
        if (place && place->depth != depth)
            continue;
        if (!place || point.y() < place->at.y())
            break;
        found = next;
    }
    const CellPlace *place = placeOf(found);
    const QTextLayout *layout = found.layout();
    if (!place || layout->lineCount() == 0)
        return accuracy == Qt::ExactHit ? -1 : found.position();
    const QPointF inBlock = point - place->at;
    QTextLine line = layout->lineAt(0);
    for (int i = 0; i < layout->lineCount(); ++i) {
        line = layout->lineAt(i);
        if (inBlock.y() < line.y() + line.height())
            break;
    }
    if (accuracy == Qt::ExactHit) {
        const QRectF text = line.naturalTextRect();
        if (inBlock.y() < line.y() || inBlock.y() >= line.y() + line.height() || inBlock.x() < text.left() ||
            inBlock.x() >= text.right())
            return -1;
        return found.position() + line.xToCursor(inBlock.x(), QTextLine::CursorOnCharacter);
    }
    return found.position() + line.xToCursor(inBlock.x(), QTextLine::CursorBetweenCharacters);
}

#include "EditorLayout.moc"
