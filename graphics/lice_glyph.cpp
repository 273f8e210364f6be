// Coverage-mask (glyph) drawing.

#include <cstdint>
#include <cstring>

#include "graphics/lice_dispatch.h"

namespace
{

template <class Combine>
void glyphRows(unsigned char* drow, long dstep, const unsigned char* cov, int cov_step, int w, int h,
               const unsigned char* c, int ia)
{
  for (int y = 0; y < h; ++y, drow += dstep, cov += cov_step)
  {
    for (int x = 0; x < w; ++x)
    {
      // Uncovered pixels are not even read.
      if (const int k = cov[x])
        Combine::doPix(drow + x * 4, c[1], c[2], c[3], c[0], ia * k / 256);
    }
  }
}

} // namespace

void LICE_DrawGlyph(LICE_IBitmap* bm, int x, int y, LICE_PixelValue color, const unsigned char* alphas, int glyph_w,
                    int glyph_h, float alpha, int mode)
{
  if (!bm || !alphas || !LICE_AlphaDraws(alpha))
    return;
  const int sel = mode & LICE_BLIT_MODE_MASK;
  if (sel > 5 || (sel == 0 && alpha < 0.0f))
    return;

  // Clip in 64 bits; the coverage pointer skips the clipped-off columns and
  // rows but always advances by the glyph width.
  int64_t x0 = x, y0 = y, w = glyph_w, h = glyph_h, skip = 0;
  if (x0 < 0)
    w += x0, skip -= x0, x0 = 0;
  if (y0 < 0)
    h += y0, skip -= y0 * int64_t(glyph_w), y0 = 0;
  const int64_t bw = bm->getWidth(), bh = bm->getHeight();
  if (x0 + w >= bw)
    w = bw - x0;
  if (y0 + h >= bh)
    h = bh - y0;
  LICE_PixelValue* bits = bm->getBits();
  if (!bits || w < 1 || h < 1 || glyph_w < 1 || bm->getRowSpan() < bw)
    return;

  const LICE_RowCursor row = LICE_RowAt(bm, bits, int(y0));
  unsigned char c[4];
  memcpy(c, &color, 4);
  const int ia = LICE_AlphaWeight(alpha);
  LICE_WithCombine(
    sel, [&]<class C>() { glyphRows<C>(row.row + x0 * 4, row.step, alphas + skip, glyph_w, int(w), int(h), c, ia); });
}
