#include "wdl/IPlug/mac/IGraphicsCocoa.h"

#include <cmath>

#include "platform/cocoa/NSClass.h"
#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSRunLoop.h"
#include "platform/cocoa/NSTimer.h"
#include "platform/cocoa/NSWindow.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

NS_REGISTER_CLASS(IGraphicsCocoa_v1002, "IGraphicsCocoa_v1002", "NSView");

IMouseMod IMouseModFromCocoa(unsigned long long flags)
{
  const bool command = flags & (NSCommandKeyMask | NSDeviceLeftCommandKeyMask);
  return IMouseMod(true, command, flags & NSShiftKeyMask, flags & NSControlKeyMask, flags & NSAlternateKeyMask);
}

IGraphicsCocoa_v1002::IGraphicsCocoa_v1002() : NSView(NSMakeRect(0, 0, 0, 0)) {}

IGraphicsCocoa_v1002::IGraphicsCocoa_v1002(IGraphicsMac* pGraphics)
  : NSView(NSMakeRect(0, 0, pGraphics->Width(), pGraphics->Height())), mGraphics(pGraphics)
{
  mTimer = NSTimer::timerWithTimeInterval(1.0 / pGraphics->FPS(), this, NSTimerSelector(&IGraphicsCocoa_v1002::onTimer),
                                          nullptr, true);
  NSRunLoop::currentRunLoop()->addTimer(mTimer, kCFRunLoopCommonModes);
}

IGraphicsCocoa_v1002::~IGraphicsCocoa_v1002()
{
  // The timer holds this view while it runs, so it is already stopped here.
  NSRelease(mTimer);
}

void IGraphicsCocoa_v1002::viewDidMoveToWindow()
{
  if (NSWindow* w = window())
  {
    w->makeFirstResponder(this);
    w->setAcceptsMouseMovedEvents(true);
  }
}

void IGraphicsCocoa_v1002::killTimer()
{
  NSTimer* t = mTimer;
  mTimer = nullptr;
  if (t)
  {
    // Invalidating lets go of this view; keep it until the call is done.
    retain();
    t->invalidate();
    t->release();
    release();
  }
}

void IGraphicsCocoa_v1002::removeFromSuperview()
{
  retain();
  if (IGraphicsMac* g = mGraphics)
  {
    mGraphics = nullptr;
    g->CloseWindow();
  }
  NSView::removeFromSuperview();
  release();
}

void IGraphicsCocoa_v1002::doCommandBySelector(SEL selector)
{
  NSView::doCommandBySelector(selector);
}

void IGraphicsCocoa_v1002::getMouseXY(NSEvent* e, int* x, int* y) const
{
  NSPoint p = convertPointFromView(e->locationInWindow(), nullptr);
  *x = int(p.x);
  *y = (mGraphics ? mGraphics->Height() : 0) - int(p.y);
}

void IGraphicsCocoa_v1002::onTimer(NSTimer* timer)
{
  if (timer != mTimer || !mGraphics)
    return;
  IRECT r;
  if (mGraphics->IsDirty(&r))
  {
    const int h = mGraphics->Height();
    setNeedsDisplayInRect(NSMakeRect(r.L, h - r.B, r.Width(), r.Height()));
  }
}

void IGraphicsCocoa_v1002::drawRect(NSRect rect)
{
  if (!mGraphics)
    return;
  // A fractional rectangle is covered whole.
  const int h = mGraphics->Height();
  const int x0 = int(std::floor(rect.origin.x)), y0 = int(std::floor(rect.origin.y));
  const int x1 = int(std::ceil(rect.origin.x + rect.size.width));
  const int y1 = int(std::ceil(rect.origin.y + rect.size.height));
  IRECT r(x0, h - y1, x1, h - y0);
  mGraphics->Draw(&r);
}

namespace
{
// Hands the event to the editor in its coordinates, unless the view was detached.
template <class F>
void ToEditor(const IGraphicsCocoa_v1002* view, NSEvent* e, F f)
{
  IGraphicsMac* g = view->graphics();
  if (!g)
    return;
  int x, y;
  view->getMouseXY(e, &x, &y);
  IMouseMod mod = IMouseModFromCocoa(e->modifierFlags());
  f(g, x, y, &mod);
}
} // namespace

void IGraphicsCocoa_v1002::mouseDown(NSEvent* e)
{
  NSView::mouseDown(e);
  ToEditor(this, e, [e](IGraphicsMac* g, int x, int y, IMouseMod* mod) {
    if (e->clickCount() < 2)
      g->OnMouseDown(x, y, mod);
    else
      g->OnMouseDblClick(x, y, mod);
  });
}

void IGraphicsCocoa_v1002::mouseUp(NSEvent* e)
{
  ToEditor(this, e, [](IGraphicsMac* g, int x, int y, IMouseMod* mod) { g->OnMouseUp(x, y, mod); });
}

void IGraphicsCocoa_v1002::mouseDragged(NSEvent* e)
{
  ToEditor(this, e, [](IGraphicsMac* g, int x, int y, IMouseMod* mod) { g->OnMouseDrag(x, y, mod); });
}

void IGraphicsCocoa_v1002::mouseMoved(NSEvent* e)
{
  ToEditor(this, e, [](IGraphicsMac* g, int x, int y, IMouseMod* mod) { g->OnMouseOver(x, y, mod); });
}

void IGraphicsCocoa_v1002::scrollWheel(NSEvent* e)
{
  // Fractional deltas are truncated, as the platform's integer wheel is.
  ToEditor(this, e,
           [e](IGraphicsMac* g, int x, int y, IMouseMod* mod) { g->OnMouseWheel(x, y, mod, int(e->deltaY())); });
}
