// A table inside a table's cell, as Word and LibreOffice write it (\itap2,
// \nestcell, the row's definition after its cells in \nesttableprops): read
// as a table in the cell, written back the same way; deeper tables are read
// as lines of tabs in their cells.

#include "RtfTestSupport.h"
#include "formats/RtfLoadStatus.h"

#include <gtest/gtest.h>

namespace {

using rtftest::readRtf;

const QByteArray kNested = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n"
                           "\\trowd\\trgaph108\\cellx2000\\cellx6000\r\n"
                           "\\pard\\intbl left\\cell\r\n"
                           "\\pard\\intbl\\itap2 A\\nestcell B\\nestcell\r\n"
                           "{\\*\\nesttableprops\\trowd\\trgaph108\\trleft2100\\clcbpat1\\cellx3500\\cellx5500\\nestrow}"
                           "{\\nonesttables\\par }\r\n"
                           "\\pard\\intbl\\itap2 C\\par C2\\nestcell D\\nestcell\r\n"
                           "{\\*\\nesttableprops\\trowd\\trgaph108\\trleft2100\\cellx3500\\cellx5500\\nestrow}"
                           "{\\nonesttables flattened\\par }\r\n"
                           "\\pard\\intbl\\itap1 after\\cell\r\n"
                           "\\trowd\\trgaph108\\cellx2000\\cellx6000\\row\r\n"
                           "\\pard end\\par}";

// The tables inside each cell of the document's tables, described as
// rtftest::tables describes the outer ones.
std::vector<QStringList> innerTables(const QTextDocument &document)
{
    QTextDocument copy;
    std::vector<QStringList> result;
    for (QTextFrame *outer : document.rootFrame()->childFrames()) {
        for (QTextFrame *frame : outer->childFrames()) {
            auto *table = qobject_cast<QTextTable *>(frame);
            if (!table)
                continue;
            QStringList rows;
            for (int r = 0; r < table->rows(); ++r) {
                QStringList cells;
                for (int c = 0; c < table->columns(); ++c)
                    cells << rtftest::cellText(table->cellAt(r, c));
                rows << cells.join(QLatin1Char('|'));
            }
            result.push_back(rows);
        }
    }
    return result;
}

QTextTable *firstInner(const QTextDocument &document)
{
    for (QTextFrame *outer : document.rootFrame()->childFrames())
        for (QTextFrame *frame : outer->childFrames())
            if (auto *table = qobject_cast<QTextTable *>(frame))
                return table;
    return nullptr;
}

TEST(RtfNestedTable, ReadsATableInACellAndWritesItBackTheSame)
{
    rtf::LoadStatus status;
    auto document = std::make_unique<QTextDocument>();
    ASSERT_TRUE(rtf::read(kNested, *document, status));
    EXPECT_TRUE(status.complete());
    ASSERT_EQ(rtftest::tables(*document).size(), 1u);
    EXPECT_EQ(rtftest::tables(*document)[0], QStringList{QStringLiteral("left|/A/B/C/C2/D/after")});
    const std::vector<QStringList> expected{{QStringLiteral("A|B"), QStringLiteral("C/C2|D")}};
    EXPECT_EQ(innerTables(*document), expected);
    QTextTable *inner = firstInner(*document);
    ASSERT_NE(inner, nullptr);
    EXPECT_DOUBLE_EQ(inner->format().columnWidthConstraints().value(0).rawValue(), 1400 / 15.0);
    EXPECT_FALSE(rtftest::paragraphs(*document).join(QLatin1Char('/')).contains(QStringLiteral("flattened")));

    const QByteArray written = rtf::write(*document);
    EXPECT_EQ(written.count("\\nestcell"), 4) << written.constData();
    EXPECT_EQ(written.count("\\nestrow"), 2);
    EXPECT_EQ(written.count("\\row"), 1);
    auto again = readRtf(written);
    EXPECT_EQ(rtftest::tables(*again), rtftest::tables(*document)) << written.constData();
    EXPECT_EQ(innerTables(*again), expected);
    EXPECT_EQ(rtf::write(*again), written);
}

TEST(RtfNestedTable, TablesDeeperInAreLinesOfTabsAndNothingIsLost)
{
    const QByteArray deep = "{\\rtf1\\trowd\\cellx4000\\pard\\intbl\\itap2 x\\nestcell"
                            "\\pard\\intbl\\itap3 p\\nestcell q\\nestcell{\\*\\nesttableprops\\trowd\\cellx1\\cellx2\\nestrow}"
                            "\\pard\\intbl\\itap2 y\\nestcell{\\*\\nesttableprops\\trowd\\cellx3000\\cellx3500\\nestrow}"
                            "\\pard\\intbl\\itap1\\cell\\row\\pard z\\par}";
    rtf::LoadStatus status;
    auto document = std::make_unique<QTextDocument>();
    ASSERT_TRUE(rtf::read(deep, *document, status));
    EXPECT_GT(status.count(rtf::Loss::TableRows), 0);
    const std::vector<QStringList> expected{{QStringLiteral("x|p\tq/y")}};
    EXPECT_EQ(innerTables(*document), expected);

    // Rows inside a cell that never end, and \nestcell outside any table.
    for (const QByteArray &odd : {QByteArray("{\\rtf1\\trowd\\cellx900\\pard\\intbl\\itap2 a\\nestcell b\\cell\\row}"),
                                  QByteArray("{\\rtf1 a\\nestcell b{\\*\\nesttableprops\\nestrow} c\\par}")}) {
        auto read = readRtf(odd);
        const QString text = read->toPlainText();
        EXPECT_TRUE(text.contains(QLatin1Char('a')) && text.contains(QLatin1Char('b'))) << odd.constData();
        readRtf(rtf::write(*read));
    }
}

} // namespace
