// Reading RTF as other programs write it: the Windows rich edit control
// (WordPad), Word, and the details every reader gets wrong once: code pages,
// \uN fallbacks, list numbers, destinations to skip, pictures.

#include "RtfTestSupport.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace rtftest;
using paraformat::ListStyle;

namespace {

QByteArray hexOf(const QByteArray &bytes)
{
    return bytes.toHex();
}

QByteArray encodedImage(const QImage &image, const char *format)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return data;
}

QImage testImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 40 % 256, y * 60 % 256, 200));
    return image;
}

// What WordPad on a Russian Windows saves: Cyrillic as \'xx under a
// \fcharset204 font, a format change every few words, lists in the \pn form.
const char kWordPadSample[] =
    "{\\rtf1\\ansi\\ansicpg1251\\deff0\\nouicompat\\deflang1049{\\fonttbl{\\f0\\fnil\\fcharset204 Calibri;}"
    "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2\\fcharset204 Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green176\\blue80;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\f0\\fs22\\lang1049 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2, \\b\\'ec\\'e8\\'f0\\b0 ! "
    "\\cf1\\i\\'ea\\'f0\\'e0\\'f1\\'ed\\'fb\\'e9\\cf0\\i0  \\ul\\'ef\\'ee\\'e4\\ulnone  \\strike\\'e7\\'e0\\strike0  "
    "\\highlight2\\'f4\\'ee\\'ed\\highlight0  \\f2\\fs28\\'c0\\'f0\\'e8\\'e0\\'eb\\f0\\fs22\\par\r\n"
    "\\pard\\qc\\'d6\\'e5\\'ed\\'f2\\'f0\\tab\\'f2\\'e0\\'e1\\line\\'f1\\'f2\\'f0\\'ee\\'ea\\'e0\\par\r\n"
    "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}\\fi-360\\li720 one\\par\r\n"
    "{\\pntext\\f1\\'b7\\tab}two\\par\r\n"
    "\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}\\fi-360\\li720 first\\par\r\n"
    "{\\pntext\\f0 2.\\tab}second\\par\r\n"
    "\\pard{\\pntext\\f0 a)\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pnlcltr{\\pntxta)}}\\fi-360\\li720 alpha\\par\r\n"
    "\\pard{\\pntext\\f0 A.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pnucltr{\\pntxta.}}\\fi-360\\li720 upper\\par\r\n"
    "\\pard{\\pntext\\f0 i.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pnlcrm{\\pntxta.}}\\fi-360\\li720 lower roman\\par\r\n"
    "\\pard{\\pntext\\f0 I.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pnucrm{\\pntxta.}}\\fi-360\\li720 upper roman\\par\r\n"
    "\\pard\\qr\\ri567 right\\par\r\n"
    "\\pard\\qj\\fi-720\\li1440 hanging\\par\r\n"
    "}\r\n";

