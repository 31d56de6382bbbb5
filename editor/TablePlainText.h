#pragma once

#include <QChar>
#include <QString>

#include <limits>
#include <vector>

class QTextBlock;
class QTextCursor;
class QTextDocument;

// The document's characters as plain text has them: a table row is one
// line, its cells' text apart by tabs and a cell's paragraphs apart by
// spaces (Qt's own plain text puts each cell on a line of its own). Each
// position keeps its one character, so offsets into the text stay the
// document's positions; a row's cell that a cell above covers has no text.
// A document without tables costs one check.
namespace tableplaintext {

// Every character of the document, as QTextDocument::toRawText() has them
// but for the breaks of tables: U+2029 where a row or the paragraph before a
// table ends, a tab between the cells of a row, a space between the
// paragraphs of a cell.
QString rawText(const QTextDocument &document);

// The selection's characters, as QTextCursor::selectedText() has them but
// for the breaks of tables.
QString selectedText(const QTextCursor &cursor);

// The breaks of a document's tables, for code that goes through the
// document a paragraph at a time. Once made it asks the document nothing,
// so threads that read the document's paragraphs can share it.
class TableBreaks {
public:
    // The breaks of the tables at positions from..to-1, of all by default.
    explicit TableBreaks(const QTextDocument &document, int from = 0, int to = std::numeric_limits<int>::max());
    bool empty() const { return breaks_.empty(); }
    // What ends the paragraph: U+2029, or a tab or a space inside a table.
    QChar after(const QTextBlock &block) const;
    // Puts the breaks into `text`, the characters from position `from` on.
    void applyTo(QString &text, int from) const;

private:
    struct Break {
        int position;
        char16_t character;
    };
    std::vector<Break> breaks_; // by position
};

} // namespace tableplaintext
