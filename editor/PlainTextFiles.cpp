#include "editor/PlainTextFiles.h"

#include "editor/EditorLayout.h"
#include "editor/TablePlainText.h"
#include "formats/PlainTextDecoder.h"
#include "platform/FileWrites.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <deque>
#include <limits>
#include <mutex>

namespace {

// Small enough that the text waiting to be inserted stays a few megabytes,
// large enough that a piece costs little beyond its bytes.
constexpr qsizetype kPieceBytes = 2 * 1024 * 1024;
constexpr std::size_t kPiecesAhead = 2;
// A slice costs the editor a few milliseconds: keys wait no longer than that.
constexpr qsizetype kSliceCharacters = 64 * 1024;
// A line longer than this comes in whole once it has been shown.
constexpr int kHeldLineCharacters = 64 * 1024;
// The most of a step's text kept for the layout to measure it by.
constexpr qsizetype kMeasuredCharacters = 8 * 1024 * 1024;
constexpr int kSavePieceCharacters = 1024 * 1024;
// Documents of fewer paragraphs are written by one thread.
constexpr int kTwoThreadBlocks = 16 * 1024;

} // namespace

// Decoded text handed from the reading thread to the inserting one.
struct PlainTextLoad::Shared {
    enum class Popped { Piece, Waiting, End };

    // False once the load was stopped: the reader ends then.
    bool push(QString piece)
    {
        std::unique_lock<std::mutex> lock(mutex);
        roomLeft.wait(lock, [this] { return pieces.size() < kPiecesAhead || stopped; });
        if (stopped)
            return false;
        pieces.push_back(std::move(piece));
        changed.notify_all();
        return true;
    }

    void close(PlainTextFormat read, bool changedWhileRead)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        format = read;
        failed = changedWhileRead;
        closed = true;
        changed.notify_all();
    }

    void stop()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopped = true;
        roomLeft.notify_all();
    }

    bool isStopped()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return stopped;
    }

    // Waits `wait` nanoseconds at most for a piece; a negative `wait`, until
    // one comes or the text has ended.
    Popped pop(QString &piece, qint64 wait)
    {
        std::unique_lock<std::mutex> lock(mutex);
        const auto ready = [this] { return !pieces.empty() || closed; };
        if (wait < 0)
            changed.wait(lock, ready);
        else if (!changed.wait_for(lock, std::chrono::nanoseconds(wait), ready))
            return Popped::Waiting;
        if (pieces.empty())
            return Popped::End;
        piece = std::move(pieces.front());
        pieces.pop_front();
        roomLeft.notify_all();
        return Popped::Piece;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::condition_variable roomLeft;
    std::deque<QString> pieces;
    bool closed = false;
    bool stopped = false;
    bool failed = false;
    PlainTextFormat format;
};

