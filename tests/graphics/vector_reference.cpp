#include "tests/graphics/vector_reference.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

namespace vref
{
namespace
{

constexpr int kNone = -3, kHalf = -2, kStore = -1;

// The combine class of a primitive: 0-5 an operator, or a plain store or
// the exact half mix for mode 0 without aa at 1.0 and 0.5.
int Class(int mode, float alpha, bool aa)
{
  const int op = mode & 0xff;
  if (alpha == 0 || std::isnan(alpha) || op > 5)
    return kNone;
  if (op == 0 && !(alpha > 0))
    return kNone;
  if (op == 0 && !aa && alpha == 1.0f)
    return kStore;
  if (op == 0 && !aa && alpha == 0.5f)
    return kHalf;
  return op;
}

int64_t W(double v)
{
  if (std::isnan(v))
    return 0;
  return int64_t(std::trunc(std::clamp(v, -65536.0, 65536.0)));
}

int64_t PointW(float alpha)
{
  return W(alpha * 255.0f);
}

struct Plot
{
  int64_t x, y, w;
};
using Plots = std::vector<Plot>;

LICE_PixelValue half(LICE_PixelValue d, LICE_PixelValue s)
{
  LICE_PixelValue o = 0;
  for (int k = 0; k < 32; k += 8)
    o |= ((((d >> k) & 255) + ((s >> k) & 255)) / 2) << k;
  return o;
}

// Buffer pixels, no flip: the primitives have mirrored already.
void apply(TestBitmap& bm, int cls, const Plots& plots, LICE_PixelValue c)
{
  if (cls == kNone)
    return;
  for (const Plot& p : plots)
  {
    if (p.x < 0 || p.y < 0 || p.x >= bm.getWidth() || p.y >= bm.getHeight())
      continue;
    LICE_PixelValue& d = bm.raw(int(p.x), int(p.y));
    d = cls == kStore ? c : cls == kHalf ? half(d, c) : ref::Combine(cls, d, c, p.w);
  }
}

template <class T>
int64_t sgn(T a, T b)
{
  return b > a ? 1 : -1;
}

bool clipLine(int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2, int64_t w, int64_t h)
{
  auto code = [&](int64_t x, int64_t y) { return (x < 0 ? 1 : x >= w ? 2 : 0) | (y < 0 ? 4 : y >= h ? 8 : 0); };
  for (int i = 0; i < 100; ++i)
  {
    const int c1 = code(x1, y1), c2 = code(x2, y2);
    if (!(c1 | c2))
      return true;
    if (c1 & c2)
      return false;
    const int c = c1 ? c1 : c2;
    const double dx = double(x2 - x1), dy = double(y2 - y1);
    int64_t x, y;
    if (c & 8)
      x = x1 + int64_t(dx * double(h - y1) / dy), y = h - 1;
    else if (c & 4)
      x = x1 + int64_t(dx * double(-y1) / dy), y = 0;
    else if (c & 2)
      y = y1 + int64_t(dy * double(w - x1) / dx), x = w - 1;
    else
      y = y1 + int64_t(dy * double(-x1) / dx), x = 0;
    if (c1)
      x1 = x, y1 = y;
    else
      x2 = x, y2 = y;
  }
  return false;
}

bool clipFLine(float& x1, float& y1, float& x2, float& y2, int w, int h)
{
  for (float v : {x1, y1, x2, y2})
    if (!std::isfinite(v))
      return false;
  auto code = [&](float x, float y) {
    return (std::trunc(x) < 0           ? 1
            : std::trunc(x) >= float(w) ? 2
                                        : 0) |
           (std::trunc(y) < 0           ? 4
            : std::trunc(y) >= float(h) ? 8
                                        : 0);
  };
  for (int i = 0; i < 16; ++i)
  {
    const int c1 = code(x1, y1), c2 = code(x2, y2);
    if (!(c1 | c2))
      return true;
    if (c1 & c2)
      return false;
    const int c = c1 ? c1 : c2;
    float x, y;
    if (c & 8)
      x = (x2 - x1) * (float(h) - y1) / (y2 - y1) + x1, y = float(h - 1);
    else if (c & 4)
      x = (x2 - x1) * y1 / (y1 - y2) + x1, y = 0;
    else if (c & 2)
      y = (y2 - y1) * (float(w) - x1) / (x2 - x1) + y1, x = float(w - 1);
    else
      y = (y2 - y1) * x1 / (x1 - x2) + y1, x = 0;
    if (!std::isfinite(x) || !std::isfinite(y))
      return false;
    if (c1)
      x1 = x, y1 = y;
    else
      x2 = x, y2 = y;
  }
  return false;
}

// The float walk of clipped ends.
void fwalk(Plots& out, float x1, float y1, float x2, float y2, int64_t ia, bool aa)
{
  const float adx = std::fabs(x2 - x1), ady = std::fabs(y2 - y1);
  const bool ymaj = ady > adx;
  const float len = ymaj ? ady : adx;
  const double slope = len > 0 ? double((ymaj ? adx : ady) / len) : 0;
  const int64_t sx = sgn(x1, x2), sy = sgn(y1, y2);
  int64_t x = int64_t(std::trunc(x1)), y = int64_t(std::trunc(y1));
  const int64_t count = int64_t(std::trunc(len));
  double err = 0;
  if (aa)
  {
    const float v = ymaj ? x1 : y1;
    err = v - std::floor(v);
    if ((ymaj ? sx : sy) < 0 && err > 0)
      err = 1 - err;
  }
  for (int64_t i = 0; i <= count; ++i)
  {
    if (aa)
    {
      const int64_t cov = int64_t(err * 256.0);
      out.push_back({x, y, (256 - cov) * ia / 256});
      if (cov)
        out.push_back({ymaj ? x + sx : x, ymaj ? y : y + sy, ia * cov / 256});
    }
    else
    {
      out.push_back({x, y, ia});
    }
    err += slope;
    if (err > (aa ? 1.0 : 0.5))
    {
      err -= 1;
      (ymaj ? x : y) += ymaj ? sx : sy;
    }
    (ymaj ? y : x) += ymaj ? sy : sx;
  }
}

} // namespace

void Line(TestBitmap& bm, int ix1, int iy1, int ix2, int iy2, LICE_PixelValue c, float alpha, int mode, bool aa)
{
  int64_t x1 = ix1, y1 = iy1, x2 = ix2, y2 = iy2;
  const int64_t h = bm.getHeight();
  if (bm.isFlipped())
    y1 = h - 1 - y1, y2 = h - 1 - y2;
  if (!clipLine(x1, y1, x2, y2, bm.getWidth(), h))
    return;
  const int64_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1), sx = sgn(x1, x2), sy = sgn(y1, y2);
  const int64_t ia = ref::Weight(alpha);
  Plots p;
  if (dx == 0 || dy == 0)
  {
    for (int64_t i = 0; i <= dx + dy; ++i)
      p.push_back({x1 + (dx ? i * sx : 0), y1 + (dy ? i * sy : 0), ia});
    return apply(bm, Class(mode, alpha, false), p, c);
  }
  if (dx == dy && aa && (mode & 0xff) == 0 && alpha == 1.0f)
  {
    auto mix = [&](int64_t x, int64_t y, bool diag) {
      LICE_PixelValue& d = bm.raw(int(x), int(y));
      LICE_PixelValue o = 0;
      for (int k = 0; k < 32; k += 8)
      {
        const LICE_PixelValue a = (d >> k) & 255, s = (c >> k) & 255;
        o |= (diag ? s / 2 + s / 4 + a / 4 : s / 4 + a / 2 + a / 4) << k;
      }
      d = o;
    };
    for (int64_t i = 0; i <= dx; ++i)
    {
      mix(x1 + i * sx, y1 + i * sy, true);
      if (i < dx)
        mix(x1 + i * sx + sx, y1 + i * sy, false), mix(x1 + i * sx, y1 + i * sy + sy, false);
    }
    return;
  }
  if (dx == dy)
  {
    for (int64_t i = 0; i <= dx; ++i)
    {
      const int64_t x = x1 + i * sx, y = y1 + i * sy;
      p.push_back({x, y, aa ? ia * 3 / 4 : ia});
      if (aa && i < dx)
        p.push_back({x + sx, y, ia / 4}), p.push_back({x, y + sy, ia / 4});
    }
    return apply(bm, Class(mode, alpha, aa), p, c);
  }
  const bool xmaj = dx >= dy;
  const int64_t n = xmaj ? dx : dy;
  const double slope = xmaj ? double(dy) / double(dx) : double(dx) / double(dy);
  int64_t x = x1, y = y1;
  auto minor = [&] { (xmaj ? y : x) += xmaj ? sy : sx; };
  auto major = [&] { (xmaj ? x : y) += xmaj ? sx : sy; };
  if (!aa)
  {
    double err = 0;
    for (int64_t i = 0; i <= n; ++i)
    {
      p.push_back({x, y, ia});
      err += slope;
      if (err > 0.5)
        err -= 1, minor();
      major();
    }
  }
  else
  {
    p.push_back({x, y, ia});
    double err = slope;
    major();
    for (int64_t i = 1; i <= n; ++i)
    {
      const int64_t cov = int64_t(err * 256.0);
      p.push_back({x, y, (256 - cov) * ia / 256});
      if (cov)
        p.push_back({xmaj ? x : x + sx, xmaj ? y + sy : y, ia * cov / 256});
      err += slope;
      if (err > 1.0)
        err -= 1, minor();
      major();
    }
  }
  apply(bm, Class(mode, alpha, aa), p, c);
}

