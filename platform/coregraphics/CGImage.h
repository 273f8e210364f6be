#pragma once
// Bitmap layout words and immutable images.
//
// Supported layouts are 32 bits a pixel, 8 bits a component, in the
// default (big-endian word) byte order:
//   kCGImageAlphaNoneSkipFirst (6): bytes X, R, G, B. The stand-in writes
//     0xFF into X wherever it draws, because the raster library reads that
//     byte as alpha: drawn pixels are opaque to it. Bytes it never drew keep
//     what the caller's buffer held.
//   kCGImageAlphaPremultipliedFirst (2): bytes A, R, G, B, colour
//     premultiplied by alpha.

#include <cstddef>
#include <cstdint>

#include "platform/coregraphics/CGColorSpace.h"

typedef uint32_t CGBitmapInfo;

enum CGImageAlphaInfo : uint32_t
{
  kCGImageAlphaNone = 0,
  kCGImageAlphaPremultipliedLast = 1,
  kCGImageAlphaPremultipliedFirst = 2,
  kCGImageAlphaLast = 3,
  kCGImageAlphaFirst = 4,
  kCGImageAlphaNoneSkipLast = 5,
  kCGImageAlphaNoneSkipFirst = 6,
  kCGImageAlphaOnly = 7,
};

constexpr CGBitmapInfo kCGBitmapAlphaInfoMask = 0x1F;
constexpr CGBitmapInfo kCGBitmapByteOrderMask = 0x7000;
constexpr CGBitmapInfo kCGBitmapByteOrderDefault = 0 << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder32Little = 2 << 12;
constexpr CGBitmapInfo kCGBitmapByteOrder32Big = 4 << 12;

// Largest bitmap, in pixels, a context or image may have (1 GiB of pixels);
// larger requests fail instead of wrapping a size computation.
constexpr uint64_t kCGMaxBitmapPixels = uint64_t(1) << 28;

typedef struct CGImage* CGImageRef;

CGImageRef CGImageRetain(CGImageRef image);
void CGImageRelease(CGImageRef image);
// Every getter answers 0 (or null) for a null image.
size_t CGImageGetWidth(CGImageRef image);
size_t CGImageGetHeight(CGImageRef image);
size_t CGImageGetBitsPerComponent(CGImageRef image);
size_t CGImageGetBitsPerPixel(CGImageRef image);
size_t CGImageGetBytesPerRow(CGImageRef image);
CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image);
// The stand-in's direct view of an image's pixels (rows top first,
// CGImageGetBytesPerRow apart), in place of the platform's data providers.
const unsigned char* CGImageGetBytes(CGImageRef image);

#include "platform/coregraphics/CGDataProvider.h"
#include "platform/coregraphics/CGGeometry.h"

// An image holding a copy of the provider's bytes. Null unless the layout
// is one of those above (8 bits a component, 32 a pixel), bytesPerRow
// holds a row, the provider holds every row, and the size is within
// kCGMaxBitmapPixels. decode and intent are not supported and ignored.
CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel, size_t bytesPerRow,
                         CGColorSpaceRef space, CGBitmapInfo bitmapInfo, CGDataProviderRef provider,
                         const CGFloat* decode, bool shouldInterpolate, int intent);
// A copy of the part of image inside rect (made integral outward and cut
// to the image); null when nothing of the image is inside.
CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect);
