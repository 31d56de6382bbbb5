#include "formats/PlainTextCodec.h"

#include "formats/CodePages.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr char16_t kParagraphSeparator = 0x2029;

bool isHigh(char16_t c) { return (c & 0xFC00) == 0xD800; }
bool isLow(char16_t c) { return (c & 0xFC00) == 0xDC00; }

// Decodes UTF-8 into `dst`, which has room for `n` units (no sequence yields
// more units than it has bytes). Strict: returns -1 at the first ill-formed
// sequence. Otherwise each maximal ill-formed subpart becomes one U+FFFD, as
// Unicode recommends. Overlong forms, surrogates and code points past U+10FFFF
// are ill-formed. Returns the units written.
qsizetype decodeUtf8(const unsigned char *s, qsizetype n, char16_t *dst, bool strict, bool *sawNonAscii)
{
    qsizetype i = 0;
    qsizetype w = 0;
    bool nonAscii = false;
    while (i < n) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            dst[w++] = b;
            ++i;
            continue;
        }
        nonAscii = true;
        int need;
        char32_t cp;
        unsigned char lo = 0x80, hi = 0xBF; // allowed range of the next byte
        if (b >= 0xC2 && b <= 0xDF) {
            need = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2;
            cp = b & 0x0F;
            if (b == 0xE0)
                lo = 0xA0; // overlong
            else if (b == 0xED)
                hi = 0x9F; // surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3;
            cp = b & 0x07;
            if (b == 0xF0)
                lo = 0x90; // overlong
            else if (b == 0xF4)
                hi = 0x8F; // past U+10FFFF
        } else {
            if (strict)
                return -1;
            dst[w++] = kReplacement;
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        int got = 0;
        for (; got < need && j < n; ++got, ++j) {
            const unsigned char c = s[j];
            if (c < lo || c > hi)
                break;
            lo = 0x80;
            hi = 0xBF;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (got < need) {
            if (strict)
                return -1;
            dst[w++] = kReplacement;
            i = j; // the offending byte starts afresh
            continue;
        }
        i = j;
        if (cp >= 0x10000) {
            dst[w++] = QChar::highSurrogate(cp);
            dst[w++] = QChar::lowSurrogate(cp);
        } else {
            dst[w++] = char16_t(cp);
        }
    }
    if (sawNonAscii)
        *sawNonAscii = nonAscii;
    return w;
}

// Code units after a UTF-16 byte-order mark. An odd last byte and unpaired
// surrogates become U+FFFD: the editor never holds broken UTF-16.
qsizetype decodeUtf16(const unsigned char *s, qsizetype n, bool bigEndian, char16_t *dst)
{
    const qsizetype units = n / 2;
    const int hiByte = bigEndian ? 0 : 1;
    const int loByte = 1 - hiByte;
    for (qsizetype u = 0; u < units; ++u)
        dst[u] = char16_t(s[2 * u + hiByte] << 8 | s[2 * u + loByte]);
    for (qsizetype u = 0; u < units; ++u) {
        const char16_t c = dst[u];
        if (isHigh(c) && u + 1 < units && isLow(dst[u + 1]))
            ++u;
        else if (isHigh(c) || isLow(c))
            dst[u] = kReplacement;
    }
    qsizetype w = units;
    if (n % 2)
        dst[w++] = kReplacement;
    return w;
}

// Turns every CR LF, lone CR and lone LF into '\n' and every NUL into U+2400,
// in place. Returns the new length; *style gets the first break's kind.
qsizetype normalizeBreaks(char16_t *d, qsizetype n, LineBreak *style)
{
    bool found = false;
    qsizetype w = 0;
    for (qsizetype r = 0; r < n; ++r) {
        const char16_t c = d[r];
        if (c > u'\r') {
            d[w++] = c;
        } else if (c == u'\r') {
            const bool pair = r + 1 < n && d[r + 1] == u'\n';
            if (!found) {
                *style = pair ? LineBreak::CrLf : LineBreak::Cr;
                found = true;
            }
            if (pair)
                ++r;
            d[w++] = u'\n';
        } else if (c == u'\n') {
            if (!found) {
                *style = LineBreak::Lf;
                found = true;
            }
            d[w++] = u'\n';
        } else if (c == 0) {
            d[w++] = kNulSymbol;
        } else {
            d[w++] = c;
        }
    }
    return w;
}

char16_t *unitsOf(QString &s) { return reinterpret_cast<char16_t *>(s.data()); }

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
    out.resize(text.size() * 2); // CR LF for every '\n' at worst
    char *const begin = out.data();
    char *p = begin;
    const char16_t *s = text.utf16();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80 && c != u'\n') {
            *p++ = char(c);
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

void encodeUtf16(QStringView text, LineBreak style, bool bigEndian, QByteArray &out)
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

// Bytes without a byte-order mark: well-formed UTF-8 holding non-ASCII bytes
// is UTF-8, anything else Windows-1251. Returns the units written to `text`.
qsizetype decodeUnmarked(QByteArrayView bytes, QString &text, TextEncoding &encoding)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    text.resize(n);
    bool nonAscii = false;
    qsizetype length = decodeUtf8(s, n, unitsOf(text), true, &nonAscii);
    if (length >= 0 && nonAscii) {
        encoding = TextEncoding::Utf8;
    } else {
        encoding = TextEncoding::Windows1251;
        // Pure ASCII reads the same in both; only ill-formed UTF-8 needs a second pass.
        if (length < 0) {
            text = codepage::decodeWindows1251(bytes);
            length = n;
        }
    }
    return length;
}

DecodedText finish(DecodedText result, qsizetype length)
{
    QString &text = result.text;
    text.resize(normalizeBreaks(unitsOf(text), length, &result.format.lineBreak));
    // UTF-8 Cyrillic takes half the room it was given; a 16 MB file would hold
    // on to 16 MB for nothing.
    if (text.capacity() - text.size() > text.size() / 4 + 4096)
        text.squeeze();
    return result;
}

} // namespace

DecodedText decodePlainText(QByteArrayView bytes)
{
    DecodedText result;
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    QString &text = result.text;
    TextEncoding &encoding = result.format.encoding;
    qsizetype length = 0;

    if (n >= 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
        encoding = TextEncoding::Utf8WithBom;
        text.resize(n - 3);
        length = decodeUtf8(s + 3, n - 3, unitsOf(text), false, nullptr);
    } else if (n >= 2 && ((s[0] == 0xFF && s[1] == 0xFE) || (s[0] == 0xFE && s[1] == 0xFF))) {
        const bool bigEndian = s[0] == 0xFE;
        encoding = bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
        text.resize((n - 2) / 2 + 1);
        length = decodeUtf16(s + 2, n - 2, bigEndian, unitsOf(text));
    } else {
        length = decodeUnmarked(bytes, text, encoding);
    }
    return finish(std::move(result), length);
}

DecodedText decodeUnmarkedText(QByteArrayView bytes)
{
    DecodedText result;
    const qsizetype length = decodeUnmarked(bytes, result.text, result.format.encoding);
    return finish(std::move(result), length);
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
        encodeUtf16(text, format.lineBreak, format.encoding == TextEncoding::Utf16BE, out);
        break;
    }
    // The writers reserve for the worst case.
    if (out.capacity() - out.size() > out.size() / 4 + 4096)
        out.squeeze();
    if (used)
        *used = format;
    return out;
}
