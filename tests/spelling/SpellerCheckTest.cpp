#include "SpellingFixture.h"

#include "support/TestHelpers.h"

using spelling::Flag;
using spelling::FlagKind;
using testhelpers::u8;

namespace {

const char kSeeded[] =
    "Вчера мы ⟦typo|обсуждали⟧ ⟦typo|пректа⟧ и ⟦case|пРивет⟧ всем. The ⟦typo|meetng⟧ was ⟦case|hELLo⟧ "
    "short. Он ⟦mixed|пpивет⟧ сказал, и ⟦mixed|sаlt⟧ тоже. ⟦layout|Ghbdtn|Привет⟧, ⟦layout|'nj|это⟧ "
    "ещё ⟦layout|ntrcn|текст⟧. Say ⟦layout|руддщ|hello⟧ ⟦layout|цщкдвб|world,⟧ to ⟦layout|vjq|мой⟧ friend, ⟦layout|rnj-yb,elm|кто-нибудь⟧ ⟦layout|`krf|ёлка⟧.";

const char kClean[] =
    "Ёлка и елка растут в лесу; кто-нибудь придёт. Москва — столица. It's a well-known fact, "
    "don't worry: London is big. ГОСТ, NASA и ООО «Ромашка» работают с 2024 года, версия 3.0, "
    "код abc123, COVID-19, PDF-файл. Пишите на ivan.petrov@example.com или зайдите на "
    "https://example.com/путь?q=ошибкаа и www.primer.ru/страница. "
    "Hello, world; (this) is \"quoted\" [text], end. Замо\u0301к при\u00ADвет при\u200Bвет. Это — «цитата», т. е. пример, т.д.";

} // namespace

TEST_F(SpellerTest, FlagsEverySeededErrorWithItsKind)
{
    // "обсуждали" is right: the first seed is a check that nothing right is flagged among the wrong.
    const SeededText seeded = SeededText::parse(u8(kSeeded));
    std::vector<SeededText::Error> expected;
    for (const auto &e : seeded.errors)
        if (seeded.text.mid(e.start, e.length) != u8("обсуждали"))
            expected.push_back(e);
    const std::vector<Flag> flags = speller_->check(seeded.text);
    ASSERT_EQ(flags.size(), expected.size());
    for (std::size_t i = 0; i < flags.size(); ++i) {
        SCOPED_TRACE(seeded.text.mid(expected[i].start, expected[i].length).toStdString());
        EXPECT_EQ(flags[i].start, expected[i].start);
        EXPECT_EQ(flags[i].length, expected[i].length);
        EXPECT_EQ(flags[i].kind, expected[i].kind);
        EXPECT_EQ(flags[i].conversion, expected[i].conversion);
    }
}

TEST_F(SpellerTest, FlagsNothingInCleanText)
{
    const std::vector<Flag> flags = speller_->check(u8(kClean));
    for (const Flag &f : flags)
        ADD_FAILURE() << qPrintable(u8(kClean).mid(f.start, f.length));
}

TEST_F(SpellerTest, WrongLayoutRunKeepsRealPunctuationOut)
{
    // "xnj?" is "что," typed in the English layout; the comma after "ghbdtn" is a comma.
    const QString text = u8("ghbdtn, xnj? ,skj");
    const std::vector<Flag> flags = speller_->check(text);
    ASSERT_EQ(flags.size(), 3u);
    EXPECT_EQ(text.mid(flags[0].start, flags[0].length), u8("ghbdtn"));
    EXPECT_EQ(flags[1].conversion, u8("что"));
    EXPECT_EQ(flags[2].conversion, u8("было"));
}

TEST_F(SpellerTest, StrangeInputIsNoWord)
{
    QString garbage(1 << 20, u'ж');
    EXPECT_EQ(speller_->check(garbage).size(), 1u);
    QString surrogates = u8("привет ");
    surrogates += QChar(0xD800);
    surrogates += u8("мир ");
    surrogates += QChar(0xDC00);
    surrogates += QStringLiteral("\U0001D400word");
    EXPECT_TRUE(speller_->check(surrogates).empty());
    EXPECT_TRUE(speller_->check(QString(1 << 20, u';')).empty());
    EXPECT_TRUE(speller_->check(QString()).empty());
    // Many short wrong words in one run of keys, with and without spaces: linear, not quadratic.
    EXPECT_EQ(speller_->check(QStringLiteral("zq;qz!").repeated(1 << 17)).size(), std::size_t(1) << 18);
    EXPECT_EQ(speller_->check(QStringLiteral("'nj ").repeated(1 << 16)).size(), std::size_t(1) << 16);
}

TEST_F(SpellerTest, SuggestsTheConversionFirst)
{
    EXPECT_EQ(speller_->suggestions(u8("ghbdtn")).value(0), u8("привет"));
    EXPECT_EQ(speller_->suggestions(u8("руддщ")).value(0), u8("hello"));
    EXPECT_EQ(speller_->suggestions(u8("пpивет")).value(0), u8("привет"));
    const QStringList typo = speller_->suggestions(u8("пректа"), 3);
    EXPECT_LE(typo.size(), 3);
    EXPECT_TRUE(typo.contains(u8("проекта")));
}
