// Fast paths of the unscaled blit and its generic loop. The generic loop
// defines the results: one operator per pixel, with the exact-alpha copies
// (whole-pixel shift mixes) written as operators too.

#include "graphics/lice_blit_avx2.h"
#include "graphics/lice_blit_rows.h"
#include "graphics/lice_blit_sse.h"

namespace
{

void blitGeneric(const LICE_BlitJob& j)
{
  if (j.sel == 0 && j.alpha == 1.0f)
    return LICE_BlitRows<_LICE_CombinePixelsClobber>(j);
  if (j.sel == 0 && j.alpha == 0.5f)
    return LICE_BlitRows<LICE_ShiftMixHalf>(j);
  if (j.sel == 0 && j.alpha < 0.0f)
    return;
  if (j.sel == LICE_BLIT_USE_ALPHA && j.alpha == 1.0f)
    return LICE_BlitRows<_LICE_CombinePixelsCopySourceAlphaIngoreAlphaParm>(j);
  LICE_WithCombine(j.sel, [&]<class C>() { LICE_BlitRows<C>(j); });
}

bool always(const LICE_BlitJob&)
{
  return true;
}

bool opaqueCopy(const LICE_BlitJob& j)
{
  return j.sel == 0 && j.alpha == 1.0f;
}

// Above this many bytes a copy no longer fits the caches, and stores that
// bypass them save reading each destination line before writing it.
constexpr size_t kStreamingCopyBytes = size_t(8) << 20;

void rowCopy(const LICE_BlitJob& j)
{
  const size_t bytes = size_t(j.w) * 4;
  // Packed rows on both sides (whole bitmaps of equal width) are one block.
  if (j.dest_step == long(bytes) && j.src_step == long(bytes))
    return void(memcpy(j.dest, j.src, bytes * size_t(j.h)));
#if LICE_HAVE_SSE2
  if (bytes * size_t(j.h) >= kStreamingCopyBytes)
  {
    for (int y = 0; y < j.h; ++y)
      lice_sse::streamCopy(j.dest + y * j.dest_step, j.src + y * j.src_step, j.w);
    return _mm_sfence();
  }
#endif
  for (int y = 0; y < j.h; ++y)
    memcpy(j.dest + y * j.dest_step, j.src + y * j.src_step, bytes);
}

#if LICE_HAVE_SSE2
// SSE2 rows: groupKernel on each N pixels, kernel on each four left over,
// the operator C for the last few. The job's fields are copied to locals:
// stores through d could alias the job and would force reloads.
template <class C, int N, class KN, class K4>
void sseRows(const LICE_BlitJob& j, KN groupKernel, K4 kernel)
{
  const int w = j.w, h = j.h;
  const long dstep = j.dest_step, sstep = j.src_step;
  for (int y = 0; y < h; ++y)
  {
    unsigned char* d = j.dest + y * dstep;
    const unsigned char* s = j.src + y * sstep;
    int x = 0;
    for (; x + N <= w; x += N, d += 4 * N, s += 4 * N)
      groupKernel(d, s);
    for (; x + 4 <= w; x += 4, d += 16, s += 16)
      kernel(d, s);
    for (; x < w; ++x, d += 4, s += 4)
      C::doPix(d, s[1], s[2], s[3], s[0], j.ia);
  }
}

template <class C, class K>
void sseRows(const LICE_BlitJob& j, K kernel)
{
  sseRows<C, 4>(j, kernel, kernel);
}

bool halfCopy(const LICE_BlitJob& j)
{
  return j.sel == 0 && j.alpha == 0.5f;
}

void halfMixRows(const LICE_BlitJob& j)
{
  sseRows<LICE_ShiftMixHalf>(j, [](unsigned char* d, const unsigned char* s) {
    lice_sse::store4(d, lice_sse::halfMix(lice_sse::load4(d), lice_sse::load4(s)));
  });
}

// Weights above 256 need the clamps, so they stay generic.
bool weightedCopy(const LICE_BlitJob& j)
{
  return j.sel == 0 && j.ia > 0 && j.ia <= 256;
}

void copyBlendRows(const LICE_BlitJob& j)
{
  const int w = j.ia;
  sseRows<_LICE_CombinePixelsCopy>(j, [w](unsigned char* d, const unsigned char* s) {
    lice_sse::store4(d, lice_sse::copyBlend(lice_sse::load4(d), lice_sse::load4(s), w));
  });
}

// Add and multiply at weights up to 256, where no clamp below 0 is needed.
bool weightedAdd(const LICE_BlitJob& j)
{
  return j.sel == LICE_BLIT_MODE_ADD && j.ia >= 0 && j.ia <= 256;
}

void addRows(const LICE_BlitJob& j)
{
  const int w = j.ia;
  sseRows<_LICE_CombinePixelsAdd>(j, [w](unsigned char* d, const unsigned char* s) {
    lice_sse::store4(d, lice_sse::addBlend(lice_sse::load4(d), lice_sse::load4(s), w));
  });
}

bool weightedMul(const LICE_BlitJob& j)
{
  return j.sel == LICE_BLIT_MODE_MUL && j.ia > 0 && j.ia <= 256;
}

void mulRows(const LICE_BlitJob& j)
{
  const int w = j.ia;
  sseRows<_LICE_CombinePixelsMul>(j, [w](unsigned char* d, const unsigned char* s) {
    lice_sse::store4(d, lice_sse::mulBlend(lice_sse::load4(d), lice_sse::load4(s), w));
  });
}

// Overlay and HSV adjust at weights up to 256, where every intermediate of
// the kernels fits their lanes (and the hue moves by less than a turn).
bool weightedOverlay(const LICE_BlitJob& j)
{
  return j.sel == LICE_BLIT_MODE_OVERLAY && j.ia >= 0 && j.ia <= 256;
}

bool weightedOverlayAvx2(const LICE_BlitJob& j)
{
  return weightedOverlay(j) && LICE_Avx2Enabled();
}

bool weightedHSVAdjustAvx2(const LICE_BlitJob& j)
{
  return j.sel == LICE_BLIT_MODE_HSVADJ && j.ia >= 0 && j.ia <= 256 && LICE_Avx2Enabled();
}

void overlayRows(const LICE_BlitJob& j)
{
  const int w = j.ia;
  sseRows<_LICE_CombinePixelsOverlay>(j, [w](unsigned char* d, const unsigned char* s) {
    lice_sse::store4(d, lice_sse::overlayBlend(lice_sse::load4(d), lice_sse::load4(s), w));
  });
}

void avx2Rows(const LICE_BlitJob& j, void (*row)(unsigned char*, const unsigned char*, int, int))
{
  for (int y = 0; y < j.h; ++y)
    row(j.dest + y * j.dest_step, j.src + y * j.src_step, j.w, j.ia);
}

void overlayRowsAvx2(const LICE_BlitJob& j)
{
  avx2Rows(j, LICE_OverlayRowAvx2);
}

void hsvAdjustRowsAvx2(const LICE_BlitJob& j)
{
  avx2Rows(j, LICE_HSVAdjustRowAvx2);
}

// Antialiased images are mostly fully transparent or fully opaque: groups
// of clear pixels are skipped and, when Opaque allows it, groups of solid
// ones stored, both without reading the destination. Sixteen pixels are
// tested at once, then each four of a mixed sixteen.
template <class C, bool Opaque, class Blend>
void sourceAlphaRows(const LICE_BlitJob& j, Blend blend)
{
  const __m128i ff = _mm_set1_epi32(0xff);
  // 0: all four A bytes 0, 1: all 255, 2: mixed.
  auto classify = [ff](__m128i any, __m128i every) {
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(any, ff), _mm_setzero_si128())) == 0xffff)
      return 0;
    if (Opaque && _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(every, ff), ff)) == 0xffff)
      return 1;
    return 2;
  };
  auto four = [=](unsigned char* d, const unsigned char* s) {
    const __m128i sv = lice_sse::load4(s);
    switch (classify(sv, sv))
    {
    case 0: break;
    case 1: lice_sse::store4(d, sv); break;
    default: lice_sse::store4(d, blend(lice_sse::load4(d), sv)); break;
    }
  };
  auto sixteen = [=](unsigned char* d, const unsigned char* s) {
    const __m128i s0 = lice_sse::load4(s), s1 = lice_sse::load4(s + 16);
    const __m128i s2 = lice_sse::load4(s + 32), s3 = lice_sse::load4(s + 48);
    const __m128i any = _mm_or_si128(_mm_or_si128(s0, s1), _mm_or_si128(s2, s3));
    const __m128i every = _mm_and_si128(_mm_and_si128(s0, s1), _mm_and_si128(s2, s3));
    switch (classify(any, every))
    {
    case 0: break;
    case 1:
      lice_sse::store4(d, s0);
      lice_sse::store4(d + 16, s1);
      lice_sse::store4(d + 32, s2);
      lice_sse::store4(d + 48, s3);
      break;
    default:
      for (int k = 0; k < 64; k += 16)
        four(d + k, s + k);
      break;
    }
  };
  sseRows<C, 16>(j, sixteen, four);
}

