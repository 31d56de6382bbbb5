#include "editor/RichEditFixture.h"

#include "platform/VeltrixError.h"
#include "tools/FindReplace.h"

#include <QTextCursor>
#include <QTextTable>

using findreplace::SearchOptions;

namespace {

class FindReplaceLogicTest : public RichEditTest {
protected:
    // The starts that Find Next presses select one after another.
    QList<int> presses(const QString &text, SearchOptions options, int count)
    {
        QList<int> starts;
        for (int i = 0; i < count; ++i) {
            if (!findreplace::selectNext(*editor, text, options))
                break;
            EXPECT_EQ(editor->SelectionLength(), text.size());
            starts.append(editor->SelectionStart());
        }
        return starts;
    }

    static SearchOptions up() { return SearchOptions{false, false, false}; }
    static SearchOptions matchCase() { return SearchOptions{true, false, true}; }
    static SearchOptions wholeWord() { return SearchOptions{false, true, true}; }
};

} // namespace

TEST_F(FindReplaceLogicTest, FindNextGoesOnFromTheSelectionAndAroundTheEndOnce)
{
    editor->setText("ab\ncab ab\nxx");
    select(4, 0); // inside the second "ab"'s paragraph, before it
    EXPECT_EQ(presses("ab", {}, 4), (QList<int>{4, 7, 0, 4}));
    select(5, 0); // inside an occurrence: that one is behind the caret
    EXPECT_EQ(presses("ab", {}, 1), QList<int>{7});

    select(7, 2); // Up starts at the selection's start
    EXPECT_EQ(presses("ab", up(), 4), (QList<int>{4, 0, 7, 4}));

    // The only occurrence, selected, is found again after going round.
    editor->setText("one needle");
    select(4, 6);
    EXPECT_EQ(presses("needle", {}, 1), QList<int>{4});
    EXPECT_EQ(presses("needle", up(), 1), QList<int>{4});

    // Overlapping occurrences follow one another; none reaches across a paragraph end.
    editor->setText("aaa\na");
    select(0, 0);
    EXPECT_EQ(presses("aa", {}, 3), (QList<int>{0, 0, 0}));
    select(1, 0);
    EXPECT_EQ(presses("aa", {}, 1), QList<int>{1});
    select(2, 0);
    EXPECT_FALSE(findreplace::selectNext(*editor, "a\na", {}));
    EXPECT_FALSE(findreplace::selectNext(*editor, QString(), {}));
    EXPECT_EQ(editor->SelectionStart(), 2); // a failed search leaves the selection
}

TEST_F(FindReplaceLogicTest, MatchCaseOffFoldsCyrillicAndLatinLetters)
{
    editor->setText(QStringLiteral("Ёлка ЁЛКА ёлка Tree TREE"));
    select(0, 0);
    EXPECT_EQ(presses(QStringLiteral("ёлКа"), {}, 3), (QList<int>{0, 5, 10}));
    EXPECT_EQ(presses("tree", {}, 2), (QList<int>{15, 20}));
    EXPECT_EQ(presses(QStringLiteral("ЁЛКА"), matchCase(), 2), (QList<int>{5, 5}));
    EXPECT_FALSE(findreplace::selectNext(*editor, "tree", matchCase()));
    EXPECT_FALSE(findreplace::selectNext(*editor, QStringLiteral("елка"), {})); // е is not ё
}

TEST_F(FindReplaceLogicTest, WholeWordStopsAtLettersAndDigitsOnly)
{
    struct Case {
        QString text;
        QString search;
        int start; // -1: not found
    } cases[] = {
        {"cat1 cat", "cat", 5},        // a digit belongs to the word
        {"1cat, cat", "cat", 6},
        {"cat_x", "cat", 0},           // underscore, apostrophe and hyphen part words
        {"don't", "don", 0},
        {"a-b", "b", 2},
        {QStringLiteral("котик кот."), QStringLiteral("кот"), 6},
        {QStringLiteral("catкот"), "cat", -1}, // Latin and Cyrillic letters make one word
        {"(cat)", "(cat", 0},          // punctuation at its edge needs no boundary there
        {"x-5 -5", "-5", 1},
        {"ab\ncd", "cd", 3},           // a paragraph's start is a boundary
        {QStringLiteral("и\u0306x и"), QStringLiteral("и"), 4}, // a combining mark is part of its letter
    };
    for (const Case &c : cases) {
        editor->setText(c.text);
        select(0, 0);
        const bool found = findreplace::selectNext(*editor, c.search, wholeWord());
        EXPECT_EQ(found ? editor->SelectionStart() : -1, c.start) << c.text.toStdString();
    }
    editor->setText("cat cats cat");
    select(12, 0);
    EXPECT_EQ(presses("cat", SearchOptions{false, true, false}, 2), (QList<int>{9, 0}));
}

