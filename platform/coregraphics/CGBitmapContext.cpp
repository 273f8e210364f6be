#include "platform/coregraphics/CGBitmapContext.h"

#include <new>

#include "platform/coregraphics/cg_context.h"
#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/cg_pixel.h"

namespace
{

struct CGBitmapContext : CGContext
{
  ~CGBitmapContext() override { CGColorSpaceRelease(space); }
  CGColorSpaceRef space = nullptr;
};

} // namespace

CGContextRef CGBitmapContextCreate(void* data, size_t width, size_t height, size_t bitsPerComponent, size_t bytesPerRow,
                                   CGColorSpaceRef space, CGBitmapInfo bitmapInfo)
{
  if (!data || CGColorSpaceGetNumberOfComponents(space) != 3 || bitsPerComponent != 8)
    return nullptr;
  if (!width || !height || width > kCGMaxBitmapPixels || height > kCGMaxBitmapPixels)
    return nullptr;
  // Each factor is at most 2^28, so the products below cannot wrap.
  if (uint64_t(width) * height > kCGMaxBitmapPixels || bytesPerRow / 4 < width)
    return nullptr;
  if (!cgIsSupportedBitmapInfo(bitmapInfo))
    return nullptr;

  CGBitmapContext* c = new (std::nothrow) CGBitmapContext;
  if (!c)
    return nullptr;
  try
  {
    c->stack.emplace_back();
  }
  catch (const std::bad_alloc&)
  {
    delete c;
    return nullptr;
  }
  c->state().clip = CGRectMake(0, 0, CGFloat(width), CGFloat(height));
  c->data = static_cast<unsigned char*>(data);
  c->width = width;
  c->height = height;
  c->bytesPerRow = bytesPerRow;
  c->bitmapInfo = bitmapInfo;
  c->space = CGColorSpaceRetain(space);
  return c;
}

void* CGBitmapContextGetData(CGContextRef c)
{
  return c ? c->data : nullptr;
}

size_t CGBitmapContextGetWidth(CGContextRef c)
{
  return c ? c->width : 0;
}

size_t CGBitmapContextGetHeight(CGContextRef c)
{
  return c ? c->height : 0;
}

size_t CGBitmapContextGetBytesPerRow(CGContextRef c)
{
  return c ? c->bytesPerRow : 0;
}

CGBitmapInfo CGBitmapContextGetBitmapInfo(CGContextRef c)
{
  return c ? c->bitmapInfo : 0;
}

CGImageRef CGBitmapContextCreateImage(CGContextRef c)
{
  if (!c || !c->data)
    return nullptr;
  return cgImageCreateCopy(c->data, c->width, c->height, c->bytesPerRow, c->bitmapInfo);
}
