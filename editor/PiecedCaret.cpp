#include "editor/PiecedCaret.h"

#include "editor/EditorLayout.h"

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace {

enum class Move { Up, Down, LineStart, LineEnd, PageUp, PageDown };

struct KeyMove {
    QKeySequence::StandardKey key;
    Move move;
    QTextCursor::MoveMode mode;
};

constexpr KeyMove kKeyMoves[] = {
    {QKeySequence::MoveToPreviousLine, Move::Up, QTextCursor::MoveAnchor},
    {QKeySequence::SelectPreviousLine, Move::Up, QTextCursor::KeepAnchor},
    {QKeySequence::MoveToNextLine, Move::Down, QTextCursor::MoveAnchor},
    {QKeySequence::SelectNextLine, Move::Down, QTextCursor::KeepAnchor},
    {QKeySequence::MoveToStartOfLine, Move::LineStart, QTextCursor::MoveAnchor},
    {QKeySequence::SelectStartOfLine, Move::LineStart, QTextCursor::KeepAnchor},
    {QKeySequence::MoveToEndOfLine, Move::LineEnd, QTextCursor::MoveAnchor},
    {QKeySequence::SelectEndOfLine, Move::LineEnd, QTextCursor::KeepAnchor},
    {QKeySequence::MoveToPreviousPage, Move::PageUp, QTextCursor::MoveAnchor},
    {QKeySequence::SelectPreviousPage, Move::PageUp, QTextCursor::KeepAnchor},
    {QKeySequence::MoveToNextPage, Move::PageDown, QTextCursor::MoveAnchor},
    {QKeySequence::SelectNextPage, Move::PageDown, QTextCursor::KeepAnchor},
};

} // namespace

PiecedCaret::PiecedCaret(QTextEdit &edit) : QObject(&edit), edit_(edit)
{
    connect(&blink_, &QTimer::timeout, this, &PiecedCaret::blink);
    connect(&edit, &QTextEdit::cursorPositionChanged, this, &PiecedCaret::caretMoved);
}

EditorLayout &PiecedCaret::layout() const
{
    return *static_cast<EditorLayout *>(edit_.document()->documentLayout());
}

bool PiecedCaret::inPieces() const
{
    return layout().isPieced(edit_.textCursor().block());
}

bool PiecedCaret::moveByKey(QKeyEvent *event)
{
    const auto found = std::find_if(std::begin(kKeyMoves), std::end(kKeyMoves),
                                    [event](const KeyMove &move) { return event->matches(move.key); });
    if (found == std::end(kKeyMoves))
        return false;
    EditorLayout &lines = layout();
    QTextCursor cursor = edit_.textCursor();
    const QTextBlock block = cursor.block();
    const bool page = found->move == Move::PageUp || found->move == Move::PageDown;
    const bool near = lines.isPieced(block) || lines.isPieced(block.previous()) || lines.isPieced(block.next());
    if (!near && !(page && lines.hasPiecedParagraphs()))
        return false;
    const int position = cursor.position();
    EditorLayout::ShownLine line = lines.lineAt(position);
    if (!line.isValid())
        return false;
    int valueBefore = edit_.verticalScrollBar()->value();
    const qreal x = position == stickyPosition_ ? stickyX_ : line.cursorToX(position);
    int target = position;
    switch (found->move) {
    case Move::Up:
    case Move::Down: {
        const EditorLayout::ShownLine next = found->move == Move::Up ? lines.lineBefore(line) : lines.lineAfter(line);
        if (next.isValid())
            target = next.xToCursor(x);
        break;
    }
    case Move::LineStart: target = line.start(); break;
    case Move::LineEnd:
        if (line.last) {
            target = block.position() + block.length() - 1;
        } else {
            // As Qt's control does: before the space the line was broken at.
            target = line.end();
            if (target > line.start() && edit_.document()->characterAt(target - 1).isSpace())
                --target;
        }
        break;
    case Move::PageUp:
    case Move::PageDown: {
        const int viewport = edit_.viewport()->height();
        const qreal goal = line.rect().top() + (found->move == Move::PageUp ? -viewport : viewport);
        for (;;) {
            const EditorLayout::ShownLine next =
                found->move == Move::PageUp ? lines.lineBefore(line) : lines.lineAfter(line);
            if (!next.isValid() ||
                (found->move == Move::PageUp ? next.rect().top() < goal : next.rect().top() > goal))
                break;
            line = next;
        }
        target = line.xToCursor(x);
        QScrollBar *bar = edit_.verticalScrollBar();
        bar->setValue(bar->value() + (found->move == Move::PageUp ? -viewport : viewport));
        valueBefore = bar->value();
        break;
    }
    }
    cursor.setPosition(target, found->mode);
    edit_.setTextCursor(cursor);
    show(valueBefore);
    const bool vertical = found->move != Move::LineStart && found->move != Move::LineEnd;
    stickyX_ = x;
    stickyPosition_ = vertical ? target : -1;
    return true;
}

