#include "MainWindowFixture.h"

#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QToolButton>

TEST_F(MainWindowTest, TypingIsUndoneByCtrlZAndBroughtBackByCtrlB)
{
    TForm1 &f = createForm();
    f.show();
    f.RxRichEdit1->setFocus();
    QTest::keyClicks(f.RxRichEdit1, "ab");
    EXPECT_EQ(f.RxRichEdit1->Text(), "ab");
    QTest::keyClick(f.RxRichEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.RxRichEdit1->Text(), "");
    QTest::keyClick(f.RxRichEdit1, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(f.RxRichEdit1->Text(), "ab");
    // Nothing left to redo, nothing happens and nothing is shown.
    QTest::keyClick(f.RxRichEdit1, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(f.RxRichEdit1->Text(), "ab");
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, SelectAllThenDeleteEmptiesTheEditor)
{
    TForm1 &f = createForm();
    f.RxRichEdit1->setText("one\r\ntwo");
    f.menuItem("N29")->trigger();
    f.menuItem("N23")->trigger();
    EXPECT_EQ(f.RxRichEdit1->Text(), "");
}

TEST_F(MainWindowTest, ButtonsLeaveTheFocusInTheEditor)
{
    TForm1 &f = createForm();
    f.show();
    QApplication::setActiveWindow(&f);
    f.RxRichEdit1->setFocus();
    f.RxRichEdit1->setText("text");
    for (int button : {17, 10, 13, 12, 8, 9, 11})
        f.toolButton(button)->click();
    EXPECT_TRUE(f.RxRichEdit1->hasFocus());
    // Copy, delete, paste, undo, redo: the pasted text is back; cut without
    // a selection takes nothing.
    EXPECT_EQ(f.RxRichEdit1->Text(), "text");
}

TEST_F(MainWindowTest, ReplacingTheSelectionIsUndoneInOneStep)
{
    TForm1 &f = createForm();
    f.RxRichEdit1->setText("date: ?");
    f.RxRichEdit1->setSelectionStart(6);
    f.RxRichEdit1->setSelectionLength(1);
    f.RxRichEdit1->setSelectedText("08.12.2026 01:00:00");
    f.toolButton(8)->click();
    EXPECT_EQ(f.RxRichEdit1->Text(), "date: ?");
}
