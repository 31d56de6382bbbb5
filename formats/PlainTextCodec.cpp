#include "formats/PlainTextCodec.h"

#include "formats/CodePages.h"
#include "formats/PlainTextDecoder.h"

#include <array>
#include <cstdint>

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kParagraphSeparator = 0x2029;
constexpr char16_t kCyrillicFirst = 0x0400;
constexpr int kCyrillicCount = 0x60;

bool isHigh(char16_t c) { return (c & 0xFC00) == 0xD800; }
bool isLow(char16_t c) { return (c & 0xFC00) == 0xDC00; }

// Ends of paragraphs in the text handed to the writer.
bool isParagraphEnd(char16_t c) { return c == u'\n' || c == kParagraphSeparator; }

char *putBreak(char *p, LineBreak style)
{
    switch (style) {
    case LineBreak::CrLf:
        *p++ = '\r';
        *p++ = '\n';
        break;
    case LineBreak::Lf:
        *p++ = '\n';
        break;
    case LineBreak::Cr:
        *p++ = '\r';
        break;
    }
    return p;
}

// False when the text holds a character Windows-1251 lacks; `out` is then
// left unfinished.
bool encodeWindows1251(QStringView text, LineBreak style, QByteArray &out)
{
    // The Cyrillic block, which Russian text is mostly made of, looked up
    // without a call: -1 where the code page lacks a letter.
    static const auto cyrillic = [] {
        std::array<std::int16_t, kCyrillicCount> bytes{};
        for (int i = 0; i < kCyrillicCount; ++i)
            bytes[i] = std::int16_t(codepage::windows1251Byte(QChar(char16_t(kCyrillicFirst + i))));
        return bytes;
    }();
    out.resize(text.size() * 2); // CR LF for every '\n' at worst
    char *const begin = out.data();
    char *p = begin;
    const char16_t *s = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80 && c != u'\n') {
            *p++ = char(c);
        } else if (c >= kCyrillicFirst && c < kCyrillicFirst + kCyrillicCount && cyrillic[c - kCyrillicFirst] >= 0) {
            *p++ = char(cyrillic[c - kCyrillicFirst]);
        } else if (isParagraphEnd(c)) {
            p = putBreak(p, style);
        } else if (c == kNulSymbol) {
            *p++ = '\0';
        } else {
            const int b = codepage::windows1251Byte(QChar(c));
            if (b < 0)
                return false;
            *p++ = char(b);
        }
    }
    out.resize(p - begin);
    return true;
}

void encodeUtf8(QStringView text, LineBreak style, bool bom, QByteArray &out)
{
    out.resize(3 + text.size() * 3); // no unit takes more than 3 bytes; a pair takes 4
    char *const begin = out.data();
    char *p = begin;
    if (bom) {
        *p++ = char(0xEF);
        *p++ = char(0xBB);
        *p++ = char(0xBF);
    }
    const char16_t *s = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            if (c == u'\n')
                p = putBreak(p, style);
            else
                *p++ = char(c);
            continue;
        }
        if (c == kParagraphSeparator) {
            p = putBreak(p, style);
            continue;
        }
        if (c == kNulSymbol) {
            *p++ = '\0';
            continue;
        }
        if (c < 0x800) {
            *p++ = char(0xC0 | c >> 6);
            *p++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (isHigh(char16_t(c)) && i + 1 < n && isLow(s[i + 1])) {
            c = QChar::surrogateToUcs4(char16_t(c), s[++i]);
            *p++ = char(0xF0 | c >> 18);
            *p++ = char(0x80 | (c >> 12 & 0x3F));
            *p++ = char(0x80 | (c >> 6 & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
            continue;
        }
        if (isHigh(char16_t(c)) || isLow(char16_t(c)))
            c = kReplacement;
        *p++ = char(0xE0 | c >> 12);
        *p++ = char(0x80 | (c >> 6 & 0x3F));
        *p++ = char(0x80 | (c & 0x3F));
    }
    out.resize(p - begin);
}

void encodeUtf16(QStringView text, LineBreak style, bool bigEndian, bool bom, QByteArray &out)
{
    out.resize(2 + text.size() * 4); // CR LF for every '\n' at worst
    char *const begin = out.data();
    char *p = begin;
    auto put = [&p, bigEndian](char16_t u) {
        if (bigEndian) {
            *p++ = char(u >> 8);
            *p++ = char(u & 0xFF);
        } else {
            *p++ = char(u & 0xFF);
            *p++ = char(u >> 8);
        }
    };
    if (bom)
        put(0xFEFF);
    const char16_t *s = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = s[i];
        if (isParagraphEnd(c)) {
            if (style != LineBreak::Lf)
                put(u'\r');
            if (style != LineBreak::Cr)
                put(u'\n');
        } else if (c == kNulSymbol) {
            put(0);
        } else if (isHigh(c) && i + 1 < n && isLow(s[i + 1])) {
            put(c);
            put(s[++i]);
        } else if (isHigh(c) || isLow(c)) {
            put(kReplacement);
        } else {
            put(c);
        }
    }
    out.resize(p - begin);
}

DecodedText decodeWhole(QByteArrayView bytes, PlainTextDecoder::Marks marks)
{
    PlainTextDecoder decoder(marks);
    DecodedText result;
    for (;;) {
        result.text = decoder.decode(bytes);
        result.text += decoder.finish();
        if (!decoder.needsRestart())
            break;
        decoder.restartAsWindows1251();
    }
    result.format = decoder.format();
    // UTF-8 Cyrillic takes half the room it was given; a 16 MB file would hold
    // on to 16 MB for nothing.
    if (result.text.capacity() - result.text.size() > result.text.size() / 4 + 4096)
        result.text.squeeze();
    return result;
}

} // namespace

DecodedText decodePlainText(QByteArrayView bytes)
{
    return decodeWhole(bytes, PlainTextDecoder::Marks::Read);
}

DecodedText decodeUnmarkedText(QByteArrayView bytes)
{
    return decodeWhole(bytes, PlainTextDecoder::Marks::Ignored);
}

QByteArray encodePlainText(QStringView text, PlainTextFormat format, PlainTextFormat *used)
{
    QByteArray out;
    if (format.encoding == TextEncoding::Windows1251 && !encodeWindows1251(text, format.lineBreak, out))
        format.encoding = TextEncoding::Utf8WithBom;
    switch (format.encoding) {
    case TextEncoding::Windows1251:
        break;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        encodeUtf8(text, format.lineBreak, format.encoding == TextEncoding::Utf8WithBom, out);
        break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        encodeUtf16(text, format.lineBreak, format.encoding == TextEncoding::Utf16BE, true, out);
        break;
    }
    // The writers reserve for the worst case.
    if (out.capacity() - out.size() > out.size() / 4 + 4096)
        out.squeeze();
    if (used)
        *used = format;
    return out;
}

bool encodePlainTextPiece(QStringView piece, PlainTextFormat format, bool first, QByteArray &out)
{
    switch (format.encoding) {
    case TextEncoding::Windows1251:
        return encodeWindows1251(piece, format.lineBreak, out);
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        encodeUtf8(piece, format.lineBreak, first && format.encoding == TextEncoding::Utf8WithBom, out);
        return true;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        encodeUtf16(piece, format.lineBreak, format.encoding == TextEncoding::Utf16BE, first, out);
        return true;
    }
    return true;
}
