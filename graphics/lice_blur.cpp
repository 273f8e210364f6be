// One pass of a five-point blur, in place or into another bitmap.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "graphics/lice_blit_rows.h"
#include "graphics/lice_blit_sse.h"

namespace
{

// Whole-pixel shares: half, quarter and eighth of every channel, low bits
// dropped. Every weighting below sums to at most 255 per channel, so no
// carry crosses into the next channel.
inline LICE_PixelValue h2(LICE_PixelValue v)
{
  return (v >> 1) & 0x7f7f7f7f;
}
inline LICE_PixelValue h4(LICE_PixelValue v)
{
  return (v >> 2) & 0x3f3f3f3f;
}
inline LICE_PixelValue h8(LICE_PixelValue v)
{
  return (v >> 3) & 0x1f1f1f1f;
}

#if LICE_HAVE_SSE2
// Inner pixels 1 .. w - 2 of an interior row, four at a time; returns the
// first pixel left for the scalar loop.
int blurInner(LICE_PixelValue* out, const LICE_PixelValue* up, const LICE_PixelValue* c, const LICE_PixelValue* dn,
              int w)
{
  if (!LICE_FastPathsEnabled())
    return 1;
  const __m128i m2 = _mm_set1_epi32(0x7f7f7f7f), m8 = _mm_set1_epi32(0x1f1f1f1f);
  auto ld = [](const LICE_PixelValue* p) { return lice_sse::load4(reinterpret_cast<const unsigned char*>(p)); };
  auto e8 = [&](__m128i v) { return _mm_and_si128(_mm_srli_epi32(v, 3), m8); };
  int i = 1;
  for (; i + 4 <= w - 1; i += 4)
  {
    const __m128i half = _mm_and_si128(_mm_srli_epi32(ld(c + i), 1), m2);
    const __m128i eighths =
      _mm_add_epi32(_mm_add_epi32(e8(ld(c + i - 1)), e8(ld(c + i + 1))), _mm_add_epi32(e8(ld(up + i)), e8(ld(dn + i))));
    lice_sse::store4(reinterpret_cast<unsigned char*>(out + i), _mm_add_epi32(half, eighths));
  }
  return i;
}
#else
int blurInner(LICE_PixelValue*, const LICE_PixelValue*, const LICE_PixelValue*, const LICE_PixelValue*, int)
{
  return 1;
}
#endif

// One output row from the source rows above, at and below it (above or
// below null at the area's first or last row); w >= 2.
void blurRow(LICE_PixelValue* out, const LICE_PixelValue* up, const LICE_PixelValue* c, const LICE_PixelValue* dn,
             int w)
{
  if (up && dn)
  {
    out[0] = h2(c[0]) + h4(c[1]) + h8(up[0]) + h8(dn[0]);
    for (int i = blurInner(out, up, c, dn, w); i < w - 1; ++i)
      out[i] = h2(c[i]) + h8(c[i - 1]) + h8(c[i + 1]) + h8(up[i]) + h8(dn[i]);
    out[w - 1] = h4(c[w - 2]) + h2(c[w - 1]) + h8(up[w - 1]) + h8(dn[w - 1]);
    return;
  }
  const LICE_PixelValue* v = up ? up : dn;
  out[0] = h2(c[0]) + h4(c[1]) + h4(v[0]);
  for (int i = 1; i < w - 1; ++i)
    out[i] = h2(c[i]) + h4(v[i]) + h8(c[i + 1]) + h8(c[i - 1]);
  out[w - 1] = h2(c[w - 1]) + h4(c[w - 2]) + h4(v[w - 1]);
}

struct Rows
{
  unsigned char* first;
  long step;
  LICE_PixelValue* at(int r) const { return reinterpret_cast<LICE_PixelValue*>(first + r * step); }
};

// Rows blurred one after another onto the rows they are read from: each
// row is saved before it is overwritten, and the row above is read from
// that saved copy (two rows, alternating).
void blurInPlace(Rows rows, int w, int h, LICE_PixelValue* scratch)
{
  for (int r = 0; r < h; ++r)
  {
    LICE_PixelValue* cur = scratch + size_t(r & 1) * size_t(w);
    memcpy(cur, rows.at(r), size_t(w) * 4);
    const LICE_PixelValue* up = r > 0 ? scratch + size_t((r - 1) & 1) * size_t(w) : nullptr;
    blurRow(rows.at(r), up, cur, r + 1 < h ? rows.at(r + 1) : nullptr, w);
  }
}

void blurInto(Rows out, Rows in, int w, int h)
{
  for (int r = 0; r < h; ++r)
    blurRow(out.at(r), r > 0 ? in.at(r - 1) : nullptr, in.at(r), r + 1 < h ? in.at(r + 1) : nullptr, w);
}

} // namespace

void LICE_Blur(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch)
{
  if (!dest || !src)
    return;
  int64_t sx0 = std::max(srcx, 0), sy0 = std::max(srcy, 0);
  int64_t sx1 = std::min<int64_t>(int64_t(srcx) + srcw, src->getWidth());
  int64_t sy1 = std::min<int64_t>(int64_t(srcy) + srch, src->getHeight());
  int64_t dx = dstx, dy = dsty;
  if (dx < 0)
    sx0 -= dx, dx = 0;
  if (dy < 0)
    sy0 -= dy, dy = 0;
  sx1 = std::min<int64_t>(sx1, sx0 + dest->getWidth() - dx);
  sy1 = std::min<int64_t>(sy1, sy0 + dest->getHeight() - dy);
  if (sx1 - sx0 < 2 || sy1 - sy0 < 2)
    return;
  LICE_PixelValue *dbits = dest->getBits(), *sbits = src->getBits();
  if (!dbits || !sbits || !LICE_UsableSpan(dest) || !LICE_UsableSpan(src))
    return;

  const int w = int(sx1 - sx0), h = int(sy1 - sy0);
  const LICE_RowCursor d = LICE_RowAt(dest, dbits, int(dy)), s = LICE_RowAt(src, sbits, int(sy0));
  const Rows out{d.row + dx * 4, d.step}, in{s.row + sx0 * 4, s.step};
  if (out.first == in.first && out.step == in.step)
  {
    // Two rows on the stack for the widths the editor uses, else the heap.
    constexpr int kStackWidth = 1024;
    LICE_PixelValue stack[2 * kStackWidth];
    LICE_PixelValue* scratch = w <= kStackWidth ? stack : static_cast<LICE_PixelValue*>(malloc(size_t(w) * 8));
    if (!scratch)
      return;
    blurInPlace(out, w, h, scratch);
    if (scratch != stack)
      free(scratch);
  }
  else if (LICE_RowsOverlap(out.first, out.step, w, h, in.first, in.step, w, h))
  {
    // Onto itself at another offset: blur from a copy of the area.
    unsigned char* copy = LICE_CopyRowsPacked(in.first, in.step, w, h);
    if (!copy)
      return;
    blurInto(out, Rows{copy, long(w) * 4}, w, h);
    free(copy);
  }
  else
  {
    blurInto(out, in, w, h);
  }
}
