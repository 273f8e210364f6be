#include "platform/cocoa/NSWindow.h"

#include <cstdlib>

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSView.h"
#include "platform/coregraphics/CGBitmapContext.h"

NSWindow::NSWindow(NSRect contentRect)
{
  if (contentRect.size.width < 0)
    contentRect.size.width = 0;
  if (contentRect.size.height < 0)
    contentRect.size.height = 0;
  mContentRect = contentRect;
  uint64_t w = uint64_t(contentRect.size.width), h = uint64_t(contentRect.size.height);
  if (!w || !h || w * h > kCGMaxBitmapPixels)
    return;
  mBacking = calloc(size_t(h), size_t(w) * 4);
  if (!mBacking)
    return;
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef port =
    CGBitmapContextCreate(mBacking, size_t(w), size_t(h), 8, size_t(w) * 4, space, kCGImageAlphaNoneSkipFirst);
  CGColorSpaceRelease(space);
  if (port)
    mGraphicsContext = NSGraphicsContext::graphicsContextWithGraphicsPort(port, false);
  CGContextRelease(port);
}

NSWindow::~NSWindow()
{
  setContentView(nullptr);
  NSRelease(mMouseTarget);
  NSRelease(mGraphicsContext);
  free(mBacking);
}

void NSWindow::setContentView(NSView* view)
{
  if (view == mContentView)
    return;
  NSView* old = mContentView;
  if (view)
  {
    view->retain();
    if (view->superview())
      view->removeFromSuperview();
    view->setFrame(NSMakeRect(0, 0, mContentRect.size.width, mContentRect.size.height));
  }
  mContentView = view;
  if (old)
  {
    old->setWindowOfTree(nullptr);
    old->release();
  }
  if (view)
    view->setWindowOfTree(this);
}

void NSWindow::viewLeavingWindow(NSView* view)
{
  if (mFirstResponder == view)
    mFirstResponder = this;
  if (mMouseTarget == view)
  {
    mMouseTarget = nullptr;
    view->release();
  }
}

bool NSWindow::makeFirstResponder(NSResponder* responder)
{
  if (!responder)
    responder = this;
  if (responder != this)
  {
    auto* view = dynamic_cast<NSView*>(responder);
    if (!view || view->window() != this || !responder->acceptsFirstResponder())
      return false;
  }
  mFirstResponder = responder;
  return true;
}

void NSWindow::dispatchToTarget(NSEvent* e)
{
  NSView* target = mMouseTarget;
  if (!target)
    return;
  target->retain();
  switch (e->type())
  {
  case NSLeftMouseUp: target->mouseUp(e); break;
  case NSLeftMouseDragged: target->mouseDragged(e); break;
  case NSRightMouseUp: target->rightMouseUp(e); break;
  case NSRightMouseDragged: target->rightMouseDragged(e); break;
  case NSOtherMouseUp: target->otherMouseUp(e); break;
  case NSOtherMouseDragged: target->otherMouseDragged(e); break;
  default: break;
  }
  bool up = e->type() == NSLeftMouseUp || e->type() == NSRightMouseUp || e->type() == NSOtherMouseUp;
  if (up && mMouseTarget == target)
  {
    mMouseTarget = nullptr;
    target->release();
  }
  target->release();
}

void NSWindow::sendEvent(NSEvent* e)
{
  if (!e)
    NSFatal("NSWindow sendEvent: nil event");
  retain();
  e->retain();
  NSEventType type = e->type();
  NSView* hit = mContentView ? mContentView->hitTest(e->locationInWindow()) : nullptr;
  if (hit)
    hit->retain();
  switch (type)
  {
  case NSLeftMouseDown:
  case NSRightMouseDown:
  case NSOtherMouseDown:
    if (!hit)
      break;
    if (hit->acceptsFirstResponder())
      makeFirstResponder(hit);
    hit->retain();
    NSRelease(mMouseTarget);
    mMouseTarget = hit;
    if (type == NSLeftMouseDown)
      hit->mouseDown(e);
    else if (type == NSRightMouseDown)
      hit->rightMouseDown(e);
    else
      hit->otherMouseDown(e);
    break;
  case NSMouseMoved:
    if (mAcceptsMouseMoved)
    {
      NSResponder* responder = mFirstResponder;
      responder->retain();
      responder->mouseMoved(e);
      responder->release();
    }
    break;
  case NSScrollWheel:
    if (hit)
      hit->scrollWheel(e);
    break;
  default: dispatchToTarget(e); break;
  }
  NSRelease(hit);
  e->release();
  release();
}

void NSWindow::displayIfNeeded()
{
  if (!mContentView)
    return;
  retain();
  mContentView->displayPass(CGRectNull, false);
  release();
}

void NSWindow::display()
{
  if (!mContentView)
    return;
  retain();
  mContentView->displayPass(CGRectNull, true);
  release();
}

NSRect NSWindow::takeDrawnRect()
{
  NSRect r = CGRectIntegral(mDrawn);
  mDrawn = CGRectNull;
  return r;
}
