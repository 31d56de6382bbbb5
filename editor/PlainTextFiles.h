#pragma once

#include "formats/PlainTextCodec.h"
#include "platform/FileStamps.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>

#include <QString>

#include <memory>
#include <optional>
#include <thread>

class QIODevice;
class QTextCursor;
class QTextDocument;

// Plain-text files of the editor's documents, read and written a piece at a
// time.

// The bytes of a plain-text file, a piece at a time.
class BytePieces {
public:
    virtual ~BytePieces() = default;
    // The next piece, empty at the end (or at a read error); valid until the
    // next call.
    virtual QByteArrayView next() = 0;
    // Back to the first byte.
    virtual void rewind() = 0;
};

// Pieces of bytes already in memory.
class MemoryPieces : public BytePieces {
public:
    explicit MemoryPieces(QByteArrayView bytes) : bytes_(bytes) {}
    QByteArrayView next() override;
    void rewind() override { at_ = 0; }

private:
    QByteArrayView bytes_;
    qsizetype at_ = 0;
};

// Pieces read from an open file; its error() tells whether all were read.
class FilePieces : public BytePieces {
public:
    explicit FilePieces(QFile &file) : file_(file) {}
    QByteArrayView next() override;
    void rewind() override;
    // Of the bytes read since the last rewind, hashed as they pass.
    const filestamps::ByteHash &hash() const { return hash_; }

private:
    QFile &file_;
    QByteArray buffer_;
    filestamps::ByteHash hash_;
};

// A plain-text file put into a document a slice at a time, so that the
// document can be shown, and typed in, before all of it is in. A second thread
// reads and decodes the file a few megabytes ahead of the slices, so neither
// the whole file nor its whole text is ever held beside the document. The text
// goes at the document's end; nothing of it can be undone, and the document
// keeps no undo steps until the whole file is in. Destroying the load stops it.
class PlainTextLoad {
public:
    // `pieces` and `document` outlive the load; `document` starts empty.
    PlainTextLoad(BytePieces &pieces, QTextDocument &document);
    ~PlainTextLoad();
    PlainTextLoad(const PlainTextLoad &) = delete;
    PlainTextLoad &operator=(const PlainTextLoad &) = delete;

    // Puts in text for about `budget` nanoseconds (at least one slice when
    // text is waiting), without waiting for the file longer than that, or
    // (when negative) the rest of the file; true once the whole file is in.
    bool step(qint64 budget);
    // Puts in at least `characters` more characters, or the rest of the
    // file; true once the whole file is in.
    bool stepCharacters(qsizetype characters);
    bool done() const { return done_; }
    // The file's encoding and line breaks, once done.
    PlainTextFormat format() const;
    // Once done: the file changed between two readings of it, so what was put
    // in may not be its whole text.
    bool changedWhileRead() const;

    struct Shared;

private:
    // What both steps do: stops after `budget` (none when negative) or
    // `characters`, whichever comes first.
    bool putIn(qint64 budget, qsizetype characters);
    // Puts in the next slice, counts it in `inserted` and adds it to `text`.
    bool insertSlice(QTextCursor &cursor, qint64 waitNanoseconds, qsizetype &inserted, QString *text);
    void putHeldIn(QTextCursor &cursor, QString *text);
    void finish();

    std::unique_ptr<Shared> shared_;
    QTextDocument &document_;
    bool undo_;
    QString piece_; // decoded text not yet put in, from at_
    qsizetype at_ = 0;
    QString held_; // the rest of a long line, read but not put in yet
    bool done_ = false;
    std::thread reader_;
};

// A plain-text file being loaded: the file, its pieces and its load.
struct PlainTextFileLoad {
    explicit PlainTextFileLoad(const QString &path) : file(path) {}
    QFile file;
    FilePieces pieces{file};
    std::unique_ptr<PlainTextLoad> load; // made once the file is open
};

// The whole of a plain-text file put into `document`, which is empty, as
// PlainTextLoad does it. Returns the file's encoding and line breaks.
PlainTextFormat loadPlainText(BytePieces &pieces, QTextDocument &document);

// Writes the text of `document` to `file` as a plain-text file in `format`,
// a piece at a time, never holding the whole text or all its bytes: soft line
// breaks end lines there too, and objects have no text. Returns the format
// written (UTF-8 with a byte-order mark when Windows-1251 lacks a character),
// or nothing when a write failed. `hash`, when given, ends up holding the
// hash of the bytes the file holds.
std::optional<PlainTextFormat> savePlainText(const QTextDocument &document, PlainTextFormat format, QIODevice &file,
                                             filestamps::ByteHash *hash = nullptr);
