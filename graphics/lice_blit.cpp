// Unscaled blit and copy: clipping, addressing and dispatch. The row loops
// are in lice_blit_fast.cpp.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "graphics/lice_blit_rows.h"

namespace {

// Channel copy (mode 0xF0-0xFF): destination byte (mode >> 2) & 3 takes
// source byte mode & 3; alpha plays no part.
void channelCopyRows(const LICE_BlitJob& j, int mode)
{
  const int to = (mode >> 2) & 3, from = mode & 3;
  for (int y = 0; y < j.h; ++y) {
    unsigned char* d = j.dest + y * j.dest_step;
    const unsigned char* s = j.src + y * j.src_step;
    for (int x = 0; x < j.w; ++x) d[x * 4 + to] = s[x * 4 + from];
  }
}

// Lowest and one-past-highest byte addresses touched by h rows of w pixels.
void rowsExtent(const unsigned char* first, long step, int w, int h, uintptr_t& lo, uintptr_t& hi)
{
  const uintptr_t a = reinterpret_cast<uintptr_t>(first);
  const uintptr_t b = reinterpret_cast<uintptr_t>(first + long(h - 1) * step);
  lo = std::min(a, b);
  hi = std::max(a, b) + uintptr_t(w) * 4;
}

bool overlaps(const LICE_BlitJob& j)
{
  uintptr_t slo, shi, dlo, dhi;
  rowsExtent(j.src, j.src_step, j.w, j.h, slo, shi);
  rowsExtent(j.dest, j.dest_step, j.w, j.h, dlo, dhi);
  return slo < dhi && dlo < shi;
}

// Copies the source rows to packed scratch memory so that a blit within one
// bitmap reads the picture as it was before the call. Null when out of
// memory.
unsigned char* detachSource(LICE_BlitJob& j)
{
  const size_t row = size_t(j.w) * 4;
  auto* copy = static_cast<unsigned char*>(malloc(row * size_t(j.h)));
  if (!copy) return nullptr;
  for (int y = 0; y < j.h; ++y) memcpy(copy + row * y, j.src + y * j.src_step, row);
  j.src = copy;
  j.src_step = long(row);
  return copy;
}

// Rows of a bitmap whose span is shorter than its width would run into each
// other or past the buffer; such a bitmap draws nothing.
bool usableSpan(LICE_IBitmap* bm)
{
  return bm->getRowSpan() >= bm->getWidth();
}

}  // namespace

void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, RECT* src_rect, float alpha,
               int mode)
{
  if (!dest || !src || !LICE_AlphaDraws(alpha)) return;

  // All edge arithmetic in 64 bits, so extreme positions and sizes clip
  // instead of wrapping.
  const int64_t src_w = src->getWidth(), src_h = src->getHeight();
  int64_t left = 0, top = 0, right = src_w, bottom = src_h;
  if (src_rect) {
    left = std::max<int64_t>(src_rect->left, 0);
    top = std::max<int64_t>(src_rect->top, 0);
    right = std::min<int64_t>(src_rect->right, src_w);
    bottom = std::min<int64_t>(src_rect->bottom, src_h);
  }
  int64_t dx = dest_x, dy = dest_y;
  if (dx < 0) left -= dx, dx = 0;
  if (dy < 0) top -= dy, dy = 0;
  const int64_t dest_w = dest->getWidth(), dest_h = dest->getHeight();
  if (dx + (right - left) > dest_w) right = left + dest_w - dx;
  if (dy + (bottom - top) > dest_h) bottom = top + dest_h - dy;
  if (left >= right || top >= bottom) return;

  LICE_PixelValue* dbits = dest->getBits();
  LICE_PixelValue* sbits = src->getBits();
  if (!dbits || !sbits || !usableSpan(dest) || !usableSpan(src)) return;

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
  if (overlaps(job) && !(scratch = detachSource(job))) return;
  if (channelCopy) channelCopyRows(job, mode);
  else LICE_RunBlitJob(job);
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
  if (!dest || !src) return;
  dest->resize(src->getWidth(), src->getHeight());
  LICE_Blit(dest, src, 0, 0, nullptr, 1.0f, 0);
}
