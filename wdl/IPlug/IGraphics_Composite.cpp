// Drawing operations built on the slots.

#include <cmath>

#include "wdl/IPlug/IGraphics.h"

namespace
{

// NaN counts as 0.
float Clamp01(float f)
{
  return f > 1.0f ? 1.0f : f > 0.0f ? f : 0.0f;
}

} // namespace

bool IGraphics::DrawBitmap(IBitmap* pBitmap, IRECT* pDest, int bmState, const IChannelBlend* pBlend)
{
  if (!pBitmap || !pDest)
    return false;
  int n = pBitmap->Frames();
  int frame = bmState < 1 ? 1 : bmState > n ? n : bmState;
  int srcY = 0;
  if (frame > 1)
    srcY = int(double(pBitmap->H) * (frame - 1) / n + 0.5);
  return DrawBitmap(pBitmap, pDest, 0, srcY, pBlend);
}

bool IGraphics::DrawRect(const IColor* pColor, IRECT* pR)
{
  if (!pR)
    return false;
  bool rc = DrawHorizontalLine(pColor, pR->T, pR->L, pR->R);
  rc &= DrawHorizontalLine(pColor, pR->B, pR->L, pR->R);
  rc &= DrawVerticalLine(pColor, pR->L, pR->T, pR->B);
  rc &= DrawVerticalLine(pColor, pR->R, pR->T, pR->B);
  return rc;
}

bool IGraphics::DrawVerticalLine(const IColor* pColor, IRECT* pR, float fraction)
{
  if (!pR)
    return false;
  int x = pR->L + int(float(pR->R - pR->L) * Clamp01(fraction));
  return DrawVerticalLine(pColor, x, pR->T, pR->B);
}

bool IGraphics::DrawHorizontalLine(const IColor* pColor, IRECT* pR, float fraction)
{
  if (!pR)
    return false;
  int y = pR->B - int(float(pR->B - pR->T) * Clamp01(fraction));
  return DrawHorizontalLine(pColor, y, pR->L, pR->R);
}

bool IGraphics::DrawRadialLine(const IColor* pColor, float cx, float cy, float angle, float rMin, float rMax,
                               const IChannelBlend* pBlend, bool antiAlias)
{
  float s = std::sin(angle), c = std::cos(angle);
  return DrawLine(pColor, cx + s * rMin, cy - c * rMin, cx + s * rMax, cy - c * rMax, pBlend, antiAlias);
}

bool IGraphics::DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi)
{
  IChannelBlend clobber(IChannelBlend::kBlendClobber);
  return DrawLine(pColor, float(xi), float(yLo), float(xi), float(yHi), &clobber, false);
}

bool IGraphics::DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi)
{
  IChannelBlend clobber(IChannelBlend::kBlendClobber);
  return DrawLine(pColor, float(xLo), float(yi), float(xHi), float(yi), &clobber, false);
}
