#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// Recoding of the document between Windows-1251 and KOI8-R or UTF-8. The
// editor holds Unicode; the commands see its text as Windows-1251 bytes, and
// a character that Windows-1251 cannot hold is not a byte: it is left as it
// is by every direction instead of being turned into '?'.
namespace recoding {

// 512 bytes: [0, 256) Windows-1251 -> KOI8-R, [256, 512) KOI8-R ->
// Windows-1251. Only the 64 letters А..я (0xC0..0xFF in both) move; Ё, ё and
// everything else pass through.
using Table = std::array<unsigned char, 512>;
const Table &translationTable();

enum class Half { WindowsToKoi8 = 0, Koi8ToWindows = 1 };

// Each byte replaced by the table half's entry for it; the length is kept.
QByteArray translate(QByteArrayView bytes, Half half);

// Every UTF-16 code unit in one, two or three bytes (no four-byte sequences).
QByteArray encodeUtf8(QStringView text);
// Well-formed UTF-8 decoded; nullopt for anything malformed (a stray or
// missing continuation byte, an overlong form, an encoded surrogate, a cut-off
// sequence). A four-byte sequence gives its character as a surrogate pair.
std::optional<QString> decodeUtf8(QByteArrayView bytes);

// The four commands on the editor's text.
QString windowsToKoi8(const QString &text);
QString koi8ToWindows(const QString &text);
QString windowsToUtf8(const QString &text);
// nullopt when the bytes are not well-formed UTF-8 (a character without a
// Windows-1251 byte inside a sequence breaks it too).
std::optional<QString> utf8ToWindows(const QString &text);

} // namespace recoding
