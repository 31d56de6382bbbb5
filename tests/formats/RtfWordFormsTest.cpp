// Constructs other programs write that a reader must neither lose nor
// change: each is read from RTF in the form Word writes, then saved and
// read again.

#include "RtfTestSupport.h"

#include "formats/CharacterFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QTextCursor>

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

TEST(RtfWordFormsTest, TablesKeepEveryCellInItsColumnWithItsParagraphs)
{
    // Empty cells, a row without a definition of its own (the last one
    // holds), a cell of two paragraphs in a row shorter than the others.
    const auto doc = readRtf("{\\rtf1\\trowd\\cellx1000\\cellx2000\\cellx3000\\cellx4000"
                             "\\pard\\intbl a\\cell\\cell c\\cell\\cell\\row"
                             "\\pard\\intbl\\cell\\cell\\cell d\\cell\\row"
                             "\\trowd\\cellx1000\\cellx2000\\pard\\intbl e\\cell f\\par g\\cell\\row\\pard after\\par}");
    const std::vector<QStringList> expected{{"a||c|", "|||d", "e|f/g||"}};
    EXPECT_EQ(tables(*doc), expected);
    EXPECT_EQ(tables(*reopened(*doc)), expected);
    EXPECT_EQ(paragraphs(*doc).last(), QStringLiteral("after"));
}

// Reads, then saves and reads again, checking both documents.
template <typename Check>
void readAndReopen(const QByteArray &rtf, Check check)
{
    const auto doc = readRtf(rtf);
    check(*doc, "read");
    check(*reopened(*doc), "saved and reopened");
}

TEST(RtfWordFormsTest, ParagraphSpacingAndLineSpacing)
{
    readAndReopen("{\\rtf1\\pard\\sb120\\sa240\\sl360\\slmult1 one\\par\\pard\\sl-300\\slmult0 two\\par"
                  "\\pard\\sl280 three\\par\\pard four\\par}",
                  [](const QTextDocument &doc, const char *when) {
                      const QTextBlockFormat one = blockAt(doc, 0).blockFormat();
                      EXPECT_DOUBLE_EQ(one.topMargin(), 8.0) << when << ": 120 twips";
                      EXPECT_DOUBLE_EQ(one.bottomMargin(), 16.0) << when;
                      EXPECT_EQ(one.lineHeightType(), QTextBlockFormat::ProportionalHeight) << when;
                      EXPECT_DOUBLE_EQ(one.lineHeight(), 150.0) << when << ": 360/240 lines";
                      const QTextBlockFormat two = blockAt(doc, 1).blockFormat();
                      EXPECT_EQ(two.lineHeightType(), QTextBlockFormat::FixedHeight) << when;
                      EXPECT_DOUBLE_EQ(two.lineHeight(), 20.0) << when;
                      const QTextBlockFormat three = blockAt(doc, 2).blockFormat();
                      EXPECT_EQ(three.lineHeightType(), QTextBlockFormat::MinimumHeight) << when;
                      const QTextBlockFormat four = blockAt(doc, 3).blockFormat();
                      EXPECT_EQ(four.lineHeightType(), QTextBlockFormat::SingleHeight) << when << ": \\pard";
                      EXPECT_DOUBLE_EQ(four.topMargin(), 0.0) << when;
                  });
    const auto doc = readRtf("{\\rtf1\\pard\\sb121\\sa7\\sl259\\slmult1 x\\par}");
    const QByteArray saved = rtf::write(*doc);
    EXPECT_TRUE(saved.contains("\\sb121\\sa7\\sl259\\slmult1")) << "twips exactly: " << saved.toStdString();
}

