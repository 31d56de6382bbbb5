#include "widgets/RulerGeometry.h"

#include <gtest/gtest.h>

using namespace ruler;

constexpr int kGrab = kMarkerWidth / 2;

TEST(RulerGeometry, FirstLineMarkerDropAndPlacementAreInverse)
{
    EXPECT_EQ(firstLineIndentAt(98, kGrab), 72); // trunc(96 × 3/4)
    EXPECT_EQ(firstLineMarkerLeft(72), 98);
    EXPECT_EQ(firstLineIndentAt(0, kGrab), -1); // trunc(-1.5), toward zero
    EXPECT_EQ(firstLineIndentAt(2, kGrab), 0);
    // Indents in whole multiples of three points come back from their placement.
    for (int indent = -300; indent <= 300; indent += 3)
        EXPECT_EQ(firstLineIndentAt(firstLineMarkerLeft(indent), kGrab), indent) << indent;
}

TEST(RulerGeometry, LeftIndentIsRelativeToTheFirstLine)
{
    EXPECT_EQ(otherLinesIndentAt(138, kGrab, 72), 30); // trunc(136 × 3/4) − 72
    EXPECT_EQ(leftIndentMarkerLeft(72, 30), 138);
    EXPECT_EQ(leftIndentMarkerLeft(0, 0), 2);
    EXPECT_EQ(otherLinesIndentAt(3, kGrab, 0), 0);
}

TEST(RulerGeometry, RightIndentPlacementIsNotTheInverseOfItsDrop)
{
    EXPECT_EQ(rightEdgeIndentAt(620, kGrab), 61); // trunc(66 × 3/4) + 12
    EXPECT_EQ(rightIndentMarkerLeft(61), 587);    // 676 − trunc(67 × 4/3)
    EXPECT_EQ(rightIndentMarkerLeft(7), 659);     // 676 − 17
}

TEST(RulerGeometry, NegativeIndentsTruncateTowardZero)
{
    EXPECT_EQ(firstLineMarkerLeft(-20), -24); // trunc(-26.67) + 2
    EXPECT_EQ(firstLineIndentAt(-100, kGrab), -76); // trunc(-102 × 3/4)
}
