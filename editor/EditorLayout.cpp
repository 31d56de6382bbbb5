#include "editor/EditorLayout.h"

#include "editor/Links.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextObjectInterface>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::size_t kChunkSize = 256;
// An edit that makes more paragraphs than this is estimated and laid out
// later, like a whole new text; fewer are laid out at once.
constexpr int kLayOutAtOnce = 512;
constexpr qint64 kBackgroundSliceMs = 8;
// Paragraphs whose shaped glyphs are kept for the next paint: a few screens.
constexpr std::size_t kShapingKept = 512;
constexpr qreal kWidthStep = 128;
// Width for lines when the document has no page width: nothing wraps.
constexpr qreal kUnlimitedWidth = 1e6;

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

void EditorLayout::Chunk::resum()
{
    dirty = false;
    height = 0;
    lines = 0;
    notLaidOut = 0;
    for (const Entry &entry : entries) {
        height += entry.height;
        lines += entry.lines;
        notLaidOut += entry.laidOut ? 0 : 1;
    }
}

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
    // Width, wrap mode and font change only through a rebuild: the estimates
    // are fixed here once for every paragraph.
    const QFontMetricsF metrics(document()->defaultFont());
    estimatedLineHeight_ = metrics.lineSpacing();
    const qreal width = availableWidth();
    const bool wraps = document()->defaultTextOption().wrapMode() != QTextOption::NoWrap && width < kUnlimitedWidth;
    estimatedCharsPerLine_ = wraps && metrics.averageCharWidth() > 0 ? width / metrics.averageCharWidth() : 0;
    chunks_.clear();
    widest_ = 0;
    Chunk chunk;
    chunk.entries.reserve(kChunkSize);
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        chunk.entries.push_back(estimate(block));
        if (chunk.entries.size() == kChunkSize) {
            chunk.resum();
            chunks_.push_back(std::move(chunk));
            chunk = Chunk();
            chunk.entries.reserve(kChunkSize);
        }
    }
    if (!chunk.entries.empty() || chunks_.empty()) {
        chunk.resum();
        chunks_.push_back(std::move(chunk));
    }
    totalBlocks_ = document()->blockCount();
    scheduleBackground();
}

EditorLayout::Place EditorLayout::place(int blockNumber, bool pastLast) const
{
    std::size_t chunk = 0;
    std::size_t index = static_cast<std::size_t>(std::max(0, blockNumber));
    while (chunk + 1 < chunks_.size() && index >= chunks_[chunk].entries.size()) {
        index -= chunks_[chunk].entries.size();
        ++chunk;
    }
    const std::size_t size = chunks_[chunk].entries.size();
    if (pastLast)
        return {chunk, std::min(index, size)};
    return {chunk, size == 0 ? 0 : std::min(index, size - 1)};
}

qreal EditorLayout::blockTop(int blockNumber) const
{
    const Place at = place(blockNumber);
    qreal top = 0;
    for (std::size_t c = 0; c < at.chunk; ++c)
        top += chunks_[c].height;
    const auto &entries = chunks_[at.chunk].entries;
    for (std::size_t i = 0; i < at.index; ++i)
        top += entries[i].height;
    return top;
}

int EditorLayout::blockAtY(qreal y, qreal *top) const
{
    qreal above = 0;
    int number = 0;
    std::size_t c = 0;
    while (c + 1 < chunks_.size() && above + chunks_[c].height <= y) {
        above += chunks_[c].height;
        number += static_cast<int>(chunks_[c].entries.size());
        ++c;
    }
    const auto &entries = chunks_[c].entries;
    std::size_t i = 0;
    while (i + 1 < entries.size() && above + entries[i].height <= y) {
        above += entries[i].height;
        ++i;
    }
    *top = above;
    return number + static_cast<int>(i);
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
        totalBlocks_ == document()->blockCount()) {
        markStale();
        return;
    }
    applyChange(from, charsRemoved, charsAdded);
    applied_ = ChangeKey();
}

