// Faders, knobs and radio buttons.

#include <algorithm>
#include <cmath>

#include "wdl/IPlug/IControls.h"

namespace
{

// Pixels within r of (cx, cy), with two more on each side for the end
// points' float rounding and anti-aliasing. A radius too large to draw is
// limited so the corners stay ints.
IRECT AroundCircle(double cx, double cy, double r)
{
  constexpr double kFar = double(1 << 24);
  if (!(r <= kFar))
    r = kFar;
  auto edge = [](double v) { return int(std::clamp(v, -2.0 * kFar, 2.0 * kFar)); };
  return IRECT(edge(std::floor(cx - r)) - 2, edge(std::floor(cy - r)) - 2, edge(std::ceil(cx + r)) + 3,
               edge(std::ceil(cy + r)) + 3);
}

} // namespace

IFaderControl::IFaderControl(IPlugBase* pPlug, int x, int y, int len, int paramIdx, IBitmap* pBitmap,
                             EDirection direction)
  : IControl(pPlug, IRECT(), paramIdx), mLength(len), mBitmap(BitmapOrEmpty(pBitmap)), mDirection(direction)
{
  if (direction == kHorizontal)
  {
    mHandleSize = mBitmap.W;
    mDrawArea = IRECT(x, y, x + len, y + mBitmap.H);
  }
  else
  {
    mHandleSize = mBitmap.H;
    mDrawArea = IRECT(x, y, x + mBitmap.W, y + len);
  }
  mHitArea = mDrawArea;
}

IRECT IFaderControl::GetHandleRECT(double value) const
{
  if (!(value >= 0.0) || !std::isfinite(value))
    value = mValue;
  IRECT r(mDrawArea.L, mDrawArea.T, mDrawArea.L + mBitmap.W, mDrawArea.T + mBitmap.H);
  // Negative when the track is shorter than the handle: the handle then moves back past the start.
  double travel = mLength - mHandleSize;
  if (mDirection == kHorizontal)
  {
    int offs = int(value * travel);
    r.L += offs;
    r.R += offs;
  }
  else
  {
    int offs = int((1.0 - value) * travel);
    r.T += offs;
    r.B += offs;
  }
  return r;
}

IRECT IFaderControl::GetDrawnRECT() const
{
  return mDrawArea.Union(GetHandleRECT(0.0)).Union(GetHandleRECT(1.0));
}

bool IFaderControl::Draw(IGraphics* pGraphics)
{
  IRECT r = GetHandleRECT(mValue);
  return pGraphics->DrawBitmap(&mBitmap, &r, 1, &mBlend);
}

void IFaderControl::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  if (pMod && pMod->R)
    IControl::OnMouseDown(x, y, pMod);
  else
    SnapToMouse(x, y);
}

void IFaderControl::OnMouseDrag(int x, int y, int /*dX*/, int /*dY*/, IMouseMod* /*pMod*/)
{
  SnapToMouse(x, y);
}

void IFaderControl::SnapToMouse(int x, int y)
{
  int travel = mLength - mHandleSize;
  if (!travel)
    return;
  int half = mHandleSize / 2;
  if (mDirection == kHorizontal)
    mValue = (double(x) - mDrawArea.L - half) / travel;
  else
    mValue = 1.0 - (double(y) - mDrawArea.T - half) / travel;
  SetDirty(true);
}

IKnobControl::IKnobControl(IPlugBase* pPlug, const IRECT& area, int paramIdx, EDirection direction, double gearing,
                           IChannelBlend blend)
  : IControl(pPlug, area, paramIdx, blend), mDirection(direction), mGearing(gearing)
{
}

void IKnobControl::OnMouseDrag(int /*x*/, int /*y*/, int dX, int dY, IMouseMod* pMod)
{
  // Vertical extent is T - B (negative), so dragging up raises the value.
  double delta = mDirection == kHorizontal ? dX : dY;
  double extent = mDirection == kHorizontal ? double(mDrawArea.R) - mDrawArea.L : double(mDrawArea.T) - mDrawArea.B;
  if (extent == 0.0 || mGearing == 0.0)
    return;
  double step = delta / extent / mGearing;
  if (pMod && (pMod->S || pMod->C))
    step /= 10.0;
  mValue += step;
  SetDirty(true);
}

IKnobLineControl::IKnobLineControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, const IColor* pColor, double innerRadius,
                                   double outerRadius, double minAngle, double maxAngle, EDirection direction,
                                   double gearing)
  : IKnobControl(pPlug, pR ? *pR : IRECT(), paramIdx, direction, gearing, IChannelBlend(IChannelBlend::kBlendClobber)),
    mLineColor(pColor ? *pColor : COLOR_BLACK), mMinAngle(float(minAngle)), mMaxAngle(float(maxAngle)),
    mInnerRadius(float(innerRadius)), mOuterRadius(float(outerRadius))
{
  if (outerRadius == 0.0)
    mOuterRadius = 0.5f * float(mDrawArea.Width());
}

bool IKnobLineControl::Draw(IGraphics* pGraphics)
{
  double angle = mMinAngle + (mMaxAngle - mMinAngle) * mValue;
  float cx = float(mDrawArea.L + mDrawArea.R) * 0.5f, cy = float(mDrawArea.T + mDrawArea.B) * 0.5f;
  float s = float(std::sin(angle)), c = float(std::cos(angle));
  return pGraphics->DrawLine(&mLineColor, cx + s * mInnerRadius, cy - c * mInnerRadius, cx + s * mOuterRadius,
                             cy - c * mOuterRadius, &mBlend, true);
}

