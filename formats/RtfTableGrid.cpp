#include "formats/RtfTableGrid.h"

#include <algorithm>
#include <map>

namespace rtf {

namespace {

// Each cell's right edge, made to lie right of the one before it.
std::vector<int> rightEdges(const RowCells &row)
{
    std::vector<int> edges;
    edges.reserve(row.cells.size());
    int previous = row.left;
    for (const RowCells::Cell &cell : row.cells) {
        previous = cell.right > previous ? cell.right : previous + kDefaultCellWidth;
        edges.push_back(previous);
    }
    return edges;
}

int columnAt(const std::vector<int> &edges, int twips)
{
    // The nearest edge: every row's edges are among them, within the tolerance.
    const auto after = std::lower_bound(edges.begin(), edges.end(), twips - kEdgeTolerance);
    return static_cast<int>(std::min(after - edges.begin(), static_cast<std::ptrdiff_t>(edges.size()) - 1));
}

} // namespace

TableGrid layOutGrid(std::vector<RowCells> rows)
{
    TableGrid grid;
    std::vector<std::vector<int>> rights;
    rights.reserve(rows.size());
    std::vector<int> all;
    for (const RowCells &row : rows) {
        rights.push_back(rightEdges(row));
        all.push_back(row.left);
        all.insert(all.end(), rights.back().begin(), rights.back().end());
    }
    std::sort(all.begin(), all.end());
    for (const int edge : all) {
        if (grid.edges.empty() || edge - grid.edges.back() > kEdgeTolerance)
            grid.edges.push_back(edge);
    }
    // Edges that all fall together still make a column.
    if (grid.edges.size() == 1)
        grid.edges.push_back(grid.edges.front() + kDefaultCellWidth);
    const int columns = grid.columns();
    // The cells merging down into the next row, by the columns they cover.
    std::map<std::pair<int, int>, std::size_t> mergingDown;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const RowCells &row = rows[r];
        std::vector<std::size_t> down; // known by their columns once the row is done
        std::vector<int> &sources = grid.sources.emplace_back();
        sources.reserve(row.cells.size());
        int left = row.left;
        int next = 0; // the first column no cell of this row holds yet
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const RowCells::Cell &cell = row.cells[c];
            const int right = rights[r][c];
            // A cell narrower than the tolerance still takes a column, one
            // no cell before it holds; without one left its text joins the
            // cell before it.
            int from = std::max(columnAt(grid.edges, left), next);
            left = right;
            if (from >= columns && !sources.empty()) {
                sources.push_back(sources.back());
                continue;
            }
            from = std::min(from, columns - 1);
            const int to = std::clamp(columnAt(grid.edges, right), from + 1, columns);
            next = to;
            // A cell merged across widens the one before it in this row.
            if (cell.mergedAcross && !grid.cells.empty() && grid.cells.back().row == int(r)) {
                GridCell &before = grid.cells.back();
                before.columnSpan = to - before.column;
                sources.push_back(int(grid.cells.size()) - 1);
                continue;
            }
            if (cell.mergedUp) {
                if (const auto above = mergingDown.find({from, to}); above != mergingDown.end()) {
                    ++grid.cells[above->second].rowSpan;
                    down.push_back(above->second);
                    sources.push_back(int(above->second));
                    continue;
                }
            }
            sources.push_back(int(grid.cells.size()));
            grid.cells.push_back({int(r), from, 1, to - from, int(c)});
            if (cell.mergeDownStart)
                down.push_back(grid.cells.size() - 1);
        }
        mergingDown.clear();
        for (const std::size_t index : down) {
            const GridCell &cell = grid.cells[index];
            mergingDown[{cell.column, cell.column + cell.columnSpan}] = index;
        }
    }
    grid.rows = std::move(rows);
    return grid;
}

} // namespace rtf
