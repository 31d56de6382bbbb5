#include "editor/RichEditFixture.h"

#include "tools/FindReplace.h"

#include <QTextCursor>

namespace {

using FindFirstTest = RichEditTest;
using FindNextTest = RichEditTest;
using ReplaceSelectionTest = RichEditTest;

} // namespace

// The find dialog's search ------------------------------------------------------

TEST_F(FindFirstTest, SelectsExactlyTheOccurrenceWhateverTheParagraphsBeforeIt)
{
    struct Case {
        QString text;
        QString search;
        int start;
    } cases[] = {
        {"one two", "two", 4},
        {"two", "two", 0},
        {"ab\ncd\nxyz\nfind me", "me", 15},  // three paragraph ends before it
        {"ab\n\n\n\nme", "me", 6},           // empty paragraphs count too
        {"first\nsecond", "second", 6},      // right at a paragraph's start
        {"Привет\nмир\nещё мир", "мир", 7},  // Cyrillic, the earlier one wins
        {"a\vb target", "target", 4},        // a soft break is one position either way
        {"x\ty\nz\tend", "end", 6},
    };
    for (const Case &c : cases) {
        editor->setText(c.text);
        ASSERT_TRUE(findreplace::selectFirstOccurrence(*editor, c.search)) << c.text.toStdString();
        EXPECT_EQ(editor->SelectionStart(), c.start) << c.text.toStdString();
        EXPECT_EQ(editor->SelectionLength(), c.search.size()) << c.text.toStdString();
        EXPECT_EQ(editor->SelectedText(), c.search) << c.text.toStdString();
    }
}

TEST_F(FindFirstTest, FarDownALongDocumentTheSelectionIsStillExact)
{
    QString text;
    for (int i = 0; i < 500; ++i)
        text += QStringLiteral("строка %1\n").arg(i);
    text += QStringLiteral("цель");
    editor->setText(text);
    ASSERT_TRUE(findreplace::selectFirstOccurrence(*editor, QStringLiteral("цель")));
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("цель"));
    EXPECT_EQ(editor->SelectionStart() + editor->SelectionLength(), editor->TextLength());
}

TEST_F(FindFirstTest, AlwaysTheFirstOccurrenceWhereverTheCaretIs)
{
    editor->setText("abc\nabc\nabc");
    for (int caret : {0, 2, 5, 9, 11}) {
        select(caret, 0);
        ASSERT_TRUE(findreplace::selectFirstOccurrence(*editor, "abc"));
        EXPECT_EQ(editor->SelectionStart(), 0) << caret;
        EXPECT_EQ(editor->SelectionLength(), 3) << caret;
    }
}

TEST_F(FindFirstTest, ComparesCaseExactly)
{
    editor->setText("ABC Мир\nabc");
    ASSERT_TRUE(findreplace::selectFirstOccurrence(*editor, "abc"));
    EXPECT_EQ(editor->SelectionStart(), 8);
    select(1, 2);
    EXPECT_FALSE(findreplace::selectFirstOccurrence(*editor, "мир"));
    EXPECT_FALSE(findreplace::selectFirstOccurrence(*editor, "aBc"));
    EXPECT_EQ(editor->SelectionStart(), 1); // a failed search leaves the selection
    EXPECT_EQ(editor->SelectionLength(), 2);
}

TEST_F(FindFirstTest, NothingToFind)
{
    editor->setText("text\nmore");
    select(2, 3);
    EXPECT_FALSE(findreplace::selectFirstOccurrence(*editor, QString()));
    EXPECT_FALSE(findreplace::selectFirstOccurrence(*editor, "absent"));
    EXPECT_EQ(editor->SelectionStart(), 2);
    EXPECT_EQ(editor->SelectionLength(), 3);

    editor->ClearAll();
    EXPECT_FALSE(findreplace::selectFirstOccurrence(*editor, "text"));
}

TEST_F(FindFirstTest, KeepsTheFoundTextVisibleOnlyWhenFound)
{
    editor->setText("visible");
    editor->setHideSelection(true);
    EXPECT_FALSE(findreplace::selectFirstOccurrence(*editor, "hidden"));
    EXPECT_TRUE(editor->HideSelection());
    ASSERT_TRUE(findreplace::selectFirstOccurrence(*editor, "visible"));
    EXPECT_FALSE(editor->HideSelection());
}

// The replace dialog's Find Next ------------------------------------------------

TEST_F(FindNextTest, WalksThroughEveryOccurrenceInAnyCaseThenStops)
{
    editor->setText("Abc abc\nABC\nмИр МИР");
    int position = 0;
    const std::pair<int, QString> expected[] = {{0, "Abc"}, {4, "abc"}, {8, "ABC"}};
    for (const auto &[start, text] : expected) {
        ASSERT_TRUE(findreplace::selectNextFrom(*editor, "abc", position)) << start;
        EXPECT_EQ(editor->SelectionStart(), start);
        EXPECT_EQ(editor->SelectedText(), text);
        EXPECT_EQ(position, start + 3);
    }
    for (int again = 0; again < 2; ++again) {
        EXPECT_FALSE(findreplace::selectNextFrom(*editor, "abc", position));
        EXPECT_EQ(position, 11);
        EXPECT_EQ(editor->SelectionStart(), 8);
        EXPECT_EQ(editor->SelectionLength(), 3);
    }

    position = 0;
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "мир", position));
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("мИр"));
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "мир", position));
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("МИР"));
    EXPECT_EQ(position, editor->TextLength());
}

TEST_F(FindNextTest, ReachesTheLastCharacterOfTheDocument)
{
    // Many paragraph ends before the start: the range must still run to the end.
    editor->setText("a\nb\nc\nd\ne\nxab");
    int position = 5;
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "ab", position));
    EXPECT_EQ(editor->SelectionStart(), 11);
    EXPECT_EQ(position, editor->TextLength());
}

