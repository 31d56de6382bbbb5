// The document's file commands, Exit and autosave.
#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "widgets/StatusBar.h"
#include "editor/TRxRichEdit.h"
#include "platform/Platform.h"

#include <QAction>
#include <QTimer>

namespace {

constexpr int kModifiedPanel = 1;

platform::FileDialogRequest requestFor(const QStringList &filters, const FileDialogState &state)
{
    platform::FileDialogRequest request;
    request.filters = filters;
    request.defaultExtension = QString::fromLatin1(documents::kDefaultExtension);
    request.initialFolder = state.initialFolder;
    request.fileName = state.fileName;
    return request;
}

} // namespace

void TForm1::setDocumentTitle(const QString &path)
{
    setWindowTitle(documents::titleFor(path));
}

// New: a second, independent copy of the program; this window stays as it is.
void TForm1::ToolButton1Click()
{
    handlerRan(__func__);
    platform_.shell().startProgramCopy();
}

void TForm1::ToolButton2Click()
{
    handlerRan(__func__);
    OpenDialog1.initialFolder = documents::folderOf(CurrentFileName);
    const std::optional<QString> chosen =
        platform_.fileDialogs().openFileName(this, requestFor(documents::openFilters(), OpenDialog1));
    if (!chosen)
        return;
    OpenDialog1.fileName = *chosen;
    RxRichEdit1->LoadFile(*chosen); // a failure stops here, nothing else changed
    setDocumentTitle(*chosen);
    CurrentFileName = *chosen;
    OpenedFileName = *chosen;
    RxRichEdit1->setModified(false);
}

void TForm1::ToolButton3Click()
{
    handlerRan(__func__);
    saveDocument();
}

void TForm1::ToolButton4Click()
{
    handlerRan(__func__);
    saveDocumentAs();
}

bool TForm1::saveDocument()
{
    if (CurrentFileName.isEmpty())
        return saveDocumentAs();
    RxRichEdit1->SaveFile(CurrentFileName); // a failure leaves the flag and the marker set
    RxRichEdit1->setModified(false);
    StatusBar1->setPanelText(kModifiedPanel, QString());
    return true;
}

bool TForm1::saveDocumentAs()
{
    SaveDialog1.initialFolder = documents::folderOf(CurrentFileName);
    SaveDialog1.fileName = documents::nameOf(CurrentFileName);
    const std::optional<QString> chosen =
        platform_.fileDialogs().saveFileName(this, requestFor(documents::saveFilters(), SaveDialog1));
    // Cancelled: nothing changes, the document stays marked as modified.
    if (!chosen)
        return false;
    SaveDialog1.fileName = *chosen;
    RxRichEdit1->SaveFile(*chosen);
    setDocumentTitle(*chosen);
    RxRichEdit1->setModified(false);
    CurrentFileName = *chosen;
    StatusBar1->setPanelText(kModifiedPanel, QString());
    return true;
}

// Exit: a modified document is offered a save first, to a file of the user's
// choice that does not become the document's file; then the window closes,
// which asks again while the document is still marked as modified.
void TForm1::ToolButton7Click()
{
    handlerRan(__func__);
    if (RxRichEdit1->IsModified()) {
        platform::Question prompt;
        prompt.icon = platform::MessageIcon::Warning;
        prompt.title = QStringLiteral("Warning");
        prompt.text = documents::exitPromptText(Lang);
        prompt.defaultAnswer = platform::Answer::Yes;
        prompt.escapeAnswer = platform::Answer::No;
        if (platform_.messageBoxes().ask(this, prompt) == platform::Answer::Yes) {
            const std::optional<QString> chosen =
                platform_.fileDialogs().saveFileName(this, requestFor(documents::saveFilters(), SaveDialog1));
            if (chosen) {
                SaveDialog1.fileName = *chosen;
                RxRichEdit1->SaveFile(*chosen);
            }
        }
    }
    close();
}

// Autosave: both items flip both marks; the timer runs while N109 is marked.
void TForm1::toggleAutosave()
{
    flipCheck(QStringLiteral("N16"));
    flipCheck(QStringLiteral("N109"));
    if (menuItem(QStringLiteral("N109"))->isChecked())
        Timer2->start();
    else
        Timer2->stop();
}

void TForm1::N109Click()
{
    handlerRan(__func__);
    toggleAutosave();
}

void TForm1::N16Click()
{
    handlerRan(__func__);
    toggleAutosave();
}

// Saved at each expiry, modified or not.
void TForm1::Timer2Timer()
{
    handlerRan(__func__);
    ToolButton3Click();
}