void FLine(TestBitmap& bm, float x1, float y1, float x2, float y2, LICE_PixelValue c, float alpha, int mode, bool aa)
{
  const float top = float(bm.getHeight() - 1);
  if (bm.isFlipped())
    y1 = top - y1, y2 = top - y2;
  if (!clipFLine(x1, y1, x2, y2, bm.getWidth(), bm.getHeight()))
    return;
  Plots p;
  fwalk(p, x1, y1, x2, y2, ref::Weight(alpha), aa);
  apply(bm, Class(mode, alpha, aa), p, c);
}

void DashedLine(TestBitmap& bm, int ix1, int iy1, int ix2, int iy2, int pxon, int pxoff, LICE_PixelValue c, float alpha,
                int mode)
{
  int64_t x1 = ix1, y1 = iy1, x2 = ix2, y2 = iy2;
  if (pxon <= 0 || int64_t(pxon) + pxoff <= 0)
    return;
  if (!clipLine(x1, y1, x2, y2, bm.getWidth(), bm.getHeight()))
    return;
  if (x1 != x2 && y1 != y2)
    return;
  const bool col = x1 == x2;
  const int64_t from = col ? std::min(y1, y2) : std::min(x1, x2), end = col ? std::max(y1, y2) : std::max(x1, x2);
  // Dashes of pxon pixels every pxon + pxoff, cut at the far end; the walk
  // stops after the first dash that reaches within pxon of it.
  Plots p;
  for (int64_t start = from; start < end; start += int64_t(pxon) + pxoff)
  {
    for (int64_t k = start; k < std::min(start + pxon, end); ++k)
      p.push_back({col ? x1 : k, col ? k : y1, ref::Weight(alpha)});
    if (start >= end - pxon)
      break;
  }
  apply(bm, Class(mode, alpha, false), p, c);
}

