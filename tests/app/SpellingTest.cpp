#include "MainWindowFixture.h"
#include "spelling/Speller.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWindow>

namespace {

bool bothDictionaries()
{
    const std::unique_ptr<spelling::Speller> speller =
        spelling::Speller::load(spelling::Speller::systemDictionaryDirs(), QString());
    return speller && speller->languages().contains(QStringLiteral("ru_RU")) &&
           speller->languages().contains(QStringLiteral("en_US"));
}

QMenu *shownMenu()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *menu = qobject_cast<QMenu *>(widget); menu && menu->isVisible())
            return menu;
    }
    return nullptr;
}

// A right click on the character at `position` of the editor.
QMenu *rightClickAt(TForm1 &f, int position)
{
    TRxRichEdit *editor = RxRichEdit1(f);
    QTextCursor at(editor->document());
    at.setPosition(position);
    QTest::mouseClick(f.windowHandle(), Qt::RightButton, Qt::NoModifier,
                      editor->viewport()->mapTo(&f, editor->cursorRect(at).center() + QPoint(2, 0)));
    return shownMenu();
}

QAction *actionNamed(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

TEST_F(MainWindowTest, AFlaggedWordsMenuMendsItAddsItOrIgnoresItAndTheCheckIsKeptInTheSettings)
{
    if (!bothDictionaries())
        GTEST_SKIP() << "hunspell-ru and hunspell-en-us are not installed";
    dictionaryDirs = spelling::Speller::systemDictionaryDirs();
    TForm1 &f = createForm();
    f.waitForSpeller();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    TRxRichEdit *editor = RxRichEdit1(f);
    ASSERT_TRUE(menuItem(f, "N132")->isEnabled());
    EXPECT_TRUE(menuItem(f, "N132")->toolTip().contains(QStringLiteral("ru_RU"))) << "the dictionaries listed";
    EXPECT_TRUE(menuItem(f, "N132")->isChecked()) << "on by default with dictionaries";
    editor->setText(QStringLiteral("Hello ghbdtn wrld xqzzyv"));
    QCoreApplication::processEvents();

    // The wrong layout's word first, as typed again in the other layout; one undo takes it back.
    QMenu *menu = rightClickAt(f, 8);
    ASSERT_TRUE(menu);
    ASSERT_FALSE(menu->actions().isEmpty());
    EXPECT_EQ(menu->actions().first()->text(), QStringLiteral("привет"));
    const QList<QAction *> items = menu->actions();
    EXPECT_LT(items.indexOf(actionNamed(menu, QStringLiteral("Ignore all"))),
              items.indexOf(actionNamed(menu, QStringLiteral("File"))))
        << "the context menu's own items below";
    menu->close();
    items.first()->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(actionNamed(PopupMenu1(f), QStringLiteral("Add to dictionary"))) << "gone with the menu";
    EXPECT_EQ(editor->Text(), QStringLiteral("Hello привет wrld xqzzyv"));
    editor->Undo();
    EXPECT_EQ(editor->Text(), QStringLiteral("Hello ghbdtn wrld xqzzyv"));

    // Added: in the personal list, and flagged no more; ignored: no more this run.
    menu = rightClickAt(f, 14);
    ASSERT_TRUE(menu);
    QAction *add = actionNamed(menu, QStringLiteral("Add to dictionary"));
    ASSERT_TRUE(add);
    menu->close(); // as a click on an item: the menu closes, then the item runs
    add->trigger();
    EXPECT_TRUE(testhelpers::readFile(dir.filePath(QStringLiteral("words.dic"))).contains("wrld"));
    menu = rightClickAt(f, 19);
    ASSERT_TRUE(menu);
    QAction *ignore = actionNamed(menu, QStringLiteral("Ignore all"));
    ASSERT_TRUE(ignore);
    menu->close();
    ignore->trigger();
    editor->moveCursor(QTextCursor::Start);
    menuItem(f, "N133")->trigger(); // Shift+F7
    EXPECT_EQ(editor->textCursor().selectedText(), QStringLiteral("ghbdtn"));
    menuItem(f, "N133")->trigger();
    EXPECT_EQ(editor->textCursor().selectedText(), QStringLiteral("ghbdtn")) << "round from the start";
    EXPECT_TRUE(platform.boxes.messages.isEmpty());

    // Off: nothing flagged, the menu is the plain one, and it stays off.
    menuItem(f, "N134")->trigger();
    EXPECT_FALSE(menuItem(f, "N132")->isChecked());
    EXPECT_FALSE(editor->markedWordAt(editor->cursorRect().center()));
    EXPECT_TRUE(settingsContent().contains("[SPELLING]\nCheck=0")) << settingsContent().toStdString();
}

TEST_F(MainWindowTest, WithoutDictionariesTheSpellCheckIsDisabledWithAHintNamingThePackages)
{
    dictionaryDirs = QStringList{dir.filePath(QStringLiteral("no-dictionaries"))};
    TForm1 &f = createForm();
    f.waitForSpeller();
    for (const char *name : {"N132", "N133", "N134"}) {
        EXPECT_FALSE(menuItem(f, name)->isEnabled()) << name;
        EXPECT_TRUE(menuItem(f, name)->toolTip().contains(QStringLiteral("hunspell-ru"))) << name;
    }
    EXPECT_TRUE(menuItem(f, "N132")->toolTip().startsWith(QStringLiteral("No spelling dictionaries")));
    useLanguage(f, false);
    EXPECT_TRUE(menuItem(f, "N132")->toolTip().startsWith(QStringLiteral("Нет словарей")));
}
