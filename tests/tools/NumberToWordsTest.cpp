#include "tools/NumberToWords.h"

#include "platform/VeltrixError.h"
#include "support/TestHelpers.h"

#include <QString>
#include <gtest/gtest.h>

#include <stdexcept>

using namespace numwords;

namespace {

struct Case {
    const char *input;    // the selected text
    const char *expected; // the replacement
};

using testhelpers::u8;

const char *const kAllNines =
    "девятьсот девяносто девять квинтиллионов девятьсот девяносто девять квадриллионов "
    "девятьсот девяносто девять триллионов девятьсот девяносто девять миллиардов "
    "девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч "
    "девятьсот девяносто девять";

} // namespace

TEST(NumberToWords, SpellsNumbers)
{
    const Case cases[] = {
        // The documented edge cases.
        {"", "ноль"},
        {"0", "ноль"},
        {"00", ""},
        {"000", ""},
        {"007", "семь"},
        {"12", "двенадцать"},
        {"21", "двадцать один"},
        {"111", "сто одиннадцать"},
        {"1000", "одна тысяча"},
        {"1001", "одна тысяча один"},
        {"2002", "две тысячи два"},
        {"5000", "пять тысяч"},
        {"11000", "одиннадцать тысяч"},
        {"101000", "сто одна тысяча"},
        {"1000000", "один миллион"},
        {"22000000", "двадцать два миллиона"},
        {"3004005", "три миллиона четыре тысячи пять"},
        {"1000000000", "один миллиард"},
        {"999999999999999999999", kAllNines},
        {"1234567890123456789012", "Value is too large"},
        {"0000000000000000000001", "Value is too large"},   // length alone decides
        {"abcdefghijklmnopqrstuv", "Value is too large"},
        // Digits and teens in every position.
        {"1", "один"},
        {"2", "два"},
        {"10", "десять"},
        {"19", "девятнадцать"},
        {"40", "сорок"},
        {"90", "девяносто"},
        {"110", "сто десять"},
        {"200", "двести"},
        {"302", "триста два"},
        {"0001", "один"},
        {"000000000000000000000", ""},
        {"11011011011011011011",
         "одиннадцать квинтиллионов одиннадцать квадриллионов одиннадцать триллионов "
         "одиннадцать миллиардов одиннадцать миллионов одиннадцать тысяч одиннадцать"},
        {"19012000010",
         "девятнадцать миллиардов двенадцать миллионов десять"},
        // Gender after thousands and the three endings of every scale word.
        {"1001001001001001001",
         "один квинтиллион один квадриллион один триллион один миллиард один миллион "
         "одна тысяча один"},
        {"2002002002002002002",
         "два квинтиллиона два квадриллиона два триллиона два миллиарда два миллиона "
         "две тысячи два"},
        {"4003000000000000000",
         "четыре квинтиллиона три квадриллиона"},
        {"5006007008009000000",
         "пять квинтиллионов шесть квадриллионов семь триллионов восемь миллиардов "
         "девять миллионов"},
        {"4000", "четыре тысячи"},
        {"21000", "двадцать одна тысяча"},
        {"22000", "двадцать две тысячи"},
        {"25000", "двадцать пять тысяч"},
        {"100000", "сто тысяч"},
        {"21000000", "двадцать один миллион"},
        {"104000000", "сто четыре миллиона"},
        {"110000000", "сто десять миллионов"},
        {"1000001", "один миллион один"},
        {"1000000000000000000", "один квинтиллион"},
        // What the integer conversion accepts at the start of a group.
        {"  5", "пять"},
        {"+12", "двенадцать"},
        {"1  5", "одна тысяча пять"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NumberToWords(u8(c.input)).toStdString(), c.expected) << "input: " << c.input;
}

TEST(NumberToWords, RefusesGroupsThatAreNotNonNegativeIntegers)
{
    // The message names the rightmost failing group, padded with "00" on the left.
    const Case cases[] = {
        {"12a", "'12a' is not a valid integer value"},
        {"a", "'00a' is not a valid integer value"},
        {" 5", "'0 5' is not a valid integer value"},
        {"5 ", "'05 ' is not a valid integer value"},
        {"   ", "'   ' is not a valid integer value"},
        {"12 345", "'12 ' is not a valid integer value"},
        {"12\n345", "'12\n' is not a valid integer value"},
        {"x12345", "'x12' is not a valid integer value"},
        {"12a45", "'a45' is not a valid integer value"},
        {"1-23", "'-23' is not a valid integer value"},
        {"-12", "'-12' is not a valid integer value"},
        {"-", "'00-' is not a valid integer value"},
        {"$FF", "'$FF' is not a valid integer value"},
        {"0x1", "'0x1' is not a valid integer value"},
        {"1.5", "'1.5' is not a valid integer value"},
        {"\t12", "'\t12' is not a valid integer value"},
        {"１２", "'0１２' is not a valid integer value"},  // full-width digits
        {"1😀", "'01😀' is not a valid integer value"},     // a pair of UTF-16 units, one character
        {"100%1", "'0%1' is not a valid integer value"},  // no second substitution
    };
    for (const Case &c : cases) {
        try {
            const QString result = NumberToWords(u8(c.input));
            ADD_FAILURE() << "input: " << c.input << " gave " << result.toStdString();
        } catch (const VeltrixError &e) {
            EXPECT_EQ(e.message().toStdString(), c.expected) << "input: " << c.input;
        }
    }
}

TEST(GroupToWords, SpellsOneGroupWithItsScaleWord)
{
    struct GroupCase {
        quint16 value;
        int g;
        const char *expected;
    };
    const GroupCase cases[] = {
        {0, 0, ""},
        {0, 1, ""},
        {0, 6, ""},
        {1, 0, " один"},
        {1, 1, " одна тысяча"},
        {2, 1, " две тысячи"},
        {12, 1, " двенадцать тысяч"},
        {12, 2, " двенадцать миллионов"},
        {100, 2, " сто миллионов"},
        {311, 3, " триста одиннадцать миллиардов"},
        {43, 4, " сорок три триллиона"},
        {51, 5, " пятьдесят один квадриллион"},
        {999, 6, " девятьсот девяносто девять квинтиллионов"},
    };
    for (const GroupCase &c : cases)
        EXPECT_EQ(GroupToWords(c.value, c.g).toStdString(), c.expected) << c.value << " in group " << c.g;

    EXPECT_THROW(GroupToWords(1000, 0), std::out_of_range);
    EXPECT_THROW(GroupToWords(5, 7), std::out_of_range);
    EXPECT_THROW(GroupToWords(5, -1), std::out_of_range);
}
