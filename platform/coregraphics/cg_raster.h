#pragma once
// Private: coverage of closed polygons (device space) blended into a
// context's bitmap through its clip, and the strokes that become them.

#include <vector>

#include "platform/coregraphics/cg_context.h"

// Every subpath counts as closed. rgba is not premultiplied; the state's
// alpha is applied here.
void cgFillPolygons(CGContext* c, const std::vector<CGSubpath>& polys, bool evenOdd, const CGFloat rgba[4]);
// The outline of each segment as a consistently wound quadrilateral.
std::vector<CGSubpath> cgStrokeOutline(const std::vector<CGSubpath>& path, CGFloat width);
