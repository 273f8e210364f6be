#pragma once
// Test bitmaps, a deterministic generator and pixel helpers for the raster
// tests.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/lice.h"

// A bitmap with a chosen row span (at least its width) and flip state, with
// guard pixels after each row and after the last one, so that writes past a
// row's end or the buffer's end are seen.
class TestBitmap : public LICE_IBitmap
{
public:
  static constexpr LICE_PixelValue kGuard = 0xdeadbeef;

  TestBitmap(int w, int h, int span, bool flipped = false)
    : m_w(w), m_h(h), m_span(span), m_flipped(flipped), m_pix(size_t(span) * h + span, kGuard)
  {
  }

  LICE_PixelValue* getBits() override { return m_pix.data(); }
  int getWidth() override { return m_w; }
  int getHeight() override { return m_h; }
  int getRowSpan() override { return m_span; }
  bool isFlipped() override { return m_flipped; }
  bool resize(int, int) override { return false; }

  // Pixel (x, y) by the addressing rule, y = 0 the top row.
  LICE_PixelValue& at(int x, int y) { return m_pix[size_t(m_flipped ? m_h - 1 - y : y) * m_span + x]; }
  // Buffer row r, x pixels in, regardless of flipping.
  LICE_PixelValue& raw(int x, int r) { return m_pix[size_t(r) * m_span + x]; }

  void fill(LICE_PixelValue v)
  {
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x)
        at(x, y) = v;
  }

  // True when every pixel outside the visible area still holds the guard.
  bool guardsIntact() const
  {
    for (size_t i = 0; i < m_pix.size(); ++i)
    {
      const bool visible = i < size_t(m_span) * m_h && int(i % m_span) < m_w;
      if (!visible && m_pix[i] != kGuard)
        return false;
    }
    return true;
  }

  bool samePixels(TestBitmap& o)
  {
    for (int y = 0; y < m_h; ++y)
      for (int x = 0; x < m_w; ++x)
        if (at(x, y) != o.at(x, y))
          return false;
    return true;
  }

private:
  int m_w, m_h, m_span;
  bool m_flipped;
  std::vector<LICE_PixelValue> m_pix;
};

// A, R, G, B bytes into a pixel value (A is the low byte).
constexpr LICE_PixelValue Px(int a, int r, int g, int b)
{
  return LICE_PixelValue(a) | LICE_PixelValue(r) << 8 | LICE_PixelValue(g) << 16 | LICE_PixelValue(b) << 24;
}
constexpr int PxA(LICE_PixelValue p)
{
  return p & 0xff;
}
constexpr int PxR(LICE_PixelValue p)
{
  return (p >> 8) & 0xff;
}
constexpr int PxG(LICE_PixelValue p)
{
  return (p >> 16) & 0xff;
}
constexpr int PxB(LICE_PixelValue p)
{
  return (p >> 24) & 0xff;
}

// xorshift64*: the tests' own generator, so that a seed replays the same
// operations with any standard library.
class TestRng
{
public:
  explicit TestRng(uint64_t seed) : m_s(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
  uint32_t next()
  {
    m_s ^= m_s >> 12;
    m_s ^= m_s << 25;
    m_s ^= m_s >> 27;
    return uint32_t((m_s * 0x2545F4914F6CDD1Dull) >> 32);
  }
  // Uniform in [lo, hi].
  int range(int lo, int hi) { return lo + int(next() % uint32_t(hi - lo + 1)); }
  bool chance(int percent) { return range(0, 99) < percent; }
  // A channel value biased toward 0 and 255, where the special cases live.
  int channel()
  {
    const int k = range(0, 9);
    return k < 2 ? 0 : k < 4 ? 255 : range(0, 255);
  }
  LICE_PixelValue pixel() { return Px(channel(), channel(), channel(), channel()); }

private:
  uint64_t m_s;
};
