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
        editor = RxRichEdit1(*form);
    }

    void select(int start, int length)
    {
        editor->setSelectionStart(start);
        editor->setSelectionLength(length);
    }

    void clickArrow(bool up) { UpDown1(*form)->findChild<QToolButton *>(up ? "up" : "down")->click(); }

    TRxRichEdit *editor = nullptr;
};

TEST_F(FormattingTest, SizeArrowsApplyTheValueShownBeforeTheStep)
{
    editor->setText("sized");
    select(0, 5);
    clickArrow(true);
    EXPECT_EQ(editor->SelectionFormat().Size(), 14);
    EXPECT_EQ(Edit1(*form)->text(), "15");
    clickArrow(true);
    EXPECT_EQ(editor->SelectionFormat().Size(), 15);
    EXPECT_EQ(Edit1(*form)->text(), "16");
    clickArrow(false);
    EXPECT_EQ(editor->SelectionFormat().Size(), 16);
    EXPECT_EQ(Edit1(*form)->text(), "15");

    Edit1(*form)->setText("20"); // typing applies nothing by itself
    EXPECT_EQ(editor->SelectionFormat().Size(), 16);
    clickArrow(true);
    EXPECT_EQ(editor->SelectionFormat().Size(), 20);
    EXPECT_EQ(Edit1(*form)->text(), "21");
}

TEST_F(FormattingTest, StyleButtonsOnlyAddAndTheirMenusRemove)
{
    editor->setText("plain text");
    select(0, 5);
    toolButton(*form, 28)->click();
    toolButton(*form, 28)->click();
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Italic));

    toolButton(*form, 29)->click();
    toolButton(*form, 30)->click();
    menuItem(*form, "N121")->trigger(); // underline off, the rest stays
    menuItem(*form, "N119")->trigger(); // italic off
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
}

TEST_F(FormattingTest, AStyleMakesTheSelectionUniformFromItsStart)
{
    editor->setText("mixed");
    select(0, 1);
    toolButton(*form, 30)->click(); // the first character bold
    select(0, 5);
    toolButton(*form, 28)->click();
    select(3, 2);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyle::Bold | FontStyle::Italic);
}

TEST_F(FormattingTest, ColourChosenWithNothingSelectedColoursTheNextTyping)
{
    editor->setText("");
    ColorBox2(*form)->setSelected(TColor::fromRgb(0xff0000));
    Q_EMIT ColorBox2(*form)->activated(ColorBox2(*form)->currentIndex());
    editor->setFocus();
    QTest::keyClicks(editor, "red");
    select(0, 3);
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::fromRgb(0xff0000));
}

TEST_F(FormattingTest, FontDialogAppliesOnOkAndShowsTheFontEitherWay)
{
    editor->setText("font");
    select(0, 4);
    toolButton(*form, 37)->click(); // cancelled
    ASSERT_EQ(platform.formats.fontsAsked.size(), 1);
    EXPECT_EQ(platform.formats.fontsAsked[0].font.family(), "Times New Roman");
    EXPECT_EQ(editor->SelectionFormat().Size(), 14);
    EXPECT_EQ(ComboBox1(*form)->currentText(), "Times New Roman");
    EXPECT_EQ(Edit1(*form)->text(), "14");
    EXPECT_EQ(ColorBox2(*form)->currentText(), "Window Text");

    QFont chosen("DejaVu Sans", 22);
    chosen.setBold(true);
    chosen.setStrikeOut(true);
    platform.formats.fontAnswer = platform::FontChoice{chosen, QColor(0, 0, 128)};
    QTest::keyClick(editor, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(editor->SelectionFormat().Name(), "DejaVu Sans");
    EXPECT_EQ(editor->SelectionFormat().Size(), 22);
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyle::Bold | FontStyle::StrikeOut);
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::fromRgb(0x000080));
    EXPECT_EQ(ColorBox2(*form)->currentText(), "Navy");
    EXPECT_EQ(Edit1(*form)->text(), "22");
}

