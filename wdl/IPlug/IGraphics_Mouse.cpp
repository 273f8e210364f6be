// Mouse routing. The control under the mouse (or the one holding the
// capture) gets each event; a gesture on a bound parameter is bracketed for
// the host with begin and end. The host gets the begin before anything the
// control pushes and the end only for a gesture that began, whatever order
// the events come in. A control's parameter index is read before calling
// into it: the call may resize the editor and delete the control.

#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/IPlugBase.h"

void IGraphics::BeginGesture(int paramIdx)
{
  EndGesture();
  if (paramIdx < 0 || !mPlugin)
    return;
  mGestureParam = paramIdx;
  mPlugin->BeginInformHostOfParamChange(paramIdx);
}

void IGraphics::EndGesture()
{
  int p = mGestureParam;
  if (p < 0)
    return;
  mGestureParam = -1;
  if (mPlugin)
    mPlugin->EndInformHostOfParamChange(p);
}

template <class F>
void IGraphics::InGesture(int paramIdx, F f)
{
  if (mGestureParam >= 0 && mGestureParam == paramIdx)
  {
    f();
    return;
  }
  BeginGesture(paramIdx);
  f();
  EndGesture();
}

void IGraphics::ReleaseMouseCapture()
{
  EndGesture();
  mCaptureIndex = mMouseX = mMouseY = -1;
}

int IGraphics::GetMouseControlIdx(int x, int y)
{
  if (mCaptureIndex >= 0)
    return mCaptureIndex;
  for (int i = mControls.GetSize() - 1; i >= 0; --i)
  {
    IControl* c = mControls.Get(i);
    if (!c->IsHidden() && !c->IsGrayed() && c->IsHit(x, y))
      return i;
  }
  return -1;
}

void IGraphics::OnMouseDown(int x, int y, IMouseMod* pMod)
{
  DrainPostedValues();
  ReleaseMouseCapture();
  int i = GetMouseControlIdx(x, y);
  if (i < 0)
    return;
  IControl* c = mControls.Get(i);
  mCaptureIndex = i;
  mMouseX = x;
  mMouseY = y;
  BeginGesture(c->ParamIdx());
  c->OnMouseDown(x, y, pMod);
}

// A release without a press (after a double click, or pressed elsewhere)
// still reaches the control under the mouse, but no gesture opens or ends for it.
void IGraphics::OnMouseUp(int x, int y, IMouseMod* pMod)
{
  int i = GetMouseControlIdx(x, y);
  int gesture = mGestureParam;
  mGestureParam = -1; // kept open until the control has had its release
  ReleaseMouseCapture();
  mGestureParam = gesture;
  if (IControl* c = mControls.Get(i))
    c->OnMouseUp(x, y, pMod);
  EndGesture();
}

void IGraphics::OnMouseDrag(int x, int y, IMouseMod* pMod)
{
  IControl* c = mControls.Get(mCaptureIndex);
  if (!c)
    return;
  int dX = x - mMouseX, dY = y - mMouseY;
  if (!dX && !dY)
    return;
  mMouseX = x;
  mMouseY = y;
  c->OnMouseDrag(x, y, dX, dY, pMod);
}

bool IGraphics::OnMouseDblClick(int x, int y, IMouseMod* pMod)
{
  DrainPostedValues();
  ReleaseMouseCapture();
  int i = GetMouseControlIdx(x, y);
  if (i < 0)
    return false;
  IControl* c = mControls.Get(i);
  int p = c->ParamIdx();
  if (c->GetDoubleClickAsClick())
  {
    mCaptureIndex = i;
    mMouseX = x;
    mMouseY = y;
    BeginGesture(p);
    c->OnMouseDown(x, y, pMod);
    return true;
  }
  InGesture(p, [&] { c->OnMouseDblClick(x, y, pMod); });
  return false;
}

// Each notch is a gesture of its own, so a host writing touch automation
// records it and lets go of the parameter afterwards.
void IGraphics::OnMouseWheel(int x, int y, IMouseMod* pMod, int d)
{
  DrainPostedValues();
  int i = GetMouseControlIdx(x, y);
  IControl* c = mControls.Get(i);
  if (!c)
    return;
  if (i == mCaptureIndex)
    c->OnMouseWheel(x, y, pMod, d); // inside the drag's own gesture
  else
    InGesture(c->ParamIdx(), [&] { c->OnMouseWheel(x, y, pMod, d); });
}

bool IGraphics::OnKeyDown(int x, int y, int key)
{
  IControl* c = mControls.Get(GetMouseControlIdx(x, y));
  return c ? c->OnKeyDown(x, y, key) : false;
}

bool IGraphics::OnMouseOver(int x, int y, IMouseMod* pMod)
{
  if (!mTrackMouseOver)
    return false;
  int i = GetMouseControlIdx(x, y);
  if (i >= 0)
  {
    mMouseX = x;
    mMouseY = y;
    mControls.Get(i)->OnMouseOver(x, y, pMod);
    if (mMouseOverIndex >= 0 && mMouseOverIndex != i)
    {
      if (IControl* out = mControls.Get(mMouseOverIndex))
        out->OnMouseOut();
    }
    mMouseOverIndex = i;
  }
  return mTrackMouseOver;
}

void IGraphics::OnMouseOut()
{
  for (int i = 0, n = mControls.GetSize(); i < n; ++i)
    mControls.Get(i)->OnMouseOut();
  mMouseOverIndex = -1;
}
