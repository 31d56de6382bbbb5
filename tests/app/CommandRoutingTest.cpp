#include "MainWindowFixture.h"

#include "app/ErrorDisplay.h"
#include "editor/TRxRichEdit.h"
#include "platform/VeltrixError.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QToolButton>
#include <QKeySequence>
#include <QMenu>
#include <QTest>
#include <QTextCursor>
#include <QToolTip>

namespace {

// What choosing each menu item must run, by the name of the handler.
const std::pair<const char *, const char *> kItemHandlers[] = {
    {"N7", "ToolButton1Click"}, {"N61", "ToolButton1Click"}, {"N8", "ToolButton2Click"},
    {"N62", "ToolButton2Click"}, {"N9", "ToolButton3Click"}, {"N63", "ToolButton3Click"},
    {"N10", "ToolButton4Click"}, {"N64", "ToolButton4Click"}, {"N109", "N109Click"},
    {"N16", "N16Click"}, {"N13", "ToolButton5Click"}, {"N65", "ToolButton5Click"},
    {"N12", "ToolButton6Click"}, {"N66", "ToolButton6Click"}, {"N48", "N48Click"},
    {"N94", "N94Click"}, {"N17", "ToolButton8Click"}, {"N68", "ToolButton8Click"},
    {"N18", "ToolButton9Click"}, {"N69", "ToolButton9Click"}, {"N20", "ToolButton10Click"},
    {"N70", "ToolButton10Click"}, {"N21", "ToolButton11Click"}, {"N72", "ToolButton11Click"},
    {"N22", "ToolButton12Click"}, {"N71", "ToolButton12Click"}, {"N23", "ToolButton13Click"},
    {"N73", "ToolButton13Click"}, {"N29", "ToolButton17Click"}, {"N76", "ToolButton17Click"},
    {"N25", "ToolButton14Click"}, {"N74", "ToolButton14Click"}, {"N26", "ToolButton20Click"},
    {"N75", "ToolButton20Click"}, {"N27", "N27Click"}, {"N77", "N77Click"}, {"N28", "N28Click"},
    {"N78", "N78Click"}, {"N31", "ToolButton18Click"}, {"N80", "ToolButton18Click"},
    {"N32", "ToolButton19Click"}, {"N81", "ToolButton19Click"}, {"N35", "ToolButton23Click"},
    {"N82", "ToolButton23Click"}, {"N36", "ToolButton24Click"}, {"N83", "ToolButton24Click"},
    {"Delphi1", "Delphi1Click"}, {"Delphi2", "Delphi1Click"}, {"Pascal1", "Pascal1Click"},
    {"ObjectPascal1", "Pascal1Click"}, {"HTML1", "HTML1Click"}, {"HTML2", "HTML1Click"},
    {"Cheader1", "Cheader1Click"}, {"CHeader2", "Cheader1Click"}, {"CPP1", "CPP1Click"},
    {"CPP2", "CPP1Click"}, {"N113", "N113Click"}, {"N37", "ToolButton25Click"},
    {"N84", "ToolButton25Click"}, {"N38", "ToolButton26Click"}, {"N85", "ToolButton26Click"},
    {"N39", "ToolButton27Click"}, {"N86", "ToolButton27Click"}, {"N129", "N129Click"},
    {"N130", "N129Click"}, {"N41", "ToolButton31Click"},
    {"N88", "ToolButton31Click"}, {"N42", "ToolButton32Click"}, {"N89", "ToolButton32Click"},
    {"N43", "ToolButton33Click"}, {"N90", "ToolButton33Click"}, {"N44", "N44Click"},
    {"N91", "N91Click"}, {"N125", "N125Click"}, {"N126", "N126Click"}, {"N127", "N127Click"},
    {"N128", "N128Click"}, {"N96", "N96Click"}, {"N46", "ToolButton37Click"},
    {"N92", "ToolButton37Click"}, {"N47", "N47Click"}, {"N93", "N93Click"},
    {"N49", "ToolButton39Click"}, {"N95", "ToolButton39Click"}, {"N53", "ToolButton40Click"},
    {"N97", "ToolButton40Click"}, {"N50", "ToolButton41Click"}, {"N98", "ToolButton41Click"},
    {"N51", "CB1Click"}, {"N99", "CB1Click"}, {"RTF1", "CB2Click"}, {"RTF2", "CB2Click"},
    {"N52", "CB3Click"}, {"N100", "CB3Click"}, {"N105", "N105Click"}, {"N110", "N110Click"},
    {"N106", "N106Click"}, {"N111", "N106Click"}, {"Koir1", "Koir1Click"},
    {"Koir8Win2", "Koir1Click"}, {"Koir8Win1", "Koir8Win1Click"}, {"Koir8Win3", "Koir8Win1Click"},
    {"WinUTF81", "WinUTF81Click"}, {"WinUTF82", "WinUTF81Click"}, {"UTF8Win1", "UTF8Win1Click"},
    {"UTFWin1", "UTF8Win1Click"}, {"N115", "N115Click"}, {"N117", "N115Click"},
    {"N116", "N116Click"}, {"N118", "N116Click"}, {"N30", "N30Click"}, {"N33", "ToolButton21Click"},
    {"N101", "ToolButton21Click"}, {"N34", "ToolButton22Click"}, {"N102", "ToolButton22Click"},
    {"N54", "N54Click"}, {"N103", "N54Click"}, {"N119", "N119Click"}, {"N120", "N120Click"},
    {"N121", "N121Click"}, {"N122", "N122Click"}, {"N123", "N123Click"}, {"N124", "N124Click"},
    // Exit last: it closes the window.
    {"N15", "ToolButton7Click"}, {"N67", "ToolButton7Click"},
};

// Which handler a key runs: with the focus in the editor (the context menu is
// asked first) and on a control that carries no context menu (main menu only).
struct KeyCase {
    const char *key;
    const char *inEditor;
    const char *elsewhere; // nullptr: no handler runs
};

const KeyCase kKeys[] = {
    {"Ctrl+N", "ToolButton1Click", "ToolButton1Click"},
    {"Ctrl+O", "ToolButton2Click", "ToolButton2Click"},
    {"Ctrl+S", "ToolButton3Click", "ToolButton3Click"},
    {"Ctrl+W", "ToolButton4Click", "ToolButton4Click"},
    {"Ctrl+Shift+F12", "N16Click", "N109Click"},
    {"Ctrl+Alt+P", "ToolButton5Click", "ToolButton5Click"},
    {"Ctrl+P", "ToolButton6Click", "ToolButton6Click"},
    {"Ctrl+Z", "ToolButton8Click", "ToolButton8Click"},
    {"Ctrl+B", "ToolButton9Click", "ToolButton9Click"},
    {"Ctrl+C", "ToolButton10Click", "ToolButton10Click"},
    {"Ctrl+X", "ToolButton11Click", "ToolButton11Click"},
    {"Ctrl+V", "ToolButton12Click", "ToolButton12Click"},
    {"Del", "ToolButton13Click", "ToolButton13Click"},
    {"Ctrl+F", "ToolButton14Click", "ToolButton14Click"},
    {"Ctrl+H", "ToolButton20Click", "ToolButton20Click"},
    {"Ctrl+A", "ToolButton17Click", "ToolButton17Click"},
    {"Ctrl+Q", "N77Click", "N27Click"},
    {"Ctrl+U", "N78Click", "N28Click"},
    {"F5", "ToolButton18Click", "ToolButton18Click"},
    {"F4", "ToolButton19Click", "ToolButton19Click"},
    {"Ctrl+E", "ToolButton23Click", "ToolButton23Click"},
    {"F10", "ToolButton24Click", "ToolButton24Click"},
    {"Ins", nullptr, "N113Click"},
    {"Ctrl+Alt+B", "ToolButton25Click", "ToolButton25Click"},
    {"Ctrl+Alt+E", "ToolButton26Click", "ToolButton26Click"},
    {"Ctrl+Alt+R", "ToolButton27Click", "ToolButton27Click"},
    {"Pause", "N129Click", "N129Click"},
    {"Ctrl+M", "N96Click", nullptr},
    {"Shift+Ins", "ToolButton37Click", "ToolButton37Click"},
    {"Ctrl+Ins", "N93Click", "N47Click"},
    {"Shift+Alt+Backspace", "N94Click", "N48Click"},
    {"Ctrl+J", "ToolButton39Click", "ToolButton39Click"},
    {"F12", "ToolButton40Click", "ToolButton40Click"},
    {"Ctrl+F1", "ToolButton41Click", "ToolButton41Click"},
    {"F7", "CB1Click", "CB1Click"},
    {"F8", "CB2Click", "CB2Click"},
    {"F9", "CB3Click", "CB3Click"},
    {"Ctrl+L", "N110Click", "N105Click"},
    {"Ctrl+Shift+F10", "N106Click", "N106Click"},
    {"F2", "N115Click", "N115Click"},
    {"F3", "N116Click", "N116Click"},
    {"F1", "ToolButton21Click", "ToolButton21Click"},
    {"Ctrl+Alt+W", "ToolButton22Click", "ToolButton22Click"},
    {"Ctrl+Shift+F1", "N54Click", "N54Click"},
    {"Esc", "ToolButton7Click", "ToolButton7Click"},
};

void press(QWidget *widget, const char *key)
{
    const QKeyCombination combination = QKeySequence::fromString(QString::fromLatin1(key))[0];
    QTest::keyClick(widget, combination.key(), combination.keyboardModifiers());
}

} // namespace

