// Four-channel linear gradient.

#include <algorithm>

#include "graphics/lice_blit_rows.h"
#include "graphics/lice_fixed.h"
#include "graphics/lice_gradient.h"

namespace
{

// Channel values past these bounds no longer change any operator's result
// (each has saturated), and below them the operators' int arithmetic cannot
// overflow: colours and the A source are held within +-16384, the weight
// within +-LICE_MAX_WEIGHT.
constexpr int64_t kMaxSource = 16384;

int64_t hold(int64_t v, int64_t bound)
{
  return v < -bound ? -bound : v > bound ? bound : v;
}

template <class C>
inline void gradPixel(unsigned char* d, const int64_t v[4])
{
  const int64_t a = v[3] / LICE_FIXED_ONE;
  C::doPix(d, int(hold(v[0] / LICE_FIXED_ONE, kMaxSource)), int(hold(v[1] / LICE_FIXED_ONE, kMaxSource)),
           int(hold(v[2] / LICE_FIXED_ONE, kMaxSource)), int(hold(a, kMaxSource)), int(hold(a, LICE_MAX_WEIGHT)));
}

// One row of w pixels from the running values v, which move by dx per
// pixel. When the row's end lies beyond 64 bits each pixel is solved on its
// own (the channels have long saturated there).
template <class C>
void gradRow(unsigned char* d, int w, const __int128 v0[4], const int64_t dx[4])
{
  constexpr __int128 kLimit = __int128(1) << 62;
  bool narrow = true;
  for (int c = 0; c < 4; ++c)
  {
    const __int128 end = v0[c] + __int128(w - 1) * dx[c];
    narrow = narrow && v0[c] > -kLimit && v0[c] < kLimit && end > -kLimit && end < kLimit;
  }
  if (narrow)
  {
    int64_t v[4] = {int64_t(v0[0]), int64_t(v0[1]), int64_t(v0[2]), int64_t(v0[3])};
    for (int i = 0; i < w; ++i, d += 4)
    {
      gradPixel<C>(d, v);
      for (int c = 0; c < 4; ++c)
        v[c] += dx[c];
    }
    return;
  }
  for (int i = 0; i < w; ++i, d += 4)
  {
    int64_t v[4];
    for (int c = 0; c < 4; ++c)
      v[c] = int64_t(std::clamp(v0[c] + __int128(i) * dx[c], -kLimit, kLimit));
    gradPixel<C>(d, v);
  }
}

bool prepareGradient(LICE_IBitmap* bm, int x, int y, int w, int h, const double start[4], const double xd[4],
                     const double yd[4], int mode, LICE_GradientJob& job)
{
  if (!bm || (mode & LICE_BLIT_MODE_MASK) > LICE_BLIT_MODE_HSVADJ)
    return false;
  double s[4] = {start[0], start[1], start[2], start[3]};
  for (int c = 0; c < 4; ++c)
    if (!LICE_AllFinite({s[c], xd[c], yd[c]}))
      return false;
  int64_t x0 = x, w0 = w;
  if (x0 < 0)
  {
    for (int c = 0; c < 4; ++c)
      s[c] -= double(x0) * xd[c];
    w0 += x0, x0 = 0;
  }
  const int64_t bw = bm->getWidth(), bh = bm->getHeight();
  if (x0 + w0 > bw)
    w0 = bw - x0;
  if (y < 0)
    for (int c = 0; c < 4; ++c)
      s[c] -= double(y) * yd[c];
  const int64_t y0 = std::max(y, 0), y1 = std::min<int64_t>(int64_t(y) + h, bh);
  LICE_PixelValue* bits = bm->getBits();
  if (w0 < 1 || y1 - y0 < 1 || !bits || !LICE_UsableSpan(bm) || !LICE_AllFinite({s[0], s[1], s[2], s[3]}))
    return false;

  const LICE_RowCursor row = LICE_RowAt(bm, bits, int(y0));
  job.dest = row.row + x0 * 4;
  job.dest_step = row.step;
  job.w = int(w0);
  job.h = int(y1 - y0);
  job.sel = mode & LICE_BLIT_MODE_MASK;
  for (int c = 0; c < 4; ++c)
  {
    job.v[c] = LICE_ToFixed(s[c]);
    job.dx[c] = LICE_ToFixed(xd[c]);
    job.dy[c] = LICE_ToFixed(yd[c]);
  }
  return true;
}

} // namespace

void LICE_GradientGeneric(const LICE_GradientJob& j)
{
  LICE_WithCombine(j.sel, [&]<class C>() {
    unsigned char* d = j.dest;
    for (int r = 0; r < j.h; ++r, d += j.dest_step)
    {
      const __int128 v[4] = {j.v[0] + __int128(r) * j.dy[0], j.v[1] + __int128(r) * j.dy[1],
                             j.v[2] + __int128(r) * j.dy[2], j.v[3] + __int128(r) * j.dy[3]};
      gradRow<C>(d, j.w, v, j.dx);
    }
  });
}

void LICE_GradRect(LICE_IBitmap* bm, int x, int y, int w, int h, float ir, float ig, float ib, float ia, float drdx,
                   float dgdx, float dbdx, float dadx, float drdy, float dgdy, float dbdy, float dady, int mode)
{
  // Colours 0-1 map to 0-255, alpha 0-1 to the weight 0-256.
  const double start[4] = {ir * 255.0, ig * 255.0, ib * 255.0, ia * 256.0};
  const double xd[4] = {drdx * 255.0, dgdx * 255.0, dbdx * 255.0, dadx * 256.0};
  const double yd[4] = {drdy * 255.0, dgdy * 255.0, dbdy * 255.0, dady * 256.0};
  LICE_GradientJob job;
  if (prepareGradient(bm, x, y, w, h, start, xd, yd, mode, job))
    LICE_RunGradientJob(job);
}
