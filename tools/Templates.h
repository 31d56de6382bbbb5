#pragma once

#include <QStringList>

class TRxRichEdit;

// The source skeletons of "Special inserting": each replaces the whole
// document.
namespace templates {

enum class CodeTemplate { Delphi, ObjectPascal, Html, CppHeader, Cpp };

// The template's lines, in order.
QStringList lines(CodeTemplate which);

// Clears the editor without asking, puts the template in and marks the
// document modified. Every template but HTML is added a line at a time, so each
// line, the last too, ends with a line break; HTML is the whole text at once,
// with no break after its last line.
void putTemplate(TRxRichEdit &editor, CodeTemplate which);

} // namespace templates
