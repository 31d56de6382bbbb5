// Writing and reading back: every character and every property of the
// document model must survive, over generated documents and the edge cases
// that break naive writers.

#include "RtfTestSupport.h"

#include <QTextCursor>

#include <gtest/gtest.h>

#include <random>

using namespace rtftest;
using paraformat::ListStyle;

namespace {

const QString kFamilies[] = {QStringLiteral("Times New Roman"), QStringLiteral("Arial"),
                             QStringLiteral("Courier New"), QStringLiteral("Шрифт Кириллица"),
                             QStringLiteral("微软雅黑")};
const double kSizes[] = {8, 9.5, 10, 11, 12, 14, 18, 24, 36, 72};
const QColor kColors[] = {QColor(255, 0, 0), QColor(0, 0, 0), QColor(0, 128, 0), QColor(18, 52, 86),
                          QColor(255, 255, 255)};
const QString kWords[] = {
    QStringLiteral("Привет"), QStringLiteral("Ёжик"), QStringLiteral("ёлка"), QStringLiteral("hello"),
    QStringLiteral("{braces}"), QStringLiteral("back\\slash"), QStringLiteral("semi;colon"),
    QStringLiteral("€100"), QStringLiteral("中文"), QStringLiteral("😀"), QStringLiteral("naïve"),
    QStringLiteral("Ωmega"), QStringLiteral("tab\there"), QStringLiteral("line\u2028break"),
    QStringLiteral("nb\u00A0sp"), QStringLiteral("soft\u00ADhyphen"), QStringLiteral("non\u2011break"),
    QStringLiteral("«кавычки»"), QStringLiteral("№5"), QStringLiteral("ẞ"), QStringLiteral("—"),
    QStringLiteral("\\par"), QStringLiteral("'quote'"), QStringLiteral("?"), QStringLiteral(" "),
};

struct Generator {
    std::mt19937 random;
    explicit Generator(unsigned seed) : random(seed) {}
    int pick(int n) { return int(random() % unsigned(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    QTextCharFormat charFormat()
    {
        QTextCharFormat f;
        f.setFontFamilies({kFamilies[pick(5)]});
        f.setFontPointSize(kSizes[pick(10)]);
        f.setFontWeight(chance(30) ? QFont::Bold : QFont::Normal);
        f.setFontItalic(chance(30));
        f.setFontUnderline(chance(20));
        f.setFontStrikeOut(chance(15));
        if (chance(35))
            f.setForeground(kColors[pick(5)]);
        if (chance(15))
            f.setBackground(kColors[pick(5)]);
        return f;
    }

    QString text()
    {
        QString s;
        const int words = 1 + pick(4);
        for (int i = 0; i < words; ++i)
            s += kWords[pick(int(std::size(kWords)))] + QLatin1Char(' ');
        return s;
    }

    QImage image()
    {
        QImage img(1 + pick(5), 1 + pick(5), QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qRgb(pick(256), pick(256), pick(256)));
        return img;
    }
};

std::unique_ptr<QTextDocument> generate(unsigned seed, int paragraphCount)
{
    Generator g(seed);
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor cursor(doc.get());
    QTextList *list = nullptr;
    ListStyle listStyle = ListStyle::None;
    int imageNumber = 0;
    for (int p = 0; p < paragraphCount; ++p) {
        QTextBlockFormat bf;
        static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                                   Qt::AlignJustify};
        bf.setAlignment(alignments[g.pick(4)]);
        ListStyle style = ListStyle::None;
        if (g.chance(45))
            style = listStyle != ListStyle::None && g.chance(60) ? listStyle : ListStyle(1 + g.pick(6));
        const paraformat::Indents indents{g.pick(250) - 50, g.pick(121) - 60, g.pick(101)};
        paraformat::setIndents(bf, indents, style != ListStyle::None);
        const QTextCharFormat blockChars = g.charFormat();
        if (p == 0) {
            cursor.setBlockFormat(bf);
            cursor.setBlockCharFormat(blockChars);
        } else {
            cursor.insertBlock(bf, blockChars);
        }
        if (style == ListStyle::None) {
            list = nullptr;
        } else if (list && style == listStyle) {
            list->add(cursor.block());
        } else {
            list = cursor.createList(paraformat::listFormat(style));
        }
        listStyle = style;

        const int runs = g.chance(10) ? 0 : 1 + g.pick(5);
        for (int r = 0; r < runs; ++r) {
            if (g.chance(8)) {
                const QString name = QStringLiteral("veltrix-image:test-%1-%2").arg(seed).arg(imageNumber++);
                const QImage img = g.image();
                doc->addResource(QTextDocument::ImageResource, QUrl(name), img);
                QTextImageFormat f;
                f.setName(name);
                if (g.chance(50)) {
                    f.setWidth(1 + g.pick(300));
                    f.setHeight(1 + g.pick(300));
                }
                cursor.insertImage(f);
            } else {
                cursor.insertText(g.text(), g.charFormat());
            }
        }
    }
    return doc;
}

QSizeF displayedSize(const QTextDocument &doc, const QTextImageFormat &f)
{
    const QImage image = imageOf(doc, f);
    return QSizeF(f.width() > 0 ? f.width() : image.width(), f.height() > 0 ? f.height() : image.height());
}

// Compares everything the document model holds, character by character.
void expectSameDocument(const QTextDocument &expected, const QTextDocument &actual, const std::string &context)
{
    ASSERT_EQ(paragraphs(actual), paragraphs(expected)) << context;
    QTextBlock e = expected.begin();
    QTextBlock a = actual.begin();
    for (int index = 0; e.isValid() && a.isValid(); e = e.next(), a = a.next(), ++index) {
        const std::string where = context + " paragraph " + std::to_string(index);
        EXPECT_EQ(describe(a), describe(e)) << where;
        if (index > 0) {
            const bool expectedContinues = e.textList() && e.textList() == e.previous().textList();
            const bool actualContinues = a.textList() && a.textList() == a.previous().textList();
            EXPECT_EQ(actualContinues, expectedContinues) << where << ": list membership";
        }
        if (e.text().isEmpty()) {
            EXPECT_EQ(describe(a.charFormat()), describe(e.charFormat())) << where << ": empty paragraph's format";
            continue;
        }
        for (int i = 0; i < e.text().size(); ++i) {
            const QTextCharFormat ef = formatAt(e, i);
            const QTextCharFormat af = formatAt(a, i);
            if (ef.isImageFormat()) {
                ASSERT_TRUE(af.isImageFormat()) << where << " offset " << i;
                const QImage expectedImage = imageOf(expected, ef.toImageFormat());
                const QImage actualImage = imageOf(actual, af.toImageFormat());
                EXPECT_EQ(actualImage.convertToFormat(QImage::Format_RGB32), expectedImage) << where;
                EXPECT_EQ(displayedSize(actual, af.toImageFormat()), displayedSize(expected, ef.toImageFormat()))
                    << where;
                continue;
            }
            EXPECT_EQ(describe(af), describe(ef)) << where << " offset " << i << " char U+" << std::hex
                                                  << e.text().at(i).unicode();
        }
    }
}

std::unique_ptr<QTextDocument> roundTrip(const QTextDocument &doc)
{
    bool ok = false;
    auto back = readRtf(rtf::write(doc), &ok);
    EXPECT_TRUE(ok);
    return back;
}

TEST(RtfRoundTripTest, GeneratedDocumentsSurviveWholly)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const auto doc = generate(seed, 3 + int(seed % 25));
        const auto back = roundTrip(*doc);
        expectSameDocument(*doc, *back, "seed " + std::to_string(seed));
        if (::testing::Test::HasFailure())
            break;
    }
}

TEST(RtfRoundTripTest, WrittenTwiceIsTheSame)
{
    const auto doc = generate(99, 30);
    const QByteArray once = rtf::write(*doc);
    const auto back = readRtf(once);
    EXPECT_EQ(rtf::write(*back), once) << "reading and writing again changes nothing but image names";
}

TEST(RtfRoundTripTest, EveryCharacterSurvives)
{
    QString text;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        text += QChar(c);
    for (char16_t c = 0xA0; c <= 0x024F; ++c)
        text += QChar(c);
    for (char16_t c = 0x0400; c <= 0x052F; ++c)
        text += QChar(c);
    text += QStringLiteral("€‚„…†‡‰‹›‘’“”•–—™№ ẞ中文日本語한국어עבריתالعربية");
    text += QStringLiteral("😀🎉𝄞👍🏽") + QChar(0xF0B7) + QChar(0xFFFD) + QChar(0xE000);
    QTextDocument doc;
    QTextCursor(&doc).insertText(text);
    const auto back = roundTrip(doc);
    EXPECT_EQ(allText(*back), text);
}

TEST(RtfRoundTripTest, OutputIsSevenBitAndLooksLikeTheWindowsControls)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Times New Roman")});
    f.setFontPointSize(14);
    cursor.insertText(QStringLiteral("Привет € 中 😀 {x} \\"), f);
    const QByteArray rtf = rtf::write(doc);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\fcharset204 Times New Roman;")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("{\\colortbl ;")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\uc1")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\pard")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\fs28")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 \\'88 \\u20013? \\u-10179?\\u-8704? \\{x\\} \\\\"))
        << "Cyrillic and € as Windows-1251 bytes, the rest as \\uN with a fallback: " << rtf.toStdString();
    for (const char c : rtf)
        ASSERT_LT(uchar(c), 0x80) << "RTF is 7-bit text";
}

