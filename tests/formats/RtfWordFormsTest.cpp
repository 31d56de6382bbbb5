// Constructs other programs write that a reader must neither lose nor
// change: each is read from RTF in the form Word writes, then saved and
// read again.

#include "RtfTestSupport.h"

#include <QAbstractTextDocumentLayout>

#include <gtest/gtest.h>

using namespace rtftest;

namespace {

std::unique_ptr<QTextDocument> reopened(const QTextDocument &document)
{
    bool ok = false;
    auto back = readRtf(rtf::write(document), &ok);
    EXPECT_TRUE(ok);
    return back;
}

bool startsPage(const QTextBlock &block)
{
    return block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
}

TEST(RtfWordFormsTest, SectionAndPageBreaksEndParagraphsAndPageBreaksStay)
{
    const auto doc = readRtf("{\\rtf1\\ansi Section one\\sect\\sectd Section two\\par\\sect\\sectd three"
                             "\\page four\\par\\pard\\pagebb five\\par\\pard six\\par}");
    const QStringList expected{"Section one", "Section two", "three", "four", "five", "six"};
    ASSERT_EQ(paragraphs(*doc), expected) << "a \\sect after \\par adds no paragraph";
    const std::vector<bool> breaks{false, false, false, true, true, false};
    const auto check = [&](const QTextDocument &document, const char *when) {
        EXPECT_EQ(paragraphs(document), expected) << when;
        for (int i = 0; i < int(breaks.size()); ++i)
            EXPECT_EQ(startsPage(blockAt(document, i)), breaks[size_t(i)]) << when << " paragraph " << i;
    };
    check(*doc, "read");
    check(*reopened(*doc), "saved and reopened");

    // Printed, the paragraph after the break starts the second page.
    std::unique_ptr<QTextDocument> printed(doc->clone());
    printed->setPageSize(QSizeF(400, 600));
    const qreal fourTop = printed->documentLayout()->blockBoundingRect(blockAt(*printed, 3)).top();
    EXPECT_GE(fourTop, 600.0);
    EXPECT_LT(printed->documentLayout()->blockBoundingRect(blockAt(*printed, 2)).top(), 600.0);
}

TEST(RtfWordFormsTest, EveryCellBoundaryIsOneTabSoEmptyCellsKeepTheirColumns)
{
    const auto doc = readRtf("{\\rtf1\\trowd\\cellx1000\\cellx2000\\cellx3000\\cellx4000"
                             "\\pard\\intbl a\\cell\\cell c\\cell\\cell\\row"
                             "\\trowd\\pard\\intbl\\cell\\cell\\cell d\\cell\\row"
                             "\\trowd\\pard\\intbl e\\cell f\\par g\\cell\\cell\\row\\pard after\\par}");
    const QStringList expected{"a\t\tc\t", "\t\t\td", "e\tf", "g\t", "after"};
    EXPECT_EQ(paragraphs(*doc), expected);
    EXPECT_EQ(paragraphs(*reopened(*doc)), expected);
}

} // namespace
