#include "formats/RtfTables.h"

namespace rtf::detail {

void TableCollector::rowDefaults()
{
    definition_ = RowCells();
    pending_ = RowCells::Cell();
}

void TableCollector::cellFlag(Action action)
{
    switch (action) {
    case Action::CellMergeAcrossStart: pending_.mergeAcrossStart = true; break;
    case Action::CellMergedAcross: pending_.mergedAcross = true; break;
    case Action::CellMergeDownStart: pending_.mergeDownStart = true; break;
    case Action::CellMergedUp: pending_.mergedUp = true; break;
    default: break;
    }
}

void TableCollector::cellEdge(int twips)
{
    pending_.right = twips;
    if (definition_.cells.size() < std::size_t(kMaxTableCells))
        definition_.cells.push_back(pending_);
    pending_ = RowCells::Cell();
}

void TableCollector::rowEnded()
{
    cellsKept_ += qsizetype(definition_.cells.size()) + 1;
    if (cellsKept_ <= kMaxTableCells)
        rows_.push_back(definition_);
}

void TableCollector::paragraphOutside()
{
    if (rows_.empty())
        return;
    tables_.push_back(layOutGrid(rows_));
    rows_.clear();
}

std::vector<TableGrid> TableCollector::take()
{
    paragraphOutside();
    return std::move(tables_);
}

} // namespace rtf::detail
