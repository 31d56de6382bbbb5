// The document's file commands, Exit, autosave and recovery.
#include "app/Unit1.h"

#include "app/AppTitle.h"
#include "app/Document.h"
#include "app/DocumentFiles.h"
#include "app/RecentFiles.h"
#include "app/RecoveryCopy.h"
#include "app/RunningCopies.h"
#include "editor/TRxRichEdit.h"
#include "app/StatusPanels.h"
#include "platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTimer>

// New: a second, independent copy of the program; this window stays as it is.
void TForm1::ToolButton1Click()
{
    platform_.shell().startProgramCopy({});
}

void TForm1::ToolButton2Click()
{
    if (document_->open(Lang))
        showOpenedFile();
}

// Loading the file is a change of the text, yet the document opened is not
// modified: the marker that change wrote goes again.
void TForm1::showOpenedFile()
{
    status_->showModified(false);
    recovery_->discard();
    rememberRecentFile();
    const QString leftOut = documents::leftOutText(Lang, RxRichEdit1->lastLoadStatus());
    if (!leftOut.isEmpty())
        platform_.messageBoxes().showMessage(this, platform::MessageIcon::Information, QString::fromUtf8(kAppTitle),
                                             leftOut);
}

// The list is the desktop's: a failure to add to it is not the user's concern.
void TForm1::rememberRecentFile()
{
    if (!options_.recentFilesPath.isEmpty() && !document_->currentFileName().isEmpty())
        recentfiles::record(options_.recentFilesPath, document_->currentFileName(), platform_.clock().now());
}

// One window per file: a file another copy has open is shown there instead.
void TForm1::listenToOtherCopies()
{
    if (options_.copiesFolder.isEmpty())
        return;
    copies_ = new RunningCopies(options_.copiesFolder, this);
    copies_->listen([this] { return document_->currentFileName(); },
                    [this] { run(nullptr, [this] { showForAnotherCopy(); }); });
    document_->openElsewhere = [this](const QString &path) { return copies_->showCopyHolding(path); };
}

void TForm1::showForAnotherCopy()
{
    if (platform_.trayIcon().isVisible())
        RemoveTrayIcon();
    RestoreFromTray();
}

void TForm1::finishStartUp()
{
    if (recovery_->folderOwnedByAnother())
        platform_.messageBoxes().showMessage(this, platform::MessageIcon::Warning, QString::fromUtf8(kAppTitle),
                                             documents::recoveryFolderNotOursText(Lang, recovery_->folder()));
    const bool restored = offerRecovery();
    if (options_.files.isEmpty())
        return;
    // A copy put back stays in this window; the first file then goes to a copy
    // of the program of its own like the others, so that nothing is lost.
    const qsizetype firstCopied = restored ? 0 : 1;
    for (qsizetype i = firstCopied; i < options_.files.size(); ++i)
        platform_.shell().startProgramCopy({options_.files[i]});
    if (!restored) {
        run(nullptr, [this] {
            document_->openFile(options_.files.first());
            showOpenedFile();
        });
    }
}

void TForm1::ToolButton3Click()
{
    document_->save(Lang);
}

void TForm1::ToolButton4Click()
{
    document_->saveAs();
}

// Exit: a modified document is offered a save first; then the window closes,
// which asks again while the document is still marked as modified.
void TForm1::ToolButton7Click()
{
    document_->offerSaveBeforeExit(Lang);
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

void TForm1::N109Click() { toggleAutosave(); }
void TForm1::N16Click() { toggleAutosave(); }

// Saved at each expiry, modified or not; a file another program changed is
// left for the next save by hand to ask about.
void TForm1::Timer2Timer()
{
    document_->save(Lang, true);
}

// After the activation has settled, outside its event, and never under one of
// the program's own dialogs: their answers come first.
void TForm1::checkFileOnDisk()
{
    if (fileCheckPending_)
        return;
    fileCheckPending_ = true;
    QTimer::singleShot(0, this, [this] {
        fileCheckPending_ = false;
        if (QApplication::activeModalWidget() || !isActiveWindow())
            return;
        run(nullptr, [this] {
            if (document_->noticeChangeOnDisk(Lang))
                showOpenedFile();
        });
    });
}

// Yes puts the copy back as the modified document it was, and keeps it safe
// at once under this run's name; No deletes it; Cancel leaves it for the next
// start.
bool TForm1::offerRecovery()
{
    const std::unique_ptr<recovery::LeftCopy> left = recovery_->claimLeftCopy();
    if (!left)
        return false;
    const recovery::Copy &copy = left->copy();
    platform::Question prompt;
    prompt.icon = platform::MessageIcon::Question;
    prompt.title = QStringLiteral("Confirm");
    prompt.text = documents::recoveryPromptText(Lang, copy.documentName);
    prompt.withCancel = true;
    prompt.defaultAnswer = platform::Answer::Yes;
    prompt.escapeAnswer = platform::Answer::Cancel;
    switch (platform_.messageBoxes().ask(this, prompt)) {
    case platform::Answer::Yes:
        // A copy made in the plain-text mode comes back in it: the tick's
        // change runs CB2Click, which flips the menu marks with the mode.
        if (!copy.rtf && CB2->isChecked())
            CB2->setChecked(false);
        document_->restore(copy.documentName, copy.content, copy.rtf);
        status_->showModified(true);
        recovery_->writeNow();
        recovery_->removeLeftCopy(*left);
        return true;
    case platform::Answer::No:
        recovery_->removeLeftCopy(*left);
        break;
    case platform::Answer::Cancel:
        break;
    }
    return false;
}
