// Feeds arbitrary primitives, coordinates, alphas and modes to every vector
// drawing entry point on a guarded bitmap; a write outside the bitmap or a
// hang is a failure. Floats come from raw bytes, so NaN, infinities and
// huge values all occur.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/graphics/lice_test_support.h"

namespace
{

class Reader
{
public:
  Reader(const uint8_t* d, size_t n) : m_d(d), m_n(n) {}
  bool more() const { return m_n > 0; }
  uint8_t byte()
  {
    if (!m_n)
      return 0;
    --m_n;
    return *m_d++;
  }
  int i32()
  {
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k)
      v |= uint32_t(byte()) << (8 * k);
    return int(v);
  }
  // Mostly small coordinates around the bitmap, now and then any bit pattern.
  int coord()
  {
    const uint8_t k = byte();
    return k < 200 ? int(k) - 100 : i32();
  }
  float f32()
  {
    const uint8_t k = byte();
    if (k < 200)
      return float(int(k) - 100) * 0.25f;
    uint32_t v = uint32_t(i32());
    float f;
    memcpy(&f, &v, 4);
    return f;
  }

private:
  const uint8_t* m_d;
  size_t m_n;
};

} // namespace

// libFuzzer finds it by name; no header declares it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  Reader in(data, size);
  const int w = 1 + in.byte() % 64, h = 1 + in.byte() % 64;
  const uint8_t shape = in.byte();
  TestBitmap bm(w, h, w + shape % 4, (shape & 4) != 0);
  bm.fill(0x80808080);
  for (int op = 0; op < 16 && in.more(); ++op)
  {
    const uint8_t kind = in.byte();
    const LICE_PixelValue c = LICE_PixelValue(in.i32());
    const float alpha = (kind & 0x80) ? in.f32() : 1.0f;
    const int mode = in.byte() % 8 | ((kind & 0x40) ? LICE_BLIT_USE_ALPHA : 0);
    const bool aa = (kind & 0x20) != 0;
    switch (kind % 14)
    {
    case 0: {
      const int x1 = in.coord(), y1 = in.coord(), x2 = in.coord(), y2 = in.coord();
      LICE_Line(&bm, x1, y1, x2, y2, c, alpha, mode, aa);
      break;
    }
    case 1: {
      const float x1 = in.f32(), y1 = in.f32(), x2 = in.f32(), y2 = in.f32();
      LICE_FLine(&bm, x1, y1, x2, y2, c, alpha, mode, aa);
      break;
    }
    case 2: {
      const int x1 = in.coord(), y1 = in.coord(), x2 = in.coord(), y2 = in.coord(), on = in.coord(), off = in.coord();
      LICE_DashedLine(&bm, x1, y1, x2, y2, on, off, c, alpha, mode, aa);
      break;
    }
    case 3: {
      const int x = in.coord(), y = in.coord(), rw = in.coord(), rh = in.coord();
      if (aa)
        LICE_BorderedRect(&bm, x, y, rw, rh, c, ~c, alpha, mode);
      else
        LICE_DrawRect(&bm, x, y, rw, rh, c, alpha, mode);
      break;
    }
    case 4: {
      int v[6];
      for (int& k : v)
        k = in.coord();
      LICE_FillTriangle(&bm, v[0], v[1], v[2], v[3], v[4], v[5], c, alpha, mode);
      break;
    }
    case 5: {
      float p[7];
      for (float& k : p)
        k = in.f32();
      LICE_DrawQBezier(&bm, p[0], p[1], p[2], p[3], p[4], p[5], c, alpha, mode, aa, p[6]);
      break;
    }
    case 6: {
      float p[9];
      for (float& k : p)
        k = in.f32();
      LICE_DrawCBezier(&bm, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], c, alpha, mode, aa, p[8]);
      break;
    }
    case 7:
    case 8: {
      const float cx = in.f32(), cy = in.f32(), r = in.f32();
      if (kind % 14 == 7)
        LICE_Circle(&bm, cx, cy, r, c, alpha, mode, aa);
      else
        LICE_FillCircle(&bm, cx, cy, r, c, alpha, mode, aa);
      break;
    }
    case 9: {
      const float cx = in.f32(), cy = in.f32(), r = in.f32(), a1 = in.f32(), a2 = in.f32();
      LICE_Arc(&bm, cx, cy, r, a1, a2, c, alpha, mode, aa);
      break;
    }
    case 10: {
      const float x = in.f32(), y = in.f32(), rw = in.f32(), rh = in.f32();
      LICE_RoundRect(&bm, x, y, rw, rh, in.coord(), c, alpha, mode, aa);
      break;
    }
    case 11: {
      int v[8];
      for (int& k : v)
        k = in.coord();
      LICE_ClipLine(&v[0], &v[1], &v[2], &v[3], v[4], v[5], v[6], v[7]);
      break;
    }
    case 12: {
      float p[9];
      for (float& k : p)
        k = in.f32();
      float next, dydx;
      double lo, hi;
      LICE_CBezier_GetY(p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8], &next, &dydx, &lo, &hi);
      break;
    }
    default: {
      const float cx = in.f32(), cy = in.f32();
      const float radii[] = {2.0f, 2.5f, 3.0f, 3.5f, 4.0f};
      CachedCircle(&bm, cx, cy, radii[in.byte() % 5], c, alpha, mode, aa);
      break;
    }
    }
    if (!bm.guardsIntact())
      abort();
  }
  return 0;
}
