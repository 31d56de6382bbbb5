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

TEST_F(FindReplaceTest, FindGoesOnFromTheSelectionEachWayAndCloses)
{
    TForm1 &f = formWith("Слово, слово\nи СЛОВО");
    RxRichEdit1(f)->setSelectionStart(3);
    findNext(f, QStringLiteral("слово"));
    EXPECT_EQ(handlers, (QStringList{"ToolButton14Click", "FindDialog1Find"}));
    expectSelected(f, 7, QStringLiteral("слово"));
    EXPECT_FALSE(findDialog().open);
    EXPECT_FALSE(RxRichEdit1(f)->HideSelection());
    findNext(f, QStringLiteral("слово"));
    expectSelected(f, 15, QStringLiteral("СЛОВО"));
    findNext(f, QStringLiteral("слово")); // round the end
    expectSelected(f, 0, QStringLiteral("Слово"));

    // Up, with the case and whole words as ticked.
    toolButton(f, 14)->click();
    findDialog().upChosen = true;
    findDialog().matchCaseTicked = true;
    findNext(f, QStringLiteral("СЛОВО"));
    expectSelected(f, 15, QStringLiteral("СЛОВО"));
    findDialog().matchCaseTicked = false;
    findDialog().wholeWordTicked = true;
    findNext(f, QStringLiteral("слов")); // only inside words
    EXPECT_EQ(messageTexts(), QStringList{"String слов isn*t found!"});
    EXPECT_TRUE(findDialog().open);
    expectSelected(f, 15, QStringLiteral("СЛОВО"));
}

TEST_F(FindReplaceTest, NotFoundSaysSoInTheInterfaceLanguage)
{
    TForm1 &f = formWith("ABC");
    useLanguage(f, false);
    toolButton(f, 14)->click();
    findDialog().matchCaseTicked = true;
    findNext(f, "abc");
    replaceFindNext(f, "xyz");
    useLanguage(f, true);
    ASSERT_TRUE(replaceDialog().pressFindNext());
    EXPECT_EQ(messageTexts(), (QStringList{QStringLiteral("Строка abc не найдена!"), QStringLiteral("Текст не найден!"),
                                           "Text isn*t found!"}));
    for (const platform::ShownMessage &message : platform.boxes.messages) {
        EXPECT_EQ(message.title, "Veltrix 3.0");
        EXPECT_EQ(message.icon, platform::MessageIcon::None);
    }
    EXPECT_TRUE(findDialog().open);
    EXPECT_TRUE(replaceDialog().open);
}

// The replace dialog -------------------------------------------------------------

TEST_F(FindReplaceTest, ReplaceFindNextStartsAtTheCaretInWhateverDocument)
{
    TForm1 &f = formWith("one two three");
    replaceFindNext(f, "three");
    EXPECT_EQ(handlers, (QStringList{"ToolButton20Click", "ReplaceDialog1Find"}));
    expectSelected(f, 8, "three");
    EXPECT_TRUE(replaceDialog().open);

    // Another, shorter document: its text is found from its caret.
    RxRichEdit1(f)->setText("three\nTHREE");
    RxRichEdit1(f)->setSelectionStart(2);
    ASSERT_TRUE(replaceDialog().pressFindNext());
    expectSelected(f, 6, "THREE");
    replaceDialog().wholeWordTicked = true;
    replaceDialog().matchCaseTicked = true;
    ASSERT_TRUE(replaceDialog().pressFindNext());
    expectSelected(f, 0, "three");
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(FindReplaceTest, ReplaceTakesAnOccurrenceOrFindsOne)
{
    TForm1 &f = formWith("Строка\nкот и котёл, кот");
    toolButton(f, 20)->click();
    replaceDialog().findWhat = QStringLiteral("кот");
    replaceDialog().replaceWith = QStringLiteral("пёс");
    replaceDialog().wholeWordTicked = true;
    RxRichEdit1(f)->setSelectionStart(0);
    RxRichEdit1(f)->setSelectionLength(6); // not an occurrence: the next one is selected instead
    handlers.clear();
    ASSERT_TRUE(replaceDialog().pressReplace());
    EXPECT_EQ(handlers, QStringList{"ReplaceDialog1Replace"});
    EXPECT_EQ(RxRichEdit1(f)->Text(), QStringLiteral("Строка\r\nкот и котёл, кот"));
    expectSelected(f, 7, QStringLiteral("кот"));
    EXPECT_TRUE(replaceDialog().open);

    ASSERT_TRUE(replaceDialog().pressReplace());
    EXPECT_EQ(RxRichEdit1(f)->Text(), QStringLiteral("Строка\r\nпёс и котёл, кот"));
    expectSelected(f, 7, QStringLiteral("пёс"));
    EXPECT_FALSE(replaceDialog().open);
    EXPECT_TRUE(RxRichEdit1(f)->IsModified());

    // Reopened, it remembers both texts and goes on past "котёл".
    toolButton(f, 20)->click();
    EXPECT_EQ(replaceDialog().replaceText(), QStringLiteral("пёс"));
    ASSERT_TRUE(replaceDialog().pressFindNext());
    expectSelected(f, 20, QStringLiteral("кот"));

    replaceDialog().findWhat = QStringLiteral("мышь");
    ASSERT_TRUE(replaceDialog().pressReplace());
    EXPECT_EQ(messageTexts(), QStringList{"Text isn*t found!"});
    expectSelected(f, 20, QStringLiteral("кот"));
}

TEST_F(FindReplaceTest, ReplaceAllReplacesEveryOccurrenceInOneUndoStep)
{
    TForm1 &f = formWith("a-A-a\na\nb");
    f.show();
    toolButton(f, 20)->click();
    replaceDialog().findWhat = "a";
    replaceDialog().replaceWith = "aa"; // holds what it replaces: must still end
    handlers.clear();
    ASSERT_TRUE(replaceDialog().pressReplaceAll());
    EXPECT_EQ(handlers, QStringList{"ReplaceDialog1ReplaceAll"});
    EXPECT_EQ(RxRichEdit1(f)->Text(), "aa-aa-aa\r\naa\r\nb");
    EXPECT_EQ(RxRichEdit1(f)->SelectionStart(), 11); // after the last replacement
    EXPECT_FALSE(replaceDialog().open);

    toolButton(f, 20)->click();
    replaceDialog().findWhat = "b";
    useLanguage(f, false);
    ASSERT_TRUE(replaceDialog().pressReplaceAll());
    EXPECT_EQ(messageTexts(), (QStringList{"Replaced: 4", QStringLiteral("Заменено: 1")}));

    QTest::keyClick(RxRichEdit1(f), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RxRichEdit1(f)->Text(), "aa-aa-aa\r\naa\r\nb");
    QTest::keyClick(RxRichEdit1(f), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RxRichEdit1(f)->Text(), "a-A-a\r\na\r\nb");

    toolButton(f, 20)->click();
    replaceDialog().findWhat = "c";
    ASSERT_TRUE(replaceDialog().pressReplaceAll());
    EXPECT_EQ(messageTexts().last(), QStringLiteral("Текст не найден!"));
    EXPECT_TRUE(replaceDialog().open);
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
    RxRichEdit1(f)->setSelectionStart(256);
    RxRichEdit1(f)->setSelectionLength(1);
    ASSERT_TRUE(replaceDialog().pressReplace());
    EXPECT_EQ(replaceDialog().findText(), "x");
    EXPECT_EQ(RxRichEdit1(f)->Text(), long255 + "\r\ny"); // replaced by one line
}
