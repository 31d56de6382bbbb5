#pragma once

#include "app/DocumentFiles.h"
#include "app/KnownFile.h"
#include "editor/TRxRichEdit.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;
namespace platform { class Platform; }

// The document being edited: its file names, the file dialogs' states, open,
// save and save as, the two prompts of closing, and the title they give the
// window; what its file held when last read or written here, so that nothing
// another program wrote there is overwritten unasked. The text itself lives in
// the editor only.
class Document {
public:
    // `dialogOwner` owns the dialogs and message boxes this class shows.
    Document(TRxRichEdit &editor, platform::Platform &platform, QWidget *dialogOwner);

    // Told the new window title after a file is opened or saved under a name.
    std::function<void(const QString &title)> showTitle;
    // Told when the document was written and is no longer modified.
    std::function<void()> showSaved;
    // Asked for the file the open dialog chose: true when another window
    // edits it and has been brought forward, and this one opens nothing.
    std::function<bool(const QString &path)> openElsewhere;

    // The file being edited, and the file last opened (empty until then).
    const QString &currentFileName() const { return currentFileName_; }
    const QString &openedFileName() const { return openedFileName_; }
    // What the open dialog last chose, remembered in the settings at close.
    const QString &lastOpenChoice() const { return openDialog_.fileName; }

    // Asks for a file and loads it; false when the dialog was cancelled, or
    // when the close question about a modified document was answered Cancel or
    // its save did not happen. A file that cannot be read raises and leaves
    // everything as it was.
    bool open(bool english);
    // What Open does once its dialog has chosen `path`; also the file named on
    // the command line. Raises, changing nothing, when it cannot be read.
    void openFile(const QString &path);
    // Writes the document to its file, or asks for one when it has none;
    // false when the user cancelled the save dialog, or nothing was written
    // over a file another program changed. From the timer such a file is
    // left alone without a question, for the next save by hand to ask.
    bool save(bool english, bool fromTimer = false);
    bool saveAs();

    // Exit's offer to save a modified document to a file of the user's choice,
    // which does not become the document's file.
    void offerSaveBeforeExit(bool english);
    // The close question for a modified document; false keeps the window open.
    bool closeQuery(bool english);

    // The window became active: when another program changed the file, an
    // unmodified document is offered to be loaded again, a modified one is
    // marked in the title. True when the file was loaded again.
    bool noticeChangeOnDisk(bool english);
    // The title again in the interface language, after a switch.
    void showTitleAgain(bool english);

    // The file being loaded could not be read whole: the document, holding
    // part of it, becomes untitled and modified, so that no save cuts the
    // file short.
    void loadFailed();
    // A recovery copy put back: the text of the document that belonged to
    // `fileName` (empty when untitled), modified, under that name.
    void restore(const QString &fileName, const QByteArray &content, bool rtf);

    // The file dialog of the two file inserts, which keeps the file last chosen.
    std::optional<QString> chooseFileToInsert();

private:
    enum class Overwrite { Write, Elsewhere, Nothing };

    // Loads `path` as the document's file; the open dialog is not told.
    void load(const QString &path);
    void markSaved();
    // Before a write over the document's own file.
    Overwrite confirmOverwrite(bool english, bool fromTimer);
    // Writes the document's own file in the format it holds, when its
    // extension does not say.
    void writeOwnFile(const QString &path);
    TRxRichEdit::FileFormat formatToWrite(const QString &path) const;
    void reload();
    void showChangedMark(bool shown, bool english);

    TRxRichEdit &editor_;
    platform::Platform &platform_;
    QWidget *dialogOwner_;
    QString currentFileName_;
    QString openedFileName_;
    FileDialogState openDialog_;
    FileDialogState saveDialog_;
    FileDialogState insertDialog_;
    KnownFile known_;
    // What the document's file holds, and the mode it was read or written
    // in; none, or another mode since: the mode decides.
    std::optional<TRxRichEdit::FileFormat> fileFormat_;
    bool fileFormatPlainMode_ = false;
    bool changedMark_ = false;
};
