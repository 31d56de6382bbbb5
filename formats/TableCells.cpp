#include "formats/TableCells.h"

#include <algorithm>

namespace tableformat {

std::vector<PlacedCell> cellsInOrder(const QTextTable &table)
{
    std::vector<PlacedCell> cells;
    std::vector<int> above(size_t(std::max(0, table.columns())), -1);
    for (int row = 0; row < table.rows(); ++row) {
        int left = -1;
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            const int first = cell.firstPosition();
            if (first != left && first != above[size_t(column)])
                cells.push_back({first, row, column, cell});
            left = first;
            above[size_t(column)] = first;
        }
    }
    std::sort(cells.begin(), cells.end(), [](const PlacedCell &a, const PlacedCell &b) { return a.first < b.first; });
    return cells;
}

} // namespace tableformat
