// Plain-text reading and writing: any file loads without a crash, and saving it
// gives back the very bytes wherever the reading rules promise so.
//
//   clang++ -std=c++17 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -I. \
//       $(pkg-config --cflags Qt6Core) fuzz/plain_text_fuzz.cpp editor/PlainTextCodec.cpp \
//       editor/CodePages.cpp $(pkg-config --libs Qt6Core) -o plain_text_fuzz
//   ./plain_text_fuzz fuzz/corpus/plain

#include "formats/CodePages.h"
#include "formats/PlainTextCodec.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "plain_text_fuzz: %s\n", what);
        std::abort();
    }
}

// What the reader should make of units it has decoded: '\n' for each break,
// U+2400 for NUL. Written apart from the reader, with Qt's string functions.
QString normalized(QString s)
{
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    s.replace(QChar(0), QChar(kNulSymbol));
    return s;
}

// True when every break among the units is of one kind; a file with mixed
// breaks is written back with the first kind throughout.
template <typename Unit>
bool uniformBreaks(const Unit *u, qsizetype n)
{
    int kind = -1;
    for (qsizetype i = 0; i < n; ++i) {
        int k;
        if (u[i] == '\r' && i + 1 < n && u[i + 1] == '\n') {
            k = 0;
            ++i;
        } else if (u[i] == '\r') {
            k = 1;
        } else if (u[i] == '\n') {
            k = 2;
        } else {
            continue;
        }
        if (kind >= 0 && k != kind)
            return false;
        kind = k;
    }
    return true;
}

bool hasBrokenUtf16(QStringView s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            ++i;
        else if (s[i].isSurrogate())
            return true;
    }
    return false;
}

// Characters the reader keeps but the writer turns into something else.
bool hasWriterSpecials(QStringView s)
{
    return s.contains(QChar(0x2029)) || s.contains(QChar(kNulSymbol));
}

bool isAscii(const QByteArray &b)
{
    for (char c : b) {
        if (uchar(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const DecodedText d = decodePlainText(file);

    // The editor never receives broken UTF-16, a CR or a NUL.
    check(!hasBrokenUtf16(d.text), "decoded text holds an unpaired surrogate");
    check(!d.text.contains(u'\r'), "decoded text holds a CR");
    check(!d.text.contains(QChar(0)), "decoded text holds a NUL");

    // Compare with an independent decoding where one exists, and decide whether
    // saving must give back the file byte for byte.
    bool exact = false;
    switch (d.format.encoding) {
    case TextEncoding::Windows1251:
        check(!file.startsWith("\xEF\xBB\xBF") && !file.startsWith("\xFF\xFE") && !file.startsWith("\xFE\xFF"),
              "a byte-order mark was ignored");
        check(QString::fromUtf8(file).toUtf8() != file || isAscii(file), "well-formed UTF-8 read as Windows-1251");
        check(d.text == normalized(codepage::decodeWindows1251(file)), "Windows-1251 text differs");
        exact = uniformBreaks(file.constData(), file.size());
        break;
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom: {
        const QByteArray payload = d.format.encoding == TextEncoding::Utf8WithBom ? file.mid(3) : file;
        const QString qt = QString::fromUtf8(payload);
        const bool wellFormed = qt.toUtf8() == payload;
        check(wellFormed || d.format.encoding == TextEncoding::Utf8WithBom, "ill-formed UTF-8 read as UTF-8");
        if (wellFormed)
            check(d.text == normalized(qt), "UTF-8 text differs from Qt's decoding");
        exact = wellFormed && !hasWriterSpecials(qt) && uniformBreaks(payload.constData(), payload.size());
        break;
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool bigEndian = d.format.encoding == TextEncoding::Utf16BE;
        check(file.startsWith(bigEndian ? "\xFE\xFF" : "\xFF\xFE"), "UTF-16 without its byte-order mark");
        QString units;
        for (qsizetype i = 2; i + 1 < file.size(); i += 2) {
            const uchar a = uchar(file[i]), b = uchar(file[i + 1]);
            units.append(QChar(char16_t(bigEndian ? (a << 8 | b) : (b << 8 | a))));
        }
        const bool clean = file.size() % 2 == 0 && !hasBrokenUtf16(units);
        if (clean)
            check(d.text == normalized(units), "UTF-16 text differs");
        exact = clean && !hasWriterSpecials(units) && uniformBreaks(units.utf16(), units.size());
        break;
    }
    }

    PlainTextFormat used;
    const QByteArray saved = encodePlainText(d.text, d.format, &used);
    check(used == d.format, "the encoding it was read in cannot hold its own text");
    if (exact)
        check(saved == file, "file not written back byte for byte");

    // Whatever was saved reads back as the same text and saves the same again.
    const DecodedText again = decodePlainText(saved);
    QString expected = d.text;
    expected.replace(QChar(0x2029), u'\n');
    check(again.text == expected, "saved file reads back as other text");
    // Only a UTF-8 file whose non-ASCII characters all turned into breaks or
    // NULs may come back as (the same) ASCII in Windows-1251.
    check(again.format.lineBreak == used.lineBreak, "saved file reads back with other breaks");
    check(again.format.encoding == used.encoding
              || (used.encoding == TextEncoding::Utf8 && again.format.encoding == TextEncoding::Windows1251
                  && isAscii(saved)),
          "saved file reads back in another encoding");
    check(encodePlainText(again.text, again.format) == saved, "second save differs from the first");
    return 0;
}
