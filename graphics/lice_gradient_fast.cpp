// Fast paths of the gradient; the generic loop defines the results.

#include "graphics/lice_blit_sse.h"
#include "graphics/lice_fixed.h"
#include "graphics/lice_gradient.h"

namespace {

bool always(const LICE_GradientJob&) { return true; }

#if LICE_HAVE_SSE2
// Weight 256 throughout and every colour within 0-255 (2^24 in 16.16) at
// the rectangle's corners, which bound a linear ramp: the weighted copy is
// then the colour itself with A = 256 clamped to 255, a plain store.
bool opaqueCopy(const LICE_GradientJob& j)
{
  constexpr int64_t kTop = int64_t(256) << 16;
  if (j.sel != 0 || j.dx[3] || j.dy[3] || j.v[3] < kTop || j.v[3] >= kTop + LICE_FIXED_ONE) return false;
  for (int c = 0; c < 3; ++c)
    for (int corner = 0; corner < 4; ++corner) {
      const __int128 v =
          j.v[c] + __int128(corner & 1 ? j.w - 1 : 0) * j.dx[c] + __int128(corner & 2 ? j.h - 1 : 0) * j.dy[c];
      if (v < 0 || v >= kTop) return false;
    }
  return true;
}

inline LICE_PixelValue opaquePixel(uint32_t r, uint32_t g, uint32_t b)
{
  return 0xff | ((r >> 8) & 0xff00) | (g & 0xff0000) | ((b << 8) & 0xff000000);
}

void opaqueRows(const LICE_GradientJob& j)
{
  for (int r = 0; r < j.h; ++r) {
    auto* d = reinterpret_cast<LICE_PixelValue*>(j.dest + r * j.dest_step);
    const int64_t v0 = j.v[0] + r * j.dy[0], v1 = j.v[1] + r * j.dy[1], v2 = j.v[2] + r * j.dy[2];
    int i = 0;
    if (j.w >= 4) {
      // Lane k holds pixel i + k. Values stay below 2^24 and steps below
      // 2^24 / (w - 1), so the lanes' 32 bits hold every sum.
      auto lanes = [](int64_t v, int64_t d) {
        return _mm_add_epi32(_mm_set1_epi32(int(v)), _mm_set_epi32(int(3 * d), int(2 * d), int(d), 0));
      };
      __m128i R = lanes(v0, j.dx[0]), G = lanes(v1, j.dx[1]), B = lanes(v2, j.dx[2]);
      const __m128i sr = _mm_set1_epi32(int(4 * j.dx[0])), sg = _mm_set1_epi32(int(4 * j.dx[1]));
      const __m128i sb = _mm_set1_epi32(int(4 * j.dx[2]));
      const __m128i mr = _mm_set1_epi32(0xff00), mg = _mm_set1_epi32(0xff0000), mb = _mm_set1_epi32(int(0xff000000u));
      const __m128i a = _mm_set1_epi32(0xff);
      for (; i + 4 <= j.w; i += 4) {
        const __m128i px = _mm_or_si128(_mm_or_si128(a, _mm_and_si128(_mm_srli_epi32(R, 8), mr)),
                                        _mm_or_si128(_mm_and_si128(G, mg), _mm_and_si128(_mm_slli_epi32(B, 8), mb)));
        lice_sse::store4(reinterpret_cast<unsigned char*>(d + i), px);
        R = _mm_add_epi32(R, sr), G = _mm_add_epi32(G, sg), B = _mm_add_epi32(B, sb);
      }
    }
    for (; i < j.w; ++i)
      d[i] = opaquePixel(uint32_t(v0 + i * j.dx[0]), uint32_t(v1 + i * j.dx[1]), uint32_t(v2 + i * j.dx[2]));
  }
}
#endif

}  // namespace

const LICE_FastPath<LICE_GradientJob> g_liceGradientPaths[] = {
#if LICE_HAVE_SSE2
    {"opaque copy", opaqueCopy, opaqueRows},
#endif
    {"generic", always, LICE_GradientGeneric},
};
const int g_liceGradientPathCount = int(sizeof(g_liceGradientPaths) / sizeof(g_liceGradientPaths[0]));

const char* LICE_RunGradientJob(const LICE_GradientJob& job)
{
  return LICE_RunJob(g_liceGradientPaths, g_liceGradientPathCount, job);
}
