#include "widgets/RulerGeometry.h"

namespace ruler {

namespace {

// 4/3 as the extended-precision constant the ruler has always used.
constexpr long double kFactor = 1.3333333333333333334L;
constexpr int kLeftOrigin = 6;     // pixels: where indent 0 lies under a marker's grab point
constexpr int kMarkerOrigin = 2;   // pixels: a marker's left edge for indent 0
constexpr int kRightMargin = 12;   // points added to a right indent set by the marker
constexpr int kRightOrigin = 6;    // pixels and points of the right marker's placement

int truncated(long double value)
{
    return static_cast<int>(value); // toward zero
}

} // namespace

int firstLineIndentAt(int left, int grabOffset)
{
    return truncated((left + grabOffset - kLeftOrigin) / kFactor);
}

int otherLinesIndentAt(int left, int grabOffset, int firstLineIndent)
{
    return truncated((left + grabOffset - kLeftOrigin) / kFactor) - firstLineIndent;
}

int rightEdgeIndentAt(int left, int grabOffset)
{
    return truncated((kScaleWidth - left + grabOffset) / kFactor) + kRightMargin;
}

int firstLineMarkerLeft(int firstLineIndent)
{
    return truncated(firstLineIndent * kFactor) + kMarkerOrigin;
}

int leftIndentMarkerLeft(int firstLineIndent, int otherLinesIndent)
{
    return truncated((otherLinesIndent + firstLineIndent) * kFactor) + kMarkerOrigin;
}

int rightIndentMarkerLeft(int rightEdgeIndent)
{
    return (kScaleWidth - kRightOrigin) - truncated((rightEdgeIndent + kRightOrigin) * kFactor);
}

} // namespace ruler
