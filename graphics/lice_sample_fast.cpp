// Fast paths of the sampling blits and their generic loops, which define
// the results.

#include <cstring>

#include "graphics/lice_bilinear_sse.h"
#include "graphics/lice_sample_blit.h"
#include "graphics/lice_simd.h"

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

bool filterDown(const LICE_ScaleJob& j)
{
  return j.filterDown;
}

// A filter-down pixel whose whole N x N kernel lies inside the clip: no
// clip tests, and the weights' total is the kernel's, divided exactly by
// multiplication.
template <class Combine, int N>
inline void filterDownInside(unsigned char* d, const LICE_SampleSource& s, const LICE_FilterKernel& k,
                             const LICE_ExactDivider& div, int64_t x, int y, int ia)
{
  const unsigned char* p = s.at(x - N / 2, y - N / 2);
  uint32_t sum[4] = {};
#pragma GCC unroll 5
  for (int r = 0; r < N; ++r, p += s.step)
#pragma GCC unroll 5
    for (int c = 0; c < N; ++c)
#pragma GCC unroll 4
      for (int ch = 0; ch < 4; ++ch)
        sum[ch] += p[c * 4 + ch] * uint32_t(k.w[r][c]);
  Combine::doPix(d, int(div(sum[1])), int(div(sum[2])), int(div(sum[3])), int(div(sum[0])), ia);
}

// The filter-down loop with the pixels whose kernel lies inside the clip
// taken apart from those near its edges.
template <class Combine, int N>
void filterDownRows(const LICE_ScaleJob& j, const LICE_FilterKernel& k)
{
  const LICE_SampleSource& s = j.src;
  const LICE_ExactDivider div(uint32_t(k.total));
  constexpr int half = N / 2;
  const bool wide = s.clip_right - s.clip_left > 2 * half;
  const LICE_StepSpan inner =
    wide ? LICE_Intersect(j.cols,
                          LICE_WalkInside(j.x0, j.dx, j.w, LICE_TruncRange(s.clip_left + half, s.clip_right - half)))
         : LICE_StepSpan{};
  const int first = j.cols.first;
  LICE_ForEachScaleRow(j, [&](unsigned char* d, int64_t pos, int y, double) {
    auto edge = [&](int from, int to) {
      for (int i = from; i < to; ++i)
        LICE_FilterDownPixel<Combine>(d + (i - first) * 4, s, k, LICE_FixedTrunc(pos + (i - first) * j.dx), y, j.ia);
    };
    if (inner.empty() || y - half < s.clip_top || y + half >= s.clip_bottom)
      return edge(first, j.cols.last);
    edge(first, inner.first);
    for (int i = inner.first; i < inner.last; ++i)
      filterDownInside<Combine, N>(d + (i - first) * 4, s, k, div, (pos + (i - first) * j.dx) >> 16, y, j.ia);
    edge(inner.last, j.cols.last);
  });
}

void filterDownRows(const LICE_ScaleJob& j)
{
  const LICE_FilterKernel k(j.factor);
  LICE_WithSampleCombine(j.sel, j.alpha, [&]<class C>() {
    if (k.n == 5)
      filterDownRows<C, 5>(j, k);
    else
      filterDownRows<C, 3>(j, k);
  });
}

#if LICE_HAVE_SSE2
bool bilinearCopy(const LICE_ScaleJob& j)
{
  return j.sel == 0 && j.alpha == 1.0f && j.bilinear && !j.filterDown;
}

#if LICE_AVX2_BUILD
bool bilinearCopyAvx2(const LICE_ScaleJob& j)
{
  return bilinearCopy(j) && LICE_Avx2Enabled();
}
#endif

