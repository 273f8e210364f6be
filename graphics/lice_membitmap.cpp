#include <cstdlib>

#include "graphics/lice_bitmap.h"

LICE_MemBitmap::~LICE_MemBitmap()
{
  free(bits);
}

// Reports true whenever the size changed, also when the allocation failed
// and left the bitmap empty: callers check getWidth()/getHeight().
bool LICE_MemBitmap::resize(int w, int h)
{
  if (w == width && h == height)
    return false;
  width = w;
  height = h;

  const int64_t bytes = LICE_BitmapBytes(w, h);
  if (bytes <= 0)
  {
    free(bits);
    bits = nullptr;
    allocatedBytes = 0;
  }
  else if (bits && bytes <= allocatedBytes)
  {
    return true; // fits: keep the buffer and its contents
  }
  else if (bits)
  {
    // 25 % headroom so that similar sizes later fit without reallocating;
    // the cap keeps bytes + bytes / 4 inside an int.
    const int64_t grown = bytes + bytes / 4;
    void* nb = realloc(bits, size_t(grown));
    if (nb)
    {
      bits = static_cast<LICE_PixelValue*>(nb);
      allocatedBytes = int(grown);
    }
    else
    {
      free(bits);
      allocatedBytes = int(bytes);
      bits = static_cast<LICE_PixelValue*>(malloc(size_t(bytes)));
    }
  }
  else
  {
    allocatedBytes = int(bytes);
    bits = static_cast<LICE_PixelValue*>(malloc(size_t(bytes)));
  }
  if (!bits)
    width = height = 0;
  return true;
}
