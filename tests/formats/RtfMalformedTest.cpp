// Hostile and broken RTF: every input must load without crashing, hanging or
// growing without bound, and keep the text that is there.

#include "RtfTestSupport.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <random>

using namespace rtftest;

namespace {

template<size_t N>
QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, qsizetype(N - 1));
}

QString textOf(const QByteArray &rtf)
{
    bool ok = false;
    const auto doc = readRtf(rtf, &ok);
    EXPECT_TRUE(ok) << "RTF that starts right is always read";
    return allText(*doc);
}

TEST(RtfMalformedTest, HundredThousandNestedGroups)
{
    const int depth = 100000;
    const QByteArray balanced = "{\\rtf1 start " + QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}')
        + " end}";
    const auto doc = readRtf(balanced);
    EXPECT_EQ(allText(*doc), QStringLiteral("start deep end"));
    EXPECT_EQ(formatOf(*doc, QStringLiteral(" end")).fontWeight(), QFont::Normal)
        << "closing the deep groups restores the state saved before them";

    EXPECT_EQ(textOf("{\\rtf1 a" + QByteArray(depth, '{') + "b"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a" + QByteArray(depth, '{') + "b" + QByteArray(depth * 2, '}') + "c}"),
              QStringLiteral("abc"));
    QByteArray starred = "{\\rtf1 x";
    for (int i = 0; i < depth; ++i)
        starred += "{\\*\\unknown ";
    EXPECT_EQ(textOf(starred + "y"), QStringLiteral("x"));
}

TEST(RtfMalformedTest, ExtraClosingBracesNeverPopTheRoot)
{
    EXPECT_EQ(textOf("{\\rtf1 a}}}}"), QStringLiteral("a"));
    EXPECT_EQ(textOf("{\\rtf1 {\\b a}} b}"), QStringLiteral("a b"));
    EXPECT_EQ(textOf("{\\rtf1 a}}}}}} b {\\i c}"), QStringLiteral("a b c"));
    EXPECT_EQ(textOf(bytes("{\\rtf1 a}\r\n\0\0")), QStringLiteral("a"));
    const auto doc = readRtf("{\\rtf1 \\b a}} b}");
    EXPECT_EQ(formatOf(*doc, QStringLiteral(" b")).fontWeight(), QFont::Bold)
        << "the root's state is kept after a stray brace";
}

TEST(RtfMalformedTest, TruncatedFilesKeepTheirText)
{
    const char *cases[] = {
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello wor",
        "{\\rtf1 Hello wor\\",
        "{\\rtf1 Hello wor\\'",
        "{\\rtf1 Hello wor\\'c",
        "{\\rtf1 Hello wor\\u10",
        "{\\rtf1 Hello wor\\b",
        "{\\rtf1 Hello wor\\fs-",
        "{\\rtf1 Hello wor{\\*",
        "{\\rtf1 Hello wor{\\pict\\pngblip 89504e47",
        "{\\rtf1 Hello wor{\\fonttbl{\\f0 Ari",
        "{\\rtf1 Hello wor{\\colortbl;\\red255",
        "{\\rtf1 Hello wor\\bin50 abc",
    };
    for (const char *rtf : cases)
        EXPECT_TRUE(textOf(rtf).startsWith(QStringLiteral("Hello wor"))) << rtf;
    EXPECT_EQ(textOf("{\\rtf1 Hello wor\\'c"), QStringLiteral("Hello wor"));
    EXPECT_EQ(textOf("{\\rtf1 {\\b bold"), QStringLiteral("bold"));
}

TEST(RtfMalformedTest, BadHexEscapes)
{
    const QString a = textOf("{\\rtf1 a\\'3?b}");
    EXPECT_TRUE(a.startsWith(QLatin1Char('a')) && a.endsWith(QLatin1Char('b'))) << a.toStdString();
    EXPECT_EQ(textOf("{\\rtf1 a\\'zzb}"), QStringLiteral("azzb"));
    EXPECT_EQ(textOf("{\\rtf1 a\\'00\\'0a\\'0db}"), QStringLiteral("ab")) << "control bytes are not text";
    EXPECT_EQ(textOf("{\\rtf1 a\\'09b}"), QStringLiteral("a\tb"));
}