TEST(RtfWordFormsTest, TabStopsKeepTheirPlacesAndAlignment)
{
    readAndReopen("{\\rtf1\\pard\\tx720\\tqr\\tx4321\\tqc\\tx6000\\tqdec\\tx8000 a\\tab b\\par\\pard c\\par}",
                  [](const QTextDocument &doc, const char *when) {
                      const QList<QTextOption::Tab> tabs = blockAt(doc, 0).blockFormat().tabPositions();
                      ASSERT_EQ(tabs.size(), 4) << when;
                      EXPECT_DOUBLE_EQ(tabs[0].position, 48.0) << when;
                      EXPECT_EQ(tabs[0].type, QTextOption::LeftTab) << when;
                      EXPECT_EQ(tabs[1].type, QTextOption::RightTab) << when;
                      EXPECT_EQ(tabs[2].type, QTextOption::CenterTab) << when;
                      EXPECT_EQ(tabs[3].type, QTextOption::DelimiterTab) << when;
                      EXPECT_TRUE(blockAt(doc, 1).blockFormat().tabPositions().isEmpty()) << when;
                  });
    const QByteArray saved = rtf::write(*readRtf("{\\rtf1\\pard\\tx720\\tqr\\tx4321 a\\par}"));
    EXPECT_TRUE(saved.contains("\\tx720\\tqr\\tx4321")) << saved.toStdString();
}

TEST(RtfWordFormsTest, SuperscriptSubscriptAndRaisedText)
{
    readAndReopen("{\\rtf1 E=mc{\\super 2} H{\\sub 2}O x{\\up6 up}{\\dn4 down}\\nosupersub plain}",
                  [](const QTextDocument &doc, const char *when) {
                      EXPECT_EQ(allText(doc), QStringLiteral("E=mc2 H2O xupdownplain")) << when;
                      const QTextBlock block = blockAt(doc, 0);
                      EXPECT_EQ(formatAt(block, 4).verticalAlignment(), QTextCharFormat::AlignSuperScript) << when;
                      EXPECT_EQ(formatAt(block, 7).verticalAlignment(), QTextCharFormat::AlignSubScript) << when;
                      const QTextCharFormat up = formatOf(doc, QStringLiteral("up"));
                      EXPECT_EQ(up.verticalAlignment(), QTextCharFormat::AlignSuperScript) << when;
                      EXPECT_EQ(up.intProperty(charformat::kRaiseProperty), 6) << when;
                      EXPECT_EQ(formatOf(doc, QStringLiteral("down")).intProperty(charformat::kRaiseProperty), -4)
                          << when;
                      EXPECT_EQ(formatOf(doc, QStringLiteral("plain")).verticalAlignment(),
                                QTextCharFormat::AlignNormal)
                          << when;
                  });
}

TEST(RtfWordFormsTest, IndentsKeepTheirTwipsExactly)
{
    const auto doc = readRtf("{\\rtf1\\pard\\li709\\fi-354\\ri283 text\\par}");
    const paraformat::Indents points = paraformat::indents(blockAt(*doc, 0).blockFormat());
    EXPECT_EQ(points.first, 17) << "355 twips, whole points as the control reports them";
    EXPECT_EQ(points.other, 17);
    EXPECT_EQ(points.right, 14);
    const QByteArray saved = rtf::write(*doc);
    EXPECT_TRUE(saved.contains("\\fi-354\\li709\\ri283")) << saved.toStdString();
    EXPECT_TRUE(rtf::write(*readRtf(saved)).contains("\\fi-354\\li709\\ri283"));

    // Changed in points, the paragraph is written from the points.
    QTextBlockFormat changed = blockAt(*doc, 0).blockFormat();
    paraformat::setIndents(changed, {points.first + 20, points.other, points.right});
    QTextCursor(blockAt(*doc, 0)).setBlockFormat(changed);
    EXPECT_TRUE(rtf::write(*doc).contains("\\fi-340\\li1080\\ri280")) << rtf::write(*doc).toStdString();
}

