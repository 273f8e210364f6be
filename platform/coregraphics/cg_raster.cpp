#include "platform/coregraphics/cg_raster.h"

#include <algorithm>
#include <cmath>

#include "platform/coregraphics/cg_pixel.h"

namespace
{

constexpr int kSub = 4; // samples a pixel along each axis

struct Edge
{
  CGFloat x0, y0, x1, y1;
  int dir; // +1 upward, -1 downward
};

struct Crossing
{
  CGFloat x;
  int dir;
  bool operator<(const Crossing& o) const { return x < o.x; }
};

// First sample index whose centre (i + 0.5) / kSub is at or after v.
long sampleEdge(CGFloat v, long lo, long hi)
{
  CGFloat e = std::ceil(v * kSub - 0.5);
  if (!(e > CGFloat(lo)))
    return lo;
  return e >= CGFloat(hi) ? hi : long(e);
}

std::vector<Edge> edgesOf(const std::vector<CGSubpath>& polys)
{
  std::vector<Edge> edges;
  for (const CGSubpath& sp : polys)
  {
    size_t n = sp.points.size();
    if (n < 2)
      continue;
    for (size_t i = 0; i < n; ++i)
    {
      CGPoint a = sp.points[i], b = sp.points[(i + 1) % n];
      if (a.y == b.y || !std::isfinite(a.x + a.y + b.x + b.y))
        continue;
      if (a.y < b.y)
        edges.push_back({a.x, a.y, b.x, b.y, 1});
      else
        edges.push_back({b.x, b.y, a.x, a.y, -1});
    }
  }
  return edges;
}

} // namespace

void cgFillPolygons(CGContext* c, const std::vector<CGSubpath>& polys, bool evenOdd, const CGFloat rgba[4])
{
  if (!c || !c->data)
    return;
  const CGGState& s = c->state();
  std::vector<Edge> edges = edgesOf(polys);
  if (edges.empty() || CGRectIsEmpty(s.clip))
    return;
  CGFloat ymin = edges[0].y0, ymax = edges[0].y1, xmin = edges[0].x0, xmax = xmin;
  for (const Edge& e : edges)
  {
    ymin = std::min(ymin, e.y0);
    ymax = std::max(ymax, e.y1);
    xmin = std::min({xmin, e.x0, e.x1});
    xmax = std::max({xmax, e.x0, e.x1});
  }
  // Sample ranges: the shape's bounds within the clip and the bitmap.
  long sw = long(c->width) * kSub, sh = long(c->height) * kSub;
  long sx0 = std::max(sampleEdge(xmin, 0, sw), sampleEdge(CGRectGetMinX(s.clip), 0, sw));
  long sx1 = std::min(sampleEdge(xmax, 0, sw), sampleEdge(CGRectGetMaxX(s.clip), 0, sw));
  long sy0 = std::max(sampleEdge(ymin, 0, sh), sampleEdge(CGRectGetMinY(s.clip), 0, sh));
  long sy1 = std::min(sampleEdge(ymax, 0, sh), sampleEdge(CGRectGetMaxY(s.clip), 0, sh));
  if (sx0 >= sx1 || sy0 >= sy1)
    return;

  long px0 = sx0 / kSub, px1 = (sx1 + kSub - 1) / kSub;
  std::vector<int> cover(size_t(px1 - px0));
  std::vector<Crossing> xs;
  for (long py = sy0 / kSub; py * kSub < sy1; ++py)
  {
    std::fill(cover.begin(), cover.end(), 0);
    for (long sy = std::max(py * kSub, sy0); sy < std::min((py + 1) * kSub, sy1); ++sy)
    {
      CGFloat y = (CGFloat(sy) + 0.5) / kSub;
      xs.clear();
      for (const Edge& e : edges)
        if (e.y0 <= y && y < e.y1)
          xs.push_back({e.x0 + (y - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir});
      std::sort(xs.begin(), xs.end());
      int winding = 0;
      for (size_t i = 0; i + 1 < xs.size(); ++i)
      {
        winding += evenOdd ? 1 : xs[i].dir;
        bool inside = evenOdd ? (winding & 1) : winding != 0;
        if (!inside)
          continue;
        long a = std::max(sampleEdge(xs[i].x, 0, sw), sx0), b = std::min(sampleEdge(xs[i + 1].x, 0, sw), sx1);
        for (long j = a; j < b; ++j)
          ++cover[size_t(j / kSub - px0)];
      }
    }
    unsigned char* row = c->data + (c->height - 1 - size_t(py)) * c->bytesPerRow;
    for (long px = px0; px < px1; ++px)
    {
      int n = cover[size_t(px - px0)];
      if (!n)
        continue;
      CGFloat color[4] = {rgba[0], rgba[1], rgba[2], rgba[3] * s.alpha * n / (kSub * kSub)};
      cgBlendSpan(row + px * 4, 1, c->bitmapInfo, color);
    }
  }
}

std::vector<CGSubpath> cgStrokeOutline(const std::vector<CGSubpath>& path, CGFloat width)
{
  std::vector<CGSubpath> quads;
  CGFloat half = width / 2;
  if (!(half > 0))
    return quads;
  for (const CGSubpath& sp : path)
  {
    size_t n = sp.points.size();
    size_t segments = sp.closed ? n : n - 1;
    if (n < 2)
      continue;
    for (size_t i = 0; i < segments; ++i)
    {
      CGPoint a = sp.points[i], b = sp.points[(i + 1) % n];
      CGFloat len = std::hypot(b.x - a.x, b.y - a.y);
      if (!(len > 0))
        continue;
      CGFloat dx = (b.x - a.x) / len * half, dy = (b.y - a.y) / len * half;
      // Carried on by half the width where another segment joins.
      bool extendStart = sp.closed || i > 0, extendEnd = sp.closed || i + 1 < segments;
      if (extendStart)
        a = {a.x - dx, a.y - dy};
      if (extendEnd)
        b = {b.x + dx, b.y + dy};
      CGSubpath q;
      q.closed = true;
      q.points = {{a.x + dy, a.y - dx}, {b.x + dy, b.y - dx}, {b.x - dy, b.y + dx}, {a.x - dy, a.y + dx}};
      quads.push_back(std::move(q));
    }
  }
  return quads;
}
