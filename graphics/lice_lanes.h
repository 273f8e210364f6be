#pragma once
// Combine kernels on 16-bit lanes, written once for both register widths:
// the SSE2 fast paths use them on __m128i (two pixels per register half),
// the AVX2 build (lice_blit_avx2.cpp, compiled for AVX2 alone) on __m256i.
// Everything here has internal linkage, so the two builds never share a
// function.

#if defined(__SSE2__)
#include <immintrin.h>

namespace lice_lanes
{

// The lane operations for both widths, the AVX2 ones only where the
// compiler targets AVX2.
#if defined(__AVX2__)
#define LICE_LANE_WIDE(...) __VA_ARGS__
#else
#define LICE_LANE_WIDE(...)
#endif
#define LICE_LANE_BINARY(name, sse2, avx2)                                                                             \
  static inline __m128i name(__m128i a, __m128i b)                                                                     \
  {                                                                                                                    \
    return sse2(a, b);                                                                                                 \
  }                                                                                                                    \
  LICE_LANE_WIDE(static inline __m256i name(__m256i a, __m256i b) { return avx2(a, b); })
#define LICE_LANE_SHIFT(name, sse2, avx2, n)                                                                           \
  static inline __m128i name(__m128i a)                                                                                \
  {                                                                                                                    \
    return sse2(a, n);                                                                                                 \
  }                                                                                                                    \
  LICE_LANE_WIDE(static inline __m256i name(__m256i a) { return avx2(a, n); })

LICE_LANE_BINARY(add16, _mm_add_epi16, _mm256_add_epi16)
LICE_LANE_BINARY(sub16, _mm_sub_epi16, _mm256_sub_epi16)
LICE_LANE_BINARY(xor16, _mm_xor_si128, _mm256_xor_si256)
LICE_LANE_BINARY(mullo16, _mm_mullo_epi16, _mm256_mullo_epi16)
LICE_LANE_BINARY(mulhiu16, _mm_mulhi_epu16, _mm256_mulhi_epu16)
LICE_LANE_BINARY(sub8, _mm_sub_epi8, _mm256_sub_epi8)
LICE_LANE_BINARY(cmpeq8, _mm_cmpeq_epi8, _mm256_cmpeq_epi8)
LICE_LANE_BINARY(maxu8, _mm_max_epu8, _mm256_max_epu8)
LICE_LANE_SHIFT(sign16, _mm_srai_epi16, _mm256_srai_epi16, 15)
LICE_LANE_SHIFT(shl8, _mm_slli_epi16, _mm256_slli_epi16, 8)

#undef LICE_LANE_SHIFT
#undef LICE_LANE_BINARY
#undef LICE_LANE_WIDE

// Overlay on channels d16 and s16 at weights w16 (0-256) with k16 = (256 -
// w) * 128; half holds 0x8000. t = k + s * w lies in 0-65280. u = (32768 -
// t) * d / 256 truncated is +q below 32768 and -q above, q = |t - 32768| *
// d >> 8, so t + u lies in 0-65280 too; d * (t + u) / 32768 is the high half
// of 2d times it, at most 508, for the pack to clamp.
template <class V>
static inline V overlay16(V d16, V s16, V w16, V k16, V half)
{
  const V t = add16(k16, mullo16(s16, w16));
  const V e = xor16(t, half); // t - 32768
  const V below = sign16(e);
  const V q = mulhiu16(sub16(xor16(e, below), below), shl8(d16));
  const V tu = sub16(t, sub16(xor16(q, below), below));
  return mulhiu16(add16(d16, d16), tu);
}

// Copy at weight 255 on whole pixels: (d + s * 255) / 256 = s + floor((d -
// s) / 256), that is s - 1 where d < s and s elsewhere. sm1 holds s - 1 in
// each byte (wrapping at 0, where d < s never holds).
template <class V>
static inline V copy255(V d, V s, V sm1)
{
  return sub8(sm1, cmpeq8(maxu8(d, s), d));
}

} // namespace lice_lanes
#endif
