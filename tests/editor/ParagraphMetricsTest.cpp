#include "editor/ParagraphMetrics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using Entry = ParagraphMetrics::Entry;

// Whole-number heights: every way of adding them up gives the same sum.
Entry entry(int height, int lines, bool laidOut = true)
{
    return Entry{double(height), lines, laidOut};
}

std::vector<Entry> entries(int count, int height = 10, int lines = 1)
{
    return std::vector<Entry>(std::size_t(count), entry(height, lines));
}

// The same questions answered by walking a plain list.
struct Naive {
    std::vector<Entry> list;

    double top(int paragraph) const
    {
        double sum = 0;
        for (int i = 0; i < paragraph; ++i)
            sum += list[std::size_t(i)].height;
        return sum;
    }
    int firstLine(int paragraph) const
    {
        int sum = 0;
        for (int i = 0; i < paragraph; ++i)
            sum += list[std::size_t(i)].lines;
        return sum;
    }
    int atY(double y) const
    {
        double above = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            above += list[i].height;
            if (above > y)
                return int(i);
        }
        return int(list.size()) - 1;
    }
    int atLine(int line) const
    {
        int before = 0;
        for (std::size_t i = 0; line >= 0 && i < list.size(); ++i) {
            before += list[i].lines;
            if (before > line)
                return int(i);
        }
        return -1;
    }
    int firstNotLaidOut(int from) const
    {
        for (std::size_t i = std::size_t(std::max(from, 0)); i < list.size(); ++i) {
            if (!list[i].laidOut)
                return int(i);
        }
        return -1;
    }
};

void expectParagraphLike(const ParagraphMetrics &metrics, const Naive &naive, int paragraph)
{
    const int count = int(naive.list.size());
    ASSERT_EQ(metrics.count(), count);
    if (paragraph < count) {
        const Entry &got = metrics.at(paragraph);
        const Entry &want = naive.list[std::size_t(paragraph)];
        ASSERT_EQ(got.height, want.height) << "paragraph " << paragraph;
        ASSERT_EQ(got.lines, want.lines) << "paragraph " << paragraph;
        ASSERT_EQ(got.laidOut, want.laidOut) << "paragraph " << paragraph;
    }
    const double top = naive.top(paragraph);
    const int firstLine = naive.firstLine(paragraph);
    ASSERT_EQ(metrics.top(paragraph), top) << "paragraph " << paragraph;
    ASSERT_EQ(metrics.firstLine(paragraph), firstLine) << "paragraph " << paragraph;
    ASSERT_EQ(metrics.firstNotLaidOut(paragraph), naive.firstNotLaidOut(paragraph)) << "from " << paragraph;
    // A y on the paragraph's top, and one just inside it.
    for (const double y : {top, top + 0.5}) {
        double foundTop = -1;
        const int found = metrics.atY(y, &foundTop);
        ASSERT_EQ(found, naive.atY(y)) << "y " << y;
        ASSERT_EQ(foundTop, found < 0 ? 0 : naive.top(found)) << "y " << y;
    }
    int foundLine = -1;
    const int found = metrics.atLine(firstLine, &foundLine);
    ASSERT_EQ(found, naive.atLine(firstLine)) << "line " << firstLine;
    if (found >= 0) {
        ASSERT_EQ(foundLine, naive.firstLine(found)) << "line " << firstLine;
    }
}

// Every paragraph's place and entry, and the totals, against sums taken here.
void expectLike(const ParagraphMetrics &metrics, const Naive &naive)
{
    const int count = int(naive.list.size());
    ASSERT_EQ(metrics.count(), count);
    std::vector<int> nextNotLaidOut(std::size_t(count) + 1, -1);
    for (int i = count - 1; i >= 0; --i)
        nextNotLaidOut[std::size_t(i)] = naive.list[std::size_t(i)].laidOut ? nextNotLaidOut[std::size_t(i) + 1] : i;
    double top = 0;
    int line = 0;
    int notLaidOut = 0;
    for (int i = 0; i <= count; ++i) {
        ASSERT_EQ(metrics.top(i), top) << "paragraph " << i;
        ASSERT_EQ(metrics.firstLine(i), line) << "paragraph " << i;
        ASSERT_EQ(metrics.firstNotLaidOut(i), nextNotLaidOut[std::size_t(i)]) << "from " << i;
        if (i == count)
            break;
        const Entry &want = naive.list[std::size_t(i)];
        ASSERT_EQ(metrics.at(i).height, want.height) << "paragraph " << i;
        ASSERT_EQ(metrics.at(i).lines, want.lines) << "paragraph " << i;
        ASSERT_EQ(metrics.at(i).laidOut, want.laidOut) << "paragraph " << i;
        top += want.height;
        line += want.lines;
        notLaidOut += want.laidOut ? 0 : 1;
    }
    ASSERT_EQ(metrics.totalHeight(), top);
    ASSERT_EQ(metrics.totalLines(), line);
    ASSERT_EQ(metrics.notLaidOut(), notLaidOut);
    double found = -1;
    ASSERT_EQ(metrics.atY(-5, &found), count == 0 ? -1 : 0);
    ASSERT_EQ(metrics.atY(top + 100, &found), count - 1);
    int first = -1;
    ASSERT_EQ(metrics.atLine(line, &first), -1);
    ASSERT_EQ(metrics.atLine(-1, &first), -1);
}

