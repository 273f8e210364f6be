#include "wdl/IPlug/IGraphics.h"

#include <cmath>
#include <cstring>
#include <new>

#include "wdl/IPlug/IControls.h"
#include "wdl/IPlug/IPlugBase.h"
#include "wdl/IPlug/IPlugOwnedList.h"

namespace
{

// Consecutive clean ticks before the controls get their idle call.
constexpr int kIdleTicksBeforeIdle = 20;

} // namespace

IGraphics::IGraphics(IPlugBase* pPlug, int w, int h, int fps)
  : mPlugin(pPlug), mWidth(w), mHeight(h), mFPS(fps > 0 ? fps : 24)
{
  int n = pPlug ? pPlug->NParams() : 0;
  if (n > 0)
  {
    mParamPosts.reset(new (std::nothrow) IValueMailbox[size_t(n)]);
    mNParamPosts = mParamPosts ? n : 0;
  }
}

IGraphics::~IGraphics()
{
  // No gesture is ended here: the plug-in's binding is already gone when the base deletes its editor.
  mControls.Empty(true);
}

int IGraphics::AttachControl(IControl* pControl)
{
  // Ours from here, whether or not the list takes it.
  if (!AddOwned(mControls, std::unique_ptr<IControl>(pControl)))
    return -1;
  return mControls.GetSize() - 1;
}

void IGraphics::AttachBackground(int id, const char* name)
{
  IBitmap bg = LoadIBitmap(id, name, 1);
  IControl* pBG =
    AddOwned(mControls, std::make_unique<IBitmapControl>(mPlugin, 0, 0, -1, &bg, IChannelBlend::kBlendClobber));
  if (!pBG)
    return;
  IControl** list = mControls.GetList();
  int n = mControls.GetSize();
  memmove(list + 1, list, size_t(n - 1) * sizeof(IControl*));
  list[0] = pBG;
  // Indices held across the insertion keep pointing at the same controls.
  if (mCaptureIndex >= 0)
    ++mCaptureIndex;
  if (mMouseOverIndex >= 0)
    ++mMouseOverIndex;
}

void IGraphics::Resize(int w, int h)
{
  mWidth = w;
  mHeight = h;
  ReleaseMouseCapture();
  mMouseOverIndex = -1;
  mControls.Empty(true);
  if (mPlugin)
    mPlugin->ResizeGraphics(w, h);
}

// ---- Values between plug-in and controls ----

void IGraphics::SetParameterFromPlug(int paramIdx, double value, bool normalized)
{
  if (paramIdx < 0 || paramIdx >= mNParamPosts)
    return;
  if (!normalized)
    value = mPlugin->GetParam(paramIdx)->GetNormalized(value);
  mParamPosts[paramIdx].Post(value);
}

void IGraphics::SetControlFromPlug(int controlIdx, double normalizedValue)
{
  if (IControl* c = mControls.Get(controlIdx))
    c->PostValueFromPlug(normalizedValue);
}

void IGraphics::DrainPostedValues()
{
  double v;
  for (int p = 0; p < mNParamPosts; ++p)
  {
    if (!mParamPosts[p].Take(&v))
      continue;
    for (int i = 0, n = mControls.GetSize(); i < n; ++i)
    {
      IControl* c = mControls.Get(i);
      if (c->ParamIdx() == p)
        c->SetValueFromPlug(v);
    }
  }
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->TakePostedValue(&v))
      c->SetValueFromPlug(v);
  }
}

void IGraphics::SetParameterFromGUI(int paramIdx, double normalizedValue)
{
  if (!std::isfinite(normalizedValue))
    return;
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->ParamIdx() == paramIdx)
      c->SetValueFromUserInput(normalizedValue);
  }
}

void IGraphics::ClampControl(int paramIdx, double lo, double hi, bool normalized)
{
  if (!normalized)
  {
    IParam* param = mPlugin ? mPlugin->GetParam(paramIdx) : nullptr;
    if (!param)
      return;
    lo = param->GetNormalized(lo);
    hi = param->GetNormalized(hi);
  }
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->ParamIdx() == paramIdx)
      c->Clamp(lo, hi);
  }
}

