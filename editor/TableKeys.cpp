#include "editor/TableKeys.h"

#include "formats/TableFormat.h"

#include <QTextTable>

namespace tablekeys {

namespace {

// The cell that starts at (row, column), if one does.
bool startsAt(const QTextTableCell &cell, int row, int column)
{
    return cell.isValid() && cell.row() == row && cell.column() == column;
}

void addRow(QTextTable &table, QTextCursor &edit)
{
    edit.beginEditBlock();
    const int last = table.rows() - 1;
    table.appendRows(1);
    // The new cells look like the ones above them, spans aside, and are all
    // cells of the row.
    for (int c = 0; c < table.columns(); ++c) {
        QTextCharFormat format = table.cellAt(last, c).format();
        format.clearProperty(QTextFormat::TableCellRowSpan);
        format.clearProperty(QTextFormat::TableCellColumnSpan);
        format.clearProperty(tableformat::kAbsentCellProperty);
        table.cellAt(last + 1, c).setFormat(format);
    }
    edit.endEditBlock();
}

} // namespace

std::optional<QTextCursor> moveByTab(const QTextCursor &cursor, bool backwards, bool mayAddRow)
{
    QTextTable *table = cursor.currentTable();
    if (!table)
        return std::nullopt;
    const QTextTableCell cell = table->cellAt(cursor.position());
    if (!cell.isValid())
        return std::nullopt;
    const int columns = table->columns();
    int index = cell.row() * columns + cell.column();
    const int count = table->rows() * columns;
    for (;;) {
        index += backwards ? -1 : 1;
        if (index < 0)
            return cursor; // the first cell: the caret stays
        if (index >= count)
            break;
        const QTextTableCell next = table->cellAt(index / columns, index % columns);
        if (startsAt(next, index / columns, index % columns))
            return next.firstCursorPosition();
    }
    if (!mayAddRow)
        return cursor;
    QTextCursor edit(cursor);
    addRow(*table, edit);
    return table->cellAt(table->rows() - 1, 0).firstCursorPosition();
}

} // namespace tablekeys
