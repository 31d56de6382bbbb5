#pragma once

#include <QObject>
#include <vector>

class QTextDocument;
class QTextBlock;

// The lines the editor shows: with word wrap on, a paragraph that wraps is
// several lines; a soft line break starts a line too. Line numbers of the
// paragraphs are cached and recomputed lazily from the first paragraph an edit
// touched, so a query costs little on large documents.
class DisplayLines : public QObject {
    Q_OBJECT
public:
    explicit DisplayLines(QTextDocument *document, QObject *parent = nullptr);

    // Everything laid out anew (width, font or wrap mode changed).
    void invalidateAll() { validBlocks_ = 0; }

    int count();                       // every line, the last empty one included
    int lineOfPosition(int position);  // the line holding a position
    int firstPosition(int line);       // first position of a line, -1 when there is none
    int lineLength(int line);          // characters of the line without its break

private:
    void syncThrough(int blockNumber);
    void syncThroughLine(int line);
    int linesOf(const QTextBlock &block) const;

    QTextDocument *document_;
    std::vector<int> firstLine_; // first line number of each block, valid below validBlocks_
    int validBlocks_ = 0;
};
