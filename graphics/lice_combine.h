#pragma once
// Combine operators: how a source colour (r, g, b, a) is merged into the
// destination pixel at dest (bytes A, R, G, B) with an integer weight, 256
// being full strength. Drawing loops take an operator as a template argument
// so each mode compiles to its own loop. Divisions truncate toward zero and
// every stored channel is clamped to 0-255.
//
// Weights reach the operators already limited to +-LICE_MAX_WEIGHT (see
// lice_dispatch.h); the arithmetic below cannot overflow within that range
// for channel values 0-255.

#include <cstdint>

#include "graphics/lice_bitmap.h"

// Reciprocals for the HSV operators: entry i is 65536 / i - 1, entry 0 is 0.
extern __attribute__((visibility("default"))) const unsigned short _LICE_RGB2HSV_invtab[256];

static inline unsigned char LICE_ClampChannel(int v)
{
  return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
}

static inline unsigned char LICE_ClampChannel64(int64_t v)
{
  return static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Stores r, g, b, a clamped at bytes 1, 2, 3 and 0.
static inline void _LICE_MakePixel(unsigned char* dest, int r, int g, int b, int a)
{
  dest[0] = LICE_ClampChannel(a);
  dest[1] = LICE_ClampChannel(r);
  dest[2] = LICE_ClampChannel(g);
  dest[3] = LICE_ClampChannel(b);
}

// Applies one per-channel formula to A, R, G and B, A taking a as its source.
template <class F>
static inline void LICE_EachChannel(unsigned char* dest, int r, int g, int b, int a, F f)
{
  dest[0] = f(dest[0], a);
  dest[1] = f(dest[1], r);
  dest[2] = f(dest[2], g);
  dest[3] = f(dest[3], b);
}

// (d * (256 - alpha) + s * alpha) / 256
class _LICE_CombinePixelsCopy
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int alpha)
  {
    const int inv = 256 - alpha;
    LICE_EachChannel(dest, r, g, b, a, [=](int d, int s) { return LICE_ClampChannel((d * inv + s * alpha) / 256); });
  }
};

// d + s * alpha / 256
class _LICE_CombinePixelsAdd
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int alpha)
  {
    LICE_EachChannel(dest, r, g, b, a, [=](int d, int s) { return LICE_ClampChannel(d + s * alpha / 256); });
  }
};

// k = 256 - s * alpha / 256; d * 256 / k, or d * 256 when k < 2
class _LICE_CombinePixelsColorDodge
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int alpha)
  {
    LICE_EachChannel(dest, r, g, b, a, [=](int d, int s) {
      const int k = 256 - s * alpha / 256;
      return LICE_ClampChannel(k >= 2 ? d * 256 / k : d * 256);
    });
  }
};

// d * ((256 - alpha) * 256 + s * alpha) / 65536
// 64-bit because d times the factor passes 2^31 once alpha exceeds ~32000.
class _LICE_CombinePixelsMul
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int alpha)
  {
    const int inv = (256 - alpha) * 256;
    LICE_EachChannel(dest, r, g, b, a,
                     [=](int d, int s) { return LICE_ClampChannel64(int64_t(d) * (inv + s * alpha) / 65536); });
  }
};

// t = (256 - alpha) * 128 + s * alpha; u = (32768 - t) * d / 256;
// d * (t + u) / 32768
class _LICE_CombinePixelsOverlay
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int alpha)
  {
    const int inv = (256 - alpha) * 128;
    LICE_EachChannel(dest, r, g, b, a, [=](int d, int s) {
      const int64_t t = inv + s * alpha;
      const int64_t u = (32768 - t) * d / 256;
      return LICE_ClampChannel64(d * (t + u) / 32768);
    });
  }
};

// s, ignoring alpha
class _LICE_CombinePixelsClobber
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int) { _LICE_MakePixel(dest, r, g, b, a); }
};

// (d + s) / 2, ignoring alpha
class _LICE_CombinePixelsHalfMix
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int)
  {
    LICE_EachChannel(dest, r, g, b, a, [](int d, int s) { return LICE_ClampChannel((d + s) / 2); });
  }
};

// Weight of the source-alpha operators: (a + 1) * alpha / 256.
static inline int LICE_SourceAlphaWeight(int a, int alpha)
{
  return (a + 1) * alpha / 256;
}

