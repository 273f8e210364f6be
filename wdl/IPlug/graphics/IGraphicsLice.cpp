#include "wdl/IPlug/graphics/IGraphicsLice.h"

#include <cmath>
#include <cstring>
#include <new>

namespace
{

int Channel(int c)
{
  return c < 0 ? 0 : c > 255 ? 255 : c;
}

} // namespace

LICE_PixelValue LiceColor(const IColor* pColor)
{
  if (!pColor)
    return 0;
  return LICE_PixelValue(Channel(pColor->A)) | LICE_PixelValue(Channel(pColor->R)) << 8 |
         LICE_PixelValue(Channel(pColor->G)) << 16 | LICE_PixelValue(Channel(pColor->B)) << 24;
}

IColor IColorFromLice(LICE_PixelValue px)
{
  return IColor(int(px & 0xFF), int(px >> 8 & 0xFF), int(px >> 16 & 0xFF), int(px >> 24 & 0xFF));
}

int LiceBlendMode(const IChannelBlend* pBlend, bool rotated)
{
  int filter = rotated ? LICE_BLIT_FILTER_BILINEAR : 0;
  switch (pBlend ? pBlend->mMethod : IChannelBlend::kBlendNone)
  {
  case IChannelBlend::kBlendClobber: return LICE_BLIT_MODE_COPY | filter;
  case IChannelBlend::kBlendAdd: return LICE_BLIT_MODE_ADD | LICE_BLIT_USE_ALPHA | filter;
  case IChannelBlend::kBlendColorDodge: return LICE_BLIT_MODE_DODGE | LICE_BLIT_USE_ALPHA | filter;
  default: return LICE_BLIT_MODE_COPY | LICE_BLIT_USE_ALPHA | filter;
  }
}

float LiceWeight(const IChannelBlend* pBlend)
{
  return pBlend ? pBlend->mWeight : 1.0f;
}

IGraphicsLice::IGraphicsLice(IPlugBase* pPlug, int w, int h, int fps) : IGraphics(pPlug, w, h, fps) {}

IGraphicsLice::~IGraphicsLice()
{
  delete mBackBuffer;
  delete mScratch;
}

void IGraphicsLice::PrepDraw()
{
  delete mBackBuffer;
  delete mScratch;
  mBackBuffer = new (std::nothrow) LICE_SysBitmap(mWidth, mHeight);
  mScratch = new (std::nothrow) LICE_MemBitmap();
}

bool IGraphicsLice::ClipTo(const IRECT& r, const IRECT& area, IRECT* pOut)
{
  if (!GetBits() || r.Empty() || area.Empty())
    return false;
  *pOut = r.Intersect(area).Intersect(BufferRECT());
  return pOut->L < pOut->R && pOut->T < pOut->B;
}

bool IGraphicsLice::GetClip(IRECT* pClip)
{
  return pClip && GetBits() && ClipPrimitive(BufferRECT(), pClip);
}

LICE_PixelValue* IGraphicsLice::PixelAt(int x, int y)
{
  int row = mBackBuffer->isFlipped() ? mBackBuffer->getHeight() - 1 - y : y;
  return mBackBuffer->getBits() + ptrdiff_t(row) * mBackBuffer->getRowSpan() + x;
}

bool IGraphicsLice::DrawBitmap(IBitmap* pBitmap, IRECT* pDest, int srcX, int srcY, const IChannelBlend* pBlend)
{
  IRECT c;
  if (!pBitmap || !pBitmap->mData || !pDest || !ClipToDrawArea(*pDest, &c))
    return true;
  LICE_Blit(mBackBuffer, pBitmap->mData, c.L, c.T, srcX + c.L - pDest->L, srcY + c.T - pDest->T, c.Width(), c.Height(),
            LiceWeight(pBlend), LiceBlendMode(pBlend));
  return true;
}

