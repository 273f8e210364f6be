// The bilinear copy's run kernel built for AVX2: two pixels per register,
// one in each 128-bit lane, eight per step. The weights and the column
// loads are the SSE2 build's (lice_bilinear_sse.h); the processor choice is
// in lice_simd.cpp.

#include "graphics/lice_bilinear_sse.h"
#include "graphics/lice_simd.h"

#if LICE_AVX2_BUILD && LICE_HAVE_SSE2
#include <immintrin.h>

namespace
{

[[gnu::target("avx2")]] inline __m256i lanes(__m128i lo, __m128i hi)
{
  return _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
}

// Weights of the SSE2 build, pixels 0-3 in the low lane and 4-7 in the high.
struct Weights8x2
{
  __m256i left, right;
};

// Pixels K (low lane) and K + 4 (high lane) of a group: channels A, R, G, B
// as 32-bit lanes.
template <int K>
[[gnu::target("avx2")]] inline __m256i pixels(__m128i colsLow, __m128i colsHigh, const Weights8x2& w)
{
  const __m256i z = _mm256_setzero_si256(), cols = lanes(colsLow, colsHigh);
  const __m256i left = _mm256_unpacklo_epi8(cols, z), right = _mm256_unpackhi_epi8(cols, z);
  constexpr int sel = K * 0x55;
  const __m256i sum = _mm256_add_epi32(_mm256_madd_epi16(left, _mm256_shuffle_epi32(w.left, sel)),
                                       _mm256_madd_epi16(right, _mm256_shuffle_epi32(w.right, sel)));
  const __m256i all = _mm256_madd_epi16(_mm256_add_epi16(left, right), _mm256_set1_epi16(-32768));
  return _mm256_srli_epi32(_mm256_sub_epi32(sum, all), 16);
}

} // namespace

[[gnu::target("avx2")]] void LICE_BilinearRunAvx2(const LICE_BilinearRun& run)
{
  using namespace lice_bilinear;
  Groups g(run);
  const LICE_BilinearRun& r = g.r;
  int i = 0;
  for (; i + 8 <= r.n; i += 8)
  {
    const Weights8 w8 = g.next();
    const Weights8x2 w = {lanes(w8.left[0], w8.left[1]), lanes(w8.right[0], w8.right[1])};
    auto cols = [&](int k) { return columns(r, at(r, i + k)); };
    const __m256i p04 = pixels<0>(cols(0), cols(4), w), p15 = pixels<1>(cols(1), cols(5), w);
    const __m256i p26 = pixels<2>(cols(2), cols(6), w), p37 = pixels<3>(cols(3), cols(7), w);
    // Packing keeps lanes apart: pixels 0-3 end in the low lane, 4-7 in the high.
    const __m256i out = _mm256_packus_epi16(_mm256_packs_epi32(p04, p15), _mm256_packs_epi32(p26, p37));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(r.dest + i * 4), out);
  }
  if (i < r.n)
  {
    LICE_BilinearRun tail = r;
    tail.dest += i * 4;
    tail.pos = at(r, i);
    tail.n = r.n - i;
    LICE_BilinearRunSse2(tail);
  }
}
#endif
