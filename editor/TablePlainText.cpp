#include "editor/TablePlainText.h"

#include "formats/TableCells.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

namespace tableplaintext {

namespace {

// What Qt's text holds where a frame (a table's cell) begins and ends.
constexpr char16_t kFrameStart = 0xFDD0;
constexpr char16_t kFrameEnd = 0xFDD1;

bool hasFrames(const QTextDocument &document)
{
    return !document.rootFrame()->childFrames().isEmpty();
}

// A block of a table's cells selected: its rows' cells, each taken once
// where it starts, as Qt's selectedText() takes them, but apart by tabs and
// line ends rather than run together.
QString selectedCells(const QTextCursor &cursor)
{
    const QTextTable *table = cursor.currentTable();
    int firstRow = 0;
    int rows = 0;
    int firstColumn = 0;
    int columns = 0;
    cursor.selectedTableCells(&firstRow, &rows, &firstColumn, &columns);
    if (!table || rows <= 0 || columns <= 0)
        return cursor.selectedText();
    QTextCursor range(cursor.document());
    QString text;
    for (int row = firstRow; row < firstRow + rows; ++row) {
        if (row > firstRow)
            text += QChar::ParagraphSeparator;
        bool firstInRow = true;
        for (int column = firstColumn; column < firstColumn + columns; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (!cell.isValid() || cell.row() != row || cell.column() != column)
                continue;
            if (!firstInRow)
                text += QLatin1Char('\t');
            firstInRow = false;
            range.setPosition(cell.firstPosition());
            range.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
            QString cellText = range.selectedText();
            for (QChar &c : cellText) {
                if (c == QChar::ParagraphSeparator || c == QChar(kFrameStart) || c == QChar(kFrameEnd))
                    c = QLatin1Char(' ');
            }
            text += cellText;
        }
    }
    return text;
}

} // namespace

TableBreaks::TableBreaks(const QTextDocument &document, int from, int to)
{
    if (!hasFrames(document))
        return;
    const auto addTable = [&](const QTextTable &table) {
        const std::vector<tableformat::PlacedCell> starts = tableformat::cellsInOrder(table);
        if (starts.empty())
            return;
        // A cell ends where the next one's mark stands, the last at the table's end.
        size_t cell = 0;
        for (QTextBlock block = document.findBlock(starts.front().first); block.isValid(); block = block.next()) {
            const int end = block.position() + block.length() - 1;
            const bool last = cell + 1 == starts.size();
            const int cellEnd = last ? table.lastPosition() : starts[cell + 1].first - 1;
            if (end < cellEnd) {
                breaks_.push_back({end, u' '}); // inside a cell every break, those of a table in it too
                continue;
            }
            const bool rowGoesOn = !last && starts[cell + 1].row == starts[cell].row;
            breaks_.push_back({cellEnd, rowGoesOn ? u'\t' : char16_t(QChar::ParagraphSeparator)});
            if (last)
                break;
            ++cell;
        }
    };
    // Frames other than tables only end paragraphs; tables may stand in them.
    std::vector<const QTextFrame *> frames{document.rootFrame()};
    while (!frames.empty()) {
        const QTextFrame *frame = frames.back();
        frames.pop_back();
        for (const QTextFrame *child : frame->childFrames()) {
            // Qt leaves frames without marks behind, e.g. from pasted HTML.
            const int start = child->firstPosition() - 1;
            const int end = child->lastPosition();
            if (end < from || start >= to)
                continue;
            if (start < 0 || end <= start || document.characterAt(start) != QChar(kFrameStart)
                || document.characterAt(end) != QChar(kFrameEnd))
                continue;
            breaks_.push_back({start, char16_t(QChar::ParagraphSeparator)});
            if (const auto *table = qobject_cast<const QTextTable *>(child)) {
                addTable(*table);
            } else {
                breaks_.push_back({end, char16_t(QChar::ParagraphSeparator)});
                frames.push_back(child);
            }
        }
    }
    std::stable_sort(breaks_.begin(), breaks_.end(),
                     [](const Break &a, const Break &b) { return a.position < b.position; });
}

QChar TableBreaks::after(const QTextBlock &block) const
{
    if (breaks_.empty())
        return QChar::ParagraphSeparator;
    const int end = block.position() + block.length() - 1;
    const auto it = std::lower_bound(breaks_.begin(), breaks_.end(), end,
                                     [](const Break &b, int position) { return b.position < position; });
    return it != breaks_.end() && it->position == end ? QChar(it->character) : QChar(QChar::ParagraphSeparator);
}

void TableBreaks::applyTo(QString &text, int from) const
{
    auto it = std::lower_bound(breaks_.begin(), breaks_.end(), from,
                               [](const Break &b, int position) { return b.position < position; });
    QChar *data = nullptr;
    for (; it != breaks_.end() && it->position - from < text.size(); ++it) {
        if (!data)
            data = text.data();
        data[it->position - from] = QChar(it->character);
    }
}

QString rawText(const QTextDocument &document)
{
    QString text = document.toRawText();
    if (hasFrames(document))
        TableBreaks(document).applyTo(text, 0);
    return text;
}

QString selectedText(const QTextCursor &cursor)
{
    if (cursor.hasComplexSelection())
        return selectedCells(cursor);
    QString text = cursor.selectedText();
    if (!text.isEmpty() && cursor.document() && hasFrames(*cursor.document()))
        TableBreaks(*cursor.document(), cursor.selectionStart(), cursor.selectionEnd())
            .applyTo(text, cursor.selectionStart());
    return text;
}

} // namespace tableplaintext
