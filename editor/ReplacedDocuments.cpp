#include "editor/ReplacedDocuments.h"

void ReplacedDocuments::replaced(Kept before)
{
    after_.clear();
    before_.push_back(std::move(before));
}

void ReplacedDocuments::trimTo(int steps)
{
    int reachable = 0;
    for (const Kept &kept : before_)
        reachable += 1 + kept.undoDepth;
    while (reachable > steps && !before_.empty()) {
        Kept &oldest = before_.front();
        if (oldest.undoDepth > 0) {
            --oldest.undoDepth;
        } else {
            before_.pop_front();
        }
        --reachable;
    }
}

ReplacedDocuments::Kept ReplacedDocuments::undo(Kept current)
{
    Kept previous = std::move(before_.back());
    before_.pop_back();
    after_.push_back(std::move(current));
    return previous;
}

ReplacedDocuments::Kept ReplacedDocuments::redo(Kept current)
{
    Kept next = std::move(after_.back());
    after_.pop_back();
    before_.push_back(std::move(current));
    return next;
}

void ReplacedDocuments::clear()
{
    before_.clear();
    after_.clear();
}
