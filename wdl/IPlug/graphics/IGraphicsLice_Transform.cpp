// Rotated bitmaps and masks, scaled bitmaps, lines, arcs and circles. The
// raster calls here clip only to the back buffer; each runs through
// DrawClipped, which keeps the pixels outside the clip as they were.

#include <algorithm>
#include <cmath>
#include <new>

#include "wdl/IPlug/graphics/IGraphicsLice.h"

namespace
{

// Farther than this from the origin is no drawing, and would overflow an int.
constexpr float kMaxCoord = float(1 << 24);

bool Drawable(float v)
{
  return std::fabs(v) < kMaxCoord; // false for NaN
}

// The pixels a shape within [x1, x2] x [y1, y2] may touch, with margin to spare.
IRECT Around(float x1, float y1, float x2, float y2, int margin)
{
  return IRECT(int(std::floor(std::min(x1, x2))) - margin, int(std::floor(std::min(y1, y2))) - margin,
               int(std::ceil(std::max(x1, x2))) + margin + 1, int(std::ceil(std::max(y1, y2))) + margin + 1);
}

} // namespace

bool IGraphicsLice::DrawRotatedBitmap(IBitmap* pBitmap, int destCtrX, int destCtrY, double angle, int yOffsetZeroDeg,
                                      const IChannelBlend* pBlend)
{
  if (!pBitmap || !pBitmap->mData || !std::isfinite(angle))
    return false;
  int w = pBitmap->W, h = pBitmap->H, x = destCtrX - w / 2, y = destCtrY - h / 2;
  return DrawClipped(IRECT(x - 1, y - 1, x + w + 1, y + h + 1), [&] {
    LICE_RotatedBlit(mBackBuffer, pBitmap->mData, x, y, w, h, 0.0f, 0.0f, float(w), float(h), float(angle), false,
                     LiceWeight(pBlend), LiceBlendMode(pBlend, true), 0.0f, float(yOffsetZeroDeg));
  });
}

bool IGraphicsLice::DrawRotatedMask(IBitmap* pBase, IBitmap* pMask, IBitmap* pTop, int x, int y, double angle,
                                    const IChannelBlend* pBlend)
{
  if (!pBase || !pMask || !pTop || !pBase->mData || !std::isfinite(angle))
    return false;
  int w = pBase->W, h = pBase->H;
  IRECT c;
  if (!ClipToDrawArea(IRECT(x, y, x + w, y + h), &c))
    return true;
  if (!mScratch)
    mScratch = new (std::nothrow) LICE_MemBitmap();
  if (!mScratch)
    return false;
  // The base with its alpha cleared, the mask added and the top laid over it, both turned.
  LICE_Copy(mScratch, pBase->mData);
  LICE_ClearRect(mScratch, 0, 0, w, h, 0xFFFFFF00, 0);
  float radians = float(3.141592653589793 * angle / 180.0);
  float centreDX = (w & 1) ? -0.5f : 0.0f;
  LICE_RotatedBlit(mScratch, pMask->mData, 0, 0, w, h, 0.0f, 0.0f, float(w), float(h), radians, true, 1.0f,
                   LICE_BLIT_MODE_ADD | LICE_BLIT_FILTER_BILINEAR | LICE_BLIT_USE_ALPHA, centreDX, 0.0f);
  LICE_RotatedBlit(mScratch, pTop->mData, 0, 0, w, h, 0.0f, 0.0f, float(w), float(h), radians, true, 1.0f,
                   LICE_BLIT_MODE_COPY | LICE_BLIT_FILTER_BILINEAR | LICE_BLIT_USE_ALPHA, centreDX, 0.0f);
  LICE_Blit(mBackBuffer, mScratch, c.L, c.T, c.L - x, c.T - y, c.Width(), c.Height(), LiceWeight(pBlend),
            LiceBlendMode(pBlend));
  return true;
}

bool IGraphicsLice::DrawLine(const IColor* pColor, float x1, float y1, float x2, float y2, const IChannelBlend* pBlend,
                             bool antiAlias)
{
  if (!pColor || !Drawable(x1) || !Drawable(y1) || !Drawable(x2) || !Drawable(y2))
    return false;
  int ix1 = int(x1), iy1 = int(y1), ix2 = int(x2), iy2 = int(y2);
  return DrawClipped(Around(float(ix1), float(iy1), float(ix2), float(iy2), 1), [&] {
    LICE_Line(mBackBuffer, ix1, iy1, ix2, iy2, LiceColor(pColor), LiceWeight(pBlend), LiceBlendMode(pBlend), antiAlias);
  });
}

bool IGraphicsLice::DrawArc(const IColor* pColor, float cx, float cy, float r, float minAngle, float maxAngle,
                            const IChannelBlend* pBlend, bool antiAlias)
{
  if (!pColor || !Drawable(cx) || !Drawable(cy) || !Drawable(r) || !std::isfinite(minAngle) || !std::isfinite(maxAngle))
    return false;
  float ar = std::fabs(r);
  return DrawClipped(Around(cx - ar, cy - ar, cx + ar, cy + ar, 2), [&] {
    LICE_Arc(mBackBuffer, cx, cy, r, minAngle, maxAngle, LiceColor(pColor), LiceWeight(pBlend), LiceBlendMode(pBlend),
             antiAlias);
  });
}

bool IGraphicsLice::DrawCircle(const IColor* pColor, float cx, float cy, float r, const IChannelBlend* pBlend,
                               bool antiAlias)
{
  if (!pColor || !Drawable(cx) || !Drawable(cy) || !Drawable(r))
    return false;
  float ar = std::fabs(r);
  return DrawClipped(Around(cx - ar, cy - ar, cx + ar, cy + ar, 2), [&] {
    LICE_Circle(mBackBuffer, cx, cy, r, LiceColor(pColor), LiceWeight(pBlend), LiceBlendMode(pBlend), antiAlias);
  });
}

IBitmap IGraphicsLice::ScaleBitmap(IBitmap* pBitmap, int destW, int destH)
{
  if (!pBitmap)
    return IBitmap();
  LICE_MemBitmap* img = new (std::nothrow) LICE_MemBitmap(destW, destH);
  if (!img)
    return IBitmap();
  LICE_Clear(img, 0); // an empty source leaves it transparent
  LICE_ScaledBlit(img, pBitmap->mData, 0, 0, img->getWidth(), img->getHeight(), 0.0f, 0.0f, float(pBitmap->W),
                  float(pBitmap->H), 1.0f, LICE_BLIT_MODE_COPY | LICE_BLIT_FILTER_BILINEAR);
  IBitmap out(img, img->getWidth(), img->getHeight(), pBitmap->N);
  RetainBitmap(&out);
  return out;
}
