// Fast paths of the sampling blits and their generic loops, which define
// the results.

#include <cstring>

#include "graphics/lice_sample_blit.h"

namespace {

void scaleGeneric(const LICE_ScaleJob& j)
{
  if (j.halfMix) return _LICE_Template_Blit<LICE_ShiftMixHalf>::scaleBlit(j);
  LICE_WithSampleCombine(j.sel, j.alpha, [&]<class C>() {
    if (j.filterDown) _LICE_Template_Blit<C>::scaleBlitFilterDown(j);
    else _LICE_Template_Blit<C>::scaleBlit(j);
  });
}

bool always(const LICE_ScaleJob&) { return true; }

bool nearestCopy(const LICE_ScaleJob& j)
{
  return j.sel == 0 && j.alpha == 1.0f && !j.bilinear && !j.filterDown && !j.halfMix;
}

// Whole 32-bit pixels: the opaque copy stores the sample unchanged.
void nearestCopyRows(const LICE_ScaleJob& j)
{
  const LICE_SampleSource& s = j.src;
  const int n = j.cols.last - j.cols.first;
  const int64_t dx = j.dx, left = int64_t(s.clip_left) * LICE_FIXED_ONE;
  LICE_ForEachScaleRow(j, [&](unsigned char* drow, int64_t pos, int y, double) {
    const auto* srow = reinterpret_cast<const LICE_PixelValue*>(s.at(s.clip_left, y));
    auto* d = reinterpret_cast<LICE_PixelValue*>(drow);
    pos -= left;
    for (int i = 0; i < n; ++i, pos += dx) memcpy(d + i, srow + (pos >> 16), 4);
  });
}

void deltaGeneric(const LICE_DeltaJob& j)
{
  LICE_WithSampleCombine(j.sel, j.alpha, [&]<class C>() { _LICE_Template_Blit<C>::deltaBlit(j); });
}

bool alwaysDelta(const LICE_DeltaJob&) { return true; }

}  // namespace

const LICE_FastPath<LICE_ScaleJob> g_liceScalePaths[] = {
    {"nearest copy", nearestCopy, nearestCopyRows},
    {"generic", always, scaleGeneric},
};
const int g_liceScalePathCount = int(sizeof(g_liceScalePaths) / sizeof(g_liceScalePaths[0]));

const LICE_FastPath<LICE_DeltaJob> g_liceDeltaPaths[] = {
    {"generic", alwaysDelta, deltaGeneric},
};
const int g_liceDeltaPathCount = int(sizeof(g_liceDeltaPaths) / sizeof(g_liceDeltaPaths[0]));

const char* LICE_RunScaleJob(const LICE_ScaleJob& job)
{
  return LICE_RunJob(g_liceScalePaths, g_liceScalePathCount, job);
}

const char* LICE_RunDeltaJob(const LICE_DeltaJob& job)
{
  return LICE_RunJob(g_liceDeltaPaths, g_liceDeltaPathCount, job);
}