TEST(RtfWordFormsTest, EachFontKeepsItsCharacterSet)
{
    readAndReopen("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
                  "{\\f1\\froman\\fcharset204 Times New Roman;}{\\f2\\fswiss\\fcharset238 Arial;}}"
                  "\\f0 caf\\'e9 \\f1\\'cf\\'f0\\'e8 \\f2\\'9ale\\'9d}",
                  [](const QTextDocument &doc, const char *when) {
                      EXPECT_EQ(allText(doc), QStringLiteral("café При šleť")) << when;
                      EXPECT_EQ(formatOf(doc, QStringLiteral("café")).intProperty(charformat::kCharsetProperty), 0)
                          << when;
                      EXPECT_EQ(formatOf(doc, QStringLiteral("При")).intProperty(charformat::kCharsetProperty), 204)
                          << when;
                      EXPECT_EQ(formatOf(doc, QStringLiteral("šleť")).intProperty(charformat::kCharsetProperty), 238)
                          << when;
                  });
    // An old Cyrillic font names its code page only: what is written in it
    // must read back the same.
    const auto cyr = readRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset0 Arial Cyr;}}\\f0\\'cf \\u8364? \\u233?}");
    EXPECT_EQ(allText(*cyr), QStringLiteral("П € é"));
    EXPECT_EQ(allText(*reopened(*cyr)), QStringLiteral("П € é"));

    const QByteArray saved = rtf::write(*readRtf("{\\rtf1{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset238 Arial;}}"
                                                 "\\f0 a\\f1 b}"));
    EXPECT_TRUE(saved.contains("\\fcharset0 Arial;")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("\\fcharset238 Arial;")) << saved.toStdString();
}

TEST(RtfWordFormsTest, HyperlinkFieldStaysALink)
{
    readAndReopen("{\\rtf1 see {\\field{\\*\\fldinst {HYPERLINK \"https://example.com/a?b=1\" \\\\o \"tip\"}}"
                  "{\\fldrslt {\\ul\\cf1 the site}}} and {\\field{\\*\\fldinst HYPERLINK \\\\l \"part2\"}"
                  "{\\fldrslt below}} {\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}.\\par}",
                  [](const QTextDocument &doc, const char *when) {
                      EXPECT_EQ(allText(doc), QStringLiteral("see the site and below 7.")) << when;
                      const QTextCharFormat site = formatOf(doc, QStringLiteral("the site"));
                      EXPECT_TRUE(site.isAnchor()) << when;
                      EXPECT_EQ(site.anchorHref(), QStringLiteral("https://example.com/a?b=1")) << when;
                      EXPECT_TRUE(site.fontUnderline()) << when << ": the result keeps its format";
                      EXPECT_EQ(formatOf(doc, QStringLiteral("below")).anchorHref(), QStringLiteral("#part2"))
                          << when;
                      EXPECT_FALSE(formatOf(doc, QStringLiteral("and")).isAnchor()) << when;
                      EXPECT_FALSE(formatOf(doc, QStringLiteral("7")).isAnchor()) << when;
                  });
    const QByteArray saved = rtf::write(*readRtf("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://x.org/\"}"
                                                 "{\\fldrslt x}}}"));
    EXPECT_TRUE(saved.contains("{\\field{\\*\\fldinst{HYPERLINK \"http://x.org/\"}}{\\fldrslt{"))
        << saved.toStdString();
}

