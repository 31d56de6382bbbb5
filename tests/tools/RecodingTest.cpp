#include "tools/Recoding.h"

#include "formats/CodePages.h"
#include "support/TestHelpers.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

using namespace recoding;

namespace {

using testhelpers::u8;

QByteArray hex(const char *spaced) { return QByteArray::fromHex(QByteArray(spaced).replace(' ', "")); }

std::string show(const QByteArray &bytes) { return bytes.toHex(' ').toStdString(); }

// The editor's text for some Windows-1251 bytes.
QString windowsText(const QByteArray &bytes) { return codepage::decodeWindows1251(bytes); }

const char kRussianLetters[] = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";

} // namespace

TEST(KoiTable, KnownEntries)
{
    const Table &table = translationTable();
    const struct {
        int index;
        int value;
    } cases[] = {
        {0xC0, 0xE1},       // А
        {0xE0, 0xC1},       // а
        {0xDF, 0xF1},       // Я
        {0xFF, 0xD1},       // я
        {0xA8, 0xA8},       // Ё passes through
        {0xB8, 0xB8},       // ё
        {256 + 0xC1, 0xE0}, // а back
        {256 + 0xE1, 0xC0}, // А back
        {256 + 0xB3, 0xB3}, // KOI8-R Ё passes through
        {256 + 0xA3, 0xA3}, // KOI8-R ё
    };
    for (const auto &c : cases)
        EXPECT_EQ(table[size_t(c.index)], c.value) << std::hex << c.index;
}

TEST(KoiTable, OnlyTheLettersMoveAndTheHalvesAreInverse)
{
    const Table &table = translationTable();
    for (int b = 0; b < 256; ++b) {
        const int there = table[size_t(b)];
        const int back = table[size_t(256 + b)];
        if (b < 0xC0) {
            EXPECT_EQ(there, b) << b;
            EXPECT_EQ(back, b) << b;
        } else {
            EXPECT_GE(there, 0xC0) << b;
            EXPECT_GE(back, 0xC0) << b;
        }
        EXPECT_EQ(table[size_t(256 + there)], b) << b;
        EXPECT_EQ(table[size_t(back)], b) << b;
    }
}

TEST(KoiTable, AllBytesSurviveBothWays)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    EXPECT_EQ(translate(translate(all, Half::WindowsToKoi8), Half::Koi8ToWindows), all);
    EXPECT_EQ(translate(translate(all, Half::Koi8ToWindows), Half::WindowsToKoi8), all);
}

TEST(KoiTable, PrivetGivesItsKoiBytes)
{
    const QByteArray windows = codepage::encodeWindows1251(u8("Привет"));
    const QByteArray koi = translate(windows, Half::WindowsToKoi8);
    EXPECT_EQ(show(koi), show(hex("F0 D2 C9 D7 C5 D4")));
    EXPECT_EQ(translate(koi, Half::Koi8ToWindows), windows);
}

TEST(KoiText, TheEditorsText)
{
    const struct {
        const char *text;
        const char *koi; // what the editor shows after Windows-1251 to KOI8-R
    } cases[] = {
        {"", ""},
        {"Привет", "рТЙЧЕФ"},
        {"Hello, 123!\r\n\t\v", "Hello, 123!\r\n\t\v"},
        {"Ёё\u00A0°©·№€", "Ёё\u00A0°©·№€"},
        {"Мир\r\nмир", "нЙТ\r\nНЙТ"},
        // No Windows-1251 byte: left as it is.
        {"αß😀 Я", "αß😀 с"},
    };
    for (const auto &c : cases) {
        const QString text = u8(c.text);
        const QString koi = windowsToKoi8(text);
        EXPECT_EQ(koi, u8(c.koi)) << c.text;
        EXPECT_EQ(koi8ToWindows(koi), text) << c.text;
        EXPECT_EQ(windowsToKoi8(koi8ToWindows(text)), text) << c.text;
    }
}

TEST(KoiText, EveryLetter)
{
    const QString letters = u8(kRussianLetters);
    ASSERT_EQ(letters.size(), 64);
    for (const QChar letter : letters) {
        const QString text(letter);
        const QString koi = windowsToKoi8(text);
        // The byte shown is the letter's own byte in KOI8-R.
        EXPECT_EQ(codepage::decodeKoi8r(codepage::encodeWindows1251(koi)), text) << text.toStdString();
        EXPECT_EQ(koi8ToWindows(koi), text) << text.toStdString();
        // And the other way: the letter's KOI8-R byte read as Windows-1251 comes back as the letter.
        EXPECT_EQ(koi8ToWindows(windowsText(codepage::encodeKoi8r(text))), text) << text.toStdString();
    }
    for (const char *yo : {"Ё", "ё"}) {
        EXPECT_EQ(windowsToKoi8(u8(yo)), u8(yo));
        EXPECT_EQ(koi8ToWindows(u8(yo)), u8(yo));
    }
}

TEST(KoiText, CharactersWithoutAByteStay)
{
    const QString text = u8("αß😀 ") + QChar(0xFFFC) + u8("Я");
    const QString koi = windowsToKoi8(text);
    EXPECT_EQ(koi, u8("αß😀 ") + QChar(0xFFFC) + u8("с"));
    EXPECT_EQ(koi8ToWindows(koi), text);
}

