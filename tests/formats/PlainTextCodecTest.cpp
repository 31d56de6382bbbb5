#include "formats/PlainTextCodec.h"

#include "formats/CodePages.h"
#include "formats/PlainTextDecoder.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(TextEncoding e, std::ostream *os)
{
    static const char *const names[] = {"Windows1251", "Utf8", "Utf8WithBom", "Utf16LE", "Utf16BE"};
    *os << names[int(e)];
}

void PrintTo(LineBreak b, std::ostream *os)
{
    static const char *const names[] = {"CrLf", "Lf", "Cr"};
    *os << names[int(b)];
}

void PrintTo(const PlainTextFormat &f, std::ostream *os)
{
    PrintTo(f.encoding, os);
    *os << '/';
    PrintTo(f.lineBreak, os);
}

namespace {

// Byte strings with embedded NULs.
template <std::size_t N>
QByteArray B(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

// Builds a UTF-16 file by hand: byte-order mark, then the units as given.
QByteArray utf16File(QStringView units, bool bigEndian)
{
    QByteArray out;
    auto put = [&](char16_t u) {
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        out.append(bigEndian ? hi : lo);
        out.append(bigEndian ? lo : hi);
    };
    put(0xFEFF);
    for (QChar c : units)
        put(c.unicode());
    return out;
}

const QString kNul{QChar(kNulSymbol)};
const QString kFffd{QChar(0xFFFD)};

using E = TextEncoding;
using L = LineBreak;

struct FileCase {
    const char *what;
    QByteArray file;
    QString text;
    TextEncoding encoding;
    LineBreak lineBreak;
    QByteArray writtenBack; // null: the file itself
};

// The file fed to a PlainTextDecoder in pieces: cut at `cut` and then every
// `step` bytes, as a large file is read.
DecodedText decodeInPieces(const QByteArray &file, qsizetype cut, qsizetype step)
{
    PlainTextDecoder decoder;
    DecodedText result;
    for (;;) {
        result.text = decoder.decode(QByteArrayView(file).first(cut));
        for (qsizetype at = cut; at < file.size(); at += step)
            result.text += decoder.decode(QByteArrayView(file).sliced(at, std::min(step, file.size() - at)));
        result.text += decoder.finish();
        if (!decoder.needsRestart())
            break;
        decoder.restartAsWindows1251();
    }
    result.format = decoder.format();
    return result;
}

// Wherever the pieces end (inside a mark, a UTF-8 sequence, a UTF-16 pair or
// a CR LF), the text and format are those of the whole file.
void checkPieces(const QByteArray &file, const DecodedText &whole)
{
    for (qsizetype step : {1, 2, 3}) {
        for (qsizetype cut = 0; cut <= file.size(); ++cut) {
            const DecodedText pieces = decodeInPieces(file, cut, step);
            ASSERT_EQ(pieces.text, whole.text) << "cut " << cut << " step " << step;
            ASSERT_EQ(pieces.format, whole.format) << "cut " << cut << " step " << step;
        }
    }
}

void checkFile(const FileCase &c)
{
    SCOPED_TRACE(c.what);
    const DecodedText d = decodePlainText(c.file);
    EXPECT_EQ(d.text, c.text);
    EXPECT_EQ(d.format.encoding, c.encoding);
    EXPECT_EQ(d.format.lineBreak, c.lineBreak);
    PlainTextFormat used;
    const QByteArray back = encodePlainText(d.text, d.format, &used);
    EXPECT_EQ(back, c.writtenBack.isNull() ? c.file : c.writtenBack);
    EXPECT_EQ(used, d.format);
    checkPieces(c.file, d);
}

TEST(PlainTextCodec, LineBreaksOfEveryKind)
{
    const FileCase cases[] = {
        {"empty file", "", "", E::Windows1251, L::CrLf, {}},
        {"no break at all", "plain", "plain", E::Windows1251, L::CrLf, {}},
        {"LF", "one\ntwo\n", "one\ntwo\n", E::Windows1251, L::Lf, {}},
        {"CR LF", "one\r\ntwo\r\n", "one\ntwo\n", E::Windows1251, L::CrLf, {}},
        {"CR", "one\rtwo", "one\ntwo", E::Windows1251, L::Cr, {}},
        {"trailing CR", "abc\r", "abc\n", E::Windows1251, L::Cr, {}},
        {"CR first byte", "\rabc", "\nabc", E::Windows1251, L::Cr, {}},
        {"breaks only", "\r\n\r\n", "\n\n", E::Windows1251, L::CrLf, {}},
        {"lone CR then CR LF", "a\r\r\nb", "a\n\nb", E::Windows1251, L::Cr, "a\r\rb"},
        {"LF CR is two breaks", "a\n\rb", "a\n\nb", E::Windows1251, L::Lf, "a\n\nb"},
        {"CR, CR LF, LF", "\r\r\n\n", "\n\n\n", E::Windows1251, L::Cr, "\r\r\r"},
        {"mixed, CR LF first", "a\r\nb\nc\rd", "a\nb\nc\nd", E::Windows1251, L::CrLf, "a\r\nb\r\nc\r\nd"},
        {"mixed, LF first", "a\nb\r\nc\r", "a\nb\nc\n", E::Windows1251, L::Lf, "a\nb\nc\n"},
        {"CR LF in UTF-8 text", "\xD0\x96\r\n\xD0\x96", "Ж\nЖ", E::Utf8, L::CrLf, {}},
        {"CR in UTF-16", utf16File(u"a\rb", false), "a\nb", E::Utf16LE, L::Cr, {}},
        {"mixed UTF-16", utf16File(u"a\nb\r\nc", true), "a\nb\nc", E::Utf16BE, L::Lf,
         utf16File(u"a\nb\nc", true)},
        // Units whose bytes are 0x0D and 0x0A but which are letters, not breaks.
        {"U+0D0A in UTF-16LE", utf16File(u"\u0D0A\u0A0D", false), "\u0D0A\u0A0D", E::Utf16LE, L::CrLf, {}},
        {"U+0D0A in UTF-16BE", utf16File(u"\u0D0A\u0A0D", true), "\u0D0A\u0A0D", E::Utf16BE, L::CrLf, {}},
    };
    for (const FileCase &c : cases)
        checkFile(c);
}

TEST(PlainTextCodec, EncodingIsDetected)
{
    const FileCase cases[] = {
        {"Windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0", "Привет\nмир", E::Windows1251, L::CrLf, {}},
        {"Windows-1251 signs", "\xB9 5 \xB8\xE6 \x88 \x97", "№ 5 ёж € —", E::Windows1251, L::CrLf, {}},
        {"UTF-8", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\n", "Привет\n", E::Utf8, L::Lf, {}},
        {"UTF-8 outside the BMP", "\xF0\x9F\x98\x80", "😀", E::Utf8, L::CrLf, {}},
        {"UTF-8 last code point", "\xF4\x8F\xBF\xBF", QString::fromUcs4(U"\U0010FFFF"), E::Utf8, L::CrLf, {}},
        {"UTF-8 U+2028 stays a character", "a\xE2\x80\xA8z", "a\u2028z", E::Utf8, L::CrLf, {}},
        // Valid UTF-8 wins even where an author of Windows-1251 text meant "Рђ".
        {"1251 bytes that are valid UTF-8", "\xD0\x90", "А", E::Utf8, L::CrLf, {}},
        {"UTF-8 BOM", "\xEF\xBB\xBF" "abc\r\n", "abc\n", E::Utf8WithBom, L::CrLf, {}},
        {"UTF-8 BOM alone", "\xEF\xBB\xBF", "", E::Utf8WithBom, L::CrLf, {}},
        {"UTF-8 BOM and Cyrillic", "\xEF\xBB\xBF\xD0\x96", "Ж", E::Utf8WithBom, L::CrLf, {}},
        {"UTF-16LE", utf16File(u"Пр\r\nи", false), "Пр\nи", E::Utf16LE, L::CrLf, {}},
        {"UTF-16BE", utf16File(u"Пр\nи", true), "Пр\nи", E::Utf16BE, L::Lf, {}},
        {"UTF-16LE BOM alone", "\xFF\xFE", "", E::Utf16LE, L::CrLf, {}},
        {"UTF-16BE BOM alone", "\xFE\xFF", "", E::Utf16BE, L::CrLf, {}},
        {"UTF-16 surrogate pair", utf16File(u"😀", false), "😀", E::Utf16LE, L::CrLf, {}},
        // Ill-formed UTF-8 is Windows-1251, every byte kept.
        {"overlong", "\xC0\xAF", "АЇ", E::Windows1251, L::CrLf, {}},
        {"encoded surrogate", "\xED\xA0\x80", "н\u00A0Ђ", E::Windows1251, L::CrLf, {}},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "фђЂЂ", E::Windows1251, L::CrLf, {}},
        {"truncated at the end", "ab\xD0", "abР", E::Windows1251, L::CrLf, {}},
        {"lone continuation byte", "\x80", "Ђ", E::Windows1251, L::CrLf, {}},
        {"incomplete UTF-8 BOM", "\xEF\xBB", "п»", E::Windows1251, L::CrLf, {}},
        {"UTF-8 spoilt by its last byte", "\xD0\x96\xD0\x96\xFF", "Р–Р–я", E::Windows1251, L::CrLf, {}},
        {"unassigned 0x98", "\x98", "\u0098", E::Windows1251, L::CrLf, {}},
    };
    for (const FileCase &c : cases)
        checkFile(c);
}

TEST(PlainTextCodec, Utf8SequenceLengthBoundaries)
{
    // The last and first code points of each sequence length, and those around
    // the surrogate range; Qt's own converter gives the expected bytes.
    const char32_t points[] = {0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
    for (char32_t cp : points) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << quint32(cp));
        const QString text = QString::fromUcs4(&cp, 1);
        const QByteArray file = text.toUtf8();
        const DecodedText d = decodePlainText(file);
        EXPECT_EQ(d.text, text);
        EXPECT_EQ(d.format.encoding, E::Utf8);
        EXPECT_EQ(encodePlainText(d.text, d.format), file);
        for (TextEncoding e : {E::Utf16LE, E::Utf16BE, E::Utf8WithBom})
            EXPECT_EQ(decodePlainText(encodePlainText(text, {e, L::CrLf})).text, text);
    }
}

TEST(PlainTextCodec, NulLoadsVisiblyAndIsWrittenBack)
{
    const FileCase cases[] = {
        {"NUL inside", B("a\0b"), "a" + kNul + "b", E::Windows1251, L::CrLf, {}},
        {"NULs only", B("\0\0\0"), kNul + kNul + kNul, E::Windows1251, L::CrLf, {}},
        {"NUL first and last", B("\0\xCF\r\n\0"), kNul + "П\n" + kNul, E::Windows1251, L::CrLf, {}},
        {"NUL in UTF-8", B("\xD0\x96\0"), "Ж" + kNul, E::Utf8, L::CrLf, {}},
        {"NUL in UTF-8 with BOM", B("\xEF\xBB\xBF\0"), kNul, E::Utf8WithBom, L::CrLf, {}},
        {"NUL unit in UTF-16", B("\xFF\xFE\0\0A\0"), kNul + "A", E::Utf16LE, L::CrLf, {}},
    };
    for (const FileCase &c : cases)
        checkFile(c);
}

TEST(PlainTextCodec, BrokenSequencesBecomeReplacementCharacters)
{
    const FileCase cases[] = {
        {"UTF-16 odd last byte", B("\xFF\xFE" "A\0B"), "A" + kFffd, E::Utf16LE, L::CrLf, B("\xFF\xFE" "A\0\xFD\xFF")},
        {"UTF-16 lone high surrogate", B("\xFF\xFE\x3D\xD8" "A\0"), kFffd + "A", E::Utf16LE, L::CrLf,
         B("\xFF\xFE\xFD\xFF" "A\0")},
        {"UTF-16 lone low surrogate last", B("\xFE\xFF\0A\xDE\0"), "A" + kFffd, E::Utf16BE, L::CrLf,
         B("\xFE\xFF\0A\xFF\xFD")},
        {"UTF-16 high surrogate then odd byte", B("\xFF\xFE\x3D\xD8\x00"), kFffd + kFffd, E::Utf16LE, L::CrLf,
         B("\xFF\xFE\xFD\xFF\xFD\xFF")},
        // After a UTF-8 BOM each maximal ill-formed part is one U+FFFD.
        {"UTF-8 BOM, bad byte", "\xEF\xBB\xBF" "a\xFF" "b", "a" + kFffd + "b", E::Utf8WithBom, L::CrLf,
         "\xEF\xBB\xBF" "a\xEF\xBF\xBD" "b"},
        {"UTF-8 BOM, truncated", "\xEF\xBB\xBF\xE1\x80", kFffd, E::Utf8WithBom, L::CrLf, "\xEF\xBB\xBF\xEF\xBF\xBD"},
        {"UTF-8 BOM, truncated before ASCII", "\xEF\xBB\xBF\xF0\x9F\x98x", kFffd + "x", E::Utf8WithBom, L::CrLf,
         "\xEF\xBB\xBF\xEF\xBF\xBDx"},
        {"UTF-8 BOM, overlong", "\xEF\xBB\xBF\xE0\x80", kFffd + kFffd, E::Utf8WithBom, L::CrLf,
         "\xEF\xBB\xBF\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"UTF-8 BOM, surrogate", "\xEF\xBB\xBF\xED\xA0\x80", kFffd + kFffd + kFffd, E::Utf8WithBom, L::CrLf,
         "\xEF\xBB\xBF\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const FileCase &c : cases)
        checkFile(c);
}

TEST(PlainTextCodec, EveryOneAndTwoByteFileIsWrittenBackUnchanged)
{
    for (int a = 0; a < 256; ++a) {
        const QByteArray one(1, char(a));
        const DecodedText d = decodePlainText(one);
        ASSERT_EQ(encodePlainText(d.text, d.format), one) << a;
    }
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            if (a == '\n' && b == '\r')
                continue; // two breaks of different styles: written back as LF LF
            QByteArray two;
            two.append(char(a)).append(char(b));
            const DecodedText d = decodePlainText(two);
            ASSERT_EQ(encodePlainText(d.text, d.format), two) << a << ' ' << b;
        }
    }
}

TEST(PlainTextCodec, Windows1251FileWithEveryByteIsWrittenBackUnchanged)
{
    QByteArray file;
    for (int line = 0; line < 3; ++line) {
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                file.append(char(b));
        }
        file.append("\r\n");
    }
    const DecodedText d = decodePlainText(file);
    EXPECT_EQ(d.format, (PlainTextFormat{E::Windows1251, L::CrLf}));
    EXPECT_EQ(d.text.count(u'\n'), 3);
    EXPECT_EQ(encodePlainText(d.text, d.format), file);
}

