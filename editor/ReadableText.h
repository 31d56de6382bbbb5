#pragma once

#include <QColor>

// The automatic text colour on a paper: the desktop theme's text colour, or
// black where that colour would all but vanish on the paper (a dark theme's
// light text on white paper).
QColor readableTextColor(const QColor &themeText, const QColor &paper);
