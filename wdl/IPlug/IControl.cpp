#include "wdl/IPlug/IControl.h"

#include <cmath>
#include <cstring>

#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/IPlugBase.h"

IText::IText(int size, const IColor* pColor, const char* font, int style, int align, int orientation)
  : mSize(size), mColor(pColor ? *pColor : DEFAULT_TEXT_COLOR), mStyle(style), mAlign(align), mOrientation(orientation)
{
  const char* name = font ? font : DEFAULT_FONT;
  size_t n = strnlen(name, FONT_LEN - 1);
  memcpy(mFont, name, n);
  mFont[n] = 0;
}

int FrameForValue(double value, int nFrames)
{
  if (nFrames <= 1)
    return 1;
  double f = 1.0 + (nFrames - 1) * value + 0.5;
  if (!(f >= 1.0))
    return 1; // also NaN
  if (f >= nFrames)
    return nFrames;
  return int(f);
}

void IControl::SetDirty(bool pushParamToPlug)
{
  if (!std::isfinite(mValue))
    mValue = mClampLow;
  if (mValue < mClampLow)
    mValue = mClampLow;
  else if (mValue > mClampHigh)
    mValue = mClampHigh;
  mDirty = true;
  if (pushParamToPlug && mPlugin && mParamIndex >= 0)
    mPlugin->SetParameterFromGUI(mParamIndex, mValue);
}

void IControl::SetClean()
{
  mDirty = mRedrawPending;
  mRedrawPending = false;
}

void IControl::Hide(bool hide)
{
  mRedrawPending = true;
  mHidden = hide;
  SetDirty(false);
}

void IControl::GrayOut(bool gray)
{
  mGrayed = gray;
  mBlend.mWeight = gray ? 0.25f : 1.0f;
  SetDirty(false);
}

void IControl::SetValueFromPlug(double value)
{
  if (!std::isfinite(value))
    return;
  if (mDefaultValue < 0.0)
  {
    mDefaultValue = mValue = value;
  }
  else
  {
    if (value == mValue)
      return;
    mValue = value;
  }
  SetDirty(false);
  mRedrawPending = true;
}

void IControl::SetValueFromUserInput(double value)
{
  if (!std::isfinite(value) || value == mValue)
    return;
  mValue = value;
  SetDirty(true);
  mRedrawPending = true;
}

void IControl::PromptUserInput()
{
  if (mParamIndex < 0 || mNoPrompt || !mPlugin)
    return;
  IGraphics* gui = mPlugin->GetGUI();
  if (!gui)
    return;
  gui->PromptUserInput(this, mPlugin->GetParam(mParamIndex));
  mRedrawPending = true;
}

void IControl::OnMouseDown(int /*x*/, int /*y*/, IMouseMod* pMod)
{
  if (pMod && pMod->R)
    PromptUserInput();
}

void IControl::OnMouseDblClick(int /*x*/, int /*y*/, IMouseMod* /*pMod*/)
{
  if (mDefaultValue < 0.0)
    return;
  mValue = mDefaultValue;
  SetDirty(true);
}

void IControl::OnMouseWheel(int /*x*/, int /*y*/, IMouseMod* pMod, int d)
{
  bool fine = pMod && (pMod->S || pMod->C);
  mValue += (fine ? 0.001 : 0.01) * d;
  SetDirty(true);
}

void IControl::Clamp(double lo, double hi)
{
  if (!std::isfinite(lo) || !std::isfinite(hi))
    return;
  mClampLow = lo;
  mClampHigh = hi;
}
