#include "editor/RichEditAccessible.h"
#include "editor/TextMarks.h"

#include "editor/EditorLayout.h"
#include "editor/TRxRichEdit.h"
#include "platform/VeltrixError.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

// The Value text: as much of the start as a change announcement carries. The
// whole text of a large document would go over the bus at every question.
constexpr int kValueCharacters = 4096;

QString escapedFamily(QString family)
{
    for (const QChar c : {u'\\', u':', u',', u'=', u';', u'"'})
        family.replace(c, QStringLiteral("\\") + c);
    return family;
}

QString rgb(const QColor &color)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

// IAccessible2's names of the underline styles; empty without an underline.
QString underlineStyle(const QTextCharFormat &format, const QFont &font)
{
    switch (format.underlineStyle()) {
    case QTextCharFormat::NoUnderline: return font.underline() ? QStringLiteral("solid") : QString();
    case QTextCharFormat::SingleUnderline: return QStringLiteral("solid");
    case QTextCharFormat::DashUnderline:
    case QTextCharFormat::DotLine: return QStringLiteral("dash");
    case QTextCharFormat::DashDotLine: return QStringLiteral("dot-dash");
    case QTextCharFormat::DashDotDotLine: return QStringLiteral("dot-dot-dash");
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: return QStringLiteral("wave");
    }
    return QStringLiteral("solid");
}

} // namespace

RichEditAccessible::RichEditAccessible(TRxRichEdit *editor) : QAccessibleWidget(editor, QAccessible::EditableText) {}

TRxRichEdit *RichEditAccessible::editor() const
{
    return static_cast<TRxRichEdit *>(widget());
}

QTextDocument *RichEditAccessible::document() const
{
    return editor()->document();
}

void *RichEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State RichEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectableText = true;
    state.multiLine = true;
    if (editor()->isReadOnly())
        state.readOnly = true;
    else
        state.editable = true;
    return state;
}

QString RichEditAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return text(0, std::min(characterCount(), kValueCharacters));
    return QAccessibleWidget::text(type);
}

void RichEditAccessible::setText(QAccessible::Text type, const QString &text)
{
    if (type != QAccessible::Value) {
        QAccessibleWidget::setText(type, text);
        return;
    }
    edit(0, characterCount(), text);
}

// Selection and caret ----------------------------------------------------------

void RichEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = editor()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int RichEditAccessible::selectionCount() const
{
    return editor()->textCursor().hasSelection() ? 1 : 0;
}

void RichEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void RichEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = editor()->textCursor();
    cursor.clearSelection();
    editor()->setTextCursor(cursor);
}

void RichEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    const int count = characterCount();
    QTextCursor cursor(document());
    cursor.setPosition(std::clamp(startOffset, 0, count));
    cursor.setPosition(std::clamp(endOffset, 0, count), QTextCursor::KeepAnchor);
    editor()->setTextCursor(cursor);
}

int RichEditAccessible::cursorPosition() const
{
    return editor()->textCursor().position();
}

void RichEditAccessible::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

// Text ---------------------------------------------------------------------------

int RichEditAccessible::characterCount() const
{
    return document()->characterCount() - 1; // the last paragraph end is no character
}

