#pragma once

#include "platform/Platform.h"

#include <QList>
#include <QString>

namespace platform {

// The character keys of an XKB layout compiled by its names ("ru",
// "phonetic") from the system's keyboard data, without an X server; their
// key codes are X11's, so two layouts read here pair key by key. Empty for a
// layout the data does not have.
QList<LayoutKey> keysOfXkbLayout(const QString &symbols, const QString &variant);

} // namespace platform