TEST_F(MainWindowTest, EveryMenuItemReachesItsHandler)
{
    TForm1 &f = createForm();
    for (const auto &[item, handler] : kItemHandlers) {
        QAction *action = menuItem(f, QString::fromLatin1(item));
        ASSERT_TRUE(action) << item;
        handlers.clear();
        action->trigger(); // as a click on the item does
        EXPECT_EQ(handlers, QStringList{QString::fromLatin1(handler)}) << item;
    }
}

TEST_F(MainWindowTest, ItemsWithoutAnActionRunNothing)
{
    TForm1 &f = createForm();
    for (const char *item : {"N114", "N1", "N5", "N40", "N108", "N107", "N55", "N104", "N112"}) {
        handlers.clear();
        menuItem(f, QString::fromLatin1(item))->trigger();
        EXPECT_TRUE(handlers.isEmpty()) << item;
    }
}

TEST_F(MainWindowTest, OpeningTheMarkerSubmenuRunsItsHandler)
{
    TForm1 &f = createForm();
    QMenu *marker = menuItem(f, "N45")->menu();
    Q_EMIT marker->aboutToShow();
    EXPECT_EQ(handlers, QStringList{"N45Click"});
}

TEST_F(MainWindowTest, MenuChoiceDoesNotTickItsOwnMark)
{
    TForm1 &f = createForm();
    // The item's handler flips marks; a checkable item must not also tick
    // itself, or the mark would flip twice.
    menuItem(f, "N52")->trigger();
    EXPECT_FALSE(menuItem(f, "N52")->isChecked());
    EXPECT_FALSE(menuItem(f, "N100")->isChecked());
    EXPECT_FALSE(CB3(f)->isChecked());
    menuItem(f, "N109")->trigger(); // its handler flips its mark once
    EXPECT_TRUE(menuItem(f, "N109")->isChecked());
}

