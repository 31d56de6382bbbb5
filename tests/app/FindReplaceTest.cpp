#include "MainWindowFixture.h"

#include "editor/TRxRichEdit.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

// The main window with a document, and the two fake dialogs.
class FindReplaceTest : public MainWindowTest {
protected:
    TForm1 &formWith(const QString &text)
    {
        TForm1 &f = createForm();
        RxRichEdit1(f)->setText(text);
        return f;
    }

    platform::FakeFindDialog &findDialog() { return platform.findReplace.find; }
    platform::FakeFindDialog &replaceDialog() { return platform.findReplace.replace; }

    // Opens the find dialog, types `text` and presses Find Next.
    void findNext(TForm1 &f, const QString &text)
    {
        toolButton(f, 14)->click();
        findDialog().findWhat = text;
        ASSERT_TRUE(findDialog().pressFindNext());
    }

    // Opens the replace dialog (or brings it up) and presses Find Next.
    void replaceFindNext(TForm1 &f, const QString &text)
    {
        toolButton(f, 20)->click();
        replaceDialog().findWhat = text;
        ASSERT_TRUE(replaceDialog().pressFindNext());
    }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const platform::ShownMessage &message : platform.boxes.messages)
            texts.append(message.text);
        return texts;
    }

    void expectSelected(TForm1 &f, int start, const QString &text)
    {
        EXPECT_EQ(RxRichEdit1(f)->SelectionStart(), start);
        EXPECT_EQ(RxRichEdit1(f)->SelectedText(), text);
    }
};

} // namespace

// Opening ------------------------------------------------------------------------

