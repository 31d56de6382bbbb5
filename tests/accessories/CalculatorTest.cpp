#include "accessories/Calculator.h"
#include "platform/VeltrixError.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

using calculator::Operation;

namespace {

// The message of the VeltrixError `action` raises, or nothing when it succeeds.
template <typename Action>
std::optional<QString> errorOf(Action action)
{
    try {
        action();
    } catch (const VeltrixError &error) {
        return error.message();
    }
    return std::nullopt;
}

QString notReal(const QString &text)
{
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

QString notInteger(const QString &text)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

const QString kZeroDivide = QStringLiteral("Floating point division by zero");
const QString kInvalid = QStringLiteral("Invalid floating point operation");
const QString kOverflow = QStringLiteral("Floating point overflow");
const QString kDivisionByZero = QStringLiteral("Division by zero");
const QString kIntegerOverflow = QStringLiteral("Integer overflow");

// The factorial as the recursion x × F(x − 1) defines it, for checking that
// the product comes out bit for bit the same.
double recursiveFactorial(double x)
{
    return x > 0 ? x * recursiveFactorial(x - 1) : 1;
}

} // namespace

TEST(CalculatorTextToReal, ReadsNumbersInTheRegionalFormat)
{
    struct Row {
        const char *text;
        char separator;
        long double expected;
    };
    const Row rows[] = {
        {"5", '.', 5.0L},
        {"  -2,5  ", ',', -2.5L},
        {"+1e3", '.', 1000.0L},
        {"1,5E+2", ',', 150.0L},
        {"2.5E-1", '.', 0.25L},
        {".5", '.', 0.5L},
        {"5,", ',', 5.0L},
        {"007", '.', 7.0L},
        {"0.01", '.', 0.01L},
        {"1E4000", '.', 1E4000L},    // beyond a double, inside the extended range
        {"-1E-4000", ',', -1E-4000L},
        {"1E-5000", '.', 0.0L},      // underflow reads as zero, as the FPU gives it
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(calculator::textToReal(QString::fromUtf8(row.text), QLatin1Char(row.separator)), row.expected);
    }
}

TEST(CalculatorTextToReal, RejectsEverythingElseNamingTheWholeText)
{
    struct Row {
        const char *text;
        char separator;
    };
    const Row rows[] = {
        {"", '.'},       {" ", '.'},       {"2.5", ','},     {"2,5", '.'},     {"1.2.3", '.'},
        {"1E", '.'},     {"1e+", '.'},     {"E5", '.'},      {"+", '.'},       {"-", '.'},
        {".", '.'},      {",E1", ','},     {"1 2", '.'},     {"--1", '.'},     {"0x10", '.'},
        {"$10", '.'},    {"inf", '.'},     {"nan", '.'},     {"\t1", '.'},     {"1\t", '.'},
        {"1E5000", '.'}, {"-1E5000", '.'}, {"1.2E3.4", '.'}, {"١", '.'},      {"1 000", '.'},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        const QString text = QString::fromUtf8(row.text);
        EXPECT_EQ(errorOf([&] { calculator::textToReal(text, QLatin1Char(row.separator)); }), notReal(text));
    }
}

TEST(CalculatorTextToInteger, ReadsDecimalAndHexadecimal)
{
    struct Row {
        const char *text;
        qint32 expected;
    };
    const Row rows[] = {
        {"0", 0},
        {"  42", 42},
        {"-7", -7},
        {"+7", 7},
        {"007", 7},
        {"$1F", 31},
        {"x1f", 31},
        {"X10", 16},
        {"0x10", 16},
        {"0XfF", 255},
        {"-$10", -16},
        {"2147483647", std::numeric_limits<qint32>::max()},
        {"-2147483648", std::numeric_limits<qint32>::min()},
        {"$7FFFFFFF", std::numeric_limits<qint32>::max()},
        {"-0x80000000", std::numeric_limits<qint32>::min()},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(calculator::textToInteger(QString::fromUtf8(row.text)), row.expected);
    }
}

TEST(CalculatorTextToInteger, RejectsEverythingElseNamingTheWholeText)
{
    const char *const rows[] = {
        "",     " ",           "42 ",         "2147483648", "-2147483649", "$80000000", "0xFFFFFFFF",
        "1.5",  "1e3",         "$",           "x",          "0x",          "-",         "$-1",
        "0x1G", "99999999999999999999999",    "4 2",        "\t1",         "١",         "--1",
    };
    for (const char *row : rows) {
        SCOPED_TRACE(row);
        const QString text = QString::fromUtf8(row);
        EXPECT_EQ(errorOf([&] { calculator::textToInteger(text); }), notInteger(text));
    }
}

TEST(CalculatorRealToText, GeneralFormatWithFifteenDigits)
{
    struct Row {
        long double value;
        char separator;
        const char *expected;
    };
    const Row rows[] = {
        {5.0L, '.', "5"},
        {100.0L, '.', "100"},
        {3.5L, ',', "3,5"},
        {-1234.5L, '.', "-1234.5"},
        {0.0L, '.', "0"},
        {-0.0L, '.', "0"},
        {1.0L / 3, '.', "0.333333333333333"},
        {2.0L / 3, ',', "0,666666666666667"},
        {0.1L + 0.2L, '.', "0.3"},
        {0.0001L, '.', "0.0001"},
        {0.00009999999999999999L, '.', "0.0001"}, // the rounded value decides
        {0.00005L, '.', "5E-5"},
        {-1.5E-7L, ',', "-1,5E-7"},
        {999999999999999.0L, '.', "999999999999999"},
        {999999999999999.6L, '.', "1E15"},
        {1E15L, '.', "1E15"},
        {1E21L, '.', "1E21"},
        {123456789012345678.0L, ',', "1,23456789012346E17"},
        {1E600L, '.', "1E600"},
        {-2.5E-3000L, '.', "-2.5E-3000"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(calculator::realToText(row.value, QLatin1Char(row.separator)), QString::fromUtf8(row.expected));
    }
}

TEST(CalculatorFactorial, SameProductAsTheRecursionItReplaces)
{
    const double rows[] = {5, 2.5, 3.5, 0.5, 1e-300, 1, 2, 17.75, 100.25, 170, 170.5, 171.0000001};
    for (double x : rows) {
        SCOPED_TRACE(x);
        EXPECT_EQ(calculator::factorial(x), recursiveFactorial(x));
    }
}

TEST(CalculatorFactorial, OverflowsWhateverTheSizeOfTheArgument)
{
    // Past 2^54, x − 1 rounds back to x: a recursion would never end.
    const double rows[] = {171, 172.5, 1000, 9007199254740992.0, 1e17, 1e300, std::numeric_limits<double>::max()};
    for (double x : rows) {
        SCOPED_TRACE(x);
        EXPECT_EQ(errorOf([&] { calculator::factorial(x); }), kOverflow);
    }
}

struct Case {
    Operation operation;
    const char *first;
    const char *second;
    char separator;
    const char *expected;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << int(c.operation) << " '" << c.first << "' '" << c.second << "' " << c.separator;
}

class CalculatorResult : public ::testing::TestWithParam<Case> {};

TEST_P(CalculatorResult, ShowsTheResultText)
{
    const Case &c = GetParam();
    EXPECT_EQ(calculator::calculate(c.operation, QString::fromUtf8(c.first), QString::fromUtf8(c.second),
                                    QLatin1Char(c.separator)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Operations, CalculatorResult,
    ::testing::Values(
        // Edit1 is the left operand.
        Case{Operation::Subtract, "7", "2", ',', "5"}, Case{Operation::Divide, "7", "2", ',', "3,5"},
        Case{Operation::Divide, "7", "2", '.', "3.5"}, Case{Operation::Add, "0.1", "0.2", '.', "0.3"},
        Case{Operation::Add, " 1,5 ", "-2", ',', "-0,5"}, Case{Operation::Multiply, "3", "-4", '.', "-12"},
        Case{Operation::Divide, "1", "3", '.', "0.333333333333333"},
        Case{Operation::Divide, "-0", "5", '.', "0"},
        Case{Operation::SquareRoot, "2", "", '.', "1.4142135623731"},
        Case{Operation::SquareRoot, "-0", "", '.', "0"},
        Case{Operation::Square, "-3", "", '.', "9"},
        // Beyond the double range, inside the extended one.
        Case{Operation::Square, "1E300", "", '.', "1E600"},
        Case{Operation::Power, "2", "10", '.', "1024"}, Case{Operation::Power, "4", "0.5", '.', "2"},
        Case{Operation::Power, "2", "-1", ',', "0,5"}, Case{Operation::Power, "10", "-5000", '.', "0"},
        Case{Operation::Factorial, "5", "", '.', "120"}, Case{Operation::Factorial, "2.5", "", '.', "1.875"},
        Case{Operation::Factorial, "3,5", "", ',', "6,5625"}, Case{Operation::Factorial, "0.5", "", '.', "0.5"},
        Case{Operation::Factorial, "0", "", '.', "1"}, Case{Operation::Factorial, "-1", "", '.', "1"},
        Case{Operation::Factorial, "-3", "", '.', "1"},
        Case{Operation::Factorial, "170", "", ',', "7,25741561530799E306"},
        // One-operand buttons do not read Edit2.
        Case{Operation::Factorial, "5", "junk", '.', "120"}, Case{Operation::NaturalLog, "1", "junk", '.', "0"},
        Case{Operation::Quotient, "-7", "2", '.', "-3"}, Case{Operation::Remainder, "-7", "2", '.', "-1"},
        Case{Operation::Quotient, "7", "-2", '.', "-3"}, Case{Operation::Remainder, "7", "-2", '.', "1"},
        Case{Operation::Quotient, "$10", "x4", '.', "4"}, Case{Operation::Remainder, "  0x11", "-5", '.', "2"},
        Case{Operation::Quotient, "-2147483648", "1", '.', "-2147483648"},
        Case{Operation::Remainder, "-2147483648", "2147483647", '.', "-1"},
        Case{Operation::NaturalLog, "1E600", "", '.', "1381.55105579643"}));

struct Failure {
    Operation operation;
    const char *first;
    const char *second;
    char separator;
    QString message;
};

void PrintTo(const Failure &f, std::ostream *os)
{
    *os << int(f.operation) << " '" << f.first << "' '" << f.second << "' " << f.separator;
}

class CalculatorFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(CalculatorFailure, RaisesTheMessage)
{
    const Failure &f = GetParam();
    EXPECT_EQ(errorOf([&] {
                  calculator::calculate(f.operation, QString::fromUtf8(f.first), QString::fromUtf8(f.second),
                                        QLatin1Char(f.separator));
              }),
              f.message);
}

INSTANTIATE_TEST_SUITE_P(
    Operations, CalculatorFailure,
    ::testing::Values(
        // Operands that are not numbers; the first one read is named.
        Failure{Operation::Add, "2.5", "1", ',', notReal("2.5")},
        Failure{Operation::Add, "abc", "xyz", '.', notReal("abc")},
        Failure{Operation::Subtract, "1", "", '.', notReal("")},
        Failure{Operation::Multiply, "1", " 2 x", '.', notReal(" 2 x")},
        Failure{Operation::Divide, "", "0", '.', notReal("")},
        Failure{Operation::Power, "x", "y", '.', notReal("y")},
        Failure{Operation::Power, "0", "y", '.', notReal("y")},
        Failure{Operation::Power, "x", "2", '.', notReal("x")},
        Failure{Operation::SquareRoot, "1E5000", "", '.', notReal("1E5000")},
        Failure{Operation::Square, "", "", '.', notReal("")},
        Failure{Operation::Factorial, "five", "", '.', notReal("five")},
        Failure{Operation::NaturalLog, "1,5", "", '.', notReal("1,5")},
        Failure{Operation::Quotient, "2.5", "1", '.', notInteger("2.5")},
        Failure{Operation::Quotient, "a", "b", '.', notInteger("a")},
        Failure{Operation::Remainder, "7 ", "2", '.', notInteger("7 ")},
        Failure{Operation::Remainder, "7", "2147483648", '.', notInteger("2147483648")},
        // Division by zero and invalid operations.
        Failure{Operation::Divide, "1", "0", '.', kZeroDivide},
        Failure{Operation::Divide, "-1", "-0", '.', kZeroDivide},
        Failure{Operation::Divide, "0", "0", '.', kInvalid},
        Failure{Operation::NaturalLog, "0", "", '.', kZeroDivide},
        Failure{Operation::NaturalLog, "-0", "", '.', kZeroDivide},
        Failure{Operation::NaturalLog, "-1", "", '.', kInvalid},
        Failure{Operation::SquareRoot, "-1", "", '.', kInvalid},
        // "^" goes through the logarithm of a.
        Failure{Operation::Power, "0", "2", '.', kZeroDivide},
        Failure{Operation::Power, "-8", "2", '.', kInvalid},
        Failure{Operation::Power, "-8", "0", '.', kInvalid},
        // Results beyond the extended range.
        Failure{Operation::Power, "10", "5000", '.', kOverflow},
        Failure{Operation::Power, "10", "1E4932", '.', kOverflow},
        Failure{Operation::Power, "1E-4000", "-1E4932", '.', kOverflow},
        Failure{Operation::Add, "1E4932", "1E4932", '.', kOverflow},
        Failure{Operation::Subtract, "-1E4932", "1E4932", '.', kOverflow},
        Failure{Operation::Multiply, "1E3000", "-1E3000", '.', kOverflow},
        Failure{Operation::Divide, "1E4000", "1E-4000", '.', kOverflow},
        Failure{Operation::Square, "1E2500", "", '.', kOverflow},
        Failure{Operation::Factorial, "171", "", '.', kOverflow},
        Failure{Operation::Factorial, "1E300", "", '.', kOverflow},
        // Narrowing to a double already overflows.
        Failure{Operation::Factorial, "1E400", "", '.', kOverflow},
        Failure{Operation::Factorial, "-1E400", "", '.', kOverflow},
        // Integer division.
        Failure{Operation::Quotient, "7", "0", '.', kDivisionByZero},
        Failure{Operation::Remainder, "7", "$0", '.', kDivisionByZero},
        Failure{Operation::Quotient, "-2147483648", "-1", '.', kIntegerOverflow},
        Failure{Operation::Remainder, "-2147483648", "-1", '.', kIntegerOverflow}));
