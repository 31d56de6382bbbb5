#pragma once

#include <array>
#include <cstddef>

// What an RTF document held that the document model cannot, counted while it
// is read, so that the user can be told what was left out.
namespace rtf {

enum class Loss : int {
    None = 0,
    Pictures,       // kinds not shown, broken or over the limits
    Objects,        // embedded objects: only their picture is kept
    Shapes,         // drawing shapes, text boxes (a picture shape shows its picture)
    HeadersFooters,
    Footnotes,
    Comments,
    Fields,         // fields other than links: only their result text is kept
    TableRows,      // table rows read as lines with tabs between the cells
    Count,
};

struct LoadStatus {
    std::array<int, std::size_t(Loss::Count)> counts{};

    int count(Loss loss) const { return counts[std::size_t(loss)]; }
    void add(Loss loss)
    {
        if (loss != Loss::None && counts[std::size_t(loss)] < kMaxCount)
            ++counts[std::size_t(loss)];
    }
    // True when nothing was left out.
    bool complete() const
    {
        for (std::size_t i = 1; i < counts.size(); ++i) {
            if (counts[i] != 0)
                return false;
        }
        return true;
    }

    static constexpr int kMaxCount = 1'000'000'000;
};

} // namespace rtf
