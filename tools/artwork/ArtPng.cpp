#include "tools/artwork/ArtPng.h"

#include "platform/coregraphics/CGBitmapContext.h"
#include "platform/coregraphics/CGImagePNG.h"

// The bitmap's bytes are already the premultiplied A, R, G, B layout the
// image encoder takes, so its PNG writer serves here unchanged.
bool ArtWritePNG(LICE_IBitmap* bm, const char* path)
{
  if (!bm || !bm->getBits())
    return false;
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef ctx = CGBitmapContextCreate(bm->getBits(), size_t(bm->getWidth()), size_t(bm->getHeight()), 8,
                                           size_t(bm->getRowSpan()) * 4, space, kCGImageAlphaPremultipliedFirst);
  CGImageRef image = CGBitmapContextCreateImage(ctx);
  const bool ok = image && CGImageWritePNG(image, path);
  if (image)
    CGImageRelease(image);
  if (ctx)
    CGContextRelease(ctx);
  if (space)
    CGColorSpaceRelease(space);
  return ok;
}
