// Quadratic and cubic Bezier curves by recursive subdivision in t: a point
// per subdivision, or with a tolerance straight pieces. Curves address the
// buffer as it is (no flip) and clip only in x beforehand; every point is
// tested and every piece goes through ClipFLine.

#include "graphics/lice_line_class.h"

namespace
{

// Subdivision stops here: a curve has at most 4096 pieces.
constexpr int kMaxDepth = 12;

// The piece being drawn: its parameter range and end points.
struct CurveSpan
{
  double t_lo;
  float x_lo, y_lo;
  double t_hi;
  float x_hi, y_hi;
};

struct QuadCurve
{
  float x0, x1, x2, y0, y1, y2;
  static double at(double a, double b, double c, double t)
  {
    const double u = 1.0 - t;
    return a * (u * u) + b * (2.0 * u * t) + c * (t * t);
  }
  double x(double t) const { return at(x0, x1, x2, t); }
  double y(double t) const { return at(y0, y1, y2, t); }
};

struct CubicCurve
{
  double ax, bx, cx, dx, ay, by, cy, dy;
  CubicCurve(double x0, double x1, double x2, double x3, double y0, double y1, double y2, double y3)
  {
    cx = 3.0 * (x1 - x0), bx = 3.0 * (x2 - x1) - cx, ax = (x3 - x0) - cx - bx, dx = x0;
    cy = 3.0 * (y1 - y0), by = 3.0 * (y2 - y1) - cy, ay = (y3 - y0) - cy - by, dy = y0;
  }
  double x(double t) const { return ax * (t * t * t) + bx * (t * t) + cx * t + dx; }
  double y(double t) const { return ay * (t * t * t) + by * (t * t) + cy * t + dy; }
};

template <class Combine>
class _LICE_CurveDrawer
{
public:
  static void Plot(const LICE_VectorSurface& s, float x, float y, const LICE_VectorColor& c, int wp)
  {
    const int xi = LICE_TruncCoord(x), yi = LICE_TruncCoord(y);
    if (s.inside(xi, yi))
      LICE_VectorPix<Combine>(s.bytes(xi, yi), c, wp);
  }

  // The anti-aliased point: alpha * 255 shared among four pixels. The index
  // truncates while the fraction comes from floor, as the curves always did.
  static void DrawClippedFPt(const LICE_VectorSurface& s, float x, float y, const LICE_VectorColor& c, float alpha)
  {
    const int64_t xi = LICE_TruncCoord(x), yi = LICE_TruncCoord(y);
    const float fx = x - std::floor(x), fy = y - std::floor(y);
    auto put = [&](int64_t px, int64_t py, float share) {
      if (s.inside(px, py))
        LICE_VectorPix<Combine>(s.bytes(int(px), int(py)), c, LICE_TruncWeight(share * 255.0f));
    };
    put(xi, yi, (1.0f - fy) * ((1.0f - fx) * alpha));
    put(xi + 1, yi, (1.0f - fy) * (fx * alpha));
    put(xi, yi + 1, fy * ((1.0f - fx) * alpha));
    put(xi + 1, yi + 1, fy * (fx * alpha));
  }

  // What stays the same over one curve.
  template <class Curve>
  struct Job
  {
    const LICE_VectorSurface& s;
    const Curve& k;
    LICE_VectorColor c;
    float alpha;
    bool aa;
    float tol2;
    int ia = LICE_AlphaWeight(alpha); // straight pieces
    int wp = LICE_PointWeight(alpha); // plotted points
  };

  template <class J>
  static void Piece(const J& j, float x1, float y1, float x2, float y2)
  {
    if (ClipFLine(&x1, &y1, &x2, &y2, j.s.w, j.s.h))
      __LICE_LineClass<Combine>::LICE_FLineImpl(j.s, x1, y1, x2, y2, j.c, j.ia, j.aa);
  }

  template <class J>
  static void Point(const J& j, float x, float y)
  {
    if (j.aa)
      DrawClippedFPt(j.s, x, y, j.c, j.alpha);
    else
      Plot(j.s, x, y, j.c, j.wp);
  }

