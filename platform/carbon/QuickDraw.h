#pragma once
// The parts of QuickDraw that survive in a Core Graphics world: integer
// rectangles, regions, window ports, and the bridge that lets Core Graphics
// draw into a port.
//
// Regions are rectangles: combining areas keeps their bounding rectangle,
// so a region may cover more than was asked for, never less.

#include "platform/coregraphics/CGContext.h"
#include "platform/macbase/MacTypes.h"

// Coordinates grow right and down; right and bottom are exclusive.
struct Rect
{
  SInt16 top, left, bottom, right;
};

typedef struct OpaqueRgnHandle* RgnHandle;
// A window's drawing port (see GetWindowPort).
typedef struct OpaqueGrafPtr* CGrafPtr;
typedef CGrafPtr GrafPtr;

// Every call aborts for a null or disposed region or port.
RgnHandle NewRgn(); // empty
void DisposeRgn(RgnHandle rgn);
// A rectangle with right <= left or bottom <= top makes the region empty.
void SetRectRgn(RgnHandle rgn, SInt16 left, SInt16 top, SInt16 right, SInt16 bottom);
void RectRgn(RgnHandle rgn, const Rect* r);
void SetEmptyRgn(RgnHandle rgn);
Boolean EmptyRgn(RgnHandle rgn);
// Stores the bounds (all zero when empty) in bounds and returns it.
Rect* GetRegionBounds(RgnHandle rgn, Rect* bounds);

// A Core Graphics context over the port's pixels: origin at the bottom-left
// of the port, y growing upwards, clipped to the port. A port has at most
// one such context at a time: a second begin answers paramErr. End takes
// back the context begun on the port (paramErr for any other), releases it
// and clears *context.
OSStatus QDBeginCGContext(CGrafPtr port, CGContextRef* context);
OSStatus QDEndCGContext(CGrafPtr port, CGContextRef* context);
