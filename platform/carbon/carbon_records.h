#pragma once
// Private: the records behind the Carbon stand-in's references.

#include <map>
#include <vector>

#include "platform/carbon/HIView.h"
#include "platform/carbon/carbon_handles.h"
#include "platform/carbon/virtual_clock.h"

struct CarbonEvent : CarbonObject
{
  struct Param
  {
    EventParamType type;
    std::vector<unsigned char> bytes;
  };
  UInt32 eventClass = 0;
  UInt32 kind = 0;
  EventTime when = 0;
  int refCount = 1;
  std::map<EventParamName, Param> params;
};

struct CarbonHandler : CarbonObject
{
  uintptr_t target = 0;
  EventHandlerUPP proc = nullptr;
  void* user = nullptr;
  std::vector<EventTypeSpec> types;
};

struct CarbonWindow;
struct CarbonControl;

// A window's or a control's target; the owner disposes it.
struct CarbonTarget : CarbonObject
{
  ~CarbonTarget() override;
  CarbonWindow* window = nullptr;   // the window of a window target
  CarbonControl* control = nullptr; // the control of a control target
  std::vector<uintptr_t> handlers;  // install order
};

struct CarbonRegion : CarbonObject
{
  Rect bounds = {0, 0, 0, 0}; // all zero when empty
};

struct CarbonPort : CarbonObject
{
  ~CarbonPort() override { CGContextRelease(open); }
  CarbonWindow* window = nullptr;
  CGContextRef open = nullptr; // between QDBeginCGContext and QDEndCGContext
};

struct CarbonControl : CarbonObject
{
  ~CarbonControl() override;
  CarbonWindow* window = nullptr;
  CarbonControl* parent = nullptr;
  std::vector<CarbonControl*> children; // back to front
  HIRect frame = {};                    // to the parent when composited, else to the window
  UInt32 features = 0;
  HIViewID id = {0, 0};
  bool root = false;
  CarbonTarget* target = nullptr;
  HIRect dirty = CGRectNull; // view coordinates; composited windows only
};

struct CarbonWindow : CarbonObject
{
  ~CarbonWindow() override;
  bool composited() const { return (attributes & kWindowCompositingAttribute) != 0; }
  SInt16 width() const { return SInt16(bounds.right - bounds.left); }
  SInt16 height() const { return SInt16(bounds.bottom - bounds.top); }

  WindowClass windowClass = 0;
  WindowAttributes attributes = 0;
  Rect bounds = {0, 0, 0, 0}; // content, global
  CarbonControl* root = nullptr;
  std::vector<CarbonControl*> controls; // every live control of the window
  CarbonTarget* target = nullptr;
  CarbonPort* port = nullptr;
  unsigned char* pixels = nullptr; // X, R, G, B rows, top first; may be null
  bool needsUpdate = true;         // non-composited windows
};

struct CarbonTimer : CarbonObject
{
  ~CarbonTimer() override;
  VirtualClockTimer clock = 0;
  EventLoopTimerUPP proc = nullptr;
  void* user = nullptr;
};

// Shared helpers of the stand-in's units.
CarbonTarget* carbonNewTarget(CarbonWindow* window, CarbonControl* control);
CarbonControl* carbonNewControl(CarbonWindow* window, const HIRect& frame, UInt32 features);
// Detaches child from its parent and makes it container's frontmost child.
void carbonAttach(CarbonControl* child, CarbonControl* container);
// The view's top-left in window coordinates.
HIPoint carbonViewOrigin(const CarbonControl* c);
// The part of the window the view can draw in, in window coordinates.
HIRect carbonVisibleRect(const CarbonControl* c);
bool carbonIsContentView(const CarbonControl* c);
// A composited window's content view.
CarbonControl* carbonContentView(const CarbonWindow* w);
// Controls embedded under the root, back to front, root excluded.
std::vector<uintptr_t> carbonPaintOrder(const CarbonWindow* w);
void carbonSetNeedsDisplay(CarbonControl* c, HIRect rect);
// Sets the frame; sends kEventControlBoundsChanged when it changed.
void carbonSetFrame(CarbonControl* c, const HIRect& frame);
// A bitmap context over the window's pixels (caller releases) or null.
CGContextRef carbonWindowContext(CarbonWindow* w);
Rect carbonRectFromHI(const HIRect& r);
HIRect carbonRectToHI(const Rect& r);
RgnHandle carbonNewRegion(const Rect& r);
// Creates an event of class and kind (one reference) with the given
// control as its direct object when non-null.
EventRef carbonNewEvent(UInt32 eventClass, UInt32 kind, const CarbonControl* directObject);
// Sends and releases the event.
OSStatus carbonSendAndRelease(EventRef event, CarbonTarget* target);
// Sends c kEventControlDraw with the region and one more pointer-sized
// parameter: the port or the context to draw with.
void carbonSendDraw(CarbonControl* c, RgnHandle rgn, EventParamName name, EventParamType type, void* ref);
// Calls draw(c) for each control in paint order that is still alive when
// its turn comes, stopping if a handler disposes the window; draw answers
// whether it sent an event. Returns the number sent.
template <class Draw>
int carbonDrawViews(CarbonWindow* w, Draw draw)
{
  int sent = 0;
  const uintptr_t window = w->handle;
  for (uintptr_t h : carbonPaintOrder(w))
  {
    if (!carbonFind(reinterpret_cast<void*>(window)))
      break;
    if (auto* c = dynamic_cast<CarbonControl*>(carbonFind(reinterpret_cast<void*>(h))))
      sent += draw(c) ? 1 : 0;
  }
  return sent;
}
// Sends the draw events of UpdateControls in a non-composited window;
// returns how many.
int carbonDrawNonComposited(CarbonWindow* w, const Rect& area);
// What a target does with an event no handler took.
OSStatus carbonStandardHandling(CarbonTarget* target, EventRef event);
