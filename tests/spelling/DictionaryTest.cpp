#include "spelling/Speller.h"

#include "formats/CodePages.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testhelpers::u8;

// A dictionary in KOI8-R, as older Russian ones are: words go to it in its own
// bytes, and a word with a letter KOI8-R lacks is simply not in it.
TEST(SpellerDictionaries, SpeaksToADictionaryInItsOwnEncoding)
{
    QTemporaryDir dir;
    ASSERT_TRUE(testhelpers::writeFile(dir.filePath(QStringLiteral("ru_RU.aff")), "SET KOI8-R\n"));
    ASSERT_TRUE(testhelpers::writeFile(dir.filePath(QStringLiteral("ru_RU.dic")),
                                       "2\n" + codepage::encodeKoi8r(u8("привет\nмир")) + "\n"));
    ASSERT_TRUE(testhelpers::writeFile(dir.filePath(QStringLiteral("xx_YY.aff")), "SET UTF-8\n"));
    ASSERT_TRUE(testhelpers::writeFile(dir.filePath(QStringLiteral("xx_YY.dic")), "0\n"));
    const auto speller = spelling::Speller::load({dir.path()}, dir.filePath(QStringLiteral("words.txt")));

    ASSERT_TRUE(speller->available());
    EXPECT_EQ(speller->languages(), QStringList({QStringLiteral("ru_RU"), QStringLiteral("xx_YY")}));
    const QString text = u8("Привет, мир превет прівет");
    const std::vector<spelling::Flag> flags = speller->check(text);
    ASSERT_EQ(flags.size(), 2u);
    EXPECT_EQ(text.mid(flags[0].start, flags[0].length), u8("превет"));
    EXPECT_EQ(text.mid(flags[1].start, flags[1].length), u8("прівет"));
    EXPECT_NO_THROW(speller->suggestions(u8("прівет")));
    EXPECT_TRUE(speller->suggestions(u8("превет")).contains(u8("привет")));
}
