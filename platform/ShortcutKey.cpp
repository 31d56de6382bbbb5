#include "platform/ShortcutKey.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace platform {

namespace {

// X11 key codes (evdev code + 8) of the letter keys, by the Latin letter they
// carry on a US keyboard.
Qt::Key letterAtX11KeyCode(quint32 keyCode)
{
    static const char kRows[][2] = {
        {24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'},
        {31, 'I'}, {32, 'O'}, {33, 'P'}, {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'},
        {42, 'G'}, {43, 'H'}, {44, 'J'}, {45, 'K'}, {46, 'L'}, {52, 'Z'}, {53, 'X'},
        {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'},
    };
    for (const auto &row : kRows) {
        if (static_cast<quint32>(row[0]) == keyCode)
            return static_cast<Qt::Key>(row[1]);
    }
    return Qt::Key_unknown;
}

bool isNonLatinCharacterKey(int key)
{
    return key > 0xff && key < Qt::Key_Escape;
}

} // namespace

QKeyCombination shortcutKey(const QKeyEvent &event)
{
    // Qt's Wayland platform reports the same XKB key codes as its X11 one.
    const QString platform = QGuiApplication::platformName();
    const bool x11KeyCodes = platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
    return shortcutKey(event.key(), event.modifiers(), event.nativeScanCode(), x11KeyCodes);
}

QKeyCombination shortcutKey(int key, Qt::KeyboardModifiers eventModifiers, quint32 nativeScanCode, bool x11KeyCodes)
{
    const Qt::KeyboardModifiers modifiers =
        eventModifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    if (isNonLatinCharacterKey(key) && x11KeyCodes) {
        const Qt::Key latin = letterAtX11KeyCode(nativeScanCode);
        if (latin != Qt::Key_unknown)
            key = latin;
    }
    // Shift+Tab arrives as Backtab; menus name it Shift+Tab.
    if (key == Qt::Key_Backtab)
        key = Qt::Key_Tab;
    return QKeyCombination(modifiers, static_cast<Qt::Key>(key));
}

} // namespace platform
