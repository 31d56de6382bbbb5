#include "editor/MouseSelection.h"

#include "editor/EditorLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace mouseselection {

namespace {

// The end of a range that takes in the paragraph end, except after the last
// paragraph, which has none to take.
int throughParagraphEnd(const QTextBlock &block)
{
    const int end = block.position() + block.length() - 1;
    return block.next().isValid() ? end + 1 : end;
}

} // namespace

Range lineAt(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    if (auto *layout = qobject_cast<EditorLayout *>(document.documentLayout())) {
        const EditorLayout::ShownLine line = layout->lineAt(position);
        if (!line.isValid() || line.last)
            return {line.isValid() ? line.start() : block.position(), throughParagraphEnd(block)};
        return {line.start(), line.end()};
    }
    document.documentLayout()->blockBoundingRect(block); // gives the paragraph its lines
    const QTextLayout *layout = block.layout();
    const QTextLine line = layout ? layout->lineForTextPosition(position - block.position()) : QTextLine();
    if (!line.isValid() || line.lineNumber() == layout->lineCount() - 1)
        return {line.isValid() ? block.position() + line.textStart() : block.position(), throughParagraphEnd(block)};
    return {block.position() + line.textStart(), block.position() + line.textStart() + line.textLength()};
}

namespace {

int wordStart(const QTextDocument &document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position);
    cursor.movePosition(QTextCursor::StartOfWord);
    return cursor.position();
}

int wordEnd(const QTextDocument &document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument *>(&document));
    cursor.setPosition(position);
    cursor.movePosition(QTextCursor::EndOfWord);
    return cursor.position();
}

} // namespace

Range linesBetween(const QTextDocument &document, int anchorPosition, int position)
{
    const Range from = lineAt(document, anchorPosition);
    const Range to = lineAt(document, position);
    if (position < anchorPosition)
        return {from.position, to.anchor};
    return {from.anchor, to.position};
}

Range paragraphAt(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    return {block.position(), throughParagraphEnd(block)};
}

Range wordsBetween(const QTextDocument &document, int anchor, int position)
{
    const int start = wordStart(document, anchor);
    const int end = wordEnd(document, anchor);
    if (position >= start && position <= end)
        return {anchor, position};
    if (position > anchor)
        return {start, wordEnd(document, position)};
    return {end, wordStart(document, position)};
}

} // namespace mouseselection
