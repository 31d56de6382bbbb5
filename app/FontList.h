#pragma once

#include <QStringList>

// The entries of the font name box: "Default" and the screen's font families,
// a name equal (ignoring case) to the one before it dropped, the whole list
// sorted alphabetically without regard to case.
QStringList fontNameList(const QStringList &families);
