#pragma once

#include <QString>
#include <QtGlobal>

// Spelling a selected whole number as a Russian cardinal numeral (the
// "Числа в слова" command). Pure text in, text out: the command handler passes
// the selection in and puts the result in its place.
namespace numwords {

// Words for one group of three digits, `value` 0..999, as group `g` counted from
// the right (0 = units, 1 = thousands … 6 = quintillions), scale word included.
// Every word carries its leading space; the value 0 gives an empty text.
// Throws std::out_of_range for a value or group number outside those ranges.
QString GroupToWords(quint16 value, int g);

// The replacement for the selected text: the number in words, "ноль" for an
// empty selection or "0", "Value is too large" beyond 21 characters, an empty
// text when every group is zero ("00", "000"). Throws VeltrixError with
// "'<group>' is not a valid integer value" for the rightmost group that is not
// a decimal integer or is negative; nothing is to be replaced then.
QString NumberToWords(const QString &text);

} // namespace numwords
