#pragma once

#include <QString>
#include <QStringList>

// The text transforms of the "Вставка" and "Формат" menus: reverse, case and
// sort. Pure text in, text out; the command handlers read the editor and put
// the result back.
namespace transforms {

// The characters in the opposite order, line breaks included. A character
// outside the BMP (a surrogate pair) moves as one character, so no half of it
// is left alone.
QString Reversed(const QString &text);

// Case mapping of the Windows-1251 code page: the Latin and Cyrillic letters
// it holds (Ё/ё and the other Cyrillic letters in 0x80..0xBF included) change
// case; every other character, and every character the code page lacks, stays
// as it is. The length never changes.
QString UpperCase1251(const QString &text);
QString LowerCase1251(const QString &text);

// The paragraphs of a document text whose paragraph ends are CR LF, as the
// editor's line list would give them: a last empty paragraph is left out, so
// an empty text has no lines.
QStringList DocumentLines(const QString &documentText);

// Sorts ascending, ignoring case, by one collation whatever the user's locale:
// Latin before Cyrillic, ё beside е, hyphens and apostrophes counting only
// between lines that are otherwise equal. Equal lines keep their order.
void SortLines(QStringList &lines);

// The lines, each followed by CR LF; the empty text for no lines.
QString JoinLines(const QStringList &lines);

} // namespace transforms
