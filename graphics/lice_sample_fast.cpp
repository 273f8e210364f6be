// Fast paths of the sampling blits and their generic loops, which define
// the results.

#include <cstring>

#include "graphics/lice_blit_sse.h"
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
    int i = 0;
#if LICE_HAVE_SSE2
    // Four loads gathered into one store.
    for (; i + 4 <= n; i += 4) {
      const int p0 = int(srow[pos >> 16]), p1 = int(srow[(pos + dx) >> 16]);
      const int p2 = int(srow[(pos + 2 * dx) >> 16]), p3 = int(srow[(pos + 3 * dx) >> 16]);
      lice_sse::store4(reinterpret_cast<unsigned char*>(d + i), _mm_set_epi32(p3, p2, p1, p0));
      pos += 4 * dx;
    }
#endif
    for (; i < n; ++i, pos += dx) memcpy(d + i, srow + (pos >> 16), 4);
  });
}

#if LICE_HAVE_SSE2
bool bilinearCopy(const LICE_ScaleJob& j)
{
  return j.sel == 0 && j.alpha == 1.0f && j.bilinear && !j.filterDown;
}

// The last clip column and row blend only toward the inside. That equals
// the bilinear formula with the missing neighbour read as the pixel itself
// (its weight then adds to the pixel's own), so one formula serves every
// pixel. Weights up to 65536 are split into w >> 8 and w & 255 so that
// 16-bit multiply-adds give the exact 32-bit sums.
void bilinearCopyRows(const LICE_ScaleJob& j)
{
  const LICE_SampleSource& s = j.src;
  const int n = j.cols.last - j.cols.first;
  const int64_t dx = j.dx;
  const __m128i z = _mm_setzero_si128();
  // Two pixels' 16-bit channels interleaved: a0 a1 r0 r1 g0 g1 b0 b1.
  auto pair = [z](__m128i two) {
    const __m128i c = _mm_unpacklo_epi8(two, z);
    return _mm_unpacklo_epi16(c, _mm_srli_si128(c, 8));
  };
  auto weights = [](int a, int b) { return _mm_set1_epi32(a | b << 16); };
  LICE_ForEachScaleRow(j, [&](unsigned char* drow, int64_t pos, int y, double cury) {
    int fy = int((cury - y) * 65536.0);
    fy = fy < 0 ? 0 : fy > 65535 ? 65535 : fy;
    const unsigned char* row1 = s.at(s.clip_left, y);
    const unsigned char* row2 = y + 1 < s.clip_bottom ? row1 + s.step : row1;
    for (int i = 0; i < n; ++i, pos += dx) {
      const int64_t x = LICE_FixedTrunc(pos) - s.clip_left;
      const int fx = int(pos & 0xffff), f = int((unsigned(fx) * unsigned(fy)) >> 16);
      const int w00 = 65536 - fx - fy + f, w10 = fx - f, w01 = fy - f, w11 = f;
      __m128i top, bot;
      if (x + s.clip_left < s.clip_right - 1) {
        top = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row1 + x * 4));
        bot = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row2 + x * 4));
      } else {
        int a, b;
        memcpy(&a, row1 + x * 4, 4);
        memcpy(&b, row2 + x * 4, 4);
        top = _mm_set1_epi32(a), bot = _mm_set1_epi32(b);
      }
      top = pair(top), bot = pair(bot);
      const __m128i hi = _mm_add_epi32(_mm_madd_epi16(top, weights(w00 >> 8, w10 >> 8)),
                                       _mm_madd_epi16(bot, weights(w01 >> 8, w11 >> 8)));
      const __m128i lo = _mm_add_epi32(_mm_madd_epi16(top, weights(w00 & 255, w10 & 255)),
                                       _mm_madd_epi16(bot, weights(w01 & 255, w11 & 255)));
      const __m128i c = _mm_srli_epi32(_mm_add_epi32(_mm_slli_epi32(hi, 8), lo), 16);
      const __m128i c16 = _mm_packs_epi32(c, c);
      const int px = _mm_cvtsi128_si32(_mm_packus_epi16(c16, c16));
      memcpy(drow + i * 4, &px, 4);
    }
  });
}
#endif

void deltaGeneric(const LICE_DeltaJob& j)
{
  LICE_WithSampleCombine(j.sel, j.alpha, [&]<class C>() { _LICE_Template_Blit<C>::deltaBlit(j); });
}

bool alwaysDelta(const LICE_DeltaJob&) { return true; }

}  // namespace

const LICE_FastPath<LICE_ScaleJob> g_liceScalePaths[] = {
    {"nearest copy", nearestCopy, nearestCopyRows},
#if LICE_HAVE_SSE2
    {"bilinear copy", bilinearCopy, bilinearCopyRows},
#endif
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