TEST(RtfMalformedTest, HugeAndOverflowingParameters)
{
    const auto doc = readRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f2147483649\\fprq18446744073709551617 "
                             "\\fs99999999999999999999 big\\par\\fs-40 neg\\par"
                             "\\pard\\li999999999999\\fi-999999999999\\ri2147483647 indented\\par"
                             "\\pard\\li-2147483648\\fi2147483647 other\\par"
                             "\\pard\\cf-5\\highlight99999999999 colour\\par"
                             "\\uc99999999999\\u1055 after\\par"
                             "\\ls-1\\ilvl-7 list\\par"
                             "{\\pict\\pngblip\\picwgoal99999999999\\picscalex-5 00}pic\\par}");
    const QStringList texts = paragraphs(*doc);
    ASSERT_EQ(texts.size(), 8);
    EXPECT_EQ(texts[0], QStringLiteral("big"));
    const QTextCharFormat big = formatOf(*doc, QStringLiteral("big"));
    EXPECT_GT(big.fontPointSize(), 0.0);
    EXPECT_LE(big.fontPointSize(), 1638.0) << "font sizes are clamped";
    EXPECT_EQ(familyOf(big), QStringLiteral("Arial")) << "an undefined font keeps the current one";
    EXPECT_DOUBLE_EQ(formatOf(*doc, QStringLiteral("neg")).fontPointSize(), big.fontPointSize());

    for (int i : {2, 3}) {
        const paraformat::Indents in = paraformat::indents(blockAt(*doc, i).blockFormat());
        EXPECT_LE(qAbs(in.first), 1584 * 2) << i;
        EXPECT_LE(qAbs(in.other), 1584) << i;
        EXPECT_LE(qAbs(in.right), 1584) << i;
    }
    EXPECT_FALSE(hasForeground(formatOf(*doc, QStringLiteral("colour"))));
    EXPECT_FALSE(hasBackground(formatOf(*doc, QStringLiteral("colour"))));
    EXPECT_EQ(texts[5], QStringLiteral("П")) << "a huge \\uc eats the fallback only up to the next word";
    EXPECT_EQ(texts[6], QStringLiteral("list"));
    EXPECT_EQ(texts[7], QStringLiteral("pic"));
}

TEST(RtfMalformedTest, BinaryDataBeyondTheEndOrNegative)
{
    EXPECT_EQ(textOf("{\\rtf1 a\\bin999999999999 xyz}"), QStringLiteral("a"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin2147483647 xyz}"), QStringLiteral("a"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin-5 b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a\\bin2 }}b}"), QStringLiteral("ab")) << "binary bytes are never markup";
    EXPECT_EQ(textOf("{\\rtf1 a\\bin3 {}\\c}"), QStringLiteral("ac"));
    EXPECT_EQ(textOf("{\\rtf1 a{\\*\\unknown\\bin4 }}}}}b}"), QStringLiteral("ab"));
}

TEST(RtfMalformedTest, BrokenFontTables)
{
    const auto doc = readRtf("{\\rtf1{\\fonttbl\\f0\\froman Times;\\f1 Arial;\\f1 Dup;{\\f2 NoSemicolon}"
                             "{\\f3\\fcharset204 \\'d8\\'f0\\'e8\\'f4\\'f2}{\\fcharset204 NoNumber;}{\\f4}}"
                             "\\f1 one\\f2  two\\f3  three\\f9  nine\\f4  four}");
    EXPECT_EQ(familyOf(formatOf(*doc, QStringLiteral("one"))), QStringLiteral("Dup")) << "duplicates overwrite";
    EXPECT_EQ(familyOf(formatOf(*doc, QStringLiteral("two"))), QStringLiteral("NoSemicolon"));
    EXPECT_EQ(familyOf(formatOf(*doc, QStringLiteral("three"))), QStringLiteral("Шрифт"));
    EXPECT_EQ(familyOf(formatOf(*doc, QStringLiteral("nine"))), QStringLiteral("Шрифт"))
        << "an undefined font keeps the current one";
    EXPECT_EQ(allText(*doc), QStringLiteral("one two three nine four"));

    QByteArray many = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 100000; ++i)
        many += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
    many += "}\\f5 text}";
    const auto manyFonts = readRtf(many);
    EXPECT_EQ(allText(*manyFonts), QStringLiteral("text"));
    EXPECT_EQ(familyOf(formatOf(*manyFonts, QStringLiteral("text"))), QStringLiteral("F5"));

    EXPECT_EQ(textOf("{\\rtf1{\\fonttbl;;;{;}}x}"), QStringLiteral("x"));
    EXPECT_EQ(textOf("{\\rtf1\\deff5\\f7 x}"), QStringLiteral("x")) << "no font table at all";
}

