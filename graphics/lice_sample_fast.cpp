// Fast paths of the sampling blits and their generic loops, which define
// the results.

#include <cstring>

#include "graphics/lice_blit_sse.h"
#include "graphics/lice_sample_blit.h"

namespace
{

void scaleGeneric(const LICE_ScaleJob& j)
{
  if (j.halfMix)
    return _LICE_Template_Blit<LICE_ShiftMixHalf>::scaleBlit(j);
  LICE_WithSampleCombine(j.sel, j.alpha, [&]<class C>() {
    if (j.filterDown)
      _LICE_Template_Blit<C>::scaleBlitFilterDown(j);
    else
      _LICE_Template_Blit<C>::scaleBlit(j);
  });
}

bool always(const LICE_ScaleJob&)
{
  return true;
}

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
    for (; i + 4 <= n; i += 4)
    {
      const int p0 = int(srow[pos >> 16]), p1 = int(srow[(pos + dx) >> 16]);
      const int p2 = int(srow[(pos + 2 * dx) >> 16]), p3 = int(srow[(pos + 3 * dx) >> 16]);
      lice_sse::store4(reinterpret_cast<unsigned char*>(d + i), _mm_set_epi32(p3, p2, p1, p0));
      pos += 4 * dx;
    }
#endif
    for (; i < n; ++i, pos += dx)
      memcpy(d + i, srow + (pos >> 16), 4);
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
struct BilinearWeights
{
  __m128i leftHi, leftLo, rightHi, rightLo; // per pixel: (w00, w01) and (w10, w11) pairs
};

// The weights of four pixels from their fractions fx (32-bit lanes) and the
// row's fy; f = fx * fy >> 16 is the high half of a 16-bit product.
inline BilinearWeights bilinearWeights4(__m128i fx, __m128i fy)
{
  const __m128i f = _mm_mulhi_epu16(fx, fy), k255 = _mm_set1_epi32(255);
  const __m128i w10 = _mm_sub_epi32(fx, f), w01 = _mm_sub_epi32(fy, f);
  const __m128i w00 = _mm_sub_epi32(_mm_sub_epi32(_mm_set1_epi32(65536), fx), w01);
  auto hi = [](__m128i a, __m128i b) {
    return _mm_or_si128(_mm_srli_epi32(a, 8), _mm_slli_epi32(_mm_srli_epi32(b, 8), 16));
  };
  auto lo = [k255](__m128i a, __m128i b) {
    return _mm_or_si128(_mm_and_si128(a, k255), _mm_slli_epi32(_mm_and_si128(b, k255), 16));
  };
  return {hi(w00, w01), lo(w00, w01), hi(w10, f), lo(w10, f)};
}

// One pixel's A, R, G, B as 32-bit lanes, from the two row pairs (8 bytes each: the pixel and its right
// neighbour) and pixel K's weights.
template <int K>
inline __m128i bilinearPixel(__m128i top, __m128i bot, const BilinearWeights& w)
{
  const __m128i z = _mm_setzero_si128();
  // Each channel of the pixel over the one below it, as 16-bit lanes: the
  // left column a a' r r' g g' b b', then the right column.
  const __m128i both = _mm_unpacklo_epi8(top, bot);
  const __m128i left = _mm_unpacklo_epi8(both, z), right = _mm_unpackhi_epi8(both, z);
  constexpr int sel = K * 0x55;
  const __m128i hi = _mm_add_epi32(_mm_madd_epi16(left, _mm_shuffle_epi32(w.leftHi, sel)),
                                   _mm_madd_epi16(right, _mm_shuffle_epi32(w.rightHi, sel)));
  const __m128i lo = _mm_add_epi32(_mm_madd_epi16(left, _mm_shuffle_epi32(w.leftLo, sel)),
                                   _mm_madd_epi16(right, _mm_shuffle_epi32(w.rightLo, sel)));
  return _mm_srli_epi32(_mm_add_epi32(_mm_slli_epi32(hi, 8), lo), 16);
}

void bilinearCopyRows(const LICE_ScaleJob& j)
{
  const LICE_SampleSource& s = j.src;
  const int n = j.cols.last - j.cols.first, last = s.clip_right - 1 - s.clip_left;
  const int64_t dx = j.dx;
  LICE_ForEachScaleRow(j, [&](unsigned char* drow, int64_t pos, int y, double cury) {
    const __m128i fy4 = _mm_set1_epi32(LICE_RowFraction(cury, y));
    const unsigned char* row1 = s.at(s.clip_left, y);
    const unsigned char* row2 = y + 1 < s.clip_bottom ? row1 + s.step : row1;
    // The pixel at x and its right neighbour, or itself twice in the last column.
    auto pairAt = [&](const unsigned char* row, int x) {
      if (x < last)
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + x * 4));
      int v;
      memcpy(&v, row + x * 4, 4);
      return _mm_set1_epi32(v);
    };
    auto one = [&]<int K>(int64_t p, const BilinearWeights& w) {
      const int x = int(LICE_FixedTrunc(p) - s.clip_left);
      return bilinearPixel<K>(pairAt(row1, x), pairAt(row2, x), w);
    };
    int i = 0;
    for (; i + 4 <= n; i += 4, pos += 4 * dx)
    {
      const int64_t p1 = pos + dx, p2 = p1 + dx, p3 = p2 + dx;
      const BilinearWeights w = bilinearWeights4(
        _mm_set_epi32(LICE_FixedFraction(p3), LICE_FixedFraction(p2), LICE_FixedFraction(p1), LICE_FixedFraction(pos)),
        fy4);
      const __m128i c01 = _mm_packs_epi32(one.template operator()<0>(pos, w), one.template operator()<1>(p1, w));
      const __m128i c23 = _mm_packs_epi32(one.template operator()<2>(p2, w), one.template operator()<3>(p3, w));
      lice_sse::store4(drow + i * 4, _mm_packus_epi16(c01, c23));
    }
    for (; i < n; ++i, pos += dx)
    {
      const BilinearWeights w = bilinearWeights4(_mm_set1_epi32(LICE_FixedFraction(pos)), fy4);
      const __m128i c = _mm_packs_epi32(one.template operator()<0>(pos, w), _mm_setzero_si128());
      const int px = _mm_cvtsi128_si32(_mm_packus_epi16(c, c));
      memcpy(drow + i * 4, &px, 4);
    }
  });
}
#endif

void deltaGeneric(const LICE_DeltaJob& j)
{
  LICE_WithSampleCombine(j.sel, j.alpha, [&]<class C>() { _LICE_Template_Blit<C>::deltaBlit(j); });
}

bool alwaysDelta(const LICE_DeltaJob&)
{
  return true;
}

} // namespace

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
