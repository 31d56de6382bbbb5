// Find and replace.
#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"
#include "tools/FindReplace.h"

namespace {

findreplace::SearchOptions optionsOf(const platform::FindDialog &dialog)
{
    findreplace::SearchOptions options;
    options.matchCase = dialog.matchCase();
    options.wholeWord = dialog.wholeWord();
    options.down = dialog.searchDown();
    return options;
}

} // namespace

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
    events.replace = [this] { run("ReplaceDialog1Replace", [this] { ReplaceDialog1Replace(); }); };
    events.replaceAll = [this] { run("ReplaceDialog1ReplaceAll", [this] { ReplaceDialog1ReplaceAll(); }); };
    platform_.findDialogs().replaceDialog().show(this, std::move(events));
}

void TForm1::showFindMessage(const QString &text)
{
    platform_.messageBoxes().showMessage(this, platform::MessageIcon::None, QString::fromUtf8(kAppTitle), text);
}

void TForm1::FindDialog1Find()
{
    platform::FindDialog &dialog = platform_.findDialogs().findDialog();
    const QString text = dialog.findText();
    if (findreplace::selectNext(*RxRichEdit1, text, optionsOf(dialog)))
        dialog.close();
    else
        showFindMessage(findreplace::notFoundText(Lang, text));
}

// The dialog stays open for the next press.
void TForm1::ReplaceDialog1Find()
{
    const platform::FindDialog &dialog = platform_.findDialogs().replaceDialog();
    if (!findreplace::selectNext(*RxRichEdit1, dialog.findText(), optionsOf(dialog)))
        showFindMessage(findreplace::nextNotFoundText(Lang));
}

// A selection that is not an occurrence is left alone: the press finds one.
void TForm1::ReplaceDialog1Replace()
{
    platform::FindDialog &dialog = platform_.findDialogs().replaceDialog();
    switch (findreplace::replaceSelectionOrSelectNext(*RxRichEdit1, dialog.findText(), dialog.replaceText(),
                                                      optionsOf(dialog))) {
    case findreplace::ReplaceOutcome::Replaced:
        dialog.close();
        break;
    case findreplace::ReplaceOutcome::SelectedNext:
        break;
    case findreplace::ReplaceOutcome::NotFound:
        showFindMessage(findreplace::nextNotFoundText(Lang));
        break;
    }
}

void TForm1::ReplaceDialog1ReplaceAll()
{
    platform::FindDialog &dialog = platform_.findDialogs().replaceDialog();
    const int replaced =
        findreplace::replaceAll(*RxRichEdit1, dialog.findText(), dialog.replaceText(), optionsOf(dialog));
    if (replaced == 0) {
        showFindMessage(findreplace::nextNotFoundText(Lang));
        return;
    }
    dialog.close();
    showFindMessage(findreplace::replacedCountText(Lang, replaced));
}
