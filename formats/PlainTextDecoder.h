#pragma once

#include "formats/PlainTextCodec.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Decodes a plain-text file piece by piece, to the text decodePlainText gives
// for the whole (the rules are described there). A piece may end anywhere:
// inside a UTF-8 sequence, a UTF-16 unit or pair, a CR LF or a byte-order
// mark; the few bytes that cannot be decoded yet wait for the next piece. A
// large file is then read, decoded and put in a document a few megabytes at a
// time, never held whole as bytes and as text at once.
class PlainTextDecoder {
public:
    enum class Marks { Read, Ignored }; // Ignored: bytes that look like a mark are text
    explicit PlainTextDecoder(Marks marks = Marks::Read);

    // The text of the next piece, paragraphs ended by '\n'.
    QString decode(QByteArrayView piece) { return decodeMore(piece, false); }
    // The text of the bytes still held back, once the file has ended.
    QString finish();

    // Bytes without a mark are read as UTF-8 until one is not well-formed;
    // then the file is Windows-1251 and everything decoded so far is wrong:
    // decode() returns nothing more until restartAsWindows1251(), after which
    // the file is decoded again from its first byte.
    bool needsRestart() const { return mode_ == Mode::NotUtf8; }
    void restartAsWindows1251();
    // False once no later byte can make the file Windows-1251: a mark was
    // read, or the bytes are already known not to be UTF-8.
    bool mayRestart() const { return mode_ == Mode::Undecided || mode_ == Mode::TryingUtf8; }

    // The file's encoding and line breaks, known once finish() was called.
    PlainTextFormat format() const { return format_; }

private:
    enum class Mode { Undecided, TryingUtf8, Utf8, Utf16LE, Utf16BE, Windows1251, NotUtf8 };

    QString decodeMore(QByteArrayView piece, bool last);
    void decideEncoding(QByteArrayView &bytes);
    QString decodeUtf8Piece(QByteArrayView bytes, bool last);
    QString decodeUtf16Piece(QByteArrayView bytes, bool last);
    void normalize(QString &text);

    Mode mode_ = Mode::Undecided;
    bool readMarks_ = true;
    bool sawNonAscii_ = false;
    QByteArray held_;          // the bytes of a character the next piece completes
    bool breakFound_ = false;  // the first break's kind is known, or held
    bool afterCr_ = false;     // the last piece ended in CR: an LF opening this one is its pair
    bool firstBreakOpen_ = false; // that CR was the file's first break
    PlainTextFormat format_;
};
