#pragma once

#include <QStringView>
#include <QtGlobal>

// Single-byte Windows, DOS and Mac code pages as RTF files use them. Kept here so
// the RTF reader and writer need no legacy codecs from Qt or the system.
namespace rtf::detail {

// The characters of bytes 0x80..0xFF of a code page, or nullptr when the code
// page is not a single-byte one we know.
const char16_t *codePageTable(int codePage);

// The code page of an RTF \fcharset value; 0 when the charset means "the
// document's default" (\fcharset1, or one we cannot decode byte by byte).
int codePageOfCharset(int charset);

// The code page of a font's text: that of its charset, except that an old
// Cyrillic font says so in its name only (charset 0 or 1, a name ending in " Cyr").
int codePageOfFont(int charset, QStringView name);

// The Symbol font's pseudo code page (\fcharset2).
constexpr int kSymbolCodePage = 42;

// The Windows-1251 byte of a character, or -1 when it has none.
int windows1251Byte(char16_t c);

} // namespace rtf::detail
