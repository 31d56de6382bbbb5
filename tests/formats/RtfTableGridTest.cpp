#include "RtfTestSupport.h"

#include "formats/RtfParser.h"
#include "formats/RtfTableGrid.h"
#include "support/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

rtf::RowCells row(std::initializer_list<int> rights, int left = 0)
{
    rtf::RowCells cells;
    cells.left = left;
    for (const int right : rights)
        cells.cells.emplace_back().right = right;
    return cells;
}

std::vector<std::vector<int>> placed(const rtf::TableGrid &grid)
{
    std::vector<std::vector<int>> out;
    for (const rtf::GridCell &cell : grid.cells)
        out.push_back({cell.row, cell.column, cell.rowSpan, cell.columnSpan});
    return out;
}

} // namespace

TEST(RtfTableGrid, RowsCutDifferentlyShareTheColumnsOfAllTheirEdges)
{
    // Edges 1 twip apart are one: writers round each their own way.
    const rtf::TableGrid grid = rtf::layOutGrid({row({2000, 4000, 6000}), row({3000, 6001})});
    EXPECT_EQ(grid.edges, (std::vector<int>{0, 2000, 3000, 4000, 6000}));
    EXPECT_EQ(placed(grid), (std::vector<std::vector<int>>{
                                {0, 0, 1, 1}, {0, 1, 1, 2}, {0, 3, 1, 1}, {1, 0, 1, 2}, {1, 2, 1, 2}}));
}

TEST(RtfTableGrid, MergedCellsAreOneCell)
{
    rtf::RowCells first = row({2000, 4000, 6000});
    first.cells[0].mergeAcrossStart = true;
    first.cells[1].mergedAcross = true;
    first.cells[2].mergeDownStart = true;
    rtf::RowCells second = row({2000, 4000, 6000});
    second.cells[2].mergedUp = true;
    rtf::RowCells third = row({2000, 4000, 6000});
    third.cells[2].mergedUp = true;
    const rtf::TableGrid grid = rtf::layOutGrid({first, second, third});
    EXPECT_EQ(placed(grid), (std::vector<std::vector<int>>{
                                {0, 0, 1, 2}, {0, 2, 3, 1}, {1, 0, 1, 1}, {1, 1, 1, 1}, {2, 0, 1, 1}, {2, 1, 1, 1}}));
    EXPECT_EQ(grid.cells[1].source, 2);
}

TEST(RtfTableGrid, CellsWithoutEdgesAndMergesWithoutStartsStillMakeAGrid)
{
    // Cells without \cellx, a merge up with nothing above, a merge across first in its row.
    rtf::RowCells bad = row({0, 0, 500}, 100);
    bad.cells[0].mergedUp = true;
    bad.cells[0].mergedAcross = true;
    const rtf::TableGrid grid = rtf::layOutGrid({bad});
    EXPECT_EQ(grid.edges, (std::vector<int>{100, 100 + rtf::kDefaultCellWidth, 100 + 2 * rtf::kDefaultCellWidth,
                                            100 + 3 * rtf::kDefaultCellWidth}));
    EXPECT_EQ(placed(grid), (std::vector<std::vector<int>>{{0, 0, 1, 1}, {0, 1, 1, 1}, {0, 2, 1, 1}}));

    rtf::RowCells wide;
    for (int i = 1; i <= 10000; ++i)
        wide.cells.emplace_back().right = i * 10;
    EXPECT_EQ(rtf::layOutGrid({wide, row({100000})}).columns(), 10000);
}

namespace {

std::vector<rtf::TableGrid> tablesOf(const QByteArray &data)
{
    const auto *begin = reinterpret_cast<const uchar *>(data.constData());
    rtf::detail::Parser parser(begin, begin + data.size());
    parser.parse();
    return parser.takeContent().tables;
}

} // namespace

TEST(RtfTableGrid, TheTablesOfEveryWriterAreReadAsTheirRowsDefineThem)
{
    // One table of two rows and three columns, as LibreOffice, AbiWord, pandoc and Word write it.
    for (const char *name : {"libreoffice.rtf", "abiword.rtf", "pandoc.rtf", "word.rtf"}) {
        const std::vector<rtf::TableGrid> tables =
            tablesOf(testhelpers::readFile(rtftest::corpusFile(QLatin1String(name))));
        ASSERT_EQ(tables.size(), 1u) << name;
        EXPECT_EQ(tables[0].columns(), 3) << name;
        ASSERT_EQ(tables[0].cells.size(), 6u) << name;
        EXPECT_EQ(tables[0].cells.back().row, 1) << name;
    }
    // Two tables apart, a definition after its cells, a nested row that is none of the document's.
    const std::vector<rtf::TableGrid> tables = tablesOf(
        "{\\rtf1 \\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row \\pard between\\par "
        "\\intbl c\\cell {\\intbl x\\nestcell{\\nestrow}}d\\cell e\\cell"
        "\\trowd\\trleft-100\\cellx500\\clvmgf\\cellx1500\\cellx3000\\row}");
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(tables[0].cells.size(), 2u);
    EXPECT_EQ(tables[1].edges, (std::vector<int>{-100, 500, 1500, 3000}));
}

TEST(RtfTableGridTest, CellsNarrowerThanTheToleranceOrBeyondTheEdgesStillTakeAColumnOrJoinTheOneBefore)
{
    // A cell 1 twip wide (its edges one within the tolerance), then one
    // whose edge is not right of it (taken as a default width further).
    const rtf::TableGrid grid = rtf::layOutGrid({row({1000, 1001, 1001}), row({1001})});
    EXPECT_EQ(grid.edges, (std::vector<int>{0, 1000, 2441}));
    EXPECT_EQ(grid.sources[0], (std::vector<int>{0, 1, 1})) << "the last cell finds no column left and joins the one before";
    EXPECT_EQ(rtf::layOutGrid({row({0}, 0)}).columns(), 1) << "a row of one edge";
}
