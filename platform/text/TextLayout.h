#pragma once
// One line of UTF-16 text in a style: measured as the sum of its glyph
// advances plus kerning, cut at the end to a width, and drawn into a
// Core Graphics context.
//
// Drawing works in the context's user space with y growing upward from
// the baseline: glyph coverage becomes one premultiplied image of the
// line, drawn through the transform and the clip.

#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/text/TextStyle.h"

typedef uint16_t TextUnit;

// Control characters (below U+0020) take no room and draw nothing.
double TextMeasureWidth(TextStyleRef style, const TextUnit* text, size_t n);

// The text cut at the end with an ellipsis so that it measures at most
// maxWidth; unchanged when it already fits, empty when not even the
// ellipsis fits.
std::vector<TextUnit> TextTruncateEnd(TextStyleRef style, const TextUnit* text, size_t n, double maxWidth);

// Draws with the baseline's left end at (x, y), turned counter-clockwise
// by rotation degrees about that point, in a colour of four components
// 0..1 (not premultiplied).
void TextDrawLine(CGContextRef c, TextStyleRef style, const TextUnit* text, size_t n, double x, double y,
                  const double rgba[4], double rotation);