TEST(RtfMalformedTest, BrokenColourTables)
{
    const auto doc = readRtf("{\\rtf1{\\colortbl;\\red300\\green-5\\blue0;\\red0\\green0\\blue255}"
                             "\\cf1 a\\cf2  b\\cf99  c\\cf-1  d\\highlight7  e}");
    EXPECT_EQ(formatOf(*doc, QStringLiteral("a")).foreground().color(), QColor(255, 0, 0)) << "components clamp";
    EXPECT_EQ(formatOf(*doc, QStringLiteral("b")).foreground().color(), QColor(0, 0, 255))
        << "the last entry counts without its ';'";
    EXPECT_FALSE(hasForeground(formatOf(*doc, QStringLiteral("c")))) << "out of range is the default colour";
    EXPECT_FALSE(hasForeground(formatOf(*doc, QStringLiteral("d"))));
    EXPECT_FALSE(hasBackground(formatOf(*doc, QStringLiteral("e"))));
    EXPECT_EQ(textOf("{\\rtf1\\cf3\\cb2 x}"), QStringLiteral("x")) << "no colour table at all";
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

TEST(RtfMalformedTest, BrokenPictures)
{
    QImage image(5, 5, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    const QByteArray hex = pngBytes(image).toHex();

    const auto odd = readRtf("{\\rtf1 a{\\pict\\pngblip " + hex + "7}b}");
    EXPECT_EQ(images(*odd).size(), 1u) << "an odd final nibble is dropped";
    EXPECT_EQ(allText(*odd), QStringLiteral("a\uFFFCb"));

    const auto cut = readRtf("{\\rtf1 a{\\pict\\pngblip " + hex.left(hex.size() / 2) + "}b}");
    EXPECT_EQ(allText(*cut), QStringLiteral("ab"));
    EXPECT_TRUE(images(*cut).empty());

    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\pngblip zz not hex at all}b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\pngblip}b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\jpegblip ffd8ffe000104a464946}b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\pngblip " + hex + "{\\pict\\pngblip " + hex + "}}b}"),
              QStringLiteral("a\uFFFCb"))
        << "a picture inside a picture is not a second image";

    // A valid header that declares ten billion pixels: skipped before decoding.
    QByteArray ihdr("IHDR");
    uchar size[8];
    qToBigEndian<quint32>(100000, size);
    qToBigEndian<quint32>(100000, size + 4);
    ihdr.append(reinterpret_cast<const char *>(size), 8);
    ihdr.append("\x08\x02\x00\x00\x00", 5);
    QByteArray bomb("\x89PNG\r\n\x1a\n", 8);
    uchar length[4];
    qToBigEndian<quint32>(13, length);
    bomb.append(reinterpret_cast<const char *>(length), 4);
    bomb.append(ihdr);
    uchar crc[4];
    qToBigEndian<quint32>(crc32(ihdr), crc);
    bomb.append(reinterpret_cast<const char *>(crc), 4);
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\pngblip " + bomb.toHex() + "}b}"), QStringLiteral("ab"));

    // A bitmap one pixel wide and a million high, its rows cut short: not
    // shown, since it could not be saved and read again.
    EXPECT_EQ(textOf("{\\rtf1 a{\\pict\\dibitmap0 28000000010000000000100001001800000000000400000000000000"
                     "000000000000000000000000000001020300}b}"),
              QStringLiteral("ab"));
}

TEST(RtfMalformedTest, OverlongControlWordsAndStrayBytes)
{
    EXPECT_EQ(textOf("{\\rtf1 a\\" + QByteArray(100000, 'x') + " b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a\\" + QByteArray(40, 'b') + "1234567890123456789012345 c}"), QStringLiteral("ac"));
    EXPECT_EQ(textOf(bytes("{\\rtf1 a\0b\x01\x7f}")), QStringLiteral("ab\x7f"));
    EXPECT_EQ(textOf("{\\rtf1 a\\*b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 a\\\xff\\9b}"), QStringLiteral("ab"));
    EXPECT_EQ(textOf("{\\rtf1 \xEF\xBB\xBF\xD0\x9F}").size(), 5) << "bytes are code-page bytes, never UTF-8";
}

TEST(RtfMalformedTest, CharactersThatWouldBreakTheDocumentStructure)
{
    // Paragraph separators, frame markers and object characters from \u or
    // \'xx must not reach the document as structure.
    const auto doc = readRtf("{\\rtf1 a\\u8233?b\\u-560?c\\u-559?d\\u-4?e\\'0af\\u13?g}");
    EXPECT_EQ(doc->blockCount(), 1);
    EXPECT_EQ(allText(*doc), QStringLiteral("abcdefg"));
    EXPECT_TRUE(images(*doc).empty());
}

