#pragma once

#include "platform/Platform.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace platform {

// The character keys of an XKB layout compiled by its names ("ru",
// "phonetic") from the system's keyboard data, without an X server; their
// key codes are X11's, so two layouts read here pair key by key. Empty for a
// layout the data does not have.
QList<LayoutKey> keysOfXkbLayout(const QString &symbols, const QString &variant);

struct XkbLayoutNames {
    QString symbols;
    QString variant; // empty for the basic layout
};

// The layout the keyboard data describes so ("Russian (phonetic)" → "ru",
// "phonetic"), looked up in its rules list (the text of evdev.lst); nullopt
// for a description it does not have. Desktops that tell only descriptions
// name their variants this way.
std::optional<XkbLayoutNames> xkbNamesOfDescription(const QString &description, const QByteArray &rulesList);
// The same in the system's own list, read once.
std::optional<XkbLayoutNames> xkbNamesOfDescription(const QString &description);

} // namespace platform