QString RichEditAccessible::text(int startOffset, int endOffset) const
{
    const int count = characterCount();
    const int start = std::clamp(std::min(startOffset, endOffset), 0, count);
    const int end = std::clamp(std::max(startOffset, endOffset), 0, count);
    QString text;
    text.reserve(end - start);
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        const QString paragraph = block.text();
        const int from = std::max(start - block.position(), 0);
        const int to = std::min(end - block.position(), int(paragraph.size()));
        if (to > from)
            text += QStringView(paragraph).mid(from, to - from);
        if (block.position() + paragraph.size() < end)
            text += QLatin1Char('\n');
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

int RichEditAccessible::resolve(int offset) const
{
    const int count = characterCount();
    if (offset == -2)
        return cursorPosition();
    if (offset == -1)
        return count;
    return offset >= 0 && offset <= count ? offset : -1;
}

QTextBlock RichEditAccessible::withLines(int offset) const
{
    const QTextBlock block = document()->findBlock(offset);
    if (!block.isValid())
        return block;
    // Only this paragraph: its lines do not depend on those above it.
    if (auto *layout = qobject_cast<EditorLayout *>(document()->documentLayout()))
        layout->layoutParagraph(block);
    else
        document()->documentLayout()->blockBoundingRect(block);
    return block;
}

EditorLayout::ShownLine RichEditAccessible::shownLine(int offset, bool placed) const
{
    auto *layout = qobject_cast<EditorLayout *>(document()->documentLayout());
    return layout ? layout->lineAt(offset, placed) : EditorLayout::ShownLine();
}

RichEditAccessible::Range RichEditAccessible::lineAt(int offset) const
{
    const int count = characterCount();
    const QTextBlock block = withLines(offset);
    const int position = block.position();
    const int paragraphEnd = std::min(position + block.length(), count);
    const EditorLayout::ShownLine line = shownLine(offset, false);
    if (!line.isValid())
        return {position, paragraphEnd};
    if (line.last)
        return {line.start(), paragraphEnd};
    return {line.start(), line.end()};
}

RichEditAccessible::Range RichEditAccessible::boundaryAt(int offset, bool sentence) const
{
    const int count = characterCount();
    const QTextBlock block = document()->findBlock(offset);
    const int position = block.position();
    const QString paragraph = block.text();
    const int inBlock = offset - position;
    const int textEnd = int(paragraph.size());
    // A sentence takes in the paragraph end after it; a word is not one.
    const auto closed = [&](int start, int end) {
        if (sentence && end == textEnd)
            end = std::min(textEnd + 1 + position, count) - position;
        return Range{position + start, position + end};
    };
    QTextBoundaryFinder finder(sentence ? QTextBoundaryFinder::Sentence : QTextBoundaryFinder::Word, paragraph);
    if (inBlock >= textEnd) {
        if (!sentence)
            return {offset, std::min(offset + 1, count)};
        finder.toEnd();
        return closed(std::max(0, int(finder.toPreviousBoundary())), textEnd);
    }
    finder.setPosition(inBlock);
    const int start = finder.isAtBoundary() ? inBlock : std::max(0, int(finder.toPreviousBoundary()));
    finder.setPosition(inBlock);
    const qsizetype next = finder.toNextBoundary();
    return closed(start, next < 0 ? textEnd : int(next));
}

RichEditAccessible::Range RichEditAccessible::segmentAt(int offset, QAccessible::TextBoundaryType type) const
{
    const int count = characterCount();
    switch (type) {
    case QAccessible::CharBoundary: {
        if (offset >= count)
            return {count, count};
        const bool pair = offset + 1 < count && document()->characterAt(offset).isHighSurrogate() &&
                          document()->characterAt(offset + 1).isLowSurrogate();
        return {offset, offset + (pair ? 2 : 1)};
    }
    case QAccessible::WordBoundary:
        return boundaryAt(offset, false);
    case QAccessible::SentenceBoundary:
        return boundaryAt(offset, true);
    case QAccessible::LineBoundary:
        return lineAt(offset);
    case QAccessible::ParagraphBoundary: {
        const QTextBlock block = document()->findBlock(offset);
        return {block.position(), std::min(block.position() + block.length(), count)};
    }
    case QAccessible::NoBoundary:
        break;
    }
    return {0, count};
}

QString RichEditAccessible::answer(Range range, int *startOffset, int *endOffset) const
{
    *startOffset = range.start;
    *endOffset = range.end;
    return range.end > range.start ? text(range.start, range.end) : QString();
}

QString RichEditAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                         int *endOffset) const
{
    offset = resolve(offset);
    if (offset < 0)
        return answer({-1, -1}, startOffset, endOffset);
    return answer(segmentAt(offset, boundaryType), startOffset, endOffset);
}

QString RichEditAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                             int *endOffset) const
{
    offset = resolve(offset);
    if (offset < 0)
        return answer({-1, -1}, startOffset, endOffset);
    const Range at = segmentAt(offset, boundaryType);
    if (boundaryType == QAccessible::NoBoundary || at.start <= 0)
        return answer({0, 0}, startOffset, endOffset);
    return answer(segmentAt(at.start - 1, boundaryType), startOffset, endOffset);
}

QString RichEditAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset,
                                            int *endOffset) const
{
    offset = resolve(offset);
    if (offset < 0)
        return answer({-1, -1}, startOffset, endOffset);
    const int count = characterCount();
    const Range at = segmentAt(offset, boundaryType);
    if (boundaryType == QAccessible::NoBoundary || at.end <= at.start || at.end > count)
        return answer({count, count}, startOffset, endOffset);
    return answer(segmentAt(at.end, boundaryType), startOffset, endOffset);
}