void EditorLayout::applyChange(int from, int removed, int added)
{
    QTextDocument *doc = document();
    applied_ = ChangeKey{from, removed, added, doc->revision()};
    if (stale_)
        return; // all made anew when next asked
    const int count = doc->blockCount();
    const int last = doc->characterCount() - 1;
    const int first = doc->findBlock(std::clamp(from, 0, last)).blockNumber();
    const int lastChanged = doc->findBlock(std::clamp(from + added, 0, last)).blockNumber();
    const int newEntries = lastChanged - first + 1;
    const int oldEntries = newEntries - (count - totalBlocks_);
    if (first < 0 || oldEntries < 1 || first + oldEntries > totalBlocks_ ||
        (newEntries > kLayOutAtOnce && newEntries > count / 2)) {
        markStale();
        return;
    }

    const qreal top = blockTop(first);
    // Take out the entries of the paragraphs the change touched.
    qreal oldHeight = 0;
    {
        Place at = place(first);
        int left = oldEntries;
        std::size_t c = at.chunk;
        std::size_t i = at.index;
        while (left > 0 && c < chunks_.size()) {
            auto &entries = chunks_[c].entries;
            const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(left), entries.size() - i);
            for (std::size_t k = i; k < i + take; ++k)
                oldHeight += entries[k].height;
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i),
                          entries.begin() + static_cast<std::ptrdiff_t>(i + take));
            left -= static_cast<int>(take);
            chunks_[c].dirty = true;
            ++c;
            i = 0;
        }
    }
    totalBlocks_ -= oldEntries;
    // Put in the new ones, laid out now when they are few.
    const Place insertAt = place(first, true);
    std::vector<Entry> fresh;
    fresh.reserve(static_cast<std::size_t>(newEntries));
    QTextBlock block = doc->findBlockByNumber(first);
    for (int k = 0; k < newEntries && block.isValid(); ++k, block = block.next()) {
        Entry entry = estimate(block);
        if (newEntries <= kLayOutAtOnce)
            layoutBlock(block, entry);
        fresh.push_back(entry);
    }
    auto &target = chunks_[insertAt.chunk].entries;
    target.insert(target.begin() + static_cast<std::ptrdiff_t>(insertAt.index), fresh.begin(), fresh.end());
    totalBlocks_ += static_cast<int>(fresh.size());

    // Sums, and chunks kept between empty and twice their size.
    chunks_[insertAt.chunk].dirty = true;
    chunks_.erase(std::remove_if(chunks_.begin(), chunks_.end(), [](const Chunk &chunk) { return chunk.entries.empty(); }),
                  chunks_.end());
    if (chunks_.empty())
        chunks_.emplace_back();
    splitLargeChunks();
    for (auto &chunk : chunks_) {
        if (chunk.dirty)
            chunk.resum();
    }
    if (totalBlocks_ != count) {
        markStale(); // never expected: the document and the entries disagree
        return;
    }

    qreal newHeight = 0;
    for (const Entry &entry : fresh)
        newHeight += entry.height;
    const qreal m = margin();
    if (newEntries == oldEntries && qFuzzyCompare(1 + newHeight, 1 + oldHeight))
        Q_EMIT update(QRectF(0, m + top, kUnlimitedWidth, newHeight));
    else
        Q_EMIT update(QRectF(0, m + top, kUnlimitedWidth, kUnlimitedWidth * 1e3));
    reportSize();
    if (newEntries > kLayOutAtOnce)
        scheduleBackground();
}

void EditorLayout::splitLargeChunks()
{
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        if (chunks_[c].entries.size() <= 2 * kChunkSize)
            continue;
        Chunk rest;
        auto &entries = chunks_[c].entries;
        rest.entries.assign(entries.begin() + static_cast<std::ptrdiff_t>(kChunkSize), entries.end());
        entries.resize(kChunkSize);
        chunks_[c].dirty = true;
        rest.dirty = true;
        chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(c + 1), std::move(rest));
    }
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

} // namespace

qreal EditorLayout::layoutBlock(const QTextBlock &block, Entry &entry) const
{
    QTextLayout *layout = block.layout();
    const QTextBlockFormat format = block.blockFormat();
    const Qt::LayoutDirection direction = block.textDirection();
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(direction);
    option.setAlignment(QStyle::visualAlignment(direction, format.alignment()));
    const qreal width = availableWidth();
    if (format.nonBreakableLines() || width >= kUnlimitedWidth)
        option.setWrapMode(QTextOption::ManualWrap);
    if (format.hasProperty(QTextFormat::TabPositions))
        option.setTabs(format.tabPositions());
    layout->setTextOption(option);

    qreal indent = format.indent() * document()->indentWidth();
    if (const QTextList *list = block.textList())
        indent += list->format().indent() * document()->indentWidth();
    const qreal left = format.leftMargin() + indent;
    const qreal right = format.rightMargin();
    const qreal firstLine = format.textIndent();

    qreal y = format.topMargin();
    qreal widest = 0;
    layout->beginLayout();
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        qreal x = left;
        qreal lineWidth = width - left - right;
        if (line.lineNumber() == 0) {
            lineWidth -= firstLine;
            if (direction != Qt::RightToLeft)
                x += firstLine;
        }
        line.setLineWidth(std::max<qreal>(0, lineWidth));
        line.setPosition(QPointF(x, y));
        y += lineAdvance(format, line.height());
        // A wrapped line may run a fraction of a pixel past its width; only
        // what cannot wrap (a wide picture, a line without wrap) widens the text.
        qreal used = line.naturalTextWidth();
        if (used <= lineWidth + 1)
            used = std::min(used, std::max<qreal>(0, lineWidth));
        widest = std::max(widest, x + used + right);
    }
    layout->endLayout();
    layout->setPosition(QPointF(0, 0));
    y += format.bottomMargin();

    const qreal change = y - entry.height;
    entry.height = y;
    entry.lines = std::max(1, layout->lineCount());
    entry.laidOut = true;
    widest_ = std::max(widest_, widest);
    return change;
}

