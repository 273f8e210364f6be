// Integer lines, their clip, and rectangle outlines.

#include <algorithm>

#include "graphics/lice_line_class.h"

namespace
{

int clampToInt(int64_t v)
{
  return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

int outcode(int64_t x, int64_t y, int64_t w, int64_t h)
{
  int c = x < 0 ? 1 : x >= w ? 2 : 0;
  return c | (y < 0 ? 4 : y >= h ? 8 : 0);
}

// Crossing of the line through (a1, b1)-(a2, b2) at a = edge, in the other
// coordinate: b1 + trunc((b2 - b1) * (edge - a1) / (a2 - a1)). Callers
// guarantee a1 != a2.
int64_t crossing(int64_t a1, int64_t b1, int64_t a2, int64_t b2, int64_t edge)
{
  return b1 + int64_t(double(b2 - b1) * double(edge - a1) / double(a2 - a1));
}

// Opaque copies of axis-parallel lines: plain stores, no weighting.
void LICE_HorizLineFAST(const LICE_VectorSurface& s, int y, int x1, int x2, LICE_PixelValue color)
{
  __LICE_LineClass<_LICE_CombinePixelsClobber>::LICE_HorizLine(s, y, x1, x2, LICE_VectorColor(color), 0);
}

void LICE_VertLineFAST(const LICE_VectorSurface& s, int x, int y1, int y2, LICE_PixelValue color)
{
  if (y1 > y2)
    std::swap(y1, y2);
  LICE_PixelValue* p = s.at(x, y1);
  for (int y = y1; y <= y2; ++y, p += s.span)
    *p = color;
}

// The opaque anti-aliased diagonal on whole pixels: three quarters of the
// colour on the diagonal, a quarter on the two pixels beside each step.
void packedDiagonal(const LICE_VectorSurface& s, int x1, int y1, int x2, int y2, LICE_PixelValue c)
{
  const int n = std::abs(x2 - x1);
  const long xstep = x1 < x2 ? 1 : -1, ystep = (y1 < y2 ? 1 : -1) * s.span;
  const LICE_PixelValue main = ((c >> 1) & 0x7f7f7f7f) + ((c >> 2) & 0x3f3f3f3f), side = (c >> 2) & 0x3f3f3f3f;
  auto onMain = [&](LICE_PixelValue* p) { *p = main + ((*p >> 2) & 0x3f3f3f3f); };
  auto onSide = [&](LICE_PixelValue* p) { *p = side + ((*p >> 1) & 0x7f7f7f7f) + ((*p >> 2) & 0x3f3f3f3f); };
  LICE_PixelValue* p = s.at(x1, y1);
  for (int i = 0; i < n; ++i, p += xstep + ystep)
  {
    onMain(p);
    onSide(p + xstep);
    onSide(p + ystep);
  }
  onMain(p);
}

} // namespace

bool LICE_ClipLine64(int64_t p[4], int64_t w, int64_t h)
{
  int c1 = outcode(p[0], p[1], w, h), c2 = outcode(p[2], p[3], w, h);
  // Each move puts one end on an edge for good, so a handful of rounds
  // settle any line; the bound only guards the loop.
  for (int round = 0; round < 16; ++round)
  {
    if (!(c1 | c2))
      return true;
    if (c1 & c2)
      return false;
    const bool first = c1 != 0;
    const int c = first ? c1 : c2;
    const int64_t x1 = p[0], y1 = p[1], x2 = p[2], y2 = p[3];
    int64_t x, y;
    if (c & 8)
      x = crossing(y1, x1, y2, x2, h), y = h - 1;
    else if (c & 4)
      x = crossing(y1, x1, y2, x2, 0), y = 0;
    else if (c & 2)
      y = crossing(x1, y1, x2, y2, w), x = w - 1;
    else
      y = crossing(x1, y1, x2, y2, 0), x = 0;
    int64_t* q = first ? p : p + 2;
    q[0] = x, q[1] = y;
    (first ? c1 : c2) = outcode(x, y, w, h);
  }
  return false;
}

bool ClipLine(int* x1, int* y1, int* x2, int* y2, int w, int h)
{
  int64_t p[4] = {*x1, *y1, *x2, *y2};
  const bool in = LICE_ClipLine64(p, w, h);
  *x1 = clampToInt(p[0]), *y1 = clampToInt(p[1]), *x2 = clampToInt(p[2]), *y2 = clampToInt(p[3]);
  return in;
}

bool LICE_ClipLine(int* x1, int* y1, int* x2, int* y2, int left, int top, int right, int bottom)
{
  int64_t p[4] = {int64_t(*x1) - left, int64_t(*y1) - top, int64_t(*x2) - left, int64_t(*y2) - top};
  const bool in = LICE_ClipLine64(p, int64_t(right) - left, int64_t(bottom) - top);
  *x1 = clampToInt(p[0] + left), *y1 = clampToInt(p[1] + top);
  *x2 = clampToInt(p[2] + left), *y2 = clampToInt(p[3] + top);
  return in;
}

void LICE_Line64(LICE_IBitmap* bm, int64_t x1, int64_t y1, int64_t x2, int64_t y2, LICE_PixelValue color, float alpha,
                 int mode, bool aa)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s))
    return;
  if (bm->isFlipped())
    y1 = s.h - 1 - y1, y2 = s.h - 1 - y2;
  int64_t p[4] = {x1, y1, x2, y2};
  if (!LICE_ClipLine64(p, s.w, s.h))
    return;
  const int X1 = int(p[0]), Y1 = int(p[1]), X2 = int(p[2]), Y2 = int(p[3]);
  const bool opaque = (mode & LICE_BLIT_MODE_MASK) == 0 && alpha == 1.0f;
  const LICE_VectorColor c(color);

  if (X1 == X2 || Y1 == Y2)
  {
    if (opaque)
    {
      if (X1 == X2)
        LICE_VertLineFAST(s, X1, Y1, Y2, color);
      else
        LICE_HorizLineFAST(s, Y1, X1, X2, color);
      return;
    }
    LICE_WithVectorCombine(mode, alpha, false, [&]<class C>() {
      const int ia = LICE_AlphaWeight(alpha);
      if (X1 == X2)
        __LICE_LineClass<C>::VertLine(s, X1, Y1, Y2, c, ia);
      else
        __LICE_LineClass<C>::LICE_HorizLine(s, Y1, X1, X2, c, ia);
    });
    return;
  }
  const bool diagonal = std::abs(X2 - X1) == std::abs(Y2 - Y1);
  if (diagonal && aa && opaque)
    return packedDiagonal(s, X1, Y1, X2, Y2, color);
  LICE_WithVectorCombine(mode, alpha, aa, [&]<class C>() {
    const int ia = LICE_AlphaWeight(alpha);
    if (diagonal)
      __LICE_LineClass<C>::LICE_DiagLine(s, X1, Y1, X2, Y2, c, ia, aa);
    else
      __LICE_LineClass<C>::LICE_LineImpl(s, X1, Y1, X2, Y2, c, ia, aa);
  });
}

