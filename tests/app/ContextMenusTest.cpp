#include "MainWindowFixture.h"

#include <QTest>
#include <QToolBar>
#include <QWindow>

namespace {

// A right click as the desktop delivers it: through the window, where the
// context menu comes with the press and then takes the release.
void rightClick(TForm1 &f, QWidget *target, QPoint at)
{
    QTest::mouseClick(f.windowHandle(), Qt::RightButton, Qt::NoModifier, target->mapTo(&f, at));
}

} // namespace

TEST_F(MainWindowTest, ARightClickAnywhereOnTheCoolBarShowsTheContextMenu)
{
    TForm1 &f = createForm();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    auto *toolBar1 = component<QToolBar>(f, "ToolBar1");
    // Buttons of both bars (a drop-down one too), the first bar's empty end, the ruler.
    const std::pair<QWidget *, QPoint> places[] = {
        {toolButton(f, 1), toolButton(f, 1)->rect().center()},
        {toolButton(f, 28), QPoint(3, 3)},
        {toolButton(f, 31), toolButton(f, 31)->rect().center()},
        {toolBar1, QPoint(toolBar1->width() - 3, toolBar1->height() / 2)},
        {Panel1(f), QPoint(300, 3)},
    };
    for (const auto &[target, at] : places) {
        ASSERT_FALSE(PopupMenu1(f)->isVisible());
        rightClick(f, target, at);
        EXPECT_TRUE(PopupMenu1(f)->isVisible()) << target->objectName().toStdString();
        PopupMenu1(f)->hide();
    }
}

TEST_F(MainWindowTest, ARightClickOnALinkOpensItInsteadOfTheMenu)
{
    TForm1 &f = createForm();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    TRxRichEdit *editor = RxRichEdit1(f);
    editor->setText("see www.example.org now");
    QCoreApplication::processEvents();
    QTextCursor at(editor->document());
    at.setPosition(6);
    rightClick(f, editor->viewport(), editor->cursorRect(at).center());
    EXPECT_FALSE(PopupMenu1(f)->isVisible());
    EXPECT_EQ(platform.shellOpen.opened, QStringList{"http://www.example.org"});

    // Elsewhere in the text the right click shows the menu and opens nothing.
    at.setPosition(1);
    rightClick(f, editor->viewport(), editor->cursorRect(at).center());
    EXPECT_TRUE(PopupMenu1(f)->isVisible());
    PopupMenu1(f)->hide();
    EXPECT_EQ(platform.shellOpen.opened.size(), 1);
}