void EditorLayout::setEntry(Place at, const QTextBlock &block) const
{
    Chunk &chunk = chunks_[at.chunk];
    Entry &entry = chunk.entries[at.index];
    const int oldLines = entry.lines;
    const bool wasLaidOut = entry.laidOut;
    chunk.height += layoutBlock(block, entry);
    chunk.lines += entry.lines - oldLines;
    if (!wasLaidOut)
        --chunk.notLaidOut;
}

void EditorLayout::ensureLaidOut(const QTextBlock &block) const
{
    QTextLayout *layout = block.layout();
    if (document()->blockCount() != totalBlocks_) {
        // Asked in the middle of an edit, before the change is known: lay the
        // paragraph out for its lines and leave the sums to the change.
        if (layout->lineCount() == 0) {
            Entry scratch;
            layoutBlock(block, scratch);
        }
        return;
    }
    const Place at = place(block.blockNumber());
    if (!chunks_[at.chunk].entries[at.index].laidOut || layout->lineCount() == 0)
        setEntry(at, block);
}

template <typename Visit> void EditorLayout::forEachEntry(Place at, QTextBlock block, Visit visit) const
{
    for (std::size_t c = at.chunk; c < chunks_.size() && block.isValid(); ++c) {
        for (std::size_t i = (c == at.chunk ? at.index : 0); i < chunks_[c].entries.size() && block.isValid(); ++i) {
            if (!visit(Place{c, i}, block))
                return;
            block = block.next();
        }
    }
}

bool EditorLayout::layoutPrefix(int lastBlock, qreal lastY, const QElapsedTimer *slice) const
{
    qreal top = 0;
    int number = 0;
    for (std::size_t c = 0; c < chunks_.size() && number <= lastBlock && top <= lastY; ++c) {
        Chunk &chunk = chunks_[c];
        if (chunk.notLaidOut > 0) {
            qreal at = top;
            QTextBlock block = document()->findBlockByNumber(number);
            for (std::size_t i = 0; i < chunk.entries.size() && block.isValid(); ++i, block = block.next()) {
                if (number + static_cast<int>(i) > lastBlock || at > lastY)
                    return true;
                if (!chunk.entries[i].laidOut) {
                    setEntry(Place{c, i}, block);
                    if (slice && slice->elapsed() >= kBackgroundSliceMs)
                        return false;
                }
                at += chunk.entries[i].height;
            }
        }
        top += chunk.height;
        number += static_cast<int>(chunk.entries.size());
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
    layoutThrough(blockNumber);
    const Place at = place(blockNumber);
    int line = 0;
    for (std::size_t c = 0; c < at.chunk; ++c)
        line += chunks_[c].lines;
    for (std::size_t i = 0; i < at.index; ++i)
        line += chunks_[at.chunk].entries[i].lines;
    return line;
}

int EditorLayout::blockOfLine(int line, int *firstLine)
{
    ensureCurrent();
    if (line < 0)
        return -1;
    int before = 0;
    int number = 0;
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        const int size = static_cast<int>(chunks_[c].entries.size());
        // Estimated line counts may be off either way: count laid-out lines only.
        if (chunks_[c].notLaidOut > 0)
            layoutPrefix(number + size - 1, std::numeric_limits<qreal>::max());
        const Chunk &chunk = chunks_[c];
        if (before + chunk.lines > line) {
            for (const Entry &entry : chunk.entries) {
                if (before + entry.lines > line) {
                    *firstLine = before;
                    return number;
                }
                before += entry.lines;
                ++number;
            }
        }
        before += chunk.lines;
        number += size;
    }
    return -1;
}