void LICE_Line(LICE_IBitmap* bm, int x1, int y1, int x2, int y2, LICE_PixelValue color, float alpha, int mode, bool aa)
{
  LICE_Line64(bm, x1, y1, x2, y2, color, alpha, mode, aa);
}

void LICE_DrawRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha, int mode)
{
  const int64_t r = int64_t(x) + w, b = int64_t(y) + h;
  LICE_Line64(bm, x, y, r, y, color, alpha, mode, false);
  LICE_Line64(bm, r, y, r, b, color, alpha, mode, false);
  LICE_Line64(bm, r, b, x, b, color, alpha, mode, false);
  LICE_Line64(bm, x, b, x, y, color, alpha, mode, false);
}

void LICE_BorderedRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue bgcolor, LICE_PixelValue fgcolor,
                       float alpha, int mode)
{
  // The inside (x + 1, y + 1, w - 1, h - 1) with both edges held where an
  // int reaches: past them it lies outside every bitmap.
  auto edge = [](int64_t v) { return std::clamp<int64_t>(v, -1, LICE_COORD_MAX); };
  const int64_t l = edge(int64_t(x) + 1), t = edge(int64_t(y) + 1);
  const int64_t r = edge(int64_t(x) + w), b = edge(int64_t(y) + h);
  LICE_FillRect(bm, int(l), int(t), int(r - l), int(b - t), bgcolor, alpha, mode);
  LICE_DrawRect(bm, x, y, w, h, fgcolor, alpha, mode);
}
