#pragma once

#include "app/DocumentFiles.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;
class TRxRichEdit;
namespace platform { class Platform; }

// The document being edited: its file names, the file dialogs' states, open,
// save and save as, the two prompts of closing, and the title they give the
// window. The text itself lives in the editor only.
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
    // false when the user cancelled the save dialog.
    bool save();
    bool saveAs();

    // Exit's offer to save a modified document to a file of the user's choice,
    // which does not become the document's file.
    void offerSaveBeforeExit(bool english);
    // The close question for a modified document; false keeps the window open.
    bool closeQuery(bool english);

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
    void markSaved();

    TRxRichEdit &editor_;
    platform::Platform &platform_;
    QWidget *dialogOwner_;
    QString currentFileName_;
    QString openedFileName_;
    FileDialogState openDialog_;
    FileDialogState saveDialog_;
    FileDialogState insertDialog_;
};