// Places -------------------------------------------------------------------------

QPoint RichEditAccessible::scrollOffset() const
{
    // As the text edit paints: the document moved by its scroll bars.
    const QScrollBar *horizontal = editor()->horizontalScrollBar();
    const int x = editor()->isRightToLeft() ? horizontal->maximum() - horizontal->value() : horizontal->value();
    return {x, editor()->verticalScrollBar()->value()};
}

QTextCharFormat RichEditAccessible::formatAt(const QTextBlock &block, int offset, Range *run) const
{
    const int blockEnd = block.position() + block.length();
    int lastEnd = block.position();
    QTextBlock::iterator it = block.begin();
    for (; !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.contains(offset)) {
            if (run)
                *run = {std::max(fragment.position(), block.position()),
                        std::min(fragment.position() + fragment.length(), blockEnd)};
            return fragment.charFormat();
        }
        lastEnd = fragment.position() + fragment.length();
    }
    // The paragraph end: drawn in the paragraph's format.
    if (run)
        *run = {lastEnd, blockEnd};
    return block.charFormat();
}

QRectF RichEditAccessible::documentRect(int offset) const
{
    const int count = characterCount();
    if (offset < 0 || offset > count)
        return {};
    const QTextBlock block = document()->findBlock(offset);
    if (!block.isValid())
        return {};
    // Where the line is painted; the layout places every paragraph above it
    // first, as a paint does.
    const EditorLayout::ShownLine shown = shownLine(offset, true);
    if (!shown.isValid())
        return {};
    const QTextLine &line = shown.line;
    const QFontMetricsF metrics(formatAt(block, offset, nullptr).font().resolve(document()->defaultFont()));
    const qreal x = shown.cursorToX(offset);
    const bool onLine = offset < block.position() + block.length() - 1 && offset < shown.end();
    const qreal width = onLine ? shown.cursorToX(offset + 1) - x : metrics.averageCharWidth();
    // The character's own box on the line's baseline (a line's leading goes above).
    const qreal baseline = shown.origin.y() + line.y() + line.height() - line.descent();
    return QRectF(x, baseline - metrics.ascent(), width, metrics.height()).normalized();
}

QRect RichEditAccessible::characterRect(int offset) const
{
    const QRectF rect = documentRect(offset);
    if (rect.isNull())
        return {};
    const QPoint viewportOrigin = editor()->viewport()->mapToGlobal(QPoint(0, 0));
    return rect.translated(viewportOrigin - scrollOffset()).toAlignedRect();
}

int RichEditAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint inViewport = editor()->viewport()->mapFromGlobal(point);
    if (!editor()->viewport()->rect().contains(inViewport))
        return -1; // nothing of the text is painted there
    return document()->documentLayout()->hitTest(inViewport + scrollOffset(), Qt::ExactHit);
}

void RichEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const QRectF first = documentRect(resolve(startIndex));
    if (first.isNull())
        return;
    const QRectF last = documentRect(resolve(std::max(startIndex, endIndex - 1)));
    const QRectF wanted = last.isNull() ? first : first.united(last);
    const QSize page = editor()->viewport()->size();
    // The least scrolling that shows the range, its start when it is taller
    // or wider than the page.
    const auto show = [](QScrollBar *bar, qreal from, qreal to, int pageSize) {
        int value = bar->value();
        if (to > value + pageSize)
            value = int(std::ceil(to)) - pageSize;
        if (from < value)
            value = int(std::floor(from));
        bar->setValue(value);
    };
    show(editor()->verticalScrollBar(), wanted.top(), wanted.bottom(), page.height());
    if (!editor()->isRightToLeft())
        show(editor()->horizontalScrollBar(), wanted.left(), wanted.right(), page.width());
}

