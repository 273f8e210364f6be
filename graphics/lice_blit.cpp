// Unscaled blit and copy: clipping, addressing and dispatch. The row loops
// are in lice_blit_fast.cpp.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "graphics/lice_blit_rows.h"

namespace
{

// Channel copy (mode 0xF0-0xFF): destination byte (mode >> 2) & 3 takes
// source byte mode & 3; alpha plays no part.
void channelCopyRows(const LICE_BlitJob& j, int mode)
{
  const int to = (mode >> 2) & 3, from = mode & 3;
  for (int y = 0; y < j.h; ++y)
  {
    unsigned char* d = j.dest + y * j.dest_step;
    const unsigned char* s = j.src + y * j.src_step;
    for (int x = 0; x < j.w; ++x)
      d[x * 4 + to] = s[x * 4 + from];
  }
}

} // namespace

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, RECT* src_rect, float alpha, int mode)
{
  if (!dest || !src || !LICE_AlphaDraws(alpha))
    return;

  // All edge arithmetic in 64 bits, so extreme positions and sizes clip
  // instead of wrapping.
  const int64_t src_w = src->getWidth(), src_h = src->getHeight();
  int64_t left = 0, top = 0, right = src_w, bottom = src_h;
  if (src_rect)
  {
    left = std::max<int64_t>(src_rect->left, 0);
    top = std::max<int64_t>(src_rect->top, 0);
    right = std::min<int64_t>(src_rect->right, src_w);
    bottom = std::min<int64_t>(src_rect->bottom, src_h);
  }
  int64_t dx = dest_x, dy = dest_y;
  if (dx < 0)
    left -= dx, dx = 0;
  if (dy < 0)
    top -= dy, dy = 0;
  const int64_t dest_w = dest->getWidth(), dest_h = dest->getHeight();
  if (dx + (right - left) > dest_w)
    right = left + dest_w - dx;
  if (dy + (bottom - top) > dest_h)
    bottom = top + dest_h - dy;
  if (left >= right || top >= bottom)
    return;

  LICE_PixelValue* dbits = dest->getBits();
  LICE_PixelValue* sbits = src->getBits();
  if (!dbits || !sbits || !LICE_UsableSpan(dest) || !LICE_UsableSpan(src))
    return;

  const LICE_RowCursor d = LICE_RowAt(dest, dbits, int(dy));
  const LICE_RowCursor s = LICE_RowAt(src, sbits, int(top));
  LICE_BlitJob job;
  job.dest = d.row + dx * 4;
  job.dest_step = d.step;
  job.src = s.row + left * 4;
  job.src_step = s.step;
  job.w = int(right - left);
  job.h = int(bottom - top);
  job.sel = LICE_Selector(mode);
  job.alpha = alpha;
  job.ia = LICE_AlphaWeight(alpha);

  const bool channelCopy = (mode & LICE_BLIT_MODE_MASK) >= LICE_BLIT_MODE_CHANCOPY;
  unsigned char* scratch = nullptr;
  if (LICE_RowsOverlap(job.dest, job.dest_step, job.w, job.h, job.src, job.src_step, job.w, job.h))
  {
    if (!(scratch = LICE_CopyRowsPacked(job.src, job.src_step, job.w, job.h)))
      return;
    job.src = scratch;
    job.src_step = long(job.w) * 4;
  }
  if (channelCopy)
    channelCopyRows(job, mode);
  else
    LICE_RunBlitJob(job);
  free(scratch);
}

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int src_x, int src_y, int src_w,
               int src_h, float alpha, int mode)
{
  // Far edges past INT_MAX are held there: the source width clips them anyway.
  auto edge = [](int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); };
  RECT r = {src_x, src_y, edge(int64_t(src_x) + src_w), edge(int64_t(src_y) + src_h)};
  LICE_Blit(dest, src, dest_x, dest_y, &r, alpha, mode);
}

void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src)
{
  if (!dest || !src)
    return;
  dest->resize(src->getWidth(), src->getHeight());
  LICE_Blit(dest, src, 0, 0, nullptr, 1.0f, 0);
}
