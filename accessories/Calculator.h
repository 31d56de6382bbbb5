#pragma once

#include <QChar>
#include <QString>
#include <QtGlobal>

// The calculator's arithmetic and its number texts, apart from any window.
// Every failure is raised as VeltrixError carrying the message the user sees.
// Reals are long double: the 80-bit extended type on x86-64, so results beyond
// the double range (1E300 squared) still show.
namespace calculator {

// The decimal separator of the user's regional settings.
QChar regionalDecimalSeparator();

// Spaces around the number, an optional sign, digits with at most one
// `separator`, an optional exponent. Fails on anything else and on a value
// beyond the extended range.
long double textToReal(const QString &text, QChar separator);
// Spaces before the number, an optional sign, decimal digits or hexadecimal
// ones after "$", "x" or "0x"; the value must fit in 32 signed bits.
qint32 textToInteger(const QString &text);
// General format, 15 significant digits; scientific below 0.0001 and from 10^15.
QString realToText(long double value, QChar separator);
QString integerToText(qint32 value);

long double add(long double a, long double b);
long double subtract(long double a, long double b);
long double multiply(long double a, long double b);
long double divide(long double a, long double b);
long double squareRoot(long double a);
long double square(long double a);
// a to the power b, through the natural logarithm: a must be positive.
long double power(long double a, long double b);
// x × (x − 1) × … over the positive factors, in doubles; 1 for x <= 0.
double factorial(double x);
qint32 quotient(qint32 a, qint32 b);  // truncated toward zero
qint32 remainder(qint32 a, qint32 b); // sign of a
long double naturalLog(long double a);

enum class Operation {
    Add,
    Subtract,
    Multiply,
    Divide,
    SquareRoot,
    Square,
    Power,
    Factorial,
    Quotient,
    Remainder,
    NaturalLog,
};

// One button of the calculator: reads its operands from the two field texts in
// the operation's order and returns the text of the result.
QString calculate(Operation operation, const QString &first, const QString &second, QChar separator);

} // namespace calculator
