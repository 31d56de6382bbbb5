#include "SpellingFixture.h"

using spelling::FlagKind;

SeededText SeededText::parse(const QString &marked)
{
    SeededText seeded;
    qsizetype i = 0;
    while (i < marked.size()) {
        const qsizetype open = marked.indexOf(u'⟦', i);
        if (open < 0) {
            seeded.text += marked.mid(i);
            break;
        }
        seeded.text += marked.mid(i, open - i);
        const qsizetype close = marked.indexOf(u'⟧', open);
        const QStringList fields = marked.mid(open + 1, close - open - 1).split(u'|');
        const QString &kind = fields.at(0);
        Error error{int(seeded.text.size()), int(fields.at(1).size()), FlagKind::Misspelled, {}};
        if (kind == QLatin1String("mixed"))
            error.kind = FlagKind::MixedAlphabets;
        if (kind == QLatin1String("layout")) {
            error.kind = FlagKind::WrongLayout;
            error.conversion = fields.at(2);
        }
        seeded.text += fields.at(1);
        seeded.errors.push_back(error);
        i = close + 1;
    }
    return seeded;
}

void SpellerTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    speller_ = loadSpeller();
    if (!speller_->hasRussian() || !speller_->hasEnglish())
        GTEST_SKIP() << "install " << qPrintable(spelling::Speller::dictionaryPackages());
}

std::unique_ptr<spelling::Speller> SpellerTest::loadSpeller() const
{
    return spelling::Speller::load(spelling::Speller::systemDictionaryDirs(), listPath());
}
