#include "formats/TableFormat.h"
#include "formats/TableCells.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <vector>

namespace tableformat {

namespace {

// A cell as Qt makes it holds its object and its type, and its spans once merged.
constexpr int kPlaceOnlyProperties = 2;

} // namespace

ColumnCellFormats::ColumnCellFormats(const QTextTableFormat &format, int columns, int firstColumn)
    : firstColumn_(std::max(0, firstColumn))
{
    const QVariantList list = format.property(kColumnCellFormatsProperty).toList();
    if (firstColumn < 0 ? list.size() != columns : list.size() < firstColumn + columns)
        return;
    formats_.reserve(list.size());
    for (const QVariant &column : list)
        formats_.append(column.value<QTextFormat>().toTableCellFormat());
}

QTextTableCellFormat ColumnCellFormats::of(const QTextCharFormat &own, int column) const
{
    const int at = column + firstColumn_;
    if (own.hasProperty(kOwnCellFormatProperty) || at < 0 || at >= formats_.size() || !formats_[at].isValid())
        return own.toTableCellFormat();
    if (own.propertyCount() <= kPlaceOnlyProperties)
        return formats_[at]; // shared, not copied
    QTextTableCellFormat made = formats_[at];
    made.merge(own);
    return made;
}

void spellOutCellFormats(QTextTable &table, int firstColumn)
{
    QTextTableFormat format = table.format();
    if (!format.hasProperty(kColumnCellFormatsProperty))
        return;
    const ColumnCellFormats columns(format, table.columns(), firstColumn);
    for (PlacedCell &placed : cellsInOrder(table)) {
        const QTextCharFormat own = placed.cell.format();
        if (own.hasProperty(kOwnCellFormatProperty))
            continue;
        QTextTableCellFormat whole = columns.of(own, placed.column);
        whole.setProperty(kOwnCellFormatProperty, true);
        placed.cell.setFormat(whole);
    }
    format.clearProperty(kColumnCellFormatsProperty);
    table.setFormat(format);
}

void spellOutCellFormats(QTextDocument &document)
{
    std::vector<QTextFrame *> frames{document.rootFrame()};
    while (!frames.empty()) {
        QTextFrame *frame = frames.back();
        frames.pop_back();
        for (QTextFrame *child : frame->childFrames())
            frames.push_back(child);
        if (auto *table = qobject_cast<QTextTable *>(frame))
            spellOutCellFormats(*table);
    }
}

} // namespace tableformat
