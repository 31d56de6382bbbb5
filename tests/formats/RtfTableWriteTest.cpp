// Tables written as RTF rows of cells, as Word and LibreOffice read them:
// what a row's definition says, merged cells, cells the file's rows did not
// have, a range of the clipboard inside a cell or across cells. What other
// programs make of the written tables is in RtfInteropTest.

#include "RtfTestSupport.h"
#include "formats/TableFormat.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextTable>

#include <gtest/gtest.h>

namespace {

constexpr qreal kWidths[] = {100, 150, 80, 120}; // pixels: 1500, 2250, 1200, 1800 twips

// "before", a table of `rows` x `columns` (up to 4) cells named A1, B1, ...
// with fixed widths, "after".
QTextTable *putTable(QTextDocument &document, int rows, int columns)
{
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("before"));
    QTextTableFormat format;
    QList<QTextLength> widths;
    for (int column = 0; column < columns; ++column)
        widths << QTextLength(QTextLength::FixedLength, kWidths[column]);
    format.setColumnWidthConstraints(widths);
    format.setCellPadding(6);
    format.setBorder(0);
    QTextTable *table = cursor.insertTable(rows, columns, format);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            table->cellAt(row, column).firstCursorPosition().insertText(QChar(u'A' + column) + QString::number(row + 1));
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("after"));
    return table;
}

// How often a control word stands in the RTF (not as the start of a longer one).
int count(const QByteArray &rtf, const char *word)
{
    const QRegularExpression re(QRegularExpression::escape(QString::fromLatin1(word)) + QStringLiteral("(?![a-z])"));
    return int(QString::fromLatin1(rtf).count(re));
}

// The rows' definitions, a line each.
QStringList definitions(const QByteArray &rtf)
{
    QStringList result;
    for (const QString &line : QString::fromLatin1(rtf).split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QStringLiteral("\\trowd")))
            result << line;
    }
    return result;
}

TEST(RtfTableWriteTest, RowsDefineTheirCellsBeforeTheirParagraphs)
{
    QTextDocument document;
    QTextTable *table = putTable(document, 2, 3);
    QTextTableFormat format = table->format();
    format.setHeaderRowCount(1);
    format.setAlignment(Qt::AlignHCenter);
    table->setFormat(format);
    QTextTableCellFormat cell;
    cell.setTopBorder(1);
    cell.setTopBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    cell.setTopBorderBrush(QColor(255, 0, 0));
    cell.setBottomBorder(2);
    cell.setBottomBorderStyle(QTextFrameFormat::BorderStyle_Dashed);
    cell.setBottomBorderBrush(QColor(255, 0, 0));
    cell.setBackground(QColor(0, 0, 255));
    cell.setVerticalAlignment(QTextCharFormat::AlignMiddle);
    table->cellAt(1, 1).setFormat(cell);
    QTextCursor(table->cellAt(1, 1).lastCursorPosition()).insertText(QStringLiteral("\u2029second"));

    const QByteArray rtf = rtf::write(document);
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}")) << rtf.toStdString();
    EXPECT_EQ(definitions(rtf),
              (QStringList{QStringLiteral("\\trowd\\trgaph90\\trleft0\\trhdr\\trqc\\cellx1500\\cellx3750\\cellx4950"),
                           QStringLiteral("\\trowd\\trgaph90\\trleft0\\trqc\\cellx1500\\clvertalc\\clbrdrt\\brdrs\\brdrw15"
                                          "\\brdrcf1\\clbrdrb\\brdrdash\\brdrw30\\brdrcf1\\clcbpat2\\cellx3750\\cellx4950")}));
    EXPECT_TRUE(rtf.contains("before\\par\r\n\\trowd")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\pard\\intbl A2\\cell\r\n\\pard\\intbl B2\\par\r\n\\pard\\intbl second\\cell\r\n"
                             "\\pard\\intbl C2\\cell\r\n\\row\r\n\\pard after\\par"))
        << "a cell's paragraphs, then the text after the table outside it: " << rtf.toStdString();
    EXPECT_EQ(count(rtf, "\\cell"), 6);

    // The empty paragraph Qt keeps before a table is none of the file's.
    QTextDocument first;
    QTextCursor(&first).insertTable(1, 1)->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("only"));
    EXPECT_TRUE(rtf::write(first).contains("\\uc1\r\n\\trowd")) << rtf::write(first).toStdString();

    // Written a paragraph at a time, the rows come out the same.
    rtf::StepwiseWriter stepwise(document);
    int steps = 0;
    while (!stepwise.step(QDeadlineTimer(0)))
        ++steps;
    EXPECT_GT(steps, 5);
    EXPECT_EQ(stepwise.take(), rtf);
}

