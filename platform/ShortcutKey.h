#pragma once

#include <QKeyCombination>

class QKeyEvent;

namespace platform {

// The key of a key press as menu shortcuts name it: modifiers Ctrl, Shift, Alt
// and Meta only, and letters by their place on the keyboard, so that Ctrl+O is
// Ctrl+O also while a Cyrillic layout types "Щ" with that key.
QKeyCombination shortcutKey(const QKeyEvent &event);

// The same from the event's parts; `x11KeyCodes` says whether the native scan
// code is an X11 key code.
QKeyCombination shortcutKey(int key, Qt::KeyboardModifiers modifiers, quint32 nativeScanCode, bool x11KeyCodes);

} // namespace platform
