#include "app/Document.h"

#include "app/AppTitle.h"
#include "editor/TRxRichEdit.h"
#include "platform/BusyCursor.h"
#include "platform/Platform.h"

namespace {

platform::FileDialogRequest requestFor(const QStringList &filters, const FileDialogState &state)
{
    platform::FileDialogRequest request;
    request.filters = filters;
    request.defaultExtension = QString::fromLatin1(documents::kDefaultExtension);
    request.initialFolder = state.initialFolder;
    request.fileName = state.fileName;
    return request;
}

// A confirmed dialog stays in the folder of the file it chose, which is where
// the Exit's save dialog, shown as it was left, starts again.
void leave(FileDialogState &state, const QString &chosen)
{
    state.initialFolder = documents::folderOf(chosen);
    state.fileName = chosen;
}

} // namespace

Document::Document(TRxRichEdit &editor, platform::Platform &platform, QWidget *dialogOwner)
    : editor_(editor), platform_(platform), dialogOwner_(dialogOwner)
{
}

bool Document::open(bool english)
{
    // The file opened replaces the whole document: unsaved changes are asked
    // about first, exactly as at close.
    if (!closeQuery(english))
        return false;
    openDialog_.initialFolder = documents::folderOf(currentFileName_);
    const std::optional<QString> chosen =
        platform_.fileDialogs().openFileName(dialogOwner_, requestFor(documents::openFilters(), openDialog_));
    if (!chosen || (openElsewhere && openElsewhere(*chosen)))
        return false;
    openFile(*chosen);
    return true;
}

void Document::openFile(const QString &path)
{
    leave(openDialog_, path);
    {
        const BusyCursor busy;
        editor_.LoadFile(path); // a failure stops here, nothing else changed
    }
    if (showTitle)
        showTitle(documents::titleFor(path));
    currentFileName_ = path;
    openedFileName_ = path;
    editor_.setModified(false);
}

bool Document::save()
{
    if (currentFileName_.isEmpty())
        return saveAs();
    {
        const BusyCursor busy;
        editor_.SaveFile(currentFileName_); // a failure leaves the flag and the marker set
    }
    markSaved();
    return true;
}

bool Document::saveAs()
{
    saveDialog_.initialFolder = documents::folderOf(currentFileName_);
    saveDialog_.fileName = documents::nameOf(currentFileName_);
    const std::optional<QString> chosen =
        platform_.fileDialogs().saveFileName(dialogOwner_, requestFor(documents::saveFilters(), saveDialog_));
    // Cancelled: nothing changes, the document stays marked as modified.
    if (!chosen)
        return false;
    leave(saveDialog_, *chosen);
    {
        const BusyCursor busy;
        editor_.SaveFile(*chosen);
    }
    if (showTitle)
        showTitle(documents::titleFor(*chosen));
    currentFileName_ = *chosen;
    markSaved();
    return true;
}

void Document::markSaved()
{
    editor_.setModified(false);
    if (showSaved)
        showSaved();
}

void Document::offerSaveBeforeExit(bool english)
{
    if (!editor_.IsModified())
        return;
    platform::Question prompt;
    prompt.icon = platform::MessageIcon::Warning;
    prompt.title = QStringLiteral("Warning");
    prompt.text = documents::exitPromptText(english);
    prompt.defaultAnswer = platform::Answer::Yes;
    prompt.escapeAnswer = platform::Answer::No;
    if (platform_.messageBoxes().ask(dialogOwner_, prompt) != platform::Answer::Yes)
        return;
    const std::optional<QString> chosen =
        platform_.fileDialogs().saveFileName(dialogOwner_, requestFor(documents::saveFilters(), saveDialog_));
    if (chosen) {
        leave(saveDialog_, *chosen);
        const BusyCursor busy;
        editor_.SaveFile(*chosen);
    }
}

bool Document::closeQuery(bool english)
{
    if (!editor_.IsModified())
        return true;
    platform::Question prompt;
    prompt.icon = platform::MessageIcon::Question;
    prompt.title = QStringLiteral("Confirm");
    prompt.text = documents::closePromptText(english, editor_.PlainText() ? openedFileName_ : currentFileName_);
    prompt.withCancel = true;
    prompt.defaultAnswer = platform::Answer::Yes;
    prompt.escapeAnswer = platform::Answer::Cancel;
    switch (platform_.messageBoxes().ask(dialogOwner_, prompt)) {
    case platform::Answer::Yes:
        // A save whose dialog was cancelled keeps the window open with the text.
        return save();
    case platform::Answer::No:
        return true;
    case platform::Answer::Cancel:
        return false;
    }
    return false;
}

void Document::loadFailed()
{
    currentFileName_.clear();
    editor_.setModified(true);
    if (showTitle)
        showTitle(QString::fromUtf8(kAppTitle));
}

void Document::restore(const QString &fileName, const QByteArray &content, bool rtf)
{
    editor_.LoadContent(content, rtf);
    if (!fileName.isEmpty() && showTitle)
        showTitle(documents::titleFor(fileName));
    currentFileName_ = fileName;
    openedFileName_ = fileName;
    editor_.setModified(true);
}

std::optional<QString> Document::chooseFileToInsert()
{
    platform::FileDialogRequest request;
    request.filters = QStringList{QStringLiteral("All files (*.*)|*.*")};
    request.fileName = insertDialog_.fileName;
    const std::optional<QString> chosen = platform_.fileDialogs().openFileName(dialogOwner_, request);
    if (chosen)
        insertDialog_.fileName = *chosen;
    return chosen;
}