TEST(RtfTableWriteTest, MergedCellsAndCellsTheFileDidNotHave)
{
    QTextDocument document;
    QTextTable *table = putTable(document, 3, 3);
    table->mergeCells(0, 0, 1, 2); // A1 across two columns
    table->mergeCells(0, 2, 2, 1); // C1 down two rows
    QTextTableCellFormat absent;
    absent.setProperty(tableformat::kAbsentCellProperty, true);
    QTextCursor c3(table->cellAt(2, 2).firstCursorPosition());
    c3.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    c3.removeSelectedText();
    table->cellAt(2, 2).setFormat(absent);
    QTextTableCellFormat kept = table->cellAt(1, 0).format().toTableCellFormat();
    kept.setProperty(tableformat::kRowKeptWordsProperty, QByteArray("\\trkeep"));
    kept.setProperty(tableformat::kCellKeptWordsProperty, QByteArray("\\clshdng2000"));
    table->cellAt(1, 0).setFormat(kept);

    const QByteArray rtf = rtf::write(document);
    // Merged across: each column keeps its edge, the first \\clmgf and the rest \\clmrg.
    EXPECT_EQ(definitions(rtf), (QStringList{QStringLiteral("\\trowd\\trgaph90\\trleft0\\clmgf\\cellx1500\\clmrg\\cellx3750"
                                                            "\\clvmgf\\cellx4950"),
                                             QStringLiteral("\\trowd\\trgaph90\\trleft0\\trkeep\\clshdng2000\\cellx1500"
                                                            "\\cellx3750\\clvmrg\\cellx4950"),
                                             QStringLiteral("\\trowd\\trgaph90\\trleft0\\cellx1500\\cellx3750")}));
    EXPECT_TRUE(rtf.contains("\\pard\\intbl B2\\cell\r\n\\pard\\intbl\\cell\r\n\\row")) << "the covered cell, empty";
    EXPECT_TRUE(rtf.contains("\\pard\\intbl B3\\cell\r\n\\row")) << "no cell where the row had none";

    // A row whose every cell a cell above covers is still a row.
    QTextDocument down;
    QTextTable *two = putTable(down, 2, 2);
    two->mergeCells(0, 0, 2, 2);
    const QByteArray merged = rtf::write(down);
    EXPECT_EQ(definitions(merged), (QStringList{QStringLiteral("\\trowd\\trgaph90\\trleft0\\clmgf\\clvmgf\\cellx1500"
                                                               "\\clmrg\\cellx3750"),
                                                QStringLiteral("\\trowd\\trgaph90\\trleft0\\clvmrg\\cellx3750")}));
    EXPECT_EQ(count(merged, "\\row"), 2);
}

TEST(RtfTableWriteTest, ColumnEdgesAsReadOrFromTheWidths)
{
    QTextDocument document;
    QTextTable *table = putTable(document, 1, 3);
    QTextTableFormat format = table->format();
    format.setProperty(tableformat::kColumnEdgesProperty, QVariant::fromValue(QList<int>{-108, 1234, 2501, 4003}));
    table->setFormat(format);
    EXPECT_EQ(definitions(rtf::write(document)),
              QStringList{QStringLiteral("\\trowd\\trgaph90\\trleft-108\\cellx1234\\cellx2501\\cellx4003")});

    // A column added since: the edges from the left margin and the widths.
    table->appendColumns(1);
    format = table->format();
    format.setLeftMargin(10);
    QList<QTextLength> widths = format.columnWidthConstraints();
    widths.resize(4);
    widths[3] = QTextLength(QTextLength::PercentageLength, 10);
    format.setColumnWidthConstraints(widths);
    table->setFormat(format);
    EXPECT_EQ(definitions(rtf::write(document)),
              QStringList{QStringLiteral("\\trowd\\trgaph90\\trleft150\\cellx1650\\cellx3900\\cellx5100\\cellx6064")});

    // Columns of no set width share the page's width, or A4's between margins.
    format.setColumnWidthConstraints({});
    format.setLeftMargin(0);
    table->setFormat(format);
    EXPECT_EQ(definitions(rtf::write(document)),
              QStringList{QStringLiteral("\\trowd\\trgaph90\\trleft0\\cellx2410\\cellx4819\\cellx7229\\cellx9638")});
    document.setPageSize(QSizeF(400, 600));
    EXPECT_EQ(definitions(rtf::write(document)),
              QStringList{QStringLiteral("\\trowd\\trgaph90\\trleft0\\cellx1500\\cellx3000\\cellx4500\\cellx6000")});
}