TEST_F(FindReplaceTest, KeysButtonsAndMenusOpenTheModelessDialogs)
{
    TForm1 &f = createForm();
    f.show();
    QTest::keyClick(RxRichEdit1(f), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(findDialog().open);
    EXPECT_EQ(findDialog().owner, &f);
    EXPECT_FALSE(replaceDialog().open);

    QTest::keyClick(RxRichEdit1(f), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(replaceDialog().open);
    EXPECT_EQ(replaceDialog().owner, &f);
    EXPECT_TRUE(findDialog().open); // both may be open at once

    // Opening an open dialog brings it to the front, keeping what was typed.
    findDialog().findWhat = QStringLiteral("typed");
    menuItem(f, QStringLiteral("N25"))->trigger();
    menuItem(f, QStringLiteral("N74"))->trigger();
    EXPECT_EQ(findDialog().shown, 3);
    EXPECT_EQ(findDialog().findText(), "typed");
    menuItem(f, QStringLiteral("N26"))->trigger();
    menuItem(f, QStringLiteral("N75"))->trigger();
    EXPECT_EQ(replaceDialog().shown, 3);
}

TEST_F(FindReplaceTest, ButtonsNeedSomethingToFind)
{
    TForm1 &f = formWith("text");
    toolButton(f, 14)->click();
    toolButton(f, 20)->click();
    handlers.clear();
    EXPECT_FALSE(findDialog().pressFindNext());
    EXPECT_FALSE(replaceDialog().pressFindNext());
    EXPECT_FALSE(replaceDialog().pressReplaceAll());
    EXPECT_FALSE(findDialog().pressReplace()); // not on the find dialog
    EXPECT_TRUE(handlers.isEmpty());
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

// The find dialog ----------------------------------------------------------------

TEST_F(FindReplaceTest, FindSelectsTheFirstOccurrenceAndCloses)
{
    TForm1 &f = formWith("Первый абзац\nвторой: слово\nтретий: слово");
    RxRichEdit1(f)->setSelectionStart(30);
    findNext(f, QStringLiteral("слово"));
    EXPECT_EQ(handlers, (QStringList{"ToolButton14Click", "FindDialog1Find"}));
    expectSelected(f, 21, QStringLiteral("слово"));
    EXPECT_FALSE(findDialog().open);
    EXPECT_FALSE(RxRichEdit1(f)->HideSelection());
    EXPECT_TRUE(platform.boxes.messages.isEmpty());

    // Again and again: the second occurrence is never reached.
    for (int i = 0; i < 3; ++i) {
        findNext(f, QStringLiteral("слово"));
        expectSelected(f, 21, QStringLiteral("слово"));
    }
}

TEST_F(FindReplaceTest, FindNotFoundSaysSoInTheInterfaceLanguage)
{
    TForm1 &f = formWith("ABC\nМир");
    RxRichEdit1(f)->setSelectionStart(1);
    RxRichEdit1(f)->setSelectionLength(2);

    useLanguage(f, true);
    findNext(f, "abc"); // exact case only
    useLanguage(f, false);
    ASSERT_TRUE(findDialog().pressFindNext());
    findDialog().findWhat = QStringLiteral("мир");
    ASSERT_TRUE(findDialog().pressFindNext());

    EXPECT_EQ(messageTexts(), (QStringList{"String abc isn*t found!", QStringLiteral("Строка abc не найдена!"),
                                           QStringLiteral("Строка мир не найдена!")}));
    for (const platform::ShownMessage &message : platform.boxes.messages) {
        EXPECT_EQ(message.title, "Veltrix 3.0");
        EXPECT_EQ(message.icon, platform::MessageIcon::None);
    }
    EXPECT_TRUE(findDialog().open);
    expectSelected(f, 1, "BC");
}

TEST_F(FindReplaceTest, FindIgnoresTheDialogsOptions)
{
    TForm1 &f = formWith("xaby\nab");
    toolButton(f, 14)->click();
    findDialog().wholeWordTicked = true;
    findDialog().upChosen = true;
    findNext(f, "ab");
    expectSelected(f, 1, "ab"); // inside a word, and not searched upwards

    toolButton(f, 14)->click();
    findDialog().matchCaseTicked = false; // unticked, the case still counts
    findDialog().findWhat = "AB";
    ASSERT_TRUE(findDialog().pressFindNext());
    EXPECT_EQ(messageTexts(), QStringList{"String AB isn*t found!"}); // still exact case
}

// The replace dialog's Find Next -------------------------------------------------

TEST_F(FindReplaceTest, ReplaceFindNextWalksOnIgnoringCaseAndStaysOpen)
{
    TForm1 &f = formWith("Мир, мир\nи МИР");
    EXPECT_EQ(f.replaceFindPos(), 0);
    RxRichEdit1(f)->setSelectionStart(10); // the caret does not matter
    replaceFindNext(f, QStringLiteral("мир"));
    EXPECT_EQ(handlers, (QStringList{"ToolButton20Click", "ReplaceDialog1Find"}));
    expectSelected(f, 0, QStringLiteral("Мир"));
    EXPECT_EQ(f.replaceFindPos(), 3);
    EXPECT_TRUE(replaceDialog().open);
    EXPECT_FALSE(RxRichEdit1(f)->HideSelection());

    ASSERT_TRUE(replaceDialog().pressFindNext());
    expectSelected(f, 5, QStringLiteral("мир"));
    ASSERT_TRUE(replaceDialog().pressFindNext());
    expectSelected(f, 11, QStringLiteral("МИР"));
    EXPECT_EQ(f.replaceFindPos(), 14);
    EXPECT_TRUE(platform.boxes.messages.isEmpty());

    // Past the last one it keeps saying so; nothing moves.
    ASSERT_TRUE(replaceDialog().pressFindNext());
    useLanguage(f, false);
    ASSERT_TRUE(replaceDialog().pressFindNext());
    EXPECT_EQ(messageTexts(), (QStringList{"Text isn*t found!", QStringLiteral("Текст не найден!")}));
    EXPECT_EQ(platform.boxes.messages.first().title, "Veltrix 3.0");
    EXPECT_EQ(f.replaceFindPos(), 14);
    expectSelected(f, 11, QStringLiteral("МИР"));
    EXPECT_TRUE(replaceDialog().open);
}

TEST_F(FindReplaceTest, ReplaceFindNextIgnoresTheDialogsOptions)
{
    TForm1 &f = formWith("xABCy");
    toolButton(f, 20)->click();
    replaceDialog().matchCaseTicked = true;
    replaceDialog().wholeWordTicked = true;
    replaceFindNext(f, "abc");
    expectSelected(f, 1, "ABC");
}

TEST_F(FindReplaceTest, ReplaceFindPosIsNeverReset)
{
    TForm1 &f = formWith("one two three");
    replaceFindNext(f, "three");
    EXPECT_EQ(f.replaceFindPos(), 13);

    // Neither the find dialog nor a new document brings it back.
    findNext(f, "one");
    EXPECT_EQ(f.replaceFindPos(), 13);
    RxRichEdit1(f)->ClearAll();
    RxRichEdit1(f)->setText("three\nthree");
    replaceFindNext(f, "three");
    EXPECT_EQ(messageTexts(), QStringList{"Text isn*t found!"});
    EXPECT_EQ(f.replaceFindPos(), 13);

    // Text that reaches beyond it is searched from there.
    RxRichEdit1(f)->setText("three three three three");
    ASSERT_TRUE(replaceDialog().pressFindNext());
    expectSelected(f, 18, "three");
    EXPECT_EQ(f.replaceFindPos(), 23);
}

// Replace and Replace All --------------------------------------------------------

TEST_F(FindReplaceTest, ReplaceTakesTheFoundTextSelectsTheNewOneAndCloses)
{
    TForm1 &f = formWith("Строка\nкот и кот");
    replaceFindNext(f, QStringLiteral("кот"));
    replaceDialog().replaceWith = QStringLiteral("пёс");
    handlers.clear();
    ASSERT_TRUE(replaceDialog().pressReplace());
    EXPECT_EQ(handlers, QStringList{"ReplaceDialog1Replace"});
    EXPECT_EQ(RxRichEdit1(f)->Text(), QStringLiteral("Строка\r\nпёс и кот"));
    expectSelected(f, 7, QStringLiteral("пёс"));
    EXPECT_FALSE(replaceDialog().open);
    EXPECT_EQ(f.replaceFindPos(), 10); // not moved by the replacement
    EXPECT_TRUE(RxRichEdit1(f)->IsModified());

    // Reopened, it remembers both texts and goes on after the first match.
    toolButton(f, 20)->click();
    EXPECT_EQ(replaceDialog().findText(), QStringLiteral("кот"));
    EXPECT_EQ(replaceDialog().replaceText(), QStringLiteral("пёс"));
    ASSERT_TRUE(replaceDialog().pressFindNext());
    expectSelected(f, 13, QStringLiteral("кот"));
}

TEST_F(FindReplaceTest, ReplaceAllMakesTheOneReplacementOnly)
{
    TForm1 &f = formWith("a-a-a\na");
    replaceFindNext(f, "a");
    replaceDialog().replaceWith = "aa"; // holds what it replaces: must still end
    handlers.clear();
    ASSERT_TRUE(replaceDialog().pressReplaceAll());
    EXPECT_EQ(handlers, QStringList{"ReplaceDialog1Replace"});
    EXPECT_EQ(RxRichEdit1(f)->Text(), "aa-a-a\r\na");
    expectSelected(f, 0, "aa");
    EXPECT_FALSE(replaceDialog().open);
}

TEST_F(FindReplaceTest, ReplaceTakesAnySelection)
{
    TForm1 &f = formWith("left right");
    toolButton(f, 20)->click();
    replaceDialog().findWhat = "nowhere";
    replaceDialog().replaceWith = "LEFT";
    RxRichEdit1(f)->setSelectionStart(0);
    RxRichEdit1(f)->setSelectionLength(4);
    ASSERT_TRUE(replaceDialog().pressReplace());
    EXPECT_EQ(RxRichEdit1(f)->Text(), "LEFT right");
    expectSelected(f, 0, "LEFT");
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(FindReplaceTest, ReplaceWithNothingSelectedDoesNothing)
{
    TForm1 &f = formWith("text");
    RxRichEdit1(f)->setModified(false);
    RxRichEdit1(f)->setSelectionStart(2);
    toolButton(f, 20)->click();
    replaceDialog().findWhat = "text";
    replaceDialog().replaceWith = "new";
    ASSERT_TRUE(replaceDialog().pressReplace());
    ASSERT_TRUE(replaceDialog().pressReplaceAll());
    EXPECT_EQ(RxRichEdit1(f)->Text(), "text");
    EXPECT_FALSE(RxRichEdit1(f)->IsModified());
    EXPECT_TRUE(replaceDialog().open);
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(FindReplaceTest, FieldsHoldOneLineOf255Characters)
{
    const QString long255(255, QLatin1Char('x'));
    TForm1 &f = formWith(long255 + "\nx");
    toolButton(f, 14)->click();
    findDialog().findWhat = long255 + "x"; // the 256th is not taken
    ASSERT_TRUE(findDialog().pressFindNext());
    expectSelected(f, 0, long255);

    toolButton(f, 20)->click();
    replaceDialog().findWhat = "x\r\nsecond line";
    replaceDialog().replaceWith = "y\nz";
    ASSERT_TRUE(replaceDialog().pressReplace());
    EXPECT_EQ(replaceDialog().findText(), "x");
    EXPECT_EQ(RxRichEdit1(f)->Text(), "y\r\nx"); // the selection, replaced by one line
}
