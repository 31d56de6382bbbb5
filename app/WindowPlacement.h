#pragma once

#include <QList>
#include <QRect>

// The window's placement read from the settings file, made to fit the screens
// it can be shown on: a file from another machine, or one written by hand,
// must not put the window off every screen or make it larger than any of them.
namespace placement {

// A value no screen can hold (the X server keeps coordinates in 16 bits), or a
// size below one pixel, reads as the matching value of `fallback`. The window
// then keeps to the screen it overlaps most (the nearest one when it overlaps
// none): no larger than its free area, and moved into it.
QRect fitted(const QRect &stored, const QRect &fallback, const QList<QRect> &screens);

} // namespace placement