TEST(RtfTableWriteTest, RangeInACellIsItsTextAndOneAcrossCellsTakesTheRowsWhole)
{
    QTextDocument document;
    QTextTable *table = putTable(document, 3, 3);
    const QTextTableCell b2 = table->cellAt(1, 1);
    const QByteArray inside = rtf::write(document, b2.firstPosition(), b2.lastPosition());
    EXPECT_FALSE(inside.contains("\\trowd") || inside.contains("\\intbl")) << inside.toStdString();
    EXPECT_TRUE(inside.endsWith(" B2}\r\n")) << inside.toStdString();

    const QByteArray across = rtf::write(document, b2.firstPosition() + 1, table->cellAt(2, 0).lastPosition());
    EXPECT_EQ(definitions(across).size(), 2) << across.toStdString();
    for (const char *text : {" A2\\cell", " C2\\cell", " A3\\cell", " C3\\cell"})
        EXPECT_TRUE(across.contains(text)) << text << " " << across.toStdString();
    EXPECT_FALSE(across.contains("C1") || across.contains("before") || across.contains("after"));
    EXPECT_EQ(count(across, "\\row"), 2);

    // From before the table into it: the text before, then the first row.
    const QByteArray into = rtf::write(document, 2, table->cellAt(0, 1).firstPosition() + 1);
    EXPECT_TRUE(into.contains("fore\\par\r\n\\trowd")) << into.toStdString();
    EXPECT_TRUE(into.contains(" C1\\cell\r\n\\row\r\n}")) << into.toStdString();
}

TEST(RtfTableWriteTest, TableInACellIsWrittenNestedAndOneDeeperAsParagraphsOfItsCell)
{
    QTextDocument document;
    QTextTable *outer = putTable(document, 2, 2);
    QTextTable *inner = outer->cellAt(0, 1).lastCursorPosition().insertTable(2, 2);
    inner->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("inner"));
    QTextTable *deeper = inner->cellAt(0, 0).firstCursorPosition().insertTable(1, 1);
    deeper->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("deep"));
    const QByteArray rtf = rtf::write(document);
    EXPECT_EQ(definitions(rtf).size(), 2) << rtf.toStdString();
    EXPECT_EQ(count(rtf, "\\row"), 2);
    EXPECT_EQ(count(rtf, "\\nestrow"), 2);
    EXPECT_TRUE(rtf.contains("\\pard\\intbl\\itap2 inner\\nestcell")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\pard\\intbl\\itap2 deep\\par")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\row\r\n\\pard after\\par")) << rtf.toStdString();

    // A frame that is no table holds plain paragraphs.
    QTextDocument framed;
    QTextCursor cursor(&framed);
    cursor.insertText(QStringLiteral("one"));
    cursor.insertFrame(QTextFrameFormat());
    cursor.insertText(QStringLiteral("framed"));
    const QByteArray plain = rtf::write(framed);
    EXPECT_TRUE(plain.contains("\\pard framed\\par")) << plain.toStdString();
    EXPECT_FALSE(plain.contains("\\intbl"));
}