bool PiecedCaret::typeByKey(QKeyEvent *event)
{
    if (!inPieces() || edit_.isReadOnly() || edit_.overwriteMode())
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const QString text = event->text();
    const bool backspace = event->key() == Qt::Key_Backspace && modifiers == Qt::NoModifier;
    const bool remove = event->matches(QKeySequence::Delete);
    const bool type = !backspace && !remove && modifiers == Qt::NoModifier && !text.isEmpty() &&
                      std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c == u'\t'; });
    if (!backspace && !remove && !type)
        return false;
    QTextDocument *document = edit_.document();
    QTextCursor cursor = edit_.textCursor();
    const QTextBlock block = cursor.block();
    if (!cursor.hasSelection() && !type) {
        // Across a paragraph end the paragraphs join: Qt's to do.
        const int position = cursor.position();
        if (backspace ? position == block.position() : position == block.position() + block.length() - 1)
            return false;
        int step = 1; // a surrogate pair goes whole
        if (backspace && position - 2 >= block.position() && document->characterAt(position - 1).isLowSurrogate() &&
            document->characterAt(position - 2).isHighSurrogate())
            step = 2;
        if (remove && document->characterAt(position).isHighSurrogate() &&
            document->characterAt(position + 1).isLowSurrogate())
            step = 2;
        cursor.setPosition(backspace ? position - step : position + step, QTextCursor::KeepAnchor);
    }
    const Run run = type ? Run::Typed : Run::Removed;
    const bool joins = run == run_ && !edit_.textCursor().hasSelection() &&
                       edit_.textCursor().position() == runPosition_ &&
                       document->availableUndoSteps() == runSteps_ && document->revision() == runRevision_;
    // A cursor of our own changes the text; the control's follows the change
    // without asking where its line is.
    QTextCursor change(cursor);
    if (joins)
        change.joinPreviousEditBlock();
    else
        change.beginEditBlock();
    if (type)
        change.insertText(text, edit_.textCursor().charFormat());
    else
        change.removeSelectedText();
    change.endEditBlock();
    if (edit_.textCursor().position() != change.position()) {
        QTextCursor moved = edit_.textCursor();
        moved.setPosition(change.position());
        edit_.setTextCursor(moved);
    }
    run_ = run;
    runPosition_ = change.position();
    runSteps_ = document->availableUndoSteps();
    runRevision_ = document->revision();
    show(std::nullopt);
    return true;
}

void PiecedCaret::show(std::optional<int> valueBefore, bool always)
{
    if (!inPieces())
        return;
    QScrollBar *bar = edit_.verticalScrollBar();
    if (valueBefore && *valueBefore == bar->value()) {
        valueBefore.reset(); // nothing scrolled
        if (!always)
            return;
    }
    const int position = edit_.textCursor().position();
    const QRectF caret = layout().caretRect(position);
    if (caret.isNull())
        return;
    shownPosition_ = position;
    shownRevision_ = edit_.document()->revision();
    int value = valueBefore.value_or(bar->value());
    const int height = edit_.viewport()->height();
    if (caret.top() < value)
        value = static_cast<int>(caret.top());
    else if (caret.bottom() > value + height)
        value = static_cast<int>(std::ceil(caret.bottom())) - height;
    bar->setValue(value);
}

std::optional<QVariant> PiecedCaret::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (!inPieces())
        return std::nullopt;
    const QTextCursor cursor = edit_.textCursor();
    const int position = cursor.position();
    const QPointF offset(edit_.horizontalScrollBar()->value(), edit_.verticalScrollBar()->value());
    // The text around the caret: the line it is on, and one on each side.
    const EditorLayout::ShownLine line = layout().lineAt(position);
    const EditorLayout::ShownLine before = layout().lineBefore(line);
    const EditorLayout::ShownLine after = layout().lineAfter(line);
    const QTextBlock block = cursor.block();
    const int from = before.isValid() && before.start() >= block.position() ? before.start() : line.start();
    const int blockEnd = block.position() + block.length() - 1;
    const int to = after.isValid() && after.end() <= blockEnd ? after.end() : std::min(line.end(), blockEnd);
    const auto around = [&](int start, int end) {
        QTextCursor range(edit_.document());
        range.setPosition(std::clamp(start, from, to));
        range.setPosition(std::clamp(end, from, to), QTextCursor::KeepAnchor);
        return range.selectedText();
    };
    switch (query) {
    case Qt::ImCursorRectangle:
        return QVariant(layout().caretRect(position).translated(-offset).toAlignedRect());
    case Qt::ImSurroundingText: return QVariant(around(from, to));
    case Qt::ImCursorPosition: return QVariant(position - from);
    case Qt::ImAnchorPosition: return QVariant(std::clamp(cursor.anchor(), from, to) - from);
    case Qt::ImTextBeforeCursor: return QVariant(around(from, position));
    case Qt::ImTextAfterCursor: return QVariant(around(position, to));
    case Qt::ImAbsolutePosition: return QVariant(position);
    default: return std::nullopt;
    }
}

void PiecedCaret::caretMoved()
{
    if (!inPieces()) {
        blink_.stop();
        return;
    }
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0 && !blink_.isActive())
        blink_.start(flash / 2);
    // A move by the program is shown once Qt's control is done with it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const int position = edit_.textCursor().position();
            if (position != shownPosition_ || edit_.document()->revision() != shownRevision_)
                show(std::nullopt);
        },
        Qt::QueuedConnection);
}

void PiecedCaret::blink()
{
    if (!inPieces()) {
        blink_.stop();
        return;
    }
    const QRectF caret = layout().caretRect(edit_.textCursor().position());
    const QPointF offset(edit_.horizontalScrollBar()->value(), edit_.verticalScrollBar()->value());
    edit_.viewport()->update(caret.translated(-offset).toAlignedRect().adjusted(-1, -1, 1, 1));
}