IRECT IKnobLineControl::GetDrawnRECT() const
{
  double r = std::max(std::fabs(mInnerRadius), std::fabs(mOuterRadius));
  return mDrawArea.Union(
    AroundCircle(float(mDrawArea.L + mDrawArea.R) * 0.5f, float(mDrawArea.T + mDrawArea.B) * 0.5f, r));
}

IKnobRotaterControl::IKnobRotaterControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                                         double minAngle, double maxAngle, int yOffsetZeroDeg, EDirection direction,
                                         double gearing)
  : IKnobControl(pPlug, BitmapFrameArea(x, y, BitmapOrEmpty(pBitmap)), paramIdx, direction, gearing),
    mBitmap(BitmapOrEmpty(pBitmap)), mMinAngle(minAngle), mMaxAngle(maxAngle), mYOffset(yOffsetZeroDeg)
{
}

bool IKnobRotaterControl::Draw(IGraphics* pGraphics)
{
  int cx = (mDrawArea.L + mDrawArea.R) / 2, cy = (mDrawArea.T + mDrawArea.B) / 2;
  double angle = mMinAngle + (mMaxAngle - mMinAngle) * mValue;
  return pGraphics->DrawRotatedBitmap(&mBitmap, cx, cy, angle, mYOffset, &mBlend);
}

IRECT IKnobRotaterControl::GetDrawnRECT() const
{
  int x = (mDrawArea.L + mDrawArea.R) / 2 - mBitmap.W / 2, y = (mDrawArea.T + mDrawArea.B) / 2 - mBitmap.H / 2;
  return mDrawArea.Union(IRECT(x, y, x + mBitmap.W, y + mBitmap.H));
}

IKnobMultiControl::IKnobMultiControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                                     EDirection direction, double gearing)
  : IKnobControl(pPlug, BitmapFrameArea(x, y, BitmapOrEmpty(pBitmap)), paramIdx, direction, gearing),
    mBitmap(BitmapOrEmpty(pBitmap))
{
}

bool IKnobMultiControl::Draw(IGraphics* pGraphics)
{
  return pGraphics->DrawBitmap(&mBitmap, &mDrawArea, FrameForValue(mValue, mBitmap.Frames()), &mBlend);
}

IKnobRotatingMaskControl::IKnobRotatingMaskControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBase,
                                                   IBitmap* pMask, IBitmap* pTop, double minAngle, double maxAngle,
                                                   EDirection direction, double gearing)
  : IKnobControl(pPlug, BitmapFrameArea(x, y, BitmapOrEmpty(pBase)), paramIdx, direction, gearing),
    mBase(BitmapOrEmpty(pBase)), mMask(BitmapOrEmpty(pMask)), mTop(BitmapOrEmpty(pTop)), mMinAngle(minAngle),
    mMaxAngle(maxAngle)
{
}

bool IKnobRotatingMaskControl::Draw(IGraphics* pGraphics)
{
  double angle = mMinAngle + (mMaxAngle - mMinAngle) * mValue;
  return pGraphics->DrawRotatedMask(&mBase, &mMask, &mTop, mDrawArea.L, mDrawArea.T, angle, &mBlend);
}

IRECT IKnobRotatingMaskControl::GetDrawnRECT() const
{
  return mDrawArea.Union(IRECT(mDrawArea.L, mDrawArea.T, mDrawArea.L + mBase.W, mDrawArea.T + mBase.H));
}

IRadioButtonsControl::IRadioButtonsControl(IPlugBase* pPlug, IRECT* pR, int paramIdx, int nButtons, IBitmap* pBitmap,
                                           EDirection direction)
  : IControl(pPlug, pR ? *pR : IRECT(), paramIdx), mBitmap(BitmapOrEmpty(pBitmap))
{
  if (nButtons < 1 || !mButtonAreas.Resize(nButtons))
    return;
  int w = mBitmap.W, h = mBitmap.FrameHeight();
  // One button has no gap to spread.
  int gaps = nButtons > 1 ? nButtons - 1 : 1;
  int x = mDrawArea.L, y = mDrawArea.T;
  int step = direction == kHorizontal ? (mDrawArea.Width() - nButtons * w) / gaps + w
                                      : (mDrawArea.Height() - nButtons * h) / gaps + h;
  for (int i = 0; i < nButtons; ++i)
  {
    mButtonAreas.Get()[i] = IRECT(x, y, x + w, y + h);
    if (direction == kHorizontal)
      x += step;
    else
      y += step;
  }
}

bool IRadioButtonsControl::Draw(IGraphics* pGraphics)
{
  int n = NButtons();
  if (!n)
    return true;
  int active = FrameForValue(mValue, n) - 1;
  bool rc = true;
  for (int i = 0; i < n; ++i)
    rc &= pGraphics->DrawBitmap(&mBitmap, mButtonAreas.Get() + i, i == active ? 2 : 1, &mBlend);
  return rc;
}

IRECT IRadioButtonsControl::GetDrawnRECT() const
{
  IRECT r = mDrawArea;
  for (int i = 0, n = NButtons(); i < n; ++i)
    r = r.Union(mButtonAreas.Get()[i]);
  return r;
}

void IRadioButtonsControl::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  if (pMod && pMod->R)
  {
    IControl::OnMouseDown(x, y, pMod);
    return;
  }
  int n = NButtons();
  for (int i = 0; i < n; ++i)
  {
    if (mButtonAreas.Get()[i].Contains(x, y))
    {
      if (n > 1)
        mValue = double(i) / (n - 1);
      break;
    }
  }
  SetDirty(true);
}
