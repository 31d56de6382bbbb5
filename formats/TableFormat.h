#pragma once

#include <QTextFormat>
#include <QVector>

class QTextDocument;
class QTextTable;

// How the program's documents hold tables: as Qt's QTextTable, one cell per
// cell of the grid (see RtfTableGrid.h), cells merged across or down as one
// cell spanning columns or rows. What RTF says of a table and Qt's formats
// have a place for is kept there:
//
// QTextTableFormat
//  - columnWidthConstraints: each column's width, a FixedLength in pixels
//    (twips / paraformat::kTwipsPerPixel); tables made in the program may leave them variable
//    (equal shares of the page's width)
//  - leftMargin: the table's left edge in pixels (the first edge of the grid);
//    alignment: Qt::AlignLeft, AlignHCenter or AlignRight (\trql, \trqc, \trqr)
//  - cellPadding: pixels, left and right of a cell's text (\trgaph)
//  - headerRowCount: the rows at the start repeated on each page (\trhdr)
//  - cellSpacing 0, border 0 and borderCollapse: the borders are each cell's
//
// QTextTableCellFormat (QTextTableCell::format)
//  - top, left, bottom and right border: width in pixels, style and brush
//    (\clbrdrt ... with \brdrw, \brdrcf, \brdrs), none when the width is 0
//  - background (\clcbpat), or what shading (\clshdng) of a pattern colour
//    (\clcfpat) over it makes, the three also kept as read
//  - verticalAlignment: AlignTop, AlignMiddle or AlignBottom (\clvertal*)
//  - top, left, bottom and right padding in pixels (\clpad*), where given
//
// A table read from a file holds the format most cells of a column have once,
// for the column (kColumnCellFormatsProperty): its cells' own formats name
// nothing but their place. Read a cell's format through ColumnCellFormats.
namespace tableformat {

// On the table format: the grid's column edges in twips as read (a
// QList<int>, one more than the columns), so that widths are written back
// exactly. Ignored when its count no longer matches the columns.
constexpr int kColumnEdgesProperty = QTextFormat::UserProperty + 30;

// On a cell's format: a place of the grid where the file's row had no cell
// (a row shorter than the others, or starting further right). It is shown
// without borders and written as no cell.
constexpr int kAbsentCellProperty = QTextFormat::UserProperty + 31;

// On a cell's format: the RTF words of its definition the program does not
// show, as read (a QByteArray), written back before its \cellx.
constexpr int kCellKeptWordsProperty = QTextFormat::UserProperty + 32;

// On the format of a row's first cell: the RTF words of the row's
// definition the program does not show, as read, written back after \trowd.
constexpr int kRowKeptWordsProperty = QTextFormat::UserProperty + 33;

// On a cell's format, where its background is shading: how much of the
// pattern colour (hundredths of a percent), the pattern colour and the
// colour under it, each a QColor when the file named one.
constexpr int kShadingProperty = QTextFormat::UserProperty + 34;
constexpr int kShadingPatternProperty = QTextFormat::UserProperty + 35;
constexpr int kShadingBackgroundProperty = QTextFormat::UserProperty + 36;

// On the table format: each column's cell format (a QVariantList of
// QTextFormat, one a column, an invalid one for a column without), which a
// cell has unless its own format is marked kOwnCellFormatProperty; what its
// own format adds (its spans, a character format given across the table)
// goes over the column's. Ignored when its count no longer matches the
// columns. Qt knows nothing of it: a copy of the document that leaves the
// program's hands (printing, HTML) has its cells' formats spelled out first.
constexpr int kColumnCellFormatsProperty = QTextFormat::UserProperty + 37;
constexpr int kOwnCellFormatProperty = QTextFormat::UserProperty + 38;

// A table's column formats, read once to ask for many cells.
class ColumnCellFormats {
public:
    // `firstColumn`, for cells copied from a wider table: the column of that
    // table the first one here was, whatever the count.
    ColumnCellFormats() = default;
    ColumnCellFormats(const QTextTableFormat &format, int columns, int firstColumn = -1);
    // The format of a cell at `column` whose own format is `own`.
    QTextTableCellFormat of(const QTextCharFormat &own, int column) const;
    bool isEmpty() const { return formats_.isEmpty(); }

private:
    QVector<QTextTableCellFormat> formats_;
    int firstColumn_ = 0;
};

// Every cell of `table` given the whole format it has, and the column
// formats dropped: for copies Qt prints or writes as HTML.
void spellOutCellFormats(QTextTable &table, int firstColumn = -1);
// The same for every table in the document, at any depth.
void spellOutCellFormats(QTextDocument &document);

} // namespace tableformat
