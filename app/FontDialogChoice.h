#pragma once

#include "formats/TColor.h"
#include "platform/Platform.h"

class QPalette;
class TRxTextAttributes;

// Between the selection's character format and the font dialog.
namespace fontdialog {

// What the dialog opens with: the selection's font and its colour as RGB.
platform::FontChoice choiceOf(const TRxTextAttributes &format, const QPalette &palette);

// Writes the dialog's choice to the selection's format and gives the colour
// it now has. A colour the dialog hands back unchanged keeps its meaning, so
// the automatic colour stays automatic.
TColor applyChoice(TRxTextAttributes &format, const platform::FontChoice &choice, const QPalette &palette);

} // namespace fontdialog
