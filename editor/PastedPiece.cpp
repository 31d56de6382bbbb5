#include "editor/PastedPiece.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// The end of the paragraph before the cursor's, when the cursor is at the
// start of a paragraph that follows another in the same frame.
bool moveToPreviousParagraphEnd(QTextCursor &cursor)
{
    if (!cursor.atBlockStart() || cursor.currentTable())
        return false;
    QTextCursor before = cursor;
    if (!before.movePosition(QTextCursor::PreviousCharacter) || before.block() != cursor.block().previous()
        || before.currentFrame() != cursor.currentFrame() || before.currentTable())
        return false;
    cursor = before;
    return true;
}

} // namespace

PastedPiece PastedPiece::of(QTextDocument &piece)
{
    PastedPiece result;
    result.endsWithParagraph_ = piece.blockCount() > 1 && piece.lastBlock().length() == 1;
    if (result.endsWithParagraph_) {
        // The paragraph before keeps its own format.
        QTextCursor end(&piece);
        end.movePosition(QTextCursor::End);
        end.deletePreviousChar();
    }
    result.body_ = QTextDocumentFragment(&piece);
    if (result.endsWithParagraph_) {
        // A break before the first paragraph carries that paragraph's format.
        QTextCursor start(&piece);
        start.insertBlock(start.blockFormat(), start.block().charFormat());
        result.afterBreak_ = QTextDocumentFragment(&piece);
    }
    return result;
}

PastedPiece PastedPiece::of(const QTextDocumentFragment &piece)
{
    if (!piece.toRawText().endsWith(QChar::ParagraphSeparator)) {
        PastedPiece result;
        result.body_ = piece;
        return result;
    }
    QTextDocument document;
    QTextCursor(&document).insertFragment(piece);
    return of(document);
}

void PastedPiece::insertAt(QTextCursor &cursor) const
{
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    if (!endsWithParagraph_) {
        cursor.insertFragment(body_);
    } else if (moveToPreviousParagraphEnd(cursor)) {
        // Whole paragraphs between two: the one at the cursor is not touched.
        cursor.insertFragment(afterBreak_);
        cursor.movePosition(QTextCursor::NextCharacter);
    } else {
        // The paragraph end first, as a break of the paragraph at the cursor;
        // then the rest of the piece before it.
        cursor.insertBlock(cursor.blockFormat(), cursor.block().charFormat());
        cursor.movePosition(QTextCursor::PreviousCharacter);
        cursor.insertFragment(body_);
        cursor.movePosition(QTextCursor::NextCharacter);
    }
    cursor.endEditBlock();
}
