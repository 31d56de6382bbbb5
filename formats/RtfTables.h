#pragma once

#include "formats/RtfKeywords.h"
#include "formats/RtfTableGrid.h"

#include <vector>

// The tables of a document as its rows define them, collected while it is
// read: rows in a row, each with the definition (\trowd ... \cellx) last
// given before its \row, make a table until a paragraph ends outside one.
namespace rtf::detail {

class TableCollector {
public:
    void rowDefaults(); // \trowd
    void rowLeft(int twips) { definition_.left = twips; }
    // \clmgf, \clmrg, \clvmgf, \clvmrg: said of the cell the next \cellx ends.
    void cellFlag(Action action);
    void cellEdge(int twips);
    void rowEnded();
    void paragraphOutside();
    std::vector<TableGrid> take();

private:
    RowCells definition_;
    RowCells::Cell pending_;
    std::vector<RowCells> rows_;
    std::vector<TableGrid> tables_;
    qsizetype cellsKept_ = 0;
};

// Beyond this many cells a document's rows are not kept: rows that repeat a
// long definition would otherwise cost the square of the file's size.
constexpr qsizetype kMaxTableCells = 1'000'000;

} // namespace rtf::detail
