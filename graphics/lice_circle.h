#pragma once
// The circle drawers shared by circles and arcs, one instance per combine
// class. Coordinates are truncated float sums (trunc(cx + x), ...).

#include <algorithm>

#include "graphics/lice_vector.h"

// Pixels left <= x < right, top <= y < bottom; always within the bitmap.
struct LICE_ClipBox
{
  int left, top, right, bottom;
};

// Circles and arcs with a larger radius draw nothing: float steps of one
// pixel stop advancing long before 2^24, and the work stays bounded.
constexpr float LICE_MAX_CIRCLE_RADIUS = float(1 << 22);

// Whether a circle can be drawn at all: finite, radius 0 ... the cap, and
// its box (with the outer anti-aliased pixel and rounding) meets the
// bitmap. Decided in double, so that the truncations of the drawers then
// stay far inside the int range.
static inline bool LICE_CircleVisible(float cx, float cy, float r, int w, int h)
{
  if (!(r >= 0.0f && r <= LICE_MAX_CIRCLE_RADIUS) || !std::isfinite(cx) || !std::isfinite(cy))
    return false;
  const double m = double(r) + 2.0;
  return cx + m >= 0 && cy + m >= 0 && cx - m <= w && cy - m <= h;
}

// The clip flag: clear only when the circle with a pixel's margin lies
// inside the bitmap. Written as the negation of the inside tests, so that
// anything unordered keeps the per-pixel tests on; the double test adds a
// pixel of margin against the float sums' rounding.
static inline bool LICE_CircleNeedsClip(float cx, float cy, float r, int w, int h)
{
  const bool inside = cx - r - 1 >= 0 && cy - r - 1 >= 0 && cx + r + 1 < float(w) && cy + r + 1 < float(h);
  const double m = double(r) + 2.0;
  return !(inside && cx - m >= 0 && cy - m >= 0 && cx + m < w && cy + m < h);
}

template <class Combine>
class _LICE_CircleDrawer
{
public:
  // LICE_CircleVisible() holds, so every sum is well inside the int range.
  static int T(float v) { return static_cast<int>(v); }

  static void DrawClippedPt(const LICE_VectorSurface& s, int x, int y, const LICE_ClipBox& box,
                            const LICE_VectorColor& c, int weight, bool clip)
  {
    if (clip && (x < box.left || x >= box.right || y < box.top || y >= box.bottom))
      return;
    LICE_VectorPix<Combine>(s.bytes(x, y), c, weight);
  }

  static void DrawClippedHorzLine(const LICE_VectorSurface& s, int y, int x1, int x2, const LICE_ClipBox& box,
                                  const LICE_VectorColor& c, int weight, bool clip)
  {
    if (clip)
    {
      if (y < box.top || y >= box.bottom)
        return;
      x1 = std::max(x1, box.left), x2 = std::min(x2, box.right - 1);
    }
    if (x1 <= x2)
      LICE_VectorSpan<Combine>(s.bytes(x1, y), x2 - x1 + 1, c, weight);
  }

  // Midpoint circle with a float decision variable.
  static void DrawClippedCircle(const LICE_VectorSurface& s, float cx, float cy, float r, const LICE_ClipBox& box,
                                LICE_PixelValue color, float alpha, bool fill, bool clip)
  {
    const LICE_VectorColor c(color);
    const int w = LICE_PointWeight(alpha);
    auto pt = [&](float x, float y) { DrawClippedPt(s, T(x), T(y), box, c, w, clip); };
    auto span = [&](float y, float x1, float x2) { DrawClippedHorzLine(s, T(y), T(x1), T(x2), box, c, w, clip); };
    float d = float((r * -4.0 + 5.0) * 0.25);
    pt(cx, cy + r), pt(cx, cy - r), pt(cx + r, cy), pt(cx - r, cy);
    if (fill)
      span(cy, (cx - r) + 1, (cx + r) - 1);
    if (!(r > 0))
      return;
    float x = 0, y = r;
    do
    {
      x = x + 1;
      if (d < 0)
      {
        d = ((x + x) + 1) + d;
      }
      else
      {
        y = y - 1;
        d = float(d + (2.0 * (x - y) + 1.0));
      }
      pt(cx + x, cy + y), pt(cx - x, cy + y), pt(cx + x, cy - y), pt(cx - x, cy - y);
      pt(cx + y, cy + x), pt(cx - y, cy + x), pt(cx + y, cy - x), pt(cx - y, cy - x);
      if (fill)
      {
        span(cy - y, (cx - x) + 1, (cx + x) - 1), span(cy + y, (cx - x) + 1, (cx + x) - 1);
        span(cy - x, (cx - y) + 1, (cx + y) - 1), span(cy + x, (cx - y) + 1, (cx + y) - 1);
      }
    } while (y > x);
  }

  // Coverage split over the two pixels each step straddles: the outer one
  // takes the fraction of y, the inner one the rest.
  static void DrawClippedCircleAA(const LICE_VectorSurface& s, float cx, float cy, float r, const LICE_ClipBox& box,
                                  LICE_PixelValue color, float alpha, bool fill, bool clip)
  {
    const LICE_VectorColor c(color);
    const int w = LICE_PointWeight(alpha);
    const float r2 = r * r;
    if (!(1 + r > 0))
      return;
    auto pt = [&](int x, int y, int wt) { DrawClippedPt(s, x, y, box, c, wt, clip); };
    auto span = [&](int y, int x1, int x2) { DrawClippedHorzLine(s, y, x1, x2, box, c, w, clip); };
    float x = 0, y = r;
    do
    {
      const float f = y - std::floor(y);
      if (f != 0)
      {
        const int wo = LICE_TruncWeight((alpha * f) * 255.0f), wi = LICE_TruncWeight(((1 - f) * alpha) * 255.0f);
        for (const float col : {cx + x, cx - x})
        {
          pt(T(col), T((cy + y) + 1), wo), pt(T(col), T(cy + y), wi);
          pt(T(col), T((cy - y) + 1), wi), pt(T(col), T(cy - y), wo);
        }
        for (const float row : {cy + x, cy - x})
          pt(T((cx + y) + 1), T(row), wo), pt(T(cx + y), T(row), wi);
        for (const float row : {cy + x, cy - x})
          pt(T((cx - y) + 1), T(row), wi), pt(T(cx - y), T(row), wo);
      }
      else
      {
        pt(T(cx + x), T(cy + y), w), pt(T(cx + x), T(cy - y), w), pt(T(cx - x), T(cy + y), w);
        pt(T(cx - x), T(cy - y), w), pt(T(cx + y), T(cy + x), w), pt(T(cx + y), T(cy - x), w);
        pt(T(cx - y), T(cy + x), w), pt(T(cx - y), T(cy - x), w);
      }
      if (fill)
      {
        span(T((cy - y) + 1), T(cx - x), T(cx + x)), span(T(cy + y), T(cx - x), T(cx + x));
        span(T(cy - x), T((cx - y) + 1), T(cx + y)), span(T(cy + x), T((cx - y) + 1), T(cx + y));
      }
      x = x + 1;
      y = std::sqrt(r2 - x * x);
    } while (y + 1 > x);
  }

  static void DrawArc(const LICE_VectorSurface& s, float cx, float cy, float r, float start, float end,
                      LICE_PixelValue color, float alpha, bool aa, int depth = 0);
};
