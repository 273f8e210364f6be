// Float lines and their clip, dashed lines.

#include "graphics/lice_line_class.h"

namespace
{

// Outcodes of the truncated coordinate: trunc(v) < 0 is v <= -1 and
// trunc(v) >= n is v >= n, compared without converting v.
int foutcode(float x, float y, int w, int h)
{
  int c = x <= -1.0f ? 1 : double(x) >= w ? 2 : 0;
  return c | (y <= -1.0f ? 4 : double(y) >= h ? 8 : 0);
}

} // namespace

// The inside band reaches -1 while the top and left moves place points at 0,
// so a point just outside the top-left corner can push the other end back
// and forth without end; such lines are bounded and draw nothing.
bool ClipFLine(float* x1, float* y1, float* x2, float* y2, int w, int h)
{
  float X1 = *x1, Y1 = *y1, X2 = *x2, Y2 = *y2;
  bool in = false;
  if (std::isfinite(X1) && std::isfinite(Y1) && std::isfinite(X2) && std::isfinite(Y2))
  {
    int c1 = foutcode(X1, Y1, w, h), c2 = foutcode(X2, Y2, w, h);
    for (int round = 0; round < 16; ++round)
    {
      if (!(c1 | c2))
      {
        in = true;
        break;
      }
      if (c1 & c2)
        break;
      const bool first = c1 != 0;
      const int c = first ? c1 : c2;
      float x, y;
      if (c & 8)
        x = (X2 - X1) * (float(h) - Y1) / (Y2 - Y1) + X1, y = float(h - 1);
      else if (c & 4)
        x = (X2 - X1) * Y1 / (Y1 - Y2) + X1, y = 0;
      else if (c & 2)
        y = (Y2 - Y1) * (float(w) - X1) / (X2 - X1) + Y1, x = float(w - 1);
      else
        y = (Y2 - Y1) * X1 / (X1 - X2) + Y1, x = 0;
      if (!std::isfinite(x) || !std::isfinite(y))
        break; // the product overflowed
      (first ? X1 : X2) = x;
      (first ? Y1 : Y2) = y;
      (first ? c1 : c2) = foutcode(x, y, w, h);
    }
  }
  *x1 = X1, *y1 = Y1, *x2 = X2, *y2 = Y2;
  return in;
}

void LICE_FLine(LICE_IBitmap* bm, float x1, float y1, float x2, float y2, LICE_PixelValue color, float alpha, int mode,
                bool aa)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s))
    return;
  if (bm->isFlipped())
    y1 = float(s.h - 1) - y1, y2 = float(s.h - 1) - y2;
  if (!ClipFLine(&x1, &y1, &x2, &y2, s.w, s.h))
    return;
  const LICE_VectorColor c(color);
  LICE_WithVectorCombine(mode, alpha, aa, [&]<class C>() {
    __LICE_LineClass<C>::LICE_FLineImpl(s, x1, y1, x2, y2, c, LICE_AlphaWeight(alpha), aa);
  });
}

void LICE_DashedLine(LICE_IBitmap* bm, int x1, int y1, int x2, int y2, int pxon, int pxoff, LICE_PixelValue color,
                     float alpha, int mode, bool)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s))
    return;
  // A pattern that does not advance, or walks backwards, draws nothing.
  const int64_t period = int64_t(pxon) + pxoff;
  if (pxon <= 0 || period <= 0)
    return;
  int64_t p[4] = {x1, y1, x2, y2};
  if (!LICE_ClipLine64(p, s.w, s.h))
    return;
  const int X1 = int(std::min(p[0], p[2])), X2 = int(std::max(p[0], p[2]));
  const int Y1 = int(std::min(p[1], p[3])), Y2 = int(std::max(p[1], p[3]));
  const bool column = X1 == X2;
  if (!column && Y1 != Y2)
    return;
  const LICE_VectorColor c(color);
  LICE_WithVectorCombine(mode, alpha, false, [&]<class C>() {
    const int ia = LICE_AlphaWeight(alpha);
    // n pixels from pos along the line, all before its far end.
    auto dash = [&](int64_t pos, int64_t n) {
      const int a = int(pos), b = int(pos + n - 1);
      if (column)
        __LICE_LineClass<C>::VertLine(s, X1, a, b, c, ia);
      else
        __LICE_LineClass<C>::LICE_HorizLine(s, Y1, a, b, c, ia);
    };
    int64_t pos = column ? Y1 : X1;
    const int64_t end = column ? Y2 : X2;
    for (; pos < end - pxon; pos += period)
      dash(pos, pxon);
    const int64_t n = std::min<int64_t>(end - pos, pxon);
    if (n > 0)
      dash(pos, n);
  });
}