// Operator Op weighted per pixel by (a + 1) * alpha / 256. Copy, add and
// multiply skip pixels whose a is 0 (SkipClear); overlay, dodge and HSV
// still apply a weight of alpha / 256 to them.
template <class Op, bool SkipClear>
class LICE_SourceAlphaWeighted
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int alpha)
  {
    if (SkipClear && !a)
      return;
    Op::doPix(dest, r, g, b, a, LICE_SourceAlphaWeight(a, alpha));
  }
};

using _LICE_CombinePixelsCopySourceAlpha = LICE_SourceAlphaWeighted<_LICE_CombinePixelsCopy, true>;
using _LICE_CombinePixelsAddSourceAlpha = LICE_SourceAlphaWeighted<_LICE_CombinePixelsAdd, true>;
using _LICE_CombinePixelsMulSourceAlpha = LICE_SourceAlphaWeighted<_LICE_CombinePixelsMul, true>;
using _LICE_CombinePixelsOverlaySourceAlpha = LICE_SourceAlphaWeighted<_LICE_CombinePixelsOverlay, false>;
using _LICE_CombinePixelsColorDodgeSourceAlpha = LICE_SourceAlphaWeighted<_LICE_CombinePixelsColorDodge, false>;

// Copy weighted by a + 1 alone. A becomes (d * (256 - w) + w * w) / 256: the
// weight, not a, is the alpha source, so coverage accumulates.
class _LICE_CombinePixelsCopySourceAlphaIngoreAlphaParm
{
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int)
  {
    if (!a)
      return;
    if (a == 255)
    {
      dest[0] = 255;
      dest[1] = static_cast<unsigned char>(r);
      dest[2] = static_cast<unsigned char>(g);
      dest[3] = static_cast<unsigned char>(b);
      return;
    }
    const int w = a + 1;
    const int inv = 256 - w;
    auto mix = [=](int d, int s) {
      const int v = (d * inv + s * w) / 256;
      return static_cast<unsigned char>(v > 255 ? 255 : v);
    };
    dest[0] = mix(dest[0], w);
    dest[1] = mix(dest[1], r);
    dest[2] = mix(dest[2], g);
    dest[3] = mix(dest[3], b);
  }
};

// Whole-pixel shift mixes of the exact-alpha copies. Per channel they equal
// the masked 32-bit forms (no carry crosses a byte: the sums stay below 256)
// and drop low bits, so they differ from the weighted copy on purpose.
class LICE_ShiftMixHalf
{ // d/2 + s/2
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int)
  {
    LICE_EachChannel(dest, r, g, b, a, [](int d, int s) { return static_cast<unsigned char>((d >> 1) + (s >> 1)); });
  }
  static inline LICE_PixelValue mix(LICE_PixelValue d, LICE_PixelValue s)
  {
    return ((d >> 1) & 0x7f7f7f7f) + ((s >> 1) & 0x7f7f7f7f);
  }
};

class LICE_ShiftMixQuarter
{ // d/2 + d/4 + s/4
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int)
  {
    LICE_EachChannel(dest, r, g, b, a,
                     [](int d, int s) { return static_cast<unsigned char>((d >> 1) + (d >> 2) + (s >> 2)); });
  }
  static inline LICE_PixelValue mix(LICE_PixelValue d, LICE_PixelValue s)
  {
    return ((d >> 1) & 0x7f7f7f7f) + ((d >> 2) & 0x3f3f3f3f) + ((s >> 2) & 0x3f3f3f3f);
  }
};

class LICE_ShiftMixThreeQuarter
{ // d/4 + s/2 + s/4
public:
  static inline void doPix(unsigned char* dest, int r, int g, int b, int a, int)
  {
    LICE_EachChannel(dest, r, g, b, a,
                     [](int d, int s) { return static_cast<unsigned char>((d >> 2) + (s >> 1) + (s >> 2)); });
  }
  static inline LICE_PixelValue mix(LICE_PixelValue d, LICE_PixelValue s)
  {
    return ((d >> 2) & 0x3f3f3f3f) + ((s >> 1) & 0x7f7f7f7f) + ((s >> 2) & 0x3f3f3f3f);
  }
};

#include "graphics/lice_combine_hsv.h"
