// The source side of the sampling blits: addressing the clip rectangle and
// detaching it when the blit draws onto the bitmap it reads.

#include "graphics/lice_sample_blit.h"

bool LICE_PrepareSampleSource(LICE_IBitmap* src, LICE_PixelValue* bits, int clip_left, int clip_top, int clip_right,
                              int clip_bottom, const LICE_SampleTarget& target, LICE_SampleSource& out, void*& scratch)
{
  scratch = nullptr;
  if (!bits || clip_left >= clip_right || clip_top >= clip_bottom || !LICE_UsableSpan(src))
    return false;
  const LICE_RowCursor row = LICE_RowAt(src, bits, clip_top);
  out.origin = row.row + long(clip_left) * 4;
  out.step = row.step;
  out.clip_left = clip_left;
  out.clip_top = clip_top;
  out.clip_right = clip_right;
  out.clip_bottom = clip_bottom;

  const int w = clip_right - clip_left, h = clip_bottom - clip_top;
  if (!LICE_RowsOverlap(target.dest, target.dest_step, target.w, target.h, out.origin, out.step, w, h))
    return true;
  if (int64_t(w) * h > LICE_MAX_BITMAP_PIXELS)
    return false;
  auto* copy = LICE_CopyRowsPacked(out.origin, out.step, w, h);
  if (!copy)
    return false;
  scratch = copy;
  out.origin = copy;
  out.step = long(w) * 4;
  return true;
}
