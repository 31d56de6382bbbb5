#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Reading and writing plain-text files.
//
// Reading: a UTF-8 or UTF-16 byte-order mark decides the encoding; otherwise
// well-formed UTF-8 holding non-ASCII bytes is UTF-8, and anything else is
// Windows-1251 (which accepts every byte). The whole file always loads: a NUL
// becomes U+2400 (SYMBOL FOR NULL) so it shows instead of ending the text, and
// is written back as NUL. A lone LF, a lone CR and CR LF each end one paragraph;
// the text holds '\n' between paragraphs and the first break found sets the
// style the file is written back with.
//
// Writing: in the encoding the file was read in, unless the text holds a
// character that encoding lacks; then UTF-8 with a byte-order mark, so nothing
// is lost. A file whose breaks are all of one style, with no invalid sequence
// in it, is written back byte for byte as it was read.
enum class TextEncoding { Windows1251, Utf8, Utf8WithBom, Utf16LE, Utf16BE };
enum class LineBreak { CrLf, Lf, Cr };

// The defaults are those of a new document.
struct PlainTextFormat {
    TextEncoding encoding = TextEncoding::Windows1251;
    LineBreak lineBreak = LineBreak::CrLf; // a file without any break gets this too

    friend bool operator==(const PlainTextFormat &a, const PlainTextFormat &b)
    {
        return a.encoding == b.encoding && a.lineBreak == b.lineBreak;
    }
    friend bool operator!=(const PlainTextFormat &a, const PlainTextFormat &b) { return !(a == b); }
};

struct DecodedText {
    QString text;
    PlainTextFormat format;
};

// U+2400 stands for a NUL byte (or NUL code unit) of the file.
constexpr char16_t kNulSymbol = 0x2400;

DecodedText decodePlainText(QByteArrayView bytes);

// The same without looking for a byte-order mark: bytes that start like one
// are taken as the characters they are.
DecodedText decodeUnmarkedText(QByteArrayView bytes);

// `text` has '\n' or U+2029 between paragraphs; U+2028 and every other
// character are written as they are. Returns the file's bytes; *used receives
// the format actually written (UTF-8 with BOM when `format`'s encoding could
// not hold every character). Unpaired surrogates are written as U+FFFD.
QByteArray encodePlainText(QStringView text, PlainTextFormat format, PlainTextFormat *used = nullptr);

// The same for a text written a piece at a time: the bytes of one piece, the
// byte-order mark with the `first` only. Pieces must not split a surrogate
// pair. False, with `out` unfinished, when `format` is Windows-1251 and the
// piece holds a character it lacks: the whole text is then to be written
// again as UTF-8 with a byte-order mark.
bool encodePlainTextPiece(QStringView piece, PlainTextFormat format, bool first, QByteArray &out);
