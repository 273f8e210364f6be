// Filled triangles: rows between the long edge (top to bottom) and the two
// short edges, each edge walked by adding its slope once per row.

#include <algorithm>

#include "graphics/lice_line_class.h"

namespace
{

struct Vertex
{
  int64_t x, y;
};

// Rows above the bitmap that are still walked one by one.
constexpr int64_t kMaxWalkedRows = int64_t(1) << 20;

double slope(const Vertex& a, const Vertex& b)
{
  return double(b.x - a.x) / double(b.y - a.y);
}

// Span ends floor(v + 0.5), clipped to the columns 0 ... w - 1 before they
// become ints. False when nothing of the row is left.
bool rowSpan(double xs, double xl, int w, int& lo, int& hi)
{
  double a = std::floor(xs + 0.5), b = std::floor(xl + 0.5);
  if (a > b)
    std::swap(a, b);
  a = std::max(a, 0.0), b = std::min(b, double(w - 1));
  if (a > b)
    return false;
  lo = int(a), hi = int(b);
  return true;
}

} // namespace

void LICE_FillTriangle(LICE_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, LICE_PixelValue color,
                       float alpha, int mode)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s))
    return;
  Vertex v[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  if (bm->isFlipped())
    for (Vertex& p : v)
      p.y = s.h - 1 - p.y;
  std::sort(v, v + 3, [](const Vertex& a, const Vertex& b) { return a.y < b.y; });
  const Vertex &top = v[0], &mid = v[1], &bot = v[2];
  if (top.y == bot.y)
    return;

  const int64_t last = std::min<int64_t>(bot.y, s.h);
  if (std::max<int64_t>(top.y, 0) >= last)
    return;
  // The edges advance by one addition per row from the top vertex, rows
  // above the bitmap included: the visible rows inherit those sums. Only a
  // top so far above that the walk would take milliseconds starts at row 0
  // with one multiplication instead.
  const double kL = slope(top, bot);
  double xl = double(top.x), xs = double(top.x);
  double kS = mid.y != top.y ? slope(top, mid) : 0.0;
  int64_t first = top.y;
  if (top.y < -kMaxWalkedRows)
  {
    first = 0;
    xl = double(top.x) + kL * double(-top.y);
    if (0 < mid.y)
    {
      xs = double(top.x) + kS * double(-top.y);
    }
    else
    {
      kS = bot.y != mid.y ? slope(mid, bot) : 0.0;
      xs = double(mid.x) + kS * double(-mid.y);
    }
  }

  const LICE_VectorColor c(color);
  LICE_WithVectorCombine(mode, alpha, false, [&]<class C>() {
    const int ia = LICE_AlphaWeight(alpha);
    for (int64_t y = first; y < last; ++y, xs += kS, xl += kL)
    {
      if (y == mid.y)
      {
        xs = double(mid.x);
        if (bot.y != mid.y)
          kS = slope(mid, bot);
      }
      int lo, hi;
      if (y >= 0 && rowSpan(xs, xl, s.w, lo, hi))
        __LICE_LineClass<C>::LICE_HorizLine(s, int(y), lo, hi, c, ia);
    }
  });
}
