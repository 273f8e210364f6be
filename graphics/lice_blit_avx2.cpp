// The AVX2 build of some row kernels. This file alone is compiled for
// AVX2, and it calls nothing with external linkage that another file could
// also define (no operator, no library template): only intrinsics and the
// internal kernels of lice_lanes.h, so no AVX2 code reaches the SSE2 paths.

#include "graphics/lice_blit_avx2.h"

#include <immintrin.h>

#include "graphics/lice_combine.h"
#include "graphics/lice_lanes.h"

namespace
{

__m256i load8(const unsigned char* p)
{
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

void store8(unsigned char* p, __m256i v)
{
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// Sixteen pixels as 16-bit channel lanes. Within each 128-bit half the
// bytes are grouped by channel, and the halves of two registers interleaved:
// every channel lane holds the same pixel, and Join undoes Split exactly.
struct Channels
{
  __m256i a, r, g, b;
};

__m256i byChannel()
{
  return _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15, 0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14,
                          3, 7, 11, 15);
}

Channels split(__m256i x, __m256i y)
{
  const __m256i z = _mm256_setzero_si256(), m = byChannel();
  x = _mm256_shuffle_epi8(x, m), y = _mm256_shuffle_epi8(y, m);
  const __m256i ar = _mm256_unpacklo_epi32(x, y), gb = _mm256_unpackhi_epi32(x, y);
  return {_mm256_unpacklo_epi8(ar, z), _mm256_unpackhi_epi8(ar, z), _mm256_unpacklo_epi8(gb, z),
          _mm256_unpackhi_epi8(gb, z)};
}

// The channels must lie in 0-255.
void join(const Channels& c, __m256i& x, __m256i& y)
{
  const __m256i ar = _mm256_shuffle_epi32(_mm256_packus_epi16(c.a, c.r), 0xd8);
  const __m256i gb = _mm256_shuffle_epi32(_mm256_packus_epi16(c.g, c.b), 0xd8);
  const __m256i m = byChannel(); // its own inverse
  x = _mm256_shuffle_epi8(_mm256_unpacklo_epi64(ar, gb), m);
  y = _mm256_shuffle_epi8(_mm256_unpackhi_epi64(ar, gb), m);
}

__m256i splat16(int v)
{
  return _mm256_set1_epi16(static_cast<short>(v));
}

// floor(65536 / i) for i in 1-255 (the operator's table holds it minus 1),
// held below 65536: for i = 1 it gives 65535. The single-precision quotient
// lies within 2^-9 of a unit of the exact one, which is an integer or at
// least 1/255 away from one, so truncation gives the floor. i = 0 is taken
// as 1, so nothing divides by zero even where a host unmasks that trap (a
// zero maximum or spread only ever multiplies zero).
__m256i reciprocal(__m256i i)
{
  const __m256i z = _mm256_setzero_si256();
  i = _mm256_max_epi16(i, splat16(1));
  const __m256 n = _mm256_set1_ps(65536.0f);
  auto half = [&](__m256i v) { return _mm256_cvttps_epi32(_mm256_div_ps(n, _mm256_cvtepi32_ps(v))); };
  return _mm256_packus_epi32(half(_mm256_unpacklo_epi16(i, z)), half(_mm256_unpackhi_epi16(i, z)));
}

// v * w / 256 truncated toward zero, |v| < 256, w in 0-256, given w * 128
// (the high half of 2|v| times it).
__m256i scaleTrunc(__m256i v, __m256i w128)
{
  const __m256i a = _mm256_abs_epi16(v);
  return _mm256_sign_epi16(_mm256_mulhi_epu16(_mm256_add_epi16(a, a), w128), v);
}

// Lanes whose hue sector is in the set (bit k for sector k), as a byte
// mask looked up by the sector plus 6 (3-14): no wrap of the hue needed.
// Both bytes of each lane carry the sector.
__m256i inSectors(__m256i sector6Bytes, int set)
{
  auto b = [set](int j) { return static_cast<char>(set >> (j % 6) & 1 ? -1 : 0); };
  const __m128i lut =
    _mm_setr_epi8(b(0), b(1), b(2), b(3), b(4), b(5), b(6), b(7), b(8), b(9), b(10), b(11), b(12), b(13), b(14), b(15));
  return _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(lut), sector6Bytes);
}

// The HSV adjust operator on sixteen pixels at weight wt (0-256), given wt *
// 128 in every lane. Each step is the operator's integer step; products
// that pass 16 bits are taken as high halves. With such weights the hue
// moves by at most 190, so it stays within one turn of its range.
Channels hsvAdjust16(const Channels& d, const Channels& s, __m256i wt128)
{
  const __m256i R = d.r, G = d.g, B = d.b, one = splat16(1);

  // Maximum and spread; the case is B's when B >= max(R, G), else G's when
  // G > R, else R's.
  const __m256i maxRG = _mm256_max_epi16(R, G);
  const __m256i max = _mm256_max_epi16(maxRG, B);
  const __m256i delta = _mm256_sub_epi16(max, _mm256_min_epi16(_mm256_min_epi16(R, G), B));
  const __m256i notB = _mm256_cmpgt_epi16(maxRG, B), gOverR = _mm256_cmpgt_epi16(G, R);
  const __m256i num = _mm256_blendv_epi8(
    _mm256_sub_epi16(R, G), _mm256_blendv_epi8(_mm256_sub_epi16(G, B), _mm256_sub_epi16(B, R), gOverR), notB);
  const __m256i redBase = _mm256_and_si256(_mm256_cmpgt_epi16(B, G), splat16(383));
  const __m256i base = _mm256_blendv_epi8(splat16(256), _mm256_blendv_epi8(redBase, splat16(128), gOverR), notB);

  // S = (q - 1) * delta / 256 with q = 65536 / max: for max = 1 (delta at
  // most 1) the held 65535 gives the same.
  __m256i S = _mm256_mulhi_epu16(_mm256_sub_epi16(reciprocal(max), one), _mm256_slli_epi16(delta, 8));
  // q * |num| / 1024 with q = 65536 / delta, the high half of q times |num|
  // * 64; for delta = 1 (|num| at most 1) the held 65535 loses |num|.
  const __m256i absNum = _mm256_abs_epi16(num);
  const __m256i share = _mm256_add_epi16(_mm256_mulhi_epu16(reciprocal(delta), _mm256_slli_epi16(absNum, 6)),
                                         _mm256_and_si256(_mm256_cmpeq_epi16(delta, one), absNum));
  __m256i H = _mm256_add_epi16(base, _mm256_sign_epi16(share, num));

  const __m256i hueOffset = _mm256_sub_epi16(_mm256_add_epi16(s.r, _mm256_srli_epi16(s.r, 1)), splat16(192));
  H = _mm256_add_epi16(H, scaleTrunc(hueOffset, wt128));
  const __m256i k128 = splat16(128), zero = _mm256_setzero_si256(), ff = splat16(255);
  S = _mm256_min_epi16(_mm256_max_epi16(_mm256_add_epi16(S, scaleTrunc(_mm256_sub_epi16(s.g, k128), wt128)), zero), ff);
  const __m256i V =
    _mm256_min_epi16(_mm256_max_epi16(_mm256_add_epi16(max, scaleTrunc(_mm256_sub_epi16(s.b, k128), wt128)), zero), ff);

  // The hue lies in -190 ... 573: its sector plus 6 is (H + 384) / 64, and
  // H mod 64 its place in the sector.
  const __m256i k6 = _mm256_srli_epi16(_mm256_add_epi16(H, splat16(384)), 6);
  const __m256i sector = _mm256_or_si256(k6, _mm256_slli_epi16(k6, 8));
  const __m256i h = _mm256_and_si256(H, splat16(63));
  // m = V * (256 - S) / 256; ramp(x) = (16384 - S * x) * V / 16384, x
  // running down in sectors 0, 2 and 4 and up in 1, 3 and 5.
  const __m256i m = _mm256_mulhi_epu16(_mm256_slli_epi16(V, 8), _mm256_sub_epi16(splat16(256), S));
  const __m256i x = _mm256_blendv_epi8(_mm256_sub_epi16(splat16(64), h), h, inSectors(sector, 0b101010));
  const __m256i ramp =
    _mm256_mulhi_epu16(_mm256_sub_epi16(splat16(16384), _mm256_mullo_epi16(S, x)), _mm256_slli_epi16(V, 2));

  // V goes to red in sectors 5 and 0, green in 1 and 2, blue in 3 and 4; m
  // to red in 2 and 3, green in 4 and 5, blue in 0 and 1; the ramp to the
  // third channel.
  auto pick = [&](int vSet, int mSet) {
    const __m256i low = _mm256_blendv_epi8(ramp, m, inSectors(sector, mSet));
    return _mm256_blendv_epi8(low, V, inSectors(sector, vSet));
  };
  return {s.a, pick(0b100001, 0b001100), pick(0b000110, 0b110000), pick(0b011000, 0b000011)};
}

// Runs kernel(d, s) on each group of n pixels from d and s, the last group
// through a copy so that it may be short. Everything it calls is inlined,
// so that the kernel's constants stay in registers across groups.
template <int Group, class K>
[[gnu::flatten]] void rowInGroups(unsigned char* d, const unsigned char* s, int n, K kernel)
{
  int x = 0;
  for (; x + Group <= n; x += Group, d += 4 * Group, s += 4 * Group)
    kernel(d, s);
  if (x < n)
  {
    unsigned char dt[4 * Group] = {}, st[4 * Group] = {};
    const size_t bytes = size_t(n - x) * 4;
    __builtin_memcpy(dt, d, bytes);
    __builtin_memcpy(st, s, bytes);
    kernel(dt, st);
    __builtin_memcpy(d, dt, bytes);
  }
}

} // namespace

