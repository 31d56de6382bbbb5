#pragma once

#include "formats/TColor.h"
#include "platform/Platform.h"

class QPalette;
class TRxTextAttributes;

// Between the selection's character format and the font dialog.
namespace fontdialog {

// What the dialog opens with: the selection's font and its colour as RGB.
platform::FontChoice choiceOf(const TRxTextAttributes &format, const QPalette &palette);

// Writes what the dialog's choice changed from what it opened with (`initial`,
// from choiceOf) to the selection's format, and gives the colour the
// selection now has at its start. What was left alone is not written: a
// selection of several fonts keeps them.
TColor applyChoice(TRxTextAttributes &format, const platform::FontChoice &initial, const platform::FontChoice &choice);

} // namespace fontdialog
