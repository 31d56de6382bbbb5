#include "formats/PlainTextDecoder.h"

#include "formats/CodePages.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr qsizetype kUtf8MarkBytes = 3;
constexpr qsizetype kUtf16MarkBytes = 2;
constexpr qsizetype kLongestUtf8Tail = 3; // bytes after a sequence's first

bool isHigh(char16_t c) { return (c & 0xFC00) == 0xD800; }
bool isLow(char16_t c) { return (c & 0xFC00) == 0xDC00; }

char16_t *unitsOf(QString &s) { return reinterpret_cast<char16_t *>(s.data()); }

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

// The bytes at the end of a piece that start a sequence the piece does not
// complete. A sequence that starts earlier is complete, or ends ill-formed at
// the next byte that cannot continue it, whatever follows the piece.
qsizetype incompleteUtf8Tail(const unsigned char *s, qsizetype n)
{
    for (qsizetype k = n - 1; k >= 0 && k >= n - kLongestUtf8Tail; --k) {
        const unsigned char b = s[k];
        if (b >= 0x80 && b <= 0xBF)
            continue; // a continuation byte: its sequence starts further back
        const qsizetype need = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xF0 && b <= 0xF4 ? 3 : 0;
        return k + 1 + need > n ? n - k : 0;
    }
    return 0;
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

} // namespace

PlainTextDecoder::PlainTextDecoder(Marks marks) : readMarks_(marks == Marks::Read)
{
}

void PlainTextDecoder::restartAsWindows1251()
{
    *this = PlainTextDecoder(readMarks_ ? Marks::Read : Marks::Ignored);
    mode_ = Mode::Windows1251;
}

QString PlainTextDecoder::finish()
{
    QString text = decodeMore({}, true);
    if (mode_ == Mode::NotUtf8)
        return {};
    afterCr_ = false;
    if (firstBreakOpen_) {
        format_.lineBreak = LineBreak::Cr;
        firstBreakOpen_ = false;
    }
    if (mode_ == Mode::TryingUtf8)
        format_.encoding = sawNonAscii_ ? TextEncoding::Utf8 : TextEncoding::Windows1251;
    return text;
}

QString PlainTextDecoder::decodeMore(QByteArrayView piece, bool last)
{
    if (mode_ == Mode::NotUtf8)
        return {};
    QByteArray joined;
    QByteArrayView bytes = piece;
    if (!held_.isEmpty()) {
        joined.reserve(held_.size() + piece.size());
        joined.append(held_);
        joined.append(piece.data(), piece.size());
        held_.clear();
        bytes = joined;
    }
    if (mode_ == Mode::Undecided) {
        // A mark split between pieces is waited for.
        if (readMarks_ && bytes.size() < kUtf8MarkBytes && !last) {
            held_ = bytes.toByteArray();
            return {};
        }
        decideEncoding(bytes);
    }
    QString text;
    switch (mode_) {
    case Mode::Windows1251:
        text = codepage::decodeWindows1251(bytes);
        break;
    case Mode::TryingUtf8:
    case Mode::Utf8:
        text = decodeUtf8Piece(bytes, last);
        break;
    case Mode::Utf16LE:
    case Mode::Utf16BE:
        text = decodeUtf16Piece(bytes, last);
        break;
    case Mode::Undecided:
    case Mode::NotUtf8:
        break;
    }
    if (mode_ == Mode::NotUtf8)
        return {};
    normalize(text);
    return text;
}

void PlainTextDecoder::decideEncoding(QByteArrayView &bytes)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    mode_ = Mode::TryingUtf8;
    if (!readMarks_)
        return;
    if (n >= kUtf8MarkBytes && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
        mode_ = Mode::Utf8;
        format_.encoding = TextEncoding::Utf8WithBom;
        bytes = bytes.sliced(kUtf8MarkBytes);
    } else if (n >= kUtf16MarkBytes && ((s[0] == 0xFF && s[1] == 0xFE) || (s[0] == 0xFE && s[1] == 0xFF))) {
        const bool bigEndian = s[0] == 0xFE;
        mode_ = bigEndian ? Mode::Utf16BE : Mode::Utf16LE;
        format_.encoding = bigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
        bytes = bytes.sliced(kUtf16MarkBytes);
    }
}

QString PlainTextDecoder::decodeUtf8Piece(QByteArrayView bytes, bool last)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype n = bytes.size();
    if (!last) {
        const qsizetype tail = incompleteUtf8Tail(s, n);
        held_ = bytes.last(tail).toByteArray();
        n -= tail;
    }
    QString text(n, Qt::Uninitialized);
    bool nonAscii = false;
    const qsizetype length = decodeUtf8(s, n, unitsOf(text), mode_ == Mode::TryingUtf8, &nonAscii);
    if (length < 0) {
        mode_ = Mode::NotUtf8;
        held_.clear();
        return {};
    }
    sawNonAscii_ = sawNonAscii_ || nonAscii;
    text.truncate(length);
    return text;
}

QString PlainTextDecoder::decodeUtf16Piece(QByteArrayView bytes, bool last)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    qsizetype n = bytes.size();
    if (!last) {
        // An odd byte, and a high surrogate whose pair may follow, wait.
        qsizetype tail = n % 2;
        if (n - tail >= 2) {
            const qsizetype at = n - tail - 2;
            const char16_t unit = mode_ == Mode::Utf16BE ? char16_t(s[at] << 8 | s[at + 1]) : char16_t(s[at + 1] << 8 | s[at]);
            if (isHigh(unit))
                tail += 2;
        }
        held_ = bytes.last(tail).toByteArray();
        n -= tail;
    }
    QString text(n / 2 + 1, Qt::Uninitialized);
    text.truncate(decodeUtf16(s, n, mode_ == Mode::Utf16BE, unitsOf(text)));
    return text;
}

// Turns every CR LF, lone CR and lone LF into '\n' and every NUL into U+2400,
// in place, and notes the first break's kind. A CR that ends a piece is
// paired with an LF that opens the next.
void PlainTextDecoder::normalize(QString &text)
{
    const qsizetype n = text.size();
    if (n == 0)
        return;
    char16_t *d = unitsOf(text);
    qsizetype r = 0;
    qsizetype w = 0;
    if (afterCr_) {
        afterCr_ = false;
        const bool pair = d[0] == u'\n';
        if (firstBreakOpen_) {
            format_.lineBreak = pair ? LineBreak::CrLf : LineBreak::Cr;
            firstBreakOpen_ = false;
        }
        if (pair)
            r = 1;
    }
    for (; r < n; ++r) {
        const char16_t c = d[r];
        if (c > u'\r') {
            d[w++] = c;
        } else if (c == u'\r') {
            const bool atEnd = r + 1 == n;
            const bool pair = !atEnd && d[r + 1] == u'\n';
            if (!breakFound_) {
                breakFound_ = true;
                firstBreakOpen_ = atEnd;
                format_.lineBreak = pair ? LineBreak::CrLf : LineBreak::Cr;
            }
            afterCr_ = atEnd;
            if (pair)
                ++r;
            d[w++] = u'\n';
        } else if (c == u'\n') {
            if (!breakFound_) {
                breakFound_ = true;
                format_.lineBreak = LineBreak::Lf;
            }
            d[w++] = u'\n';
        } else if (c == 0) {
            d[w++] = kNulSymbol;
        } else {
            d[w++] = c;
        }
    }
    text.truncate(w);
}
