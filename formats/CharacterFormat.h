#pragma once

#include <QTextFormat>

// Character properties of the program's model that Qt's character format has
// no place for, kept as user properties of QTextCharFormat.
namespace charformat {

// The font's character set (RTF \fcharset, the platform's charset byte).
constexpr int kCharsetProperty = QTextFormat::UserProperty + 10;
// The text raised (positive) or lowered (negative) by this many half-points;
// shown as superscript or subscript.
constexpr int kRaiseProperty = QTextFormat::UserProperty + 11;

// Hidden text (RTF \v) that stood just before this character, or before the
// paragraph end when on a paragraph's own format. It is kept but neither shown
// nor part of the text. The serial tells one piece from the next when
// characters that follow it share the format.
constexpr int kHiddenTextProperty = QTextFormat::UserProperty + 12;
constexpr int kHiddenSerialProperty = QTextFormat::UserProperty + 13;

// A picture the document shows as a box only (a Windows or enhanced
// metafile): its bytes and the RTF words that declare it, written back as read.
constexpr int kPictureDataProperty = QTextFormat::UserProperty + 14;
constexpr int kPictureWordsProperty = QTextFormat::UserProperty + 15;

// Qt's format table hashes a list of families by its type alone: formats that
// differ in family only all collide, and each new one is compared with every
// other. A hash of the family beside it keeps them apart; nothing else reads it.
constexpr int kFamilyHashProperty = QTextFormat::UserProperty + 16;

// What a character's format has when no character set was ever given.
constexpr int kDefaultCharset = 204; // Russian

} // namespace charformat
