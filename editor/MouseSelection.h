#pragma once

class QTextDocument;

// What a mouse selects beyond single characters: whole display lines and
// paragraphs from the selection bar, whole words once a drag leaves the word
// it started in.
namespace mouseselection {

struct Range {
    int anchor = 0;
    int position = 0;
};

// The display line holding `position`, with the paragraph end when it is the
// paragraph's last line (so the next line starts after it).
Range lineAt(const QTextDocument &document, int position);
// From the line of `anchorPosition` through the line of `position`, whole.
Range linesBetween(const QTextDocument &document, int anchorPosition, int position);
Range paragraphAt(const QTextDocument &document, int position);
// A drag from `anchor` to `position`: within one word, as it is; past it,
// both ends widened to whole words.
Range wordsBetween(const QTextDocument &document, int anchor, int position);

} // namespace mouseselection
