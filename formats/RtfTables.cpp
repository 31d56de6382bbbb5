#include "formats/RtfTables.h"

#include <algorithm>

namespace rtf::detail {

void TableCollector::rowDefaults()
{
    definition_ = RowCells();
    pending_ = RowCells::Cell();
    side_ = -1;
    borderKept_ = nullptr;
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

CellBorder *TableCollector::border()
{
    return side_ >= 0 && side_ < 4 ? &pending_.borders[side_] : nullptr;
}

void TableCollector::borderLine(bool shown)
{
    if (CellBorder *b = border())
        b->shown = shown;
}

void TableCollector::borderWidth(int twips)
{
    if (CellBorder *b = border())
        b->width = std::clamp(twips, 0, 255);
}

void TableCollector::borderColour(quint32 colour)
{
    if (CellBorder *b = border())
        b->colour = colour;
}

void TableCollector::cellEdge(int twips)
{
    pending_.right = std::clamp(twips, -kMaxTableTwips, kMaxTableTwips);
    if (definition_.cells.size() < std::size_t(kMaxTableCells))
        definition_.cells.push_back(pending_);
    pending_ = RowCells::Cell();
    side_ = -1;
    borderKept_ = nullptr;
}

void TableCollector::keep(QByteArray &words, const QByteArray &word)
{
    if (words.size() + word.size() <= kMaxKeptTableWords)
        words += word;
}

void TableCollector::unknownWord(QByteArrayView letters, const QByteArray &word)
{
    // Row numbers are the writer's to give, and colours are indices into a
    // colour table that is written anew: neither is kept.
    static const char *const kNotKept[] = {"irow", "irowband", "lastrow", "trcbpat", "trcfpat",
                                           "clcbpatraw", "clcfpatraw", "tblrsid"};
    for (const char *name : kNotKept) {
        if (letters == QByteArrayView(name))
            return;
    }
    // Paddings are shown and kept as read. Word, and LibreOffice after it,
    // write a cell's left padding as \clpadt and its top one as \clpadl.
    static const std::pair<const char *, int> kPaddings[] = {
        {"clpadt", kLeftSide}, {"clpadl", kTopSide}, {"clpadb", kBottomSide}, {"clpadr", kRightSide},
        {"trpaddt", kTopSide}, {"trpaddl", kLeftSide}, {"trpaddb", kBottomSide}, {"trpaddr", kRightSide}};
    for (const auto &[name, side] : kPaddings) {
        if (letters == QByteArrayView(name)) {
            const int twips = std::clamp(word.mid(qsizetype(qstrlen(name)) + 1).toInt(), 0, kMaxPadding);
            (name[1] == 'l' ? pending_.padding : definition_.padding)[side] = twips;
        }
    }
    if (!isTableWord(letters))
        return; // a word of the text, not of the table
    QByteArray &words = letters.startsWith("cl") ? pending_.kept : definition_.kept;
    keep(words, word);
    // The words that follow a border's name describe that border.
    if (letters.contains("brdr")) {
        side_ = -1;
        borderKept_ = &words;
    }
}

void TableCollector::borderWord(const QByteArray &word)
{
    if (keepsBorderWords())
        keep(*borderKept_, word);
}

int TableCollector::rowEnded(int textCells)
{
    // Each cell of text has a cell of the grid: those the definition lacks
    // follow its last one.
    RowCells row = definition_;
    int right = row.cells.empty() ? row.left : row.cells.back().right;
    while (int(row.cells.size()) < textCells && row.cells.size() < std::size_t(kMaxTableCells)) {
        RowCells::Cell cell;
        right += kDefaultCellWidth;
        cell.right = right;
        row.cells.push_back(cell);
    }
    cellsKept_ += qsizetype(row.cells.size()) + 1;
    if (cellsKept_ > kMaxTableCells || row.cells.empty())
        return -1;
    rows_.push_back(std::move(row));
    return int(rows_.size()) - 1;
}

void TableCollector::paragraphOutside()
{
    if (rows_.empty())
        return;
    tables_.push_back(layOutGrid(std::move(rows_)));
    rows_.clear();
}

std::vector<TableGrid> TableCollector::take()
{
    paragraphOutside();
    return std::move(tables_);
}

} // namespace rtf::detail
