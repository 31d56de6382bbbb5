#pragma once

#include <QByteArray>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>

class QLockFile;

// Recovery copies of modified documents, kept in the user's state folder so
// that a crash or a killed session loses nothing typed since the last save.
//
// Each running program owns two files there: "<id>.lock", a lock file held
// while it runs, and "<id>.copy", its latest copy. A copy whose lock is free
// (missing, or left by a process that is gone) belongs to a run that ended
// without closing.
namespace recovery {

// $XDG_STATE_HOME/veltrix when that names an absolute folder, else
// ~/.local/state/veltrix.
QString defaultFolder();

struct Copy {
    QString documentName; // the file the document belongs to; empty when untitled
    bool rtf = true;      // RTF, or the plain text's bytes as a save would write them
    QByteArray content;
};

QByteArray encode(const Copy &copy);
// Nothing for bytes that are not a whole copy.
std::optional<Copy> decode(const QByteArray &bytes);

// A copy left by an earlier run, held so that no other running program takes
// it while the user decides; released when this object goes.
class LeftCopy {
public:
    LeftCopy(QString path, std::unique_ptr<QLockFile> lock, Copy copy);
    ~LeftCopy();
    const Copy &copy() const { return copy_; }
    const QString &path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    Copy copy_;
};

// This program's place in the folder. Writing and removing run in order on a
// thread of their own, so the disk never holds up typing.
class Store {
public:
    // Creates the folder when needed; a folder that cannot be used, or that
    // belongs to another user (who could read or plant copies), leaves the
    // store inactive, and every request does nothing.
    explicit Store(const QString &folder);
    ~Store(); // finishes pending work; the copy stays unless removed
    bool isActive() const { return lock_ != nullptr; }
    bool ownedByAnother() const { return ownedByAnother_; }
    const QString &folder() const { return folder_; }
    const QString &copyPath() const { return copyPath_; }

    // `produce` runs on the writing thread and gives the content; a copy that
    // cannot be written is told to `failed`, on that thread, with the reason.
    void write(const QString &documentName, bool rtf, std::function<QByteArray()> produce);
    void setWriteFailureHandler(std::function<void(const QString &reason)> failed) { failed_ = std::move(failed); }
    void remove();
    // Deletes a left copy after this program's pending writes.
    void removeLeft(const LeftCopy &left);
    void waitForDone();

    // The newest copy left by a run that is gone, if any, now held by this
    // program. Left copies that cannot be read, and locks of runs that left
    // no copy, are deleted once they are kStaleDays old.
    std::unique_ptr<LeftCopy> claimLeftCopy();

    static constexpr int kStaleDays = 7;

private:
    void sweepStaleLocks();

    QString folder_;
    QString copyPath_;
    std::unique_ptr<QLockFile> lock_;
    bool ownedByAnother_ = false;
    std::function<void(const QString &)> failed_;
    QThreadPool writer_;
};

} // namespace recovery
