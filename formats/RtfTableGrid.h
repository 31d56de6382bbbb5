#pragma once

#include <QByteArray>

#include <vector>

// The grid of an RTF table. A row names only its own cells' right edges
// (\cellx, in twips, after the row's left edge \trleft), and rows of one table
// may cut it differently: the columns are every edge any row has, and a cell
// spans the columns between its edges. Cells merged across (\clmgf, then
// \clmrg) are one cell; a cell merged up (\clvmrg) lengthens the cell above it
// that started a merge down (\clvmgf) over the same columns.
namespace rtf {

constexpr quint32 kNoColour = 0xFFFFFFFFu;
constexpr int kWholeShading = 10000; // \clshdng of the pattern colour alone

struct CellBorder {
    bool shown = false; // a line style was given (\brdrs, ...), not \brdrnone
    int width = 0;      // twips (\brdrw)
    quint32 colour = kNoColour; // \brdrcf
};

enum CellSide { kTopSide, kLeftSide, kBottomSide, kRightSide };
enum RowAlignment { kRowLeft, kRowCentre, kRowRight };
enum CellVertical { kCellTop, kCellMiddle, kCellBottom };

struct RowCells {
    struct Cell {
        int right = 0; // twips from the page's text edge, as \cellx gives it
        bool mergeAcrossStart = false; // \clmgf
        bool mergedAcross = false;     // \clmrg: part of the cell before it
        bool mergeDownStart = false;   // \clvmgf
        bool mergedUp = false;         // \clvmrg: part of the cell above it
        CellBorder borders[4];         // by CellSide
        quint32 background = kNoColour; // \clcbpat
        quint32 pattern = kNoColour;    // \clcfpat: the colour shading mixes in
        int shading = 0;                // \clshdng: how much of it, in hundredths of a percent
        int vertical = kCellTop;       // \clvertalt, \clvertalc, \clvertalb
        QByteArray kept;               // the words of its definition not shown, as read
        int padding[4] = {-1, -1, -1, -1}; // twips by CellSide (\clpad*); -1: the row's
    };
    int left = 0; // \trleft
    int gap = 0;  // \trgaph: half the space between cells' texts
    int alignment = kRowLeft;
    bool header = false; // \trhdr
    QByteArray kept;     // the words of the row's definition not shown, as read
    int padding[4] = {-1, -1, -1, -1}; // twips by CellSide (\trpadd*); -1: \trgaph or none
    std::vector<Cell> cells;
};

struct GridCell {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    int source = 0; // the cell of the row's definition it starts at
};

struct TableGrid {
    std::vector<int> edges;      // column edges, left to right: one more than the columns
    std::vector<GridCell> cells; // each cell once, at its top left, rows in order
    // For each row, for each cell of its definition: the cell it is part of.
    std::vector<std::vector<int>> sources;
    std::vector<RowCells> rows; // the definitions, as read
    int rowCount() const { return static_cast<int>(sources.size()); }
    int columns() const { return edges.empty() ? 0 : static_cast<int>(edges.size()) - 1; }
};

// Edges no more than this many twips apart are one edge: writers round
// widths each their own way.
constexpr int kEdgeTolerance = 1;
// How wide a cell is whose right edge is missing or not right of the one
// before it (a row without \cellx for every \cell).
constexpr int kDefaultCellWidth = 1440;

TableGrid layOutGrid(std::vector<RowCells> rows);

} // namespace rtf