TEST(RtfWordFormsTest, HiddenTextIsKeptButNeitherShownNorPartOfTheText)
{
    readAndReopen("{\\rtf1 a{\\v one}b\\v two\\v0 c{\\v three}\\par{\\v four}\\par x{\\v one}y\\par}",
                  [](const QTextDocument &doc, const char *when) {
                      EXPECT_EQ(paragraphs(doc), (QStringList{"abc", "", "xy"})) << when;
                      const QTextBlock first = blockAt(doc, 0);
                      EXPECT_EQ(formatAt(first, 1).stringProperty(charformat::kHiddenTextProperty),
                                QStringLiteral("one"))
                          << when;
                      EXPECT_EQ(formatAt(first, 2).stringProperty(charformat::kHiddenTextProperty),
                                QStringLiteral("two"))
                          << when;
                      EXPECT_EQ(first.charFormat().stringProperty(charformat::kHiddenTextProperty),
                                QStringLiteral("three"))
                          << when << ": before the paragraph end";
                      EXPECT_EQ(blockAt(doc, 1).charFormat().stringProperty(charformat::kHiddenTextProperty),
                                QStringLiteral("four"))
                          << when;
                      EXPECT_FALSE(formatAt(first, 0).hasProperty(charformat::kHiddenTextProperty)) << when;
                  });
    const QByteArray saved = rtf::write(*readRtf("{\\rtf1 a{\\v one}b{\\v two}b\\par}"));
    EXPECT_TRUE(saved.contains("a{\\v one}b{\\v two}b")) << "each piece once: " << saved.toStdString();

    // Text typed after the character that carries hidden text does not repeat it.
    auto doc = readRtf("{\\rtf1 a{\\v H}bc\\par}");
    QTextCursor cursor(doc.get());
    cursor.setPosition(2);
    cursor.insertText(QStringLiteral("typed"));
    EXPECT_EQ(rtf::write(*doc).count("{\\v "), 1) << rtf::write(*doc).toStdString();
}

// The list numbers as shown, one string per paragraph; "" for none.
QStringList shownNumbers(const QTextDocument &doc)
{
    QStringList result;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        result << (block.textList() ? paraformat::listItemText(*block.textList(), block) : QString());
    return result;
}

TEST(RtfWordFormsTest, ListNumbersKeepLevelsStartsContinuationAndRestarts)
{
    // Word's list table, without the rendered numbers: the numbers come from
    // the definitions alone.
    const QByteArray listTable =
        "{\\rtf1{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}}"
        "{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'02\\'01.;}}\\listid10}"
        "{\\list\\listtemplateid2\\listsimple{\\listlevel\\levelnfc2\\levelstartat4{\\leveltext\\'02\\'00.;}}\\listid20}}"
        "{\\*\\listoverridetable{\\listoverride\\listid10\\listoverridecount0\\ls1}"
        "{\\listoverride\\listid20\\listoverridecount0\\ls2}}"
        "\\pard\\ls1 one\\par\\pard\\ls1\\ilvl1 sub\\par\\pard\\ls1\\ilvl1 sub\\par\\pard\\ls1 two\\par"
        "\\pard plain\\par\\pard\\ls1 three\\par\\pard\\ls1\\ilvl1 sub\\par\\pard\\ls2 four\\par}";
    readAndReopen(listTable, [](const QTextDocument &doc, const char *when) {
        EXPECT_EQ(shownNumbers(doc), (QStringList{"1.", "a.", "b.", "2.", "", "3.", "a.", "iv."})) << when;
    });

    // The rich edit control's form: \pnstart, and the rendered number decides
    // where numbering goes on and where it starts again.
    const QByteArray pn =
        "{\\rtf1\\pard{\\pntext 5.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart5{\\pntxta .}}a\\par"
        "{\\pntext 6.\\tab}b\\par\\pard plain\\par"
        "\\pard{\\pntext 7.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart5{\\pntxta .}}c\\par"
        "\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1{\\pntxta .}}again\\par"
        "\\pard{\\pntext i.\\tab}{\\*\\pn\\pnlvl2\\pnlcrm\\pnstart1{\\pntxta .}}deeper\\par"
        "\\pard{\\*\\pn\\pnlvlbody\\pnucltr\\pnstart3}no text\\par\\pard{\\*\\pn\\pnlvlbody\\pnucltr\\pnstart3}more\\par}";
    readAndReopen(pn, [](const QTextDocument &doc, const char *when) {
        EXPECT_EQ(paragraphs(doc), (QStringList{"a", "b", "plain", "c", "again", "deeper", "no text", "more"}))
            << when << ": no number doubled in the text";
        EXPECT_EQ(shownNumbers(doc), (QStringList{"5.", "6.", "", "7.", "1.", "i.", "C.", "D."})) << when;
    });

    const QByteArray saved = rtf::write(*readRtf(listTable));
    EXPECT_TRUE(saved.contains("\\levelnfc4\\levelnfcn4\\leveljc0\\leveljcn0\\levelfollow0\\levelstartat1"))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains("\\levelstartat4")) << "LibreOffice and Word keep the start";
    EXPECT_TRUE(saved.contains("\\ilvl1")) << saved.toStdString();
}

