#include "wdl/IPlug/carbon/IGraphicsCarbon.h"

namespace
{

constexpr UInt32 kPaneFeatures = 0x26;
constexpr UInt32 kCompositedPaneFeatures = 0x12000026;

const EventTypeSpec kControlEvents[] = {
  {kEventClassControl, kEventControlClick},
  {kEventClassControl, kEventControlDraw},
  {kEventClassControl, kEventControlDispose},
  {kEventClassControl, kEventControlBoundsChanged},
};
const EventTypeSpec kWindowEvents[] = {
  {kEventClassMouse, kEventMouseDown},       {kEventClassMouse, kEventMouseUp},
  {kEventClassMouse, kEventMouseMoved},      {kEventClassMouse, kEventMouseDragged},
  {kEventClassMouse, kEventMouseWheelMoved},
};

template <class T>
bool GetParam(EventRef event, EventParamName name, EventParamType type, T* out)
{
  return GetEventParameter(event, name, type, nullptr, sizeof(T), nullptr, out) == noErr;
}

IMouseMod GetModifiers(EventRef event)
{
  UInt32 mods = 0;
  GetParam(event, kEventParamKeyModifiers, typeUInt32, &mods);
  return IMouseMod(true, mods & cmdKey, mods & shiftKey, mods & controlKey, mods & optionKey);
}

} // namespace

IGraphicsCarbon::IGraphicsCarbon(IGraphicsLice* pEditor, WindowRef pWindow, ControlRef pParentControl)
  : mEditor(pEditor), mWindow(pWindow)
{
  Rect bounds = {0, 0, SInt16(pEditor->Height()), SInt16(pEditor->Width())};
  WindowAttributes attributes = 0;
  GetWindowAttributes(pWindow, &attributes);
  mComposited = (attributes & kWindowCompositingAttribute) != 0;
  mUpdateRegion = NewRgn();

  CreateUserPaneControl(pWindow, &bounds, mComposited ? kCompositedPaneFeatures : kPaneFeatures, &mView);
  InstallEventHandler(GetControlEventTarget(mView), CarbonEventHandler, std::size(kControlEvents), kControlEvents, this,
                      &mControlHandler);
  InstallEventHandler(GetWindowEventTarget(pWindow), CarbonEventHandler, std::size(kWindowEvents), kWindowEvents, this,
                      &mWindowHandler);
  InstallEventLoopTimer(GetMainEventLoop(), 0.0, 2.0 / double(pEditor->FPS()), CarbonTimerHandler, this, &mTimer);

  OSStatus err;
  ControlRef parent = pParentControl;
  if (mComposited)
  {
    if (!parent)
      HIViewFindByID(HIViewGetRoot(pWindow), kHIViewWindowContentID, &parent);
    err = HIViewAddSubview(parent, mView);
  }
  else
  {
    if (!parent && GetRootControl(pWindow, &parent) != noErr)
      CreateRootControl(pWindow, &parent);
    err = EmbedControl(mView, parent);
  }
  if (err == noErr)
    SizeControl(mView, SInt16(pEditor->Width()), SInt16(pEditor->Height()));
}

// The pane stays with the window. A pane disposed first, alone or with its
// window, has already had the timer and handlers removed (PaneDisposed).
IGraphicsCarbon::~IGraphicsCarbon()
{
  if (mTimer)
    RemoveEventLoopTimer(mTimer);
  if (mControlHandler)
    RemoveEventHandler(mControlHandler);
  if (mWindowHandler && IsValidWindowPtr(mWindow))
    RemoveEventHandler(mWindowHandler);
  DisposeRgn(mUpdateRegion);
}

void IGraphicsCarbon::Release(IGraphicsCarbon* pHost)
{
  if (!pHost)
    return;
  if (!pHost->mDepth)
  {
    delete pHost;
    return;
  }
  // Nothing may reach the editor or fire again once it has let go.
  pHost->mEditor = nullptr;
  pHost->mReleased = true;
  if (pHost->mTimer)
    RemoveEventLoopTimer(pHost->mTimer);
  pHost->mTimer = nullptr;
}

bool IGraphicsCarbon::Leave()
{
  if (--mDepth || !mReleased)
    return false;
  delete this;
  return true;
}

bool ResizeWindow(WindowRef pWindow, int w, int h)
{
  Rect r;
  if (!pWindow || GetWindowBounds(pWindow, kWindowContentRgn, &r) != noErr)
    return false;
  r.right = SInt16(r.left + w);
  r.bottom = SInt16(r.top + h);
  return SetWindowBounds(pWindow, kWindowContentRgn, &r) == noErr;
}

bool IGraphicsCarbon::Resize(int w, int h)
{
  if (!mWindow || !mView)
    return false;
  // The pane takes the size even when the window cannot.
  ResizeWindow(mWindow, w, h);
  HIRect frame = CGRectMake(0, 0, w, h);
  return HIViewSetFrame(mView, &frame) == noErr;
}

void IGraphicsCarbon::OffsetContentRect(CGRect* pR) const
{
  *pR = CGRectOffset(*pR, mContentXOffset, mContentYOffset);
}

IRECT GetRegionRect(EventRef pEvent, int w, int h)
{
  RgnHandle rgn = nullptr;
  if (!GetParam(pEvent, kEventParamRgnHandle, typeQDRgnHandle, &rgn) || !rgn)
    return IRECT(0, 0, w, h);
  Rect b;
  GetRegionBounds(rgn, &b);
  return IRECT(b.left, b.top, b.right, b.bottom);
}

