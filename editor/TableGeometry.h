#pragma once

#include <QList>
#include <QTextLength>

#include <vector>

// Where a table's columns and rows fall, from what its format and its cells
// ask for. No widgets, no document: the layout measures the cells and asks.
namespace tablegeometry {

// The columns' edges, left to right (one more than the columns), from the
// table's left edge. Fixed widths are taken as they are; percentages are of
// `width`; variable columns share what is left of it, and at least
// `narrowest` each.
std::vector<double> columnEdges(const QList<QTextLength> &constraints, int columns, double width,
                                double narrowest);

// Where the table's left edge goes in `width`, by its alignment and margin.
double tableLeft(double tableWidth, double width, double leftMargin, int horizontalAlignment);

struct CellHeight {
    int row = 0;
    int rowSpan = 1;
    double height = 0; // what its content needs
};

// Each row's height: as tall as its tallest cell; a cell spanning rows
// lengthens the last of them by what the rows together lack.
std::vector<double> rowHeights(int rows, const std::vector<CellHeight> &cells, double lowest);

} // namespace tablegeometry