TEST(RtfRoundTripTest, AutomaticColourStaysAutomaticAndBlackStaysBlack)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("auto "), QTextCharFormat());
    QTextCharFormat black;
    black.setForeground(QColor(Qt::black));
    cursor.insertText(QStringLiteral("black "), black);
    QTextCharFormat white;
    white.setForeground(QColor(Qt::white));
    white.setBackground(QColor(Qt::black));
    cursor.insertText(QStringLiteral("white"), white);
    const auto back = roundTrip(doc);
    EXPECT_FALSE(hasForeground(formatOf(*back, QStringLiteral("auto"))));
    ASSERT_TRUE(hasForeground(formatOf(*back, QStringLiteral("black"))));
    EXPECT_EQ(formatOf(*back, QStringLiteral("black")).foreground().color(), QColor(Qt::black));
    EXPECT_EQ(formatOf(*back, QStringLiteral("white")).foreground().color(), QColor(Qt::white));
    EXPECT_EQ(formatOf(*back, QStringLiteral("white")).background().color(), QColor(Qt::black));
    EXPECT_FALSE(hasBackground(formatOf(*back, QStringLiteral("black"))));
}

TEST(RtfRoundTripTest, ParagraphCountIsExactIncludingEmptyOnes)
{
    const QStringList shapes[] = {
        {""}, {"", ""}, {"a"}, {"a", ""}, {"", "a"}, {"a", "", ""}, {"", "", ""}, {"a", "b", ""},
    };
    for (const QStringList &shape : shapes) {
        QTextDocument doc;
        QTextCursor cursor(&doc);
        for (int i = 0; i < shape.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            cursor.insertText(shape[i]);
        }
        EXPECT_EQ(paragraphs(*roundTrip(doc)), shape) << shape.join(QLatin1Char('|')).toStdString();
    }
}

