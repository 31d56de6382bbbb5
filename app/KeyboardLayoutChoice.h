#pragma once

#include <QList>
#include <QtGlobal>

// The Russian and the English keyboard layout among those installed: the
// primary language (low byte of the language identifier in a handle's low word)
// 0x19 is Russian, 0x09 English; a later match replaces an earlier one; 0 = none.
struct KeyboardLayoutChoice {
    quint32 russian = 0;
    quint32 english = 0;
};

KeyboardLayoutChoice chooseKeyboardLayouts(const QList<quint32> &installed);