void IGraphics::HideControl(int paramIdx, bool hide)
{
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->ParamIdx() == paramIdx)
      c->Hide(hide);
  }
}

void IGraphics::GrayOutControl(int paramIdx, bool gray)
{
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->ParamIdx() == paramIdx)
      c->GrayOut(gray);
  }
}

void IGraphics::SetAllControlsDirty()
{
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
    mControls.Get(i)->SetDirty(false);
}

void IGraphics::SetStrictDrawing(bool strict)
{
  mStrictDrawing = strict;
  SetAllControlsDirty();
}

// ---- Refresh ----

bool IGraphics::IsDirty(IRECT* pR)
{
  DrainPostedValues();
  IRECT local;
  IRECT* r = pR ? pR : &local;
  bool dirty = false;
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (c->IsDirty())
    {
      *r = r->Union(c->GetDrawnRECT());
      dirty = true;
    }
  }
  mAskedArea = dirty ? *r : IRECT();
  if (dirty)
  {
    mIdleTicks = 0;
    return true;
  }
  if (++mIdleTicks > kIdleTicksBeforeIdle)
  {
    OnGUIIdle();
    mIdleTicks = 0;
  }
  return false;
}

void IGraphics::OnGUIIdle()
{
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
    mControls.Get(i)->OnGUIIdle();
}

bool IGraphics::Draw(IRECT* pR)
{
  // Values posted while no tick ran (the window was closed) are shown in this very paint.
  DrainPostedValues();
  if (!mControls.GetSize())
    return true;
  IRECT whole(0, 0, mWidth, mHeight);
  IRECT* r = pR ? pR : &whole;
  mInDrawPass = true;
  if (mStrictDrawing)
    DrawStrict(*r);
  else if (mControls.Get(0)->IsDirty())
    DrawAll();
  else
    DrawDirty();
  mInDrawPass = false;
  mAskedArea = IRECT();
  return DrawScreen(r);
}

// Each control draws clipped to the part of the pass's area it may draw in,
// so what it draws never depends on which neighbours happen to be redrawn.
void IGraphics::DrawControl(IControl* c, const IRECT& area)
{
  mDrawArea = area.Intersect(c->GetDrawnRECT());
  c->Draw(this);
}

// Every visible control touching r is drawn. A control counts as redrawn
// when all of it that can be shown was: it lies in r, or it lies in the area
// the last IsDirty asked for, of which the window passed what it shows. One
// that turned dirty after that question and lies partly outside r stays
// dirty for the next tick.
void IGraphics::DrawStrict(const IRECT& r)
{
  int n = mControls.GetSize();
  for (int i = 0; i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (!c->IsHidden() && r.Intersects(c->GetDrawnRECT()))
      DrawControl(c, r);
  }
  mDrawArea = r;
  for (int i = 0; i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    IRECT drawn = c->GetDrawnRECT();
    if (r.ContainsRect(drawn) || (!mAskedArea.Empty() && mAskedArea.ContainsRect(drawn)))
      c->SetClean();
  }
}

// The background is dirty: everything visible is drawn over its area.
void IGraphics::DrawAll()
{
  IRECT area = mControls.Get(0)->GetDrawnRECT();
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
  {
    IControl* c = mControls.Get(i);
    if (i == 0 || !c->IsHidden())
    {
      DrawControl(c, area);
      c->SetClean();
    }
  }
  mDrawArea = area;
}

// Each dirty control's area is redrawn with every visible control over it.
// A hidden dirty control is not drawn itself: its area is redrawn without it.
void IGraphics::DrawDirty()
{
  int n = mControls.GetSize();
  for (int i = 1; i < n; ++i)
  {
    IControl* ci = mControls.Get(i);
    if (!ci->IsDirty())
      continue;
    IRECT area = ci->GetDrawnRECT();
    for (int j = 0; j < n; ++j)
    {
      IControl* cj = mControls.Get(j);
      if (!cj->IsHidden() && (j == i || cj->GetDrawnRECT().Intersects(area)))
        DrawControl(cj, area);
    }
    mDrawArea = area;
    ci->SetClean();
  }
}