namespace {

// Bytes without a mark are UTF-8 only if all of them are: that is settled
// before any text goes into the document, so none shown is ever taken back.
// Windows-1251 text shows it within its first few bytes; a file that is
// UTF-8 (or ASCII) is read through once more.
bool turnsOutWindows1251(BytePieces &pieces, PlainTextLoad::Shared &shared)
{
    PlainTextDecoder probe;
    for (QByteArrayView piece = pieces.next(); !piece.isEmpty(); piece = pieces.next()) {
        probe.decode(piece);
        if (!probe.mayRestart() || shared.isStopped())
            return probe.needsRestart();
    }
    probe.finish();
    return probe.needsRestart();
}

void readAll(BytePieces &pieces, PlainTextLoad::Shared &shared)
{
    PlainTextDecoder decoder;
    if (turnsOutWindows1251(pieces, shared))
        decoder.restartAsWindows1251();
    pieces.rewind();
    for (QByteArrayView piece = pieces.next(); !piece.isEmpty(); piece = pieces.next()) {
        QString text = decoder.decode(piece);
        if (decoder.needsRestart())
            break; // the file changed since it was probed
        if (!text.isEmpty() && !shared.push(std::move(text)))
            return;
    }
    QString rest = decoder.finish();
    if (!rest.isEmpty() && !decoder.needsRestart() && !shared.push(std::move(rest)))
        return;
    shared.close(decoder.format(), decoder.needsRestart());
}

// The paragraphs from `block` on, about kSavePieceCharacters of them, as a
// plain-text file holds them; `block` moves past them. Read paragraph by
// paragraph: a cursor placed in the text would have the layout lay out every
// paragraph above it.
QString plainPiece(QTextBlock &block, const QTextBlock &end, const tableplaintext::TableBreaks &breaks)
{
    QString text;
    while (block.isValid() && block != end && text.size() < kSavePieceCharacters) {
        text += block.text();
        const QChar after = breaks.after(block);
        block = block.next();
        if (block.isValid())
            text += after == QChar::ParagraphSeparator ? QChar(u'\n') : after;
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
    hash_.add(buffer_);
    return buffer_;
}

void FilePieces::rewind()
{
    file_.seek(0);
    hash_.reset();
}

PlainTextLoad::PlainTextLoad(BytePieces &pieces, QTextDocument &document)
    : shared_(std::make_unique<Shared>()), document_(document), undo_(document.isUndoRedoEnabled())
{
    // Loading is no step to undo.
    document_.setUndoRedoEnabled(false);
    reader_ = std::thread([&pieces, shared = shared_.get()] { readAll(pieces, *shared); });
}

PlainTextLoad::~PlainTextLoad()
{
    shared_->stop();
    if (reader_.joinable())
        reader_.join();
    if (!done_)
        document_.setUndoRedoEnabled(undo_);
}

bool PlainTextLoad::step(qint64 budget)
{
    return putIn(budget, std::numeric_limits<qsizetype>::max());
}

bool PlainTextLoad::stepCharacters(qsizetype characters)
{
    return putIn(-1, characters);
}

bool PlainTextLoad::putIn(qint64 budget, qsizetype characters)
{
    if (done_)
        return true;
    QElapsedTimer clock;
    clock.start();
    const auto timeLeft = [&] { return budget < 0 ? qint64(-1) : std::max<qint64>(0, budget - clock.nsecsElapsed()); };
    // One edit block tells the layout and the editor once per step. Inside
    // it the cursor goes to the end without the layout placing it there,
    // which would lay out every paragraph above.
    QTextCursor cursor(&document_);
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    const int from = cursor.position();
    // The editor's layout measures the new lines from the text itself, when
    // a step is short enough for a copy of it.
    auto *layout = document_.findChild<EditorLayout *>(QString(), Qt::FindDirectChildrenOnly);
    QString text;
    qsizetype inserted = 0;
    while (inserted < characters && insertSlice(cursor, timeLeft(), inserted, layout ? &text : nullptr) &&
           timeLeft() != 0) {
        if (text.size() > kMeasuredCharacters)
            layout = nullptr;
    }
    if (layout)
        layout->expectInsertedText(from, std::move(text));
    cursor.endEditBlock();
    if (done_)
        finish();
    return done_;
}

bool PlainTextLoad::insertSlice(QTextCursor &cursor, qint64 waitNanoseconds, qsizetype &inserted, QString *text)
{
    if (at_ >= piece_.size()) {
        piece_ = QString(); // let go of the text at once
        at_ = 0;
        switch (shared_->pop(piece_, waitNanoseconds)) {
        case Shared::Popped::Waiting:
            return false;
        case Shared::Popped::End:
            putHeldIn(cursor, text);
            done_ = true;
            return false;
        case Shared::Popped::Piece:
            break;
        }
    }
    // A slice ends with a line where it can, and never inside a pair.
    qsizetype end = std::min(piece_.size(), at_ + kSliceCharacters);
    if (end < piece_.size()) {
        const qsizetype lineEnd = piece_.lastIndexOf(QLatin1Char('\n'), end - 1);
        if (lineEnd >= at_)
            end = lineEnd + 1;
        else if (piece_.at(end - 1).isHighSurrogate())
            ++end;
    }
    QString slice = piece_.sliced(at_, end - at_);
    at_ = end;
    inserted += slice.size();
    // The rest of a line longer than a few screens waits and goes in when the
    // line ends: put in a slice at a time, its paragraph would be laid out
    // anew for every slice.
    if (!slice.contains(QLatin1Char('\n')) &&
        (!held_.isEmpty() || document_.lastBlock().length() > kHeldLineCharacters)) {
        held_ += slice;
        return true;
    }
    putHeldIn(cursor, text);
    cursor.insertText(slice);
    if (text)
        *text += slice;
    return true;
}

void PlainTextLoad::putHeldIn(QTextCursor &cursor, QString *text)
{
    if (held_.isEmpty())
        return;
    cursor.insertText(held_);
    if (text)
        *text += held_;
    held_ = QString();
}

void PlainTextLoad::finish()
{
    reader_.join();
    document_.setUndoRedoEnabled(undo_);
}

bool PlainTextLoad::changedWhileRead() const
{
    return shared_->failed;
}

PlainTextFormat PlainTextLoad::format() const
{
    return shared_->format;
}

PlainTextFormat loadPlainText(BytePieces &pieces, QTextDocument &document)
{
    PlainTextLoad load(pieces, document);
    load.step(-1);
    return load.format();
}

namespace {

enum class Encoded { Whole, Unencodable, Stopped };

// Encodes the paragraphs from `block` up to `end` (the document's end when
// invalid) a piece at a time, handing each piece's bytes to `put`. Stops
// when `put` says false or `stop` is set.
Encoded encodeParagraphs(QTextBlock block, const QTextBlock &end, const tableplaintext::TableBreaks &breaks,
                         PlainTextFormat format, bool first, const std::function<bool(const QByteArray &)> &put,
                         const std::atomic<bool> &stop)
{
    QByteArray bytes;
    do {
        if (stop)
            return Encoded::Stopped;
        if (!encodePlainTextPiece(plainPiece(block, end, breaks), format, first, bytes))
            return Encoded::Unencodable;
        first = false;
        if (!put(bytes))
            return Encoded::Stopped;
    } while (block.isValid() && block != end);
    return Encoded::Whole;
}

} // namespace

std::optional<PlainTextFormat> savePlainText(const QTextDocument &document, PlainTextFormat format, QIODevice &file,
                                             filestamps::ByteHash *hash)
{
    const auto write = [&](const QByteArray &bytes) {
        if (hash)
            hash->add(bytes);
        return filewrites::writeAll(file, bytes);
    };
    const tableplaintext::TableBreaks breaks(document);
    for (;;) {
        if (hash)
            hash->reset();
        // A large document is read by two threads, each one half of it; the
        // second half's bytes wait until the first half is written. Nothing
        // changes the document meanwhile: this thread does nothing else.
        const int blocks = document.blockCount();
        const QTextBlock middle = blocks >= kTwoThreadBlocks ? document.findBlockByNumber(blocks / 2) : QTextBlock();
        std::atomic<bool> stop = false;
        QByteArray secondHalf;
        Encoded second = Encoded::Whole;
        std::thread reader;
        if (middle.isValid()) {
            // A byte a character and one more a break: room for all at once.
            if (format.encoding == TextEncoding::Windows1251)
                secondHalf.reserve(document.characterCount() - middle.position() + blocks - middle.blockNumber());
            reader = std::thread([&] {
                second = encodeParagraphs(
                    middle, QTextBlock(), breaks, format, false,
                    [&secondHalf](const QByteArray &bytes) {
                        secondHalf += bytes;
                        return true;
                    },
                    stop);
            });
        }
        bool failed = false;
        Encoded first = encodeParagraphs(
            document.begin(), middle, breaks, format, true,
            [&](const QByteArray &bytes) {
                failed = !write(bytes);
                return !failed;
            },
            stop);
        stop = first != Encoded::Whole;
        if (reader.joinable())
            reader.join();
        if (first == Encoded::Whole && middle.isValid()) {
            first = second;
            if (second == Encoded::Whole)
                failed = !write(secondHalf);
        }
        if (failed)
            return std::nullopt;
        if (first == Encoded::Whole)
            return format;
        // The same text as UTF-8 is longer than what was written of it, which
        // it overwrites whole.
        format.encoding = TextEncoding::Utf8WithBom;
        if (!file.seek(0))
            return std::nullopt;
    }
}
