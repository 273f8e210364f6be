// Circle outlines and discs.

#include "graphics/lice_circle.h"

namespace
{

void drawCircle(LICE_IBitmap* bm, float cx, float cy, float r, LICE_PixelValue color, float alpha, int mode, bool aa,
                bool fill)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s))
    return;
  if (bm->isFlipped())
    cy = float(s.h - 1) - cy;
  if (!LICE_CircleVisible(cx, cy, r, s.w, s.h))
    return;
  const LICE_ClipBox box{0, 0, s.w, s.h};
  const bool clip = LICE_CircleNeedsClip(cx, cy, r, s.w, s.h);
  LICE_WithVectorCombine(mode, alpha, aa, [&]<class C>() {
    if (aa)
      _LICE_CircleDrawer<C>::DrawClippedCircleAA(s, cx, cy, r, box, color, alpha, fill, clip);
    else
      _LICE_CircleDrawer<C>::DrawClippedCircle(s, cx, cy, r, box, color, alpha, fill, clip);
  });
}

} // namespace

void LICE_Circle(LICE_IBitmap* bm, float cx, float cy, float r, LICE_PixelValue color, float alpha, int mode, bool aa)
{
  if (!bm || CachedCircle(bm, cx, cy, r, color, alpha, mode, aa))
    return;
  drawCircle(bm, cx, cy, r, color, alpha, mode, aa, false);
}

void LICE_FillCircle(LICE_IBitmap* bm, float cx, float cy, float r, LICE_PixelValue color, float alpha, int mode,
                     bool aa)
{
  drawCircle(bm, cx, cy, r, color, alpha, mode, aa, true);
}
