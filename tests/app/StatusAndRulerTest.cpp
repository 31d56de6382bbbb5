#include "MainWindowFixture.h"

#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QMenu>
#include <QTest>
#include <QToolButton>

class StatusTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        createForm();
        form->resize(700, 500);
        form->show();
        editor = RxRichEdit1(*form);
        editor->setFocus();
    }

    QString panel(int index) const { return StatusBar1(*form)->panelText(index); }

    // Press, move and release a marker, the pointer at x within it.
    void drag(QLabel *marker, int pressX, int moveX)
    {
        QTest::mousePress(marker, Qt::LeftButton, Qt::NoModifier, QPoint(pressX, 3));
        QMouseEvent move(QEvent::MouseMove, QPointF(moveX, 3), marker->mapToGlobal(QPointF(moveX, 3)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(marker, &move);
        QTest::mouseRelease(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
    }

    // Drops a marker with its left edge at `left`.
    void dropAt(QLabel *marker, int left)
    {
        drag(marker, 4, 4 + left - marker->x());
    }

    TRxRichEdit *editor = nullptr;
};

TEST_F(StatusTest, PanelsAfterTypingAndEnter)
{
    QTest::keyClicks(editor, "abc");
    EXPECT_EQ(panel(0), "Стр:   1   Кол:   4");
    EXPECT_EQ(panel(1), "Изменён");
    EXPECT_EQ(panel(2), "Times New Roman");
    EXPECT_EQ(panel(3), "14");
    EXPECT_EQ(panel(7), "3");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "d");
    EXPECT_EQ(panel(0), "Стр:   2   Кол:   2");
    EXPECT_EQ(panel(7), "6");
}

TEST_F(StatusTest, WrappedParagraphsCountTheirScreenLines)
{
    editor->setText(QString("word ").repeated(100));
    editor->setSelectionStart(editor->LineIndex(1) + 1);
    QTest::keyClicks(editor, "x");
    EXPECT_TRUE(panel(0).startsWith("Стр:   2")) << panel(0).toStdString();
    editor->setText(QString("\r\n").repeated(999));
    editor->setSelectionStart(editor->TextLength());
    QTest::keyClicks(editor, "y");
    EXPECT_EQ(panel(0), "Стр: 1000   Кол:   2");
}

TEST_F(StatusTest, AMouseClickRefreshesFontAndColourButNotTheMarker)
{
    editor->setText("big small");
    editor->setSelectionStart(0);
    editor->setSelectionLength(3);
    editor->SelectionFormat().setSize(20);
    editor->SelectionFormat().setColor(TColor::fromRgb(0x008000));
    StatusBar1(*form)->setPanelText(1, "");
    QTextCursor at(editor->document());
    at.setPosition(1);
    QTest::mouseClick(editor->viewport(), Qt::RightButton, Qt::NoModifier, editor->cursorRect(at).center());
    PopupMenu1(*form)->hide();
    EXPECT_EQ(panel(3), "20");
    EXPECT_EQ(Edit1(*form)->text(), "20");
    EXPECT_EQ(ColorBox2(*form)->currentText(), "Green");
    EXPECT_EQ(ColorBox1(*form)->currentText(), "White");
    EXPECT_EQ(panel(1), "");
}

TEST_F(StatusTest, ClockAndLockKeysEverySecond)
{
    platform.locks.on = {static_cast<int>(platform::LockKey::CapsLock), static_cast<int>(platform::LockKey::NumLock)};
    form->Timer1Timer();
    // The tests run in the C locale: its short date, then its long time without the zone.
    EXPECT_EQ(panel(6), QStringLiteral("8 Dec 2026 09:05:07"));
    EXPECT_FALSE(panel(6).contains("UTC"));
    EXPECT_EQ(StatusBar2(*form)->panelText(0), "CAPS");
    EXPECT_EQ(StatusBar2(*form)->panelText(1), "");
    EXPECT_EQ(StatusBar2(*form)->panelText(2), "NUM");
    EXPECT_EQ(Timer1(*form)->interval(), 1000);
}

TEST_F(StatusTest, SavingEmptiesTheMarkerUntilTheNextKey)
{
    QTest::keyClicks(editor, "a");
    platform.files.answers = {dir.filePath("s.rtf")};
    toolButton(*form, 3)->click();
    EXPECT_EQ(panel(1), "");
    QTest::keyClicks(editor, "b");
    EXPECT_EQ(panel(1), "Изменён");
}

TEST_F(StatusTest, RulerMarkersSetTheIndentsWhenDropped)
{
    editor->setText("paragraph");
    dropAt(rulerMarker(*form, "CurPos"), 98);
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), 72);
    EXPECT_FALSE(Panel1(*form)->dragging());

    dropAt(rulerMarker(*form, "LeftIndent"), 138);
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 30);
    EXPECT_EQ(rulerMarker(*form, "CurPos")->x(), 98); // placed again from the paragraph
    EXPECT_EQ(rulerMarker(*form, "LeftIndent")->x(), 138);

    dropAt(rulerMarker(*form, "RightIndent"), 620);
    EXPECT_EQ(editor->ParagraphFormat().RightEdgeIndent(), 61);
    form->RxRichEdit1SelectionChange();
    EXPECT_EQ(rulerMarker(*form, "RightIndent")->x(), 587);
}

TEST_F(StatusTest, MarkersLeftOfTheScaleSnapBackAtTheNextRepaint)
{
    editor->setText("paragraph");
    dropAt(rulerMarker(*form, "CurPos"), 0);
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), -1);
    form->FormPaint();
    EXPECT_EQ(rulerMarker(*form, "CurPos")->x(), 8);
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), -1);

    editor->ParagraphFormat().setFirstLineIndent(0);
    dropAt(rulerMarker(*form, "LeftIndent"), 3);
    EXPECT_EQ(rulerMarker(*form, "LeftIndent")->x(), 2);
    // The window repaints after a drop.
    EXPECT_TRUE(QTest::qWaitFor([this] { return rulerMarker(*form, "LeftIndent")->x() == 8; }));
    EXPECT_EQ(editor->ParagraphFormat().OtherLinesIndent(), 2);
}