TEST_F(MainWindowTest, ShortcutsTakeTheContextMenuFirstInTheEditor)
{
    TForm1 &f = createForm();
    f.show();
    for (const KeyCase &c : kKeys) {
        for (QWidget *target : {static_cast<QWidget *>(RxRichEdit1(f)), static_cast<QWidget *>(CB1(f))}) {
            if (!f.isVisible())
                f.show(); // Esc closed it
            const char *expected = target == RxRichEdit1(f) ? c.inEditor : c.elsewhere;
            handlers.clear();
            press(target, c.key);
            const QStringList want = expected ? QStringList{QString::fromLatin1(expected)} : QStringList{};
            EXPECT_EQ(handlers, want) << c.key << (target == RxRichEdit1(f) ? " in the editor" : " elsewhere");
        }
    }
}

TEST_F(MainWindowTest, KeysTakenByMenusNeverReachTheEditor)
{
    TForm1 &f = createForm();
    f.show();
    RxRichEdit1(f)->setPlainText("abc");
    QTextCursor cursor = RxRichEdit1(f)->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    RxRichEdit1(f)->setTextCursor(cursor);
    QApplication::clipboard()->setText("PASTED");

    // Shift+Insert is the font dialog, never paste; Ctrl+Insert the colour
    // dialog, never copy; Insert does nothing at all.
    for (const char *key : {"Shift+Ins", "Ctrl+Ins", "Ins"})
        press(RxRichEdit1(f), key);
    EXPECT_EQ(RxRichEdit1(f)->toPlainText(), "abc");
    EXPECT_FALSE(RxRichEdit1(f)->overwriteMode());

    // Delete runs the Delete command: the selection goes, nothing else.
    press(RxRichEdit1(f), "Del");
    EXPECT_EQ(RxRichEdit1(f)->toPlainText(), "ac");
    press(RxRichEdit1(f), "Del");
    EXPECT_EQ(RxRichEdit1(f)->toPlainText(), "ac");

    // Keys no menu claims stay with the editor.
    press(RxRichEdit1(f), "Backspace");
    EXPECT_EQ(RxRichEdit1(f)->toPlainText(), "c");
}

