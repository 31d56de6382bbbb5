#include "spelling/SpellingMarks.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextDocument>

#include <utility>

namespace {

// A pause in typing this long has the paragraph typed in checked.
constexpr int kTypingPauseMs = 400;
// Checking when idle goes on in slices of this long, between events.
constexpr qint64 kIdleSliceMs = 8;
// Paragraphs longer than this are not checked: lines of data, not prose.
constexpr int kLongestCheckedParagraph = 65536;
// Beyond this many paragraphs' flags kept, the oldest are forgotten and only
// what is shown is checked.
constexpr qsizetype kMostParagraphsKept = 200'000;
// Paragraphs painted before they were checked, waiting for the next pass: a few screens.
constexpr qsizetype kMostShownUnchecked = 512;
// While the document is held, checking the rest looks again this often.
constexpr int kHeldRetryMs = 250;

} // namespace

SpellingMarks::SpellingMarks(QObject *parent) : TextMarks(parent)
{
    idle_.setInterval(0);
    connect(&idle_, &QTimer::timeout, this, &SpellingMarks::checkWhenIdle);
    pause_.setSingleShot(true);
    connect(&pause_, &QTimer::timeout, this, &SpellingMarks::typingPaused);
}

void SpellingMarks::setSpeller(spelling::Speller *speller)
{
    speller_ = speller;
    spellerChanged();
}

void SpellingMarks::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    spellerChanged();
}

void SpellingMarks::setDocument(QTextDocument *document)
{
    disconnect(changes_);
    document_ = document;
    typedAt_ = -1;
    if (document_) {
        changes_ = connect(document_, &QTextDocument::contentsChange, this,
                           [this](int from, int removed, int added) {
                               if (removed != added || removed == 0)
                                   changed(from);
                           });
    }
    nextIdleBlock_ = 0;
    if (active())
        idle_.start();
}

void SpellingMarks::spellerChanged()
{
    found_.clear();
    nextIdleBlock_ = 0;
    if (active() && document_)
        idle_.start();
    else
        idle_.stop();
    Q_EMIT marksChanged();
}

quint64 SpellingMarks::keyOf(const QString &text)
{
    return (quint64(qHash(text)) << 20) ^ quint64(text.size());
}

const SpellingMarks::Found &SpellingMarks::check(const QString &text)
{
    const quint64 key = keyOf(text);
    const quint64 generation = speller_->generation();
    auto it = found_.find(key);
    if (it != found_.end() && it->generation == generation)
        return *it;
    if (found_.size() >= kMostParagraphsKept)
        found_.clear();
    Found found;
    found.generation = generation;
    if (text.size() <= kLongestCheckedParagraph) {
        for (const spelling::Flag &flag : speller_->check(text))
            found.spans.push_back({flag.start, flag.length});
    }
    return *found_.insert(key, std::move(found));
}

const std::vector<TextMarks::Span> *SpellingMarks::shownIn(const QTextBlock &block)
{
    if (!active() || !block.isValid())
        return nullptr;
    // What was found for this very text, if anything. Anything else is
    // found right after the paint, the paragraph typed in once typing pauses:
    // a paint never waits for the dictionaries.
    const auto it = found_.constFind(keyOf(block.text()));
    if (it != found_.cend() && it->generation == speller_->generation())
        return it->spans.empty() ? nullptr : &it->spans;
    if ((typedAt_ < 0 || !block.contains(typedAt_)) && shownUnchecked_.size() < kMostShownUnchecked) {
        shownUnchecked_.append(block);
        if (!idle_.isActive())
            idle_.start();
    }
    return nullptr;
}

std::vector<TextMarks::Span> SpellingMarks::foundIn(const QTextBlock &block)
{
    if (!active() || !block.isValid())
        return {};
    return check(block.text()).spans;
}

void SpellingMarks::changed(int position)
{
    if (!active())
        return;
    typedAt_ = position;
    // A timer started once per pause, not once per key.
    sinceChange_.start();
    if (!pause_.isActive())
        pause_.start(kTypingPauseMs);
    if (idle_.isActive())
        idle_.stop();
}

void SpellingMarks::setHeld(std::function<bool()> held)
{
    held_ = std::move(held);
}

void SpellingMarks::typingPaused()
{
    const qint64 typing = sinceChange_.isValid() ? sinceChange_.elapsed() : kTypingPauseMs;
    if (typing < kTypingPauseMs) {
        pause_.start(int(kTypingPauseMs - typing));
        return;
    }
    typedAt_ = -1;
    if (!active())
        return;
    Q_EMIT marksChanged(); // the paragraph typed in is painted, and so checked
    nextIdleBlock_ = 0;
    idle_.start();
}

void SpellingMarks::checkWhenIdle()
{
    if (!active() || !document_) {
        idle_.stop();
        return;
    }
    QElapsedTimer slice;
    slice.start();
    // The paragraphs shown first, then painted again with their marks.
    if (!shownUnchecked_.isEmpty()) {
        const QList<QTextBlock> shown = std::exchange(shownUnchecked_, {});
        for (const QTextBlock &block : shown) {
            if (block.isValid())
                check(block.text());
        }
        Q_EMIT marksChanged();
        return;
    }
    if (held_ && held_()) {
        idle_.stop();
        QTimer::singleShot(kHeldRetryMs, this, [this] {
            if (active())
                idle_.start();
        });
        return;
    }
    if (found_.size() >= kMostParagraphsKept) {
        idle_.stop();
        return;
    }
    QTextBlock block = document_->findBlockByNumber(nextIdleBlock_);
    for (; block.isValid() && slice.elapsed() < kIdleSliceMs; block = block.next()) {
        check(block.text());
        ++nextIdleBlock_;
    }
    if (!block.isValid())
        idle_.stop();
}