TEST_F(FindReplaceLogicTest, SearchesInsideTableCells)
{
    editor->setText("before");
    QTextCursor cursor(editor->document());
    cursor.movePosition(QTextCursor::End);
    QTextTable *table = cursor.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText("x key");
    table->cellAt(0, 1).firstCursorPosition().insertText("key");
    select(0, 0);
    const int first = table->cellAt(0, 0).firstPosition() + 2;
    EXPECT_EQ(presses("key", wholeWord(), 3), (QList<int>{first, table->cellAt(0, 1).firstPosition(), first}));
    EXPECT_EQ(editor->SelectedText(), "key");
    EXPECT_FALSE(findreplace::selectNext(*editor, "keyk", {})); // not across the cells
}

TEST_F(FindReplaceLogicTest, ReplaceTakesOnlyAnOccurrence)
{
    editor->setText("Cat dog cat");
    select(0, 3); // "Cat": an occurrence unless the case counts
    EXPECT_EQ(findreplace::replaceSelectionOrSelectNext(*editor, "cat", "cow", matchCase()),
              findreplace::ReplaceOutcome::SelectedNext);
    EXPECT_EQ(editor->Text(), "Cat dog cat");
    EXPECT_EQ(editor->SelectionStart(), 8);
    EXPECT_EQ(findreplace::replaceSelectionOrSelectNext(*editor, "cat", "cow", matchCase()),
              findreplace::ReplaceOutcome::Replaced);
    EXPECT_EQ(editor->Text(), "Cat dog cow");
    EXPECT_EQ(editor->SelectionStart(), 8);
    EXPECT_EQ(editor->SelectedText(), "cow");

    select(0, 2); // part of an occurrence is not one
    EXPECT_EQ(findreplace::replaceSelectionOrSelectNext(*editor, "cat", "x", {}), findreplace::ReplaceOutcome::SelectedNext);
    EXPECT_EQ(editor->SelectedText(), "Cat");
    editor->setModified(false);
    EXPECT_EQ(findreplace::replaceSelectionOrSelectNext(*editor, "bird", "x", {}), findreplace::ReplaceOutcome::NotFound);
    EXPECT_FALSE(editor->IsModified());
    EXPECT_EQ(editor->SelectedText(), "Cat");
}

TEST_F(FindReplaceLogicTest, ReplaceAllIsOneStepKeepingTheFormatsAround)
{
    editor->setText("a-a\nBold a\naa");
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor cursor(editor->document());
    cursor.setPosition(4);
    cursor.setPosition(10, QTextCursor::KeepAnchor); // "Bold a", its "a" the first replaced there
    cursor.mergeCharFormat(bold);
    const auto boldAt = [this](int position) {
        QTextCursor probe(editor->document());
        probe.setPosition(position + 1);
        return probe.charFormat().fontWeight() == QFont::Bold;
    };

    // The new text holds the old: each occurrence is replaced once.
    EXPECT_EQ(findreplace::replaceAll(*editor, "A", "[aa]", {}), 5);
    EXPECT_EQ(editor->Text(), "[aa]-[aa]\r\nBold [aa]\r\n[aa][aa]");
    EXPECT_TRUE(boldAt(15) && boldAt(18) && boldAt(14)); // "[aa]" and the " " before it
    EXPECT_FALSE(boldAt(8) || boldAt(20));               // the "]" before "Bold", the next paragraph's "["
    EXPECT_EQ(editor->SelectionStart(), editor->TextLength());
    EXPECT_EQ(editor->SelectionLength(), 0);

    editor->Undo();
    EXPECT_EQ(editor->Text(), "a-a\r\nBold a\r\naa");
    EXPECT_TRUE(boldAt(9));

    // Whole words only; the caret after the last replacement; nothing found, nothing done.
    EXPECT_EQ(findreplace::replaceAll(*editor, "a", QString(), wholeWord()), 3);
    EXPECT_EQ(editor->Text(), "-\r\nBold \r\naa");
    EXPECT_EQ(editor->SelectionStart(), 7);
    editor->setModified(false);
    EXPECT_EQ(findreplace::replaceAll(*editor, "x", "y", {}), 0);
    EXPECT_FALSE(editor->IsModified());
}

