#include "editor/EditorLayout.h"

#include "editor/Links.h"
#include "formats/ParagraphFormat.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QRawFont>
#include <QStyle>
#include <QTextBoundaryFinder>
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
constexpr float kUnknownAdvance = -2;
constexpr float kShapedAdvance = -1;

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
    plainAdvances_.clear();
    plainMetrics_.reset();
    plainLineHeight_.reset();
    metrics_.clear();
    widest_ = 0;
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
    QString inserted;
    if (from == expectedFrom_ && removed == 0 && added == expectedText_.size())
        inserted = std::move(expectedText_);
    expectedFrom_ = -1;
    expectedText_ = QString();
    if (stale_)
        return; // all made anew when next asked
    const std::optional<ChangedBlocks> changed = changedBlocks(from, added, !inserted.isEmpty());
    if (!changed) {
        markStale();
        return;
    }
    const qreal top = metrics_.top(changed->first);
    qreal oldHeight = 0;
    for (int k = 0; k < changed->oldCount; ++k)
        oldHeight += metrics_.at(changed->first + k).height;
    const qreal newHeight = replaceEntries(*changed, inserted);
    if (!inStep()) {
        markStale(); // never expected: the document and the entries disagree
        return;
    }
    repaintChange(*changed, top, oldHeight, newHeight);
    reportSize();
    if (changed->newCount > kLayOutAtOnce)
        scheduleBackground();
}

// None when the change is better followed by making every entry anew: most
// of the document changed, and its new lines not measured from their text.
std::optional<EditorLayout::ChangedBlocks> EditorLayout::changedBlocks(int from, int added, bool textKnown) const
{
    const QTextDocument *doc = document();
    const int count = doc->blockCount();
    const int last = doc->characterCount() - 1;
    ChangedBlocks changed;
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
    QTextBlock block = document()->findBlockByNumber(changed.first);
    for (int k = 0; k < changed.newCount && block.isValid(); ++k, block = block.next()) {
        std::optional<Entry> measured;
        if (!layOut && k > 0 && line > 0) {
            // Every line of one insertion takes the formats of the second paragraph.
            plain = k == 1 ? isPlainParagraph(block) : plain;
            qsizetype end = inserted.indexOf(QLatin1Char('\n'), line);
            end = end < 0 ? inserted.size() : end;
            if (plain)
                measured = singleLine(block, inserted.sliced(line, end - line));
            line = end + 1;
        }
        fresh.push_back(layOut ? layoutBlock(block) : measured ? *measured : estimate(block));
        height += fresh.back().height;
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
        active_ = block.length() > kShortParagraph && word_.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
        if (!active_)
            return;
        // What the layout lays out: a layout of its own has its text, a
        // paragraph's has the paragraph's with what is being composed.
        text_ = layout.text();
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
    return layoutLines(block, *block.layout());
}


qreal EditorLayout::plainAdvance(QChar c) const
{
    const ushort code = c.unicode();
    if (plainAdvances_.empty()) {
        plainAdvances_.assign(std::size_t(1) << 16, kUnknownAdvance);
        plainMetrics_.emplace(document()->defaultFont());
        plainFont_ = QRawFont::fromFont(document()->defaultFont());
    }
    float &advance = plainAdvances_[code];
    if (advance == kUnknownAdvance) {
        // Left-to-right or neutral characters of the font itself, drawn alone
        // as they are in a line: anything else is shaped. A soft line break
        // counts as white space but starts a line.
        static constexpr QChar::Direction kPlain[] = {QChar::DirL,  QChar::DirEN, QChar::DirES, QChar::DirET,
                                                      QChar::DirCS, QChar::DirWS, QChar::DirON};
        const bool plain = code >= 0x20 && code != 0xAD && c != QChar::LineSeparator && !c.isSurrogate() &&
                           !c.isMark() &&
                           std::find(std::begin(kPlain), std::end(kPlain), c.direction()) != std::end(kPlain) &&
                           plainFont_.supportsCharacter(c); // the font itself, not a fallback
        advance = plain ? static_cast<float>(plainMetrics_->horizontalAdvance(c)) : kShapedAdvance;
    }
    return advance;
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
    if (!isPlainParagraph(block))
        return layoutBlock(block);
    if (const std::optional<Entry> line = singleLine(block))
        return *line;
    QTextLayout scratch(block.text(), document()->defaultFont());
    Entry entry = layoutLines(block, scratch);
    entry.linesKept = false;
    return entry;
}

EditorLayout::Entry EditorLayout::layoutLines(const QTextBlock &block, QTextLayout &layout) const
{
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
    layout.setTextOption(option);

    qreal indent = format.indent() * document()->indentWidth();
    if (const QTextList *list = block.textList())
        indent += list->format().indent() * document()->indentWidth();
    const qreal left = format.leftMargin() + indent;
    const qreal right = format.rightMargin();
    const qreal firstLine = format.textIndent();
    const qreal markerEnd =
        block.textList() && direction != Qt::RightToLeft ? listMarker(block).textFrom : 0;

    qreal y = format.topMargin();
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
    layout.setPosition(QPointF(0, 0));
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
    metrics_.set(blockNumber, layoutBlock(block));
}

void EditorLayout::measureOnly(int blockNumber, const QTextBlock &block) const
{
    metrics_.set(blockNumber, measureOnly(block));
}

void EditorLayout::ensureLaidOut(const QTextBlock &block) const
{
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
    layoutThrough(blockNumber);
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
    if (inStep())
        layoutThrough(block.blockNumber());
    ensureLaidOut(block);
    const qreal m = margin();
    const qreal width = std::min(availableWidth(), std::max<qreal>(0, documentSize().width() - 2 * m));
    if (!inStep()) {
        // In the middle of an edit: where the paragraph was, roughly.
        return QRectF(m, m, width, block.layout()->boundingRect().height());
    }
    const int number = block.blockNumber();
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
    const bool current = inStep();
    for (ShapingKept *kept : oldest) {
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
    const int first = clip.isValid() ? metrics_.atY(clip.top() - m, &top) : 0;
    QTextBlock block = document()->findBlockByNumber(first);
    for (int number = first; block.isValid() && number < metrics_.count(); ++number, block = block.next()) {
        if (clip.isValid() && m + top > clip.bottom())
            break;
        ensureLaidOut(block);
        const qreal height = metrics_.at(number).height;
        const QPointF origin(m, m + top);
        top += height;
        if (clip.isValid() && origin.y() + height < clip.top())
            continue;
        drawBlock(painter, context, block, origin, height);
    }
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
        drawListMarker(painter, origin, block);

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

void EditorLayout::drawListMarker(QPainter *painter, const QPointF &origin, const QTextBlock &block) const
{
    const QTextLine first = block.layout()->lineAt(0);
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

#include "EditorLayout.moc"
