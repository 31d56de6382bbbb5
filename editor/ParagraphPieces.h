#pragma once

#include <QTextBlock>
#include <QTextLayout>
#include <limits>
#include <memory>
#include <vector>

// The lines of a very long paragraph, laid out in pieces of a few thousand
// characters, each a layout of its own: an edit lays out again only the piece
// it falls in, and the paragraph is laid out a piece at a time as far as it
// is shown or asked for. A piece starts at the start of a display line; its
// layout may hold one more line than it uses (where the next piece takes
// over), which is neither drawn nor counted.
//
// Marks its paragraph as the paragraph's user data, so the document deletes
// it with the paragraph.
class ParagraphPieces : public QTextBlockUserData {
public:
    struct Piece {
        int start = 0;  // in the paragraph's text
        int length = 0; // characters it shows
        double y = 0;   // of its layout's origin, from the paragraph's top
        double height = 0;
        int firstLine = 0; // display line in the paragraph
        int lines = 0;     // lines it shows, from its layout's first
        std::unique_ptr<QTextLayout> layout;
        int end() const { return start + length; }
    };

    // A piece's lines are in place and its length counted; the caller lays
    // out `layout` before handing it over.
    static Piece piece(int start, int length, std::unique_ptr<QTextLayout> layout, int lines, double height);

    explicit ParagraphPieces(int textLength) : textLength_(textLength) {}

    int textLength() const { return textLength_; }
    int count() const { return static_cast<int>(pieces_.size()); }
    const Piece &at(int index) const;
    // The characters laid out, from the paragraph's start.
    int built() const { return pieces_.empty() ? 0 : startOf(count() - 1) + pieces_.back().length; }
    bool complete() const { return built() >= textLength_; }
    double builtHeight() const { return pieces_.empty() ? 0 : yOf(count() - 1) + pieces_.back().height; }
    int builtLines() const { return pieces_.empty() ? 0 : lineOf(count() - 1) + pieces_.back().lines; }

    // The piece showing a position of the paragraph's text (its end
    // included), the piece at a height, the piece showing a display line:
    // the nearest built one where none does; -1 when none is built.
    int atPosition(int position) const;
    int atY(double y) const;
    int atLine(int line) const;

    void append(Piece piece);
    // Replaces pieces [first, last] with `fresh`, moves the pieces after them
    // by `shift` characters and stacks everything after `first` again.
    void replace(int first, int last, std::vector<Piece> fresh, int shift);
    // Drops the pieces from `first` on, to be laid out again.
    void truncate(int first);
    void clear()
    {
        pieces_.clear();
        keptShaping_ = nullptr;
        pending_ = Pending();
    }
    // The one layout of the paragraph that keeps its shaped glyphs (the one
    // typed in, for the caret and the next paint); the one before lets them go.
    void keepShaping(QTextLayout *layout);
    void setTextLength(int length) { textLength_ = length; }

private:
    // The pieces after an edit move in one step, told here, and take the move
    // when they are next read: keys typed at one place cost the same however
    // many pieces follow.
    struct Pending {
        int from = std::numeric_limits<int>::max(); // the first piece not moved yet
        int start = 0;
        double y = 0;
        int line = 0;
    };
    bool moves(int index) const { return index >= pending_.from; }
    int startOf(int index) const { return pieces_[std::size_t(index)].start + (moves(index) ? pending_.start : 0); }
    double yOf(int index) const { return pieces_[std::size_t(index)].y + (moves(index) ? pending_.y : 0); }
    int lineOf(int index) const { return pieces_[std::size_t(index)].firstLine + (moves(index) ? pending_.line : 0); }
    // Gives the pieces before `index` their move.
    void settle(int index) const;
    void dropping(int first, int last);
    template <typename Value>
    int search(Value value, Value (ParagraphPieces::*of)(int) const) const;

    mutable std::vector<Piece> pieces_;
    mutable Pending pending_;
    QTextLayout *keptShaping_ = nullptr;
    int textLength_ = 0;
};