  // One subdivision step of either curve.
  template <class J>
  static void Recurse(const J& j, int depth, const CurveSpan& p)
  {
    if (depth >= kMaxDepth)
      return Piece(j, p.x_lo, p.y_lo, p.x_hi, p.y_hi);
    const double tm = (p.t_lo + p.t_hi) * 0.5;
    const float xm = float(j.k.x(tm)), ym = float(j.k.y(tm));
    const float d1 = (ym - p.y_lo) * (ym - p.y_lo) + (xm - p.x_lo) * (xm - p.x_lo);
    const float d2 = (p.y_hi - ym) * (p.y_hi - ym) + (p.x_hi - xm) * (p.x_hi - xm);
    float limit = 1.0f;
    if (j.tol2 > 0)
    {
      if (d1 < j.tol2)
        Piece(j, p.x_lo, p.y_lo, xm, ym);
      if (d2 < j.tol2)
        Piece(j, xm, ym, p.x_hi, p.y_hi);
      limit = j.tol2;
    }
    else
    {
      Point(j, xm, ym);
    }
    if (d1 >= limit)
      Recurse(j, depth + 1, {p.t_lo, p.x_lo, p.y_lo, tm, xm, ym});
    if (d2 >= limit)
      Recurse(j, depth + 1, {tm, xm, ym, p.t_hi, p.x_hi, p.y_hi});
  }

  // The ends are plotted first: always on the quadratic, on the cubic only
  // when it draws points.
  template <class Curve>
  static void Draw(const LICE_VectorSurface& s, const Curve& k, const LICE_VectorColor& c, float alpha, bool aa,
                   const CurveSpan& p, float tol2, bool plotEnds)
  {
    const Job<Curve> j{s, k, c, alpha, aa, tol2};
    if (plotEnds)
      Point(j, p.x_lo, p.y_lo), Point(j, p.x_hi, p.y_hi);
    Recurse(j, 0, p);
  }

  static void DrawQBezRecurse(const LICE_VectorSurface& s, const QuadCurve& k, const LICE_VectorColor& c, float alpha,
                              bool aa, const CurveSpan& p, float tol2)
  {
    Draw(s, k, c, alpha, aa, p, tol2, true);
  }

  static void DrawCBezRecurse(const LICE_VectorSurface& s, const CubicCurve& k, const LICE_VectorColor& c, float alpha,
                              bool aa, const CurveSpan& p, float tol2)
  {
    Draw(s, k, c, alpha, aa, p, tol2, !(tol2 > 0));
  }
};

bool allFinite(std::initializer_list<float> v)
{
  for (float f : v)
    if (!std::isfinite(f))
      return false;
  return true;
}

// The parameter where the quadratic's x reaches X and the y there.
void quadAtX(const QuadCurve& q, double X, double& t, float& y)
{
  const double a = double(q.x0) - 2.0 * q.x1 + q.x2, b = 2.0 * (double(q.x1) - q.x0);
  if (a != 0)
  {
    t = (std::sqrt(b * b - 4.0 * a * (q.x0 - X)) - b) / (2.0 * a);
    y = float(q.y(t));
  }
  else if (q.x2 != q.x0)
  {
    t = (X - q.x0) / (double(q.x2) - q.x0);
    y = float(q.y0 + (double(q.y2) - q.y0) * t);
  }
  else
  {
    t = 0, y = q.y0;
  }
}

} // namespace

void LICE_DrawQBezier(LICE_IBitmap* bm, float xstart, float ystart, float xctl, float yctl, float xend, float yend,
                      LICE_PixelValue color, float alpha, int mode, bool aa, float tol)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s) || !allFinite({xstart, ystart, xctl, yctl, xend, yend}))
    return;
  if (xstart > xend)
    std::swap(xstart, xend), std::swap(ystart, yend);
  const QuadCurve q{xstart, xctl, xend, ystart, yctl, yend};
  CurveSpan p{0, q.x0, q.y0, 1, q.x2, q.y2};
  if (q.x0 < 0)
  {
    if (q.x2 <= 0)
      p.t_lo = 1, p.x_lo = 0, p.y_lo = q.y2;
    else
      quadAtX(q, 0, p.t_lo, p.y_lo), p.x_lo = 0;
  }
  if (q.x2 >= float(s.w))
  {
    p.x_hi = float(s.w - 1);
    if (q.x0 >= p.x_hi)
      p.t_hi = 0, p.y_hi = q.y0;
    else
      quadAtX(q, p.x_hi, p.t_hi, p.y_hi);
  }
  if (p.x_lo > p.x_hi)
    return;
  const float tol2 = tol > 1.0f ? tol * tol : 0.0f;
  const LICE_VectorColor c(color);
  LICE_WithVectorCombine(mode, alpha, aa,
                         [&]<class C>() { _LICE_CurveDrawer<C>::DrawQBezRecurse(s, q, c, alpha, aa, p, tol2); });
}

