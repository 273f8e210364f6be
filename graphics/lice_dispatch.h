#pragma once
// From a mode word and a float alpha to an operator type and integer weight.
// Shared by every drawing entry point; not part of the public interface.

#include "graphics/lice.h"
#include "graphics/lice_combine.h"

// Weights are held within +-65536 (alpha +-256), which keeps every
// operator's integer arithmetic in range. Above 65536 copy, add, dodge and
// multiply have saturated for channels 0-255; overlay and the HSV hue would
// still move, but no sensible alpha reaches that far.
constexpr int LICE_MAX_WEIGHT = 65536;

// False for alpha 0 and NaN: neither draws anything.
static inline bool LICE_AlphaDraws(float alpha)
{
  return alpha == alpha && alpha != 0.0f;
}

// trunc(alpha * 256), limited to +-LICE_MAX_WEIGHT. Call only when
// LICE_AlphaDraws(alpha).
static inline int LICE_AlphaWeight(float alpha)
{
  const double w = double(alpha) * 256.0;
  if (w >= LICE_MAX_WEIGHT)
    return LICE_MAX_WEIGHT;
  if (w <= -LICE_MAX_WEIGHT)
    return -LICE_MAX_WEIGHT;
  return static_cast<int>(w);
}

// The operator selector of a mode: low byte plus the source-alpha bit.
static inline int LICE_Selector(int mode)
{
  return mode & (LICE_BLIT_USE_ALPHA | LICE_BLIT_MODE_MASK);
}

// Calls f.template operator()<Combine>() with the weighted operator for
// selector sel (0-5, or 0x10000-0x10005 when source alpha is allowed).
// Exact-alpha special cases are the callers' business. False when the
// selector names no operator.
template <class F>
static inline bool LICE_WithCombine(int sel, F&& f)
{
  switch (sel)
  {
  case 0: f.template operator()<_LICE_CombinePixelsCopy>(); return true;
  case 1: f.template operator()<_LICE_CombinePixelsAdd>(); return true;
  case 2: f.template operator()<_LICE_CombinePixelsColorDodge>(); return true;
  case 3: f.template operator()<_LICE_CombinePixelsMul>(); return true;
  case 4: f.template operator()<_LICE_CombinePixelsOverlay>(); return true;
  case 5: f.template operator()<_LICE_CombinePixelsHSVAdjust>(); return true;
  case 0x10000: f.template operator()<_LICE_CombinePixelsCopySourceAlpha>(); return true;
  case 0x10001: f.template operator()<_LICE_CombinePixelsAddSourceAlpha>(); return true;
  case 0x10002: f.template operator()<_LICE_CombinePixelsColorDodgeSourceAlpha>(); return true;
  case 0x10003: f.template operator()<_LICE_CombinePixelsMulSourceAlpha>(); return true;
  case 0x10004: f.template operator()<_LICE_CombinePixelsOverlaySourceAlpha>(); return true;
  case 0x10005: f.template operator()<_LICE_CombinePixelsHSVAdjustSourceAlpha>(); return true;
  default: return false;
  }
}

// Rows of a bitmap whose span is shorter than its width would run into each
// other or past the buffer; such a bitmap draws nothing.
static inline bool LICE_UsableSpan(LICE_IBitmap* bm)
{
  return bm->getRowSpan() >= bm->getWidth();
}

// Pointer to row y (0 = top) of a bitmap and the signed byte step to the
// next row, following the flip rule.
struct LICE_RowCursor
{
  unsigned char* row;
  long step;
};

static inline LICE_RowCursor LICE_RowAt(LICE_IBitmap* bm, LICE_PixelValue* bits, int y)
{
  const long span = long(bm->getRowSpan()) * 4;
  if (bm->isFlipped())
    return {reinterpret_cast<unsigned char*>(bits) + long(bm->getHeight() - 1 - y) * span, -span};
  return {reinterpret_cast<unsigned char*>(bits) + long(y) * span, span};
}
