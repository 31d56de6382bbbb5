#include "tools/LayoutFix.h"

#include "support/TestHelpers.h"

#include <QString>
#include <gtest/gtest.h>

using namespace layoutfix;

namespace {

using testhelpers::u8;

// Every character key of the US layout and what the same key gives in the
// Russian one, plain and shifted, written out key by key.
const char kUsPlain[] = "`1234567890-=qwertyuiop[]\\asdfghjkl;'zxcvbnm,./";
const char kRuPlain[] = "ё1234567890-=йцукенгшщзхъ\\фывапролджэячсмитьбю.";
const char kUsShifted[] = "~!@#$%^&*()_+QWERTYUIOP{}|ASDFGHJKL:\"ZXCVBNM<>?";
const char kRuShifted[] = "Ё!\"№;%:?*()_+ЙЦУКЕНГШЩЗХЪ/ФЫВАПРОЛДЖЭЯЧСМИТЬБЮ,";

// What a user gets from pressing the key twice: the text converted, then its
// result converted again where it stands.
QString fixedTwice(const QString &text, QString *once = nullptr)
{
    LayoutFixer fixer;
    const QString first = fixer.fix(text, 0).text;
    if (once)
        *once = first;
    return fixer.fix(first, 0).text;
}

} // namespace

TEST(LayoutFix, EveryKeyOfBothLayoutsGoesOverAndBack)
{
    const KeyMapping mapping = KeyMapping::standard();
    for (const auto &[us, ru] : {std::pair{kUsPlain, kRuPlain}, std::pair{kUsShifted, kRuShifted}}) {
        const QString english = u8(us), russian = u8(ru);
        ASSERT_EQ(english.size(), 47);
        ASSERT_EQ(russian.size(), 47);
        for (qsizetype key = 0; key < english.size(); ++key) {
            SCOPED_TRACE(QString(english[key]).toStdString() + " " + QString(russian[key]).toStdString());
            EXPECT_EQ(mapping.convert(english[key], Direction::ToRussian), russian[key]);
            EXPECT_EQ(mapping.convert(russian[key], Direction::ToEnglish), english[key]);
        }
        // A whole row at once, in the direction its letters call for, and back.
        QString once;
        EXPECT_EQ(fixedTwice(english, &once), english);
        EXPECT_EQ(once, russian);
        EXPECT_EQ(fixedTwice(russian, &once), russian);
        EXPECT_EQ(once, english);
    }
}

TEST(LayoutFix, WrongLayoutLinesComeOutAsMeant)
{
    struct Case {
        const char *typed;
        const char *meant;
    };
    const Case cases[] = {
        {"Ghbdtn? vbh!", "Привет, мир!"},
        {"Ghbdtn? rfr ltkf&", "Привет, как дела?"},
        {"руддщ цщкдв", "hello world"},
        {"Ёжик {B`}: \"Э\"", "~;br {B`}^ @\"@"}, // mostly Cyrillic: to the US layout
        {"N 5 – ;ehyfk", "Т 5 – журнал"},       // the dash has a key in neither layout
        {"", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        QString once;
        EXPECT_EQ(fixedTwice(u8(c.typed), &once), u8(c.typed));
        EXPECT_EQ(once, u8(c.meant));
    }
}

TEST(LayoutFix, TheDirectionFollowsTheLettersOfAMixedLine)
{
    // A web address inside Russian text: Cyrillic letters are more, so the
    // line goes to the US layout; the Latin letters have no Russian key and stay.
    const QString line = u8("Ссылка на сайт: https://qt.io — там всё");
    EXPECT_EQ(directionOf(line), Direction::ToEnglish);
    QString once;
    EXPECT_EQ(fixedTwice(line, &once), line);
    EXPECT_EQ(once, u8("Ccskrf yf cfqn^ https^||qt/io — nfv dc`"));

    // Mostly Latin with one Russian word: to the Russian layout, the word stays.
    const QString other = u8("Cvjnhb htlfrnjh Veltrix сегодня");
    EXPECT_EQ(directionOf(other), Direction::ToRussian);
    EXPECT_EQ(fixedTwice(other, &once), other);
    EXPECT_EQ(once, u8("Смотри редактор Мудекшч сегодня"));

    // A tie, or no letters at all: to the Russian layout.
    EXPECT_EQ(directionOf(u8("ab вг")), Direction::ToRussian);
    EXPECT_EQ(directionOf(u8("?&@")), Direction::ToRussian);
    EXPECT_EQ(fixedTwice(u8("?&@"), &once), u8("?&@"));
    EXPECT_EQ(once, u8(",?\""));
}

TEST(LayoutFix, OnlyTheLastResultWhereItStandsIsBroughtBack)
{
    LayoutFixer fixer;
    const QString mixed = u8("Ghbdtn мир");
    const QString russian = fixer.fix(mixed, 5).text;
    EXPECT_EQ(russian, u8("Привет мир"));
    // The same text elsewhere is converted afresh: its own letters decide.
    EXPECT_EQ(fixer.fix(russian, 6).text, u8("Ghbdtn vbh"));
    // The last conversion is the one remembered.
    EXPECT_EQ(fixer.fix(u8("Ghbdtn vbh"), 6).text, russian);
}

TEST(LayoutFix, KeysReadFromTheDesktopLayoutsReplaceTheStandardOnes)
{
    // A phonetic Russian layout: Q gives Я, W gives Ж; the grave key only
    // exists in one of the two.
    const QList<platform::LayoutKey> english = {{24, U'q', U'Q'}, {25, U'w', U'W'}, {49, U'`', U'~'},
                                                {61, U'/', U'?'}};
    const QList<platform::LayoutKey> phonetic = {{24, U'я', U'Я'}, {25, U'ж', U'Ж'}, {61, U'/', U'?'}};
    const std::optional<KeyMapping> mapping = KeyMapping::fromLayouts(english, phonetic);
    ASSERT_TRUE(mapping);
    EXPECT_EQ(mapping->convert(u"qWe`/?", Direction::ToRussian), u8("яЖe`/?"));
    EXPECT_EQ(mapping->convert(u8("яЖйё"), Direction::ToEnglish), u8("qWйё"));

    // Keymaps that could not be read, or that put no Cyrillic letter on a
    // Latin one, leave the standard layouts in charge.
    EXPECT_FALSE(KeyMapping::fromLayouts({}, phonetic));
    EXPECT_FALSE(KeyMapping::fromLayouts(english, {}));
    EXPECT_FALSE(KeyMapping::fromLayouts(english, english));
}

TEST(LayoutFix, WithNothingSelectedTheWordsBeforeTheCaretInOneAlphabetAreTaken)
{
    EXPECT_EQ(caretRunLength(u8("Ghbdtn? vbh!")), 12);
    EXPECT_EQ(caretRunLength(u8("Я сказал: ghbdtn 2 vbh")), 12); // stops at the right alphabet
    EXPECT_EQ(caretRunLength(u8("Руддщ цщкдв")), 11);
    EXPECT_EQ(caretRunLength(u8("1. ghbdtn")), 6);            // no leading words without letters
    EXPECT_EQ(caretRunLength(u8("сайт site.ru")), 7);         // a word of both alphabets stops
    EXPECT_EQ(caretRunLength(u8("ghbdtn сайтsite")), 8);      // and alone is taken as it is
    EXPECT_EQ(caretRunLength(u8("one\ttwo")), 7);
    EXPECT_EQ(caretRunLength(u8("one\u2028two")), 3); // a line break within the paragraph
    EXPECT_EQ(caretRunLength(u8("one ")), 0);
    EXPECT_EQ(caretRunLength(u8("")), 0);
}
