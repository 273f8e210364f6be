#pragma once
// The circle drawers shared by circles and arcs, one instance per combine
// class. Coordinates are truncated float sums (trunc(cx + x), ...).

#include <algorithm>

#include "graphics/lice_blit_avx2.h"
#include "graphics/lice_blit_sse.h"
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

  // One step of the anti-aliased circle in drawing order: its plots, then
  // (when filling) its four spans, all at full weight.
  struct AAStep
  {
    struct Plot
    {
      int x, y, weight;
    };
    struct Span
    {
      int y, x1, x2;
    };
    Plot plots[16];
    int count = 0;
    Span spans[4];
  };

  // Coverage split over the two pixels each step straddles: the outer one
  // takes the fraction of y, the inner one the rest. Hands each step to
  // draw(const AAStep&).
  template <class Draw>
  static void WalkCircleAA(float cx, float cy, float r, float alpha, int w, bool fill, Draw&& draw)
  {
    const float r2 = r * r;
    float x = 0, y = r;
    AAStep st;
    do
    {
      st.count = 0;
      auto pt = [&](int px, int py, int wt) { st.plots[st.count++] = {px, py, wt}; };
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
        st.spans[0] = {T((cy - y) + 1), T(cx - x), T(cx + x)}, st.spans[1] = {T(cy + y), T(cx - x), T(cx + x)};
        st.spans[2] = {T(cy - x), T((cx - y) + 1), T(cx + y)}, st.spans[3] = {T(cy + x), T((cx - y) + 1), T(cx + y)};
      }
      draw(st);
      x = x + 1;
      y = std::sqrt(r2 - x * x);
    } while (y + 1 > x);
  }

  static void DrawClippedCircleAA(const LICE_VectorSurface& s, float cx, float cy, float r, const LICE_ClipBox& box,
                                  LICE_PixelValue color, float alpha, bool fill, bool clip)
  {
    const LICE_VectorColor c(color);
    const int w = LICE_PointWeight(alpha);
    if (!(1 + r > 0))
      return;
    if (std::is_same_v<Combine, _LICE_CombinePixelsCopy> && fill && w == 255 && LICE_FastPathsEnabled())
      return DrawOpaqueDiscAA(s, cx, cy, r, box, c, alpha, clip);
    WalkCircleAA(cx, cy, r, alpha, w, fill, [&](const AAStep& st) {
      for (int i = 0; i < st.count; ++i)
        DrawClippedPt(s, st.plots[i].x, st.plots[i].y, box, c, st.plots[i].weight, clip);
      if (fill)
        for (const auto& sp : st.spans)
          DrawClippedHorzLine(s, sp.y, sp.x1, sp.x2, box, c, w, clip);
    });
  }

  // The disc in copy mode at weight 255. That copy takes each channel d to
  // s - (d < s), and a copy at any weight from 0 to 255 neither moves d
  // across s nor moves s or s - 1: so a pixel under any span ends at
  // s - (d < s) whatever the disc's other plots do to it, before or after.
  // Each span pixel is therefore combined once, and plots under a span are
  // left out; the other plots keep their order.
  static void DrawOpaqueDiscAA(const LICE_VectorSurface& s, float cx, float cy, float r, const LICE_ClipBox& box,
                               const LICE_VectorColor& c, float alpha, bool clip)
  {
    // Per span of a step, the latest stretch of a row it has drawn.
    struct Drawn
    {
      int y = INT_MIN, x1 = 0, x2 = -1;
      bool covers(int px, int py) const { return py == y && px >= x1 && px <= x2; }
    } drawn[4];
    const bool avx2 = LICE_Avx2Enabled();
    auto run = [&](int y, int x1, int x2) {
      if (x1 > x2)
        return;
#if LICE_HAVE_SSE2
      if constexpr (std::is_same_v<Combine, _LICE_CombinePixelsCopy>)
      {
        if (avx2)
          return LICE_Copy255RowAvx2(s.bytes(x1, y), x2 - x1 + 1, c.packed);
        return lice_sse::copy255Row(s.bytes(x1, y), x2 - x1 + 1, c.packed);
      }
#endif
      LICE_VectorSpan<Combine>(s.bytes(x1, y), x2 - x1 + 1, c, 255);
    };
    WalkCircleAA(cx, cy, r, alpha, 255, true, [&](const AAStep& st) {
      for (int k = 0; k < 4; ++k)
      {
        int y = st.spans[k].y, a = st.spans[k].x1, b = st.spans[k].x2;
        if (clip)
        {
          if (y < box.top || y >= box.bottom)
            continue;
          a = std::max(a, box.left), b = std::min(b, box.right - 1);
        }
        if (a > b)
          continue;
        Drawn& d = drawn[k];
        if (d.y != y)
        {
          run(y, a, b);
          d = {y, a, b};
          continue;
        }
        run(y, a, std::min(b, d.x1 - 1)), run(y, std::max(a, d.x2 + 1), b);
        if (a <= d.x2 + 1 && b >= d.x1 - 1)
          d.x1 = std::min(a, d.x1), d.x2 = std::max(b, d.x2);
        else
          d = {y, a, b};
      }
      for (int i = 0; i < st.count; ++i)
      {
        const auto& p = st.plots[i];
        if (!drawn[0].covers(p.x, p.y) && !drawn[1].covers(p.x, p.y) && !drawn[2].covers(p.x, p.y) &&
            !drawn[3].covers(p.x, p.y))
          DrawClippedPt(s, p.x, p.y, box, c, p.weight, clip);
      }
    });
  }

  static void DrawArc(const LICE_VectorSurface& s, float cx, float cy, float r, float start, float end,
                      LICE_PixelValue color, float alpha, bool aa, int depth = 0);
};
