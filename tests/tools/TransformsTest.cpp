#include "tools/Transforms.h"

#include "formats/CodePages.h"
#include "support/TestHelpers.h"

#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QHash>
#include <numeric>
#include <gtest/gtest.h>

using namespace transforms;

namespace {

using testhelpers::u8;

QStringList list(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *item : items)
        out.append(u8(item));
    return out;
}

struct TextCase {
    const char *input;
    const char *expected;
};

// Every lower-case letter of Windows-1251 and its capital, read off the code
// page chart: Latin, the Russian alphabet, and the other Cyrillic letters.
const char kLowerLetters[] = "abcdefghijklmnopqrstuvwxyz"
                             "абвгдежзийклмнопрстуфхцчшщъыьэюяё"
                             "ђѓљњќћџўјґєїіѕ";
const char kUpperLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                             "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЁ"
                             "ЂЃЉЊЌЋЏЎЈҐЄЇІЅ";

} // namespace

TEST(Reverse, PutsCharactersInTheOppositeOrder)
{
    const TextCase cases[] = {
        {"", ""},
        {"a", "a"},
        {"abc", "cba"},
        {"Привет, мир", "рим ,тевирП"},
        // A paragraph end in the selection is one CR: it lands in the mirrored
        // place and the lines' characters swap across it.
        {"ab\rcde", "edc\rba"},
        {"ab\r", "\rba"},
        {"a\vb", "b\va"},
        {"1 2\t3", "3\t2 1"},
        // A character outside the BMP stays whole.
        {"x😀y", "y😀x"},
        {"😀🙂", "🙂😀"},
    };
    for (const TextCase &c : cases) {
        EXPECT_EQ(Reversed(u8(c.input)), u8(c.expected)) << c.input;
        EXPECT_EQ(Reversed(Reversed(u8(c.input))), u8(c.input)) << c.input;
    }
}

TEST(Reverse, LeavesNoSurrogateAlone)
{
    const QString reversed = Reversed(u8("a😀b\r🙂"));
    for (qsizetype i = 0; i < reversed.size(); ++i) {
        if (reversed.at(i).isHighSurrogate()) {
            EXPECT_TRUE(i + 1 < reversed.size() && reversed.at(i + 1).isLowSurrogate()) << i;
        }
        if (reversed.at(i).isLowSurrogate()) {
            EXPECT_TRUE(i > 0 && reversed.at(i - 1).isHighSurrogate()) << i;
        }
    }
}

TEST(CaseConversion, ChangesOnlyLetters)
{
    const struct {
        const char *input;
        const char *upper;
        const char *lower;
    } cases[] = {
        {"", "", ""},
        {"Hello, World!", "HELLO, WORLD!", "hello, world!"},
        {"Привет, Мир", "ПРИВЕТ, МИР", "привет, мир"},
        {"ёлка Ёж", "ЁЛКА ЁЖ", "ёлка ёж"},
        {"їжак Ґанок", "ЇЖАК ҐАНОК", "їжак ґанок"},
        {"Abc 123 Где-то №5 «x» — 10€ ±1°", "ABC 123 ГДЕ-ТО №5 «X» — 10€ ±1°", "abc 123 где-то №5 «x» — 10€ ±1°"},
        {"a\rБ\vc\td", "A\rБ\vC\tD", "a\rб\vc\td"},
        // Letters the code page lacks stay as they are.
        {"äßéαΩ😀", "äßéαΩ😀", "äßéαΩ😀"},
        // µ is in the code page, its capital (Greek Μ) is not.
        {"µ", "µ", "µ"},
        {"Iİı", "Iİı", "iİı"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(UpperCase1251(u8(c.input)), u8(c.upper)) << c.input;
        EXPECT_EQ(LowerCase1251(u8(c.input)), u8(c.lower)) << c.input;
    }
}

TEST(CaseConversion, EveryCodePageCharacter)
{
    const QString lower = u8(kLowerLetters);
    const QString upper = u8(kUpperLetters);
    ASSERT_EQ(lower.size(), upper.size());
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString c = codepage::decodeWindows1251(QByteArrayView(&byte, 1));
        const qsizetype asLower = lower.indexOf(c);
        const qsizetype asUpper = upper.indexOf(c);
        const QString expectedUpper = asLower >= 0 ? QString(upper.at(asLower)) : c;
        const QString expectedLower = asUpper >= 0 ? QString(lower.at(asUpper)) : c;
        EXPECT_EQ(UpperCase1251(c), expectedUpper) << "byte " << b;
        EXPECT_EQ(LowerCase1251(c), expectedLower) << "byte " << b;
    }
}

