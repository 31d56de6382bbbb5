#pragma once

#include "formats/PlainTextCodec.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

class QFile;
class QIODevice;
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

private:
    QFile &file_;
    QByteArray buffer_;
};

// Puts a plain-text file's text into `document`, which is empty: the bytes
// are read and decoded a piece at a time on a second thread while this one
// inserts the text decoded so far, so neither the whole file nor its whole
// text is ever held beside the document. Leaves no undo step. Returns the
// file's encoding and line breaks.
PlainTextFormat loadPlainText(BytePieces &pieces, QTextDocument &document);

// Writes the text of `document` to `file` as a plain-text file in `format`,
// a piece at a time, never holding the whole text or all its bytes: soft line
// breaks end lines there too, and objects have no text. Returns the format
// written (UTF-8 with a byte-order mark when Windows-1251 lacks a character),
// or nothing when a write failed.
std::optional<PlainTextFormat> savePlainText(const QTextDocument &document, PlainTextFormat format, QIODevice &file);