TEST_F(MainWindowTest, CoolBarControlsAskTheContextMenuFirst)
{
    TForm1 &f = createForm();
    f.show();
    press(f.findChild<QWidget *>("Edit1"), "Ctrl+Q");
    EXPECT_EQ(handlers, QStringList{"N77Click"});
}

TEST_F(MainWindowTest, EscClosesAnUnmodifiedDocumentAndWritesThePlacement)
{
    TForm1 &f = createForm();
    f.show();
    press(RxRichEdit1(f), "Esc");
    EXPECT_FALSE(f.isVisible());
    const QByteArray ini = settingsContent();
    EXPECT_TRUE(ini.startsWith("[FORM]\n")) << ini.constData();
    EXPECT_TRUE(ini.contains("Width=" + QByteArray::number(f.width())));
    EXPECT_FALSE(ini.contains("[FILE]"));
}

TEST_F(MainWindowTest, AnUnwritableSettingsFileNeverKeepsTheProgramOpen)
{
    TForm1 &f = createFormWithUnwritableSettings();
    f.show();
    EXPECT_TRUE(f.close());
    ASSERT_EQ(platform.boxes.messages.size(), 1); // not again from the close after its query
    EXPECT_EQ(platform.boxes.messages.first().text, "Unable to write to " + unwritableSettingsPath() + ".");
}

TEST_F(MainWindowTest, HintsShowInUnderlinedCourierNew)
{
    TForm1 &f = createForm();
    f.show();
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), toolButton(f, 1)->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(toolButton(f, 1), &tip);
    EXPECT_EQ(QToolTip::font().family(), "Courier New");
    EXPECT_EQ(QToolTip::font().pointSize(), 10);
    EXPECT_TRUE(QToolTip::font().underline());
    QToolTip::hideText();
}

TEST(ErrorDisplay, FullStopAppendedOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(errorBoxText("Division by zero"), "Division by zero.");
    EXPECT_EQ(errorBoxText("'12a' is not a valid integer value"), "'12a' is not a valid integer value.");
    EXPECT_EQ(errorBoxText("Done."), "Done.");
    EXPECT_EQ(errorBoxText("Oops!"), "Oops!");
    EXPECT_EQ(errorBoxText("(x)"), "(x)");
    EXPECT_EQ(errorBoxText("Файл"), "Файл.");
    EXPECT_EQ(errorBoxText(""), "");
}

TEST(ErrorDisplay, AnUnhandledErrorEndsTheCommandAndIsShown)
{
    platform::FakePlatform platform;
    bool after = false;
    runGuarded(platform, [&] {
        throw VeltrixError("Failed to Load Stream");
        after = true;
    });
    EXPECT_FALSE(after);
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_EQ(platform.boxes.messages[0].title, "Veltrix 3.0");
    EXPECT_EQ(platform.boxes.messages[0].text, "Failed to Load Stream.");
    EXPECT_EQ(platform.boxes.messages[0].icon, platform::MessageIcon::Error);
}