// What Word 2016 saves for a Russian document: \ansicpg1252 although the
// fonts carry \fcharset204, Word's list table, fields, and many destinations
// that hold no document text.
const char kWordSample[] =
    "{\\rtf1\\adeflang1025\\ansi\\ansicpg1252\\uc1\\adeff31507\\deff0\\stshfdbch31505\\deflang1049\\deflangfe1049"
    "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset204\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
    "{\\f1\\fbidi \\fswiss\\fcharset204\\fprq2{\\*\\panose 020b0604020202020204}Arial;}\r\n"
    "{\\f3\\fbidi \\froman\\fcharset2\\fprq2{\\*\\panose 05050102010706020507}Symbol;}"
    "{\\flomajor\\f31500\\fbidi \\froman\\fcharset0\\fprq2 Times New Roman;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
    "\\ctextone\\ctint255\\cshade255\\red0\\green0\\blue0;}\r\n"
    "{\\*\\defchp \\f31506\\fs22\\lang1049 }{\\*\\defpap \\ql \\li0\\ri0\\sa160\\sl259\\slmult1 }\r\n"
    "{\\stylesheet{\\ql \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar \\f31506\\fs22\\lang1049 \\snext0 \\sqformat "
    "\\spriority0 Normal;}{\\*\\cs10 \\additive \\ssemihidden Default Paragraph Font;}}\r\n"
    "{\\*\\listtable{\\list\\listtemplateid-1\\listhybrid{\\listlevel\\levelnfc4\\levelnfcn4\\leveljc0\\leveljcn0"
    "\\levelfollow0\\levelstartat1\\levelspace0\\levelindent0{\\leveltext\\leveltemplateid68747289\\'02\\'00.;}"
    "{\\levelnumbers\\'01;}\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\fi-360\\li720\\lin720 }{\\listlevel\\levelnfc2\\levelnfcn2"
    "\\leveljc2\\leveljcn2\\levelfollow0\\levelstartat1\\levelspace0\\levelindent0{\\leveltext\\leveltemplateid68747291"
    "\\'02\\'01.;}{\\levelnumbers\\'01;}\\fi-180\\li1440\\lin1440 }{\\listname ;}\\listid100}\r\n"
    "{\\list\\listtemplateid-2\\listhybrid{\\listlevel\\levelnfc23\\levelnfcn23\\leveljc0\\leveljcn0\\levelfollow0"
    "\\levelstartat1\\lvltentative\\levelspace0\\levelindent0{\\leveltext\\leveltemplateid68747265\\'01\\u-3913 ?;}"
    "{\\levelnumbers;}\\f3\\fbias0 \\fi-360\\li720\\lin720 }{\\listname ;}\\listid200}}\r\n"
    "{\\*\\listoverridetable{\\listoverride\\listid100\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid200\\listoverridecount0\\ls2}}\r\n"
    "{\\*\\rsidtbl \\rsid1\\rsid2}{\\mmathPr\\mmathFont34\\mbrkBin0}"
    "{\\info{\\title \\'c7\\'e0\\'e3}{\\author \\'c8\\'e2\\'e0\\'ed}{\\creatim\\yr2024\\mo1\\dy1\\hr1\\min1}}\r\n"
    "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}"
    "\\paperw11906\\paperh16838\\margl1701\\margr850\\margt1134\\margb1134\\gutter0\\ltrsect \r\n"
    "\\widowctrl\\ftnbj\\aenddoc{\\*\\ftnsep \\ltrpar \\pard\\plain \\ltrpar\\ql \\chftnsep \\par }}\r\n"
    "\\sectd \\ltrsect\\linex0\\sectdefaultcl\\sftnbj {\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang {\\pntxta .}}\r\n"
    "\\pard\\plain \\ltrpar\\qc \\li0\\ri0\\sa160\\sl259\\slmult1\\widctlpar\\itap0 \\rtlch\\fcs1 \\af31507\\afs22 "
    "\\ltrch\\fcs0 \\f31506\\fs22\\lang1049 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\b\\f1\\fs32\\cf3\\insrsid1 "
    "\\'c7\\'e0\\'e3\\'ee\\'eb\\'ee\\'e2\\'ee\\'ea}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\insrsid1 \\par }\r\n"
    "\\pard \\ltrpar\\ql \\fi-360\\li720\\ri0\\sa160\\widctlpar\\ls1\\adjustright\\rin0\\lin720\\itap0 "
    "{\\listtext\\pard\\plain\\ltrpar \\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\insrsid1 \\hich\\af0\\dbch\\af0\\loch\\f0 a.\\tab}"
    "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\insrsid1 \\'cf\\'e5\\'f0\\'e2\\'fb\\'e9}{\\f0\\insrsid1 \\par }\r\n"
    "{\\listtext\\pard\\plain\\ltrpar \\f0\\insrsid1 b.\\tab}{\\f0\\insrsid1 \\'c2\\'f2\\'ee\\'f0\\'ee\\'e9\\par }\r\n"
    "\\pard \\ltrpar\\ql \\fi-180\\li1440\\ri0\\ls1\\ilvl1\\lin1440\\itap0 {\\listtext\\pard\\plain\\ltrpar \\f0 i.\\tab}"
    "{\\f0 \\'cf\\'ee\\'e4\\'ef\\'f3\\'ed\\'ea\\'f2\\par }\r\n"
    "\\pard \\ltrpar\\ql \\fi-360\\li720\\ri0\\ls2\\lin720\\itap0 {\\listtext\\pard\\plain\\ltrpar \\f3\\fs22 "
    "\\loch\\af3\\hich\\af3\\dbch\\af0 \\'b7\\tab}{\\f0 \\'cc\\'e0\\'f0\\'ea\\'e5\\'f0\\par }\r\n"
    "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar\\itap0 {\\field{\\*\\fldinst {\\f0 HYPERLINK "
    "\"https://example.com/\" }}{\\fldrslt {\\cf2\\ul\\f0 \\'f1\\'f1\\'fb\\'eb\\'ea\\'e0}}}{\\f0  \\'e8 \\u8470\\'b9 5\\par }\r\n"
    "{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f6e74656e}\r\n"
    "{\\*\\datastore 0105000002000000180000004d73786d6c322e534158584d4c5265616465722e362e30}}\r\n";

