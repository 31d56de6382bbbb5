#include "SpellingFixture.h"

#include "platform/VeltrixError.h"
#include "support/TestHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using testhelpers::u8;

TEST_F(SpellerTest, WordAddedByOneCopyIsRightInAnotherAfterRefresh)
{
    const QString word = u8("Вельтрикс");
    std::unique_ptr<spelling::Speller> other = loadSpeller();
    ASSERT_EQ(other->check(word).size(), 1u);
    const quint64 before = other->generation();

    speller_->addToDictionary(word);
    EXPECT_TRUE(speller_->check(word).empty());
    EXPECT_TRUE(other->refreshPersonalList());
    EXPECT_GT(other->generation(), before);
    EXPECT_TRUE(other->check(word).empty());
    EXPECT_TRUE(other->check(u8("ВЕЛЬТРИКС")).empty());
    EXPECT_FALSE(other->refreshPersonalList());
    EXPECT_EQ(testhelpers::readFile(listPath()), word.toUtf8() + '\n');
}

TEST_F(SpellerTest, AddingKeepsWhatTheFileHeld)
{
    QByteArray garbage("\x00\xff\xfe binary\n", 12);
    garbage += QByteArray(1000, '\x01');
    ASSERT_TRUE(QDir().mkpath(QFileInfo(listPath()).path()));
    ASSERT_TRUE(testhelpers::writeFile(listPath(), garbage));
    speller_ = loadSpeller();
    speller_->addToDictionary(QStringLiteral("qwzx"));
    EXPECT_EQ(testhelpers::readFile(listPath()), garbage + "\nqwzx\n");
    EXPECT_TRUE(speller_->check(QStringLiteral("qwzx")).empty());
}

TEST_F(SpellerTest, HugeListIsReadInPartAndNotAddedTo)
{
    constexpr qsizetype kHugeBytes = 9 * 1024 * 1024;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(listPath()).path()));
    ASSERT_TRUE(testhelpers::writeFile(listPath(), "qwzx\n" + QByteArray(kHugeBytes, 'x')));
    speller_ = loadSpeller();
    EXPECT_TRUE(speller_->check(QStringLiteral("qwzx")).empty());
    EXPECT_THROW(speller_->addToDictionary(QStringLiteral("zxqw")), VeltrixError);
    EXPECT_EQ(QFileInfo(listPath()).size(), kHugeBytes + 5);
}

TEST_F(SpellerTest, UnwritableListThrowsWithItsPath)
{
    // The list's folder is a file: nothing can be made there.
    ASSERT_TRUE(testhelpers::writeFile(dir_.filePath(QStringLiteral("config")), "x"));
    speller_ = loadSpeller();
    try {
        speller_->addToDictionary(QStringLiteral("qwzx"));
        FAIL() << "no error";
    } catch (const VeltrixError &e) {
        EXPECT_TRUE(e.message().contains(listPath())) << qPrintable(e.message());
    }
}

TEST_F(SpellerTest, IgnoreAllLastsForThisRunOnly)
{
    const QString text = QStringLiteral("Qwzx and qwzx");
    ASSERT_EQ(speller_->check(text).size(), 2u);
    const quint64 before = speller_->generation();
    speller_->ignoreAll(QStringLiteral("qwzx"));
    EXPECT_GT(speller_->generation(), before);
    EXPECT_TRUE(speller_->check(text).empty());
    EXPECT_EQ(loadSpeller()->check(text).size(), 2u);
    EXPECT_FALSE(QFile::exists(listPath()));
}

TEST(SpellerWithoutDictionaries, IsUnavailableAndFlagsNothing)
{
    QTemporaryDir dir;
    const auto speller = spelling::Speller::load({dir.path()}, dir.filePath(QStringLiteral("words.txt")));
    EXPECT_FALSE(speller->available());
    EXPECT_TRUE(speller->languages().isEmpty());
    EXPECT_TRUE(speller->check(QStringLiteral("qwzx")).empty());
    EXPECT_EQ(spelling::Speller::dictionaryPackages(), QStringLiteral("hunspell-ru hunspell-en-us"));
}