IRECT GetControlRect(EventRef pEvent, int w, int h)
{
  Rect b;
  if (GetParam(pEvent, kEventParamCurrentBounds, typeQDRectangle, &b))
  {
    int bw = b.right - b.left, bh = b.bottom - b.top;
    if (bw > 0 && bh > 0)
      return IRECT(0, 0, bw, bh);
  }
  return IRECT(0, 0, w, h);
}

void IGraphicsCarbon::CarbonTimerHandler(EventLoopTimerRef, void* pGraphicsCarbon)
{
  auto* self = static_cast<IGraphicsCarbon*>(pGraphicsCarbon);
  self->Enter();
  self->Tick();
  self->Leave();
}

void IGraphicsCarbon::Tick()
{
  IRECT r;
  if (!mEditor || !mEditor->IsDirty(&r))
    return;
  if (mComposited)
  {
    HIRect area = CGRectMake(r.L, r.T, r.Width(), r.Height());
    HIViewSetNeedsDisplayInRect(mView, &area, true);
  }
  else
  {
    int h = mEditor->Height();
    SetRectRgn(mUpdateRegion, SInt16(r.L), SInt16(h - r.B), SInt16(r.R), SInt16(h - r.T));
    UpdateControls(mWindow, nullptr);
  }
}

OSStatus IGraphicsCarbon::CarbonEventHandler(EventHandlerCallRef callRef, EventRef event, void* pGraphicsCarbon)
{
  auto* self = static_cast<IGraphicsCarbon*>(pGraphicsCarbon);
  if (!self->mEditor)
    return eventNotHandledErr;
  self->Enter();
  OSStatus result = eventNotHandledErr;
  switch (GetEventClass(event))
  {
  case kEventClassControl: result = self->HandleControlEvent(event); break;
  case kEventClassMouse: result = self->HandleMouseEvent(callRef, event); break;
  }
  self->Leave();
  return result;
}

OSStatus IGraphicsCarbon::HandleControlEvent(EventRef event)
{
  switch (GetEventKind(event))
  {
  case kEventControlBoundsChanged: {
    Rect b;
    GetParam(event, kEventParamCurrentBounds, typeQDRectangle, &b);
    return noErr;
  }
  case kEventControlDispose: PaneDisposed(); return noErr;
  case kEventControlDraw: DrawEvent(event); return noErr;
  }
  return eventNotHandledErr;
}

// The pane goes, alone or with its window, and takes its handlers with it:
// the timer and the window's handler go too, so nothing touches either again.
void IGraphicsCarbon::PaneDisposed()
{
  mControlHandler = nullptr;
  mView = nullptr;
  if (mTimer)
    RemoveEventLoopTimer(mTimer);
  mTimer = nullptr;
  if (mWindowHandler)
    RemoveEventHandler(mWindowHandler);
  mWindowHandler = nullptr;
  mWindow = nullptr;
}

void IGraphicsCarbon::DrawEvent(EventRef event)
{
  int w = mEditor->Width(), h = mEditor->Height();
  IRECT r = GetRegionRect(event, w, h);
  if (mComposited)
  {
    if (!GetParam(event, kEventParamCGContextRef, typeCGContextRef, &mContext))
      mContext = nullptr;
    if (mContext)
    {
      CGContextTranslateCTM(mContext, 0, h);
      CGContextScaleCTM(mContext, 1, -1);
      mEditor->Draw(&r);
    }
    mContext = nullptr;
    return;
  }
  mContentYOffset = (r.B - r.T) - h;
  CGrafPtr port = nullptr;
  if (!GetParam(event, kEventParamGrafPort, typeGrafPtr, &port) || !port)
    return;
  if (QDBeginCGContext(port, &mContext) != noErr)
    return;
  IRECT dirty;
  mEditor->IsDirty(&dirty);
  mEditor->Draw(&dirty);
  CGContextFlush(mContext);
  QDEndCGContext(port, &mContext);
  mContext = nullptr;
}

OSStatus IGraphicsCarbon::HandleMouseEvent(EventHandlerCallRef callRef, EventRef event)
{
  UInt32 kind = GetEventKind(event);
  HIPoint pt = {0, 0};
  GetParam(event, kEventParamWindowMouseLocation, typeHIPoint, &pt);
  HIPointConvert(&pt, kHICoordSpaceWindow, mWindow, kHICoordSpaceView, mView);
  int x = int(pt.x), y = int(pt.y);
  IMouseMod mod = GetModifiers(event);
  switch (kind)
  {
  case kEventMouseDown: {
    CallNextEventHandler(callRef, event);
    if (!mEditor || !mView)
      return noErr; // closed, or the pane disposed, by the next handler
    UInt32 clicks = 1;
    GetParam(event, kEventParamClickCount, typeUInt32, &clicks);
    if (clicks < 2)
      mEditor->OnMouseDown(x, y, &mod);
    else
      mEditor->OnMouseDblClick(x, y, &mod);
    return noErr;
  }
  case kEventMouseUp: mEditor->OnMouseUp(x, y, &mod); return noErr;
  case kEventMouseMoved: mEditor->OnMouseOver(x, y, &mod); return noErr;
  case kEventMouseDragged: mEditor->OnMouseDrag(x, y, &mod); return noErr;
  case kEventMouseWheelMoved: {
    EventMouseWheelAxis axis = kEventMouseWheelAxisX;
    GetParam(event, kEventParamMouseWheelAxis, typeMouseWheelAxis, &axis);
    if (axis != kEventMouseWheelAxisY)
      return eventNotHandledErr;
    SInt32 delta = 0;
    GetParam(event, kEventParamMouseWheelDelta, typeSInt32, &delta);
    mEditor->OnMouseWheel(x, y, &mod, delta);
    return noErr;
  }
  }
  return eventNotHandledErr;
}