void expectEveryParagraphFound(const ParagraphMetrics &metrics, const Naive &naive)
{
    ASSERT_NO_FATAL_FAILURE(expectLike(metrics, naive));
    for (int i = 0; i <= int(naive.list.size()); ++i)
        ASSERT_NO_FATAL_FAILURE(expectParagraphLike(metrics, naive, i));
}

} // namespace

TEST(ParagraphMetricsTest, AgreesWithAPlainListThroughRandomEdits)
{
    // Edits of all sizes at random places, so that runs are split, emptied
    // and removed; zero heights and zero lines are allowed. Queries in random
    // order between the edits.
    std::mt19937 random(20261208);
    auto below = [&random](int bound) { return int(random() % unsigned(bound)); };
    auto randomEntry = [&] { return entry(below(4) == 0 ? 0 : below(40), below(4), below(3) != 0); };
    ParagraphMetrics metrics;
    Naive naive;
    for (int step = 0; step < 3000; ++step) {
        const int count = int(naive.list.size());
        switch (below(step == 1500 ? 1 : 5)) {
        case 0: {
            const int at = below(count + 1);
            std::vector<Entry> added(std::size_t(step == 1500 ? 2000 : 1 + below(below(4) == 0 ? 600 : 3)));
            for (Entry &e : added)
                e = randomEntry();
            metrics.insert(at, added);
            naive.list.insert(naive.list.begin() + at, added.begin(), added.end());
            break;
        }
        case 1: {
            const int first = below(count + 1);
            const int removed = std::min(count - first, below(below(4) == 0 ? 1100 : 4));
            metrics.remove(first, removed);
            naive.list.erase(naive.list.begin() + first, naive.list.begin() + first + removed);
            break;
        }
        case 2:
            naive.list.push_back(randomEntry());
            metrics.append(naive.list.back());
            break;
        default:
            if (count == 0)
                break;
            const int at = below(count);
            naive.list[std::size_t(at)] = randomEntry();
            metrics.set(at, naive.list[std::size_t(at)]);
            break;
        }
        const int now = int(naive.list.size());
        for (int probe = 0; probe < 3; ++probe) {
            ASSERT_NO_FATAL_FAILURE(expectParagraphLike(metrics, naive, below(now + 1))) << "step " << step;
        }
        if (step % 100 == 0) {
            ASSERT_NO_FATAL_FAILURE(expectLike(metrics, naive)) << "step " << step;
        }
    }
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));
}

TEST(ParagraphMetricsTest, EdgesOfTheRuns)
{
    ParagraphMetrics metrics;
    Naive naive;
    // Empty: nothing found anywhere, and removing nothing is harmless.
    metrics.remove(0, 3);
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));

    // Whole runs of 10-pixel, one-line paragraphs, appended and inserted at the end.
    for (const Entry &e : entries(3 * 256))
        metrics.append(e);
    metrics.insert(metrics.count(), entries(5));
    naive.list = entries(3 * 256 + 5);
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));
    // A y exactly on the boundary between two runs starts the later paragraph.
    double top = -1;
    EXPECT_EQ(metrics.atY(2560, &top), 256);
    EXPECT_EQ(top, 2560);
    EXPECT_EQ(metrics.atY(2559.5, &top), 255);
    // The last paragraph: its last line, and everything below the text.
    int line = -1;
    EXPECT_EQ(metrics.atLine(3 * 256 + 4, &line), 3 * 256 + 4);
    EXPECT_EQ(line, 3 * 256 + 4);
    EXPECT_EQ(metrics.top(metrics.count()), 10.0 * (3 * 256 + 5));

    // A whole run out, then a run and a half from inside one run to inside the next.
    metrics.remove(256, 256);
    naive.list.erase(naive.list.begin() + 256, naive.list.begin() + 512);
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));
    metrics.set(100, entry(7, 3, false));
    naive.list[100] = entry(7, 3, false);
    metrics.remove(200, 300);
    naive.list.erase(naive.list.begin() + 200, naive.list.begin() + 500);
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));

    // Everything out, then in again.
    metrics.remove(0, metrics.count());
    naive.list.clear();
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));
    metrics.insert(0, entries(600, 3, 2));
    naive.list = entries(600, 3, 2);
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));
    metrics.clear();
    naive.list.clear();
    ASSERT_NO_FATAL_FAILURE(expectEveryParagraphFound(metrics, naive));
}
