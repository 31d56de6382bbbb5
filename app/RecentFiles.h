#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

// The desktop's list of recently used files, recently-used.xbel, which file
// managers and file dialogs of every toolkit read and write. Each file opened
// or saved is merged into it as a bookmark of this program; every other entry,
// attribute, comment and space in the file is written back as it was read.
namespace recentfiles {

// One use of a file: opened or saved at `time`.
struct Use {
    QString path; // absolute
    QString mimeType;
    QDateTime time;
};

// $XDG_DATA_HOME/recently-used.xbel, by default ~/.local/share.
QString defaultPath();

// The bookmark's href: a file:// address with the name's bytes
// percent-encoded as GLib encodes them, so both name one bookmark.
QString uriFor(const QString &path);

// `existing` with the use merged in: a new bookmark, or the one already there
// for the file brought up to date. Empty or blank bytes start a fresh list.
// Nothing when `existing` is not a bookmark list this reads whole (malformed,
// another root, a document type declaration, nested too deep).
std::optional<QByteArray> merged(const QByteArray &existing, const Use &use);

enum class Result { Recorded, LeftAlone, NotWritten };

// Reads the list at `xbelPath`, merges the use in and writes it back in one
// step (a reader never sees half a list). A list this cannot read, or one too
// large, is left untouched: LeftAlone. The mime type comes from the name.
Result record(const QString &xbelPath, const QString &path, const QDateTime &time);

} // namespace recentfiles
