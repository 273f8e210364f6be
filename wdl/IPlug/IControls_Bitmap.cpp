// Bitmap displays, switches, contacts, overlays and invisible switches.

#include "wdl/IPlug/IControls.h"

IBitmapControl::IBitmapControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                               IChannelBlend::EBlendMethod blendMethod)
  : IControl(pPlug, BitmapFrameArea(x, y, BitmapOrEmpty(pBitmap)), paramIdx, IChannelBlend(blendMethod)),
    mBitmap(BitmapOrEmpty(pBitmap))
{
}

bool IBitmapControl::Draw(IGraphics* pGraphics)
{
  return pGraphics->DrawBitmap(&mBitmap, &mDrawArea, FrameForValue(mValue, mBitmap.Frames()), &mBlend);
}

void ISwitchControl::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  if (pMod && pMod->R)
    IControl::OnMouseDown(x, y, pMod);
  else
    mValue += mBitmap.N > 1 ? 1.0 / (mBitmap.N - 1) : 1.0;
  // Steps that land just past 1 by rounding are not wrapped; the push clamps them.
  if (mValue > 1.001)
    mValue = 0.0;
  SetDirty(true);
}

void IContactControl::OnMouseUp(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  mValue = 0.0;
  SetDirty(true);
}

IBitmapOverlayControl::IBitmapOverlayControl(IPlugBase* pPlug, int x, int y, int paramIdx, IBitmap* pBitmap,
                                             IRECT* pTargetArea)
  : ISwitchControl(pPlug, x, y, paramIdx, pBitmap), mTargetArea(pTargetArea ? *pTargetArea : IRECT())
{
}

bool IBitmapOverlayControl::Draw(IGraphics* pGraphics)
{
  if (mValue < 0.5)
  {
    mHitArea = mTargetArea;
    return true;
  }
  mHitArea = mDrawArea;
  return IBitmapControl::Draw(pGraphics);
}

IInvisibleSwitchControl::IInvisibleSwitchControl(IPlugBase* pPlug, IRECT* pR, int paramIdx)
  : IControl(pPlug, pR ? *pR : IRECT(), paramIdx, IChannelBlend(IChannelBlend::kBlendClobber))
{
  mNoPrompt = true;
}

void IInvisibleSwitchControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  mValue = mValue < 0.5 ? 1.0 : 0.0;
  SetDirty(true);
}
