// Find and replace.
#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "tools/FindReplace.h"

void TForm1::ToolButton14Click()
{
    platform::FindDialogEvents events;
    events.findNext = [this] { run("FindDialog1Find", [this] { FindDialog1Find(); }); };
    platform_.findDialogs().findDialog().show(this, std::move(events));
}

void TForm1::ToolButton20Click()
{
    platform::FindDialogEvents events;
    events.findNext = [this] { run("ReplaceDialog1Find", [this] { ReplaceDialog1Find(); }); };
    // Replace All is the same one replacement as Replace.
    events.replace = [this] { run("ReplaceDialog1Replace", [this] { ReplaceDialog1Replace(); }); };
    events.replaceAll = events.replace;
    platform_.findDialogs().replaceDialog().show(this, std::move(events));
}

// Always the first occurrence, exact case; the dialog's options are not read.
void TForm1::FindDialog1Find()
{
    platform::FindDialog &dialog = platform_.findDialogs().findDialog();
    const QString text = dialog.findText();
    if (findreplace::selectFirstOccurrence(*RxRichEdit1, text)) {
        dialog.close();
        return;
    }
    platform_.messageBoxes().showMessage(this, platform::MessageIcon::None, QString::fromUtf8(kAppTitle),
                                         findreplace::notFoundText(Lang, text));
}

// Walks on from ReplaceFindPos, ignoring case; the dialog stays open.
void TForm1::ReplaceDialog1Find()
{
    const QString text = platform_.findDialogs().replaceDialog().findText();
    if (!findreplace::selectNextFrom(*RxRichEdit1, text, ReplaceFindPos))
        platform_.messageBoxes().showMessage(this, platform::MessageIcon::None, QString::fromUtf8(kAppTitle),
                                             findreplace::nextNotFoundText(Lang));
}

// Replaces the selection, whatever it holds, and closes the dialog;
// ReplaceFindPos stays where it is.
void TForm1::ReplaceDialog1Replace()
{
    platform::FindDialog &dialog = platform_.findDialogs().replaceDialog();
    if (findreplace::replaceSelection(*RxRichEdit1, dialog.replaceText()))
        dialog.close();
}