TEST(SortLines, DocumentLinesAreParagraphs)
{
    const struct {
        const char *text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"a", list({"a"})},
        {"a\r\n", list({"a"})},
        {"\r\n", list({""})},
        {"a\r\n\r\n", list({"a", ""})},
        {"b\r\nA\r\na\r\nC", list({"b", "A", "a", "C"})},
        // A soft line break belongs to its paragraph.
        {"one\vtwo\r\nthree", list({"one\vtwo", "three"})},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DocumentLines(u8(c.text)), c.lines) << c.text;
}

TEST(SortLines, JoinEndsEveryLineWithABreak)
{
    const struct {
        QStringList lines;
        const char *text;
    } cases[] = {
        {{}, ""},
        {list({""}), "\r\n"},
        {list({"a"}), "a\r\n"},
        {list({"", "a", "b"}), "\r\na\r\nb\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(JoinLines(c.lines), u8(c.text));
}

// Sets the program's default locale for one scope.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale &locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(saved_); }

private:
    QLocale saved_ = QLocale();
};

TEST(SortLines, OrdersIgnoringCaseTheSameWayInEveryLocale)
{
    const struct {
        QStringList input;
        QStringList expected;
    } cases[] = {
        {{}, {}},
        {list({"x"}), list({"x"})},
        // Equal lines keep their order.
        {list({"b", "A", "a", "C"}), list({"A", "a", "b", "C"})},
        {list({"b", "a", "A", "C"}), list({"a", "A", "b", "C"})},
        {list({"b", "", "a", ""}), list({"", "", "a", "b"})},
        {list({"Жук", "ёж", "дом", "Ель", "зима", "еда"}), list({"дом", "еда", "ёж", "Ель", "Жук", "зима"})},
        {list({"ЖУК", "жаба", "Жёлудь"}), list({"жаба", "Жёлудь", "ЖУК"})},
        // Latin before Cyrillic.
        {list({"Яблоко", "apple", "Банан", "Zebra"}), list({"apple", "Zebra", "Банан", "Яблоко"})},
        // Hyphens and apostrophes count only between otherwise equal lines.
        {list({"ab", "a-z", "a'c"}), list({"ab", "a'c", "a-z"})},
        {list({"по-русски", "пора", "порт"}), list({"пора", "порт", "по-русски"})},
        {list({"cant", "can't", "Cant"}), list({"can't", "cant", "Cant"})},
        // Other punctuation and spaces still count.
        {list({"ab", "a b", "a.c"}), list({"a b", "a.c", "ab"})},
    };
    const QLocale locales[] = {QLocale(QLocale::Russian, QLocale::Russia),
                               QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()};
    for (const QLocale &locale : locales) {
        DefaultLocale inUse(locale);
        for (const auto &c : cases) {
            QStringList lines = c.input;
            SortLines(lines);
            EXPECT_EQ(lines, c.expected) << locale.name().toStdString() << ": " << c.input.join('|').toStdString();
        }
    }
}

TEST(SortLines, KeepsEveryLineWhole)
{
    const QString longLine = QStringLiteral("word ").repeated(2000) + u8("конец");
    QStringList lines = {longLine, QStringLiteral("b\va"), QStringLiteral("a")};
    SortLines(lines);
    EXPECT_EQ(lines, QStringList({QStringLiteral("a"), QStringLiteral("b\va"), longLine}));
}

TEST(SortLines, LargeInputsSortedInTwoHalvesMatchSortingInOnePiece)
{
    // Enough lines for the two-halves path; many lines differ only in case or
    // by a hyphen, so the merge must keep equal lines in their first order too.
    const char *const words[] = {"Ёж", "ёж", "Ель", "абзац", "Абзац", "zebra", "Zebra", "ze-bra", "", "мир"};
    QStringList lines;
    for (int i = 0; i < 30000; ++i)
        lines.append(u8(words[(i * 7919) % 10]) + QString::number((i * 31) % 17));
    QStringList sorted = lines;
    SortLines(sorted);

    // Below the two-halves size each distinct line sorts alone. Lines that
    // compare equal share a rank: sorted as a reversed pair they keep their order.
    QStringList distinct = QStringList(QSet<QString>(lines.begin(), lines.end()).values());
    ASSERT_LT(distinct.size(), 20000);
    SortLines(distinct);
    QHash<QString, int> rank;
    for (qsizetype i = 0; i < distinct.size(); ++i) {
        QStringList pair = {distinct.at(i), i > 0 ? distinct.at(i - 1) : QString()};
        const QStringList reversed = pair;
        SortLines(pair);
        const bool equalToPrevious = i > 0 && pair == reversed;
        rank.insert(distinct.at(i), equalToPrevious ? rank.value(distinct.at(i - 1)) : int(i));
    }
    QList<int> order(lines.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return rank.value(lines.at(a)) < rank.value(lines.at(b)); });
    QStringList expected;
    for (int index : order)
        expected.append(lines.at(index));
    ASSERT_EQ(sorted.size(), expected.size());
    EXPECT_EQ(sorted, expected);
}
