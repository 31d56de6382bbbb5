#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The two Russian single-byte code pages, with tables of our own: which legacy
// codecs Qt 6 offers depends on how it was built. Both are bijections between
// the 256 bytes and 256 characters, so any byte sequence survives a decode and
// encode unchanged. Windows-1251 leaves 0x98 unassigned; it decodes to U+0098.
namespace codepage {

QString decodeWindows1251(QByteArrayView bytes);
// A character the code page lacks becomes '?' (one per character, even one
// outside the BMP) and sets *lossless to false.
QByteArray encodeWindows1251(QStringView text, bool *lossless = nullptr);
bool canEncodeWindows1251(QChar c);
// The byte for one character, or -1 when Windows-1251 has none.
int windows1251Byte(QChar c);
// The characters of the bytes 0x80 to 0xFF, for readers that decode byte by byte.
const char16_t *windows1251HighHalf();

QString decodeKoi8r(QByteArrayView bytes);
QByteArray encodeKoi8r(QStringView text, bool *lossless = nullptr);

} // namespace codepage