bool IGraphicsLice::DrawPoint(const IColor* pColor, float x, float y, const IChannelBlend* pBlend, bool)
{
  if (!pColor || !(std::fabs(x) < 1e8f) || !(std::fabs(y) < 1e8f))
    return false;
  int px = int(x + 0.5f), py = int(y + 0.5f);
  IRECT c;
  if (!ClipPrimitive(IRECT(px, py, px + 1, py + 1), &c))
    return true;
  LICE_PutPixel(mBackBuffer, px, py, LiceColor(pColor), LiceWeight(pBlend), LiceBlendMode(pBlend));
  return true;
}

bool IGraphicsLice::ForcePixel(const IColor* pColor, int x, int y)
{
  IRECT c;
  if (!pColor || !ClipPrimitive(IRECT(x, y, x + 1, y + 1), &c))
    return false;
  *PixelAt(x, y) = LiceColor(pColor);
  return true;
}

bool IGraphicsLice::FillIRect(const IColor* pColor, IRECT* pR, const IChannelBlend* pBlend)
{
  IRECT c;
  if (!pColor || !pR)
    return false;
  if (!ClipPrimitive(*pR, &c))
    return true;
  LICE_FillRect(mBackBuffer, c.L, c.T, c.Width(), c.Height(), LiceColor(pColor), LiceWeight(pBlend),
                LiceBlendMode(pBlend));
  return true;
}

IColor IGraphicsLice::GetPoint(int x, int y)
{
  return IColorFromLice(mBackBuffer ? LICE_GetPixel(mBackBuffer, x, y) : 0);
}

bool IGraphicsLice::DrawHorizontalLine(const IColor* pColor, int yi, int xLo, int xHi)
{
  return StoreLine(pColor, yi, xLo, xHi, false);
}

bool IGraphicsLice::DrawVerticalLine(const IColor* pColor, int xi, int yLo, int yHi)
{
  return StoreLine(pColor, xi, yLo, yHi, true);
}

// at is the row (the column when vertical), lo and hi the inclusive span.
bool IGraphicsLice::StoreLine(const IColor* pColor, int at, int lo, int hi, bool vertical)
{
  if (!pColor || !GetBits())
    return false;
  int w = mBackBuffer->getWidth(), h = mBackBuffer->getHeight();
  if (w <= 0 || h <= 0)
    return false;
  int across = vertical ? w : h, along = vertical ? h : w;
  at = std::clamp(at, 0, across - 1);
  lo = std::clamp(lo, 0, along - 1);
  hi = std::clamp(hi, 0, along - 1);
  IRECT c;
  IRECT r = vertical ? IRECT(at, lo, at + 1, hi + 1) : IRECT(lo, at, hi + 1, at + 1);
  if (lo > hi || !ClipPrimitive(r, &c))
    return true;
  LICE_PixelValue px = LiceColor(pColor);
  for (int y = c.T; y < c.B; ++y)
  {
    LICE_PixelValue* p = PixelAt(c.L, y);
    for (int x = c.L; x < c.R; ++x)
      *p++ = px;
  }
  return true;
}

bool IGraphicsLice::SaveOutside(const IRECT& box, IRECT* pSaved)
{
  IRECT b = box.Intersect(BufferRECT());
  if (!mSaved.Resize(b.Width() * b.Height(), false))
    return false;
  LICE_PixelValue* dst = mSaved.Get();
  for (int y = b.T; y < b.B; ++y, dst += b.Width())
    memcpy(dst, PixelAt(b.L, y), size_t(b.Width()) * 4);
  *pSaved = b;
  return true;
}

void IGraphicsLice::RestoreOutside(const IRECT& b, const IRECT& a)
{
  const LICE_PixelValue* src = mSaved.Get();
  for (int y = b.T; y < b.B; ++y, src += b.Width())
  {
    if (y < a.T || y >= a.B)
    {
      memcpy(PixelAt(b.L, y), src, size_t(b.Width()) * 4);
      continue;
    }
    int left = std::clamp(a.L, b.L, b.R), right = std::clamp(a.R, b.L, b.R);
    memcpy(PixelAt(b.L, y), src, size_t(left - b.L) * 4);
    memcpy(PixelAt(right, y), src + (right - b.L), size_t(b.R - right) * 4);
  }
}