QString RichEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    const int count = characterCount();
    offset = resolve(offset);
    if (offset == count && count > 0)
        offset = count - 1; // the caret at the end reads the last character's
    if (offset < 0) {
        *startOffset = *endOffset = -1;
        return {};
    }
    const QTextBlock block = document()->findBlock(offset);
    Range run;
    const QTextCharFormat format = formatAt(block, offset, &run);
    *startOffset = run.start;
    *endOffset = std::min(run.end, count);

    // Sorted by name, as IAccessible2 text attributes.
    QMap<QString, QString> found;
    // A marked word is a run of its own.
    if (TextMarks *marks = editor()->textMarks(); marks && marks->active()) {
        for (const TextMarks::Span &span : marks->foundIn(block)) {
            const int start = block.position() + span.start;
            const int end = start + span.length;
            if (offset >= start && offset < end) {
                found[QStringLiteral("invalid")] = marks->kind();
                *startOffset = std::max(*startOffset, start);
                *endOffset = std::min(*endOffset, end);
            } else if (start > offset) {
                *endOffset = std::min(*endOffset, start);
            } else {
                *startOffset = std::max(*startOffset, end);
            }
        }
    }
    const QFont font = format.font().resolve(document()->defaultFont());
    if (!font.family().isEmpty())
        found[QStringLiteral("font-family")] = QStringLiteral("\"%1\"").arg(escapedFamily(font.family()));
    if (font.pointSizeF() > 0)
        found[QStringLiteral("font-size")] = QStringLiteral("%1pt").arg(font.pointSizeF());
    found[QStringLiteral("font-weight")] = font.weight() > QFont::Normal ? QStringLiteral("bold") : QStringLiteral("normal");
    found[QStringLiteral("font-style")] = font.style() == QFont::StyleItalic    ? QStringLiteral("italic")
                                          : font.style() == QFont::StyleOblique ? QStringLiteral("oblique")
                                                                                : QStringLiteral("normal");
    if (const QString underline = underlineStyle(format, font); !underline.isEmpty()) {
        found[QStringLiteral("text-underline-style")] = underline;
        found[QStringLiteral("text-underline-type")] = QStringLiteral("single");
    }
    if (block.textDirection() == Qt::RightToLeft)
        found[QStringLiteral("writing-mode")] = QStringLiteral("rl");
    const QTextCharFormat::VerticalAlignment vertical = format.verticalAlignment();
    found[QStringLiteral("text-position")] = vertical == QTextCharFormat::AlignSubScript     ? QStringLiteral("sub")
                                             : vertical == QTextCharFormat::AlignSuperScript ? QStringLiteral("super")
                                                                                             : QStringLiteral("baseline");
    if (format.background().style() == Qt::SolidPattern)
        found[QStringLiteral("background-color")] = rgb(format.background().color());
    if (format.foreground().style() == Qt::SolidPattern)
        found[QStringLiteral("color")] = rgb(format.foreground().color());
    switch (block.blockFormat().alignment() & (Qt::AlignLeft | Qt::AlignRight | Qt::AlignHCenter | Qt::AlignJustify)) {
    case Qt::AlignLeft: found[QStringLiteral("text-align")] = QStringLiteral("left"); break;
    case Qt::AlignRight: found[QStringLiteral("text-align")] = QStringLiteral("right"); break;
    case Qt::AlignHCenter: found[QStringLiteral("text-align")] = QStringLiteral("center"); break;
    case Qt::AlignJustify: found[QStringLiteral("text-align")] = QStringLiteral("justify"); break;
    default: break;
    }
    QString attributes;
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        attributes += it.key() + QLatin1Char(':') + it.value() + QLatin1Char(';');
    return attributes;
}

// Editing ------------------------------------------------------------------------

void RichEditAccessible::edit(int startOffset, int endOffset, const QString &text)
{
    TRxRichEdit *edit = editor();
    if (edit->isReadOnly())
        return;
    const int start = std::min(startOffset, endOffset);
    int end = std::max(startOffset, endOffset);
    if (start < 0 || end > characterCount())
        return;
    // An edit that reaches the end of what is in of a file still coming in
    // means the file's end: the rest would otherwise land after it.
    if (edit->isLoading() && end == characterCount()) {
        try {
            edit->finishLoading();
        } catch (const VeltrixError &error) {
            // Told by the default error display, outside the screen reader's call.
            QTimer::singleShot(0, edit, [message = error.message()] { throw VeltrixError(message); });
            return;
        }
        end = characterCount();
    }
    QString normalized = text;
    normalized.replace(QChar::Null, QChar(0x2400));
    QTextCursor cursor(document());
    // One undo step; inside it the cursor places itself on no line, which
    // would lay out every paragraph above the edit.
    cursor.beginEditBlock();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    if (!normalized.isEmpty())
        cursor.insertText(normalized);
    cursor.endEditBlock();
}

void RichEditAccessible::deleteText(int startOffset, int endOffset)
{
    edit(startOffset, endOffset, QString());
}

void RichEditAccessible::insertText(int offset, const QString &text)
{
    edit(offset, offset, text);
}

void RichEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    edit(startOffset, endOffset, text);
}