TEST_F(FindReplaceLogicTest, ReplaceAllRefusesToOutgrowTheDocumentsPositions)
{
    constexpr int kOccurrences = 8500000; // times 254 more each: past 2^31
    editor->setText(QString(kOccurrences, QLatin1Char('a')));
    editor->setModified(false);
    EXPECT_THROW(findreplace::replaceAll(*editor, "a", QString(255, QLatin1Char('b')), {}), VeltrixError);
    EXPECT_FALSE(editor->IsModified());
    EXPECT_EQ(editor->TextLength(), kOccurrences);
}

TEST(FindReplaceMessages, InEitherLanguage)
{
    EXPECT_EQ(findreplace::notFoundText(true, "abc"), "String abc isn*t found!");
    EXPECT_EQ(findreplace::notFoundText(false, QStringLiteral("мир")), QStringLiteral("Строка мир не найдена!"));
    EXPECT_EQ(findreplace::nextNotFoundText(true), "Text isn*t found!");
    EXPECT_EQ(findreplace::nextNotFoundText(false), QStringLiteral("Текст не найден!"));
    EXPECT_EQ(findreplace::replacedCountText(true, 3), "Replaced: 3");
    EXPECT_EQ(findreplace::replacedCountText(false, 100000), QStringLiteral("Заменено: 100000"));
}

// Every start Qt's own search finds, in either direction and either case,
// where naive skipping goes wrong: repeats in the text, letters folding to
// others (Kelvin sign, long s), letters outside the BMP, texts longer than a
// skip can be.
TEST(FindReplaceMatcher, FindsWhatQtFinds)
{
    const QString longText = QString(300, QLatin1Char('b')) + QLatin1Char('a');
    const struct {
        QString haystack;
        QString needle;
    } cases[] = {
        {"aaab aab abab", "aab"},
        {QStringLiteral("\u212Aelvin kelvin KELVIN"), "kelvin"},
        {QStringLiteral("Straſſe STRASSE strasse"), "strasse"},
        {QStringLiteral("Ёж ёж ЁЖ еж"), QStringLiteral("ёж")},
        {QStringLiteral("\U00010400x \U00010428x"), QStringLiteral("\U00010428X")},
        {QString(700, QLatin1Char('b')) + "a" + longText, longText},
    };
    for (const auto &c : cases) {
        for (const Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
            const findreplace::TextMatcher matcher(c.needle, cs == Qt::CaseSensitive);
            QList<qsizetype> ours, qts, oursBack;
            for (qsizetype i = matcher.indexIn(c.haystack, 0, c.haystack.size()); i >= 0;
                 i = matcher.indexIn(c.haystack, i + 1, c.haystack.size()))
                ours.append(i);
            for (qsizetype i = c.haystack.indexOf(c.needle, 0, cs); i >= 0; i = c.haystack.indexOf(c.needle, i + 1, cs))
                qts.append(i);
            for (qsizetype i = matcher.lastIndexIn(c.haystack, c.haystack.size(), 0); i >= 0;
                 i = matcher.lastIndexIn(c.haystack, i - 1, 0))
                oursBack.prepend(i);
            EXPECT_EQ(ours, qts) << c.needle.toStdString() << " " << cs;
            EXPECT_EQ(oursBack, qts) << c.needle.toStdString() << " " << cs;
        }
    }
}
