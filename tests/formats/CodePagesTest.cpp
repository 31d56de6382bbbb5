#include "formats/CodePages.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <iconv.h>

namespace {

struct CodePage {
    const char *name;
    QString (*decode)(QByteArrayView);
    QByteArray (*encode)(QStringView, bool *);
};

const CodePage kCodePages[] = {
    {"Windows-1251", codepage::decodeWindows1251, codepage::encodeWindows1251},
    {"KOI8-R", codepage::decodeKoi8r, codepage::encodeKoi8r},
};

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

// Every letter of the Russian alphabet, both cases.
const QString kPangram = QStringLiteral("Съешь же ещё этих мягких французских булок, да выпей чаю. "
                                        "СЪЕШЬ ЖЕ ЕЩЁ ЭТИХ МЯГКИХ ФРАНЦУЗСКИХ БУЛОК, ДА ВЫПЕЙ ЧАЮ.");

TEST(CodePages, EveryByteRoundTripsAndDecodesToItsOwnCharacter)
{
    for (const CodePage &cp : kCodePages) {
        SCOPED_TRACE(cp.name);
        const QString decoded = cp.decode(allBytes());
        ASSERT_EQ(decoded.size(), 256);
        // A bijection: 256 different characters, none of them a surrogate.
        QSet<char16_t> seen;
        for (QChar c : decoded) {
            EXPECT_FALSE(c.isSurrogate());
            seen.insert(c.unicode());
        }
        EXPECT_EQ(seen.size(), 256);
        for (int b = 0; b < 0x80; ++b)
            EXPECT_EQ(decoded[b].unicode(), b) << "ASCII byte " << b;

        bool lossless = false;
        EXPECT_EQ(cp.encode(decoded, &lossless), allBytes());
        EXPECT_TRUE(lossless);
        for (int b = 0; b < 256; ++b) {
            const QByteArray one(1, char(b));
            EXPECT_EQ(cp.encode(cp.decode(one), nullptr), one) << "byte " << b;
        }
    }
}

TEST(CodePages, KnownBytesMapToKnownCharacters)
{
    struct Case {
        const CodePage &cp;
        unsigned char byte;
        char16_t character;
    };
    const CodePage &win = kCodePages[0];
    const CodePage &koi = kCodePages[1];
    const Case cases[] = {
        {win, 0xC0, u'А'}, {win, 0xDF, u'Я'}, {win, 0xE0, u'а'}, {win, 0xFF, u'я'},
        {win, 0xA8, u'Ё'}, {win, 0xB8, u'ё'}, {win, 0xB9, u'№'}, {win, 0x88, u'€'},
        {win, 0x96, u'–'}, {win, 0x97, u'—'}, {win, 0xAB, u'«'}, {win, 0xBB, u'»'},
        {win, 0x85, u'…'}, {win, 0xA0, 0x00A0}, {win, 0xA5, u'Ґ'}, {win, 0xB4, u'ґ'},
        {win, 0xB2, u'І'}, {win, 0x80, u'Ђ'}, {win, 0x98, 0x0098},
        {koi, 0xC1, u'а'}, {koi, 0xE1, u'А'}, {koi, 0xB3, u'Ё'}, {koi, 0xA3, u'ё'},
        {koi, 0xC0, u'ю'}, {koi, 0xD1, u'я'}, {koi, 0xF1, u'Я'}, {koi, 0xFF, u'Ъ'},
        {koi, 0x80, u'─'}, {koi, 0x9A, 0x00A0}, {koi, 0xBF, u'©'},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.cp.name << " byte 0x" << std::hex << int(c.byte));
        const QString decoded = c.cp.decode(QByteArray(1, char(c.byte)));
        ASSERT_EQ(decoded.size(), 1);
        EXPECT_EQ(decoded[0].unicode(), c.character);
        EXPECT_EQ(c.cp.encode(QString(QChar(c.character)), nullptr), QByteArray(1, char(c.byte)));
    }
}

// The C library's converter is an independent source for both tables; it
// leaves 0x98 of Windows-1251 unassigned, where we decode U+0098.
TEST(CodePages, EveryByteDecodesAsTheCLibraryDecodesIt)
{
    const struct {
        const CodePage &cp;
        const char *iconvName;
    } pages[] = {{kCodePages[0], "CP1251"}, {kCodePages[1], "KOI8-R"}};
    for (const auto &page : pages) {
        SCOPED_TRACE(page.cp.name);
        iconv_t cd = iconv_open("UTF-8", page.iconvName);
        if (cd == iconv_t(-1))
            GTEST_SKIP() << "the C library has no converter for " << page.iconvName;
        const QString ours = page.cp.decode(allBytes());
        for (int b = 0; b < 256; ++b) {
            char in = char(b);
            char out[8];
            char *inp = &in;
            char *outp = out;
            size_t inLeft = 1, outLeft = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == size_t(-1)) {
                EXPECT_EQ(b, 0x98) << "unassigned byte";
                EXPECT_EQ(ours[b].unicode(), 0x0098);
                continue;
            }
            EXPECT_EQ(QString(ours[b]), QString::fromUtf8(out, outp - out)) << "byte 0x" << std::hex << b;
        }
        iconv_close(cd);
    }
}

