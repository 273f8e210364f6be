#pragma once
// A memory context with pixel access for the drawing-call tests.

#include <cstdint>

#include "graphics/gdi/gdp_records.h"
#include "graphics/gdi/swell-gdi-ops.h"

struct Canvas
{
  Canvas(int width, int height) : w(width), h(height), dc(SWELL_CreateMemContext(nullptr, width, height)) {}
  ~Canvas() { SWELL_DeleteGfxContext(dc); }
  // 0x00RRGGBB of pixel (x, y), y = 0 the top row.
  int rgb(int x, int y) const
  {
    const uint8_t* p = static_cast<const uint8_t*>(SWELL_GetCtxFrameBuffer(dc)) + (y * w + x) * 4;
    return p[1] << 16 | p[2] << 8 | p[3];
  }
  // Bounds of pixels that are not black: left, top, right, bottom inclusive.
  RECT ink() const
  {
    RECT b = {w, h, -1, -1};
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (rgb(x, y))
          b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x), std::max(b.bottom, y)};
    return b;
  }
  int w, h;
  HDC dc;
};
