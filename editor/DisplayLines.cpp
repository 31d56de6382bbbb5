#include "editor/DisplayLines.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

DisplayLines::DisplayLines(QTextDocument *document, QObject *parent) : QObject(parent), document_(document)
{
    connect(document_, &QTextDocument::contentsChange, this, [this](int from, int, int) {
        validBlocks_ = std::min(validBlocks_, document_->findBlock(from).blockNumber());
    });
    if (auto *layout = document_->documentLayout())
        connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, this, [this] { invalidateAll(); });
}

int DisplayLines::linesOf(const QTextBlock &block) const
{
    QTextLayout *layout = block.layout();
    if (layout && layout->lineCount() == 0)
        document_->documentLayout()->blockBoundingRect(block); // lays the block out
    return layout ? std::max(1, layout->lineCount()) : 1;
}

void DisplayLines::syncThrough(int blockNumber)
{
    const int blocks = document_->blockCount();
    firstLine_.resize(static_cast<std::size_t>(blocks));
    if (validBlocks_ > blockNumber)
        return;
    QTextBlock block = document_->findBlockByNumber(validBlocks_);
    int line = validBlocks_ == 0 ? 0 : firstLine_[validBlocks_ - 1] + linesOf(block.previous());
    for (; block.isValid() && block.blockNumber() <= blockNumber; block = block.next()) {
        firstLine_[block.blockNumber()] = line;
        line += linesOf(block);
    }
    validBlocks_ = std::min(blockNumber + 1, blocks);
}

int DisplayLines::count()
{
    const int last = document_->blockCount() - 1;
    syncThrough(last);
    return firstLine_[last] + linesOf(document_->lastBlock());
}

int DisplayLines::lineOfPosition(int position)
{
    position = std::clamp(position, 0, document_->characterCount() - 1);
    const QTextBlock block = document_->findBlock(position);
    syncThrough(block.blockNumber());
    int line = firstLine_[block.blockNumber()];
    if (QTextLayout *layout = block.layout()) {
        const int inBlock = position - block.position();
        for (int i = layout->lineCount() - 1; i > 0; --i) {
            if (layout->lineAt(i).textStart() <= inBlock)
                return line + i;
        }
    }
    return line;
}

void DisplayLines::syncThroughLine(int line)
{
    const int blocks = document_->blockCount();
    firstLine_.resize(static_cast<std::size_t>(blocks));
    QTextBlock block = document_->findBlockByNumber(validBlocks_);
    int next = validBlocks_ == 0 ? 0 : firstLine_[validBlocks_ - 1] + linesOf(block.previous());
    // Up to the first block that starts after `line`: the ones before hold it.
    while (block.isValid() && next <= line) {
        firstLine_[block.blockNumber()] = next;
        next += linesOf(block);
        ++validBlocks_;
        block = block.next();
    }
}

int DisplayLines::firstPosition(int line)
{
    if (line < 0)
        return -1;
    syncThroughLine(line);
    if (validBlocks_ == 0)
        return -1;
    const QTextBlock lastSynced = document_->findBlockByNumber(validBlocks_ - 1);
    if (line >= firstLine_[validBlocks_ - 1] + linesOf(lastSynced))
        return -1; // past the last line
    // The last block whose first line is at or before `line`.
    const auto begin = firstLine_.begin();
    const auto it = std::upper_bound(begin, begin + validBlocks_, line);
    const int blockNumber = static_cast<int>(it - begin) - 1;
    const QTextBlock block = document_->findBlockByNumber(blockNumber);
    const int lineInBlock = line - firstLine_[blockNumber];
    QTextLayout *layout = block.layout();
    if (!layout || lineInBlock >= layout->lineCount())
        return block.position();
    return block.position() + layout->lineAt(lineInBlock).textStart();
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
