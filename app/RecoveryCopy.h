#pragma once

#include "app/RecoveryFiles.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class TRxRichEdit;

// Keeps a recovery copy of the modified document: a little while after the
// text last changed, the document is written out a few paragraphs per turn of
// the event loop (so keys are never held up), then stored off the UI thread.
// Any change starts over; a document that is no longer modified has no copy.
class RecoveryCopy : public QObject {
    Q_OBJECT
public:
    static constexpr int kPauseMs = 2000;   // after the last change
    static constexpr int kSliceMs = 8;      // of writing per turn of the event loop

    // `documentName` gives the file the document belongs to (empty when
    // untitled). An empty `folder` keeps no copies.
    RecoveryCopy(TRxRichEdit &editor, std::function<QString()> documentName, const QString &folder,
                 QObject *parent = nullptr);
    ~RecoveryCopy() override;

    // The document was saved, replaced by a file, or closed: its copy goes.
    void discard();
    // Writes the copy now, whole (used for a copy just restored).
    void writeNow();

    std::unique_ptr<recovery::LeftCopy> claimLeftCopy() { return store_.claimLeftCopy(); }
    bool folderOwnedByAnother() const { return store_.ownedByAnother(); }
    const QString &folder() const { return store_.folder(); }
    void removeLeftCopy(const recovery::LeftCopy &left) { store_.removeLeft(left); }

    // For tests and benchmarks: a shorter pause, and whether a copy is being made.
    void setPauseMs(int pause) { pause_.setInterval(pause); }
    bool isGathering() const { return snapshot_ != nullptr; }
    void waitForStore() { store_.waitForDone(); }
    const QString &copyPath() const { return store_.copyPath(); }

Q_SIGNALS:
    // The first copy of the run that could not be written, with the reason.
    void copyNotWritten(const QString &reason);

private:
    class Snapshot;

    void textChanged();
    void startSnapshot();
    void continueSnapshot();
    void store(Snapshot &snapshot);

    TRxRichEdit &editor_;
    std::function<QString()> documentName_;
    recovery::Store store_;
    bool failureTold_ = false;
    QTimer pause_;
    QTimer slice_;
    std::unique_ptr<Snapshot> snapshot_;
};
