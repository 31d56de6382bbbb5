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
    RxRichEdit1(f)->setFocus();
    QTest::keyClicks(RxRichEdit1(f), "ab");
    EXPECT_EQ(RxRichEdit1(f)->Text(), "ab");
    QTest::keyClick(RxRichEdit1(f), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(RxRichEdit1(f)->Text(), "");
    QTest::keyClick(RxRichEdit1(f), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(RxRichEdit1(f)->Text(), "ab");
    // Nothing left to redo, nothing happens and nothing is shown.
    QTest::keyClick(RxRichEdit1(f), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(RxRichEdit1(f)->Text(), "ab");
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, SelectAllThenDeleteEmptiesTheEditor)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText("one\r\ntwo");
    menuItem(f, "N29")->trigger();
    menuItem(f, "N23")->trigger();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "");
}

TEST_F(MainWindowTest, ButtonsLeaveTheFocusInTheEditor)
{
    TForm1 &f = createForm();
    f.show();
    QApplication::setActiveWindow(&f);
    RxRichEdit1(f)->setFocus();
    RxRichEdit1(f)->setText("text");
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
        toolButton(f, step.button)->click();
        EXPECT_TRUE(RxRichEdit1(f)->hasFocus()) << "ToolButton" << step.button;
        EXPECT_EQ(RxRichEdit1(f)->Text(), QString::fromLatin1(step.text)) << "ToolButton" << step.button;
    }
    EXPECT_EQ(QApplication::clipboard()->text(), "text");
}

TEST_F(MainWindowTest, ReplacingTheSelectionIsUndoneInOneStep)
{
    TForm1 &f = createForm();
    RxRichEdit1(f)->setText("date: ?");
    RxRichEdit1(f)->setSelectionStart(6);
    RxRichEdit1(f)->setSelectionLength(1);
    RxRichEdit1(f)->setSelectedText("08.12.2026 01:00:00");
    toolButton(f, 8)->click();
    EXPECT_EQ(RxRichEdit1(f)->Text(), "date: ?");
}
