#pragma once

#include <algorithm>

#include <cstddef>
#include <vector>

// The height and display-line count of every paragraph of a document, in runs
// of a few hundred paragraphs that carry their sums: where a paragraph starts
// is the sum of the runs before it and the paragraphs before it in its run,
// and an edit touches only the runs it falls in. How the paragraphs are
// measured is the caller's business.
//
// Heights are non-negative. Lookups near the previous one (painting a screen,
// laying out in order) start from the run that one found; sums are always
// added up from the first run in the same order, so an answer does not depend
// on the lookups before it.
class ParagraphMetrics {
public:
    struct Entry {
        double height = 0;
        int lines = 1;
        bool laidOut = false; // measured; an estimate otherwise
        bool linesKept = false; // the paragraph's own layout holds the lines measured
    };

    int count() const { return count_; }
    const Entry &at(int paragraph) const;
    void set(int paragraph, const Entry &entry);
    void append(const Entry &entry);
    // Puts `entries` in before `paragraph`; at count(), after the last one.
    void insert(int paragraph, const std::vector<Entry> &entries);
    void remove(int first, int count);
    void clear();

    // Height and lines of the paragraphs before `paragraph`, for 0 to count().
    double top(int paragraph) const;
    int firstLine(int paragraph) const;
    // The first paragraph whose bottom is below `y` (the last one when none
    // is), and its top; -1 when there are no paragraphs.
    int atY(double y, double *top) const;
    // The paragraph that holds display line `line`, and that paragraph's
    // first line; -1 when there are fewer lines.
    int atLine(int line, int *firstLine) const;
    // The first paragraph at or after `from` not laid out; -1 when none is.
    int firstNotLaidOut(int from = 0) const;

    double totalHeight() const;
    int totalLines() const;
    int notLaidOut() const;

private:
    struct Run {
        std::vector<Entry> entries;
        double height = 0;
        int lines = 0;
        int notLaidOut = 0;
        void resum();
    };
    // A run and what lies before it.
    struct Position {
        std::size_t run = 0;
        int first = 0;
        double top = 0;
        int lines = 0;
    };

    int size(std::size_t run) const { return static_cast<int>(runs_[run].entries.size()); }
    void step(Position &where) const;
    // The sum of `field` over the paragraphs before `paragraph`: its run's
    // `start` plus the entries before it in that run.
    template <typename T>
    T sumBefore(int paragraph, T Position::*start, T Entry::*field) const
    {
        if (runs_.empty())
            return 0;
        paragraph = std::clamp(paragraph, 0, count_);
        const Position where = locate(paragraph);
        T sum = where.*start;
        const auto &entries = runs_[where.run].entries;
        for (int i = 0; i < paragraph - where.first; ++i)
            sum += entries[static_cast<std::size_t>(i)].*field;
        return sum;
    }
    // The run holding `paragraph`; for count(), the last run.
    Position locate(int paragraph) const;
    void splitRun(std::size_t run);

    std::vector<Run> runs_;
    int count_ = 0;
    mutable Position hint_; // the run the last lookup found
};