// A document without tables is written byte for byte as before tables were.
TEST(RtfTableWriteTest, DocumentWithoutTablesIsWrittenAsBefore)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Times New Roman"), 12));
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    cursor.insertText(QStringLiteral("Один "));
    cursor.insertText(QStringLiteral("bold"), bold);
    cursor.insertText(QStringLiteral("\tred"), red);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred, QTextCharFormat());
    cursor.insertText(QStringLiteral("centre"));
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.createList(paraformat::listFormat(paraformat::ListStyle::ArabicNumbers));
    cursor.insertText(QStringLiteral("item"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("two"));
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    const QByteArray expected = QByteArray(R"({\rtf1\ansi\ansicpg1251\deff0\deflang1049{\fonttbl{\f0\fnil\fcharset204 Times New Roman;}}
{\colortbl ;\red255\green0\blue0;}
{\*\listtable
{\list\listtemplateid1\listsimple{\listlevel\levelnfc0\levelnfcn0\leveljc0\leveljcn0\levelfollow0\levelstartat1\levelspace0\levelindent0{\leveltext\'02\'00.;}{\levelnumbers\'01;}\fi-360\li720}{\listname ;}\listid1}}
{\*\listoverridetable{\listoverride\listid1\listoverridecount0\ls1}}
{\*\generator Veltrix 3.0;}\viewkind4\uc1
\pard\'ce\'e4\'e8\'ed \b bold\b0\cf1\tab red\par
\pard\qc\cf0 centre\par
\pard{\pntext\f0 1.\tab}{\*\pn\pnlvlbody\pnf0\pnindent0\pnstart1\pndec{\pntxta .}}\ls1\ilvl0 item\par
\pard{\pntext\f0 2.\tab}{\*\pn\pnlvlbody\pnf0\pnindent0\pnstart1\pndec{\pntxta .}}\ls1\ilvl0 two\par
\pard\par
}
)").replace("\n", "\r\n");
    EXPECT_EQ(rtf::write(document), expected);
}

} // namespace

// Found by fuzzing: what a file says read, written and read again is the same
// document, with an empty paragraph before a table and a merge across the
// only row that has an edge.
TEST(RtfTableWriteTest, ReadWrittenAndReadAgainIsTheSameDocument)
{
    const QByteArray files[] = {
        "{\\rtf1 text\\par\\par\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\pard after\\par}",
        "{\\rtf1\\trowd\\trleft-100\\cellx1000\\clmgf\\cellx2000\\clmrg\\cellx3000\\intbl a\\cell b\\cell c\\cell\\row"
        "\\trowd\\cellx500\\cellx1940\\intbl d\\cell e\\cell\\row\\pard z\\par}",
    };
    for (const QByteArray &file : files) {
        const auto doc = rtftest::readRtf(file);
        const auto again = rtftest::readRtf(rtf::write(*doc));
        EXPECT_EQ(rtftest::paragraphs(*again), rtftest::paragraphs(*doc)) << file.constData();
        EXPECT_EQ(rtftest::tables(*again), rtftest::tables(*doc)) << file.constData();
    }
}

TEST(RtfTableWriteTest, WordsOfRowsAndCellsNotShownAreWrittenBackWhereTheyStood)
{
    const auto doc = rtftest::readRtf(
        "{\\rtf1\\trowd\\irow0\\trrh-400\\trbrdrt\\brdrs\\brdrw10\\trpaddl108\\clftsWidth3\\clwWidth2000\\cellx2000"
        "\\clshdng1000\\cellx4000\\pard\\intbl\\ltrch a\\cell b\\cell\\row\\pard z\\par}");
    const QStringList written = definitions(rtf::write(*doc));
    ASSERT_EQ(written.size(), 1);
    EXPECT_EQ(written[0], QStringLiteral("\\trowd\\trgaph0\\trleft0\\trrh-400\\trbrdrt\\brdrs\\brdrw10\\trpaddl108"
                                         "\\clftsWidth3\\clwWidth2000\\cellx2000\\clshdng1000\\cellx4000"))
        << "row numbers are the writer's, words of the text are not the table's";
}

namespace {

// Word's cell shading: a share of a pattern colour over the background.
TEST(RtfTableWriteTest, ShadingIsShownAsItsMixAndWrittenBackAsRead)
{
    const QByteArray rtf = "{\\rtf1{\\colortbl;\\red255\\green255\\blue255;\\red0\\green0\\blue255;}"
                           "\\trowd\\clcbpat1\\clcfpat2\\clshdng2500\\cellx1000\\clshdng1000\\cellx2000"
                           "\\pard\\intbl a\\cell b\\cell\\row}";
    const auto check = [](const QTextDocument &document, const char *when) {
        auto *table = qobject_cast<QTextTable *>(document.rootFrame()->childFrames().value(0));
        ASSERT_TRUE(table) << when;
        EXPECT_EQ(table->cellAt(0, 0).format().background().color(), QColor(191, 191, 255)) << when;
        EXPECT_EQ(table->cellAt(0, 1).format().background().color(), QColor(229, 229, 229)) << when;
    };
    auto document = rtftest::readRtf(rtf);
    check(*document, "opened");
    const QByteArray written = rtf::write(*document);
    EXPECT_EQ(count(written, "\\clshdng"), 2) << written.toStdString();
    EXPECT_EQ(count(written, "\\clcfpat"), 1);
    EXPECT_EQ(count(written, "\\clcbpat"), 1);
    check(*rtftest::readRtf(written), "saved and reopened");
}

} // namespace