// The bilinear copy, row by row: the pixels whose columns x and x + 1 both
// lie inside the clip go to the run kernel, the others (the clip's last
// column, positions in (-1, 0)) take the generic sample.
template <void (*Run)(const LICE_BilinearRun&)>
void bilinearCopyRows(const LICE_ScaleJob& j)
{
  const LICE_SampleSource& s = j.src;
  const int64_t left = int64_t(s.clip_left) * LICE_FIXED_ONE;
  const LICE_FixedRange inner = {left, __int128(s.clip_right - 1) * LICE_FIXED_ONE};
  const LICE_StepSpan body = LICE_Intersect(j.cols, LICE_WalkInside(j.x0, j.dx, j.w, inner));
  const int first = j.cols.first;
  LICE_ForEachScaleRow(j, [&](unsigned char* d, int64_t pos, int y, double cury) {
    const int fy = LICE_RowFraction(cury, y);
    auto generic = [&](int from, int to) {
      for (int i = from; i < to; ++i)
      {
        const int64_t p = LICE_FixedHeld(pos + (i - first) * j.dx);
        const LICE_Sample c = LICE_BilinearAt(s, p >> 16, y, int(p & 0xffff), fy);
        _LICE_CombinePixelsClobber::doPix(d + (i - first) * 4, c.r, c.g, c.b, c.a, 0);
      }
    };
    if (body.empty())
      return generic(first, j.cols.last);
    generic(first, body.first);
    generic(body.last, j.cols.last);
    const bool flat = y + 1 >= s.clip_bottom || fy == 0;
    LICE_BilinearRun r;
    r.dest = d + (body.first - first) * 4;
    r.row1 = s.at(s.clip_left, y);
    r.row2 = flat ? r.row1 : r.row1 + s.step;
    r.fy = flat ? 32768 : fy;
    r.pos = pos + (body.first - first) * j.dx - left;
    r.dx = j.dx;
    r.n = body.last - body.first;
    Run(r);
  });
}

// Pixel 4h + K of a group of eight: its channels as 32-bit lanes A, R, G, B.
template <int K>
inline __m128i bilinearPixel(__m128i cols, const lice_bilinear::Weights8& w, int h)
{
  const __m128i z = _mm_setzero_si128();
  const __m128i left = _mm_unpacklo_epi8(cols, z), right = _mm_unpackhi_epi8(cols, z);
  constexpr int sel = K * 0x55;
  const __m128i sum = _mm_add_epi32(_mm_madd_epi16(left, _mm_shuffle_epi32(w.left[h], sel)),
                                    _mm_madd_epi16(right, _mm_shuffle_epi32(w.right[h], sel)));
  const __m128i all = _mm_madd_epi16(_mm_add_epi16(left, right), _mm_set1_epi16(-32768));
  return _mm_srli_epi32(_mm_sub_epi32(sum, all), 16);
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

#if LICE_HAVE_SSE2
void LICE_BilinearRunSse2(const LICE_BilinearRun& run)
{
  using namespace lice_bilinear;
  Groups g(run);
  const LICE_BilinearRun& r = g.r;
  int i = 0;
  for (; i + 8 <= r.n; i += 8)
  {
    const Weights8 w = g.next();
    for (int h = 0; h < 2; ++h)
    {
      const int k = i + 4 * h;
      const __m128i c01 =
        _mm_packs_epi32(bilinearPixel<0>(columns(r, at(r, k)), w, h), bilinearPixel<1>(columns(r, at(r, k + 1)), w, h));
      const __m128i c23 = _mm_packs_epi32(bilinearPixel<2>(columns(r, at(r, k + 2)), w, h),
                                          bilinearPixel<3>(columns(r, at(r, k + 3)), w, h));
      lice_sse::store4(r.dest + k * 4, _mm_packus_epi16(c01, c23));
    }
  }
  for (; i < r.n; ++i)
  {
    const int64_t p = at(r, i);
    const Weights8 w = weights8(_mm_set1_epi16(static_cast<short>(p)), g.fy);
    const __m128i c = _mm_packs_epi32(bilinearPixel<0>(columns(r, p), w, 0), _mm_setzero_si128());
    const int px = _mm_cvtsi128_si32(_mm_packus_epi16(c, c));
    memcpy(r.dest + i * 4, &px, 4);
  }
}
#endif

const LICE_FastPath<LICE_ScaleJob> g_liceScalePaths[] = {
  {"nearest copy", nearestCopy, nearestCopyRows},
#if LICE_HAVE_SSE2
#if LICE_AVX2_BUILD
  {"bilinear copy (AVX2)", bilinearCopyAvx2, bilinearCopyRows<LICE_BilinearRunAvx2>},
#endif
  {"bilinear copy", bilinearCopy, bilinearCopyRows<LICE_BilinearRunSse2>},
#endif
  {"filter down", filterDown, filterDownRows},
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
