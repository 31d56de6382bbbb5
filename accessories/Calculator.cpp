#include "accessories/Calculator.h"

#include "platform/VeltrixError.h"

#include <QLocale>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace calculator {

namespace {

const char kNotReal[] = "'%1' is not a valid floating point value";
const char kNotInteger[] = "'%1' is not a valid integer value";
const char kZeroDivide[] = "Floating point division by zero";
const char kInvalid[] = "Invalid floating point operation";
const char kOverflow[] = "Floating point overflow";
const char kDivisionByZero[] = "Division by zero";
// The one quotient of two 32-bit integers that does not fit in 32 bits.
const char kIntegerOverflow[] = "Integer overflow";

constexpr int kSignificantDigits = 15;
constexpr int kLowestPlainExponent = -4; // 0.0001
constexpr int kFirstScientificExponent = 15; // 10^15

[[noreturn]] void fail(const char *message)
{
    throw VeltrixError(QString::fromLatin1(message));
}

[[noreturn]] void failOnText(const char *message, const QString &text)
{
    throw VeltrixError(QString::fromLatin1(message).arg(text));
}

long double finite(long double result)
{
    if (!std::isfinite(result))
        fail(kOverflow);
    return result;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// Appends the run of decimal digits at `pos` to `out`; the number appended.
int takeDigits(const QString &text, int &pos, std::string &out)
{
    const int start = pos;
    while (pos < text.size() && isDigit(text.at(pos)))
        out += char(text.at(pos++).unicode());
    return pos - start;
}

// strtold reads the decimal point of the process's locale, which the
// application sets from the user's; the text handed to it is always C-style.
long double parseCNumber(const std::string &number, bool &overflow)
{
    static const locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    errno = 0;
    const long double value = strtold_l(number.c_str(), nullptr, cLocale);
    // An underflow gives zero or a denormal, as the FPU does; only the
    // overflow is an error.
    overflow = errno == ERANGE && std::isinf(value);
    return value;
}

} // namespace

QChar regionalDecimalSeparator()
{
    const QString point = QLocale::system().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

long double textToReal(const QString &text, QChar separator)
{
    const int size = int(text.size());
    int pos = 0;
    while (pos < size && text.at(pos) == QLatin1Char(' '))
        ++pos;

    std::string number;
    if (pos < size && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        number += char(text.at(pos++).unicode());
    int digits = takeDigits(text, pos, number);
    if (pos < size && text.at(pos) == separator) {
        ++pos;
        number += '.';
        digits += takeDigits(text, pos, number);
    }
    if (digits == 0)
        failOnText(kNotReal, text);

    if (pos < size && (text.at(pos) == QLatin1Char('E') || text.at(pos) == QLatin1Char('e'))) {
        ++pos;
        number += 'e';
        if (pos < size && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
            number += char(text.at(pos++).unicode());
        if (takeDigits(text, pos, number) == 0)
            failOnText(kNotReal, text);
    }

    while (pos < size && text.at(pos) == QLatin1Char(' '))
        ++pos;
    if (pos != size)
        failOnText(kNotReal, text);

    bool overflow = false;
    const long double value = parseCNumber(number, overflow);
    if (overflow)
        failOnText(kNotReal, text);
    return value;
}

qint32 textToInteger(const QString &text)
{
    const int size = int(text.size());
    int pos = 0;
    while (pos < size && text.at(pos) == QLatin1Char(' '))
        ++pos;

    bool negative = false;
    if (pos < size && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-')))
        negative = text.at(pos++) == QLatin1Char('-');

    int base = 10;
    if (pos < size && (text.at(pos) == QLatin1Char('$') || text.at(pos).toLower() == QLatin1Char('x'))) {
        base = 16;
        ++pos;
    } else if (pos + 1 < size && text.at(pos) == QLatin1Char('0') && text.at(pos + 1).toLower() == QLatin1Char('x')) {
        base = 16;
        pos += 2;
    }

    // The magnitude may reach 2^31 for the negative end of the range; anything
    // larger fails, so it never outgrows 64 bits.
    const qint64 limit = negative ? qint64(1) << 31 : (qint64(1) << 31) - 1;
    qint64 magnitude = 0;
    const int start = pos;
    while (pos < size) {
        const int digit = base == 16 ? hexDigit(text.at(pos)) : (isDigit(text.at(pos)) ? text.at(pos).unicode() - u'0' : -1);
        if (digit < 0)
            break;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            failOnText(kNotInteger, text);
        ++pos;
    }
    if (pos == start || pos != size)
        failOnText(kNotInteger, text);
    return qint32(negative ? -magnitude : magnitude);
}

QString realToText(long double value, QChar separator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0"); // minus zero too

    // printf rounds the exact binary value to the digits asked for; its decimal
    // point follows the process locale, so only digits and exponent are read.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificantDigits - 1, value);
    const char *p = buffer;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    QString digits;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits += QLatin1Char(*p);
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    QString result = negative ? QStringLiteral("-") : QString();
    if (exponent >= kLowestPlainExponent && exponent < kFirstScientificExponent) {
        QString whole;
        QString fraction;
        if (exponent >= 0) {
            whole = digits.left(exponent + 1).leftJustified(exponent + 1, QLatin1Char('0'));
            fraction = digits.mid(exponent + 1);
        } else {
            whole = QStringLiteral("0");
            fraction = QString(-exponent - 1, QLatin1Char('0')) + digits;
        }
        result += whole;
        if (!fraction.isEmpty())
            result += separator + fraction;
    } else {
        result += digits.at(0);
        if (digits.size() > 1)
            result += separator + digits.mid(1);
        result += QLatin1Char('E') + QString::number(exponent);
    }
    return result;
}

QString integerToText(qint32 value)
{
    return QString::number(value);
}

long double add(long double a, long double b)
{
    return finite(a + b);
}

long double subtract(long double a, long double b)
{
    return finite(a - b);
}

long double multiply(long double a, long double b)
{
    return finite(a * b);
}

long double divide(long double a, long double b)
{
    if (b == 0)
        fail(a == 0 ? kInvalid : kZeroDivide);
    return finite(a / b);
}

long double squareRoot(long double a)
{
    if (a < 0)
        fail(kInvalid);
    return std::sqrt(a);
}

long double square(long double a)
{
    return finite(a * a);
}

long double power(long double a, long double b)
{
    if (a == 0)
        fail(kZeroDivide);
    if (a < 0)
        fail(kInvalid);
    return finite(std::exp(finite(b * std::log(a))));
}

double factorial(double x)
{
    if (!(x > 0))
        return 1;
    if (std::isinf(x))
        fail(kOverflow);
    // The product runs from the smallest factor up, as x × F(x − 1) unwinds, so
    // every partial product rounds as it would there. Below 2^53 the factors
    // x − k are exact; above, the product overflows long before the loop could
    // stall.
    double factor = x - std::floor(x);
    if (factor == 0)
        factor = 1;
    double product = 1;
    for (;;) {
        product = factor * product;
        if (std::isinf(product))
            fail(kOverflow);
        if (factor >= x)
            return product;
        factor += 1;
    }
}

qint32 quotient(qint32 a, qint32 b)
{
    if (b == 0)
        fail(kDivisionByZero);
    if (a == std::numeric_limits<qint32>::min() && b == -1)
        fail(kIntegerOverflow);
    return a / b;
}

qint32 remainder(qint32 a, qint32 b)
{
    if (b == 0)
        fail(kDivisionByZero);
    // "div" and "mod" are one division, whose quotient has no 32-bit value here.
    if (a == std::numeric_limits<qint32>::min() && b == -1)
        fail(kIntegerOverflow);
    return a % b;
}

long double naturalLog(long double a)
{
    if (a == 0)
        fail(kZeroDivide);
    if (a < 0)
        fail(kInvalid);
    return std::log(a);
}

QString calculate(Operation operation, const QString &first, const QString &second, QChar separator)
{
    const auto real = [separator](const QString &text) { return textToReal(text, separator); };
    const auto text = [separator](long double value) { return realToText(value, separator); };
    switch (operation) {
    case Operation::Add: {
        const long double a = real(first);
        return text(add(a, real(second)));
    }
    case Operation::Subtract: {
        const long double a = real(first);
        return text(subtract(a, real(second)));
    }
    case Operation::Multiply: {
        const long double a = real(first);
        return text(multiply(a, real(second)));
    }
    case Operation::Divide: {
        const long double a = real(first);
        return text(divide(a, real(second)));
    }
    case Operation::SquareRoot:
        return text(squareRoot(real(first)));
    case Operation::Square:
        return text(square(real(first)));
    case Operation::Power: {
        const long double b = real(second); // the exponent is read first
        return text(power(real(first), b));
    }
    case Operation::Factorial: {
        const double x = double(real(first));
        if (std::isinf(x))
            fail(kOverflow); // narrowing to a double overflows
        return text(factorial(x));
    }
    case Operation::Quotient: {
        const qint32 a = textToInteger(first);
        return integerToText(quotient(a, textToInteger(second)));
    }
    case Operation::Remainder: {
        const qint32 a = textToInteger(first);
        return integerToText(remainder(a, textToInteger(second)));
    }
    case Operation::NaturalLog:
        return text(naturalLog(real(first)));
    }
    return {};
}

} // namespace calculator
