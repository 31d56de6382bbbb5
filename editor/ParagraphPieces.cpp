#include "editor/ParagraphPieces.h"

#include <algorithm>

ParagraphPieces::Piece ParagraphPieces::piece(int start, int length, std::unique_ptr<QTextLayout> layout, int lines,
                                              double height)
{
    Piece piece;
    piece.start = start;
    piece.length = length;
    piece.layout = std::move(layout);
    piece.lines = lines;
    piece.height = height;
    return piece;
}

const ParagraphPieces::Piece &ParagraphPieces::at(int index) const
{
    settle(index + 1);
    return pieces_[static_cast<std::size_t>(index)];
}

void ParagraphPieces::settle(int index) const
{
    index = std::min(index, count());
    for (int i = pending_.from; i < index; ++i) {
        Piece &piece = pieces_[static_cast<std::size_t>(i)];
        piece.start += pending_.start;
        piece.y += pending_.y;
        piece.firstLine += pending_.line;
    }
    if (index >= count())
        pending_ = Pending();
    else if (index > pending_.from)
        pending_.from = index;
}

// The last piece whose value is at or before `value`.
template <typename Value>
int ParagraphPieces::search(Value value, Value (ParagraphPieces::*of)(int) const) const
{
    if (pieces_.empty())
        return -1;
    int low = 0, high = count(); // the answer is in [low, high)
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if ((this->*of)(middle) <= value)
            low = middle;
        else
            high = middle;
    }
    return low;
}

int ParagraphPieces::atPosition(int position) const
{
    return search(position, &ParagraphPieces::startOf);
}

int ParagraphPieces::atY(double y) const
{
    return search(y, &ParagraphPieces::yOf);
}

int ParagraphPieces::atLine(int line) const
{
    return search(line, &ParagraphPieces::lineOf);
}

void ParagraphPieces::append(Piece piece)
{
    settle(count());
    pieces_.push_back(std::move(piece));
    Piece &last = pieces_.back();
    if (count() > 1) {
        const Piece &before = pieces_[pieces_.size() - 2];
        last.y = before.y + before.height;
        last.firstLine = before.firstLine + before.lines;
    }
}

void ParagraphPieces::replace(int first, int last, std::vector<Piece> fresh, int shift)
{
    first = std::clamp(first, 0, count());
    last = std::clamp(last, first - 1, count() - 1);
    dropping(first, last);
    settle(first); // everything before the edit in place
    double y = first > 0 ? pieces_[std::size_t(first - 1)].y + pieces_[std::size_t(first - 1)].height : 0;
    int line = first > 0 ? pieces_[std::size_t(first - 1)].firstLine + pieces_[std::size_t(first - 1)].lines : 0;
    double oldHeight = 0;
    int oldLines = 0;
    for (int i = first; i <= last; ++i) {
        oldHeight += pieces_[std::size_t(i)].height;
        oldLines += pieces_[std::size_t(i)].lines;
    }
    double newHeight = 0;
    int newLines = 0;
    for (Piece &piece : fresh) {
        piece.y = y + newHeight;
        piece.firstLine = line + newLines;
        newHeight += piece.height;
        newLines += piece.lines;
    }
    const int added = static_cast<int>(fresh.size());
    const int removed = last - first + 1;
    // The pieces after the edit, moved already or not.
    int from = pending_.from == std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                                 : pending_.from - removed + added;
    // In place where the counts allow: the pieces after stay where they are
    // in memory, however many there are.
    const int kept = std::min(added, removed);
    std::move(fresh.begin(), fresh.begin() + kept, pieces_.begin() + first);
    if (added > removed)
        pieces_.insert(pieces_.begin() + first + kept, std::make_move_iterator(fresh.begin() + kept),
                       std::make_move_iterator(fresh.end()));
    else if (removed > added)
        pieces_.erase(pieces_.begin() + first + kept, pieces_.begin() + last + 1);
    const int after = first + added;
    Pending move{after, shift, newHeight - oldHeight, newLines - oldLines};
    if (from < std::numeric_limits<int>::max() && from > after) {
        // Those between this edit and the earlier one's first unmoved piece
        // take this move now; the rest takes both later.
        for (int i = after; i < from; ++i) {
            Piece &piece = pieces_[std::size_t(i)];
            piece.start += move.start;
            piece.y += move.y;
            piece.firstLine += move.line;
        }
        move.from = from;
    }
    if (from < std::numeric_limits<int>::max()) {
        move.start += pending_.start;
        move.y += pending_.y;
        move.line += pending_.line;
    }
    pending_ = after < count() ? move : Pending();
}

void ParagraphPieces::truncate(int first)
{
    first = std::clamp(first, 0, count());
    dropping(first, count() - 1);
    settle(first);
    pieces_.erase(pieces_.begin() + first, pieces_.end());
    pending_ = Pending();
}

void ParagraphPieces::keepShaping(QTextLayout *layout)
{
    if (keptShaping_ == layout)
        return;
    if (keptShaping_)
        keptShaping_->setCacheEnabled(false);
    keptShaping_ = layout;
    if (layout)
        layout->setCacheEnabled(true);
}

void ParagraphPieces::dropping(int first, int last)
{
    for (int i = first; keptShaping_ && i <= last; ++i) {
        if (pieces_[static_cast<std::size_t>(i)].layout.get() == keptShaping_)
            keptShaping_ = nullptr;
    }
}
