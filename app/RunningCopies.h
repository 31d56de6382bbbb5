#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QLocalServer;
class QLocalSocket;

// Running copies of the program find each other so that a file is edited in
// one window only. Each copy listens on a local socket of its own in a folder
// of the user's (named after its process id); another copy asks each of them
// whether it has a file open, and the one that has shows its window.
//
// A question is "VLXQ", the path's length in UTF-8 bytes (4 bytes, big
// endian) and the canonical path; the answer is one byte, 'Y' or 'N'.
namespace copies {

// The longest path a question carries: Linux's PATH_MAX.
constexpr qsizetype kMaxPathBytes = 4096;

// $XDG_RUNTIME_DIR/veltrix, made private to the user; empty when no such
// folder can be had (then this copy neither asks nor answers).
QString defaultFolder();

QByteArray question(const QString &canonicalPath);

struct ReadQuestion {
    enum class State { Incomplete, Complete, Invalid };
    State state = State::Incomplete;
    QString path;
};
// What the bytes received so far hold. Anything but a whole question of a
// canonical path (absolute, valid UTF-8, no NUL) is Invalid.
ReadQuestion readQuestion(const QByteArray &received);

} // namespace copies

class RunningCopies : public QObject {
    Q_OBJECT
public:
    // How long asking all copies may take, and how long an answer may keep a
    // connection open, in milliseconds.
    static constexpr int kAnswerTimeoutMs = 2000;

    explicit RunningCopies(QString folder, QObject *parent = nullptr);
    ~RunningCopies() override;

    // From now on answers the other copies: `currentFile` is the file this
    // copy has open (empty: none); `showWindow` runs after answering a copy
    // that asked for it. False when no socket could be had.
    bool listen(std::function<QString()> currentFile, std::function<void()> showWindow);

    // Asks the other copies whether one has the file at `path` open; the one
    // that has shows its window, and the answer is true. Sockets left by
    // copies that ended without closing are removed on the way.
    bool showCopyHolding(const QString &path) const;

    // The files of `paths` no other copy has open, each once; the copies
    // holding the others show their windows.
    QStringList keepUnheld(const QStringList &paths) const;

private:
    void takeConnections();
    void answer(QLocalSocket *socket);
    QStringList otherCopies() const;

    QString folder_;
    QLocalServer *server_ = nullptr;
    std::function<QString()> currentFile_;
    std::function<void()> showWindow_;
    int connections_ = 0;
};
