#include "platform/X11Keyboard.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace platform;

TEST(X11Keyboard, LayoutListGivesOneHandlePerGroupWithItsLanguage)
{
    const QList<quint32> handles = layoutHandlesFromNames(QStringLiteral("us,ru(phonetic),gb"));
    EXPECT_EQ(handles, (QList<quint32>{0x00010409, 0x00020419, 0x00030809}));
}

TEST(X11Keyboard, VariantsOfALanguageKeepItsPrimaryLanguageByte)
{
    // The program tells English from Russian by the low byte alone.
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("gb")) & 0xFF, 0x09);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("au")) & 0xFF, 0x09);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("us(dvorak)")), 0x0409);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("ru:2")), 0x0419);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral(" RU ")), 0x0419);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("ua")), 0x0422);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("by")), 0x0423);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("kz")), 0x043F);
}

TEST(X11Keyboard, GroupNamesAreUnderstoodWhenNoSymbolsNameIsAvailable)
{
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("Russian")), 0x0419);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("Russian (phonetic)")), 0x0419);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("English (US)")), 0x0409);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("English (UK)")), 0x0809);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("English (UK, extended, with Win keys)")), 0x0809);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("English (Dvorak)")), 0x0409);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("German (Austria)")), 0x0C07);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("German (Neo 2)")), 0x0407);
}

TEST(X11Keyboard, UnknownLayoutsHaveNoLanguageButKeepTheirGroup)
{
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("xx")), 0);
    EXPECT_EQ(languageIdOfLayout(QStringLiteral("Klingon (tlhIngan)")), 0);
    EXPECT_EQ(languageIdOfLayout(QString()), 0);
    // The Russian layout is still the third group, not the second.
    EXPECT_EQ(layoutHandlesFromNames(QStringLiteral("us,xx,ru")),
              (QList<quint32>{0x00010409, 0x00020000, 0x00030419}));
}

TEST(X11Keyboard, TwoGroupsOfOneLanguageHaveDifferentHandles)
{
    const QList<quint32> handles = layoutHandlesFromNames(QStringLiteral("ru,ru(phonetic)"));
    ASSERT_EQ(handles.size(), 2);
    EXPECT_NE(handles[0], handles[1]);
    EXPECT_EQ(handles[0] & 0xFFFF, handles[1] & 0xFFFF);
    EXPECT_EQ(groupOfLayoutHandle(handles[0]), 0);
    EXPECT_EQ(groupOfLayoutHandle(handles[1]), 1);
}

TEST(X11Keyboard, HandlesNameOnlyXkbsFourGroups)
{
    EXPECT_EQ(layoutHandlesFromNames(QStringLiteral("us,ru,de,fr,ua")).size(), 4);
    EXPECT_TRUE(layoutHandlesFromNames(QString()).isEmpty());
    EXPECT_TRUE(layoutHandlesFromNames(QStringLiteral("  ")).isEmpty());
    for (int group = 0; group < 4; ++group)
        EXPECT_EQ(groupOfLayoutHandle(layoutHandle(group, 0x0419)), group);
    // A bare language identifier, as a handle from elsewhere would be, names no group.
    EXPECT_EQ(groupOfLayoutHandle(0x0419), -1);
    EXPECT_EQ(groupOfLayoutHandle(layoutHandle(4, 0x0409)), -1);
    EXPECT_EQ(groupOfLayoutHandle(0xFFFF0409u), -1);
}

TEST(X11Keyboard, RulesNamesPropertyGivesItsThirdField)
{
    const char raw[] = "evdev\0pc105\0us,ru\0,phonetic\0grp:alt_shift_toggle\0";
    EXPECT_EQ(layoutListFromRulesNames(QByteArray(raw, sizeof raw - 1)), QStringLiteral("us,ru"));
    const char noLayouts[] = "evdev\0pc105\0";
    EXPECT_EQ(layoutListFromRulesNames(QByteArray(noLayouts, sizeof noLayouts - 1)), QString());
    EXPECT_EQ(layoutListFromRulesNames(QByteArray("evdev")), QString());
    EXPECT_EQ(layoutListFromRulesNames(QByteArray()), QString());
}

TEST(X11Keyboard, WithoutX11ThereAreNoLayoutsAndNoLockKeyIsOn)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        GTEST_SKIP() << "running on X11";
    EXPECT_FALSE(makeXkbKeyboardLayouts());
    const auto lockKeys = makeDesktopLockKeys();
    ASSERT_TRUE(lockKeys);
    EXPECT_FALSE(lockKeys->isOn(LockKey::CapsLock));
    EXPECT_FALSE(lockKeys->isOn(LockKey::ScrollLock));
    EXPECT_FALSE(lockKeys->isOn(LockKey::NumLock));
}

TEST(X11Keyboard, KeysymsGiveTheCharactersTheirKeysType)
{
    EXPECT_EQ(characterOfKeysym(0x0061), U'a');       // XK_a
    EXPECT_EQ(characterOfKeysym(0x00e9), U'é');       // XK_eacute
    EXPECT_EQ(characterOfKeysym(0x06ca), U'й');       // XK_Cyrillic_shorti
    EXPECT_EQ(characterOfKeysym(0x06a3), U'ё');       // XK_Cyrillic_io
    EXPECT_EQ(characterOfKeysym(0x06b3), U'Ё');       // XK_Cyrillic_IO
    EXPECT_EQ(characterOfKeysym(0x06ff), U'Ъ');       // XK_Cyrillic_HARDSIGN, the last one
    EXPECT_EQ(characterOfKeysym(0x06b0), U'№');       // XK_numerosign
    EXPECT_EQ(characterOfKeysym(0x01000451), U'ё');   // a Unicode keysym
    // Keys that type no character of their own, or none a layout would share.
    EXPECT_EQ(characterOfKeysym(0xffb1), 0u);         // XK_KP_1
    EXPECT_EQ(characterOfKeysym(0xff0d), 0u);         // XK_Return
    EXPECT_EQ(characterOfKeysym(0x06a0), 0u);
    EXPECT_EQ(characterOfKeysym(0), 0u);
}