void LICE_OverlayRowAvx2(unsigned char* d, const unsigned char* s, int n, int w)
{
  const __m256i z = _mm256_setzero_si256(), w16 = splat16(w), k16 = splat16((256 - w) * 128);
  const __m256i half = splat16(0x8000);
  rowInGroups<8>(d, s, n, [&](unsigned char* dp, const unsigned char* sp) {
    // Unpacking and packing stay within each 128-bit half, so the pixels
    // come back in their order.
    const __m256i dv = load8(dp), sv = load8(sp);
    const __m256i lo = lice_lanes::overlay16(_mm256_unpacklo_epi8(dv, z), _mm256_unpacklo_epi8(sv, z), w16, k16, half);
    const __m256i hi = lice_lanes::overlay16(_mm256_unpackhi_epi8(dv, z), _mm256_unpackhi_epi8(sv, z), w16, k16, half);
    store8(dp, _mm256_packus_epi16(lo, hi));
  });
}

void LICE_HSVAdjustRowAvx2(unsigned char* d, const unsigned char* s, int n, int w)
{
  const __m256i wt128 = splat16(w * 128);
  rowInGroups<16>(d, s, n, [&](unsigned char* dp, const unsigned char* sp) {
    const Channels out = hsvAdjust16(split(load8(dp), load8(dp + 32)), split(load8(sp), load8(sp + 32)), wt128);
    __m256i x, y;
    join(out, x, y);
    store8(dp, x), store8(dp + 32, y);
  });
}

void LICE_Copy255RowAvx2(unsigned char* d, int n, LICE_PixelValue c)
{
  const __m256i s = _mm256_set1_epi32(static_cast<int>(c)), sm1 = _mm256_sub_epi8(s, _mm256_set1_epi8(1));
  rowInGroups<8>(d, d, n,
                 [&](unsigned char* dp, const unsigned char*) { store8(dp, lice_lanes::copy255(load8(dp), s, sm1)); });
}
