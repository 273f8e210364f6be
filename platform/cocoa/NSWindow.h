#pragma once
// A window: a content view over a backing store of the content size. The
// backing store is a bitmap context (bytes X, R, G, B, first row at the
// top) that focus-locked views draw into. The window routes mouse events
// to its views and runs their display passes; what a pass drew is kept
// for whoever puts the backing store on a screen.

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSResponder.h"

class NSEvent;
class NSView;

class NSWindow : public NSResponder
{
public:
  // A negative size is taken as empty. The backing store is allocated
  // zero-filled; a window too large for it (see kCGMaxBitmapPixels) or out
  // of memory has none, and its views cannot draw. It starts without a
  // content view.
  explicit NSWindow(NSRect contentRect);

  NSRect contentRect() const { return mContentRect; }
  NSView* contentView() const { return mContentView; }
  // Retains view (null allowed), releases the previous one and detaches it.
  // The view's frame becomes the content area at (0, 0).
  void setContentView(NSView* view);
  // The backing store's context, or null when it has none.
  NSGraphicsContext* graphicsContext() const { return mGraphicsContext; }

  // Mouse routing: a mouse down and a scroll go to the view under the
  // event's location (a mouse down also makes that view first responder
  // when it accepts); drags and the mouse up go to the view that got the
  // mouse down; mouse moves go to the first responder, and only while the
  // window accepts them.
  void sendEvent(NSEvent* e);
  // Not retained; the window itself when no view is.
  NSResponder* firstResponder() const { return mFirstResponder; }
  // Null makes the window first responder. False when the responder
  // refuses (the first responder is then unchanged).
  bool makeFirstResponder(NSResponder* responder);
  bool acceptsMouseMovedEvents() const { return mAcceptsMouseMoved; }
  void setAcceptsMouseMovedEvents(bool flag) { mAcceptsMouseMoved = flag; }

  // The display pass over the marked areas of every view, or over every
  // view whole.
  void displayIfNeeded();
  void display();
  // Stand-in only: the union of what display passes drew since the last
  // call, in base coordinates with integral edges (null when nothing),
  // and starts a new union.
  NSRect takeDrawnRect();

protected:
  ~NSWindow() override;

private:
  friend class NSView;
  void addDrawnRect(NSRect r) { mDrawn = CGRectUnion(mDrawn, r); }
  // A view of this window's tree is leaving it: drop what refers to it.
  void viewLeavingWindow(NSView* view);
  void dispatchToTarget(NSEvent* e);

  NSRect mContentRect;
  NSView* mContentView = nullptr;
  void* mBacking = nullptr;
  NSGraphicsContext* mGraphicsContext = nullptr;
  NSResponder* mFirstResponder = this;
  NSView* mMouseTarget = nullptr; // retained from mouse down to mouse up
  bool mAcceptsMouseMoved = false;
  NSRect mDrawn = CGRectNull;
};