QByteArray dibOf(const QImage &image)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bmp.mid(14); // a DIB is a BMP without its file header
}

TEST(RtfWordFormsTest, DeviceIndependentBitmapsAreShown)
{
    QImage colours(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            colours.setPixel(x, y, qRgb(x * 50, y * 80, 7));
    QImage indexed(4, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 128, 0)});
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3));
    const QByteArray rtf = "{\\rtf1 a{\\pict\\dibitmap0\\picw5\\pich3\\picwgoal150\\pichgoal90 "
        + dibOf(colours).toHex() + "}b{\\pict\\dibitmap0 " + dibOf(indexed).toHex() + "}c}";
    readAndReopen(rtf, [&](const QTextDocument &doc, const char *when) {
        EXPECT_EQ(allText(doc), QStringLiteral("a\uFFFCb\uFFFCc")) << when;
        const auto found = images(doc);
        ASSERT_EQ(found.size(), 2u) << when;
        EXPECT_EQ(imageOf(doc, found[0]).convertToFormat(QImage::Format_RGB32), colours) << when;
        EXPECT_DOUBLE_EQ(found[0].width(), 10.0) << when;
        EXPECT_EQ(imageOf(doc, found[1]).convertToFormat(QImage::Format_RGB32),
                  indexed.convertToFormat(QImage::Format_RGB32))
            << when << ": the palette is found after the header";
    });
}

TEST(RtfWordFormsTest, MetafilesAreBoxesOfTheirSizeAndWrittenBackByteForByte)
{
    const QByteArray wmf = "010009000003220000000000050000000b0200000000050000000c02e803d007030000000000";
    const QByteArray emf = "0100000084000000000000000000000063000000";
    const QByteArray rtf = "{\\rtf1 a{\\pict\\wmetafile8\\picw2000\\pich1000\\picwgoal1134\\pichgoal567 " + wmf
        + "}b{\\pict\\emfblip\\picw500\\pich250 " + emf + "}c}";
    const auto check = [&](const QTextDocument &doc, const char *when) {
        EXPECT_EQ(allText(doc), QStringLiteral("a\uFFFCb\uFFFCc")) << when;
        const auto found = images(doc);
        ASSERT_EQ(found.size(), 2u) << when;
        EXPECT_DOUBLE_EQ(found[0].width(), 75.6) << when << ": 1134 twips";
        EXPECT_DOUBLE_EQ(found[0].height(), 37.8) << when;
        EXPECT_NEAR(found[1].width(), 18.9, 0.01) << when << ": 5 mm without a goal";
        EXPECT_FALSE(imageOf(doc, found[0]).isNull()) << when;
    };
    const auto doc = readRtf(rtf);
    check(*doc, "read");
    const QByteArray saved = rtf::write(*doc);
    EXPECT_TRUE(saved.contains("{\\pict\\wmetafile8\\picw2000\\pich1000\\picwgoal1134\\pichgoal567\r\n" + wmf + "}"))
        << saved.toStdString();
    EXPECT_TRUE(saved.contains("{\\pict\\emfblip\\picw500\\pich250\r\n" + emf + "}")) << saved.toStdString();
    const auto back = readRtf(saved);
    check(*back, "saved and reopened");
    EXPECT_EQ(rtf::write(*back), saved);
}

