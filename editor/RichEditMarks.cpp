// Marks over the text: the marked words found, gone through and replaced.
#include "editor/TRxRichEdit.h"

#include "editor/EditorLayout.h"
#include "editor/TextMarks.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void TRxRichEdit::setTextMarks(TextMarks *marks)
{
    if (marks_)
        marks_->disconnect(this);
    marks_ = marks;
    editorLayout().setTextMarks(marks);
    if (marks) {
        marks->setDocument(document());
        connect(marks, &TextMarks::marksChanged, this, [this] { viewport()->update(); });
    }
    viewport()->update();
}

bool TRxRichEdit::textMarksActive() const
{
    return marks_ && marks_->active();
}

std::optional<TRxRichEdit::MarkedWord> TRxRichEdit::markedWordAt(QPoint viewportPosition)
{
    if (!textMarksActive())
        return std::nullopt;
    const QTextCursor at = cursorForPosition(viewportPosition);
    const QTextBlock block = at.block();
    const int inBlock = at.position() - block.position();
    for (const TextMarks::Span &span : marks_->foundIn(block)) {
        // The click may fall just after the word's last letter.
        if (inBlock >= span.start && inBlock <= span.start + span.length)
            return MarkedWord{block.position() + span.start, span.length, block.text().mid(span.start, span.length)};
    }
    return std::nullopt;
}

bool TRxRichEdit::selectNextMark()
{
    if (!textMarksActive())
        return false;
    finishLoading();
    const int from = textCursor().selectionEnd();
    // The first marked word that starts in [after, before), paragraph by paragraph.
    const auto select = [this](QTextBlock block, int after, int before) {
        for (; block.isValid() && block.position() < before; block = block.next()) {
            for (const TextMarks::Span &span : marks_->foundIn(block)) {
                const int start = block.position() + span.start;
                if (start < after || start >= before)
                    continue;
                QTextCursor found(document());
                found.setPosition(start);
                found.setPosition(start + span.length, QTextCursor::KeepAnchor);
                setTextCursor(found);
                ensureCursorVisible();
                return true;
            }
        }
        return false;
    };
    // From the caret to the end, then from the start up to the caret.
    const int end = document()->characterCount();
    return select(document()->findBlock(from), from, end) || select(document()->begin(), 0, from);
}

void TRxRichEdit::replaceMarkedWord(const MarkedWord &word, const QString &replacement)
{
    QTextCursor cursor(document());
    cursor.setPosition(word.start + 1);
    const QTextCharFormat format = cursor.charFormat(); // the word's first character's
    cursor.setPosition(word.start);
    cursor.setPosition(word.start + word.length, QTextCursor::KeepAnchor);
    if (cursor.selectedText() != word.word)
        return; // the text changed under the menu
    cursor.insertText(replacement, format);
    setTextCursor(cursor);
}
