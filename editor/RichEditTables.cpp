#include "editor/TRxRichEdit.h"

#include "formats/ParagraphFormat.h"
#include "formats/TableFormat.h"

#include <QTextTable>

namespace {

// As wide as the text of an A4 page with 2 cm margins, cut in equal columns.
constexpr int kInsertedTableTwips = 9638;
constexpr int kInsertedPaddingTwips = 108;
constexpr int kInsertedBorderTwips = 10; // half a point

QTextTableFormat insertedTableFormat(int columns)
{
    QTextTableFormat format;
    QList<QTextLength> widths;
    QList<int> edges{0};
    for (int c = 0; c < columns; ++c) {
        edges.append(kInsertedTableTwips * (c + 1) / columns);
        widths.append(QTextLength(QTextLength::FixedLength, (edges[c + 1] - edges[c]) / paraformat::kTwipsPerPixel));
    }
    format.setColumnWidthConstraints(widths);
    format.setProperty(tableformat::kColumnEdgesProperty, QVariant::fromValue(edges));
    format.setCellSpacing(0);
    format.setBorder(0);
    format.setBorderCollapse(true);
    format.setCellPadding(kInsertedPaddingTwips / paraformat::kTwipsPerPixel);
    return format;
}

QTextTableCellFormat insertedCellFormat()
{
    QTextTableCellFormat format;
    const qreal width = kInsertedBorderTwips / paraformat::kTwipsPerPixel;
    format.setBorder(width);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QColor(Qt::black));
    format.setTopPadding(0);
    format.setBottomPadding(0);
    format.setLeftPadding(kInsertedPaddingTwips / paraformat::kTwipsPerPixel);
    format.setRightPadding(kInsertedPaddingTwips / paraformat::kTwipsPerPixel);
    return format;
}

} // namespace

void TRxRichEdit::InsertTable(int rows, int columns)
{
    if (isReadOnly())
        return;
    rows = std::clamp(rows, 1, kMaxInsertedRows);
    columns = std::clamp(columns, 1, kMaxInsertedColumns);
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // Tables do not stand in tables: the new one follows the one at the caret.
    if (QTextTable *around = cursor.currentTable()) {
        while (QTextTable *outer = qobject_cast<QTextTable *>(around->parentFrame()))
            around = outer;
        cursor.setPosition(around->lastPosition() + 1);
    } else if (cursor.atBlockStart() && cursor.block().previous().isValid() &&
               !QTextCursor(cursor.block().previous()).currentTable()) {
        // At a paragraph's start the table goes before it, leaving no empty one.
        cursor.setPosition(cursor.block().previous().position() + cursor.block().previous().length() - 1);
    }
    QTextTable *table = cursor.insertTable(rows, columns, insertedTableFormat(columns));
    const QTextTableCellFormat cellFormat = insertedCellFormat();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            table->cellAt(r, c).setFormat(cellFormat);
    cursor.endEditBlock();
    setTextCursor(table->cellAt(0, 0).firstCursorPosition());
}
