#include "app/KnownFile.h"

namespace {

bool sameTimeAndSize(const filestamps::FileStamp &a, const filestamps::FileStamp &b)
{
    return a.size == b.size && a.modifiedNs == b.modifiedNs;
}

} // namespace

void KnownFile::forget()
{
    known_.reset();
    judged_.reset();
    offered_ = false;
}

void KnownFile::know(const filestamps::FileStamp &stamp)
{
    known_ = stamp;
    judged_.reset();
    offered_ = false;
}

KnownFile::State KnownFile::stateOf(const QString &path,
                                    const std::function<filestamps::FileStamp()> &completeHash)
{
    if (!known_)
        return State::Same;
    const std::optional<filestamps::FileStamp> seen = filestamps::statOf(path);
    if (!seen)
        return State::Gone;
    if (sameTimeAndSize(*seen, *known_)) {
        offered_ = false;
        return State::Same;
    }
    if (judged_ && sameTimeAndSize(*seen, *judged_))
        return judgedState_;
    State state = State::Changed;
    if (seen->size == known_->size) {
        if (!known_->hashKnown && completeHash)
            known_ = completeHash();
        const std::optional<quint64> hash = filestamps::hashOfFile(path);
        if (known_->hashKnown && hash && *hash == known_->hash)
            state = State::Same;
    }
    judged_ = seen;
    judgedState_ = state;
    offered_ = false;
    return state;
}
