#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace findreplace {

// Finds a text in a string with or without regard to case, as QString does
// with Qt::CaseInsensitive (simple case folding), at the speed a search
// through a whole large document needs: Horspool's skips over folded UTF-16
// units.
class TextMatcher {
public:
    TextMatcher(const QString &text, bool matchCase);

    // The first start in [from, latestStart], or -1.
    qsizetype indexIn(QStringView haystack, qsizetype from, qsizetype latestStart) const;
    // The last start in [earliestStart, latestStart], or -1.
    qsizetype lastIndexIn(QStringView haystack, qsizetype latestStart, qsizetype earliestStart) const;

private:
    template <bool Fold>
    qsizetype forward(const char16_t *haystack, qsizetype from, qsizetype latestStart) const;
    template <bool Fold>
    qsizetype backward(const char16_t *haystack, qsizetype latestStart, qsizetype earliestStart) const;

    QString text_;
    bool matchCase_;
    // A folded surrogate pair cannot be looked up unit by unit: Qt compares.
    bool byQt_ = false;
    std::u16string units_; // the text, folded unless the case counts
    // By unit of the searched string: how far a window may move on when that
    // unit stands under the text's last unit (forward) or first (backward);
    // 0 where the two are equal, and the window must be compared.
    std::vector<unsigned char> skipForward_;
    std::vector<unsigned char> skipBackward_;
    qsizetype shiftLast_ = 0; // the move after comparing a window, forward
    qsizetype shiftFirst_ = 0; // and backward
};

} // namespace findreplace
