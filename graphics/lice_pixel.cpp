// Single pixels.

#include <cstring>

#include "graphics/lice_dispatch.h"

namespace
{

// Address of pixel (x, y), or null outside the bitmap or without pixels.
LICE_PixelValue* pixelAt(LICE_IBitmap* bm, int x, int y)
{
  if (!bm || x < 0 || y < 0 || x >= bm->getWidth() || y >= bm->getHeight())
    return nullptr;
  LICE_PixelValue* bits = bm->getBits();
  if (!bits)
    return nullptr;
  return reinterpret_cast<LICE_PixelValue*>(LICE_RowAt(bm, bits, y).row) + x;
}

} // namespace

void LICE_PutPixel(LICE_IBitmap* bm, int x, int y, LICE_PixelValue color, float alpha, int mode)
{
  LICE_PixelValue* p = pixelAt(bm, x, y);
  if (!p)
    return;
  const int sel = mode & LICE_BLIT_MODE_MASK;
  if (sel == 0)
  {
    if (alpha == 1.0f)
      return void(*p = color);
    if (alpha == 0.5f)
      return void(*p = LICE_ShiftMixHalf::mix(*p, color));
    if (alpha == 0.25f)
      return void(*p = LICE_ShiftMixQuarter::mix(*p, color));
    if (alpha == 0.75f)
      return void(*p = LICE_ShiftMixThreeQuarter::mix(*p, color));
    if (alpha < 0.0f)
      return;
  }
  if (!LICE_AlphaDraws(alpha))
    return;
  const int ia = LICE_AlphaWeight(alpha);
  unsigned char c[4];
  memcpy(c, &color, 4);
  auto* d = reinterpret_cast<unsigned char*>(p);
  LICE_WithCombine(sel, [&]<class C>() { C::doPix(d, c[1], c[2], c[3], c[0], ia); });
}

LICE_PixelValue LICE_GetPixel(LICE_IBitmap* bm, int x, int y)
{
  const LICE_PixelValue* p = pixelAt(bm, x, y);
  return p ? *p : 0;
}
