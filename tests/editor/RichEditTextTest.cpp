#include "RichEditFixture.h"

#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>

TEST_F(RichEditTest, ParagraphEndIsOnePositionButTwoCharactersOfText)
{
    editor->setText("ab\r\ncd");
    EXPECT_EQ(editor->Text(), "ab\r\ncd");
    EXPECT_EQ(editor->Text().size(), 6);
    EXPECT_EQ(editor->TextLength(), 5);
    EXPECT_EQ(editor->FindInText("c", 0, 5), 3);
    select(3, 1);
    EXPECT_EQ(editor->SelectedText(), "c");
    select(1, 3);
    EXPECT_EQ(editor->SelectedText(), "b\rc");
}

TEST_F(RichEditTest, LineBreaksOfEveryKindMakeParagraphs)
{
    editor->setText("a\nb\rc\r\nd");
    EXPECT_EQ(editor->Text(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(editor->document()->blockCount(), 4);
}

TEST_F(RichEditTest, ReplacingTheSelectionIsOneUndoStepAndLeavesTheNewTextSelected)
{
    editor->setText("one two three");
    select(4, 3);
    editor->setSelectedText("2\r\nsecond");
    EXPECT_EQ(editor->Text(), "one 2\r\nsecond three");
    EXPECT_EQ(editor->SelectionStart(), 4);
    EXPECT_EQ(editor->SelectionLength(), 8); // the break counts one position
    EXPECT_EQ(editor->SelectedText(), "2\rsecond");
    ASSERT_TRUE(editor->CanUndo());
    editor->Undo();
    EXPECT_EQ(editor->Text(), "one two three");
    EXPECT_TRUE(editor->CanRedo());
}

TEST_F(RichEditTest, ReplacementTakesTheFormatAtTheStartOfTheOldSelection)
{
    editor->setText("bold plain");
    select(0, 4);
    editor->SelectionFormat().setStyle(FontStyle::Bold);
    select(2, 5); // "ld pl": starts in bold text
    editor->setSelectedText("XYZ");
    select(2, 3);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
    select(6, 1);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles());
}

TEST_F(RichEditTest, CharacterForCharacterReplacementKeepsEachFormatAndEveryObject)
{
    // "abc" with "bc" bold and a picture after it; a second paragraph with a
    // line break inside.
    editor->setText("abc\r\ne\vf");
    select(1, 2);
    editor->SelectionFormat().setStyle(FontStyle::Bold);
    QTextCursor cursor(editor->document());
    cursor.setPosition(3);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("mem:pic"));
    cursor.insertImage(picture);
    const QString before = QStringLiteral("abc\uFFFC\r\ne\vf");
    ASSERT_EQ(editor->Text(), before);
    editor->SelectWholeText();

    editor->replaceSelectedCharacters(QStringLiteral("ABC\uFFFC\rE\vF"));
    EXPECT_EQ(editor->Text(), QStringLiteral("ABC\uFFFC\r\nE\vF"));
    EXPECT_EQ(editor->SelectedText(), QStringLiteral("ABC\uFFFC\rE\vF"));
    EXPECT_EQ(editor->textCursor().position(), editor->TextLength()); // the caret where it was
    select(1, 2);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
    select(0, 1);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles());
    select(3, 1);
    EXPECT_EQ(editor->selectedObject().name(), QStringLiteral("mem:pic"));
    editor->Undo(); // one step, the picture still there
    EXPECT_EQ(editor->Text(), before);

    // A text of another length is refused: nothing could stand for the rest.
    editor->SelectWholeText();
    editor->replaceSelectedCharacters(QStringLiteral("x"));
    EXPECT_EQ(editor->Text(), before);
}

TEST_F(RichEditTest, SelectionWithNothingSelectedInsertsAtTheCaret)
{
    editor->setText("ac");
    editor->setSelectionStart(1);
    editor->setSelectedText("b");
    EXPECT_EQ(editor->Text(), "abc");
    EXPECT_EQ(editor->SelectedText(), "b");
}

TEST_F(RichEditTest, UndoKeepsAtMostAHundredSteps)
{
    editor->setText("");
    for (int i = 0; i < 150; ++i) {
        editor->setSelectionStart(editor->TextLength());
        editor->setSelectedText("x");
    }
    int undone = 0;
    while (editor->CanUndo()) {
        editor->Undo();
        ++undone;
    }
    EXPECT_EQ(undone, TRxRichEdit::kUndoLimit);
    EXPECT_EQ(editor->Text().size(), 50);
    editor->Undo(); // nothing left: no change, no error
    EXPECT_EQ(editor->Text().size(), 50);
}

TEST_F(RichEditTest, ModifiedFlagIsSetByEveryEditAndSurvivesModeSwitches)
{
    editor->setText("text");
    editor->setModified(false);
    editor->Lines().Add("more");
    EXPECT_TRUE(editor->IsModified());
    editor->setModified(false);
    editor->setWordWrap(false);
    editor->setPlainTextMode(true);
    editor->setPlainTextMode(false);
    EXPECT_FALSE(editor->IsModified());
    editor->setModified(true);
    editor->setPlainTextMode(true);
    EXPECT_TRUE(editor->IsModified());
    editor->ClearAll();
    EXPECT_FALSE(editor->IsModified());
    EXPECT_EQ(editor->Text(), "");
}

TEST_F(RichEditTest, FindInTextLooksOnlyWithinTheRangeAndIgnoresCase)
{
    editor->setText("Привет мир\r\nПРИВЕТ");
    select(2, 2);
    EXPECT_EQ(editor->FindInText("привет", 0, 100), 0);
    EXPECT_EQ(editor->FindInText("привет", 1, 100), 11);
    EXPECT_EQ(editor->FindInText("привет", 1, 10), -1); // the match would end past the range
    EXPECT_EQ(editor->FindInText("absent", 0, 100), -1);
    EXPECT_EQ(editor->FindInText("мир\r", 0, 100), 7);
    EXPECT_EQ(editor->SelectionStart(), 2); // no search moves the selection
    EXPECT_EQ(editor->SelectionLength(), 2);
}

TEST_F(RichEditTest, DeleteRemovesTheSelectionOnly)
{
    editor->setText("abc");
    editor->setSelectionStart(1);
    editor->Clear();
    EXPECT_EQ(editor->Text(), "abc");
    select(1, 1);
    editor->Clear();
    EXPECT_EQ(editor->Text(), "ac");
}

TEST_F(RichEditTest, SwitchingToPlainTextKeepsCharactersAndDropsFormats)
{
    editor->setText("red bold\r\nsecond");
    select(0, 8);
    editor->SelectionFormat().setStyle(FontStyle::Bold);
    editor->SelectionFormat().setColor(TColor::fromRgb(0xff0000));
    QSignalSpy changes(editor.get(), &TRxRichEdit::OnChange);
    editor->setPlainTextMode(true);
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(editor->PlainText());
    editor->setPlainTextMode(false);
    EXPECT_EQ(editor->Text(), "red bold\r\nsecond");
    select(0, 3);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles());
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::windowText());
}

TEST_F(RichEditTest, PlainTextModeFormatsTheWholeText)
{
    editor->setText("one two");
    editor->setPlainTextMode(true);
    select(0, 3);
    editor->SelectionFormat().setSize(20);
    select(4, 3);
    EXPECT_EQ(editor->SelectionFormat().Size(), 20);
}
