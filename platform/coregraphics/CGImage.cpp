#include "platform/coregraphics/cg_image.h"

#include <cstring>
#include <new>

CGImage* cgImageCreateCopy(const unsigned char* src, size_t width, size_t height, size_t srcBytesPerRow,
                           CGBitmapInfo info)
{
  CGImage* image = new (std::nothrow) CGImage;
  if (!image) return nullptr;
  image->width = width;
  image->height = height;
  image->bytesPerRow = width * 4;
  image->bitmapInfo = info;
  try {
    image->bytes.resize(image->bytesPerRow * height);
  } catch (const std::bad_alloc&) {
    delete image;
    return nullptr;
  }
  for (size_t y = 0; y < height; ++y)
    memcpy(image->bytes.data() + y * image->bytesPerRow, src + y * srcBytesPerRow, image->bytesPerRow);
  return image;
}

CGImageRef CGImageRetain(CGImageRef image) { return CGObjectRetain(image); }

void CGImageRelease(CGImageRef image) { CGObjectRelease(image); }

size_t CGImageGetWidth(CGImageRef image) { return image ? image->width : 0; }

size_t CGImageGetHeight(CGImageRef image) { return image ? image->height : 0; }

size_t CGImageGetBitsPerComponent(CGImageRef image) { return image ? 8 : 0; }

size_t CGImageGetBitsPerPixel(CGImageRef image) { return image ? 32 : 0; }

size_t CGImageGetBytesPerRow(CGImageRef image) { return image ? image->bytesPerRow : 0; }

CGBitmapInfo CGImageGetBitmapInfo(CGImageRef image) { return image ? image->bitmapInfo : 0; }

const unsigned char* CGImageGetBytes(CGImageRef image)
{
  return image && !image->bytes.empty() ? image->bytes.data() : nullptr;
}
