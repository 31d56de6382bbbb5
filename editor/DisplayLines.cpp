#include "editor/DisplayLines.h"

#include "editor/EditorLayout.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

DisplayLines::DisplayLines(QTextDocument *document) : document_(document)
{
}

EditorLayout &DisplayLines::layout() const
{
    return *static_cast<EditorLayout *>(document_->documentLayout());
}

int DisplayLines::count()
{
    return layout().lineCount();
}

int DisplayLines::lineOfPosition(int position)
{
    position = std::clamp(position, 0, document_->characterCount() - 1);
    const QTextBlock block = document_->findBlock(position);
    const int line = layout().firstLineOfBlock(block.blockNumber());
    const QTextLayout *lines = block.layout();
    const int inBlock = position - block.position();
    for (int i = lines->lineCount() - 1; i > 0; --i) {
        if (lines->lineAt(i).textStart() <= inBlock)
            return line + i;
    }
    return line;
}

int DisplayLines::firstPosition(int line)
{
    int firstLine = 0;
    const int blockNumber = layout().blockOfLine(line, &firstLine);
    if (blockNumber < 0)
        return -1;
    const QTextBlock block = document_->findBlockByNumber(blockNumber);
    const QTextLayout *lines = block.layout();
    const int lineInBlock = line - firstLine;
    if (lineInBlock >= lines->lineCount())
        return block.position();
    return block.position() + lines->lineAt(lineInBlock).textStart();
}

int DisplayLines::lineLength(int line)
{
    const int start = firstPosition(line);
    if (start < 0)
        return 0;
    const QTextBlock block = document_->findBlock(start);
    const int next = firstPosition(line + 1);
    const int blockEnd = block.position() + block.length() - 1; // before the paragraph end
    int end = (next < 0 || next > blockEnd) ? blockEnd : next;
    // A soft line break ends its line like a paragraph end does.
    const QString text = block.text();
    const int startInBlock = start - block.position();
    const int breakAt = text.indexOf(QChar::LineSeparator, startInBlock);
    if (breakAt >= 0 && block.position() + breakAt < end)
        end = block.position() + breakAt;
    return end - start;
}