TEST(CodePages, Windows1251HasTheAlphabetInOrderAndKoi8rTheSameLetters)
{
    // А..я occupy 0xC0..0xFF in order in Windows-1251; KOI8-R holds the same
    // 64 letters at 0xC0..0xFF in its own order.
    QByteArray upperHalf;
    for (int b = 0xC0; b <= 0xFF; ++b)
        upperHalf.append(char(b));
    const QString win = codepage::decodeWindows1251(upperHalf);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(win[i].unicode(), 0x0410 + i);
    QString koi = codepage::decodeKoi8r(upperHalf);
    std::sort(koi.begin(), koi.end());
    EXPECT_EQ(koi, win);
}

TEST(CodePages, RussianTextRecodesBetweenThePages)
{
    bool lossless = false;
    const QByteArray koi = codepage::encodeKoi8r(kPangram, &lossless);
    EXPECT_TRUE(lossless);
    const QByteArray win = codepage::encodeWindows1251(codepage::decodeKoi8r(koi), &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(win.size(), kPangram.size());
    EXPECT_EQ(codepage::decodeWindows1251(win), kPangram);
    EXPECT_NE(win, koi);
}

TEST(CodePages, MissingCharactersBecomeOneQuestionMarkEach)
{
    struct Case {
        const char *what;
        QString text;
        QByteArray windows1251;
        QByteArray koi8r;
    };
    const Case cases[] = {
        {"CJK", QStringLiteral("a中b"), "a?b", "a?b"},
        {"emoji outside the BMP", QStringLiteral("a😀b"), "a?b", "a?b"},
        {"two emoji in a row", QStringLiteral("😀😀"), "??", "??"},
        {"Latin-1 letter", QStringLiteral("ä"), "?", "?"},
        {"euro sign, only in 1251", QStringLiteral("€"), "\x88", "?"},
        {"box drawing, only in KOI8-R", QStringLiteral("─"), "?", "\x80"},
        {"lone high surrogate", QString(QChar(0xD83D)) + u'x', "?x", "?x"},
        {"lone low surrogate", QString(QChar(0xDE00)), "?", "?"},
        {"high surrogate at the end", QStringLiteral("x") + QChar(0xD83D), "x?", "x?"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        bool lossless = true;
        EXPECT_EQ(codepage::encodeWindows1251(c.text, &lossless), c.windows1251);
        EXPECT_EQ(lossless, !c.windows1251.contains('?'));
        lossless = true;
        EXPECT_EQ(codepage::encodeKoi8r(c.text, &lossless), c.koi8r);
        EXPECT_EQ(lossless, !c.koi8r.contains('?'));
    }
}

TEST(CodePages, LosslessIsSetTrueForEncodableText)
{
    bool lossless = false;
    codepage::encodeWindows1251(QStringLiteral("Привет?"), &lossless);
    EXPECT_TRUE(lossless); // a literal '?' is no loss
    lossless = false;
    codepage::encodeKoi8r(QString(), &lossless);
    EXPECT_TRUE(lossless);
    EXPECT_TRUE(codepage::encodeWindows1251(QString()).isEmpty());
    EXPECT_TRUE(codepage::decodeKoi8r(QByteArray()).isEmpty());
}

TEST(CodePages, CanEncodeAgreesWithTheEncoderForEveryCharacter)
{
    int encodable = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
        const QChar c{char16_t(u)};
        bool lossless = false;
        const QByteArray one = codepage::encodeWindows1251(QStringView(&c, 1), &lossless);
        ASSERT_EQ(codepage::canEncodeWindows1251(c), lossless) << "U+" << std::hex << u;
        ASSERT_EQ(codepage::windows1251Byte(c), lossless ? int(uchar(one[0])) : -1) << "U+" << std::hex << u;
        encodable += lossless;
    }
    EXPECT_EQ(encodable, 256);
}

TEST(CodePages, LongTextRoundTrips)
{
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += allBytes();
    for (const CodePage &cp : kCodePages) {
        SCOPED_TRACE(cp.name);
        bool lossless = false;
        EXPECT_EQ(cp.encode(cp.decode(bytes), &lossless), bytes);
        EXPECT_TRUE(lossless);
    }
}

} // namespace