TEST(RtfReadTest, RecognisesRtfOnlyByItsOpening)
{
    EXPECT_TRUE(rtf::looksLikeRtf("{\\rtf1 x}"));
    EXPECT_TRUE(rtf::looksLikeRtf("\xEF\xBB\xBF  \r\n{\\rtf1 x}"));
    EXPECT_TRUE(rtf::looksLikeRtf("{\\rtf"));
    EXPECT_FALSE(rtf::looksLikeRtf(""));
    EXPECT_FALSE(rtf::looksLikeRtf("{\\rt"));
    EXPECT_FALSE(rtf::looksLikeRtf("{\\RTF1 x}"));
    EXPECT_FALSE(rtf::looksLikeRtf("Hello {\\rtf1 x}"));
    EXPECT_FALSE(rtf::looksLikeRtf("{ \\rtf1 x}"));
}

TEST(RtfReadTest, DataThatIsNotRtfLeavesTheDocumentUntouched)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("keep me\nsecond"));
    const QString before = document.toPlainText();
    EXPECT_FALSE(rtf::read("plain text, not RTF", document));
    EXPECT_FALSE(rtf::read(QByteArray(), document));
    EXPECT_FALSE(rtf::read("\\rtf1 no brace", document));
    EXPECT_EQ(document.toPlainText(), before);
    EXPECT_EQ(document.blockCount(), 2);
}

TEST(RtfReadTest, ReplacesTheWholeContent)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("old text"));
    cursor.insertBlock();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("old bold"), bold);
    ASSERT_TRUE(rtf::read("{\\rtf1 new\\par}", document));
    EXPECT_EQ(paragraphs(document), QStringList{QStringLiteral("new")});
    EXPECT_EQ(formatOf(document, QStringLiteral("new")).fontWeight(), QFont::Normal);
}

TEST(RtfReadTest, OnlyAFragmentKeepsItsFinalParagraphEnd)
{
    const QByteArray endsWithPar = "{\\rtf1 one\\par two\\par\r\n}";
    QTextDocument file, fragment;
    ASSERT_TRUE(rtf::read(endsWithPar, file));
    EXPECT_EQ(paragraphs(file), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    ASSERT_TRUE(rtf::readFragment(endsWithPar, fragment));
    EXPECT_EQ(paragraphs(fragment), (QStringList{QStringLiteral("one"), QStringLiteral("two"), QString()}));
    ASSERT_TRUE(rtf::readFragment("{\\rtf1 one\\par two}", fragment));
    EXPECT_EQ(paragraphs(fragment), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_FALSE(rtf::readFragment("not RTF", fragment));

    // What the editor writes for a selection of a whole line reads back as
    // that line and its end.
    QTextDocument source;
    source.setPlainText(QStringLiteral("one\ntwo"));
    ASSERT_TRUE(rtf::readFragment(rtf::write(source, 0, 4), fragment));
    EXPECT_EQ(paragraphs(fragment), (QStringList{QStringLiteral("one"), QString()}));
}

TEST(RtfReadTest, WindowsControlDocumentKeepsTextAndCharacterFormats)
{
    const auto doc = readRtf(kWordPadSample);
    const QStringList texts = paragraphs(*doc);
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[0], QStringLiteral("Привет, мир! красный под за фон Ариал"));
    EXPECT_EQ(texts[1], QStringLiteral("Центр\tтаб") + QChar(QChar::LineSeparator) + QStringLiteral("строка"));

    const QTextCharFormat plain = formatOf(*doc, QStringLiteral("Привет"));
    EXPECT_EQ(familyOf(plain), QStringLiteral("Calibri"));
    EXPECT_DOUBLE_EQ(plain.fontPointSize(), 11.0);
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
    EXPECT_FALSE(hasForeground(plain)) << "the automatic colour sets no brush";
    EXPECT_FALSE(hasBackground(plain));

    EXPECT_EQ(formatOf(*doc, QStringLiteral("мир")).fontWeight(), QFont::Bold);
    const QTextCharFormat red = formatOf(*doc, QStringLiteral("красный"));
    EXPECT_TRUE(red.fontItalic());
    ASSERT_TRUE(hasForeground(red));
    EXPECT_EQ(red.foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(hasForeground(formatOf(*doc, QStringLiteral(" под")))) << "\\cf0 is automatic";
    EXPECT_TRUE(formatOf(*doc, QStringLiteral("под")).fontUnderline());
    EXPECT_TRUE(formatOf(*doc, QStringLiteral("за")).fontStrikeOut());
    const QTextCharFormat highlighted = formatOf(*doc, QStringLiteral("фон"));
    ASSERT_TRUE(hasBackground(highlighted));
    EXPECT_EQ(highlighted.background().color(), QColor(0, 176, 80));
    const QTextCharFormat arial = formatOf(*doc, QStringLiteral("Ариал"));
    EXPECT_EQ(familyOf(arial), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(arial.fontPointSize(), 14.0);
}

TEST(RtfReadTest, WindowsControlListsAreListsWithoutDoubledNumbers)
{
    const auto doc = readRtf(kWordPadSample);
    const QStringList texts = paragraphs(*doc);
    ASSERT_EQ(texts.size(), 12);
    EXPECT_EQ(texts[2], QStringLiteral("one")) << "the \\pntext bullet must not stay in the text";
    EXPECT_EQ(texts[3], QStringLiteral("two"));
    EXPECT_EQ(texts[4], QStringLiteral("first"));
    EXPECT_EQ(texts[5], QStringLiteral("second"));

    EXPECT_EQ(listStyleOf(blockAt(*doc, 0)), ListStyle::None);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 2)), ListStyle::Bullet);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 3)), ListStyle::Bullet);
    EXPECT_EQ(blockAt(*doc, 2).textList(), blockAt(*doc, 3).textList())
        << "a paragraph carrying only its \\pntext continues the list";
    EXPECT_EQ(listStyleOf(blockAt(*doc, 4)), ListStyle::ArabicNumbers);
    EXPECT_EQ(blockAt(*doc, 4).textList(), blockAt(*doc, 5).textList());
    EXPECT_NE(blockAt(*doc, 3).textList(), blockAt(*doc, 4).textList());
    EXPECT_EQ(listStyleOf(blockAt(*doc, 6)), ListStyle::LoCaseLetter);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 7)), ListStyle::UpCaseLetter);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 8)), ListStyle::LoCaseRoman);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 9)), ListStyle::UpCaseRoman);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 10)), ListStyle::None) << "\\pard ends the list";

    const paraformat::Indents listIndents = paraformat::indents(blockAt(*doc, 2).blockFormat());
    EXPECT_EQ(listIndents.first, 18);
    EXPECT_EQ(listIndents.other, 18);
}

