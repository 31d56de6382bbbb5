#include "MainWindowFixture.h"

#include "widgets/ColorBox.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"
#include "widgets/UpDown.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

using paraformat::ListStyle;

class FormattingTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        createForm();
        form->show();
        editor = form->RxRichEdit1;
    }

    void select(int start, int length)
    {
        editor->setSelectionStart(start);
        editor->setSelectionLength(length);
    }

    void clickArrow(bool up) { form->UpDown1->findChild<QToolButton *>(up ? "up" : "down")->click(); }

    TRxRichEdit *editor = nullptr;
};

TEST_F(FormattingTest, SizeArrowsApplyTheValueShownBeforeTheStep)
{
    editor->setText("sized");
    select(0, 5);
    clickArrow(true);
    EXPECT_EQ(editor->SelectionFormat().Size(), 14);
    EXPECT_EQ(form->Edit1->text(), "15");
    clickArrow(true);
    EXPECT_EQ(editor->SelectionFormat().Size(), 15);
    EXPECT_EQ(form->Edit1->text(), "16");
    clickArrow(false);
    EXPECT_EQ(editor->SelectionFormat().Size(), 16);
    EXPECT_EQ(form->Edit1->text(), "15");

    form->Edit1->setText("20"); // typing applies nothing by itself
    EXPECT_EQ(editor->SelectionFormat().Size(), 16);
    clickArrow(true);
    EXPECT_EQ(editor->SelectionFormat().Size(), 20);
    EXPECT_EQ(form->Edit1->text(), "21");
}

TEST_F(FormattingTest, StyleButtonsOnlyAddAndTheirMenusRemove)
{
    editor->setText("plain text");
    select(0, 5);
    form->toolButton(28)->click();
    form->toolButton(28)->click();
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Italic));

    form->toolButton(29)->click();
    form->toolButton(30)->click();
    form->menuItem("N121")->trigger(); // underline off, the rest stays
    form->menuItem("N119")->trigger(); // italic off
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
}

TEST_F(FormattingTest, AStyleMakesTheSelectionUniformFromItsStart)
{
    editor->setText("mixed");
    select(0, 1);
    form->toolButton(30)->click(); // the first character bold
    select(0, 5);
    form->toolButton(28)->click();
    select(3, 2);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyle::Bold | FontStyle::Italic);
}

TEST_F(FormattingTest, ColourChosenWithNothingSelectedColoursTheNextTyping)
{
    editor->setText("");
    form->ColorBox2->setSelected(TColor::fromRgb(0xff0000));
    Q_EMIT form->ColorBox2->activated(form->ColorBox2->currentIndex());
    editor->setFocus();
    QTest::keyClicks(editor, "red");
    select(0, 3);
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::fromRgb(0xff0000));
}

TEST_F(FormattingTest, FontDialogAppliesOnOkAndShowsTheFontEitherWay)
{
    editor->setText("font");
    select(0, 4);
    form->toolButton(37)->click(); // cancelled
    ASSERT_EQ(platform.formats.fontsAsked.size(), 1);
    EXPECT_EQ(platform.formats.fontsAsked[0].font.family(), "Times New Roman");
    EXPECT_EQ(editor->SelectionFormat().Size(), 14);
    EXPECT_EQ(form->ComboBox1->currentText(), "Times New Roman");
    EXPECT_EQ(form->Edit1->text(), "14");
    EXPECT_EQ(form->ColorBox2->currentText(), "Window Text");

    QFont chosen("DejaVu Sans", 22);
    chosen.setBold(true);
    chosen.setStrikeOut(true);
    platform.formats.fontAnswer = platform::FontChoice{chosen, QColor(0, 0, 128)};
    QTest::keyClick(editor, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(editor->SelectionFormat().Name(), "DejaVu Sans");
    EXPECT_EQ(editor->SelectionFormat().Size(), 22);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyle::Bold | FontStyle::StrikeOut);
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::fromRgb(0x000080));
    EXPECT_EQ(form->ColorBox2->currentText(), "Navy");
    EXPECT_EQ(form->Edit1->text(), "22");
}

TEST_F(FormattingTest, FontNameComesFromTheSelectedEntryNotTheTypedText)
{
    editor->setText("name");
    select(0, 4);
    const int index = form->ComboBox1->findText("Default");
    ASSERT_GE(index, 0);
    form->ComboBox1->setCurrentIndex(index);
    Q_EMIT form->ComboBox1->activated(index);
    EXPECT_EQ(editor->SelectionFormat().Name(), "Default");
    QTest::keyClicks(form->ComboBox1->lineEdit(), "x"); // typing: the selected entry again
    EXPECT_EQ(editor->SelectionFormat().Name(), "Default");
}

TEST_F(FormattingTest, AlignmentWritesItsNameInTheInterfaceLanguage)
{
    editor->setText("para");
    form->toolButton(32)->click();
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::Center);
    EXPECT_EQ(form->StatusBar1->panelText(5), "Center");
    form->Lang = false;
    form->menuItem("N90")->trigger();
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::RightJustify);
    EXPECT_EQ(form->StatusBar1->panelText(5), "По правому краю");
}

TEST_F(FormattingTest, IndentButtonsStepTwentyPointsWithoutLowerLimit)
{
    editor->setText("para");
    form->toolButton(42)->click();
    form->toolButton(42)->click();
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), 40);
    editor->ParagraphFormat().setFirstLineIndent(0);
    form->toolButton(43)->click();
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), -20);
}

TEST_F(FormattingTest, BulletButtonsSetTheFollowingLinesIndent)
{
    editor->setText("item");
    form->toolButton(35)->click();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::Bullet);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 10);
    form->toolButton(36)->click();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::None);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 0);
}

TEST_F(FormattingTest, MarkerSubmenuOpeningFlipsTheSharedSwitch)
{
    editor->setText("item");
    QMenu *marker = form->menuItem("N45")->menu();
    Q_EMIT marker->aboutToShow();
    form->menuItem("N126")->trigger();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::UpCaseRoman);
    Q_EMIT marker->aboutToShow();
    form->menuItem("N91")->trigger();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::None);
    Q_EMIT marker->aboutToShow(); // opened and left without a choice
    EXPECT_TRUE(form->menuItem("N45")->isChecked());
    EXPECT_TRUE(form->menuItem("N96")->isChecked());
    QTest::keyClick(editor, Qt::Key_M, Qt::ControlModifier); // the shared switch goes off
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::None);
    QTest::keyClick(editor, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::Bullet);
    EXPECT_TRUE(form->menuItem("N45")->isChecked());
}
