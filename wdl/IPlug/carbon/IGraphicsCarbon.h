#pragma once
// The editor inside a Carbon window: a user pane of the editor's size,
// handlers that draw the editor and hand it the window's mouse events, and
// an event-loop timer that asks it for dirty areas. Works in composited
// windows (a Core Graphics context per draw event) and in older windows
// (QuickDraw ports bridged to Core Graphics).
//
// The Mac window binding makes one through MakeIGraphicsCarbonHost and
// gives it up with Release, which may be reached from inside one of this
// object's own handlers or its timer: then the editor is let go at once and
// the object is deleted when the handler returns.

#include <memory>

#include "platform/carbon/Carbon.h"
#include "wdl/IPlug/graphics/IGraphicsLice.h"

class IGraphicsCarbon
{
public:
  IGraphicsCarbon(IGraphicsLice* pEditor, WindowRef pWindow, ControlRef pParentControl);
  ~IGraphicsCarbon();
  IGraphicsCarbon(const IGraphicsCarbon&) = delete;
  IGraphicsCarbon& operator=(const IGraphicsCarbon&) = delete;

  // Deletes host now, or detaches it and deletes it when its running handler returns.
  static void Release(IGraphicsCarbon* pHost);
  // For the owner's unique_ptr: it gives the object up through Release.
  struct Releaser
  {
    void operator()(IGraphicsCarbon* pHost) const { Release(pHost); }
  };
  using Owner = std::unique_ptr<IGraphicsCarbon, Releaser>;

  ControlRef GetView() const { return mView; }
  CGContextRef GetCGContext() const { return mContext; }
  bool IsComposited() const { return mComposited; }
  int GetContentXOffset() const { return mContentXOffset; }
  int GetContentYOffset() const { return mContentYOffset; }
  bool Resize(int w, int h);
  void OffsetContentRect(CGRect* pR) const;

private:
  static OSStatus CarbonEventHandler(EventHandlerCallRef callRef, EventRef event, void* pGraphicsCarbon);
  static void CarbonTimerHandler(EventLoopTimerRef timer, void* pGraphicsCarbon);
  OSStatus HandleControlEvent(EventRef event);
  OSStatus HandleMouseEvent(EventHandlerCallRef callRef, EventRef event);
  void PaneDisposed();
  void DrawEvent(EventRef event);
  void Tick();
  void Enter() { ++mDepth; }
  // True when the object was deleted.
  bool Leave();

  IGraphicsLice* mEditor = nullptr;
  bool mComposited = false;
  int32_t mContentXOffset = 0, mContentYOffset = 0;
  RgnHandle mUpdateRegion = nullptr;
  WindowRef mWindow = nullptr;
  ControlRef mView = nullptr;
  EventLoopTimerRef mTimer = nullptr;
  EventHandlerRef mControlHandler = nullptr, mWindowHandler = nullptr;
  CGContextRef mContext = nullptr;
  int mDepth = 0;
  bool mReleased = false;
};

class IGraphicsCarbonHost;
class IGraphicsMac;
// The Mac window binding's maker of Carbon hosts.
std::unique_ptr<IGraphicsCarbonHost> MakeIGraphicsCarbonHost(IGraphicsMac* pGraphics, void* pWindow, void* pControl);

// Sets the window's content to w x h, keeping its top-left corner.
bool ResizeWindow(WindowRef pWindow, int w, int h);
// The bounds of the event's region parameter, or {0, 0, w, h} without one.
IRECT GetRegionRect(EventRef pEvent, int w, int h);
// {0, 0, width, height} of the event's current bounds when both are
// positive, else {0, 0, w, h}.
IRECT GetControlRect(EventRef pEvent, int w, int h);
