#pragma once

#include <QTextDocumentFragment>

class QTextCursor;
class QTextDocument;

// A piece of rich text from the clipboard or a drop, held apart from its
// final paragraph end. QTextCursor::insertFragment would give that end's
// empty paragraph, and its format, to the text after the insertion point,
// and the format of the piece's first paragraph to nothing.
class PastedPiece {
public:
    // The piece a document holds: a last, empty paragraph after others is the
    // piece's final paragraph end, as rtf::readFragment gives it and as a
    // QTextDocumentFragment of a selection ending with a paragraph end holds
    // it. The document is changed.
    static PastedPiece of(QTextDocument &piece);
    static PastedPiece of(const QTextDocumentFragment &piece);

    bool endsWithParagraph() const { return endsWithParagraph_; }

    // Replaces the cursor's selection with the piece, in one undo step; the
    // cursor ends after it. Whole paragraphs keep their formats, and so does
    // the paragraph at the cursor.
    void insertAt(QTextCursor &cursor) const;

private:
    QTextDocumentFragment body_;       // without the final paragraph end
    QTextDocumentFragment afterBreak_; // the same after a paragraph break
    bool endsWithParagraph_ = false;
};
