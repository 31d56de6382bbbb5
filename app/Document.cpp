#include "app/Document.h"

#include "app/AppTitle.h"
#include "platform/BusyCursor.h"
#include "platform/Platform.h"
#include "ui_text/MessageTexts.h"

#include <QTextBlock>

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
    load(path);
}

void Document::load(const QString &path)
{
    {
        const BusyCursor busy;
        editor_.LoadFile(path); // a failure stops here, nothing else changed
    }
    changedMark_ = false;
    if (showTitle)
        showTitle(documents::titleFor(path));
    currentFileName_ = path;
    openedFileName_ = path;
    fileFormat_ = editor_.lastLoadFormat();
    fileFormatPlainMode_ = editor_.PlainText();
    known_.know(editor_.loadedStamp());
    editor_.setModified(false);
}

bool Document::save(bool english, bool fromTimer)
{
    if (currentFileName_.isEmpty())
        return saveAs();
    switch (confirmOverwrite(english, fromTimer)) {
    case Overwrite::Write:
        break;
    case Overwrite::Elsewhere:
        return saveAs();
    case Overwrite::Nothing:
        return false;
    }
    writeOwnFile(currentFileName_); // a failure leaves the flag and the marker set
    markSaved();
    return true;
}

Document::Overwrite Document::confirmOverwrite(bool english, bool fromTimer)
{
    const KnownFile::State state = known_.stateOf(currentFileName_, [this] {
        editor_.finishLoading();
        return editor_.loadedStamp();
    });
    // A file deleted or moved away holds nothing to lose.
    if (state != KnownFile::State::Changed)
        return Overwrite::Write;
    showChangedMark(true, english);
    if (fromTimer)
        return Overwrite::Nothing;
    platform::Question question;
    question.icon = platform::MessageIcon::Warning;
    question.title = QStringLiteral("Warning");
    question.text = ui_text::messageText(ui_text::Message::ChangedOnDiskQuestion, english).arg(currentFileName_);
    question.withCancel = true;
    question.yesCaption = ui_text::messageText(ui_text::Message::OverwriteButton, english);
    question.noCaption = ui_text::messageText(ui_text::Message::SaveAsButton, english);
    question.cancelCaption = ui_text::messageText(ui_text::Message::CancelButton, english);
    // Enter loses nothing.
    question.defaultAnswer = platform::Answer::Cancel;
    question.escapeAnswer = platform::Answer::Cancel;
    switch (platform_.messageBoxes().ask(dialogOwner_, question)) {
    case platform::Answer::Yes:
        return Overwrite::Write;
    case platform::Answer::No:
        return Overwrite::Elsewhere;
    case platform::Answer::Cancel:
        break;
    }
    return Overwrite::Nothing;
}

void Document::writeOwnFile(const QString &path)
{
    const TRxRichEdit::FileFormat format = formatToWrite(path);
    filestamps::FileStamp written;
    {
        const BusyCursor busy;
        written = editor_.SaveFile(path, format);
    }
    fileFormat_ = format;
    fileFormatPlainMode_ = editor_.PlainText();
    known_.know(written);
    showChangedMark(false, false);
}

// A file whose extension names no format is written back as it was read
// (a .conf read as plain text in the RTF mode stays plain text); once the
// user switches the mode, the mode decides.
TRxRichEdit::FileFormat Document::formatToWrite(const QString &path) const
{
    const bool extensionDecides =
        TRxRichEdit::formatFor(path, true) == TRxRichEdit::formatFor(path, false);
    if (fileFormat_ && fileFormatPlainMode_ == editor_.PlainText() && !extensionDecides &&
        documents::sameFile(path, currentFileName_))
        return *fileFormat_;
    return TRxRichEdit::formatFor(path, editor_.PlainText());
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
    writeOwnFile(*chosen);
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
    for (;;) {
        const std::optional<QString> chosen =
            platform_.fileDialogs().saveFileName(dialogOwner_, requestFor(documents::saveFilters(), saveDialog_));
        if (!chosen)
            return;
        leave(saveDialog_, *chosen);
        if (!documents::sameFile(*chosen, currentFileName_)) {
            const BusyCursor busy;
            editor_.SaveFile(*chosen, formatToWrite(*chosen));
            return;
        }
        // The document's own file: as Save writes it, the flag staying set.
        switch (confirmOverwrite(english, false)) {
        case Overwrite::Write:
            writeOwnFile(*chosen);
            return;
        case Overwrite::Elsewhere:
            continue;
        case Overwrite::Nothing:
            return;
        }
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
        return save(english);
    case platform::Answer::No:
        return true;
    case platform::Answer::Cancel:
        return false;
    }
    return false;
}

bool Document::noticeChangeOnDisk(bool english)
{
    if (currentFileName_.isEmpty() || !known_.isKnown())
        return false;
    // A file still coming in is compared when it is whole.
    if (editor_.isLoading())
        return false;
    const KnownFile::State state = known_.stateOf(currentFileName_);
    showChangedMark(state == KnownFile::State::Changed, english);
    // A modified document waits for the question of its save; a file the
    // user chose to keep the text of is not asked about again.
    if (state != KnownFile::State::Changed || editor_.IsModified() || known_.offered())
        return false;
    platform::Question question;
    question.icon = platform::MessageIcon::Question;
    question.title = QStringLiteral("Confirm");
    question.text = ui_text::messageText(ui_text::Message::ReloadQuestion, english).arg(currentFileName_);
    question.defaultAnswer = platform::Answer::Yes;
    question.escapeAnswer = platform::Answer::No;
    if (platform_.messageBoxes().ask(dialogOwner_, question) != platform::Answer::Yes) {
        known_.markOffered();
        return false;
    }
    reload();
    return true;
}

// As Open loads it, the caret in the same paragraph, at the same place in it
// where the paragraph is still that long.
void Document::reload()
{
    const QTextCursor caret = editor_.textCursor();
    const int paragraph = caret.blockNumber();
    const int column = caret.positionInBlock();
    load(currentFileName_);
    if (paragraph >= editor_.document()->blockCount())
        editor_.finishLoading();
    const QTextBlock block =
        editor_.document()->findBlockByNumber(std::min(paragraph, editor_.document()->blockCount() - 1));
    editor_.setSelectionStart(block.position() + std::min(column, block.length() - 1));
}

void Document::showChangedMark(bool shown, bool english)
{
    if (shown == changedMark_)
        return;
    changedMark_ = shown;
    showTitleAgain(english);
}

void Document::showTitleAgain(bool english)
{
    if (currentFileName_.isEmpty() || !showTitle)
        return;
    const QString mark =
        changedMark_ ? ui_text::messageText(ui_text::Message::ChangedOnDiskMark, english) : QString();
    showTitle(documents::titleFor(currentFileName_, mark));
}

void Document::loadFailed()
{
    known_.forget();
    fileFormat_.reset();
    changedMark_ = false;
    currentFileName_.clear();
    editor_.setModified(true);
    if (showTitle)
        showTitle(QString::fromUtf8(kAppTitle));
}

void Document::restore(const QString &fileName, const QByteArray &content, bool rtf)
{
    editor_.LoadContent(content, rtf);
    // What the file holds now is not known: it is written without a question.
    known_.forget();
    fileFormat_.reset();
    changedMark_ = false;
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
