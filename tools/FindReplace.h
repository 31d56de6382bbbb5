#pragma once

#include <QString>

class TRxRichEdit;

// The searches behind the find and replace dialogs. They differ on purpose:
// the find dialog always takes the first occurrence in the document, with
// exact case; the replace dialog walks on from a position it keeps, ignoring
// case; a replacement takes whatever is selected.
namespace findreplace {

// Selects the first occurrence of `text` in the document, case-sensitively,
// with the selection kept visible. False, with the selection untouched, when
// there is none (also for an empty `text`).
bool selectFirstOccurrence(TRxRichEdit &editor, const QString &text);

// Selects the first occurrence of `text`, in any case, from `position` to the
// end of the document, and moves `position` past it. False, with both
// untouched, when there is none; a `position` beyond the end finds nothing.
bool selectNextFrom(TRxRichEdit &editor, const QString &text, int &position);

// Puts `replacement` in place of the selection and selects it. False, changing
// nothing, when nothing is selected.
bool replaceSelection(TRxRichEdit &editor, const QString &replacement);

// The find dialog's not-found message, naming the text.
QString notFoundText(bool english, const QString &text);
// The replace dialog's not-found message.
QString nextNotFoundText(bool english);

} // namespace findreplace
