#pragma once

#include "platform/Platform.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <memory>

namespace platform {

// The X server's keyboard: its layouts are the keyboard's XKB groups and the
// lock keys its indicators. Away from X11 there are no XKB layouts (nullptr)
// and no lock key is reported on.
std::unique_ptr<KeyboardLayouts> makeXkbKeyboardLayouts();
std::unique_ptr<LockKeys> makeDesktopLockKeys();

// The Windows language identifier of an XKB layout, given either as its symbols
// name ("ru", "gb", "us(dvorak)") or as its group name ("Russian", "English (UK)");
// 0 for a layout not in the table.
quint16 languageIdOfLayout(const QString &layoutName);

// The symbols name of a layout given by its group name ("Russian (phonetic)"
// → "ru"); empty for a name not in the table.
QString symbolsOfLayoutName(const QString &layoutName);

// The character a keysym types: Latin-1, Cyrillic and Unicode keysyms; 0 for
// any other (function and keypad keys among them).
char32_t characterOfKeysym(quint32 keysym);

// A layout handle names the XKB group in its high 16 bits (group index + 1), so
// two groups with the same language differ; the low 16 bits are the language.
quint32 layoutHandle(int groupIndex, quint16 languageId);
// The group index a handle names, or -1 when it names none of XKB's four groups.
int groupOfLayoutHandle(quint32 handle);

// One handle per entry of a comma-separated XKB layout list ("us,ru"), in group
// order and at most XKB's four groups.
QList<quint32> layoutHandlesFromNames(const QString &layoutList);

// The layout list out of the root window's _XKB_RULES_NAMES property: rules,
// model, layouts, variants and options, each ended by a zero byte.
QString layoutListFromRulesNames(const QByteArray &property);

} // namespace platform