TEST(PlainTextCodec, WholeLargeFileLoads)
{
    QByteArray file(1 << 20, 'x');
    file[0] = '\0';
    file[file.size() / 2] = '\0';
    file[file.size() - 1] = '\0';
    const DecodedText d = decodePlainText(file);
    ASSERT_EQ(d.text.size(), file.size());
    EXPECT_EQ(d.text.count(kNul), 3);
    EXPECT_EQ(d.text.at(file.size() / 2), QChar(kNulSymbol));
    EXPECT_EQ(encodePlainText(d.text, d.format), file);
}

TEST(PlainTextCodec, NewDocumentIsWindows1251WithCrLf)
{
    PlainTextFormat used{E::Utf16BE, L::Cr};
    const QByteArray bytes = encodePlainText(u"Привет\nмир\u2029!", PlainTextFormat(), &used);
    EXPECT_EQ(bytes, QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0\r\n!"));
    EXPECT_EQ(used, (PlainTextFormat{E::Windows1251, L::CrLf}));
}

TEST(PlainTextCodec, ParagraphSeparatorWritesTheFilesBreak)
{
    const struct {
        PlainTextFormat format;
        QByteArray bytes;
    } cases[] = {
        {{E::Windows1251, L::Lf}, "a\nb"},
        {{E::Utf8, L::Cr}, "a\rb"},
        {{E::Utf8WithBom, L::CrLf}, "\xEF\xBB\xBF" "a\r\nb"},
        {{E::Utf16LE, L::CrLf}, B("\xFF\xFE" "a\0\r\0\n\0b\0")},
        {{E::Utf16BE, L::Cr}, B("\xFE\xFF\0a\0\r\0b")},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(encodePlainText(u"a\u2029b", c.format), c.bytes);
        EXPECT_EQ(encodePlainText(u"a\nb", c.format), c.bytes);
    }
}

TEST(PlainTextCodec, CharacterTheEncodingLacksSwitchesToUtf8WithBom)
{
    const struct {
        const char *what;
        QString text;
        PlainTextFormat asked;
        QByteArray bytes;
        PlainTextFormat used;
    } cases[] = {
        {"euro sign is in 1251", "5\u20AC\n", {E::Windows1251, L::Lf}, "5\x88\n", {E::Windows1251, L::Lf}},
        {"NUL symbol is a NUL byte", kNul, {E::Windows1251, L::CrLf}, B("\0"), {E::Windows1251, L::CrLf}},
        {"CJK in 1251", "Ж中\nb", {E::Windows1251, L::Lf}, "\xEF\xBB\xBF\xD0\x96\xE4\xB8\xAD\nb",
         {E::Utf8WithBom, L::Lf}},
        {"emoji in 1251", "😀\n", {E::Windows1251, L::Cr}, "\xEF\xBB\xBF\xF0\x9F\x98\x80\r", {E::Utf8WithBom, L::Cr}},
        {"lone surrogate in 1251", QString(QChar(0xD800)), {E::Windows1251, L::CrLf}, "\xEF\xBB\xBF\xEF\xBF\xBD",
         {E::Utf8WithBom, L::CrLf}},
        {"UTF-8 keeps no BOM", "中", {E::Utf8, L::CrLf}, "\xE4\xB8\xAD", {E::Utf8, L::CrLf}},
        {"UTF-8 lone surrogate", "a" + QString(QChar(0xDC00)), {E::Utf8, L::CrLf}, "a\xEF\xBF\xBD", {E::Utf8, L::CrLf}},
        {"UTF-16BE emoji", "😀", {E::Utf16BE, L::CrLf}, B("\xFE\xFF\xD8\x3D\xDE\x00"), {E::Utf16BE, L::CrLf}},
        {"UTF-16LE lone surrogate", QString(QChar(0xD83D)), {E::Utf16LE, L::CrLf}, "\xFF\xFE\xFD\xFF",
         {E::Utf16LE, L::CrLf}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        PlainTextFormat used;
        const QByteArray bytes = encodePlainText(c.text, c.asked, &used);
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(used, c.used);
        // Reopened, the file keeps the encoding it was written in and saves the same.
        const DecodedText reopened = decodePlainText(bytes);
        EXPECT_EQ(reopened.format.encoding, c.used.encoding);
        EXPECT_EQ(encodePlainText(reopened.text, reopened.format), bytes);
    }
}

TEST(PlainTextCodec, FallbackKeepsEveryCharacter)
{
    const QString text = QStringLiteral("Привет, 世界 😀 €\nвторая строка");
    PlainTextFormat used;
    const QByteArray bytes = encodePlainText(text, {E::Windows1251, L::CrLf}, &used);
    ASSERT_EQ(used.encoding, E::Utf8WithBom);
    const DecodedText reopened = decodePlainText(bytes);
    EXPECT_EQ(reopened.text, text);
    EXPECT_EQ(reopened.format, used);
    EXPECT_EQ(encodePlainText(reopened.text, reopened.format), bytes);
}

TEST(PlainTextCodec, MixedBreaksSettleAfterOneSave)
{
    const QByteArray files[] = {"a\r\nb\nc\rd", "\n\r\r\n", "x\ry\r\n", utf16File(u"\r\n\n\r", false)};
    for (const QByteArray &file : files) {
        const DecodedText first = decodePlainText(file);
        const QByteArray saved = encodePlainText(first.text, first.format);
        const DecodedText second = decodePlainText(saved);
        EXPECT_EQ(second.text, first.text);
        EXPECT_EQ(second.format, first.format);
        EXPECT_EQ(encodePlainText(second.text, second.format), saved);
    }
}

TEST(PlainTextCodec, UsedMayBeOmitted)
{
    EXPECT_EQ(encodePlainText(u"中", {E::Windows1251, L::CrLf}), QByteArray("\xEF\xBB\xBF\xE4\xB8\xAD"));
    EXPECT_TRUE(encodePlainText(QStringView(), {E::Windows1251, L::CrLf}).isEmpty());
    EXPECT_EQ(encodePlainText(QStringView(), {E::Utf8WithBom, L::CrLf}), QByteArray("\xEF\xBB\xBF"));
}

} // namespace
