#include "platform/coregraphics/cg_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "platform/coregraphics/cg_data_provider.h"
#include "platform/coregraphics/cg_pixel.h"

CGImage* cgImageCreateCopy(const unsigned char* src, size_t width, size_t height, size_t srcBytesPerRow,
                           CGBitmapInfo info)
{
  CGImage* image = new (std::nothrow) CGImage;
  if (!image)
    return nullptr;
  image->width = width;
  image->height = height;
  image->bytesPerRow = width * 4;
  image->bitmapInfo = info;
  try
  {
    image->bytes.resize(image->bytesPerRow * height);
  }
  catch (const std::bad_alloc&)
  {
    delete image;
    return nullptr;
  }
  for (size_t y = 0; y < height; ++y)
    memcpy(image->bytes.data() + y * image->bytesPerRow, src + y * srcBytesPerRow, image->bytesPerRow);
  return image;
}

CGImageRef CGImageRetain(CGImageRef image)
{
  return CGObjectRetain(image);
}

void CGImageRelease(CGImageRef image)
{
  CGObjectRelease(image);
}

size_t CGImageGetWidth(CGImageRef image)
{
  return image ? image->width : 0;
}

size_t CGImageGetHeight(CGImageRef image)
{
  return image ? image->height : 0;
}

size_t CGImageGetBitsPerComponent(CGImageRef image)
{
  return image ? 8 : 0;
}

size_t CGImageGetBitsPerPixel(CGImageRef image)
{
  return image ? 32 : 0;
}

size_t CGImageGetBytesPerRow(CGImageRef image)
{
  return image ? image->bytesPerRow : 0;
}

CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image)
{
  return image ? image->bitmapInfo : 0;
}

const unsigned char* CGImageGetBytes(CGImageRef image)
{
  return image && !image->bytes.empty() ? image->bytes.data() : nullptr;
}

CGImageRef CGImageCreate(size_t width, size_t height, size_t bitsPerComponent, size_t bitsPerPixel, size_t bytesPerRow,
                         CGColorSpaceRef space, CGBitmapInfo bitmapInfo, CGDataProviderRef provider, const CGFloat*,
                         bool, int)
{
  if (!provider || CGColorSpaceGetNumberOfComponents(space) != 3)
    return nullptr;
  if (bitsPerComponent != 8 || bitsPerPixel != 32 || !cgIsSupportedBitmapInfo(bitmapInfo))
    return nullptr;
  if (!width || !height || width > kCGMaxBitmapPixels || height > kCGMaxBitmapPixels)
    return nullptr;
  if (uint64_t(width) * height > kCGMaxBitmapPixels || bytesPerRow / 4 < width)
    return nullptr;
  // The last row needs only its pixels, not a whole span.
  if (bytesPerRow > (SIZE_MAX - width * 4) / height)
    return nullptr;
  if (provider->size < bytesPerRow * (height - 1) + width * 4)
    return nullptr;
  return cgImageCreateCopy(static_cast<const unsigned char*>(provider->data), width, height, bytesPerRow, bitmapInfo);
}

CGImageRef CGImageCreateWithImageInRect(CGImageRef image, CGRect rect)
{
  if (!image || CGRectIsNull(rect))
    return nullptr;
  rect = CGRectStandardize(rect);
  CGFloat x0 = std::max<CGFloat>(std::floor(rect.origin.x), 0);
  CGFloat y0 = std::max<CGFloat>(std::floor(rect.origin.y), 0);
  CGFloat x1 = std::min<CGFloat>(std::ceil(rect.origin.x + rect.size.width), CGFloat(image->width));
  CGFloat y1 = std::min<CGFloat>(std::ceil(rect.origin.y + rect.size.height), CGFloat(image->height));
  if (!(x0 < x1 && y0 < y1))
    return nullptr;
  const unsigned char* src = image->bytes.data() + size_t(y0) * image->bytesPerRow + size_t(x0) * 4;
  return cgImageCreateCopy(src, size_t(x1 - x0), size_t(y1 - y0), image->bytesPerRow, image->bitmapInfo);
}
