#pragma once
// Private: source-over of one RGBA colour (0..1, not premultiplied) onto
// rows of 32-bit pixels in a supported layout.

#include <cstddef>

#include "platform/coregraphics/CGGeometry.h"
#include "platform/coregraphics/CGImage.h"

// True for the layouts of CGImage.h.
bool cgIsSupportedBitmapInfo(CGBitmapInfo info);

// Blends rgba over count pixels starting at p.
void cgBlendSpan(unsigned char* p, size_t count, CGBitmapInfo info, const CGFloat rgba[4]);

// Source-over of one premultiplied pixel (bytes A, R, G, B) onto p.
void cgBlendPremultiplied(unsigned char* p, CGBitmapInfo info, const unsigned char argb[4]);

// A colour component 0..1 as a byte, rounded; NaN counts as 0, like any value below range.
int cgToByte(CGFloat v);

// The first of n device pixels whose centre lies at or after v, in [0, n]: an
// image drawn over [lo, hi) covers the pixels from the edge of lo to that of hi.
long cgCentreEdge(CGFloat v, size_t n);