TEST(Utf8, EncodesEachCodeUnitInOneToThreeBytes)
{
    const struct {
        QString text;
        const char *bytes;
    } cases[] = {
        {QString(), ""},
        {u8("A"), "41"},
        {QString(QChar(0x7F)), "7F"},
        {QString(QChar(0x80)), "C2 80"},
        {u8("П"), "D0 9F"},
        {u8("я"), "D1 8F"},
        {QString(QChar(0x7FF)), "DF BF"},
        {QString(QChar(0x800)), "E0 A0 80"},
        {u8("€"), "E2 82 AC"},
        {u8("№"), "E2 84 96"},
        {QString(QChar(0xFFFF)), "EF BF BF"},
        // No four-byte sequences: each half of a pair on its own.
        {u8("😀"), "ED A0 BD ED B8 80"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(show(encodeUtf8(c.text)), show(hex(c.bytes))) << c.bytes;
}

TEST(Utf8, DecodesWellFormedText)
{
    const struct {
        const char *bytes;
        QString text;
    } cases[] = {
        {"", QString()},
        {"41 0D 0A", u8("A\r\n")},
        {"C2 80", QString(QChar(0x80))},
        {"D0 9F D1 80 D0 B8", u8("При")},
        {"DF BF", QString(QChar(0x7FF))},
        {"E0 A0 80", QString(QChar(0x800))},
        {"E2 84 96", u8("№")},
        {"EF BB BF 41", QString(QChar(0xFEFF)) + u8("A")},
        {"EF BF BF", QString(QChar(0xFFFF))},
        {"F0 9F 98 80", u8("😀")},
        {"F4 8F BF BF", QString::fromUcs4(U"\U0010FFFF")},
    };
    for (const auto &c : cases) {
        const std::optional<QString> decoded = decodeUtf8(hex(c.bytes));
        ASSERT_TRUE(decoded.has_value()) << c.bytes;
        EXPECT_EQ(*decoded, c.text) << c.bytes;
    }
}

TEST(Utf8, RefusesMalformedText)
{
    const char *const cases[] = {
        "80",          // continuation byte without a lead
        "41 BF 41",
        "C0 80",       // overlong
        "C1 BF",
        "E0 80 80",
        "E0 9F BF",
        "F0 8F BF BF",
        "C2",          // cut off
        "E2 84",
        "F0 9F 98",
        "41 D0",
        "C2 41",       // interrupted
        "E2 41 96",
        "D0 D0 9F",
        "ED A0 80",    // encoded surrogates
        "ED BF BF",
        "ED A0 BD ED B8 80",
        "F4 90 80 80", // past U+10FFFF
        "F5 80 80 80",
        "F8 88 80 80 80",
        "FE",
        "FF",
    };
    for (const char *bytes : cases)
        EXPECT_FALSE(decodeUtf8(hex(bytes)).has_value()) << bytes;
}

TEST(Utf8Text, WindowsToUtf8)
{
    const struct {
        const char *text;
        const char *shown; // the UTF-8 bytes as the editor shows them through Windows-1251
    } cases[] = {
        {"", ""},
        {"Latin text 123\r\n", "Latin text 123\r\n"},
        {"Привет", "РџСЂРёРІРµС‚"},
        {"ё №", "С‘ в„–"},
        // No Windows-1251 byte: left as it is.
        {"αΩ", "αΩ"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(windowsToUtf8(u8(c.text)), u8(c.shown)) << c.text;
    EXPECT_EQ(windowsToUtf8(u8("АБВГДабвгд")).size(), 20);
}

TEST(Utf8Text, EveryWindowsCharacterComesBack)
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    const QString text = windowsText(all);
    const QString utf8 = windowsToUtf8(text);
    // What the editor shows is exactly the UTF-8 encoding, byte for byte.
    EXPECT_EQ(codepage::encodeWindows1251(utf8), text.toUtf8());
    const std::optional<QString> back = utf8ToWindows(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, text);
}

TEST(Utf8Text, Utf8ToWindows)
{
    const struct {
        QString text;
        QString expected;
    } cases[] = {
        {QString(), QString()},
        {u8("plain\r\n"), u8("plain\r\n")},
        {u8("РџСЂРёРІРµС‚"), u8("Привет")},
        // Decoded characters that Windows-1251 lacks are kept, not turned into '?'.
        {windowsText(hex("CE B1 CE A9")), u8("αΩ")},
        {windowsText(hex("F0 9F 98 80")), u8("😀")},
        // Characters without a byte between sequences are left as they are.
        {u8("α") + windowsText(hex("D0 9F")) + u8("😀"), u8("αП😀")},
    };
    for (const auto &c : cases) {
        const std::optional<QString> decoded = utf8ToWindows(c.text);
        ASSERT_TRUE(decoded.has_value()) << c.text.toStdString();
        EXPECT_EQ(*decoded, c.expected) << c.text.toStdString();
    }
}

TEST(Utf8Text, RefusesTextThatIsNotUtf8)
{
    const QString cases[] = {
        u8("Привет"),                                   // ordinary Windows-1251 Cyrillic
        u8("abc Я"),
        windowsText(hex("D0")),                         // cut off at the end
        windowsText(hex("D0")) + u8("α") + windowsText(hex("9F")), // a foreign character inside a sequence
        windowsText(hex("C0 80")),
    };
    for (const QString &text : cases)
        EXPECT_FALSE(utf8ToWindows(text).has_value()) << text.toStdString();
}
