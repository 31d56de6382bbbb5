#include "editor/RichEditStrings.h"

#include "editor/TRxRichEdit.h"

#include <QTextCursor>

namespace {

QTextCursor rangeCursor(TRxRichEdit &editor, int from, int to)
{
    QTextCursor cursor(editor.document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    return cursor;
}

} // namespace

int TRichEditStrings::Count() const
{
    const int lines = editor_.LineCount();
    const int last = lines - 1;
    return editor_.LineLength(last) == 0 ? last : lines;
}

QString TRichEditStrings::Get(int index) const
{
    const int start = editor_.LineIndex(index);
    if (start < 0)
        return {};
    QString text = rangeCursor(editor_, start, start + editor_.LineLength(index)).selectedText();
    return text.replace(QChar::LineSeparator, QLatin1Char('\v'));
}

void TRichEditStrings::Insert(int index, const QString &text)
{
    QTextCursor cursor(editor_.document());
    const int start = editor_.LineIndex(index);
    if (start >= 0) {
        cursor.setPosition(start);
        editor_.insertTextWithBreaks(cursor, text + QChar::ParagraphSeparator, cursor.charFormat());
    } else {
        const int previous = editor_.LineIndex(index - 1);
        const int previousLength = previous < 0 ? 0 : editor_.LineLength(index - 1);
        if (previousLength == 0)
            return;
        cursor.setPosition(previous + previousLength);
        editor_.insertTextWithBreaks(cursor, QChar::ParagraphSeparator + text, cursor.charFormat());
    }
    editor_.clearUndo(); // the insertion cannot be undone
}

void TRichEditStrings::Delete(int index)
{
    const int start = editor_.LineIndex(index);
    if (start < 0)
        return;
    const int next = editor_.LineIndex(index + 1);
    const int end = next < 0 ? editor_.TextLength() : next;
    rangeCursor(editor_, start, end).removeSelectedText();
    editor_.clearUndo();
}

void TRichEditStrings::Put(int index, const QString &text)
{
    const int start = editor_.LineIndex(index);
    if (start < 0)
        return;
    QTextCursor cursor = rangeCursor(editor_, start, start + editor_.LineLength(index));
    const QTextCharFormat format = cursor.charFormat();
    cursor.removeSelectedText();
    editor_.insertTextWithBreaks(cursor, text, format);
    editor_.clearUndo();
}

void TRichEditStrings::AddLines(const QStringList &lines)
{
    // One redraw at the end, and no selection notifications for the batch.
    editor_.setUpdatesEnabled(false);
    editor_.selectionQuiet_ = true;
    for (const QString &line : lines)
        Add(line);
    editor_.selectionQuiet_ = false;
    editor_.setUpdatesEnabled(true);
}

void TRichEditStrings::Clear()
{
    editor_.ClearAll();
}

void TRichEditStrings::LoadFile(const QString &path)
{
    editor_.LoadFile(path);
}

void TRichEditStrings::SaveFile(const QString &path)
{
    editor_.SaveFile(path);
}
