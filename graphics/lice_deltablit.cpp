// Delta blit: a source position walked by per-pixel and per-row deltas with
// second-order terms. Shared with the rotated and transform blits.

#include <algorithm>
#include <cstdlib>

#include "graphics/lice_sample_blit.h"

void LICE_DeltaSourceClip(LICE_IBitmap* src, float src_x, float src_y, float src_w, float src_h,
                          bool keep_in_source_rect, LICE_DeltaArgs& a)
{
  const int w = src->getWidth(), h = src->getHeight();
  a.clip_left = a.clip_top = 0;
  a.clip_right = w;
  a.clip_bottom = h;
  if (!keep_in_source_rect)
    return;
  // Ends beyond the source clamp to its edges; a rectangle off the source
  // leaves an empty clip, which draws nothing.
  a.clip_left = LICE_TruncClamp(std::max(src_x, 0.0f), 0, w);
  a.clip_top = LICE_TruncClamp(std::max(src_y, 0.0f), 0, h);
  a.clip_right = LICE_TruncClamp(std::min(src_x + src_w, float(w)), 0, w);
  a.clip_bottom = LICE_TruncClamp(std::min(src_y + src_h, float(h)), 0, h);
}

void LICE_RunDeltaBlit(LICE_IBitmap* dest, LICE_IBitmap* src, LICE_DeltaArgs a)
{
  if (!LICE_AlphaDraws(a.alpha))
    return;
  if (a.dest_x < 0)
  {
    a.dest_w += a.dest_x;
    a.sx -= a.dsx * double(a.dest_x);
    a.sy -= a.dsy * double(a.dest_x);
    a.dest_x = 0;
  }
  if (a.dest_y < 0)
  {
    a.dest_h += a.dest_y;
    a.sx -= a.rsx * double(a.dest_y);
    a.sy -= a.rsy * double(a.dest_y);
    a.dest_y = 0;
  }
  a.dest_w = std::min<int64_t>(a.dest_w, dest->getWidth() - a.dest_x);
  a.dest_h = std::min<int64_t>(a.dest_h, dest->getHeight() - a.dest_y);
  if (a.dest_w < 1 || a.dest_h < 1)
    return;
  if (!LICE_FixedInRange({a.sx, a.sy, a.dsx, a.dsy, a.rsx, a.rsy, a.ddsx, a.ddsy}))
    return;

  LICE_PixelValue* dbits = dest->getBits();
  if (!dbits || !LICE_UsableSpan(dest))
    return;
  const LICE_RowCursor drow = LICE_RowAt(dest, dbits, int(a.dest_y));

  LICE_DeltaJob job;
  job.dest = drow.row + a.dest_x * 4;
  job.dest_step = drow.step;
  job.w = int(a.dest_w);
  job.h = int(a.dest_h);
  job.sel = LICE_Selector(a.mode);
  job.alpha = a.alpha;
  job.ia = LICE_AlphaWeight(a.alpha);
  job.bilinear = (a.mode & LICE_BLIT_FILTER_MASK) == LICE_BLIT_FILTER_BILINEAR;
  job.sx = LICE_ToFixed(a.sx);
  job.sy = LICE_ToFixed(a.sy);
  job.dsx = LICE_ToFixed(a.dsx);
  job.dsy = LICE_ToFixed(a.dsy);
  job.rsx = LICE_ToFixed(a.rsx);
  job.rsy = LICE_ToFixed(a.rsy);
  job.ddsx = LICE_ToFixed(a.ddsx);
  job.ddsy = LICE_ToFixed(a.ddsy);
  void* scratch = nullptr;
  if (!LICE_PrepareSampleSource(src, src->getBits(), a.clip_left, a.clip_top, a.clip_right, a.clip_bottom, job, job.src,
                                scratch))
    return;
  LICE_RunDeltaJob(job);
  free(scratch);
}

void LICE_DeltaBlit64(LICE_IBitmap* dest, LICE_IBitmap* src, int64_t dest_x, int64_t dest_y, int64_t dest_w,
                      int64_t dest_h, float src_x, float src_y, float src_w, float src_h, double sx_step,
                      double sy_step, double row_sx_step, double row_sy_step, double sx_step_change,
                      double sy_step_change, bool keep_in_source_rect, float alpha, int mode)
{
  if (!dest || !src || !dest_w || !dest_h)
    return;
  if (!LICE_AllFinite({src_x, src_y, src_w, src_h}))
    return;
  LICE_DeltaArgs a;
  LICE_DeltaSourceClip(src, src_x, src_y, src_w, src_h, keep_in_source_rect, a);
  // Mirroring moves only the start: the caller's deltas set the direction.
  float sx = src_x, sy = src_y;
  if (dest_w < 0)
    dest_w = -dest_w, dest_x -= dest_w, sx = src_x + src_w;
  if (dest_h < 0)
    dest_h = -dest_h, dest_y -= dest_h, sy = src_y + src_h;
  a.dest_x = dest_x, a.dest_y = dest_y, a.dest_w = dest_w, a.dest_h = dest_h;
  a.sx = sx, a.sy = sy;
  a.dsx = sx_step, a.dsy = sy_step, a.rsx = row_sx_step, a.rsy = row_sy_step;
  a.ddsx = sx_step_change, a.ddsy = sy_step_change;
  a.alpha = alpha;
  a.mode = mode;
  LICE_RunDeltaBlit(dest, src, a);
}

void LICE_DeltaBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                    float src_y, float src_w, float src_h, double sx_step, double sy_step, double row_sx_step,
                    double row_sy_step, double sx_step_change, double sy_step_change, bool keep_in_source_rect,
                    float alpha, int mode)
{
  LICE_DeltaBlit64(dest, src, dest_x, dest_y, dest_w, dest_h, src_x, src_y, src_w, src_h, sx_step, sy_step, row_sx_step,
                   row_sy_step, sx_step_change, sy_step_change, keep_in_source_rect, alpha, mode);
}
