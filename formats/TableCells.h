#pragma once

#include <QTextTable>

#include <vector>

namespace tableformat {

// A table's cell with its first position and the row and column it starts at.
struct PlacedCell {
    int first;
    int row;
    int column;
    QTextTableCell cell;
};

// A table's cells in the order their text stands (row by row, a merged cell
// once, where it starts). A cell's position is cheap to ask Qt for, its row
// and column are not (a search each): a place whose first position is its
// left or upper neighbour's is taken as part of a merged cell.
std::vector<PlacedCell> cellsInOrder(const QTextTable &table);

} // namespace tableformat