int EditorLayout::lineCount()
{
    layoutAll();
    int lines = 0;
    for (const Chunk &chunk : chunks_)
        lines += chunk.lines;
    return lines;
}

void EditorLayout::layoutAll()
{
    ensureCurrent();
    layoutThrough(totalBlocks_ - 1);
    reportSize();
}

int EditorLayout::blocksNotLaidOut() const
{
    ensureCurrent();
    int count = 0;
    for (const Chunk &chunk : chunks_)
        count += chunk.notLaidOut;
    return count;
}

void EditorLayout::scheduleBackground()
{
    if (!background_.isActive())
        background_.start();
}

void EditorLayout::backgroundStep()
{
    ensureCurrent();
    QElapsedTimer slice;
    slice.start();
    int number = 0;
    qreal top = 0;
    for (std::size_t c = 0; c < chunks_.size() && chunks_[c].notLaidOut == 0; ++c) {
        number += static_cast<int>(chunks_[c].entries.size());
        top += chunks_[c].height;
    }
    if (number == totalBlocks_)
        return;
    const bool done = layoutPrefix(std::numeric_limits<int>::max(), std::numeric_limits<qreal>::max(), &slice);
    Q_EMIT update(QRectF(0, margin() + top, kUnlimitedWidth, kUnlimitedWidth * 1e3));
    reportSize();
    if (!done)
        background_.start();
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
    qreal height = 0;
    for (const Chunk &chunk : chunks_)
        height += chunk.height;
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
    if (frame != document()->rootFrame())
        return {};
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF EditorLayout::blockBoundingRect(const QTextBlock &block) const
{
    ensureCurrent();
    if (!block.isValid() || block.document() != document())
        return {};
    // Everything above a paragraph is laid out before it is placed: what is
    // shown never moves when the paragraphs before it are laid out later.
    if (document()->blockCount() == totalBlocks_)
        layoutThrough(block.blockNumber());
    else
        ensureLaidOut(block);
    const qreal m = margin();
    const qreal width = std::min(availableWidth(), std::max<qreal>(0, documentSize().width() - 2 * m));
    if (document()->blockCount() != totalBlocks_) {
        // In the middle of an edit: where the paragraph was, roughly.
        return QRectF(m, m, width, block.layout()->boundingRect().height());
    }
    const int number = block.blockNumber();
    const Place at = place(number);
    return QRectF(m, m + blockTop(number), width, chunks_[at.chunk].entries[at.index].height);
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
    const QTextBlock block = document()->findBlockByNumber(blockAtY(std::max<qreal>(0, y), &top));
    ensureLaidOut(block);
    const QTextLayout *layout = block.layout();
    const qreal inBlockY = y - top;
    if (layout->lineCount() == 0)
        return exact ? -1 : block.position();
    QTextLine line = layout->lineAt(0);
    for (int i = 0; i < layout->lineCount(); ++i) {
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
        return block.position() + line.xToCursor(x, QTextLine::CursorOnCharacter);
    }
    return block.position() + line.xToCursor(x, QTextLine::CursorBetweenCharacters);
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
    std::vector<ShapingKept *> oldest(kept_.begin(), kept_.end());
    const auto keep = static_cast<std::ptrdiff_t>(kShapingKept / 2);
    std::nth_element(oldest.begin(), oldest.end() - keep, oldest.end(),
                     [](const ShapingKept *a, const ShapingKept *b) { return a->paint < b->paint; });
    oldest.resize(oldest.size() - static_cast<std::size_t>(keep));
    const bool inStep = document()->blockCount() == totalBlocks_;
    for (ShapingKept *kept : oldest) {
        QTextBlock block = kept->block;
        block.layout()->setCacheEnabled(false);
        block.setUserData(nullptr); // deletes the mark
        // Laid out again without the cache, the glyphs are let go.
        if (inStep && block.layout()->lineCount() > 0)
            setEntry(place(block.blockNumber()), block);
    }
}

void EditorLayout::draw(QPainter *painter, const PaintContext &context)
{
    ensureCurrent();
    if (document()->blockCount() != totalBlocks_)
        rebuild(); // never expected outside an edit
    const QRectF clip = context.clip;
    const qreal m = margin();
    qreal top = 0;
    if (clip.isValid())
        layoutThroughY(clip.bottom() - m);
    const int first = clip.isValid() ? blockAtY(clip.top() - m, &top) : 0;
    QTextBlock block = document()->findBlockByNumber(first);
    const int cursorWidth = property("cursorWidth").toInt();
    const QTextCharFormat linkFormat = links::format();
    const qreal pageWidth = availableWidth();

    forEachEntry(place(first), block, [&](Place at, const QTextBlock &b) {
        if (clip.isValid() && m + top > clip.bottom())
            return false;
        ensureLaidOut(b);
        const qreal height = chunks_[at.chunk].entries[at.index].height;
        const QPointF origin(m, m + top);
        top += height;
        if (clip.isValid() && origin.y() + height < clip.top())
            return true;

        QTextLayout *layout = b.layout();
        keepShaping(b);
        const QTextBlockFormat format = b.blockFormat();
        if (format.hasProperty(QTextFormat::BackgroundBrush))
            painter->fillRect(QRectF(origin, QSizeF(std::min(pageWidth, widest_), height)), format.background());

        const int position = b.position();
        const int length = b.length();
        QList<QTextLayout::FormatRange> ranges;
        if (linksShown_) {
            for (const links::Link &link : links::find(b.text()))
                ranges.append({link.start, link.length, linkFormat});
        }
        for (const Selection &selection : context.selections) {
            const int start = selection.cursor.selectionStart() - position;
            const int end = selection.cursor.selectionEnd() - position;
            if (start < length && end > 0 && end > start) {
                const int from = std::max(start, 0);
                ranges.append({from, std::min(end, length) - from, selection.format});
            } else if (!selection.cursor.hasSelection() &&
                       selection.format.hasProperty(QTextFormat::FullWidthSelection) &&
                       b.contains(selection.cursor.position())) {
                const QTextLine line = layout->lineForTextPosition(selection.cursor.position() - position);
                if (line.isValid())
                    ranges.append({line.textStart(), std::max(1, line.textLength()), selection.format});
            }
        }
        painter->setPen(context.palette.color(QPalette::Text));
        layout->draw(painter, origin, ranges, clip.isValid() ? clip : QRectF());
        if (b.textList())
            drawListMarker(painter, origin, b);

        const int cursor = context.cursorPosition;
        if ((cursor >= position && cursor < position + length) ||
            (cursor < -1 && !layout->preeditAreaText().isEmpty())) {
            const int inBlock = cursor < -1 ? layout->preeditAreaPosition() - (cursor + 2) : cursor - position;
            painter->setPen(context.palette.color(QPalette::Text));
            layout->drawCursor(painter, origin, inBlock, cursorWidth);
        }
        return true;
    });
    ++paints_;
    dropOldShaping();
    if (documentSize() != reportedSize_)
        QMetaObject::invokeMethod(this, [this] { reportSize(); }, Qt::QueuedConnection);
}

void EditorLayout::drawListMarker(QPainter *painter, const QPointF &origin, const QTextBlock &block) const
{
    const QTextLine first = block.layout()->lineAt(0);
    if (!first.isValid())
        return;
    const QTextList *list = block.textList();
    const QTextListFormat::Style style = list->format().style();
    QTextCharFormat charFormat = block.charFormat();
    if (auto it = block.begin(); !it.atEnd())
        charFormat = it.fragment().charFormat();
    const QFont font = charFormat.font();
    const QFontMetricsF metrics(font);
    const QRectF textRect = first.naturalTextRect();
    const QPointF at = origin + textRect.topLeft();
    QString text;
    QSizeF size;
    const bool bullet =
        style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle || style == QTextListFormat::ListSquare;
    if (bullet) {
        size = QSizeF(metrics.lineSpacing() / 3, metrics.lineSpacing() / 3);
    } else {
        text = list->itemText(block);
        size = QSizeF(metrics.horizontalAdvance(text), metrics.height());
    }
    QRectF marker(at, size);
    marker.translate(-metrics.horizontalAdvance(QLatin1Char(' ')) - size.width(),
                     metrics.height() / 2 - size.height() / 2);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QBrush brush = charFormat.hasProperty(QTextFormat::ForegroundBrush) ? charFormat.foreground()
                                                                             : painter->pen().brush();
    if (bullet) {
        if (style == QTextListFormat::ListSquare) {
            painter->fillRect(marker, brush);
        } else if (style == QTextListFormat::ListCircle) {
            painter->setPen(QPen(brush, 0));
            painter->setBrush(Qt::NoBrush);
            painter->drawEllipse(marker);
        } else {
            painter->setPen(Qt::NoPen);
            painter->setBrush(brush);
            painter->drawEllipse(marker);
        }
    } else {
        painter->setFont(font);
        painter->setPen(QPen(brush, 0));
        painter->drawText(QPointF(marker.left(), at.y() + metrics.ascent()), text);
    }
    painter->restore();
}

#include "EditorLayout.moc"
