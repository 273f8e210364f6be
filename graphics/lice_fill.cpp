// Rectangle fill, masked clear and whole-bitmap clear.

#include <algorithm>
#include <cstdint>

#include "graphics/lice_blit_rows.h"

void LICE_FillRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha, int mode)
{
  if (!bm)
    return;
  if (mode & LICE_BLIT_USE_ALPHA)
    alpha *= float(color & 0xff) / 255.0f;
  LICE_ClippedRect r;
  if (!LICE_AlphaDraws(alpha) || !LICE_ClipRect(bm, x, y, w, h, r))
    return;

  LICE_FillJob job;
  job.dest = r.first;
  job.dest_step = r.step;
  job.w = r.w;
  job.h = r.h;
  job.sel = mode & LICE_BLIT_MODE_MASK;
  job.alpha = alpha;
  job.ia = LICE_AlphaWeight(alpha);
  job.color = color;
  LICE_RunFillJob(job);
}

void LICE_ClearRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue mask, LICE_PixelValue orbits)
{
  LICE_ClippedRect r;
  if (!bm || !LICE_ClipRect(bm, x, y, w, h, r))
    return;
  for (int j = 0; j < r.h; ++j)
  {
    auto* p = reinterpret_cast<LICE_PixelValue*>(r.first + j * r.step);
    for (int i = 0; i < r.w; ++i)
      p[i] = (p[i] & mask) | orbits;
  }
}

void LICE_Clear(LICE_IBitmap* bm, LICE_PixelValue color)
{
  if (!bm)
    return;
  LICE_PixelValue* p = bm->getBits();
  const int w = bm->getWidth(), h = bm->getHeight(), span = bm->getRowSpan();
  if (!p || w <= 0 || h <= 0 || span <= 0 || span < w)
    return;
  for (int y = 0; y < h; ++y, p += span)
    std::fill_n(p, w, color);
}
