#pragma once
// Loops of the sampling blits (scaled, rotated, delta), after clipping: each
// destination pixel maps back to a source position and the operator merges
// the sampled colour in. `_LICE_Template_Blit<Combine>` holds one loop per
// sampling scheme, so each (loop, operator) pair compiles on its own.
//
// Positions are 16.16 in 64 bits. Before a row runs, its walk is solved for
// the pixels that can sample inside the source clip (LICE_WalkInside), so
// the loops never see a position far enough out to overflow, and pixels
// outside that span are untouched, as they would be anyway.

#include "graphics/lice_blit_rows.h"
#include "graphics/lice_filter.h"
#include "graphics/lice_fixed.h"

// The part of the source a sampling blit may read: the clip rectangle
// [clip_left, clip_right) x [clip_top, clip_bottom), never empty.
struct LICE_SampleSource
{
  const unsigned char* origin = nullptr; // pixel (clip_left, clip_top)
  long step = 0;                         // bytes from one row to the next
  int clip_left = 0, clip_top = 0, clip_right = 0, clip_bottom = 0;

  const unsigned char* at(int64_t x, int64_t y) const
  {
    return origin + long(y - clip_top) * step + long(x - clip_left) * 4;
  }
};

// Destination area and operator of a sampling blit.
struct LICE_SampleTarget
{
  unsigned char* dest = nullptr; // first destination pixel
  long dest_step = 0;
  int w = 0, h = 0;
  int sel = 0; // operator selector (LICE_Selector)
  int ia = 0;
  float alpha = 0;
  bool bilinear = false;
};

// The scaled blit: rows at the double position src_y + row * step_y
// (accumulated), columns at the fixed position x0 + i * dx.
struct LICE_ScaleJob : LICE_SampleTarget
{
  LICE_SampleSource src;
  double src_y = 0, step_y = 0;
  int64_t x0 = 0, dx = 0;
  LICE_StepSpan cols;      // columns whose x falls inside the clip
  bool filterDown = false; // radial kernel instead of bilinear
  bool halfMix = false;    // nearest copy at alpha 0.5: whole-pixel shift mix
  double factor = 0;       // filter-down: max(step_x, step_y)
};

// The delta blit: pixel i of row r samples
// (sx + r * rsx + i * (dsx + r * ddsx), sy + r * rsy + i * (dsy + r * ddsy)).
struct LICE_DeltaJob : LICE_SampleTarget
{
  LICE_SampleSource src;
  int64_t sx = 0, sy = 0, dsx = 0, dsy = 0, rsx = 0, rsy = 0, ddsx = 0, ddsy = 0;
};

// Calls f.template operator()<C>() with the operator of a sampling blit:
// copy at alpha 1.0 stores the sample (Clobber), copy at negative alpha
// draws nothing, source-alpha copy at 1.0 ignores the alpha. False when the
// selector names no operator.
template <class F>
static inline bool LICE_WithSampleCombine(int sel, float alpha, F&& f)
{
  if (sel == 0 && alpha == 1.0f)
    return f.template operator()<_LICE_CombinePixelsClobber>(), true;
  if (sel == 0 && alpha < 0.0f)
    return false;
  if (sel == LICE_BLIT_USE_ALPHA && alpha == 1.0f)
    return f.template operator()<_LICE_CombinePixelsCopySourceAlphaIngoreAlphaParm>(), true;
  return LICE_WithCombine(sel, f);
}

// Sampled colour passed on to the operator.
struct LICE_Sample
{
  int r, g, b, a;
};

// Bilinear sample at (x, y) with fractions fx, fy. The last clip column
// blends only vertically, the last row only horizontally, and the
// bottom-right pixel is read as it is.
static inline LICE_Sample LICE_BilinearAt(const LICE_SampleSource& s, int64_t x, int64_t y, int fx, int fy)
{
  LICE_Sample c;
  const unsigned char* p = s.at(x, y);
  const bool lastCol = x == s.clip_right - 1;
  if (y < s.clip_bottom - 1)
  {
    const unsigned char* below = p + s.step;
    if (!lastCol)
      __LICE_BilinearFilterI(&c.r, &c.g, &c.b, &c.a, p, below, fx, fy);
    else
      __LICE_LinearFilterI(&c.r, &c.g, &c.b, &c.a, p, below, fy);
  }
  else if (!lastCol)
  {
    __LICE_LinearFilterI(&c.r, &c.g, &c.b, &c.a, p, p + 4, fx);
  }
  else
  {
    c = {p[1], p[2], p[3], p[0]};
  }
  return c;
}

template <class Combine>
class _LICE_Template_Blit
{
public:
  static void scaleBlit(const LICE_ScaleJob& j);
  static void scaleBlitFilterDown(const LICE_ScaleJob& j);
  static void deltaBlit(const LICE_DeltaJob& j);

private:
  template <bool Bilinear>
  static void deltaRows(const LICE_DeltaJob& j);
};

