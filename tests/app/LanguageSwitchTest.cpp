#include "MainWindowFixture.h"

#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QTest>
#include <QToolButton>

namespace {

struct LanguageState {
    bool lang;
    bool cb3;
    bool marks;
    QString n13; // a caption whose three texts all differ
};

LanguageState stateOf(const TForm1 &f)
{
    EXPECT_EQ(menuItem(f, "N52")->isChecked(), menuItem(f, "N100")->isChecked());
    return {f.english(), CB3(f)->isChecked(), menuItem(f, "N52")->isChecked(), menuItem(f, "N13")->text()};
}

void expectState(const TForm1 &f, const LanguageState &expected, int step)
{
    const LanguageState actual = stateOf(f);
    EXPECT_EQ(actual.lang, expected.lang) << "step " << step;
    EXPECT_EQ(actual.cb3, expected.cb3) << "step " << step;
    EXPECT_EQ(actual.marks, expected.marks) << "step " << step;
    EXPECT_EQ(actual.n13, expected.n13) << "step " << step;
}

void pressF9(TForm1 &f)
{
    QTest::keyClick(RxRichEdit1(f), Qt::Key_F9);
}

} // namespace

TEST_F(MainWindowTest, SwitchesFromARussianStart)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    TForm1 &f = createForm();
    expectState(f, {false, true, true, "Параметры страницы"}, 0);

    pressF9(f);
    expectState(f, {true, false, false, "Printer setup"}, 1);
    EXPECT_TRUE(settingsContent().contains("Lang=1"));

    pressF9(f);
    expectState(f, {false, true, true, "Установки принтера"}, 2);
    EXPECT_TRUE(settingsContent().contains("Lang=0"));
    EXPECT_EQ(handlers, QStringList({"CB3Click", "CB3Click"}));
}

TEST_F(MainWindowTest, FirstSwitchAfterAnEnglishStartOnlyMovesTheTicks)
{
    TForm1 &f = createForm();
    expectState(f, {true, true, true, "Printer setup"}, 0);

    CB3(f)->click(); // the check box itself
    expectState(f, {true, false, false, "Printer setup"}, 1);
    EXPECT_EQ(settingsContent(), "[LANGUAGE]\nLang=1\n");

    menuItem(f, "N100")->trigger(); // the context menu's item
    expectState(f, {false, true, true, "Установки принтера"}, 2);
    EXPECT_EQ(CB3(f)->toolTip(), "Русский интерфейс");

    menuItem(f, "N52")->trigger(); // the main menu's item
    expectState(f, {true, false, false, "Printer setup"}, 3);
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
}

TEST_F(MainWindowTest, StatusTextsStayInTheirLanguageAfterASwitch)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    TForm1 &f = createForm();
    pressF9(f);
    EXPECT_EQ(StatusBar1(f)->panelText(4), "РУС.");
}

TEST_F(MainWindowTest, UnwritableSettingsStopTheSwitchBeforeTheTexts)
{
    TForm1 &f = createFormWithUnwritableSettings();
    ASSERT_TRUE(f.english());

    pressF9(f); // true/ticked → true/unticked: nothing to see yet but the ticks
    pressF9(f); // now Russian is wanted, but cannot be stored
    EXPECT_FALSE(f.english());
    EXPECT_TRUE(CB3(f)->isChecked());
    EXPECT_TRUE(menuItem(f, "N52")->isChecked());
    EXPECT_EQ(menuItem(f, "N13")->text(), "Printer setup"); // texts not re-applied

    ASSERT_EQ(platform.boxes.messages.size(), 2);
    const platform::ShownMessage &box = platform.boxes.messages.last();
    EXPECT_EQ(box.icon, platform::MessageIcon::Error);
    EXPECT_EQ(box.title, "Veltrix 3.0");
    EXPECT_EQ(box.text, "Unable to write to " + unwritableSettingsPath() + ".");
}

TEST_F(MainWindowTest, TemplateCaptionsAndSeparatorsNeverSwitch)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    TForm1 &f = createForm();
    pressF9(f);
    pressF9(f);
    for (const char *name : {"Delphi1", "Pascal1", "HTML1", "Cheader1", "CPP1", "Delphi2", "ObjectPascal1"})
        EXPECT_FALSE(menuItem(f, name)->text().isEmpty()) << name;
    EXPECT_EQ(menuItem(f, "Pascal1")->text(), "Object Pascal");
    EXPECT_TRUE(menuItem(f, "N14")->text().isEmpty());
}
