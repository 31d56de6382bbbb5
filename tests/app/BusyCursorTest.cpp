#include "MainWindowFixture.h"

#include "editor/TRxRichEdit.h"

#include <QCursor>
#include <QGuiApplication>
#include <QToolButton>

namespace {

// The cursor some other part of the program had set before the command.
struct EarlierCursor {
    EarlierCursor() { QGuiApplication::setOverrideCursor(Qt::CrossCursor); }
    ~EarlierCursor() { QGuiApplication::restoreOverrideCursor(); }
    static bool showing()
    {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::CrossCursor;
    }
};

} // namespace

class BusyCursorTest : public MainWindowTest {};

// The wait cursor shows while the text changes, and the earlier cursor comes
// back afterwards, failed or not; an error box never gets the wait cursor.
TEST_F(BusyCursorTest, LongCommandsShowTheWaitCursorOnlyWhileWorking)
{
    createForm().show();
    TRxRichEdit *editor = RxRichEdit1(*form);
    editor->setText("b\na\n");
    const EarlierCursor earlier;
    QList<Qt::CursorShape> duringChanges;
    QObject::connect(editor, &TRxRichEdit::OnChange, [&] {
        const QCursor *cursor = QGuiApplication::overrideCursor();
        duringChanges.append(cursor ? cursor->shape() : Qt::ArrowCursor);
    });

    toolButton(*form, 25)->click(); // sort
    ASSERT_FALSE(duringChanges.isEmpty());
    EXPECT_EQ(duringChanges.count(Qt::WaitCursor), duringChanges.size());
    EXPECT_TRUE(EarlierCursor::showing());

    platform.files.answers = {dir.filePath("no/such/folder/x.rtf")};
    toolButton(*form, 4)->click(); // save as, failing
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_EQ(platform.boxes.messages[0].icon, platform::MessageIcon::Error);
    EXPECT_FALSE(platform.boxes.messages[0].underBusyCursor);
    EXPECT_TRUE(EarlierCursor::showing());

    platform.boxes.answers = {platform::Answer::No}; // the text is not kept
    platform.files.answers = {dir.filePath("missing.rtf")};
    toolButton(*form, 2)->click(); // open, failing
    ASSERT_EQ(platform.boxes.messages.size(), 2);
    EXPECT_FALSE(platform.boxes.messages[1].underBusyCursor);
    EXPECT_TRUE(EarlierCursor::showing());
}
