#pragma once
// The X server's layout of a 32-bit pixel and the conversion into it from
// the raster layout (bytes A, R, G, B in memory).

#include <cstdint>

struct X11PixelFormat
{
  // Bit positions of 8-bit red, green and blue in the pixel value.
  int redShift = 16, greenShift = 8, blueShift = 0;
  bool msbFirst = false; // the server's image byte order

  // False unless every mask is 8 contiguous bits.
  bool setMasks(uint32_t red, uint32_t green, uint32_t blue);
  // Converts count pixels from src (bytes A, R, G, B) into dst in the
  // server's layout; unused bits get the alpha byte's or zero.
  void convert(const uint32_t* src, uint32_t* dst, int count) const;
};
