#pragma once

#include "formats/RtfKeywords.h"
#include "formats/RtfTableGrid.h"

#include <algorithm>
#include <vector>

// The tables of a document as its rows define them, collected while it is
// read: rows in a row, each with the definition (\trowd ... \cellx) last
// given before its \row, make a table until a paragraph ends outside one.
namespace rtf::detail {

// Edges beyond this many twips either way are taken as this far: a row of
// the most cells kept, each as wide as it may be, still fits an int.
constexpr int kMaxTableTwips = 100 * 31680;

class TableCollector {
public:
    void rowDefaults(); // \trowd
    void rowLeft(int twips) { definition_.left = std::clamp(twips, -kMaxTableTwips, kMaxTableTwips); }
    void rowGap(int twips) { definition_.gap = std::clamp(twips, 0, kMaxTableTwips); }
    void rowHeader() { definition_.header = true; }
    void rowAlignment(int alignment) { definition_.alignment = alignment; }
    // \clmgf, \clmrg, \clvmgf, \clvmrg: said of the cell the next \cellx ends.
    void cellFlag(Action action);
    // Which border the \brdr words that follow are of; -1: not a cell's.
    void borderSide(int side)
    {
        side_ = side;
        borderKept_ = nullptr;
    }
    void borderLine(bool shown);
    void borderWidth(int twips);
    void borderColour(quint32 colour);
    void cellBackground(quint32 colour) { pending_.background = colour; }
    void cellPattern(quint32 colour) { pending_.pattern = colour; }
    void cellShading(int hundredths) { pending_.shading = std::clamp(hundredths, 0, kWholeShading); }
    void cellVertical(int vertical) { pending_.vertical = vertical; }
    void cellEdge(int twips);
    // A word the reader does not know, kept with the row or cell whose
    // definition it stands in when it is one of theirs.
    void unknownWord(QByteArrayView letters, const QByteArray &word);
    // A border word (\brdrs, \brdrw) read as given: kept too when it
    // describes a border the reader does not show.
    void borderWord(const QByteArray &word);
    bool keepsBorderWords() const { return side_ < 0 && borderKept_; }
    // A word of a row's or a cell's definition, by its letters.
    static bool isTableWord(QByteArrayView letters)
    {
        return letters.startsWith("cl") || letters.startsWith("tr") || letters.startsWith("tbl") ||
               letters.startsWith("ts");
    }
    // A row ends with this many cells of text: the index the row has in its
    // table, or -1 when it is not kept (beyond kMaxTableCells).
    int rowEnded(int textCells);
    void paragraphOutside();
    // The index the table being collected will have.
    int openTable() const { return static_cast<int>(tables_.size()); }
    std::vector<TableGrid> take();

private:
    CellBorder *border();
    void keep(QByteArray &words, const QByteArray &word);

    RowCells definition_;
    RowCells::Cell pending_;
    int side_ = -1;
    QByteArray *borderKept_ = nullptr; // where the words of a border not shown go
    std::vector<RowCells> rows_;
    std::vector<TableGrid> tables_;
    qsizetype cellsKept_ = 0;
};

// Beyond this many cells a document's rows are not kept: rows that repeat a
// long definition would otherwise cost the square of the file's size.
constexpr qsizetype kMaxTableCells = 1'000'000;
// A cell's padding, at most (twips).
constexpr int kMaxPadding = 31680;
// The words kept of one row or cell, at most.
constexpr qsizetype kMaxKeptTableWords = 4096;

} // namespace rtf::detail