// Integer source row of the scaled blit's double position (truncated), or
// false when it lies outside the clip.
static inline bool LICE_ScaleRow(const LICE_SampleSource& s, double cury, int& y)
{
  if (!(cury > -1.0 && cury < s.clip_bottom))
    return false;
  y = int(cury);
  return y >= s.clip_top;
}

// Bilinear fraction of the scaled blit's row position cury, whose row is y.
// Rows between -1 and 0 truncate to row 0 with a negative fraction, held at
// 0 as on the horizontal axis (LICE_FixedHeld).
static inline int LICE_RowFraction(double cury, int y)
{
  const int fy = int((cury - y) * 65536.0);
  return fy < 0 ? 0 : fy > 65535 ? 65535 : fy;
}

// Calls row(d, pos, y, cury) for each destination row of the scaled blit
// whose source row lies inside the clip: d at the row's first sampling
// column, pos that column's fixed-point x.
template <class Row>
static inline void LICE_ForEachScaleRow(const LICE_ScaleJob& j, Row row)
{
  const int64_t pos = int64_t(j.x0 + __int128(j.cols.first) * j.dx);
  double cury = j.src_y;
  unsigned char* d = j.dest + j.cols.first * 4;
  for (int r = 0; r < j.h; ++r, cury += j.step_y, d += j.dest_step)
  {
    int y;
    if (LICE_ScaleRow(j.src, cury, y))
      row(d, pos, y, cury);
  }
}

template <class Combine>
void _LICE_Template_Blit<Combine>::scaleBlit(const LICE_ScaleJob& j)
{
  const LICE_SampleSource& s = j.src;
  const int n = j.cols.last - j.cols.first, ia = j.ia;
  const int64_t dx = j.dx;
  LICE_ForEachScaleRow(j, [&](unsigned char* d, int64_t pos, int y, double cury) {
    if (!j.bilinear)
    {
      const unsigned char* srow = s.at(s.clip_left, y);
      for (int i = 0; i < n; ++i, pos += dx, d += 4)
      {
        const unsigned char* p = srow + ((pos >> 16) - s.clip_left) * 4;
        Combine::doPix(d, p[1], p[2], p[3], p[0], ia);
      }
      return;
    }
    const int fy = LICE_RowFraction(cury, y);
    for (int i = 0; i < n; ++i, pos += dx, d += 4)
    {
      const int64_t p = LICE_FixedHeld(pos);
      const LICE_Sample c = LICE_BilinearAt(s, p >> 16, y, int(p & 0xffff), fy);
      Combine::doPix(d, c.r, c.g, c.b, c.a, ia);
    }
  });
}

// Radial kernel of the filter-down loop: n x n 16.16 weights, 65536 in the
// centre and (factor - 1) / distance elsewhere, held within 0-65536.
struct LICE_FilterKernel
{
  int n = 3;
  int w[5][5] = {};
  int total = 0; // of all n x n weights

  explicit LICE_FilterKernel(double factor)
  {
    n = factor > 3.0 ? 5 : 3;
    const int half = n / 2;
    for (int r = 0; r < n; ++r)
      for (int c = 0; c < n; ++c)
      {
        const int i = c - half, k = r - half;
        if (!i && !k)
        {
          w[r][c] = 65536;
        }
        else
        {
          const double q = (factor - 1.0) / std::sqrt(double(i * i + k * k));
          w[r][c] = q < 0 ? 0 : q > 1.0 ? 65536 : int(q * 65536.0);
        }
        total += w[r][c];
      }
  }
};

// The filter-down sample at (x, y): the kernel's weighted mean over its
// cells inside the clip, passed to the operator; untouched when those cells
// weigh nothing.
template <class Combine>
static inline void LICE_FilterDownPixel(unsigned char* d, const LICE_SampleSource& s, const LICE_FilterKernel& k,
                                        int64_t x, int y, int ia)
{
  const int half = k.n / 2;
  int sum[4] = {}, total = 0;
  for (int r = 0; r < k.n; ++r)
  {
    const int64_t sy = y - half + r;
    if (sy < s.clip_top || sy >= s.clip_bottom)
      continue;
    for (int c = 0; c < k.n; ++c)
    {
      const int64_t sx = x - half + c;
      if (sx < s.clip_left || sx >= s.clip_right)
        continue;
      const unsigned char* p = s.at(sx, sy);
      const int wt = k.w[r][c];
      for (int ch = 0; ch < 4; ++ch)
        sum[ch] += p[ch] * wt;
      total += wt;
    }
  }
  if (total > 0)
    Combine::doPix(d, sum[1] / total, sum[2] / total, sum[3] / total, sum[0] / total, ia);
}

template <class Combine>
void _LICE_Template_Blit<Combine>::scaleBlitFilterDown(const LICE_ScaleJob& j)
{
  const LICE_SampleSource& s = j.src;
  const LICE_FilterKernel k(j.factor);
  const int n = j.cols.last - j.cols.first;
  const int64_t dx = j.dx;
  LICE_ForEachScaleRow(j, [&](unsigned char* d, int64_t pos, int y, double) {
    for (int i = 0; i < n; ++i, pos += dx, d += 4)
      LICE_FilterDownPixel<Combine>(d, s, k, LICE_FixedTrunc(pos), y, j.ia);
  });
}

