#pragma once
// Colours: the components of a colour space followed by alpha.

#include "platform/coregraphics/CGColorSpace.h"
#include "platform/coregraphics/CGGeometry.h"

typedef struct CGColor* CGColorRef;

// components holds the space's components then alpha. Values are kept as
// given; drawing clamps them to 0..1. Null space or components give null.
CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components);
CGColorRef CGColorRetain(CGColorRef color);
void CGColorRelease(CGColorRef color);
// Including alpha; 0 for null.
size_t CGColorGetNumberOfComponents(CGColorRef color);
// Null for null; valid while the colour lives.
const CGFloat* CGColorGetComponents(CGColorRef color);
CGFloat CGColorGetAlpha(CGColorRef color);
CGColorSpaceRef CGColorGetColorSpace(CGColorRef color);
