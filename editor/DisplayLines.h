#pragma once

class EditorLayout;
class QTextDocument;

// The lines the editor shows: with word wrap on, a paragraph that wraps is
// several lines; a soft line break starts a line too. The line counts come
// from the editor's layout, which keeps them summed per run of paragraphs, so
// a query costs little on large documents.
class DisplayLines {
public:
    explicit DisplayLines(QTextDocument *document);

    int count();                       // every line, the last empty one included
    int lineOfPosition(int position);  // the line holding a position
    int firstPosition(int line);       // first position of a line, -1 when there is none
    int lineLength(int line);          // characters of the line without its break

private:
    EditorLayout &layout() const;

    QTextDocument *document_;
};
