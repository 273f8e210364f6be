#pragma once
// Contexts that draw into a caller's pixel buffer, and images made from
// them. The buffer's layouts are described in CGImage.h.

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGImage.h"

// Draws into data, height rows of bytesPerRow bytes, first row at the top.
// The caller keeps the buffer alive for the context's life. Null when data
// or space is null, a size is zero, bitsPerComponent is not 8,
// bytesPerRow is below width * 4, the bitmap exceeds kCGMaxBitmapPixels,
// or the layout is not supported. The context holds its own reference to
// the colour space.
CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent, size_t bytesPerRow,
                                   CGColorSpaceRef space, CGBitmapInfo bitmapInfo);

// Every getter answers 0 (or null) for null.
void* CGBitmapContextGetData(CGContextRef c);
size_t CGBitmapContextGetWidth(CGContextRef c);
size_t CGBitmapContextGetHeight(CGContextRef c);
size_t CGBitmapContextGetBytesPerRow(CGContextRef c);
CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c);

// An image holding a copy of the context's pixels as they are now; later
// drawing does not change it. Null for null or when out of memory.
CGImageRef CGBitmapContextCreateImage(CGContextRef c);
