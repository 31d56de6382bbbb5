#include "editor/TableGeometry.h"

#include <QtGlobal>

#include <algorithm>

namespace tablegeometry {

std::vector<double> columnEdges(const QList<QTextLength> &constraints, int columns, double width,
                                double narrowest)
{
    std::vector<double> widths(static_cast<std::size_t>(std::max(0, columns)), -1);
    double taken = 0;
    int variable = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = c < constraints.size() ? constraints.at(c) : QTextLength();
        double &w = widths[static_cast<std::size_t>(c)];
        switch (length.type()) {
        case QTextLength::FixedLength: w = std::max(0.0, length.rawValue()); break;
        case QTextLength::PercentageLength: w = std::max(0.0, width * length.rawValue() / 100); break;
        default: ++variable; continue;
        }
        taken += w;
    }
    const double share = variable > 0 ? std::max(narrowest, (width - taken) / variable) : 0;
    std::vector<double> edges{0};
    edges.reserve(widths.size() + 1);
    for (const double w : widths)
        edges.push_back(edges.back() + (w < 0 ? share : w));
    return edges;
}

double tableLeft(double tableWidth, double width, double leftMargin, int horizontalAlignment)
{
    if (horizontalAlignment & Qt::AlignHCenter)
        return std::max(0.0, (width - tableWidth) / 2);
    if (horizontalAlignment & Qt::AlignRight)
        return std::max(0.0, width - tableWidth);
    return leftMargin;
}

std::vector<double> rowHeights(int rows, const std::vector<CellHeight> &cells, double lowest)
{
    std::vector<double> heights(static_cast<std::size_t>(std::max(0, rows)), lowest);
    for (const CellHeight &cell : cells) {
        if (cell.rowSpan == 1 && cell.row >= 0 && cell.row < rows)
            heights[static_cast<std::size_t>(cell.row)] = std::max(heights[static_cast<std::size_t>(cell.row)], cell.height);
    }
    // Spans in the order of their last row, so that a span ending below
    // another one sees what that one added.
    std::vector<CellHeight> spans;
    for (const CellHeight &cell : cells) {
        if (cell.rowSpan > 1 && cell.row >= 0 && cell.row < rows)
            spans.push_back(cell);
    }
    std::stable_sort(spans.begin(), spans.end(), [](const CellHeight &a, const CellHeight &b) {
        return a.row + a.rowSpan < b.row + b.rowSpan;
    });
    for (const CellHeight &span : spans) {
        const int last = std::min(rows, span.row + span.rowSpan) - 1;
        double have = 0;
        for (int r = span.row; r <= last; ++r)
            have += heights[static_cast<std::size_t>(r)];
        if (span.height > have)
            heights[static_cast<std::size_t>(last)] += span.height - have;
    }
    return heights;
}

} // namespace tablegeometry