bool opaqueSourceAlpha(const LICE_BlitJob& j)
{
  return j.sel == LICE_BLIT_USE_ALPHA && j.alpha == 1.0f;
}

void sourceAlphaOpaqueRows(const LICE_BlitJob& j)
{
  sourceAlphaRows<_LICE_CombinePixelsCopySourceAlphaIngoreAlphaParm, true>(
    j, [](__m128i d, __m128i s) { return lice_sse::sourceAlphaOpaqueBlend(d, s); });
}

// At 256 the weight (a + 1) * 256 / 256 of a = 255 no longer fits 16 bits.
bool weightedSourceAlpha(const LICE_BlitJob& j)
{
  return j.sel == LICE_BLIT_USE_ALPHA && j.ia > 0 && j.ia < 256;
}

void sourceAlphaWeightedRows(const LICE_BlitJob& j)
{
  const int w = j.ia;
  sourceAlphaRows<_LICE_CombinePixelsCopySourceAlpha, false>(
    j, [w](__m128i d, __m128i s) { return lice_sse::sourceAlphaBlend(d, s, w); });
}
#endif

} // namespace

// Order matters: the exact-alpha entries come before the weighted ones that
// would also accept their alphas.
const LICE_FastPath<LICE_BlitJob> g_liceBlitPaths[] = {
  {"row copy", opaqueCopy, rowCopy},
#if LICE_HAVE_SSE2
  {"half mix", halfCopy, halfMixRows},
  {"weighted copy", weightedCopy, copyBlendRows},
  {"source alpha opaque", opaqueSourceAlpha, sourceAlphaOpaqueRows},
  {"source alpha weighted", weightedSourceAlpha, sourceAlphaWeightedRows},
  {"add", weightedAdd, addRows},
  {"multiply", weightedMul, mulRows},
  {"overlay (AVX2)", weightedOverlayAvx2, overlayRowsAvx2},
  {"overlay", weightedOverlay, overlayRows},
  {"HSV adjust (AVX2)", weightedHSVAdjustAvx2, hsvAdjustRowsAvx2},
#endif
  {"generic", always, blitGeneric},
};
const int g_liceBlitPathCount = int(sizeof(g_liceBlitPaths) / sizeof(g_liceBlitPaths[0]));

const char* LICE_RunBlitJob(const LICE_BlitJob& job)
{
  return LICE_RunJob(g_liceBlitPaths, g_liceBlitPathCount, job);
}