void DrawRect(TestBitmap& bm, int x, int y, int w, int h, LICE_PixelValue c, float alpha, int mode)
{
  // The ends are formed in 64 bits; held in the int range they clip alike.
  auto e = [](int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); };
  const int r = e(int64_t(x) + w), b = e(int64_t(y) + h);
  Line(bm, x, y, r, y, c, alpha, mode, false);
  Line(bm, r, y, r, b, c, alpha, mode, false);
  Line(bm, r, b, x, b, c, alpha, mode, false);
  Line(bm, x, b, x, y, c, alpha, mode, false);
}

void FillTriangle(TestBitmap& bm, int x1, int y1, int x2, int y2, int x3, int y3, LICE_PixelValue c, float alpha,
                  int mode)
{
  struct V
  {
    int64_t x, y;
  } v[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
  const int64_t w = bm.getWidth(), h = bm.getHeight();
  for (V& q : v)
    if (bm.isFlipped())
      q.y = h - 1 - q.y;
  std::sort(v, v + 3, [](const V& a, const V& b) { return a.y < b.y; });
  const V top = v[0], mid = v[1], bot = v[2];
  if (top.y == bot.y)
    return;
  auto k = [](const V& a, const V& b) { return double(b.x - a.x) / double(b.y - a.y); };
  // Both edges start at the top vertex and add their slope once per row.
  // A top more than 2^20 rows above the bitmap starts at row 0 instead, each
  // edge placed there by one multiplication from its upper vertex.
  int64_t y = top.y;
  double xl = double(top.x), xs = xl, kS = mid.y > top.y ? k(top, mid) : 0;
  if (top.y < -(int64_t(1) << 20))
  {
    y = 0, xl += k(top, bot) * double(-top.y);
    if (mid.y > 0)
      xs += kS * double(-top.y);
    else
      kS = mid.y == bot.y ? 0 : k(mid, bot), xs = double(mid.x) + kS * double(-mid.y);
  }
  Plots p;
  for (; y < bot.y && y < h; ++y)
  {
    if (y == mid.y)
      xs = double(mid.x), kS = mid.y == bot.y ? kS : k(mid, bot);
    const double a = std::floor(xs + 0.5), b = std::floor(xl + 0.5);
    for (double x = std::max(0.0, std::min(a, b)); y >= 0 && x <= std::min(double(w - 1), std::max(a, b)); ++x)
      p.push_back({int64_t(x), y, ref::Weight(alpha)});
    xs += kS, xl += k(top, bot);
  }
  apply(bm, Class(mode, alpha, false), p, c);
}

namespace
{

void splat(Plots& p, float x, float y, float alpha)
{
  const int64_t xi = int64_t(std::trunc(x)), yi = int64_t(std::trunc(y));
  const float fx = x - std::floor(x), fy = y - std::floor(y);
  p.push_back({xi, yi, W((1 - fy) * ((1 - fx) * alpha) * 255.0f)});
  p.push_back({xi + 1, yi, W((1 - fy) * (fx * alpha) * 255.0f)});
  p.push_back({xi, yi + 1, W(fy * ((1 - fx) * alpha) * 255.0f)});
  p.push_back({xi + 1, yi + 1, W(fy * (fx * alpha) * 255.0f)});
}

struct Curve
{
  std::function<double(double)> x, y;
  float alpha;
  bool aa;
  float tol2;
  int w, h;
};

void point(Plots& p, const Curve& k, float x, float y)
{
  if (k.aa)
    return splat(p, x, y, k.alpha);
  if (std::fabs(x) < 1e9 && std::fabs(y) < 1e9)
    p.push_back({int64_t(std::trunc(x)), int64_t(std::trunc(y)), PointW(k.alpha)});
}

void piece(Plots& p, const Curve& k, float x1, float y1, float x2, float y2)
{
  if (clipFLine(x1, y1, x2, y2, k.w, k.h))
    fwalk(p, x1, y1, x2, y2, ref::Weight(k.alpha), k.aa);
}

void subdivide(Plots& p, const Curve& k, int depth, double t0, float x0, float y0, double t1, float x1, float y1)
{
  if (depth >= 12)
    return piece(p, k, x0, y0, x1, y1);
  const double tm = (t0 + t1) * 0.5;
  const float xm = float(k.x(tm)), ym = float(k.y(tm));
  const float d1 = (ym - y0) * (ym - y0) + (xm - x0) * (xm - x0), d2 = (y1 - ym) * (y1 - ym) + (x1 - xm) * (x1 - xm);
  if (k.tol2 > 0)
  {
    if (d1 < k.tol2)
      piece(p, k, x0, y0, xm, ym);
    if (d2 < k.tol2)
      piece(p, k, xm, ym, x1, y1);
  }
  else
  {
    point(p, k, xm, ym);
  }
  const float lim = k.tol2 > 0 ? k.tol2 : 1.0f;
  if (d1 >= lim)
    subdivide(p, k, depth + 1, t0, x0, y0, tm, xm, ym);
  if (d2 >= lim)
    subdivide(p, k, depth + 1, tm, xm, ym, t1, x1, y1);
}

} // namespace

void QBezier(TestBitmap& bm, float x0, float y0, float x1, float y1, float x2, float y2, LICE_PixelValue c, float alpha,
             int mode, bool aa, float tol)
{
  if (x0 > x2)
    std::swap(x0, x2), std::swap(y0, y2);
  auto bez = [](double a, double b, double cc, double t) {
    return a * ((1 - t) * (1 - t)) + b * (2 * (1 - t) * t) + cc * (t * t);
  };
  Curve k{[=](double t) { return bez(x0, x1, x2, t); },
          [=](double t) { return bez(y0, y1, y2, t); },
          alpha,
          aa,
          tol > 1 ? tol * tol : 0.0f,
          bm.getWidth(),
          bm.getHeight()};
  const double A = double(x0) - 2.0 * x1 + x2, B = 2.0 * (double(x1) - x0);
  auto at = [&](double X, double& t, float& y) {
    if (A != 0)
      t = (std::sqrt(B * B - 4 * A * (x0 - X)) - B) / (2 * A), y = float(k.y(t));
    else if (x2 != x0)
      t = (X - x0) / (double(x2) - x0), y = float(y0 + (double(y2) - y0) * t);
    else
      t = 0, y = y0;
  };
  double t0 = 0, t1 = 1;
  float xl = x0, yl = y0, xh = x2, yh = y2;
  if (x0 < 0)
  {
    xl = 0;
    if (x2 <= 0)
      t0 = 1, yl = y2;
    else
      at(0, t0, yl);
  }
  if (x2 >= float(k.w))
  {
    xh = float(k.w - 1);
    if (x0 >= xh)
      t1 = 0, yh = y0;
    else
      at(xh, t1, yh);
  }
  if (xl > xh)
    return;
  Plots p;
  point(p, k, xl, yl), point(p, k, xh, yh);
  subdivide(p, k, 0, t0, xl, yl, t1, xh, yh);
  apply(bm, Class(mode, alpha, aa), p, c);
}

void CBezier(TestBitmap& bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
             LICE_PixelValue c, float alpha, int mode, bool aa, float tol)
{
  if (x0 > x3)
    std::swap(x0, x3), std::swap(y0, y3), std::swap(x1, x2), std::swap(y1, y2);
  auto poly = [](double a0, double a1, double a2, double a3) {
    const double cc = 3 * (a1 - a0), b = 3 * (a2 - a1) - cc, a = (a3 - a0) - cc - b;
    return [=](double t) { return a * (t * t * t) + b * (t * t) + cc * t + a0; };
  };
  Curve k{poly(x0, x1, x2, x3),       poly(y0, y1, y2, y3), alpha,         aa,
          tol > 0 ? tol * tol : 0.0f, bm.getWidth(),        bm.getHeight()};
  double t0 = 0, t1 = 1;
  float xl = x0, yl = y0, xh = x3, yh = y3;
  // LICE_CBezier_GetY bisects, and reports t bounds, only for an x strictly
  // between the ends; otherwise the range stays 0 ... 1.
  double a, b;
  if (x0 < 0)
  {
    yl = LICE_CBezier_GetY(x0, x1, x2, x3, y0, y1, y2, y3, 0, nullptr, nullptr, &a, &b);
    xl = 0, t0 = 0 < x3 ? b : 0;
  }
  if (x3 >= float(k.w))
  {
    xh = float(k.w - 1);
    yh = LICE_CBezier_GetY(x0, x1, x2, x3, y0, y1, y2, y3, xh, nullptr, nullptr, &a, &b);
    t1 = xh > x0 ? a : 1;
  }
  if (xl > xh)
    return;
  Plots p;
  if (!(k.tol2 > 0))
    point(p, k, xl, yl), point(p, k, xh, yh);
  subdivide(p, k, 0, t0, xl, yl, t1, xh, yh);
  apply(bm, Class(mode, alpha, aa), p, c);
}

namespace
{

struct Box
{
  int64_t l, t, r, b;
};

int64_t T(float v)
{
  return int64_t(std::trunc(v));
}

// The circle drawers' plots, kept to the box.
Plots circlePlots(float cx, float cy, float r, float alpha, bool aa, bool fill, const Box& box)
{
  Plots p;
  const int64_t w = PointW(alpha);
  auto pt = [&](int64_t x, int64_t y, int64_t wt) {
    if (x >= box.l && x < box.r && y >= box.t && y < box.b)
      p.push_back({x, y, wt});
  };
  auto span = [&](int64_t y, int64_t a, int64_t b) {
    for (int64_t x = a; x <= b; ++x)
      pt(x, y, w);
  };
  if (!aa)
  {
    float d = float((r * -4.0 + 5.0) * 0.25);
    pt(T(cx), T(cy + r), w), pt(T(cx), T(cy - r), w), pt(T(cx + r), T(cy), w), pt(T(cx - r), T(cy), w);
    if (fill)
      span(T(cy), T((cx - r) + 1), T((cx + r) - 1));
    if (!(r > 0))
      return p;
    for (float x = 0, y = r; y > x;)
    {
      x += 1;
      if (d < 0)
        d = ((x + x) + 1) + d;
      else
        y -= 1, d = float(double(d) + (2.0 * double(x - y) + 1.0));
      const float q[8][2] = {{x, y}, {-x, y}, {x, -y}, {-x, -y}, {y, x}, {-y, x}, {y, -x}, {-y, -x}};
      for (auto& o : q)
        pt(T(cx + o[0]), T(cy + o[1]), w);
      if (fill)
      {
        span(T(cy - y), T((cx - x) + 1), T((cx + x) - 1)), span(T(cy + y), T((cx - x) + 1), T((cx + x) - 1));
        span(T(cy - x), T((cx - y) + 1), T((cx + y) - 1)), span(T(cy + x), T((cx - y) + 1), T((cx + y) - 1));
      }
    }
    return p;
  }
  if (!(1 + r > 0))
    return p;
  const float r2 = r * r;
  for (float x = 0, y = r;;)
  {
    const float f = y - std::floor(y);
    if (f != 0)
    {
      const int64_t wo = W((alpha * f) * 255.0f), wi = W(((1 - f) * alpha) * 255.0f);
      for (float col : {cx + x, cx - x})
        pt(T(col), T((cy + y) + 1), wo), pt(T(col), T(cy + y), wi), pt(T(col), T((cy - y) + 1), wi),
          pt(T(col), T(cy - y), wo);
      for (float row : {cy + x, cy - x})
        pt(T((cx + y) + 1), T(row), wo), pt(T(cx + y), T(row), wi);
      for (float row : {cy + x, cy - x})
        pt(T((cx - y) + 1), T(row), wi), pt(T(cx - y), T(row), wo);
    }
    else
    {
      const float q[8][2] = {{x, y}, {x, -y}, {-x, y}, {-x, -y}, {y, x}, {y, -x}, {-y, x}, {-y, -x}};
      for (auto& o : q)
        pt(T(cx + o[0]), T(cy + o[1]), w);
    }
    if (fill)
    {
      span(T((cy - y) + 1), T(cx - x), T(cx + x)), span(T(cy + y), T(cx - x), T(cx + x));
      span(T(cy - x), T((cx - y) + 1), T(cx + y)), span(T(cy + x), T((cx - y) + 1), T(cx + y));
    }
    x += 1;
    y = std::sqrt(r2 - x * x);
    if (!(y + 1 > x))
      break;
  }
  return p;
}

bool drawable(float cx, float cy, float r)
{
  return std::isfinite(cx) && std::isfinite(cy) && r >= 0 && r <= 4194304.0f;
}

constexpr float kPi = 3.1415927f, kTwoPi = 6.2831855f;

void arc(TestBitmap& bm, int cls, float cx, float cy, float r, float a1, float a2, LICE_PixelValue c, float alpha,
         bool aa, int depth)
{
  const int64_t w = bm.getWidth(), h = bm.getHeight();
  Box box{0, 0, w, h};
  const float span = a2 - a1;
  if (span > kPi && span < kTwoPi && depth < 8)
  {
    float m = a1 < 0 ? 0.0f : kPi;
    if (!(a1 < m && m < a2))
      m = a1 + span * 0.5f;
    arc(bm, cls, cx, cy, r, a1, m, c, alpha, aa, depth + 1);
    return arc(bm, cls, cx, cy, r, m, a2, c, alpha, aa, depth + 1);
  }
  if (span < kTwoPi)
  {
    auto turn = [](float a, bool end) {
      if (std::fabs(a) > 16 * kTwoPi)
        a = std::fmod(a, kTwoPi);
      while (a < 0)
        a += kTwoPi;
      while (end ? a > kTwoPi : a >= kTwoPi)
        a -= kTwoPi;
      return double(a);
    };
    const double pf = double(kPi), s = turn(a1, false), e = turn(a2, true);
    const int64_t sx = int64_t(std::trunc(std::sin(s) * r + cx)), sy = int64_t(std::trunc(cy - std::cos(s) * r));
    const int64_t ex = int64_t(std::trunc(std::sin(e) * r + cx)), ey = int64_t(std::trunc(cy - r * std::cos(e)));
    if (s < 1e-6)
      box.l = std::max(box.l, sx);
    if (s < pf / 2 + 1e-6)
      box.t = std::max(box.t, sy);
    else if (s < pf + 1e-6)
      box.r = std::min(box.r, sx);
    else if (s < 1.5 * pf + 1e-6)
      box.b = std::min(box.b, sy);
    else
      box.l = std::max(box.l, sx);
    if (e < pf / 2 - 1e-6)
      box.r = std::min(box.r, ex);
    else if (e < pf - 1e-6)
      box.b = std::min(box.b, ey);
    else if (e < 1.5 * pf - 1e-6)
      box.l = std::max(box.l, ex);
    else
      box.t = std::max(box.t, ey);
  }
  apply(bm, cls, circlePlots(cx, cy, r, alpha, aa, false, box), c);
}

} // namespace

void Circle(TestBitmap& bm, float cx, float cy, float r, LICE_PixelValue c, float alpha, int mode, bool aa, bool fill)
{
  if (bm.isFlipped())
    cy = float(bm.getHeight() - 1) - cy;
  if (!drawable(cx, cy, r))
    return;
  apply(bm, Class(mode, alpha, aa), circlePlots(cx, cy, r, alpha, aa, fill, {0, 0, bm.getWidth(), bm.getHeight()}), c);
}

void Arc(TestBitmap& bm, float cx, float cy, float r, float a1, float a2, LICE_PixelValue c, float alpha, int mode,
         bool aa)
{
  if (bm.isFlipped())
  {
    cy = float(bm.getHeight() - 1) - cy;
    const float s = kPi - a2;
    a2 = kPi - a1, a1 = s;
  }
  if (!drawable(cx, cy, r) || !std::isfinite(a1) || !std::isfinite(a2))
    return;
  arc(bm, Class(mode, alpha, aa), cx, cy, r, a1, a2, c, alpha, aa, 0);
}

void RoundRect(TestBitmap& bm, float x, float y, float w, float h, int rad, LICE_PixelValue c, float alpha, int mode,
               bool aa)
{
  float rr = float(rad);
  rr = std::floor(std::min({rr, w * 0.5f, h * 0.5f}));
  auto t = [](float v) { return int(std::trunc(v)); };
  if (rad <= 0 || rr < 2)
    return DrawRect(bm, t(x), t(y), t(w), t(h), c, alpha, mode);
  const float r = w + x, b = h + y;
  Line(bm, t(x + rr), t(y), t(r - rr), t(y), c, alpha, mode, aa);
  Line(bm, t((x + rr) - 1), t(b), t(r - rr), t(b), c, alpha, mode, aa);
  Line(bm, t(r), t(y + rr), t(r), t(b - rr), c, alpha, mode, aa);
  Line(bm, t(x), t((y + rr) - 1), t(x), t(b - rr), c, alpha, mode, aa);
  Arc(bm, x + rr, y + rr, rr, -1.5707964f, 0, c, alpha, mode, aa);
  Arc(bm, r - rr, y + rr, rr, 0, 1.5707964f, c, alpha, mode, aa);
  Arc(bm, r - rr, b - rr, rr, 1.5707964f, 3.1415927f, c, alpha, mode, aa);
  Arc(bm, x + rr, b - rr, rr, 3.1415927f, 4.712389f, c, alpha, mode, aa);
}

} // namespace vref
