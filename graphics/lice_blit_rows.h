#pragma once
// Row loops of the unscaled blit and the rectangle fill, after clipping.
// The entry points clip once; everything here assumes valid, non-overlapping
// ranges.

#include <cassert>
#include <cstring>

#include "graphics/lice_dispatch.h"
#include "graphics/lice_fastpath.h"

// An unscaled blit of w x h pixels. Row steps are in bytes and negative for
// flipped bitmaps.
struct LICE_BlitJob {
  unsigned char* dest = nullptr;
  const unsigned char* src = nullptr;
  long dest_step = 0;
  long src_step = 0;
  int w = 0;
  int h = 0;
  int sel = 0;  // operator selector (LICE_Selector)
  int ia = 0;   // integer weight
  float alpha = 0;
};

// A fill of w x h pixels with one colour.
struct LICE_FillJob {
  unsigned char* dest = nullptr;
  long dest_step = 0;
  int w = 0;
  int h = 0;
  int sel = 0;  // low byte of the mode only
  int ia = 0;
  float alpha = 0;
  LICE_PixelValue color = 0;
};

template <class Combine>
static void LICE_BlitRows(const LICE_BlitJob& j)
{
  assert(j.w > 0 && j.h > 0);
  unsigned char* drow = j.dest;
  const unsigned char* srow = j.src;
  for (int y = 0; y < j.h; ++y, drow += j.dest_step, srow += j.src_step) {
    unsigned char* d = drow;
    const unsigned char* s = srow;
    for (int x = 0; x < j.w; ++x, d += 4, s += 4) Combine::doPix(d, s[1], s[2], s[3], s[0], j.ia);
  }
}

template <class Combine>
static void LICE_FillRows(const LICE_FillJob& j)
{
  assert(j.w > 0 && j.h > 0);
  unsigned char c[4];
  memcpy(c, &j.color, 4);
  unsigned char* drow = j.dest;
  for (int y = 0; y < j.h; ++y, drow += j.dest_step) {
    unsigned char* d = drow;
    for (int x = 0; x < j.w; ++x, d += 4) Combine::doPix(d, c[1], c[2], c[3], c[0], j.ia);
  }
}

// Fast paths: a table of conditions with the generic loop as the last entry,
// which always accepts. LICE_SetFastPathsEnabled(false) leaves only the last.
template <class Job>
struct LICE_FastPath {
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
  for (int i = first; i < count; ++i) {
    if (paths[i].accepts(job)) {
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
