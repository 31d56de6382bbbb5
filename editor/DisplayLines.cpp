#include "editor/DisplayLines.h"

#include "editor/EditorLayout.h"

#include <QTextBlock>
#include <QTextCursor>
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
    const EditorLayout::ShownLine shown = layout().lineAt(position);
    return shown.isValid() ? line + shown.number : line;
}

int DisplayLines::firstPosition(int line)
{
    int firstLine = 0;
    const int blockNumber = layout().blockOfLine(line, &firstLine);
    if (blockNumber < 0)
        return -1;
    const QTextBlock block = document_->findBlockByNumber(blockNumber);
    const EditorLayout::ShownLine shown = layout().lineOfParagraph(block, line - firstLine);
    return shown.isValid() ? shown.start() : block.position();
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
    QTextCursor range(document_);
    range.setPosition(start);
    range.setPosition(end, QTextCursor::KeepAnchor);
    const int breakAt = range.selectedText().indexOf(QChar::LineSeparator);
    if (breakAt >= 0)
        end = start + breakAt;
    return end - start;
}
