// The find and replace dialogs on Qt: the classic controls, modeless, and
// their buttons running the events only with something to find.
#include "platform/QtFindDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <type_traits>

namespace {

template <typename Widget>
Widget *named(QDialog *dialog, const QString &caption)
{
    for (Widget *widget : dialog->findChildren<Widget *>()) {
        QString text;
        if constexpr (std::is_same_v<Widget, QLineEdit>)
            text = widget->accessibleName();
        else
            text = widget->text().remove(QLatin1Char('&'));
        if (text == caption)
            return widget;
    }
    return nullptr;
}

} // namespace

TEST(QtFindDialogTest, FindDialogHasTheClassicControlsAndIsModeless)
{
    QWidget owner;
    platform::QtFindDialogs dialogs;
    platform::FindDialog &find = dialogs.findDialog();
    EXPECT_FALSE(find.isOpen());
    find.show(&owner, {});
    QDialog *window = static_cast<platform::QtFindDialog &>(find).window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(find.isOpen());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->parentWidget(), &owner);
    EXPECT_EQ(window->windowTitle(), "Find");

    QLineEdit *what = named<QLineEdit>(window, "Find what");
    ASSERT_TRUE(what);
    EXPECT_EQ(what->maxLength(), 255);
    EXPECT_FALSE(named<QLineEdit>(window, "Replace with"));
    EXPECT_TRUE(named<QCheckBox>(window, "Match whole word only"));
    EXPECT_TRUE(named<QCheckBox>(window, "Match case"));
    ASSERT_TRUE(named<QRadioButton>(window, "Down"));
    EXPECT_TRUE(named<QRadioButton>(window, "Down")->isChecked());
    EXPECT_TRUE(named<QRadioButton>(window, "Up"));
    EXPECT_TRUE(named<QPushButton>(window, "Find Next"));
    EXPECT_TRUE(named<QPushButton>(window, "Cancel"));
    EXPECT_FALSE(named<QPushButton>(window, "Replace"));
    EXPECT_FALSE(named<QPushButton>(window, "Replace All"));
    EXPECT_TRUE(find.searchDown());
}

TEST(QtFindDialogTest, ReplaceDialogHasTheClassicControls)
{
    QWidget owner;
    platform::QtFindDialogs dialogs;
    dialogs.replaceDialog().show(&owner, {});
    QDialog *window = static_cast<platform::QtFindDialog &>(dialogs.replaceDialog()).window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "Replace");
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(named<QLineEdit>(window, "Find what"));
    ASSERT_TRUE(named<QLineEdit>(window, "Replace with"));
    EXPECT_EQ(named<QLineEdit>(window, "Replace with")->maxLength(), 255);
    EXPECT_TRUE(named<QCheckBox>(window, "Match whole word only"));
    EXPECT_TRUE(named<QCheckBox>(window, "Match case"));
    EXPECT_FALSE(named<QRadioButton>(window, "Up"));
    for (const char *button : {"Find Next", "Replace", "Replace All", "Cancel"})
        EXPECT_TRUE(named<QPushButton>(window, button)) << button;
}

TEST(QtFindDialogTest, ButtonsRunTheirEventsOnlyWithSomethingToFind)
{
    QWidget owner;
    platform::QtFindDialogs dialogs;
    QStringList ran;
    platform::FindDialogEvents events;
    events.findNext = [&] { ran.append("find"); };
    events.replace = [&] { ran.append("replace"); };
    events.replaceAll = [&] { ran.append("all"); };
    events.closed = [&] { ran.append("closed"); };
    platform::FindDialog &replace = dialogs.replaceDialog();
    replace.show(&owner, events);
    QDialog *window = static_cast<platform::QtFindDialog &>(replace).window();
    ASSERT_TRUE(window);

    for (const char *button : {"Find Next", "Replace", "Replace All"})
        EXPECT_FALSE(named<QPushButton>(window, button)->isEnabled()) << button;
    QTest::keyClicks(named<QLineEdit>(window, "Find what"), "cat");
    named<QLineEdit>(window, "Replace with")->insert(QStringLiteral("пёс"));
    EXPECT_EQ(replace.findText(), "cat");
    EXPECT_EQ(replace.replaceText(), QStringLiteral("пёс"));
    named<QCheckBox>(window, "Match case")->click();
    EXPECT_TRUE(replace.matchCase());
    EXPECT_FALSE(replace.wholeWord());

    named<QPushButton>(window, "Find Next")->click();
    named<QPushButton>(window, "Replace")->click();
    named<QPushButton>(window, "Replace All")->click();
    QTest::keyClick(named<QLineEdit>(window, "Find what"), Qt::Key_Return); // the default button
    EXPECT_EQ(ran, (QStringList{"find", "replace", "all", "find"}));
    EXPECT_TRUE(replace.isOpen());

    named<QPushButton>(window, "Cancel")->click();
    EXPECT_FALSE(replace.isOpen());
    EXPECT_EQ(ran.last(), "closed");

    // Reopened, it holds what was typed; Esc closes it.
    replace.show(&owner, events);
    EXPECT_EQ(static_cast<platform::QtFindDialog &>(replace).window(), window);
    EXPECT_EQ(named<QLineEdit>(window, "Find what")->text(), "cat");
    EXPECT_TRUE(named<QCheckBox>(window, "Match case")->isChecked());
    QTest::keyClick(named<QLineEdit>(window, "Find what"), Qt::Key_Escape);
    EXPECT_FALSE(replace.isOpen());
}

TEST(QtFindDialogTest, FieldsKeepOneLineOfAtMost255Characters)
{
    QWidget owner;
    platform::QtFindDialogs dialogs;
    platform::FindDialog &find = dialogs.findDialog();
    find.show(&owner, {});
    QLineEdit *what = named<QLineEdit>(static_cast<platform::QtFindDialog &>(find).window(), "Find what");
    ASSERT_TRUE(what);
    what->setText("first\r\nsecond"); // as a paste would bring it
    EXPECT_EQ(what->text(), "first");
    EXPECT_EQ(find.findText(), "first");
    what->setText(QString(300, QLatin1Char('y')));
    EXPECT_EQ(find.findText().size(), 255);

    EXPECT_EQ(platform::findFieldText("a\nb"), "a");
    EXPECT_EQ(platform::findFieldText(QString(254, QLatin1Char('x')) + QStringLiteral("😀")).size(), 254);
}

TEST(QtFindDialogTest, TheDialogGoesWithItsOwnerAndTheTextsStay)
{
    platform::QtFindDialogs dialogs;
    platform::FindDialog &find = dialogs.findDialog();
    auto owner = std::make_unique<QWidget>();
    find.show(owner.get(), {});
    named<QLineEdit>(static_cast<platform::QtFindDialog &>(find).window(), "Find what")->setText("kept");
    owner.reset();
    EXPECT_FALSE(find.isOpen());
    EXPECT_FALSE(static_cast<platform::QtFindDialog &>(find).window());

    QWidget second;
    find.show(&second, {});
    QDialog *window = static_cast<platform::QtFindDialog &>(find).window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->parentWidget(), &second);
    EXPECT_EQ(named<QLineEdit>(window, "Find what")->text(), "kept");
    find.close();
    EXPECT_FALSE(find.isOpen());
}