TEST(RtfMalformedTest, ListsAndStylesOutOfRange)
{
    const auto doc = readRtf("{\\rtf1{\\*\\listtable{\\list\\listid1}{\\list{\\listlevel}\\listid-5}}"
                             "{\\*\\listoverridetable{\\listoverride\\ls1}{\\listoverride\\listid1\\ls2}}"
                             "\\pard\\ls1 a\\par\\pard\\ls2\\ilvl8 b\\par\\pard\\ls999999 c\\par"
                             "\\pard\\s99\\ls0 d\\par"
                             "\\pard{\\*\\pn\\pnlvlbody\\pnlvl999\\pndec{\\pntxtb " + QByteArray(100000, 'x')
                             + "}}e\\par}");
    EXPECT_EQ(paragraphs(*doc), (QStringList{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(listStyleOf(blockAt(*doc, 4)), paraformat::ListStyle::ArabicNumbers);
}

TEST(RtfMalformedTest, HugeListsLoadWithoutQuadraticCost)
{
    // Qt's lists cost n*n to build; a list this long would take minutes whole.
    QByteArray bullets = "{\\rtf1 ";
    for (int i = 0; i < 100000; ++i)
        bullets += "{\\*\\pn\\pnlvlblt}x\\par ";
    const auto doc = readRtf(bullets + "}");
    ASSERT_EQ(doc->blockCount(), 100000);
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        ASSERT_EQ(listStyleOf(block), paraformat::ListStyle::Bullet);

    // An ordinary long numbered list stays one list, so its numbers run on.
    QByteArray numbers = "{\\rtf1 ";
    for (int i = 0; i < 3000; ++i)
        numbers += "{\\*\\pn\\pnlvlbody\\pndec}x\\par ";
    const auto numbered = readRtf(numbers + "}");
    ASSERT_EQ(numbered->blockCount(), 3000);
    ASSERT_NE(numbered->lastBlock().textList(), nullptr);
    EXPECT_EQ(numbered->lastBlock().textList()->count(), 3000);
    EXPECT_EQ(numbered->lastBlock().textList()->itemText(numbered->lastBlock()), QStringLiteral("3000."));
}

// Mutations of valid documents: random bytes, cuts, braces and backslashes in
// random places. The reader must always come back with a document.
TEST(RtfMalformedTest, MutatedDocumentsAlwaysLoad)
{
    const QByteArray seeds[] = {
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Calibri;}{\\f1\\fnil\\fcharset2 "
        "Symbol;}}{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs22 \\'cf\\b\\'f0\\b0\\cf1 "
        "x\\par{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}\\fi-360\\li720 a\\par\\u1055?\\par}",
        "{\\rtf1{\\*\\listtable{\\list{\\listlevel\\levelnfc4{\\leveltext\\'02\\'00.;}}\\listid1}}"
        "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\pard\\ls1{\\listtext a.\\tab}x\\par"
        "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt y}}\\trowd\\cellx100\\intbl z\\cell\\row}",
        "{\\rtf1 a{\\pict\\pngblip\\picwgoal100 89504e470d0a1a0a0000000d4948445200000001000000010802000000907753"
        "de0000000c4944415408d763f8ffff3f0005fe02fea7d6a4bb0000000049454e44ae426082}b\\bin3 {}\\c}",
    };
    std::mt19937 random(20240601);
    const char specials[] = "{}\\;'*0123456789-abfx \r\n\t\x80\xff";
    int loaded = 0;
    for (const QByteArray &seed : seeds) {
        for (int round = 0; round < 700; ++round) {
            QByteArray data = seed;
            const int edits = 1 + int(random() % 6);
            for (int e = 0; e < edits && !data.isEmpty(); ++e) {
                const auto at = qsizetype(random() % quint32(data.size()));
                switch (random() % 5) {
                case 0: data[at] = char(random() % 256); break;
                case 1: data[at] = specials[random() % (sizeof specials - 1)]; break;
                case 2: data.insert(at, specials[random() % (sizeof specials - 1)]); break;
                case 3: data.remove(at, qsizetype(random() % 8)); break;
                default: data.truncate(qMax<qsizetype>(at, 6)); break;
                }
            }
            QTextDocument document;
            if (rtf::read(data, document)) {
                ++loaded;
                EXPECT_GE(document.blockCount(), 1);
                // What was read must also write and read back.
                QTextDocument again;
                EXPECT_TRUE(rtf::read(rtf::write(document), again));
                EXPECT_EQ(allText(again), allText(document)) << data.toStdString();
            }
        }
    }
    EXPECT_GT(loaded, 1000);
}

} // namespace
