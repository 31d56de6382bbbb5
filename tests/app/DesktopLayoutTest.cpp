#include "MainWindowFixture.h"

#include "support/TestHelpers.h"
#include "widgets/StatusBar.h"

#include <QApplication>
#include <QToolButton>

namespace {

using testhelpers::u8;

constexpr quint32 kEnglish = 0x00010409;
constexpr quint32 kRussian = 0x00020419;
constexpr quint32 kGerman = 0x00030407;

} // namespace

TEST_F(MainWindowTest, WhereTheDesktopLetsNoProgramSwitchTheUserIsToldOnceAndThePanelShowsTheDesktopsLayout)
{
    writeSettings("[LANGUAGE]\nLang=1\n");
    platform.keyboard.layouts = {kEnglish, kRussian, kGerman};
    platform.keyboard.switchingAllowed = false;
    platform.keyboard.tellsCurrent = true;
    platform.keyboard.active = kEnglish;
    TForm1 &f = createForm();
    // At start nothing is said: the user asked for nothing.
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
    EXPECT_EQ(StatusBar1(f)->panelText(4), "ENG.");

    toolButton(f, 26)->click(); // English is active already: nothing to tell
    EXPECT_TRUE(platform.boxes.messages.isEmpty());
    toolButton(f, 27)->click();
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_EQ(platform.boxes.messages[0].text,
              "This desktop does not let programs switch the keyboard layout. "
              "Switch it with the desktop's own shortcut or its layout indicator.");
    EXPECT_EQ(StatusBar1(f)->panelText(4), "ENG."); // not the switch that did not happen
    toolButton(f, 27)->click();
    EXPECT_EQ(platform.boxes.messages.size(), 1);

    // The user switches with the desktop's own key; a layout of neither
    // language leaves the marker as it was.
    platform.keyboard.switchOnDesktop(kRussian);
    EXPECT_EQ(StatusBar1(f)->panelText(4), "RUS.");
    platform.keyboard.switchOnDesktop(kGerman);
    EXPECT_EQ(StatusBar1(f)->panelText(4), "RUS.");
    toolButton(f, 26)->click(); // told already; German stays active
    EXPECT_EQ(StatusBar1(f)->panelText(4), "RUS.");
    EXPECT_TRUE(platform.keyboard.activations.isEmpty()); // never asked to switch
}

TEST_F(MainWindowTest, RefusalIsToldInTheInterfaceLanguage)
{
    writeSettings("[LANGUAGE]\nLang=0\n");
    platform.keyboard.layouts = {kEnglish, kRussian};
    platform.keyboard.switchingAllowed = false;
    platform.keyboard.tellsCurrent = true;
    platform.keyboard.active = kRussian;
    TForm1 &f = createForm();
    EXPECT_EQ(StatusBar1(f)->panelText(4), u8("РУС."));
    toolButton(f, 26)->click();
    ASSERT_EQ(platform.boxes.messages.size(), 1);
    EXPECT_TRUE(platform.boxes.messages[0].text.startsWith(u8("Этот рабочий стол не позволяет")));
    EXPECT_EQ(StatusBar1(f)->panelText(4), u8("РУС."));
}

TEST_F(MainWindowTest, PanelFollowsTheDesktopWhereItTellsAndTheWindowAsksAgainWhenActivated)
{
    writeSettings("[LANGUAGE]\nLang=1\n");
    platform.keyboard.layouts = {kEnglish, kRussian};
    platform.keyboard.tellsCurrent = true;
    TForm1 &f = createForm();
    EXPECT_EQ(platform.keyboard.activations, (QList<quint32>{kEnglish, kRussian}));
    EXPECT_EQ(StatusBar1(f)->panelText(4), "RUS.");

    // Switched elsewhere without a word from the desktop: seen on activation.
    platform.keyboard.active = kEnglish;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&f, &activate);
    EXPECT_EQ(StatusBar1(f)->panelText(4), "ENG.");
    EXPECT_TRUE(platform.boxes.messages.isEmpty());

    // Gone with the window: a later report reaches nothing.
    form.reset();
    platform.keyboard.switchOnDesktop(kRussian);
    EXPECT_FALSE(platform.keyboard.changeHandler);
}
