// Whole-bitmap pixel operations: half-size reduction, comparison, alpha
// from a colour key and per-channel multiply-add.

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "graphics/lice_blit_rows.h"
#include "graphics/lice_blit_sse.h"
#include "graphics/lice_fixed.h"

namespace
{

// Pixels of a bitmap that can be read as w x h rows span apart, or null.
LICE_PixelValue* usableBits(LICE_IBitmap* bm)
{
  return bm->getWidth() > 0 && bm->getHeight() > 0 && LICE_UsableSpan(bm) ? bm->getBits() : nullptr;
}

#if LICE_HAVE_SSE2
// Four output pixels at a time from eight of each source row; returns the
// first pixel left for the scalar loop. Channel sums stay below 256.
int halveRow(LICE_PixelValue* out, const LICE_PixelValue* a, const LICE_PixelValue* b, int w)
{
  const __m128i m = _mm_set1_epi32(0x3f3f3f3f);
  auto q = [&](const LICE_PixelValue* p) {
    return _mm_and_si128(_mm_srli_epi32(lice_sse::load4(reinterpret_cast<const unsigned char*>(p)), 2), m);
  };
  int j = 0;
  for (; j + 4 <= w; j += 4)
  {
    const __m128 s0 = _mm_castsi128_ps(_mm_add_epi32(q(a + 2 * j), q(b + 2 * j)));
    const __m128 s1 = _mm_castsi128_ps(_mm_add_epi32(q(a + 2 * j + 4), q(b + 2 * j + 4)));
    const __m128i even = _mm_castps_si128(_mm_shuffle_ps(s0, s1, _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(s0, s1, _MM_SHUFFLE(3, 1, 3, 1)));
    lice_sse::store4(reinterpret_cast<unsigned char*>(out + j), _mm_add_epi32(even, odd));
  }
  return j;
}
#else
int halveRow(LICE_PixelValue*, const LICE_PixelValue*, const LICE_PixelValue*, int)
{
  return 0;
}
#endif

} // namespace

void LICE_HalveBlitAA(LICE_IBitmap* dest, LICE_IBitmap* src)
{
  if (!dest || !src)
    return;
  LICE_PixelValue *d = usableBits(dest), *s = usableBits(src);
  if (!d || !s)
    return;
  const int w = std::min(dest->getWidth(), src->getWidth() / 2), h = std::min(dest->getHeight(), src->getHeight() / 2);
  const size_t dspan = size_t(dest->getRowSpan()), sspan = size_t(src->getRowSpan());
  auto q = [](LICE_PixelValue v) { return (v >> 2) & 0x3f3f3f3f; };
  for (int i = 0; i < h; ++i)
  {
    LICE_PixelValue* out = d + size_t(i) * dspan;
    const LICE_PixelValue* a = s + size_t(2 * i) * sspan;
    const LICE_PixelValue* b = a + sspan;
    int j = LICE_FastPathsEnabled() ? halveRow(out, a, b, w) : 0;
    for (; j < w; ++j)
      out[j] = q(a[2 * j]) + q(a[2 * j + 1]) + q(b[2 * j]) + q(b[2 * j + 1]);
  }
}

int LICE_BitmapCmp(LICE_IBitmap* a, LICE_IBitmap* b)
{
  if (!a || !b)
    return !a && !b ? 0 : !a ? -1 : 1;
  if (a->getWidth() != b->getWidth())
    return b->getWidth() - a->getWidth();
  if (a->getHeight() != b->getHeight())
    return b->getHeight() - a->getHeight();
  // Bitmaps without readable pixels order like missing ones.
  LICE_PixelValue *pa = usableBits(a), *pb = usableBits(b);
  if (!pa || !pb)
    return !pa && !pb ? 0 : !pa ? -1 : 1;
  return memcmp(pa, pb, size_t(a->getWidth()) * size_t(a->getHeight()) * 4);
}

void LICE_SetAlphaFromColorMask(LICE_IBitmap* bm, LICE_PixelValue color)
{
  if (!bm)
    return;
  LICE_PixelValue* p = usableBits(bm);
  if (!p)
    return;
  const int w = bm->getWidth(), h = bm->getHeight();
  const size_t span = size_t(bm->getRowSpan());
  for (int y = 0; y < h; ++y, p += span)
    for (int x = 0; x < w; ++x)
    {
      const LICE_PixelValue v = p[x] & 0xffffff00;
      p[x] = v == color ? color : v | 0xff;
    }
}

namespace
{

// trunc(v * 256) held within the int range; v not NaN.
int64_t scaled256(float v)
{
  return LICE_TruncClamp(double(v) * 256.0, INT_MIN, INT_MAX);
}

} // namespace

void LICE_MultiplyAddRect(LICE_IBitmap* bm, int x, int y, int w, int h, float rsc, float gsc, float bsc, float asc,
                          float radd, float gadd, float badd, float aadd)
{
  LICE_ClippedRect r;
  if (!bm || !LICE_ClipRect(bm, x, y, w, h, r))
    return;
  for (float v : {rsc, gsc, bsc, asc, radd, gadd, badd, aadd})
    if (std::isnan(v))
      return;
  // Bytes A, R, G, B. 64-bit sums: the scales saturate at the int range.
  const int64_t sc[4] = {scaled256(asc), scaled256(rsc), scaled256(gsc), scaled256(bsc)};
  const int64_t add[4] = {scaled256(aadd), scaled256(radd), scaled256(gadd), scaled256(badd)};
  for (int j = 0; j < r.h; ++j)
  {
    unsigned char* p = r.first + j * r.step;
    for (int i = 0; i < r.w; ++i, p += 4)
      for (int c = 0; c < 4; ++c)
        p[c] = LICE_ClampChannel64((p[c] * sc[c] + add[c]) >> 8);
  }
}
