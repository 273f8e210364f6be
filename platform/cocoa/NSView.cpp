#include "platform/cocoa/NSView.h"

#include <vector>

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSWindow.h"

namespace {

struct FocusLock {
  NSView* view;
  NSGraphicsContext* previous;  // retained until the lock is undone
};

thread_local std::vector<FocusLock> tFocusStack;

}  // namespace

NSView::NSView(NSRect frame) : mFrame(CGRectStandardize(frame)), mBounds{{0, 0}, mFrame.size} {}

void NSView::setFrame(NSRect frame)
{
  mFrame = CGRectStandardize(frame);
  mBounds.size = mFrame.size;
}

void NSView::setBoundsOrigin(NSPoint origin) { mBounds.origin = origin; }

bool NSView::lockFocusIfCanDraw()
{
  if (!mWindow || mHidden || CGRectIsEmpty(mFrame)) return false;
  NSGraphicsContext* ctx = mWindow->graphicsContext();
  if (!ctx) return false;
  NSGraphicsContext* previous = NSGraphicsContext::currentContext();
  try {
    tFocusStack.push_back({this, previous});
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (previous) previous->retain();
  NSGraphicsContext::setCurrentContext(ctx);
  CGContextRef port = ctx->graphicsPort();
  CGContextSaveGState(port);
  CGContextTranslateCTM(port, mFrame.origin.x - mBounds.origin.x, mFrame.origin.y - mBounds.origin.y);
  CGContextClipToRect(port, mBounds);
  return true;
}

void NSView::unlockFocus()
{
  if (tFocusStack.empty() || tFocusStack.back().view != this) return;
  NSGraphicsContext* previous = tFocusStack.back().previous;
  tFocusStack.pop_back();
  if (NSGraphicsContext* ctx = NSGraphicsContext::currentContext()) CGContextRestoreGState(ctx->graphicsPort());
  NSGraphicsContext::setCurrentContext(previous);
  NSRelease(previous);
}

NSView* NSView::focusView() { return tFocusStack.empty() ? nullptr : tFocusStack.back().view; }
