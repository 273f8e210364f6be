#pragma once
// Colour spaces. Only device RGB exists: every colour and bitmap of the
// system is RGB.

#include <cstddef>

typedef struct CGColorSpace* CGColorSpaceRef;

// A new reference the caller releases; null only when out of memory.
CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space);
void CGColorSpaceRelease(CGColorSpaceRef space);
// Colour components without alpha (3 for RGB); 0 for null.
size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space);
