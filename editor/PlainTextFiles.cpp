#include "editor/PlainTextFiles.h"

#include "formats/PlainTextDecoder.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

namespace {

// Small enough that the text waiting to be inserted stays a few megabytes,
// large enough that a piece costs little beyond its bytes.
constexpr qsizetype kPieceBytes = 2 * 1024 * 1024;
constexpr std::size_t kPiecesAhead = 2;
constexpr int kSavePieceCharacters = 1024 * 1024;

// Decoded text handed from the reading thread to the inserting one. An empty
// optional says the text decoded so far was wrong and comes again.
class DecodedQueue {
public:
    void push(std::optional<QString> piece)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        roomLeft_.wait(lock, [this] { return pieces_.size() < kPiecesAhead; });
        pieces_.push_back(std::move(piece));
        changed_.notify_all();
    }

    void close(PlainTextFormat format)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        format_ = format;
        closed_ = true;
        changed_.notify_all();
    }

    // False once the queue is closed and empty.
    bool pop(std::optional<QString> &piece)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !pieces_.empty() || closed_; });
        if (pieces_.empty())
            return false;
        piece = std::move(pieces_.front());
        pieces_.pop_front();
        roomLeft_.notify_all();
        return true;
    }

    PlainTextFormat format() const
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return format_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable roomLeft_;
    std::deque<std::optional<QString>> pieces_;
    bool closed_ = false;
    PlainTextFormat format_;
};

// Bytes that are not UTF-8 after all are decoded again from the start.
void decodeAll(BytePieces &pieces, DecodedQueue &queue)
{
    PlainTextDecoder decoder;
    for (;;) {
        for (QByteArrayView piece = pieces.next(); !piece.isEmpty() && !decoder.needsRestart(); piece = pieces.next()) {
            QString text = decoder.decode(piece);
            if (!text.isEmpty())
                queue.push(std::move(text));
        }
        QString rest = decoder.finish();
        if (!decoder.needsRestart()) {
            if (!rest.isEmpty())
                queue.push(std::move(rest));
            break;
        }
        decoder.restartAsWindows1251();
        pieces.rewind();
        queue.push(std::nullopt);
    }
    queue.close(decoder.format());
}

// The paragraphs from `block` on, about kSavePieceCharacters of them, as a
// plain-text file holds them; `block` moves past them. Read paragraph by
// paragraph: a cursor placed in the text would have the layout lay out every
// paragraph above it.
QString plainPiece(QTextBlock &block)
{
    QString text;
    while (block.isValid() && text.size() < kSavePieceCharacters) {
        text += block.text();
        block = block.next();
        if (block.isValid())
            text += QLatin1Char('\n');
    }
    text.remove(QChar::ObjectReplacementCharacter);
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

} // namespace

QByteArrayView MemoryPieces::next()
{
    const QByteArrayView piece = bytes_.sliced(at_, std::min(kPieceBytes, bytes_.size() - at_));
    at_ += piece.size();
    return piece;
}

QByteArrayView FilePieces::next()
{
    buffer_.resize(kPieceBytes);
    const qint64 got = file_.read(buffer_.data(), kPieceBytes);
    buffer_.resize(std::max<qint64>(0, got));
    return buffer_;
}

void FilePieces::rewind()
{
    file_.seek(0);
}

PlainTextFormat loadPlainText(BytePieces &pieces, QTextDocument &document)
{
    DecodedQueue queue;
    std::thread reader([&pieces, &queue] { decodeAll(pieces, queue); });
    // Loading is no step to undo; one edit block tells the layout once.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    std::optional<QString> piece;
    while (queue.pop(piece)) {
        if (!piece) {
            cursor.select(QTextCursor::Document);
            cursor.removeSelectedText();
            continue;
        }
        cursor.insertText(*piece);
        piece.reset(); // let go of the text at once
    }
    cursor.endEditBlock();
    reader.join();
    document.setUndoRedoEnabled(undo);
    return queue.format();
}

std::optional<PlainTextFormat> savePlainText(const QTextDocument &document, PlainTextFormat format, QIODevice &file)
{
    QByteArray bytes;
    for (;;) {
        bool encodable = true;
        QTextBlock block = document.begin();
        bool first = true;
        do {
            encodable = encodePlainTextPiece(plainPiece(block), format, first, bytes);
            first = false;
            if (!encodable)
                break;
            if (file.write(bytes) != bytes.size())
                return std::nullopt;
        } while (block.isValid());
        if (encodable)
            return format;
        // The same text as UTF-8 is longer than what was written of it, which
        // it overwrites whole.
        format.encoding = TextEncoding::Utf8WithBom;
        if (!file.seek(0))
            return std::nullopt;
    }
}
