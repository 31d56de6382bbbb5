#include "platform/ShortcutKey.h"

#include <gtest/gtest.h>

using platform::shortcutKey;

TEST(ShortcutKey, CyrillicLettersOnX11CountAsTheLatinKeyInTheirPlace)
{
    // Ctrl+O typed with the Russian layout active: the key reports "Щ" (U+0429).
    EXPECT_EQ(shortcutKey(0x0429, Qt::ControlModifier, 32, true), QKeyCombination(Qt::ControlModifier, Qt::Key_O));
    // Ctrl+Alt+R: "К" on the R key.
    EXPECT_EQ(shortcutKey(0x041A, Qt::ControlModifier | Qt::AltModifier, 27, true),
              QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_R));
    // Not an X11 key code: nothing to translate.
    EXPECT_EQ(shortcutKey(0x0429, Qt::ControlModifier, 32, false), QKeyCombination(Qt::ControlModifier, Qt::Key(0x0429)));
}

TEST(ShortcutKey, OtherKeysPassUnchangedWithoutTheKeypadModifier)
{
    EXPECT_EQ(shortcutKey(Qt::Key_Insert, Qt::ShiftModifier | Qt::KeypadModifier, 90, true),
              QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert));
    EXPECT_EQ(shortcutKey(Qt::Key_F9, Qt::NoModifier, 75, true), QKeyCombination(Qt::Key_F9));
    EXPECT_EQ(shortcutKey(Qt::Key_Backtab, Qt::ShiftModifier, 23, true), QKeyCombination(Qt::ShiftModifier, Qt::Key_Tab));
    EXPECT_EQ(shortcutKey(Qt::Key_O, Qt::ControlModifier, 32, true), QKeyCombination(Qt::ControlModifier, Qt::Key_O));
}
