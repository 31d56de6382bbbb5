#include "tools/FindReplaceMatcher.h"

#include <algorithm>
#include <limits>

namespace findreplace {

namespace {

constexpr int kUnits = 0x10000;
constexpr int kLongestSkip = std::numeric_limits<unsigned char>::max();

// Every UTF-16 unit folded as Qt folds it; surrogates stay as they are.
const std::vector<char16_t> &foldedUnits()
{
    static const std::vector<char16_t> table = [] {
        std::vector<char16_t> folded(kUnits);
        for (int u = 0; u < kUnits; ++u) {
            const char32_t f = QChar::isSurrogate(char32_t(u)) ? char32_t(u) : QChar::toCaseFolded(char32_t(u));
            folded[u] = f < kUnits ? char16_t(f) : char16_t(u);
        }
        return folded;
    }();
    return table;
}

unsigned char skipOf(qsizetype distance)
{
    return static_cast<unsigned char>(std::min<qsizetype>(distance, kLongestSkip));
}

} // namespace

TextMatcher::TextMatcher(const QString &text, bool matchCase) : text_(text), matchCase_(matchCase)
{
    const qsizetype n = text.size();
    if (n == 0)
        return;
    byQt_ = !matchCase && std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSurrogate(); });
    if (byQt_)
        return;
    const std::vector<char16_t> &fold = foldedUnits();
    for (QChar c : text)
        units_.push_back(matchCase ? c.unicode() : fold[c.unicode()]);
    // Horspool's shifts by folded unit, then spread to every unit that folds to it.
    std::vector<unsigned char> forward(kUnits, skipOf(n));
    std::vector<unsigned char> backward(kUnits, skipOf(n));
    for (qsizetype i = 0; i < n - 1; ++i)
        forward[units_[i]] = skipOf(n - 1 - i);
    for (qsizetype i = n - 1; i > 0; --i)
        backward[units_[i]] = skipOf(i);
    shiftLast_ = forward[units_[n - 1]];
    shiftFirst_ = backward[units_[0]];
    forward[units_[n - 1]] = 0;
    backward[units_[0]] = 0;
    skipForward_.resize(kUnits);
    skipBackward_.resize(kUnits);
    for (int u = 0; u < kUnits; ++u) {
        const char16_t key = matchCase ? char16_t(u) : fold[u];
        skipForward_[u] = forward[key];
        skipBackward_[u] = backward[key];
    }
}

template <bool Fold>
qsizetype TextMatcher::forward(const char16_t *haystack, qsizetype from, qsizetype latestStart) const
{
    const std::vector<char16_t> &fold = foldedUnits();
    const auto unit = [&fold](char16_t u) { return Fold ? fold[u] : u; };
    const qsizetype last = static_cast<qsizetype>(units_.size()) - 1;
    for (qsizetype i = from; i <= latestStart;) {
        const unsigned char skip = skipForward_[haystack[i + last]];
        if (skip != 0) {
            i += skip;
            continue;
        }
        qsizetype k = 0;
        while (k < last && unit(haystack[i + k]) == units_[k])
            ++k;
        if (k == last)
            return i;
        i += shiftLast_;
    }
    return -1;
}

template <bool Fold>
qsizetype TextMatcher::backward(const char16_t *haystack, qsizetype latestStart, qsizetype earliestStart) const
{
    const std::vector<char16_t> &fold = foldedUnits();
    const auto unit = [&fold](char16_t u) { return Fold ? fold[u] : u; };
    const qsizetype n = static_cast<qsizetype>(units_.size());
    for (qsizetype i = latestStart; i >= earliestStart;) {
        const unsigned char skip = skipBackward_[haystack[i]];
        if (skip != 0) {
            i -= skip;
            continue;
        }
        qsizetype k = 1;
        while (k < n && unit(haystack[i + k]) == units_[k])
            ++k;
        if (k == n)
            return i;
        i -= shiftFirst_;
    }
    return -1;
}

qsizetype TextMatcher::indexIn(QStringView haystack, qsizetype from, qsizetype latestStart) const
{
    latestStart = std::min(latestStart, haystack.size() - text_.size());
    from = std::max<qsizetype>(from, 0);
    if (text_.isEmpty() || from > latestStart)
        return -1;
    if (byQt_) {
        const qsizetype found = haystack.indexOf(text_, from, Qt::CaseInsensitive);
        return found <= latestStart ? found : -1;
    }
    const char16_t *units = haystack.utf16();
    return matchCase_ ? forward<false>(units, from, latestStart) : forward<true>(units, from, latestStart);
}

qsizetype TextMatcher::lastIndexIn(QStringView haystack, qsizetype latestStart, qsizetype earliestStart) const
{
    latestStart = std::min(latestStart, haystack.size() - text_.size());
    earliestStart = std::max<qsizetype>(earliestStart, 0);
    if (text_.isEmpty() || latestStart < earliestStart)
        return -1;
    if (byQt_) {
        const qsizetype found = haystack.lastIndexOf(text_, latestStart, Qt::CaseInsensitive);
        return found >= earliestStart ? found : -1;
    }
    const char16_t *units = haystack.utf16();
    return matchCase_ ? backward<false>(units, latestStart, earliestStart)
                      : backward<true>(units, latestStart, earliestStart);
}

} // namespace findreplace