void LICE_DrawCBezier(LICE_IBitmap* bm, float xstart, float ystart, float xctl1, float yctl1, float xctl2, float yctl2,
                      float xend, float yend, LICE_PixelValue color, float alpha, int mode, bool aa, float tol)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s) || !allFinite({xstart, ystart, xctl1, yctl1, xctl2, yctl2, xend, yend}))
    return;
  if (xstart > xend)
  {
    std::swap(xstart, xend), std::swap(ystart, yend);
    std::swap(xctl1, xctl2), std::swap(yctl1, yctl2);
  }
  const CubicCurve k(xstart, xctl1, xctl2, xend, ystart, yctl1, yctl2, yend);
  CurveSpan p{0, xstart, ystart, 1, xend, yend};
  // Where the edge lies beyond the curve's end, LICE_CBezier_GetY reports
  // no bounds and the parameter range stays whole.
  double unused;
  if (xstart < 0)
  {
    p.y_lo =
      LICE_CBezier_GetY(xstart, xctl1, xctl2, xend, ystart, yctl1, yctl2, yend, 0, nullptr, nullptr, &unused, &p.t_lo);
    p.x_lo = 0;
  }
  if (xend >= float(s.w))
  {
    p.x_hi = float(s.w - 1);
    p.y_hi = LICE_CBezier_GetY(xstart, xctl1, xctl2, xend, ystart, yctl1, yctl2, yend, p.x_hi, nullptr, nullptr,
                               &p.t_hi, &unused);
  }
  if (p.x_lo > p.x_hi)
    return;
  const float tol2 = tol > 0.0f ? tol * tol : 0.0f;
  const LICE_VectorColor c(color);
  LICE_WithVectorCombine(mode, alpha, aa,
                         [&]<class C>() { _LICE_CurveDrawer<C>::DrawCBezRecurse(s, k, c, alpha, aa, p, tol2); });
}

template <class T>
T LICE_CBezier_GetY(std::type_identity_t<T> x0, std::type_identity_t<T> x1, std::type_identity_t<T> x2,
                    std::type_identity_t<T> x3, std::type_identity_t<T> y0, std::type_identity_t<T> y1,
                    std::type_identity_t<T> y2, std::type_identity_t<T> y3, std::type_identity_t<T> x,
                    std::type_identity_t<T>* next_x, std::type_identity_t<T>* dydx, double* t_lo_out, double* t_hi_out)
{
  if (x <= x0 || x >= x3)
  {
    if (next_x)
      *next_x = x <= x0 ? x0 : x3;
    if (dydx)
      *dydx = 0;
    return x <= x0 ? y0 : y3;
  }
  const CubicCurve k(x0, x1, x2, x3, y0, y1, y2, y3);
  double t_lo = 0, t_hi = 1, x_lo = x0, x_hi = x3;
  for (int i = 0; i < 8; ++i)
  {
    const double t = (t_lo + t_hi) * 0.5, xt = k.x(t);
    if (xt < x)
    {
      t_lo = t, x_lo = xt;
    }
    else if (xt > x)
    {
      t_hi = t, x_hi = xt;
    }
    else
    {
      t_lo = t, x_lo = xt;
      t_hi = std::min(t + 0.00390625, 1.0), x_hi = k.x(t_hi);
      break;
    }
  }
  if (t_lo == 0)
    x_lo = x0;
  if (t_hi == 1.0)
    x_hi = x3;
  const double y_lo = k.y(t_lo), y_hi = k.y(t_hi);
  const double slope = x_hi != x_lo ? (y_hi - y_lo) / (x_hi - x_lo) : 0;
  if (next_x)
    *next_x = T(x_hi);
  if (dydx)
    *dydx = T(slope);
  if (t_lo_out)
    *t_lo_out = t_lo;
  if (t_hi_out)
    *t_hi_out = t_hi;
  return T((x - x_lo) * slope + y_lo);
}

template float LICE_CBezier_GetY<float>(float, float, float, float, float, float, float, float, float, float*, float*,
                                        double*, double*);