template <class Combine>
void _LICE_Template_Blit<Combine>::deltaBlit(const LICE_DeltaJob& j)
{
  if (j.bilinear)
    deltaRows<true>(j);
  else
    deltaRows<false>(j);
}

template <class Combine>
template <bool Bilinear>
void _LICE_Template_Blit<Combine>::deltaRows(const LICE_DeltaJob& j)
{
  const LICE_SampleSource& s = j.src;
  const LICE_FixedRange xr = LICE_TruncRange(s.clip_left, s.clip_right);
  const LICE_FixedRange yr = LICE_TruncRange(s.clip_top, s.clip_bottom);
  unsigned char* drow = j.dest;
  for (int row = 0; row < j.h; ++row, drow += j.dest_step)
  {
    const __int128 rx = j.sx + __int128(row) * j.rsx, ry = j.sy + __int128(row) * j.rsy;
    const __int128 dx = j.dsx + __int128(row) * j.ddsx, dy = j.dsy + __int128(row) * j.ddsy;
    const LICE_StepSpan span = LICE_Intersect(LICE_WalkInside(rx, dx, j.w, xr), LICE_WalkInside(ry, dy, j.w, yr));
    if (span.empty())
      continue;
    // Inside the span every position is a source pixel, and so is each step
    // between two of them.
    const bool several = span.last - span.first > 1;
    const int64_t stepx = several ? int64_t(dx) : 0, stepy = several ? int64_t(dy) : 0;
    int64_t cx = int64_t(rx + span.first * dx), cy = int64_t(ry + span.first * dy);
    unsigned char* d = drow + span.first * 4;
    for (int i = span.first; i < span.last; ++i, cx += stepx, cy += stepy, d += 4)
    {
      const int64_t px = LICE_FixedHeld(cx), py = LICE_FixedHeld(cy);
      if constexpr (Bilinear)
      {
        const LICE_Sample c = LICE_BilinearAt(s, px >> 16, py >> 16, int(px & 0xffff), int(py & 0xffff));
        Combine::doPix(d, c.r, c.g, c.b, c.a, j.ia);
      }
      else
      {
        const unsigned char* p = s.at(px >> 16, py >> 16);
        Combine::doPix(d, p[1], p[2], p[3], p[0], j.ia);
      }
    }
  }
}

// Prepares the source of a sampling blit: the clip rectangle must be non-empty
// and inside src. When the destination area shares memory with the clip, the
// clip is read from a packed copy, returned in scratch for the caller to
// free. False when there is nothing to draw or no memory for the copy.
bool LICE_PrepareSampleSource(LICE_IBitmap* src, LICE_PixelValue* bits, int clip_left, int clip_top, int clip_right,
                              int clip_bottom, const LICE_SampleTarget& target, LICE_SampleSource& out, void*& scratch);

// A delta blit after mirroring: destination area (64-bit edges), start
// point and the six deltas in source pixels, and the source clip.
struct LICE_DeltaArgs
{
  int64_t dest_x = 0, dest_y = 0, dest_w = 0, dest_h = 0;
  double sx = 0, sy = 0, dsx = 0, dsy = 0, rsx = 0, rsy = 0, ddsx = 0, ddsy = 0;
  int clip_left = 0, clip_top = 0, clip_right = 0, clip_bottom = 0;
  float alpha = 0;
  int mode = 0;
};

// Source clip of the rotated and delta blits: the whole source, or with
// keep_in_source_rect the source rectangle cut to it.
void LICE_DeltaSourceClip(LICE_IBitmap* src, float src_x, float src_y, float src_w, float src_h,
                          bool keep_in_source_rect, LICE_DeltaArgs& a);

// Clips the destination (moving the start point along), then runs the delta
// loop. Non-finite values draw nothing.
void LICE_RunDeltaBlit(LICE_IBitmap* dest, LICE_IBitmap* src, LICE_DeltaArgs a);

// The delta blit with 64-bit destination edges, as the transform blit's
// cells need them.
void LICE_DeltaBlit64(LICE_IBitmap* dest, LICE_IBitmap* src, int64_t dest_x, int64_t dest_y, int64_t dest_w,
                      int64_t dest_h, float src_x, float src_y, float src_w, float src_h, double sx_step,
                      double sy_step, double row_sx_step, double row_sy_step, double sx_step_change,
                      double sy_step_change, bool keep_in_source_rect, float alpha, int mode);

// The scaled and delta loops and their fast paths (lice_sample_fast.cpp).
extern const LICE_FastPath<LICE_ScaleJob> g_liceScalePaths[];
extern const int g_liceScalePathCount;
extern const LICE_FastPath<LICE_DeltaJob> g_liceDeltaPaths[];
extern const int g_liceDeltaPathCount;
const char* LICE_RunScaleJob(const LICE_ScaleJob& job);
const char* LICE_RunDeltaJob(const LICE_DeltaJob& job);
