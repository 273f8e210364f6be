#pragma once
// The bilinear opaque copy's run kernel, in pieces shared by its SSE2 and
// AVX2 builds (the AVX2 build is lice_sample_avx2.cpp).
//
// Every weight is kept whole. A weight w of 0-65535 does not fit a signed
// 16-bit multiply, w - 32768 does: with the channels p_i of the four
// pixels, sum p_i * w_i = sum p_i * (w_i - 32768) + 32768 * sum p_i, both
// exact 32-bit multiply-adds, and the top bits of the sum are the result.

#include <cstdint>

#include "graphics/lice_blit_sse.h"

#if LICE_HAVE_SSE2

// A run of the bilinear copy in which every pixel has its columns x and
// x + 1 inside the source clip: pixel i samples the 16.16 position
// pos + i * dx, counted from the clip's left edge (so never negative), from
// rows row1 and row2 with the row fraction fy, 1-65535. A row that blends in
// nothing from below (the clip's last row, or fraction 0) passes row2 = row1
// and any fy: the weights of the two rows then add up to those of the one.
struct LICE_BilinearRun
{
  unsigned char* dest = nullptr;
  const unsigned char* row1 = nullptr;
  const unsigned char* row2 = nullptr;
  int64_t pos = 0, dx = 0;
  int n = 0;
  int fy = 0;
};

void LICE_BilinearRunSse2(const LICE_BilinearRun& r);
void LICE_BilinearRunAvx2(const LICE_BilinearRun& r);

namespace lice_bilinear
{

// Position of pixel k. Positions are stepped in unsigned arithmetic: a step
// past the run may lie beyond int64, and is never used.
static inline int64_t at(const LICE_BilinearRun& r, int k)
{
  return int64_t(uint64_t(r.pos) + uint64_t(k) * uint64_t(r.dx));
}

// The weights of eight pixels, less 32768: in half h (pixels 4h to 4h + 3)
// dword k of left holds the pair (w00, w01) of pixel 4h + k and of right the
// pair (w10, w11). With f = fx * fy >> 16: w00 = 65536 - fx - fy + f,
// w10 = fx - f, w01 = fy - f, w11 = f. With fy nonzero every weight fits 16
// bits (w00 is 65536 only at fx = fy = 0).
struct Weights8
{
  __m128i left[2], right[2];
};

static inline Weights8 weights8(__m128i fx, __m128i fy)
{
  const __m128i f = _mm_mulhi_epu16(fx, fy);
  const __m128i w10 = _mm_sub_epi16(fx, f), w01 = _mm_sub_epi16(fy, f);
  const __m128i w00 = _mm_sub_epi16(_mm_sub_epi16(_mm_setzero_si128(), fx), w01);
  // Modulo 2^16, w - 32768 is w with its top bit flipped.
  const __m128i half = _mm_set1_epi16(-32768);
  const __m128i l0 = _mm_xor_si128(w00, half), l1 = _mm_xor_si128(w01, half);
  const __m128i r0 = _mm_xor_si128(w10, half), r1 = _mm_xor_si128(f, half);
  Weights8 w;
  w.left[0] = _mm_unpacklo_epi16(l0, l1), w.left[1] = _mm_unpackhi_epi16(l0, l1);
  w.right[0] = _mm_unpacklo_epi16(r0, r1), w.right[1] = _mm_unpackhi_epi16(r0, r1);
  return w;
}

// The weights of a run, eight pixels at a time. Holds a copy of the run,
// which the stores to dest then cannot change.
struct Groups
{
  const LICE_BilinearRun r;
  const __m128i fy, step;
  __m128i fx;

  explicit Groups(const LICE_BilinearRun& run)
    : r(run), fy(_mm_set1_epi16(static_cast<short>(run.fy))),
      step(_mm_set1_epi16(static_cast<short>(uint64_t(run.dx) * 8))), fx(fractions(0))
  {
  }

  // The fractions of pixels k to k + 7 as 16-bit lanes.
  __m128i fractions(int k) const
  {
    auto f = [&](int i) { return static_cast<short>(at(r, k + i)); };
    return _mm_set_epi16(f(7), f(6), f(5), f(4), f(3), f(2), f(1), f(0));
  }

  // The next eight pixels' weights.
  Weights8 next()
  {
    const Weights8 w = weights8(fx, fy);
    fx = _mm_add_epi16(fx, step);
    return w;
  }
};

// Columns x and x + 1 of both rows at position pos, each channel of row1
// followed by the same channel of row2: the left column's 8 bytes, then the
// right column's.
static inline __m128i columns(const LICE_BilinearRun& r, int64_t pos)
{
  const long off = long(pos >> 16) * 4;
  return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(r.row1 + off)),
                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(r.row2 + off)));
}

} // namespace lice_bilinear

#endif