// The dialog changes only what the user changed in it: a family from another
// machine, a second font in the selection and the saved state all stay.
TEST_F(FormattingTest, FontDialogWritesOnlyWhatWasChangedInIt)
{
    editor->setText("ab");
    select(1, 1);
    editor->SelectionFormat().setName("MS Sans Serif");
    editor->SelectionFormat().setStyle(FontStyles(FontStyle::Bold));
    editor->setModified(false);
    select(0, 2);
    toolButton(*form, 37)->click(); // cancelled: what it opens with
    ASSERT_EQ(platform.formats.fontsAsked.size(), 1);
    const platform::FontChoice opened = platform.formats.fontsAsked[0];

    platform.formats.fontAnswer = opened; // OK without a change
    toolButton(*form, 37)->click();
    EXPECT_FALSE(editor->IsModified());
    select(1, 1);
    EXPECT_EQ(editor->SelectionFormat().Name(), "MS Sans Serif");
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
    EXPECT_EQ(editor->SelectionFormat().Color(), TColor::windowText());

    select(0, 2);
    platform::FontChoice larger = opened;
    larger.font.setPointSize(20);
    platform.formats.fontAnswer = larger;
    toolButton(*form, 37)->click();
    EXPECT_EQ(ComboBox1(*form)->currentText(), "Times New Roman");
    select(1, 1);
    EXPECT_EQ(editor->SelectionFormat().Size(), 20);
    EXPECT_EQ(editor->SelectionFormat().Name(), "MS Sans Serif");
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles(FontStyle::Bold));
}

TEST_F(FormattingTest, FontNameComesFromTheSelectedEntryNotTheTypedText)
{
    editor->setText("name");
    select(0, 4);
    const int index = ComboBox1(*form)->findText("Default");
    ASSERT_GE(index, 0);
    ComboBox1(*form)->setCurrentIndex(index);
    Q_EMIT ComboBox1(*form)->activated(index);
    EXPECT_EQ(editor->SelectionFormat().Name(), "Default");
    QTest::keyClicks(ComboBox1(*form)->lineEdit(), "x"); // typing: the selected entry again
    EXPECT_EQ(editor->SelectionFormat().Name(), "Default");
}

TEST_F(FormattingTest, AlignmentWritesItsNameInTheInterfaceLanguage)
{
    editor->setText("para");
    toolButton(*form, 32)->click();
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::Center);
    EXPECT_EQ(StatusBar1(*form)->panelText(5), "Center");
    useLanguage(*form, false);
    menuItem(*form, "N90")->trigger();
    EXPECT_EQ(editor->ParagraphFormat().Alignment(), TAlignment::RightJustify);
    EXPECT_EQ(StatusBar1(*form)->panelText(5), "По правому краю");
}

TEST_F(FormattingTest, IndentButtonsStepTwentyPointsWithoutLowerLimit)
{
    editor->setText("para");
    toolButton(*form, 42)->click();
    toolButton(*form, 42)->click();
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), 40);
    editor->ParagraphFormat().setFirstLineIndent(0);
    toolButton(*form, 43)->click();
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), -20);
}

TEST_F(FormattingTest, BulletButtonsSetTheFollowingLinesIndent)
{
    editor->setText("item");
    toolButton(*form, 35)->click();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::Bullet);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 10);
    toolButton(*form, 36)->click();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::None);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 0);
}

TEST_F(FormattingTest, MarkerSubmenuOpeningFlipsTheSharedSwitch)
{
    editor->setText("item");
    QMenu *marker = menuItem(*form, "N45")->menu();
    Q_EMIT marker->aboutToShow();
    menuItem(*form, "N126")->trigger();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::UpCaseRoman);
    Q_EMIT marker->aboutToShow();
    menuItem(*form, "N91")->trigger();
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::None);
    Q_EMIT marker->aboutToShow(); // opened and left without a choice
    EXPECT_TRUE(menuItem(*form, "N45")->isChecked());
    EXPECT_TRUE(menuItem(*form, "N96")->isChecked());
    QTest::keyClick(editor, Qt::Key_M, Qt::ControlModifier); // the shared switch goes off
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::None);
    QTest::keyClick(editor, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(editor->ParagraphFormat().ListStyle(), ListStyle::Bullet);
    EXPECT_TRUE(menuItem(*form, "N45")->isChecked());
}