TEST(RtfRoundTripTest, AllListStylesAndTheirBoundaries)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat chars;
    chars.setFontFamilies({QStringLiteral("Arial")});
    chars.setFontPointSize(10);
    const ListStyle styles[] = {ListStyle::Bullet, ListStyle::ArabicNumbers, ListStyle::LoCaseLetter,
                                ListStyle::UpCaseLetter, ListStyle::LoCaseRoman, ListStyle::UpCaseRoman};
    bool first = true;
    for (ListStyle style : styles) {
        QTextList *list = nullptr;
        for (int item = 0; item < 4; ++item) {
            QTextBlockFormat bf;
            paraformat::setIndents(bf, {18, 18, 0}, true);
            if (first)
                cursor.setBlockFormat(bf);
            else
                cursor.insertBlock(bf);
            first = false;
            if (list)
                list->add(cursor.block());
            else
                list = cursor.createList(paraformat::listFormat(style));
            cursor.insertText(QStringLiteral("item %1").arg(item), chars);
        }
        cursor.insertBlock(QTextBlockFormat());
        cursor.insertText(QStringLiteral("between"), chars);
    }
    const auto back = roundTrip(doc);
    expectSameDocument(doc, *back, "lists");
    for (QTextBlock block = back->begin(); block.isValid(); block = block.next()) {
        if (block.text() == QStringLiteral("item 3") && block.textList()) {
            EXPECT_EQ(block.textList()->count(), 4) << "the four items stay one list";
        }
    }
    const QByteArray rtf = rtf::write(doc);
    EXPECT_TRUE(rtf.contains("{\\pntext\\f1 iv.\\tab}")) << "the rendered number for readers of \\pn";
    EXPECT_TRUE(rtf.contains("{\\pntext\\f1 D.\\tab}"));
    EXPECT_TRUE(rtf.contains("\\pnlvlblt"));
    EXPECT_TRUE(rtf.contains("\\levelnfc4")) << "Word's list table for LibreOffice";
}

