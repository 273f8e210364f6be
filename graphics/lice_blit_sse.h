#pragma once
// SSE2 row kernels for the fast paths, four pixels per step. Each channel is
// widened to 16 bits; with weights 0-256 every product and sum stays below
// 65536, so (d * (256 - w) + s * w) >> 8 is exactly the copy operator.
// Tails shorter than four pixels go through the operator itself.

#if defined(__SSE2__)
#define LICE_HAVE_SSE2 1
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "graphics/lice_combine.h"
#include "graphics/lice_lanes.h"

namespace lice_sse
{

static inline __m128i load4(const unsigned char* p)
{
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

static inline void store4(unsigned char* p, __m128i v)
{
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Lanes A0 R0 G0 B0 A1 R1 G1 B1: the A lane of each pixel copied to its four.
static inline __m128i broadcastAlpha(__m128i v16)
{
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v16, 0), 0);
}

static inline __m128i alphaLanes()
{
  return _mm_set_epi16(0, 0, 0, -1, 0, 0, 0, -1);
}

// (d * (256 - w) + s * w) >> 8 on 16-bit lanes, w in 0-256.
static inline __m128i blend16(__m128i d16, __m128i s16, __m128i w16)
{
  const __m128i inv = _mm_sub_epi16(_mm_set1_epi16(256), w16);
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d16, inv), _mm_mullo_epi16(s16, w16)), 8);
}

// Applies f(d16, s16) to both halves of four pixels.
template <class F>
static inline __m128i perHalf(__m128i d, __m128i s, F f)
{
  const __m128i z = _mm_setzero_si128();
  const __m128i lo = f(_mm_unpacklo_epi8(d, z), _mm_unpacklo_epi8(s, z));
  const __m128i hi = f(_mm_unpackhi_epi8(d, z), _mm_unpackhi_epi8(s, z));
  return _mm_packus_epi16(lo, hi);
}

// Mask of the A bytes of four pixels.
static inline __m128i alphaBytes(__m128i v)
{
  return _mm_and_si128(v, _mm_set1_epi32(0xff));
}

// Copy operator at a fixed weight w, 0 < w <= 256.
static inline __m128i copyBlend(__m128i d, __m128i s, int w)
{
  const __m128i w16 = _mm_set1_epi16(static_cast<short>(w));
  return perHalf(d, s, [=](__m128i d16, __m128i s16) { return blend16(d16, s16, w16); });
}

// Copy weighted by (a + 1) * w / 256, 0 < w < 256; a = 0 gives weight 0 and
// so leaves the pixel as it is, as the operator requires.
static inline __m128i sourceAlphaBlend(__m128i d, __m128i s, int w)
{
  const __m128i w16 = _mm_set1_epi16(static_cast<short>(w));
  const __m128i one = _mm_set1_epi16(1);
  return perHalf(d, s, [=](__m128i d16, __m128i s16) {
    const __m128i a1 = _mm_add_epi16(broadcastAlpha(s16), one);
    return blend16(d16, s16, _mm_srli_epi16(_mm_mullo_epi16(a1, w16), 8));
  });
}

// Weight a + 1, none at a = 0, and the weight itself as the A source (255
// for a = 255, whose weight is 256).
static inline __m128i sourceAlphaOpaqueBlend(__m128i d, __m128i s)
{
  const __m128i one = _mm_set1_epi16(1);
  const __m128i alane = alphaLanes();
  return perHalf(d, s, [=](__m128i d16, __m128i s16) {
    const __m128i a = broadcastAlpha(s16);
    const __m128i w = _mm_add_epi16(_mm_add_epi16(a, one), _mm_cmpeq_epi16(a, _mm_setzero_si128()));
    const __m128i asrc = _mm_add_epi16(w, _mm_cmpeq_epi16(a, _mm_set1_epi16(255)));
    const __m128i s2 = _mm_or_si128(_mm_andnot_si128(alane, s16), _mm_and_si128(alane, asrc));
    return blend16(d16, s2, w);
  });
}

// Add at weight w, 0 <= w <= 256: d + (s * w >> 8); the pack clamps at 255.
static inline __m128i addBlend(__m128i d, __m128i s, int w)
{
  const __m128i w16 = _mm_set1_epi16(static_cast<short>(w));
  return perHalf(
    d, s, [=](__m128i d16, __m128i s16) { return _mm_add_epi16(d16, _mm_srli_epi16(_mm_mullo_epi16(s16, w16), 8)); });
}

// Multiply at weight w, 0 < w <= 256: the factor (256 - w) * 256 + s * w is
// 65536 - w * (256 - s), which lies in 0-65535 for such weights, so it fits
// 16 bits and d * factor / 65536 is the high half of the product.
static inline __m128i mulBlend(__m128i d, __m128i s, int w)
{
  const __m128i w16 = _mm_set1_epi16(static_cast<short>(w)), k256 = _mm_set1_epi16(256);
  return perHalf(d, s, [=](__m128i d16, __m128i s16) {
    const __m128i f = _mm_sub_epi16(_mm_setzero_si128(), _mm_mullo_epi16(w16, _mm_sub_epi16(k256, s16)));
    return _mm_mulhi_epu16(d16, f);
  });
}

// Overlay at weight w, 0 <= w <= 256.
static inline __m128i overlayBlend(__m128i d, __m128i s, int w)
{
  const __m128i w16 = _mm_set1_epi16(static_cast<short>(w));
  const __m128i k16 = _mm_set1_epi16(static_cast<short>((256 - w) * 128));
  const __m128i half = _mm_set1_epi16(static_cast<short>(0x8000));
  return perHalf(d, s, [=](__m128i d16, __m128i s16) { return lice_lanes::overlay16(d16, s16, w16, k16, half); });
}

// n pixels from p, copied over by colour c at weight 255; the last few one
// at a time through the same operations.
static inline void copy255Row(unsigned char* p, int n, LICE_PixelValue c)
{
  const __m128i s = _mm_set1_epi32(static_cast<int>(c)), sm1 = _mm_sub_epi8(s, _mm_set1_epi8(1));
  int x = 0;
  for (; x + 4 <= n; x += 4, p += 16)
    store4(p, lice_lanes::copy255(load4(p), s, sm1));
  for (; x < n; ++x, p += 4)
  {
    int v;
    memcpy(&v, p, 4);
    v = _mm_cvtsi128_si32(lice_lanes::copy255(_mm_cvtsi32_si128(v), s, sm1));
    memcpy(p, &v, 4);
  }
}

// Copies n pixels with stores that bypass the caches (callers fence once
// at the end). Pixels before the first 16-byte boundary of d and after the
// last are copied normally.
static inline void streamCopy(unsigned char* d, const unsigned char* s, int n)
{
  int x = 0;
  for (; x < n && (reinterpret_cast<uintptr_t>(d) & 15); ++x, d += 4, s += 4)
    memcpy(d, s, 4);
  for (; x + 4 <= n; x += 4, d += 16, s += 16)
    _mm_stream_si128(reinterpret_cast<__m128i*>(d), load4(s));
  for (; x < n; ++x, d += 4, s += 4)
    memcpy(d, s, 4);
}

static inline __m128i halfMix(__m128i d, __m128i s)
{
  const __m128i m = _mm_set1_epi32(0x7f7f7f7f);
  return _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(d, 1), m), _mm_and_si128(_mm_srli_epi32(s, 1), m));
}

} // namespace lice_sse
#endif
