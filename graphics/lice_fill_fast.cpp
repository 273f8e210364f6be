// Fast paths of the rectangle fill and its generic loop, which defines the
// results (the exact-alpha copies are whole-pixel shift mixes).

#include <cwchar>

#include "graphics/lice_blit_avx2.h"
#include "graphics/lice_blit_rows.h"
#include "graphics/lice_blit_sse.h"

namespace
{

void fillGeneric(const LICE_FillJob& j)
{
  if (j.sel == 0)
  {
    if (j.alpha == 1.0f)
      return LICE_FillRows<_LICE_CombinePixelsClobber>(j);
    if (j.alpha == 0.5f)
      return LICE_FillRows<LICE_ShiftMixHalf>(j);
    if (j.alpha == 0.25f)
      return LICE_FillRows<LICE_ShiftMixQuarter>(j);
    if (j.alpha == 0.75f)
      return LICE_FillRows<LICE_ShiftMixThreeQuarter>(j);
    if (j.alpha < 0.0f)
      return;
  }
  if (j.sel > 5)
    return;
  LICE_WithCombine(j.sel, [&]<class C>() { LICE_FillRows<C>(j); });
}

bool always(const LICE_FillJob&)
{
  return true;
}

bool solidFill(const LICE_FillJob& j)
{
  return j.sel == 0 && j.alpha == 1.0f;
}

// The C library's wide-character fill is a tuned 32-bit pattern store.
static_assert(sizeof(wchar_t) == sizeof(LICE_PixelValue));
void solidRows(const LICE_FillJob& j)
{
  wchar_t c;
  memcpy(&c, &j.color, sizeof c);
  for (int y = 0; y < j.h; ++y)
    wmemset(reinterpret_cast<wchar_t*>(j.dest + y * j.dest_step), c, size_t(j.w));
}

bool halfFill(const LICE_FillJob& j)
{
  return j.sel == 0 && j.alpha == 0.5f;
}
bool quarterFill(const LICE_FillJob& j)
{
  return j.sel == 0 && j.alpha == 0.25f;
}
bool threeQuarterFill(const LICE_FillJob& j)
{
  return j.sel == 0 && j.alpha == 0.75f;
}

#if LICE_HAVE_SSE2
// One SSE2 kernel per four pixels of each row, the operator C for the tail.
template <class C, class K>
void sseFillRows(const LICE_FillJob& j, K kernel)
{
  const unsigned char* c = reinterpret_cast<const unsigned char*>(&j.color);
  const int w = j.w, h = j.h;
  const long dstep = j.dest_step;
  for (int y = 0; y < h; ++y)
  {
    unsigned char* d = j.dest + y * dstep;
    int x = 0;
    for (; x + 4 <= w; x += 4, d += 16)
      kernel(d);
    for (; x < w; ++x, d += 4)
      C::doPix(d, c[1], c[2], c[3], c[0], j.ia);
  }
}

// The colour's share of each shift mix is constant: only d is shifted per pixel.
void halfMixFill(const LICE_FillJob& j)
{
  const __m128i c = _mm_set1_epi32(int((j.color >> 1) & 0x7f7f7f7f)), m = _mm_set1_epi32(0x7f7f7f7f);
  sseFillRows<LICE_ShiftMixHalf>(j, [=](unsigned char* d) {
    lice_sse::store4(d, _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(lice_sse::load4(d), 1), m), c));
  });
}

void quarterMixFill(const LICE_FillJob& j)
{
  const __m128i c = _mm_set1_epi32(int((j.color >> 2) & 0x3f3f3f3f));
  const __m128i m1 = _mm_set1_epi32(0x7f7f7f7f), m2 = _mm_set1_epi32(0x3f3f3f3f);
  sseFillRows<LICE_ShiftMixQuarter>(j, [=](unsigned char* d) {
    const __m128i v = lice_sse::load4(d);
    const __m128i h = _mm_and_si128(_mm_srli_epi32(v, 1), m1), q = _mm_and_si128(_mm_srli_epi32(v, 2), m2);
    lice_sse::store4(d, _mm_add_epi32(_mm_add_epi32(h, q), c));
  });
}

