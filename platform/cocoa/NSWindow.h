#pragma once
// A window: a content view over a backing store of the content size. The
// backing store is a bitmap context (bytes X, R, G, B, first row at the
// top) that focus-locked views draw into.

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSObject.h"

class NSView;

class NSWindow : public NSObject {
public:
  // A negative size is taken as empty. The backing store is allocated
  // zero-filled; a window too large for it (see kCGMaxBitmapPixels) or out
  // of memory has none, and its views cannot draw.
  explicit NSWindow(NSRect contentRect);

  NSRect contentRect() const { return mContentRect; }
  NSView* contentView() const { return mContentView; }
  // Retains view (null allowed), releases the previous one and detaches it.
  // The view's frame becomes the content area at (0, 0).
  void setContentView(NSView* view);
  // The backing store's context, or null when it has none.
  NSGraphicsContext* graphicsContext() const { return mGraphicsContext; }

protected:
  ~NSWindow() override;

private:
  NSRect mContentRect;
  NSView* mContentView = nullptr;
  void* mBacking = nullptr;
  NSGraphicsContext* mGraphicsContext = nullptr;
};
