#pragma once

#include "platform/FileStamps.h"

#include <QString>
#include <functional>
#include <optional>

// The document's file as this program last read or wrote it, and whether
// another program has written it since.
class KnownFile {
public:
    enum class State {
        Same,    // as known, or nothing known to lose
        Changed, // written by another program since
        Gone     // deleted or moved away
    };

    // Nothing known: the file is written without a question.
    void forget();
    void know(const filestamps::FileStamp &stamp);
    bool isKnown() const { return known_.has_value(); }

    // The file at `path` now. It is read only when its size is as known and
    // its time is not (a file touched but not changed is the same), and only
    // once for each time it shows. `completeHash` gives the known stamp its
    // hash when it lacks one (a file still coming in).
    State stateOf(const QString &path, const std::function<filestamps::FileStamp()> &completeHash = {});

    // The user was told of the file as stateOf() last found it and kept the
    // text; false again once the file changes once more.
    bool offered() const { return offered_; }
    void markOffered() { offered_ = true; }

private:
    std::optional<filestamps::FileStamp> known_;
    // The last time and size looked at, and what they turned out to be.
    std::optional<filestamps::FileStamp> judged_;
    State judgedState_ = State::Same;
    bool offered_ = false;
};