void threeQuarterMixFill(const LICE_FillJob& j)
{
  const LICE_PixelValue cc = ((j.color >> 1) & 0x7f7f7f7f) + ((j.color >> 2) & 0x3f3f3f3f);
  const __m128i c = _mm_set1_epi32(int(cc)), m2 = _mm_set1_epi32(0x3f3f3f3f);
  sseFillRows<LICE_ShiftMixThreeQuarter>(j, [=](unsigned char* d) {
    lice_sse::store4(d, _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(lice_sse::load4(d), 2), m2), c));
  });
}

bool fill255(const LICE_FillJob& j)
{
  return j.sel == 0 && j.ia == 255;
}

void copy255Fill(const LICE_FillJob& j)
{
  for (int y = 0; y < j.h; ++y)
    lice_sse::copy255Row(j.dest + y * j.dest_step, j.w, j.color);
}

bool fill255Avx2(const LICE_FillJob& j)
{
  return fill255(j) && LICE_Avx2Enabled();
}

void copy255FillAvx2(const LICE_FillJob& j)
{
  for (int y = 0; y < j.h; ++y)
    LICE_Copy255RowAvx2(j.dest + y * j.dest_step, j.w, j.color);
}

bool weightedFill(const LICE_FillJob& j)
{
  return j.sel == 0 && j.ia > 0 && j.ia <= 256;
}

// The colour's term c * w of the copy is the same for every pixel.
void copyBlendFill(const LICE_FillJob& j)
{
  const __m128i z = _mm_setzero_si128();
  const __m128i cw =
    _mm_mullo_epi16(_mm_unpacklo_epi8(_mm_set1_epi32(int(j.color)), z), _mm_set1_epi16(static_cast<short>(j.ia)));
  const __m128i inv = _mm_set1_epi16(static_cast<short>(256 - j.ia));
  auto half = [=](__m128i d16) { return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d16, inv), cw), 8); };
  sseFillRows<_LICE_CombinePixelsCopy>(j, [=](unsigned char* d) {
    const __m128i v = lice_sse::load4(d);
    lice_sse::store4(d, _mm_packus_epi16(half(_mm_unpacklo_epi8(v, z)), half(_mm_unpackhi_epi8(v, z))));
  });
}
#else
template <class Mix>
void shiftMixRows(const LICE_FillJob& j)
{
  for (int y = 0; y < j.h; ++y)
  {
    auto* d = reinterpret_cast<LICE_PixelValue*>(j.dest + y * j.dest_step);
    for (int x = 0; x < j.w; ++x)
      d[x] = Mix::mix(d[x], j.color);
  }
}
constexpr auto halfMixFill = shiftMixRows<LICE_ShiftMixHalf>;
constexpr auto quarterMixFill = shiftMixRows<LICE_ShiftMixQuarter>;
constexpr auto threeQuarterMixFill = shiftMixRows<LICE_ShiftMixThreeQuarter>;
#endif

} // namespace

// Exact alphas first: the weighted copy would also accept them.
const LICE_FastPath<LICE_FillJob> g_liceFillPaths[] = {
  {"solid", solidFill, solidRows},
  {"half mix", halfFill, halfMixFill},
  {"quarter mix", quarterFill, quarterMixFill},
  {"three-quarter mix", threeQuarterFill, threeQuarterMixFill},
#if LICE_HAVE_SSE2
  {"copy at 255 (AVX2)", fill255Avx2, copy255FillAvx2},
  {"copy at 255", fill255, copy255Fill},
  {"weighted copy", weightedFill, copyBlendFill},
#endif
  {"generic", always, fillGeneric},
};
const int g_liceFillPathCount = int(sizeof(g_liceFillPaths) / sizeof(g_liceFillPaths[0]));

void LICE_RunWeightedCopyFill(const LICE_FillJob& job)
{
#if LICE_HAVE_SSE2
  if (LICE_FastPathsEnabled())
    return job.ia != 255 ? copyBlendFill(job) : LICE_Avx2Enabled() ? copy255FillAvx2(job) : copy255Fill(job);
#endif
  LICE_FillRows<_LICE_CombinePixelsCopy>(job);
}

const char* LICE_RunFillJob(const LICE_FillJob& job)
{
  return LICE_RunJob(g_liceFillPaths, g_liceFillPathCount, job);
}
