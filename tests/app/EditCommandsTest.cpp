#include "MainWindowFixture.h"

#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
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
    QApplication::clipboard()->clear();
    const struct {
        int button;
        const char *text; // the editor's text after the click
    } steps[] = {
        {17, "text"}, // select all
        {10, "text"}, // copy
        {13, ""},     // delete
        {12, "text"}, // paste
        {8, ""},      // undo
        {9, "text"},  // redo
        {17, "text"}, // select all
        {11, ""},     // cut
    };
    for (const auto &step : steps) {
        f.toolButton(step.button)->click();
        EXPECT_TRUE(f.RxRichEdit1->hasFocus()) << "ToolButton" << step.button;
        EXPECT_EQ(f.RxRichEdit1->Text(), QString::fromLatin1(step.text)) << "ToolButton" << step.button;
    }
    EXPECT_EQ(QApplication::clipboard()->text(), "text");
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
