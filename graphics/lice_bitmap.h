#pragma once
// The abstract raster bitmap and the plain heap bitmap. Every raster
// operation reads and writes pixels only through LICE_IBitmap.

#include <cstdint>
#include <cstdlib>

// One pixel: bytes A, R, G, B in memory (not premultiplied), so the 32-bit
// value is A | R << 8 | G << 16 | B << 24 on a little-endian machine.
typedef uint32_t LICE_PixelValue;

// Win32-style rectangle (right and bottom exclusive) and drawing-context
// handle, shared with the drawing-context layer.
#include "graphics/gdi/swell-types.h"

// Pixel (x, y) of an unflipped bitmap lies at getBits() + y * getRowSpan() + x;
// a flipped bitmap stores row y at buffer row getHeight() - 1 - y. Spans are
// in pixels and may exceed the width: loops step rows by getRowSpan().
class LICE_IBitmap
{
public:
  virtual ~LICE_IBitmap() {}

  virtual LICE_PixelValue* getBits() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  virtual int getRowSpan() = 0;
  virtual bool isFlipped() { return false; }
  // True when the bitmap changed (also after a failed allocation, which
  // leaves it empty: callers needing a size check getWidth()/getHeight()).
  virtual bool resize(int w, int h) = 0;
  virtual HDC getDC() { return nullptr; }
  virtual int Extended(int id, void* data)
  {
    (void)id;
    (void)data;
    return 0;
  }
};

// Largest bitmap, in pixels, either bitmap class will allocate (1 GiB of
// pixels). Anything larger is treated as an allocation failure, so a size
// can never be reported over a buffer too short for it.
constexpr int64_t LICE_MAX_BITMAP_PIXELS = int64_t(1) << 28;

// Bytes for a w x h bitmap computed without overflow: 0 for an empty or
// negative size, -1 when it exceeds LICE_MAX_BITMAP_PIXELS.
inline int64_t LICE_BitmapBytes(int w, int h)
{
  if (w <= 0 || h <= 0)
    return 0;
  int64_t pixels = int64_t(w) * h;
  if (pixels > LICE_MAX_BITMAP_PIXELS)
    return -1;
  return pixels * 4;
}

// Pixels in one malloc'd buffer, rows packed (span = width). Grows with 25 %
// headroom and never shrinks its buffer except to free it at an empty size.
class LICE_MemBitmap : public LICE_IBitmap
{
public:
  LICE_MemBitmap() {}
  // Negative and oversized requests leave the bitmap empty instead of
  // allocating a short buffer behind the reported size.
  LICE_MemBitmap(int w, int h) : width(w), height(h)
  {
    const int64_t bytes = LICE_BitmapBytes(w, h);
    if (bytes > 0)
    {
      allocatedBytes = int(bytes);
      bits = static_cast<LICE_PixelValue*>(malloc(size_t(bytes)));
    }
    if (!bits)
      width = height = 0;
  }
  ~LICE_MemBitmap() override;
  LICE_MemBitmap(const LICE_MemBitmap&) = delete;
  LICE_MemBitmap& operator=(const LICE_MemBitmap&) = delete;

  LICE_PixelValue* getBits() override { return bits; }
  int getWidth() override { return width; }
  int getHeight() override { return height; }
  int getRowSpan() override { return width; }
  bool resize(int w, int h) override;

  LICE_PixelValue* bits = nullptr;
  int width = 0;
  int height = 0;
  int allocatedBytes = 0;
};
