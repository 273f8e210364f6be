// Scaled blit: clipping, addressing and the choice of loop. The loops are in
// lice_sample_blit.h, their fast paths in lice_sample_fast.cpp.

#include <climits>
#include <cmath>
#include <cstdlib>

#include "graphics/lice_sample_blit.h"

namespace
{

// Source rectangles within a pixel of whole: one-to-one sizes go to the
// unscaled blit. With filtering only when the position is within 0.03 of a
// whole pixel as well, compared in double: a distance of 0.03f lies below it.
bool oneToOne(int dest_w, int dest_h, float src_x, float src_y, float src_w, float src_h, int mode)
{
  if (!(std::fabs(src_w - float(dest_w)) < 0.001f && std::fabs(src_h - float(dest_h)) < 0.001f))
    return false;
  if ((mode & LICE_BLIT_FILTER_MASK) != LICE_BLIT_FILTER_BILINEAR)
    return true;
  return std::fabs(src_x - std::floor(src_x + 0.5f)) < 0.03 && std::fabs(src_y - std::floor(src_y + 0.5f)) < 0.03;
}

} // namespace

void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                     float src_y, float src_w, float src_h, float alpha, int mode)
{
  if (!dest || !src || !dest_w || !dest_h || !LICE_AlphaDraws(alpha))
    return;
  if (!LICE_AllFinite({src_x, src_y, src_w, src_h}))
    return;

  if (oneToOne(dest_w, dest_h, src_x, src_y, src_w, src_h, mode))
  {
    // A far-off position clamps to a rectangle that is still off the source.
    const int left = LICE_TruncClamp(src_x + 0.5f, INT_MIN, INT_MAX);
    const int top = LICE_TruncClamp(src_y + 0.5f, INT_MIN, INT_MAX);
    return LICE_Blit(dest, src, dest_x, dest_y, left, top, dest_w, dest_h, alpha, mode);
  }

  // Edges in 64 bits: mirroring INT_MIN or clipping far positions cannot wrap.
  int64_t dx = dest_x, dy = dest_y, dw = dest_w, dh = dest_h;
  if (dw < 0)
    dw = -dw, dx -= dw, src_x += src_w, src_w = -src_w;
  if (dh < 0)
    dh = -dh, dy -= dh, src_y += src_h, src_h = -src_h;
  const double step_x = src_w / float(dw), step_y = src_h / float(dh);
  if (dx < 0 && !LICE_ToFloat(src_x - double(dx) * step_x, src_x))
    return;
  if (dy < 0 && !LICE_ToFloat(src_y - double(dy) * step_y, src_y))
    return;
  if (dx < 0)
    dw += dx, dx = 0;
  if (dy < 0)
    dh += dy, dy = 0;
  dw = std::min<int64_t>(dw, dest->getWidth() - dx);
  dh = std::min<int64_t>(dh, dest->getHeight() - dy);
  if (dw < 1 || dh < 1)
    return;
  const float src_r = src_x + src_w, src_b = src_y + src_h;
  if (!LICE_AllFinite({src_x, src_y, src_r, src_b, step_x, step_y}) || !LICE_FixedInRange({src_x, step_x}))
    return;

  LICE_PixelValue* dbits = dest->getBits();
  if (!dbits || !LICE_UsableSpan(dest))
    return;
  const LICE_RowCursor drow = LICE_RowAt(dest, dbits, int(dy));

  LICE_ScaleJob job;
  job.dest = drow.row + dx * 4;
  job.dest_step = drow.step;
  job.w = int(dw);
  job.h = int(dh);
  job.sel = LICE_Selector(mode);
  job.alpha = alpha;
  job.ia = LICE_AlphaWeight(alpha);
  job.bilinear = (mode & LICE_BLIT_FILTER_MASK) == LICE_BLIT_FILTER_BILINEAR;
  job.filterDown = job.bilinear && step_x >= 1.7 && step_y >= 1.7;
  job.halfMix = (mode & (LICE_BLIT_USE_ALPHA | LICE_BLIT_FILTER_MASK | LICE_BLIT_MODE_MASK)) == 0 && alpha == 0.5f;
  job.factor = std::max(step_x, step_y);
  job.src_y = src_y;
  job.step_y = step_y;
  job.x0 = LICE_ToFixed(src_x);
  job.dx = LICE_ToFixed(step_x);

  const int sw = src->getWidth(), sh = src->getHeight();
  const int cl = LICE_TruncClamp(std::min(src_x, src_r), 0, sw);
  const int cr = LICE_TruncClamp(std::ceil(std::max(src_x, src_r)), 0, sw);
  const int ct = LICE_TruncClamp(std::min(src_y, src_b), 0, sh);
  const int cb = LICE_TruncClamp(std::ceil(std::max(src_y, src_b)), 0, sh);
  void* scratch = nullptr;
  if (!LICE_PrepareSampleSource(src, src->getBits(), cl, ct, cr, cb, job, job.src, scratch))
    return;
  const LICE_FixedRange xr = job.bilinear ? LICE_TruncRange(cl, cr) : LICE_FloorRange(cl, cr);
  job.cols = LICE_WalkInside(job.x0, job.dx, job.w, xr);
  if (!job.cols.empty())
    LICE_RunScaleJob(job);
  free(scratch);
}
