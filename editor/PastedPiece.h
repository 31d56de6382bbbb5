#pragma once

#include <QTextDocumentFragment>

class QTextCursor;
class QTextDocument;

// A piece of rich text from the clipboard or a drop, held apart from its
// final paragraph end. QTextCursor::insertFragment would give the empty
// paragraph after that end, and its format, to the text after the insertion
// point, and would drop the format of the piece's first paragraph (except at
// the very start of the document).
class PastedPiece {
public:
    // The piece a document holds: a last, empty paragraph after others is the
    // piece's final paragraph end, as rtf::readFragment gives it and as a
    // QTextDocumentFragment of a selection ending with a paragraph end holds
    // it. The document is changed.
    static PastedPiece of(QTextDocument &piece);
    static PastedPiece of(const QTextDocumentFragment &piece);

    // Replaces the cursor's selection with the piece, in one undo step; the
    // cursor ends after it. Whole paragraphs keep their formats, and so does
    // the paragraph at the cursor.
    void insertAt(QTextCursor &cursor) const;

private:
    QTextDocumentFragment body_;       // without the final paragraph end
    QTextDocumentFragment afterBreak_; // the same after a paragraph break
    bool endsWithParagraph_ = false;
};