TEST(RtfRoundTripTest, RangesWriteOnlyTheSelection)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("first "));
    cursor.insertText(QStringLiteral("bold"), bold);
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second line"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("third"));

    // "rst bo" inside the first paragraph.
    const auto inside = readRtf(rtf::write(doc, 2, 8));
    EXPECT_EQ(paragraphs(*inside), QStringList{QStringLiteral("rst bo")});
    EXPECT_EQ(formatOf(*inside, QStringLiteral("bo")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(*inside, QStringLiteral("rst")).fontWeight(), QFont::Normal);

    // From "bold" to "sec" across a paragraph end.
    const auto across = readRtf(rtf::write(doc, 6, 14));
    EXPECT_EQ(paragraphs(*across), (QStringList{QStringLiteral("bold"), QStringLiteral("sec")}));

    // The whole second paragraph with its mark: one paragraph.
    const int second = doc.findBlockByNumber(1).position();
    const QByteArray withMark = rtf::write(doc, second, second + 12);
    EXPECT_TRUE(withMark.contains("second line\\par")) << withMark.toStdString();

    EXPECT_EQ(paragraphs(*readRtf(rtf::write(doc, 3, 3))), QStringList{QString()});
    EXPECT_EQ(paragraphs(*readRtf(rtf::write(doc, -50, 100000))), paragraphs(doc)) << "ranges are clamped";
}

TEST(RtfRoundTripTest, PicturesKeepPixelsAndDisplayedSize)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QImage image(7, 3, QImage::Format_ARGB32);
    image.fill(qRgba(10, 200, 30, 255));
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mem:one")), image);
    QTextImageFormat natural;
    natural.setName(QStringLiteral("mem:one"));
    QTextImageFormat scaled = natural;
    scaled.setWidth(70);
    QTextImageFormat missing;
    missing.setName(QStringLiteral("mem:nowhere"));
    cursor.insertText(QStringLiteral("a"));
    cursor.insertImage(natural);
    cursor.insertImage(scaled);
    cursor.insertImage(missing);
    cursor.insertText(QStringLiteral("b"));

    const QByteArray rtf = rtf::write(doc);
    EXPECT_TRUE(rtf.contains("\\pict\\pngblip")) << rtf.left(600).toStdString();
    const auto back = readRtf(rtf);
    EXPECT_EQ(allText(*back), QStringLiteral("a\uFFFC\uFFFCb")) << "a picture without data is left out";
    const auto found = images(*back);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(imageOf(*back, found[0]).convertToFormat(QImage::Format_ARGB32), image);
    EXPECT_EQ(displayedSize(*back, found[0]), QSizeF(7, 3));
    EXPECT_EQ(displayedSize(*back, found[1]), QSizeF(70, 30)) << "the height follows the width's scale";
}

} // namespace

