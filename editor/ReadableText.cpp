#include "editor/ReadableText.h"

#include <algorithm>
#include <cmath>

namespace {

// The contrast ratio below which text is hard to read even when large (WCAG).
constexpr double kMinimumContrast = 3.0;

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double luminance(const QColor &color)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

QColor readableTextColor(const QColor &themeText, const QColor &paper)
{
    return contrast(themeText, paper) >= kMinimumContrast ? themeText : QColor(Qt::black);
}
