#pragma once

// Between ruler pixels and paragraph indents in points. The factor is 4/3 (96
// pixels per inch over 72 points per inch) in extended precision, whatever the
// screen's resolution; every conversion truncates toward zero.
namespace ruler {

constexpr int kScaleWidth = 682;    // pixels: the scale picture, the right indent's reference
constexpr int kMarkerWidth = 9;     // pixels
constexpr int kLeftSnapLimit = 7;   // a left marker left of this goes back to kSnapPosition
constexpr int kSnapPosition = 8;
constexpr int kSnappedOtherLinesIndent = 2; // points

// Indents from a dropped marker whose left edge is at `left`.
int firstLineIndentAt(int left, int grabOffset);
int otherLinesIndentAt(int left, int grabOffset, int firstLineIndent);
int rightEdgeIndentAt(int left, int grabOffset);

// Marker positions for a paragraph's indents.
int firstLineMarkerLeft(int firstLineIndent);
int leftIndentMarkerLeft(int firstLineIndent, int otherLinesIndent);
int rightIndentMarkerLeft(int rightEdgeIndent);

} // namespace ruler
