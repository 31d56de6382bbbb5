#include "editor/ParagraphMetrics.h"

#include <algorithm>
#include <cassert>
#include <iterator>

namespace {

// Paragraphs per run: a run is split when it grows past twice this.
constexpr std::size_t kRunSize = 256;

} // namespace

void ParagraphMetrics::Run::resum()
{
    height = 0;
    lines = 0;
    notLaidOut = 0;
    for (const Entry &entry : entries) {
        height += entry.height;
        lines += entry.lines;
        notLaidOut += entry.laidOut ? 0 : 1;
    }
}

void ParagraphMetrics::step(Position &where) const
{
    const Run &run = runs_[where.run];
    where.top += run.height;
    where.lines += run.lines;
    where.first += size(where.run);
    ++where.run;
}

ParagraphMetrics::Position ParagraphMetrics::locate(int paragraph) const
{
    Position where = hint_;
    if (where.run >= runs_.size() || paragraph < where.first)
        where = Position();
    while (where.run + 1 < runs_.size() && paragraph >= where.first + size(where.run))
        step(where);
    hint_ = where;
    return where;
}

const ParagraphMetrics::Entry &ParagraphMetrics::at(int paragraph) const
{
    assert(paragraph >= 0 && paragraph < count_);
    const Position where = locate(paragraph);
    return runs_[where.run].entries[static_cast<std::size_t>(paragraph - where.first)];
}

void ParagraphMetrics::set(int paragraph, const Entry &entry)
{
    assert(paragraph >= 0 && paragraph < count_);
    const Position where = locate(paragraph);
    Run &run = runs_[where.run];
    Entry &old = run.entries[static_cast<std::size_t>(paragraph - where.first)];
    run.height += entry.height - old.height;
    run.lines += entry.lines - old.lines;
    run.notLaidOut += (entry.laidOut ? 0 : 1) - (old.laidOut ? 0 : 1);
    old = entry;
}

void ParagraphMetrics::append(const Entry &entry)
{
    if (runs_.empty() || runs_.back().entries.size() >= kRunSize) {
        runs_.emplace_back();
        runs_.back().entries.reserve(kRunSize);
    }
    Run &run = runs_.back();
    run.entries.push_back(entry);
    run.height += entry.height;
    run.lines += entry.lines;
    run.notLaidOut += entry.laidOut ? 0 : 1;
    ++count_;
}

void ParagraphMetrics::insert(int paragraph, const std::vector<Entry> &entries)
{
    if (entries.empty())
        return;
    paragraph = std::clamp(paragraph, 0, count_);
    if (runs_.empty())
        runs_.emplace_back();
    const Position where = locate(paragraph);
    auto &target = runs_[where.run].entries;
    target.insert(target.begin() + (paragraph - where.first), entries.begin(), entries.end());
    count_ += static_cast<int>(entries.size());
    hint_ = Position();
    splitRun(where.run);
}

void ParagraphMetrics::splitRun(std::size_t run)
{
    auto &entries = runs_[run].entries;
    if (entries.size() <= 2 * kRunSize) {
        runs_[run].resum();
        return;
    }
    // Runs of kRunSize, the last one taking the rest.
    std::vector<Run> pieces;
    auto from = entries.begin();
    while (static_cast<std::size_t>(entries.end() - from) > 2 * kRunSize) {
        pieces.emplace_back();
        pieces.back().entries.assign(from, from + kRunSize);
        from += kRunSize;
    }
    pieces.emplace_back();
    pieces.back().entries.assign(from, entries.end());
    for (Run &piece : pieces)
        piece.resum();
    runs_[run] = std::move(pieces.front());
    runs_.insert(runs_.begin() + static_cast<std::ptrdiff_t>(run + 1), std::make_move_iterator(pieces.begin() + 1),
                 std::make_move_iterator(pieces.end()));
}

void ParagraphMetrics::remove(int first, int count)
{
    first = std::clamp(first, 0, count_);
    count = std::clamp(count, 0, count_ - first);
    if (count == 0)
        return;
    const Position where = locate(first);
    std::size_t run = where.run;
    int index = first - where.first;
    for (int left = count; left > 0; ++run, index = 0) {
        auto &entries = runs_[run].entries;
        const int take = std::min(left, size(run) - index);
        entries.erase(entries.begin() + index, entries.begin() + index + take);
        runs_[run].resum();
        left -= take;
    }
    const auto touched = runs_.begin() + static_cast<std::ptrdiff_t>(where.run);
    const auto past = runs_.begin() + static_cast<std::ptrdiff_t>(run);
    runs_.erase(std::remove_if(touched, past, [](const Run &r) { return r.entries.empty(); }), past);
    count_ -= count;
    hint_ = Position();
}

void ParagraphMetrics::clear()
{
    runs_.clear();
    count_ = 0;
    hint_ = Position();
}

double ParagraphMetrics::top(int paragraph) const
{
    return sumBefore(paragraph, &Position::top, &Entry::height);
}

int ParagraphMetrics::firstLine(int paragraph) const
{
    return sumBefore(paragraph, &Position::lines, &Entry::lines);
}

int ParagraphMetrics::atY(double y, double *top) const
{
    *top = 0;
    if (runs_.empty())
        return -1;
    Position where = hint_;
    if (where.run >= runs_.size() || !(where.top <= y))
        where = Position();
    while (where.run + 1 < runs_.size() && where.top + runs_[where.run].height <= y)
        step(where);
    hint_ = where;
    double above = where.top;
    const auto &entries = runs_[where.run].entries;
    std::size_t i = 0;
    while (i + 1 < entries.size() && above + entries[i].height <= y) {
        above += entries[i].height;
        ++i;
    }
    *top = above;
    return where.first + static_cast<int>(i);
}

int ParagraphMetrics::atLine(int line, int *firstLine) const
{
    if (line < 0)
        return -1;
    Position where = hint_;
    if (where.run >= runs_.size() || where.lines > line)
        where = Position();
    while (where.run < runs_.size() && where.lines + runs_[where.run].lines <= line)
        step(where);
    if (where.run >= runs_.size())
        return -1;
    hint_ = where;
    int before = where.lines;
    const auto &entries = runs_[where.run].entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (before + entries[i].lines > line) {
            *firstLine = before;
            return where.first + static_cast<int>(i);
        }
        before += entries[i].lines;
    }
    return -1;
}

int ParagraphMetrics::firstNotLaidOut(int from) const
{
    from = std::max(from, 0);
    if (from >= count_)
        return -1;
    const Position where = locate(from);
    int first = where.first;
    for (std::size_t run = where.run; run < runs_.size(); first += size(run), ++run) {
        if (runs_[run].notLaidOut == 0)
            continue;
        const auto &entries = runs_[run].entries;
        for (std::size_t i = static_cast<std::size_t>(std::max(0, from - first)); i < entries.size(); ++i) {
            if (!entries[i].laidOut)
                return first + static_cast<int>(i);
        }
    }
    return -1;
}

double ParagraphMetrics::totalHeight() const
{
    double height = 0;
    for (const Run &run : runs_)
        height += run.height;
    return height;
}

int ParagraphMetrics::totalLines() const
{
    int lines = 0;
    for (const Run &run : runs_)
        lines += run.lines;
    return lines;
}

int ParagraphMetrics::notLaidOut() const
{
    int count = 0;
    for (const Run &run : runs_)
        count += run.notLaidOut;
    return count;
}
