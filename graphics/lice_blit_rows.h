#pragma once
// Row loops of the unscaled blit and the rectangle fill, after clipping.
// The entry points clip once; everything here assumes valid, non-overlapping
// ranges.

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "graphics/lice_dispatch.h"
#include "graphics/lice_fastpath.h"

// An unscaled blit of w x h pixels. Row steps are in bytes and negative for
// flipped bitmaps.
struct LICE_BlitJob
{
  unsigned char* dest = nullptr;
  const unsigned char* src = nullptr;
  long dest_step = 0;
  long src_step = 0;
  int w = 0;
  int h = 0;
  int sel = 0; // operator selector (LICE_Selector)
  int ia = 0;  // integer weight
  float alpha = 0;
};

// A fill of w x h pixels with one colour.
struct LICE_FillJob
{
  unsigned char* dest = nullptr;
  long dest_step = 0;
  int w = 0;
  int h = 0;
  int sel = 0; // low byte of the mode only
  int ia = 0;
  float alpha = 0;
  LICE_PixelValue color = 0;
};

// True when h rows of w pixels from a (rows step bytes apart) share memory
// with those from b.
static inline bool LICE_RowsOverlap(const unsigned char* a, long astep, int aw, int ah, const unsigned char* b,
                                    long bstep, int bw, int bh)
{
  auto extent = [](const unsigned char* first, long step, int w, int h, uintptr_t& lo, uintptr_t& hi) {
    const uintptr_t p = reinterpret_cast<uintptr_t>(first);
    const uintptr_t q = reinterpret_cast<uintptr_t>(first + long(h - 1) * step);
    lo = std::min(p, q);
    hi = std::max(p, q) + uintptr_t(w) * 4;
  };
  uintptr_t alo, ahi, blo, bhi;
  extent(a, astep, aw, ah, alo, ahi);
  extent(b, bstep, bw, bh, blo, bhi);
  return alo < bhi && blo < ahi;
}

// h rows of w pixels copied to one packed malloc'd block (rows w * 4 bytes
// apart), so that a drawing within one bitmap reads the picture as it was
// before the call. Null when out of memory.
static inline unsigned char* LICE_CopyRowsPacked(const unsigned char* first, long step, int w, int h)
{
  const size_t row = size_t(w) * 4;
  auto* copy = static_cast<unsigned char*>(malloc(row * size_t(h)));
  if (!copy)
    return nullptr;
  for (int y = 0; y < h; ++y)
    memcpy(copy + row * size_t(y), first + y * step, row);
  return copy;
}

// A rectangle clipped to a bitmap: first row in memory, byte step between
// rows.
struct LICE_ClippedRect
{
  unsigned char* first = nullptr;
  long step = 0;
  int w = 0;
  int h = 0;
};

// Clips (x, y, w, h) to the bitmap without overflow. For a flipped bitmap
// the rows run forward from buffer row height - y - h: the same pixels.
// False when nothing is left or the bitmap has no usable pixels.
static inline bool LICE_ClipRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_ClippedRect& out)
{
  int64_t x0 = x, y0 = y, w0 = w, h0 = h;
  if (x0 < 0)
    w0 += x0, x0 = 0;
  if (y0 < 0)
    h0 += y0, y0 = 0;
  const int64_t bw = bm->getWidth(), bh = bm->getHeight();
  if (x0 + w0 > bw)
    w0 = bw - x0;
  if (y0 + h0 > bh)
    h0 = bh - y0;
  LICE_PixelValue* bits = bm->getBits();
  const int span = bm->getRowSpan();
  if (!bits || w0 < 1 || h0 < 1 || span < 1 || span < bw)
    return false;

  const int64_t row = bm->isFlipped() ? bh - y0 - h0 : y0;
  out.first = reinterpret_cast<unsigned char*>(bits + row * span + x0);
  out.step = long(span) * 4;
  out.w = int(w0);
  out.h = int(h0);
  return true;
}

template <class Combine>
static void LICE_BlitRows(const LICE_BlitJob& j)
{
  assert(j.w > 0 && j.h > 0);
  unsigned char* drow = j.dest;
  const unsigned char* srow = j.src;
  for (int y = 0; y < j.h; ++y, drow += j.dest_step, srow += j.src_step)
  {
    unsigned char* d = drow;
    const unsigned char* s = srow;
    for (int x = 0; x < j.w; ++x, d += 4, s += 4)
      Combine::doPix(d, s[1], s[2], s[3], s[0], j.ia);
  }
}

template <class Combine>
static void LICE_FillRows(const LICE_FillJob& j)
{
  assert(j.w > 0 && j.h > 0);
  unsigned char c[4];
  memcpy(c, &j.color, 4);
  unsigned char* drow = j.dest;
  for (int y = 0; y < j.h; ++y, drow += j.dest_step)
  {
    unsigned char* d = drow;
    for (int x = 0; x < j.w; ++x, d += 4)
      Combine::doPix(d, c[1], c[2], c[3], c[0], j.ia);
  }
}

// Fast paths: a table of conditions with the generic loop as the last entry,
// which always accepts. LICE_SetFastPathsEnabled(false) leaves only the last.
template <class Job>
struct LICE_FastPath
{
  const char* name;
  bool (*accepts)(const Job&);
  void (*run)(const Job&);
};

// The tables (lice_blit_fast.cpp), each ending with its generic entry.
extern const LICE_FastPath<LICE_BlitJob> g_liceBlitPaths[];
extern const int g_liceBlitPathCount;
extern const LICE_FastPath<LICE_FillJob> g_liceFillPaths[];
extern const int g_liceFillPathCount;

// Runs the first accepting path (only the last, generic one when the fast
// paths are off) and returns its name, for the tests.
template <class Job>
const char* LICE_RunJob(const LICE_FastPath<Job>* paths, int count, const Job& job)
{
  const int first = LICE_FastPathsEnabled() ? 0 : count - 1;
  for (int i = first; i < count; ++i)
  {
    if (paths[i].accepts(job))
    {
      paths[i].run(job);
      return paths[i].name;
    }
  }
  return nullptr;
}

const char* LICE_RunBlitJob(const LICE_BlitJob& job);
const char* LICE_RunFillJob(const LICE_FillJob& job);
// The weighted copy of a fill (weight job.ia, 1-256) whatever job.alpha is:
// vector spans use it where the fill would take its exact-alpha shift mixes.
void LICE_RunWeightedCopyFill(const LICE_FillJob& job);
