#pragma once
// Shared by the vector drawing units (lines, curves, circles, arcs); not part
// of the public interface.
//
// Vector drawing addresses the buffer directly: pixel (x, y) is word
// y * span + x. Entry points that honour isFlipped() mirror y before they
// clip, so nothing below mirrors again.

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include <type_traits>
#include <cwchar>

#include "graphics/lice_blit_rows.h"

// A bitmap's pixels as the drawers see them.
struct LICE_VectorSurface
{
  LICE_PixelValue* bits = nullptr;
  int w = 0;
  int h = 0;
  long span = 0; // pixels

  LICE_PixelValue* at(int x, int y) const { return bits + long(y) * span + x; }
  unsigned char* bytes(int x, int y) const { return reinterpret_cast<unsigned char*>(at(x, y)); }
  bool inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < w && y < h; }
};

// False for a null bitmap, missing pixels, an empty size or a span shorter
// than the width: such bitmaps draw nothing.
static inline bool LICE_GetSurface(LICE_IBitmap* bm, LICE_VectorSurface& s)
{
  if (!bm)
    return false;
  s.bits = bm->getBits();
  s.w = bm->getWidth();
  s.h = bm->getHeight();
  s.span = bm->getRowSpan();
  return s.bits && s.w > 0 && s.h > 0 && s.span >= s.w;
}

// Coordinates are held within +-LICE_COORD_MAX: beyond every bitmap (at most
// 2^28 pixels a side), and sums or differences of two of them fit an int.
constexpr int LICE_COORD_MAX = (1 << 30) - 1;

// trunc(v) as a pixel coordinate, held within +-LICE_COORD_MAX; NaN lands
// outside every bitmap. The one float-to-coordinate rule of vector drawing.
static inline int LICE_TruncCoord(double v)
{
  if (!(v > -LICE_COORD_MAX))
    return -LICE_COORD_MAX;
  if (v > LICE_COORD_MAX)
    return LICE_COORD_MAX;
  return static_cast<int>(v);
}

// trunc(v) as a weight, held within +-LICE_MAX_WEIGHT; NaN gives 0.
static inline int LICE_TruncWeight(double v)
{
  if (!(v == v))
    return 0;
  if (v >= LICE_MAX_WEIGHT)
    return LICE_MAX_WEIGHT;
  if (v <= -LICE_MAX_WEIGHT)
    return -LICE_MAX_WEIGHT;
  return static_cast<int>(v);
}

// Weight of plotted curve points, circles and arcs: trunc(alpha * 255), the
// product in single precision.
static inline int LICE_PointWeight(float alpha)
{
  return LICE_TruncWeight(alpha * 255.0f);
}

// The colour unpacked once per primitive into the operators' arguments.
struct LICE_VectorColor
{
  int r, g, b, a;
  LICE_PixelValue packed;
  explicit LICE_VectorColor(LICE_PixelValue c)
    : r(int((c >> 8) & 0xff)), g(int((c >> 16) & 0xff)), b(int((c >> 24) & 0xff)), a(int(c & 0xff)), packed(c)
  {
  }
};

template <class Combine>
static inline void LICE_VectorPix(unsigned char* p, const LICE_VectorColor& c, int weight)
{
  Combine::doPix(p, c.r, c.g, c.b, c.a, weight);
}

// n > 0 pixels of one row from p. Stores and weighted copies of longer runs
// go through the fill's row code; the result is that of LICE_VectorPix on
// each pixel.
template <class Combine>
static inline void LICE_VectorSpan(unsigned char* p, int n, const LICE_VectorColor& c, int weight)
{
  static_assert(sizeof(wchar_t) == sizeof(LICE_PixelValue));
  if constexpr (std::is_same_v<Combine, _LICE_CombinePixelsClobber>)
  {
    wchar_t v;
    memcpy(&v, &c.packed, sizeof v);
    wmemset(reinterpret_cast<wchar_t*>(p), v, size_t(n));
    return;
  }
  else if constexpr (std::is_same_v<Combine, _LICE_CombinePixelsCopy>)
  {
    if (n >= 8 && weight > 0 && weight <= 256)
    {
      LICE_FillJob job;
      job.dest = p, job.w = n, job.h = 1, job.ia = weight, job.color = c.packed;
      return LICE_RunWeightedCopyFill(job);
    }
  }
  for (int i = 0; i < n; ++i, p += 4)
    LICE_VectorPix<Combine>(p, c, weight);
}

// Calls f.template operator()<Combine>() with the combine class of a vector
// primitive. Only the mode's low byte counts (no source-alpha or filter
// variants). Mode 0 without anti-aliasing stores at alpha 1.0 and takes the
// exact half mix at 0.5; other positive alphas, 0.25 and 0.75 included, use
// the weighted copy. False when nothing is drawn: alpha 0 or NaN, an unknown
// mode, or a copy at negative alpha.
template <class F>
static inline bool LICE_WithVectorCombine(int mode, float alpha, bool aa, F&& f)
{
  if (!LICE_AlphaDraws(alpha))
    return false;
  const int sel = mode & LICE_BLIT_MODE_MASK;
  if (sel == 0)
  {
    if (!(alpha > 0.0f))
      return false;
    if (!aa && alpha == 1.0f)
    {
      f.template operator()<_LICE_CombinePixelsClobber>();
      return true;
    }
    if (!aa && alpha == 0.5f)
    {
      f.template operator()<_LICE_CombinePixelsHalfMix>();
      return true;
    }
  }
  return LICE_WithCombine(sel, f);
}

// Cohen-Sutherland clip of an integer line to [0, w) x [0, h), in 64 bits so
// that any int input (also after a flip) clips without overflow. p holds
// x1, y1, x2, y2. False when nothing of the line is inside.
bool LICE_ClipLine64(int64_t p[4], int64_t w, int64_t h);
bool ClipLine(int* x1, int* y1, int* x2, int* y2, int w, int h);

// The float line clip: outcodes from truncated coordinates. False when the
// line misses the bitmap, an input or a crossing is not finite, or the clip
// does not settle.
bool ClipFLine(float* x1, float* y1, float* x2, float* y2, int w, int h);

// Integer line between clipped or unclipped 64-bit ends (the rectangle and
// rounded-rectangle helpers pass sums that may pass the int range).
void LICE_Line64(LICE_IBitmap* bm, int64_t x1, int64_t y1, int64_t x2, int64_t y2, LICE_PixelValue color, float alpha,
                 int mode, bool aa);
