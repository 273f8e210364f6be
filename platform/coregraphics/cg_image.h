#pragma once
// Private: the image record and its creation from a pixel block.

#include <vector>

#include "platform/coregraphics/CGImage.h"
#include "platform/coregraphics/cg_object.h"

struct CGImage : CGObject
{
  size_t width = 0;
  size_t height = 0;
  size_t bytesPerRow = 0;
  CGBitmapInfo bitmapInfo = 0;
  std::vector<unsigned char> bytes;
};

// Copies height rows of width * 4 bytes, srcBytesPerRow apart, into a new
// image with packed rows. Null when out of memory.
CGImage* cgImageCreateCopy(const unsigned char* src, size_t width, size_t height, size_t srcBytesPerRow,
                           CGBitmapInfo info);