// What a word processor keeps in the header and the editor does not show (the
// document's information, its own tables and settings) is written back as it
// was read, once; what stands in the text is not, nor does a piece for the
// clipboard carry it.
TEST(RtfRoundTripTest, HeaderGroupsNotShownAreWrittenBackAsRead)
{
    const QByteArray info = "{\\info{\\title \\'ce\\'f2\\'f7\\'b8\\'f2}{\\author Ivan}}";
    const QByteArray rsids = "{\\*\\rsidtbl \\rsid123\\rsid456}";
    const QByteArray theme = "{\\*\\themedata 504b0304{\\*\\inner 7d}}";
    const auto document = readRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\stylesheet{\\s0 Normal;}}" + info + rsids +
                                  "{\\*\\generator Msftedit 5.41;}" + theme +
                                  "\\pard Text{\\*\\bkmkstart a}{\\*\\bkmkend a} here\\par}");
    const QByteArray once = rtf::write(*document);
    for (const QByteArray &group : {info, rsids, theme})
        EXPECT_EQ(once.count(group), 1) << group.constData();
    EXPECT_FALSE(once.contains("Msftedit"));
    EXPECT_FALSE(once.contains("stylesheet"));
    EXPECT_FALSE(once.contains("bkmk"));
    EXPECT_EQ(allText(*readRtf(once)), QStringLiteral("Text here"));
    EXPECT_EQ(rtf::write(*readRtf(once)), once);
    EXPECT_FALSE(rtf::write(*document, 0, 4).contains("rsidtbl"));

    // Cut short inside a header group: nothing half-kept.
    EXPECT_FALSE(rtf::write(*readRtf("{\\rtf1{\\*\\themedata 5041")).contains("themedata"));
}

// A header group whose text was read before a \* in its middle made it one
// the document does not show is not kept: the saved file would hold its text
// twice, or a second font table that changes how the text reads. The input
// the fuzz target found, and two small forms of it.
TEST(RtfRoundTripTest, HeaderGroupReadBeforeItsStarIsNotKept)
{
    const QByteArray found =
        "{\\rtf1\\ansi\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Times New Roman;}}\n"
        "\\ll}\\pard\\plain\\intbl\\cellar}\n"
        "}{\\listtext\\pard\\fi-360\\li1440{\\s32\\f0\\fs24{\\*\\listtag0}\\tab two}w\\*\\abitablepro\x8f"
        "s x}\\par{\\*\\abicellprops y}\n"
        "\\trowd \\itap1\\tr+aph36\\cellx4344\\cellx8688\\pard\\plain\\intbl\\itap1{\\f0;A1}\\cell{\\*\\abiendc\\row}"
        "{\\*\\abiendtable}\n"
        "{\\pntext 3.\\tab}{\\*\\pn\\pnlvlbody\\pndec}three\\par{\\pntext 4.\\par}after\\par}\n";
    const QByteArray listText = "{\\rtf1{\\listtext a\\*\\x b}c\\par}";
    const QByteArray fontTable = "{\\rtf1{\\fonttbl{\\f1\\fcharset0 B;}{\\f0\\fcharset204 A;}\\*\\x}{\\f0 \\'e0}\\par}";
    EXPECT_EQ(allText(*readRtf(listText)), QStringLiteral("ac"));
    EXPECT_EQ(allText(*readRtf(fontTable)), QStringLiteral(u"\u0430"));
    for (const QByteArray &input : {found, listText, fontTable}) {
        const auto document = readRtf(input);
        EXPECT_EQ(allText(*roundTrip(*document)), allText(*document)) << input.constData();
    }
}