TEST(RtfReadTest, ParagraphAlignmentAndIndents)
{
    const auto doc = readRtf(kWordPadSample);
    ASSERT_EQ(doc->blockCount(), 12);
    EXPECT_EQ(blockAt(*doc, 0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(blockAt(*doc, 1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(blockAt(*doc, 10).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(paraformat::indents(blockAt(*doc, 10).blockFormat()).right, 28) << "567 twips, truncated";
    EXPECT_EQ(blockAt(*doc, 11).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    const paraformat::Indents hanging = paraformat::indents(blockAt(*doc, 11).blockFormat());
    EXPECT_EQ(hanging.first, 36);
    EXPECT_EQ(hanging.other, 36);

    const auto negative = readRtf("{\\rtf1\\pard\\fi-720\\li0\\ri-300 x\\par\\pard\\fi300\\li-900 y\\par}");
    const paraformat::Indents outdented = paraformat::indents(blockAt(*negative, 0).blockFormat());
    EXPECT_EQ(outdented.first, -36);
    EXPECT_EQ(outdented.other, 36);
    EXPECT_EQ(outdented.right, -15);
    const paraformat::Indents left = paraformat::indents(blockAt(*negative, 1).blockFormat());
    EXPECT_EQ(left.first, -30);
    EXPECT_EQ(left.other, -15);
}

TEST(RtfReadTest, ParagraphPropertiesLastUntilPard)
{
    const auto doc = readRtf("{\\rtf1\\pard\\qc\\li720 a\\par b\\par\\pard c\\par}");
    ASSERT_EQ(paragraphs(*doc), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(blockAt(*doc, 1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(paraformat::indents(blockAt(*doc, 1).blockFormat()).first, 36);
    EXPECT_EQ(blockAt(*doc, 2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(paraformat::indents(blockAt(*doc, 2).blockFormat()).first, 0);
}

TEST(RtfReadTest, CharacterFormatsFollowGroupsAndPlain)
{
    const auto doc = readRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
                             "\\f1\\fs40\\b bold {\\i\\b0 inner} outer\\plain  plain {\\ul under}}");
    EXPECT_EQ(formatOf(*doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_EQ(familyOf(formatOf(*doc, "bold")), QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(formatOf(*doc, "bold").fontPointSize(), 20.0);
    EXPECT_TRUE(formatOf(*doc, "inner").fontItalic());
    EXPECT_EQ(formatOf(*doc, "inner").fontWeight(), QFont::Normal);
    EXPECT_EQ(formatOf(*doc, "outer").fontWeight(), QFont::Bold) << "the group's end restores bold";
    EXPECT_FALSE(formatOf(*doc, "outer").fontItalic());
    const QTextCharFormat plain = formatOf(*doc, "plain");
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
    EXPECT_EQ(familyOf(plain), QStringLiteral("Arial")) << "\\plain returns to the default font";
    EXPECT_DOUBLE_EQ(plain.fontPointSize(), 12.0);
    EXPECT_TRUE(formatOf(*doc, "under").fontUnderline());
    EXPECT_FALSE(formatOf(*doc, " plain").fontUnderline());
}

TEST(RtfReadTest, ColoursAutomaticExplicitAndBackground)
{
    const auto doc = readRtf("{\\rtf1{\\colortbl;\\red0\\green0\\blue0;\\red10\\green20\\blue30;}"
                             "\\cf1 black\\cf0  auto\\cf2  blue {\\cf1 x}\\cf2\\highlight1  hl\\highlight0  "
                             "none\\cb2  cb\\cb0  nocb\\chcbpat1  shade}");
    const QTextCharFormat black = formatOf(*doc, "black");
    ASSERT_TRUE(hasForeground(black)) << "an explicit black is not the automatic colour";
    EXPECT_EQ(black.foreground().color(), QColor(0, 0, 0));
    EXPECT_FALSE(hasForeground(formatOf(*doc, "auto")));
    EXPECT_EQ(formatOf(*doc, "blue").foreground().color(), QColor(10, 20, 30));
    EXPECT_EQ(formatOf(*doc, "hl").background().color(), QColor(0, 0, 0));
    EXPECT_FALSE(hasBackground(formatOf(*doc, "none")));
    EXPECT_EQ(formatOf(*doc, "cb").background().color(), QColor(10, 20, 30));
    EXPECT_FALSE(hasBackground(formatOf(*doc, "nocb")));
    EXPECT_EQ(formatOf(*doc, "shade").background().color(), QColor(0, 0, 0));
}

TEST(RtfReadTest, WordDocumentWithAnsiCodePage1252AndCyrillicFonts)
{
    const auto doc = readRtf(kWordSample);
    const QStringList texts = paragraphs(*doc);
    ASSERT_EQ(texts, (QStringList{QStringLiteral("Заголовок"), QStringLiteral("Первый"),
                                  QStringLiteral("Второй"), QStringLiteral("Подпункт"),
                                  QStringLiteral("Маркер"), QStringLiteral("ссылка и № 5")}))
        << "\\'xx follows the font's \\fcharset204, not \\ansicpg1252; list numbers, field "
           "instructions, the style sheet, the info and the theme stay out of the text";

    const QTextCharFormat title = formatOf(*doc, QStringLiteral("Заголовок"));
    EXPECT_EQ(familyOf(title), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(title.fontPointSize(), 16.0);
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_EQ(title.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(blockAt(*doc, 0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(familyOf(formatOf(*doc, QStringLiteral("Первый"))), QStringLiteral("Times New Roman"));

    EXPECT_EQ(listStyleOf(blockAt(*doc, 1)), ListStyle::LoCaseLetter);
    EXPECT_EQ(blockAt(*doc, 1).textList(), blockAt(*doc, 2).textList());
    EXPECT_EQ(listStyleOf(blockAt(*doc, 3)), ListStyle::LoCaseRoman) << "\\ilvl1 picks the second level";
    EXPECT_EQ(listStyleOf(blockAt(*doc, 4)), ListStyle::Bullet);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 5)), ListStyle::None);

    const QTextCharFormat link = formatOf(*doc, QStringLiteral("ссылка"));
    EXPECT_TRUE(link.fontUnderline());
    EXPECT_EQ(link.foreground().color(), QColor(0, 0, 255));
}

TEST(RtfReadTest, CodePageComesFromTheFontThenTheDocument)
{
    // \'e9 is é in 1252, й in 1251, é in 1250, ι in 1253.
    const auto doc = readRtf("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 B;}"
                             "{\\f2\\fcharset238 C;}{\\f3\\fcharset161 D;}{\\f4 E;}{\\f5 Times New Roman Cyr;}"
                             "{\\f6\\fcharset1 F;}{\\f7\\fcharset0\\cpg1251 G;}}"
                             "\\f0\\'e9\\f1\\'e9\\f2\\'e9\\f3\\'e9\\f4\\'e9\\f5\\'e9\\f6\\'e9\\f7\\'e9}");
    EXPECT_EQ(paragraphs(*doc).value(0), QStringLiteral("éйéιéйéй"));

    const auto russian = readRtf("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 NoCharset;}}\\f0 \\'e9\\'b8\\'a8}");
    EXPECT_EQ(paragraphs(*russian).value(0), QStringLiteral("йёЁ")) << "a font without \\fcharset uses \\ansicpg";
    const auto noTable = readRtf("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}");
    EXPECT_EQ(paragraphs(*noTable).value(0), QStringLiteral("При"));
    const auto defaults = readRtf("{\\rtf1 \\'e9}");
    EXPECT_EQ(paragraphs(*defaults).value(0), QStringLiteral("é")) << "no \\ansicpg means 1252";
}

TEST(RtfReadTest, CyrillicFontNamesAreDecoded)
{
    const auto doc = readRtf("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 \\'d8\\'f0\\'e8\\'f4\\'f2;}}\\f0 x}");
    EXPECT_EQ(familyOf(formatOf(*doc, "x")), QStringLiteral("Шрифт"));
}

TEST(RtfReadTest, UnicodeEscapesSkipTheirFallbackByUc)
{
    struct Case {
        const char *rtf;
        QString text;
    };
    const Case cases[] = {
        {"{\\rtf1 \\u1055?\\u1088?x}", QStringLiteral("Прx")},
        {"{\\rtf1 \\uc0\\u1055\\u1088 ok}", QStringLiteral("Прok")},
        {"{\\rtf1 \\uc1\\u1088 ok}", QStringLiteral("рk")},
        {"{\\rtf1 \\uc2\\u1055\\'cf\\'cf\\u1088??x}", QStringLiteral("Прx")},
        {"{\\rtf1 \\uc2\\u1055??x}", QStringLiteral("Пx")},
        {"{\\rtf1 \\u1055\\'cfx}", QStringLiteral("Пx")},
        {"{\\rtf1 {\\uc2\\u1055??}\\u1088?x}", QStringLiteral("Прx")},
        {"{\\rtf1 \\uc3\\u1055?{\\b x}}", QStringLiteral("Пx")},
        {"{\\rtf1 \\u8220\\ldblquote x}", QStringLiteral("\u201Cx")},
        {"{\\rtf1 \\u-4064?}", QString(QChar(char16_t(0xF020)))},
        {"{\\rtf1 \\u-10179?\\u-8704?}", QStringLiteral("\U0001F600")},
        {"{\\rtf1 a\\u70000?b}", QStringLiteral("ab")},
        {"{\\rtf1 a\\u-40000?b}", QStringLiteral("ab")},
        {"{\\rtf1 a\\u-10179?b}", QStringLiteral("a\uFFFDb")},
        {"{\\rtf1 a\\u-8704?b}", QStringLiteral("a\uFFFDb")},
        {"{\\rtf1 \\u8232?\\u8233?\\u65532?\\u0?x}", QChar(QChar::LineSeparator) + QStringLiteral("x")},
    };
    for (const Case &c : cases) {
        const auto doc = readRtf(c.rtf);
        EXPECT_EQ(allText(*doc), c.text) << c.rtf;
    }
}

TEST(RtfReadTest, SpecialCharactersAndSymbols)
{
    const auto doc = readRtf("{\\rtf1 a\\~b\\-c\\_d\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote"
                             "\\{\\}\\\\e\\tab f\\line g\ttab}");
    EXPECT_EQ(paragraphs(*doc).value(0),
              QStringLiteral("a\u00A0b\u00ADc\u2011d\u2014\u2013\u2022\u2018\u2019\u201C\u201D{}\\e\tf")
                  + QChar(QChar::LineSeparator) + QStringLiteral("g\ttab"));
    const auto lines = readRtf("{\\rtf1 a\r\nb\\\r\nc}");
    EXPECT_EQ(paragraphs(*lines), (QStringList{"ab", "c"})) << "line ends are not text; \\<newline> is \\par";
}

TEST(RtfReadTest, LastParagraphMarkMergesWithTheDocumentEnd)
{
    EXPECT_EQ(paragraphs(*readRtf("{\\rtf1 a\\par}")), QStringList{"a"});
    EXPECT_EQ(paragraphs(*readRtf("{\\rtf1 a\\par\\pard\\f0\\fs20 }")), QStringList{"a"});
    EXPECT_EQ(paragraphs(*readRtf("{\\rtf1 a\\par b}")), (QStringList{"a", "b"}));
    EXPECT_EQ(paragraphs(*readRtf("{\\rtf1 a\\par\\par}")), (QStringList{"a", ""}));
    EXPECT_EQ(paragraphs(*readRtf("{\\rtf1 \\par}")), QStringList{""});
    EXPECT_EQ(paragraphs(*readRtf("{\\rtf1 }")), QStringList{""});
}

TEST(RtfReadTest, EmptyParagraphsKeepTheirFontSize)
{
    const auto doc = readRtf("{\\rtf1 a\\par\\fs48\\par b\\par}");
    ASSERT_EQ(paragraphs(*doc), (QStringList{"a", "", "b"}));
    EXPECT_DOUBLE_EQ(blockAt(*doc, 1).charFormat().fontPointSize(), 24.0);
}

TEST(RtfReadTest, StarredDestinationsAreSkippedOnlyWhenUnknown)
{
    const auto doc = readRtf("{\\rtf1 a{\\*\\unknowndest hidden {\\b nested}}b{\\*\\bkmkstart mark}c"
                             "{\\*\\shppict{\\*\\nothing x}}d{\\header head}{\\footer foot}e"
                             "{\\info{\\title t}}{\\stylesheet{\\s1 Heading;}}f{\\*\\b bad}g}");
    EXPECT_EQ(paragraphs(*doc).value(0), QStringLiteral("abcdefg"));
}

TEST(RtfReadTest, NumberTextWithoutListDefinitionStaysAsText)
{
    const auto doc = readRtf("{\\rtf1\\pard{\\pntext 1.\\tab}item\\par\\pard{\\listtext 2)\\tab}next\\par}");
    EXPECT_EQ(paragraphs(*doc), (QStringList{"1.\titem", "2)\tnext"}));
    EXPECT_EQ(listStyleOf(blockAt(*doc, 0)), ListStyle::None);
}

TEST(RtfReadTest, ListTableReferencesThatDoNotResolveGivePlainParagraphs)
{
    const auto doc = readRtf("{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4}\\listid7}}"
                             "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}{\\listoverride\\listid99\\ls2}}"
                             "\\pard\\ls1\\ilvl5 a\\par\\pard\\ls2 b\\par\\pard\\ls3 c\\par"
                             "\\pard\\ls2{\\*\\pn\\pnlvlbody\\pnucrm}d\\par\\pard\\ls1{\\listtext x}e\\par}");
    ASSERT_EQ(paragraphs(*doc), (QStringList{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(listStyleOf(blockAt(*doc, 0)), ListStyle::LoCaseLetter) << "a level past the last uses the last";
    EXPECT_EQ(listStyleOf(blockAt(*doc, 1)), ListStyle::None);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 2)), ListStyle::None);
    EXPECT_EQ(listStyleOf(blockAt(*doc, 3)), ListStyle::UpCaseRoman) << "\\pn when \\ls does not resolve";
    EXPECT_EQ(listStyleOf(blockAt(*doc, 4)), ListStyle::LoCaseLetter);
}

TEST(RtfReadTest, TablesAreReadAsTablesWithTheirWidthsMergesAndBorders)
{
    const auto doc = readRtf(
        "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}before\\par"
        "\\trowd\\trgaph108\\trleft-108\\trhdr\\clvmgf\\clbrdrt\\brdrs\\brdrw15\\brdrcf1\\cellx1000"
        "\\clmgf\\cellx2000\\clmrg\\clcbpat1\\cellx3000\\pard\\intbl a\\cell b\\cell\\cell\\row"
        "\\trowd\\trgaph108\\trleft-108\\clvmrg\\cellx1000\\cellx3000\\pard\\intbl\\cell c\\cell\\row"
        "\\trowd\\trleft-108\\cellx1000\\cellx2000\\cellx3000\\pard\\intbl d\\cell\\cell\\cell\\row"
        "\\pard after\\par}");
    EXPECT_EQ(tables(*doc), (std::vector<QStringList>{{"a(2x1)|b(1x2)", "c(1x2)", "d||"}}));
    EXPECT_EQ(paragraphs(*doc).first(), QStringLiteral("before"));
    EXPECT_EQ(paragraphs(*doc).last(), QStringLiteral("after"));
    auto *table = qobject_cast<QTextTable *>(doc->rootFrame()->childFrames().value(0));
    ASSERT_TRUE(table);
    const QTextTableFormat format = table->format();
    QStringList widths;
    for (const QTextLength &width : format.columnWidthConstraints())
        widths << QString::number(width.rawValue() * 15);
    EXPECT_EQ(widths, (QStringList{"1108", "1000", "1000"}));
    EXPECT_DOUBLE_EQ(format.leftMargin() * 15, -108);
    EXPECT_EQ(format.headerRowCount(), 1);
    const QTextTableCellFormat first = table->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_DOUBLE_EQ(first.topBorder(), 1);
    EXPECT_EQ(first.topBorderBrush().color(), QColor(Qt::red));
    EXPECT_EQ(first.bottomBorderStyle(), QTextFrameFormat::BorderStyle_None);
    EXPECT_DOUBLE_EQ(first.leftPadding() * 15, 108);
    EXPECT_FALSE(table->cellAt(0, 1).format().hasProperty(QTextFormat::BackgroundBrush)) << "the first cell's";
}

TEST(RtfReadTest, HiddenTextIsNotShown)
{
    EXPECT_EQ(paragraphs(*readRtf("{\\rtf1 a{\\v hidden}b\\v c\\v0 d}")).value(0), QStringLiteral("abd"));
}

TEST(RtfReadTest, PngPictureBecomesAnEmbeddedImage)
{
    const QImage image = testImage(6, 4);
    QByteArray hex = hexOf(encodedImage(image, "PNG"));
    // Readers must ignore white space in the hex data.
    for (qsizetype i = 60; i < hex.size(); i += 61)
        hex.insert(i, "\r\n");
    const QByteArray rtf = "{\\rtf1 before{\\pict\\pngblip\\picw6\\pich4\\picwgoal180\\pichgoal120 " + hex
        + "}after{\\pict\\pngblip\\picscalex50\\picscaley200 " + hex + "}}";
    const auto doc = readRtf(rtf);
    EXPECT_EQ(allText(*doc), QStringLiteral("before\uFFFCafter\uFFFC"));
    const auto found = images(*doc);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_TRUE(found[0].name().startsWith(QStringLiteral("veltrix-image:")));
    EXPECT_NE(found[0].name(), found[1].name());
    const QImage loaded = imageOf(*doc, found[0]);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), image);
    EXPECT_DOUBLE_EQ(found[0].width(), 12.0) << "180 twips at 96 dpi";
    EXPECT_DOUBLE_EQ(found[0].height(), 8.0);
    EXPECT_DOUBLE_EQ(found[1].width(), 3.0) << "scaled by \\picscalex";
    EXPECT_DOUBLE_EQ(found[1].height(), 8.0);
}

TEST(RtfReadTest, ImageNamesStayUniqueAcrossDocuments)
{
    const QByteArray hex = hexOf(encodedImage(testImage(2, 2), "PNG"));
    const QByteArray rtf = "{\\rtf1 {\\pict\\pngblip " + hex + "}}";
    const auto first = readRtf(rtf);
    const auto second = readRtf(rtf);
    ASSERT_EQ(images(*first).size(), 1u);
    ASSERT_EQ(images(*second).size(), 1u);
    EXPECT_NE(images(*first)[0].name(), images(*second)[0].name())
        << "pasting one document into another must not mix up their pictures";
}

TEST(RtfReadTest, JpegPictureAndBinaryPictureData)
{
    if (!QImageWriter::supportedImageFormats().contains("jpeg"))
        GTEST_SKIP() << "no JPEG image plugin";
    const QImage image = testImage(8, 8);
    const QByteArray jpeg = encodedImage(image, "JPEG");
    const QByteArray png = encodedImage(image, "PNG");
    const QByteArray rtf = "{\\rtf1 {\\pict\\jpegblip " + hexOf(jpeg) + "}{\\pict\\pngblip\\bin"
        + QByteArray::number(png.size()) + " " + png + "}end}";
    const auto doc = readRtf(rtf);
    const auto found = images(*doc);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(imageOf(*doc, found[0]).size(), QSize(8, 8));
    EXPECT_EQ(imageOf(*doc, found[1]).size(), QSize(8, 8));
    EXPECT_TRUE(allText(*doc).endsWith(QStringLiteral("end")));
}

TEST(RtfReadTest, ShapePictureIsReadOnceAndItsAlternativeSkipped)
{
    const QByteArray hex = hexOf(encodedImage(testImage(3, 3), "PNG"));
    const QByteArray rtf = "{\\rtf1 a{\\*\\shppict{\\pict{\\*\\picprop{\\sp{\\sn x}{\\sv 1}}}\\pngblip " + hex
        + "}}{\\nonshppict{\\pict\\wmetafile8 0100090000}}b{\\pict\\emfblip 0100000000}c"
          "{\\pict\\wmetafile8 " + hex + "}d}";
    const auto doc = readRtf(rtf);
    EXPECT_EQ(allText(*doc), QStringLiteral("a\uFFFCb\uFFFCc\uFFFCd")) << "metafiles stand as boxes";
    EXPECT_EQ(images(*doc).size(), 3u);
}

} // namespace
