#pragma once

#include <QKeyCombination>

class QKeyEvent;

namespace platform {

// The key of a key press as menu shortcuts name it: modifiers Ctrl, Shift, Alt
// and Meta only, and letters by their place on the keyboard, so that Ctrl+O is
// Ctrl+O also while a Cyrillic layout types "Щ" with that key.
QKeyCombination shortcutKey(const QKeyEvent &event);

} // namespace platform
