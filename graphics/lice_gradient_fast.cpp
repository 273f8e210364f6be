// Fast paths of the gradient; the generic loop defines the results.

#include <cstring>

#include "graphics/lice_blit_sse.h"
#include "graphics/lice_fixed.h"
#include "graphics/lice_gradient.h"

namespace
{

bool always(const LICE_GradientJob&)
{
  return true;
}

#if LICE_HAVE_SSE2
constexpr int64_t kTop = int64_t(256) << 16;

// Lanes hold four pixels' channels in 16.16; values stay below 2^24 and
// steps below 2^24 / (w - 1), so 32 bits hold every sum.

// True when channel c stays within [lo, hi) in 16.16 over the whole
// rectangle: a linear ramp's extremes lie at its corners.
bool channelWithin(const LICE_GradientJob& j, int c, int64_t lo, int64_t hi)
{
  for (int corner = 0; corner < 4; ++corner)
  {
    const __int128 v =
      j.v[c] + __int128(corner & 1 ? j.w - 1 : 0) * j.dx[c] + __int128(corner & 2 ? j.h - 1 : 0) * j.dy[c];
    if (v < lo || v >= hi)
      return false;
  }
  return true;
}

bool coloursWithin(const LICE_GradientJob& j)
{
  return channelWithin(j, 0, 0, kTop) && channelWithin(j, 1, 0, kTop) && channelWithin(j, 2, 0, kTop);
}

// Weight 256 throughout: the weighted copy is the colour itself with
// A = 256 clamped to 255, a plain store.
bool opaqueCopy(const LICE_GradientJob& j)
{
  return j.sel == 0 && !j.dx[3] && !j.dy[3] && j.v[3] >= kTop && j.v[3] < kTop + LICE_FIXED_ONE && coloursWithin(j);
}

// Weights 0-256 with colours 0-255: d * (256 - a) + s * a fits 16-bit
// lanes. The A channel's source is a itself; held at 255 it gives the same
// result (at a = 256 both clamp to 255).
bool weightedCopy(const LICE_GradientJob& j)
{
  return j.sel == 0 && channelWithin(j, 3, 0, kTop + LICE_FIXED_ONE) && coloursWithin(j);
}

// Runs group(d, r, g, b, a) on each four pixels of each row, the lanes
// holding the channels' 16.16 values, and one(d, value) on the rest,
// value(c) being channel c's value there.
template <class Group, class One>
void rows(const LICE_GradientJob& j, Group group, One one)
{
  for (int row = 0; row < j.h; ++row)
  {
    unsigned char* d = j.dest + row * j.dest_step;
    auto lane = [&](int c) {
      const int64_t step = j.dx[c];
      return _mm_add_epi32(_mm_set1_epi32(int(j.v[c] + row * j.dy[c])),
                           _mm_set_epi32(int(3 * step), int(2 * step), int(step), 0));
    };
    __m128i r = lane(0), g = lane(1), b = lane(2), a = lane(3);
    const __m128i sr = _mm_set1_epi32(int(4 * j.dx[0])), sg = _mm_set1_epi32(int(4 * j.dx[1]));
    const __m128i sb = _mm_set1_epi32(int(4 * j.dx[2])), sa = _mm_set1_epi32(int(4 * j.dx[3]));
    int i = 0;
    for (; i + 4 <= j.w; i += 4, d += 16)
    {
      group(d, r, g, b, a);
      r = _mm_add_epi32(r, sr), g = _mm_add_epi32(g, sg), b = _mm_add_epi32(b, sb), a = _mm_add_epi32(a, sa);
    }
    for (; i < j.w; ++i, d += 4)
      one(d, [&](int c) { return j.v[c] + row * j.dy[c] + i * j.dx[c]; });
  }
}

void opaqueRows(const LICE_GradientJob& j)
{
  const __m128i mr = _mm_set1_epi32(0xff00), mg = _mm_set1_epi32(0xff0000), mb = _mm_set1_epi32(int(0xff000000u));
  const __m128i a = _mm_set1_epi32(0xff);
  rows(
    j,
    [&](unsigned char* d, __m128i r, __m128i g, __m128i b, __m128i) {
      const __m128i pr = _mm_and_si128(_mm_srli_epi32(r, 8), mr), pg = _mm_and_si128(g, mg);
      const __m128i pb = _mm_and_si128(_mm_slli_epi32(b, 8), mb);
      lice_sse::store4(d, _mm_or_si128(_mm_or_si128(a, pr), _mm_or_si128(pg, pb)));
    },
    [](unsigned char* d, auto value) {
      const LICE_PixelValue p = 0xff | LICE_PixelValue(value(0) >> 16) << 8 | LICE_PixelValue(value(1) >> 16) << 16 |
                                LICE_PixelValue(value(2) >> 16) << 24;
      memcpy(d, &p, 4);
    });
}

void weightedRows(const LICE_GradientJob& j)
{
  const __m128i z = _mm_setzero_si128(), k255 = _mm_set1_epi16(255);
  rows(
    j,
    [&](unsigned char* d, __m128i rv, __m128i gv, __m128i bv, __m128i av) {
      const __m128i a = _mm_srli_epi32(av, 16), r = _mm_srli_epi32(rv, 16);
      const __m128i g = _mm_srli_epi32(gv, 16), b = _mm_srli_epi32(bv, 16);
      // Transposed to A R G B per pixel, 16-bit, two pixels a register.
      const __m128i ar = _mm_min_epi16(_mm_packs_epi32(a, r), k255), gb = _mm_packs_epi32(g, b);
      const __m128i t0 = _mm_unpacklo_epi16(ar, gb), t1 = _mm_unpackhi_epi16(ar, gb);
      const __m128i s01 = _mm_unpacklo_epi16(t0, t1), s23 = _mm_unpackhi_epi16(t0, t1);
      const __m128i aa = _mm_packs_epi32(a, a), w = _mm_unpacklo_epi16(aa, aa);
      const __m128i w01 = _mm_unpacklo_epi32(w, w), w23 = _mm_unpackhi_epi32(w, w);
      const __m128i dv = lice_sse::load4(d);
      lice_sse::store4(d, _mm_packus_epi16(lice_sse::blend16(_mm_unpacklo_epi8(dv, z), s01, w01),
                                           lice_sse::blend16(_mm_unpackhi_epi8(dv, z), s23, w23)));
    },
    [](unsigned char* d, auto value) {
      const int a = int(value(3) >> 16);
      _LICE_CombinePixelsCopy::doPix(d, int(value(0) >> 16), int(value(1) >> 16), int(value(2) >> 16), a, a);
    });
}
#endif

} // namespace

// The opaque copy first: the weighted one does not take weight 256.
const LICE_FastPath<LICE_GradientJob> g_liceGradientPaths[] = {
#if LICE_HAVE_SSE2
  {"opaque copy", opaqueCopy, opaqueRows},
  {"weighted copy", weightedCopy, weightedRows},
#endif
  {"generic", always, LICE_GradientGeneric},
};
const int g_liceGradientPathCount = int(sizeof(g_liceGradientPaths) / sizeof(g_liceGradientPaths[0]));

const char* LICE_RunGradientJob(const LICE_GradientJob& job)
{
  return LICE_RunJob(g_liceGradientPaths, g_liceGradientPathCount, job);
}