TEST_F(StatusTest, AMarkerStaysUnderThePointerUntilItIsDropped)
{
    editor->setText("paragraph");
    QLabel *marker = rulerMarker(*form, "CurPos");
    QTest::mousePress(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
    const QPointF to(4 + 3 - marker->x(), 3);
    QMouseEvent move(QEvent::MouseMove, to, marker->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    Panel1(*form)->repaint();
    form->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(marker->x(), 3);
    EXPECT_TRUE(Panel1(*form)->dragging());

    QTest::mouseRelease(marker, Qt::LeftButton, Qt::NoModifier, QPoint(4, 3));
    EXPECT_EQ(editor->ParagraphFormat().FirstLineIndent(), 0); // trunc(1 × 3/4)
    EXPECT_TRUE(QTest::qWaitFor([marker] { return marker->x() == 8; }));
}

TEST_F(StatusTest, CtrlLHidesAndShowsTheRuler)
{
    QTest::keyClick(editor, Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(Panel1(*form)->isHidden());
    EXPECT_FALSE(menuItem(*form, "N105")->isChecked());
    EXPECT_FALSE(menuItem(*form, "N110")->isChecked());
    QTest::keyClick(editor, Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(Panel1(*form)->isHidden());
    EXPECT_TRUE(menuItem(*form, "N105")->isChecked());
}

TEST_F(StatusTest, EveryPathToWordWrapFlipsTheSameMarks)
{
    QTest::keyClick(editor, Qt::Key_F7);
    EXPECT_FALSE(CB1(*form)->isChecked());
    EXPECT_FALSE(menuItem(*form, "N51")->isChecked());
    EXPECT_FALSE(menuItem(*form, "N99")->isChecked());
    EXPECT_FALSE(editor->WordWrap());
    CB1(*form)->click();
    EXPECT_TRUE(menuItem(*form, "N51")->isChecked());
    EXPECT_TRUE(menuItem(*form, "N99")->isChecked());
    EXPECT_TRUE(editor->WordWrap());
    menuItem(*form, "N99")->trigger();
    EXPECT_FALSE(CB1(*form)->isChecked());
    EXPECT_FALSE(editor->WordWrap());
}

TEST_F(StatusTest, PlainTextModeFromF8DropsFormats)
{
    editor->setText("bold");
    editor->SelectWholeText();
    editor->SelectionFormat().setStyle(FontStyle::Bold);
    QTest::keyClick(editor, Qt::Key_F8);
    EXPECT_TRUE(editor->PlainText());
    EXPECT_FALSE(menuItem(*form, "RTF1")->isChecked());
    QTest::keyClick(editor, Qt::Key_F8);
    EXPECT_FALSE(editor->PlainText());
    EXPECT_TRUE(CB2(*form)->isChecked());
    editor->SelectWholeText();
    EXPECT_EQ(editor->SelectionFormat().Style(), FontStyles());
    EXPECT_EQ(editor->Text(), "bold");
}

TEST_F(StatusTest, ToolPanelAndStatusBarSwitches)
{
    toolButton(*form, 15)->click();
    for (QWidget *control : {CoolBar1(*form), static_cast<QWidget *>(ColorBox1(*form)), static_cast<QWidget *>(CB3(*form))})
        EXPECT_TRUE(control->isHidden());
    EXPECT_FALSE(menuItem(*form, "N27")->isChecked());
    menuItem(*form, "N27")->trigger();
    EXPECT_FALSE(CoolBar1(*form)->isHidden());
    EXPECT_TRUE(menuItem(*form, "N27")->isChecked());
    EXPECT_TRUE(menuItem(*form, "N77")->isChecked());

    QTest::keyClick(editor, Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(StatusBar1(*form)->isHidden());
    EXPECT_FALSE(StatusBar2(*form)->isHidden());
    EXPECT_FALSE(menuItem(*form, "N28")->isChecked());
}

TEST_F(StatusTest, PaperColourFromTheBoxAndFromTheDialog)
{
    ColorBox1(*form)->setSelected(TColor::fromRgb(0xffff00));
    Q_EMIT ColorBox1(*form)->activated(ColorBox1(*form)->currentIndex());
    EXPECT_EQ(editor->Color(), TColor::fromRgb(0xffff00));

    QTest::keyClick(editor, Qt::Key_Insert, Qt::ControlModifier); // cancelled
    EXPECT_EQ(editor->Color(), TColor::fromRgb(0xffff00));
    EXPECT_EQ(ColorBox1(*form)->currentText(), "Black"); // the dialog's colour, black before the first use
    platform.formats.colorAnswer = QColor(0, 128, 128);
    menuItem(*form, "N93")->trigger();
    EXPECT_EQ(editor->Color(), TColor::fromRgb(0x008080));
    EXPECT_EQ(ColorBox1(*form)->currentText(), "Teal");
    EXPECT_EQ(platform.formats.colorsAsked.last(), QColor(Qt::black));
}

TEST_F(StatusTest, AutomaticLinksSwitchOffAndOn)
{
    menuItem(*form, "N30")->trigger();
    EXPECT_FALSE(editor->AutoURLDetect());
    EXPECT_FALSE(menuItem(*form, "N30")->isChecked());
    menuItem(*form, "N30")->trigger();
    EXPECT_TRUE(editor->AutoURLDetect());
}