TEST(RtfWordFormsTest, PictureShapesShowTheirPictureOnce)
{
    // LibreOffice's inline picture: a shape in a SHAPE field, sized by the
    // shape, its picture again as the fill. A metafile shape sized by its
    // own words, and a text box, whose text is none of the document's.
    const QByteArray png = "89504e470d0a1a0a0000000d4948445200000004000000020802000000f0caea340000001749444154789c63"
                           "f8cf0004ff212403430390f91f42020073ae0af72ff2b69d0000000049454e44ae426082";
    const QByteArray rtf = "{\\rtf1 a{\\field{\\*\\fldinst SHAPE }{\\fldrslt{\\shp{\\*\\shpinst\\shpleft0\\shptop-361"
                           "\\shpright719\\shpbottom-2{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}{\\sv {\\pict"
                           "\\pngblip\\picw4\\pich2 "
        + png + "}}}{\\sp{\\sn fillBlip}{\\sv {\\pict\\pngblip " + png
        + "}}}}}}}b{\\shp{\\*\\shpinst\\shpright9999\\shpbottom9999{\\sp{\\sn pib}{\\sv {\\pict\\wmetafile8"
          "\\picwgoal1134\\pichgoal567 0100090000031200000000000000030000000000}}}}{\\shprslt x}}"
          "c{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt box\\par text}}}d\\par}";
    QTextDocument doc;
    rtf::LoadStatus status;
    ASSERT_TRUE(rtf::read(rtf, doc, status));
    EXPECT_EQ(allText(doc), QStringLiteral("a\uFFFCb\uFFFCcd"));
    const auto found = images(doc);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_NEAR(found[0].width(), 719 / 15.0, 1e-9) << "the shape's extent";
    EXPECT_NEAR(found[0].height(), 359 / 15.0, 1e-9);
    EXPECT_FALSE(found[0].hasProperty(charformat::kPictureDataProperty));
    EXPECT_DOUBLE_EQ(found[1].width(), 75.6) << "the picture's own size comes first";
    EXPECT_TRUE(found[1].hasProperty(charformat::kPictureDataProperty));
    EXPECT_EQ(status.count(rtf::Loss::Shapes), 1) << "the text box";
    EXPECT_EQ(status.count(rtf::Loss::Fields), 0);
}

TEST(RtfWordFormsTest, WhatTheDocumentCannotHoldIsCountedInTheLoadStatus)
{
    QTextDocument doc;
    rtf::LoadStatus status;
    ASSERT_TRUE(rtf::read("{\\rtf1{\\header head}{\\footer foot}{\\footerf first}text{\\footnote note}"
                          "{\\*\\annotation comment}{\\shp{\\*\\shpinst x}}{\\object{\\*\\objdata 0102}{\\result r}}"
                          "{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}{\\field{\\*\\fldinst HYPERLINK \"a\"}{\\fldrslt l}}"
                          "{\\pict\\pmmetafile 0102}{\\pict\\pngblip 0102}{\\v{\\pict\\wmetafile8 01}}"
                          "\\trowd\\cellx100\\pard\\intbl c\\cell\\row\\trowd\\pard\\intbl d\\cell\\row\\pard\\par}",
                          doc, status));
    EXPECT_EQ(allText(doc), QStringLiteral("\ntextr1lc\n\nd\n")) << "the text is all there";
    EXPECT_EQ(status.count(rtf::Loss::HeadersFooters), 3);
    EXPECT_EQ(status.count(rtf::Loss::Footnotes), 1);
    EXPECT_EQ(status.count(rtf::Loss::Comments), 1);
    EXPECT_EQ(status.count(rtf::Loss::Shapes), 1);
    EXPECT_EQ(status.count(rtf::Loss::Objects), 1);
    EXPECT_EQ(status.count(rtf::Loss::Fields), 1) << "a link is kept";
    EXPECT_EQ(status.count(rtf::Loss::Pictures), 3) << "an unknown kind, a broken PNG, a hidden metafile";
    EXPECT_EQ(status.count(rtf::Loss::TableRows), 0) << "tables are kept";
    EXPECT_FALSE(status.complete());

    rtf::LoadStatus clean;
    ASSERT_TRUE(rtf::read("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\*\\generator x;}{\\info{\\title t}}\\f0 a\\par}", doc, clean));
    EXPECT_TRUE(clean.complete()) << "tables and information we do not show are no loss";
}

} // namespace
