#pragma once
// Drawing contexts: graphics state (transform, clip, fill colour) with a
// save/restore stack, and rectangle fills.
//
// User space maps to device space through the current transform (CTM).
// Device space has its origin at the bottom-left of the bitmap with y
// growing upwards, so the first row in memory is the top row. Fills are not
// anti-aliased: a pixel is covered when its centre lies inside both the
// transformed rectangle and the clip. Only translations and scales keep a
// rectangle a rectangle; other transforms fill its bounding box.

#include "platform/coregraphics/CGAffineTransform.h"
#include "platform/coregraphics/CGColor.h"
#include "platform/coregraphics/CGImage.h"

typedef struct CGContext* CGContextRef;

// Every call accepts a null context and then does nothing (or answers
// zero, the identity or CGRectNull).
CGContextRef CGContextRetain(CGContextRef c);
void CGContextRelease(CGContextRef c);

// Bitmap contexts draw straight into their pixels: there is nothing to
// flush, but callers that target windows still call it.
void CGContextFlush(CGContextRef c);

void CGContextSaveGState(CGContextRef c);
// Without a matching save the state is left as it is.
void CGContextRestoreGState(CGContextRef c);

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty);
void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy);
// Counter-clockwise in a y-up space.
void CGContextRotateCTM(CGContextRef c, CGFloat radians);
void CGContextConcatCTM(CGContextRef c, CGAffineTransform t);
CGAffineTransform CGContextGetCTM(CGContextRef c);

// Intersects the clip with the rectangle (in user space).
void CGContextClipToRect(CGContextRef c, CGRect rect);
// The clip in user space (the whole bitmap for a fresh context).
CGRect CGContextGetClipBoundingBox(CGContextRef c);

// Multiplies the alpha of everything drawn; clamped to 0..1.
void CGContextSetAlpha(CGContextRef c, CGFloat alpha);

// A colour outside device RGB is ignored. The initial fill is opaque black.
void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color);
void CGContextSetRGBFillColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a);
// Source-over with the fill colour.
void CGContextFillRect(CGContextRef c, CGRect rect);

// Draws image scaled into rect (user space), its first row at the rect's
// maximum y as on the platform, through the transform and the clip, with
// source-over and the state's alpha. Each device pixel takes the image
// pixel under its centre.
void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image);