TEST_F(FindNextTest, StartsAtThePositionNotAtTheCaret)
{
    editor->setText("word word word");
    select(12, 0);
    int position = 0;
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "word", position));
    EXPECT_EQ(editor->SelectionStart(), 0);

    position = 6; // inside the second word: that one is skipped
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "word", position));
    EXPECT_EQ(editor->SelectionStart(), 10);
}

TEST_F(FindNextTest, APositionBeyondTheEndFindsNothingUntilTextReachesIt)
{
    editor->setText("needle and a long tail of text");
    int position = 0;
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "tail", position));
    EXPECT_EQ(position, 22);

    editor->setText("tail"); // another, shorter document
    EXPECT_FALSE(findreplace::selectNextFrom(*editor, "tail", position));
    EXPECT_EQ(position, 22);
    position = 1000000;
    EXPECT_FALSE(findreplace::selectNextFrom(*editor, "tail", position));
    EXPECT_EQ(position, 1000000);

    editor->setText("0123456789012345678901 tail");
    position = 22;
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "tail", position));
    EXPECT_EQ(editor->SelectionStart(), 23);
}

TEST_F(FindNextTest, NothingToFind)
{
    editor->setText("some text");
    select(1, 2);
    int position = 0;
    EXPECT_FALSE(findreplace::selectNextFrom(*editor, QString(), position));
    EXPECT_FALSE(findreplace::selectNextFrom(*editor, "absent", position));
    EXPECT_EQ(position, 0);
    EXPECT_EQ(editor->SelectionStart(), 1);
    EXPECT_EQ(editor->SelectionLength(), 2);
}

TEST_F(FindNextTest, KeepsTheFoundTextVisible)
{
    editor->setText("Text");
    editor->setHideSelection(true);
    int position = 0;
    ASSERT_TRUE(findreplace::selectNextFrom(*editor, "text", position));
    EXPECT_FALSE(editor->HideSelection());
}

// Replacement --------------------------------------------------------------------

TEST_F(ReplaceSelectionTest, ReplacesWhateverIsSelectedAndSelectsTheNewText)
{
    editor->setText("Привет, мир!");
    select(8, 3);
    ASSERT_TRUE(findreplace::replaceSelection(*editor, QStringLiteral("world")));
    EXPECT_EQ(editor->Text(), QStringLiteral("Привет, world!"));
    EXPECT_EQ(editor->SelectionStart(), 8);
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("world"));

    select(0, 2); // not what anyone searched for: replaced all the same
    ASSERT_TRUE(findreplace::replaceSelection(*editor, QStringLiteral("Х")));
    EXPECT_EQ(editor->Text(), QStringLiteral("Хивет, world!"));
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("Х"));
}

TEST_F(ReplaceSelectionTest, ASelectionAcrossParagraphsBecomesOneParagraph)
{
    editor->setText("ab\ncd\nef");
    select(1, 5); // b, the end of the paragraph, c, d, the next end
    ASSERT_TRUE(findreplace::replaceSelection(*editor, "X"));
    EXPECT_EQ(editor->Text(), "aXef");
    EXPECT_EQ(editor->SelectionStart(), 1);
    EXPECT_EQ(editor->SelectionLength(), 1);
}

TEST_F(ReplaceSelectionTest, NothingSelectedChangesNothing)
{
    editor->setText("unchanged");
    editor->setModified(false);
    select(3, 0);
    EXPECT_FALSE(findreplace::replaceSelection(*editor, "new"));
    EXPECT_EQ(editor->Text(), "unchanged");
    EXPECT_EQ(editor->SelectionStart(), 3);
    EXPECT_FALSE(editor->IsModified());
}

TEST_F(ReplaceSelectionTest, AnEmptyReplacementDeletesTheSelection)
{
    editor->setText("keep drop keep");
    select(4, 5);
    ASSERT_TRUE(findreplace::replaceSelection(*editor, QString()));
    EXPECT_EQ(editor->Text(), "keep keep");
    EXPECT_EQ(editor->SelectionStart(), 4);
    EXPECT_EQ(editor->SelectionLength(), 0);
}

TEST_F(ReplaceSelectionTest, AReplacementHoldingTheSelectedTextIsMadeOnce)
{
    editor->setText("a b a");
    select(0, 1);
    ASSERT_TRUE(findreplace::replaceSelection(*editor, "aa"));
    EXPECT_EQ(editor->Text(), "aa b a");
    EXPECT_EQ(editor->SelectedText(), "aa");
}

TEST_F(ReplaceSelectionTest, IsUndoneInOneStep)
{
    editor->setText("one two three");
    select(4, 3);
    editor->setHideSelection(true);
    ASSERT_TRUE(findreplace::replaceSelection(*editor, "2"));
    EXPECT_FALSE(editor->HideSelection());
    ASSERT_TRUE(editor->CanUndo());
    editor->Undo();
    EXPECT_EQ(editor->Text(), "one two three");
}

// Messages -----------------------------------------------------------------------

TEST(FindReplaceMessages, NameTheSearchTextInEitherLanguage)
{
    EXPECT_EQ(findreplace::notFoundText(true, "abc"), "String abc isn*t found!");
    EXPECT_EQ(findreplace::notFoundText(false, QStringLiteral("мир")), QStringLiteral("Строка мир не найдена!"));
    EXPECT_EQ(findreplace::nextNotFoundText(true), "Text isn*t found!");
    EXPECT_EQ(findreplace::nextNotFoundText(false), QStringLiteral("Текст не найден!"));
}
