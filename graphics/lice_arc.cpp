// Arcs (a whole circle drawn through a box cut at the arc's ends) and
// rounded rectangles.

#include "graphics/lice_circle.h"

namespace
{

constexpr float kPi = 3.1415927f, kTwoPi = 6.2831855f;
constexpr double kPiF = double(kPi);
// Quadrant bounds of the start (a little past) and the end (a little short).
constexpr double kEps = 1e-6;

// Beyond this many turns an angle is reduced by fmod instead of one turn at
// a time; within it the turn-by-turn float steps are kept.
constexpr float kLoopTurns = 16.0f * kTwoPi;

// Start angles end in [0, 2pi), end angles in [0, 2pi].
float normaliseAngle(float a, bool isEnd)
{
  if (std::fabs(a) > kLoopTurns)
    a = std::fmod(a, kTwoPi);
  while (a < 0)
    a += kTwoPi;
  if (isEnd)
  {
    while (a > kTwoPi)
      a -= kTwoPi;
  }
  else
  {
    while (a >= kTwoPi)
      a -= kTwoPi;
  }
  return a;
}

// Arcs longer than a half circle are split in two; past this depth (only
// reached through float rounding) a piece is drawn as it is.
constexpr int kMaxSplitDepth = 8;

} // namespace

template <class Combine>
void _LICE_CircleDrawer<Combine>::DrawArc(const LICE_VectorSurface& s, float cx, float cy, float r, float start,
                                          float end, LICE_PixelValue color, float alpha, bool aa, int depth)
{
  LICE_ClipBox box{0, 0, s.w, s.h};
  const float span = end - start;
  if (span > kPi && span < kTwoPi && depth < kMaxSplitDepth)
  {
    // At 0 or pi where that point lies inside the arc (always so for a start
    // from -pi and an end up to 2pi); elsewhere, where splitting there
    // would hand on an arc of the same kind for ever, at the middle.
    float m = start < 0 ? 0.0f : kPi;
    if (!(start < m && m < end))
      m = start + span * 0.5f;
    DrawArc(s, cx, cy, r, start, m, color, alpha, aa, depth + 1);
    DrawArc(s, cx, cy, r, m, end, color, alpha, aa, depth + 1);
    return;
  }
  if (span >= kTwoPi)
  {
    const bool clip = LICE_CircleNeedsClip(cx, cy, r, s.w, s.h);
    if (aa)
      DrawClippedCircleAA(s, cx, cy, r, box, color, alpha, false, clip);
    else
      DrawClippedCircle(s, cx, cy, r, box, color, alpha, false, clip);
    return;
  }

  const double st = normaliseAngle(start, false);
  const int sx = LICE_TruncCoord(std::sin(st) * r + cx), sy = LICE_TruncCoord(cy - std::cos(st) * r);
  if (st < kEps)
    box.left = std::max(box.left, sx);
  if (st < kPiF / 2 + kEps)
    box.top = std::max(box.top, sy);
  else if (st < kPiF + kEps)
    box.right = std::min(box.right, sx);
  else if (st < 3 * kPiF / 2 + kEps)
    box.bottom = std::min(box.bottom, sy);
  else
    box.left = std::max(box.left, sx);

  const double en = normaliseAngle(end, true);
  const int ex = LICE_TruncCoord(std::sin(en) * r + cx), ey = LICE_TruncCoord(cy - r * std::cos(en));
  if (en < kPiF / 2 - kEps)
    box.right = std::min(box.right, ex);
  else if (en < kPiF - kEps)
    box.bottom = std::min(box.bottom, ey);
  else if (en < 3 * kPiF / 2 - kEps)
    box.left = std::max(box.left, ex);
  else
    box.top = std::max(box.top, ey);

  if (box.left >= box.right || box.top >= box.bottom)
    return;
  if (aa)
    DrawClippedCircleAA(s, cx, cy, r, box, color, alpha, false, true);
  else
    DrawClippedCircle(s, cx, cy, r, box, color, alpha, false, true);
}

void LICE_Arc(LICE_IBitmap* bm, float cx, float cy, float r, float start, float end, LICE_PixelValue color, float alpha,
              int mode, bool aa)
{
  LICE_VectorSurface s;
  if (!LICE_GetSurface(bm, s))
    return;
  if (bm->isFlipped())
  {
    // The mirror of the arc from start to end runs from pi - end to
    // pi - start: exchanged, so that it keeps its length and direction.
    cy = float(s.h - 1) - cy;
    const float mirroredStart = kPi - end;
    end = kPi - start, start = mirroredStart;
  }
  if (!std::isfinite(start) || !std::isfinite(end) || !LICE_CircleVisible(cx, cy, r, s.w, s.h))
    return;
  LICE_WithVectorCombine(
    mode, alpha, aa, [&]<class C>() { _LICE_CircleDrawer<C>::DrawArc(s, cx, cy, r, start, end, color, alpha, aa); });
}

void LICE_RoundRect(LICE_IBitmap* bm, float x, float y, float w, float h, int cornerradius, LICE_PixelValue color,
                    float alpha, int mode, bool aa)
{
  if (!bm || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(w) || !std::isfinite(h))
    return;
  auto T = [](float v) { return LICE_TruncCoord(v); };
  float rad = float(cornerradius);
  if (rad > w * 0.5)
    rad = w * 0.5f;
  if (rad > h * 0.5)
    rad = h * 0.5f;
  rad = std::floor(rad);
  if (cornerradius <= 0 || rad < 2)
    return LICE_DrawRect(bm, T(x), T(y), T(w), T(h), color, alpha, mode);

  const float r = w + x, b = h + y;
  LICE_Line64(bm, T(x + rad), T(y), T(r - rad), T(y), color, alpha, mode, aa);
  LICE_Line64(bm, T((x + rad) - 1), T(b), T(r - rad), T(b), color, alpha, mode, aa);
  LICE_Line64(bm, T(r), T(y + rad), T(r), T(b - rad), color, alpha, mode, aa);
  LICE_Line64(bm, T(x), T((y + rad) - 1), T(x), T(b - rad), color, alpha, mode, aa);
  LICE_Arc(bm, x + rad, y + rad, rad, -1.5707964f, 0.0f, color, alpha, mode, aa);
  LICE_Arc(bm, r - rad, y + rad, rad, 0.0f, 1.5707964f, color, alpha, mode, aa);
  LICE_Arc(bm, r - rad, b - rad, rad, 1.5707964f, 3.1415927f, color, alpha, mode, aa);
  LICE_Arc(bm, x + rad, b - rad, rad, 3.1415927f, 4.712389f, color, alpha, mode, aa);
}
