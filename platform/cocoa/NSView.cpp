#include "platform/cocoa/NSView.h"

#include <algorithm>

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSWindow.h"

namespace
{

struct FocusLock
{
  NSView* view;
  NSGraphicsContext* previous; // retained until the lock is undone
};

thread_local std::vector<FocusLock> tFocusStack;

} // namespace

NSView::NSView(NSRect frame) : mFrame(CGRectStandardize(frame)), mBounds{{0, 0}, mFrame.size} {}

NSView::~NSView()
{
  for (NSView* sub : mSubviews)
  {
    sub->mSuperview = nullptr;
    sub->release();
  }
}

void NSView::setFrame(NSRect frame)
{
  mFrame = CGRectStandardize(frame);
  mBounds.size = mFrame.size;
}

void NSView::setFrameOrigin(NSPoint origin)
{
  mFrame.origin = origin;
}

void NSView::setFrameSize(NSSize size)
{
  setFrame(NSRect{mFrame.origin, size});
}

void NSView::setBoundsOrigin(NSPoint origin)
{
  mBounds.origin = origin;
}

bool NSView::isDescendantOf(const NSView* view) const
{
  for (const NSView* v = this; v; v = v->mSuperview)
    if (v == view)
      return true;
  return false;
}

void NSView::addSubview(NSView* view)
{
  if (!view)
    NSFatal("NSView addSubview: nil view");
  if (isDescendantOf(view))
    NSFatal("NSView addSubview: %p would become its own ancestor", static_cast<void*>(view));
  view->retain(); // this view's reference, taken before the old superview drops its own
  if (view->mSuperview)
    view->removeFromSuperview();
  mSubviews.push_back(view);
  view->mSuperview = this;
  view->setWindowOfTree(mWindow);
}

void NSView::removeFromSuperview()
{
  NSView* super = mSuperview;
  if (!super)
    return;
  auto it = std::find(super->mSubviews.begin(), super->mSubviews.end(), this);
  if (it != super->mSubviews.end())
    super->mSubviews.erase(it);
  mSuperview = nullptr;
  retain(); // keep this view for its own viewDidMoveToWindow
  setWindowOfTree(nullptr);
  release();
  release(); // the superview's reference
}

void NSView::setWindowOfTree(NSWindow* window)
{
  std::vector<NSView*> moved;
  std::vector<NSView*> pending{this};
  while (!pending.empty())
  {
    NSView* v = pending.back();
    pending.pop_back();
    if (v->mWindow == window)
      continue;
    if (v->mWindow)
      v->mWindow->viewLeavingWindow(v);
    v->mWindow = window;
    v->retain();
    moved.push_back(v);
    pending.insert(pending.end(), v->mSubviews.begin(), v->mSubviews.end());
  }
  for (NSView* v : moved)
  {
    v->viewDidMoveToWindow();
    v->release();
  }
}

namespace
{

// Where a view's origin lies in base coordinates; zero for nil.
NSPoint originInBase(const NSView* view)
{
  NSPoint o = {0, 0};
  for (const NSView* v = view; v; v = v->superview())
  {
    o.x += v->frame().origin.x - v->bounds().origin.x;
    o.y += v->frame().origin.y - v->bounds().origin.y;
  }
  return o;
}

} // namespace

NSPoint NSView::convertPointToView(NSPoint p, const NSView* view) const
{
  NSPoint from = originInBase(this), to = originInBase(view);
  return NSPoint{p.x + from.x - to.x, p.y + from.y - to.y};
}

NSPoint NSView::convertPointFromView(NSPoint p, const NSView* view) const
{
  NSPoint from = originInBase(view), to = originInBase(this);
  return NSPoint{p.x + from.x - to.x, p.y + from.y - to.y};
}

NSRect NSView::convertRectToView(NSRect r, const NSView* view) const
{
  r = CGRectStandardize(r);
  return NSRect{convertPointToView(r.origin, view), r.size};
}

NSRect NSView::convertRectFromView(NSRect r, const NSView* view) const
{
  r = CGRectStandardize(r);
  return NSRect{convertPointFromView(r.origin, view), r.size};
}

NSRect NSView::visibleRect() const
{
  NSRect r = mBounds;
  for (const NSView* v = mSuperview; v && !CGRectIsNull(r); v = v->mSuperview)
    r = CGRectIntersection(r, convertRectFromView(v->mBounds, v));
  return r;
}

bool NSView::isHiddenOrHasHiddenAncestor() const
{
  for (const NSView* v = this; v; v = v->mSuperview)
    if (v->mHidden)
      return true;
  return false;
}

NSView* NSView::hitTest(NSPoint p)
{
  // Mouse locations count pixel rows from the top edge down (the top row
  // is at the height, the bottom one at 1), so a view holds its top edge
  // and not its bottom one.
  bool inside = p.x >= CGRectGetMinX(mFrame) && p.x < CGRectGetMaxX(mFrame) && p.y > CGRectGetMinY(mFrame) &&
                p.y <= CGRectGetMaxY(mFrame);
  if (mHidden || !inside)
    return nullptr;
  NSPoint local = {p.x - mFrame.origin.x + mBounds.origin.x, p.y - mFrame.origin.y + mBounds.origin.y};
  for (auto it = mSubviews.rbegin(); it != mSubviews.rend(); ++it)
    if (NSView* hit = (*it)->hitTest(local))
      return hit;
  return this;
}

NSResponder* NSView::nextResponder() const
{
  if (mSuperview)
    return mSuperview;
  return (mWindow && mWindow->contentView() == this) ? static_cast<NSResponder*>(mWindow) : nullptr;
}

void NSView::setNeedsDisplay(bool flag)
{
  if (flag)
    setNeedsDisplayInRect(mBounds);
  else
    mNeedsDisplay = CGRectNull;
}

void NSView::setNeedsDisplayInRect(NSRect rect)
{
  NSRect r = CGRectIntersection(CGRectStandardize(rect), mBounds);
  if (CGRectIsEmpty(r))
    return;
  mNeedsDisplay = CGRectUnion(mNeedsDisplay, r);
}

void NSView::displayPass(NSRect inherited, bool all)
{
  NSRect r = all ? mBounds : CGRectUnion(mNeedsDisplay, inherited);
  mNeedsDisplay = CGRectNull;
  if (mHidden)
    return;
  r = CGRectIntersection(r, visibleRect());
  if (!CGRectIsEmpty(r))
  {
    // The backing store has whole pixels: draw every pixel the area touches.
    NSRect base = CGRectIntegral(convertRectToView(r, nullptr));
    r = CGRectIntersection(convertRectFromView(base, nullptr), visibleRect());
    if (lockFocusIfCanDraw())
    {
      CGContextClipToRect(NSGraphicsContext::currentContext()->graphicsPort(), r);
      retain();
      drawRect(r);
      unlockFocus();
      if (mWindow)
        mWindow->addDrawnRect(convertRectToView(r, nullptr));
      release();
    }
  }
  std::vector<NSView*> subs = mSubviews;
  for (NSView* sub : subs)
    sub->retain();
  for (NSView* sub : subs)
  {
    if (sub->mSuperview == this)
    {
      NSRect inner = CGRectIsEmpty(r) ? CGRectNull : sub->convertRectFromView(r, this);
      sub->displayPass(inner, all);
    }
    sub->release();
  }
}

bool NSView::lockFocusIfCanDraw()
{
  if (!mWindow || isHiddenOrHasHiddenAncestor())
    return false;
  NSRect visible = visibleRect();
  if (CGRectIsEmpty(visible))
    return false;
  NSGraphicsContext* ctx = mWindow->graphicsContext();
  if (!ctx)
    return false;
  NSGraphicsContext* previous = NSGraphicsContext::currentContext();
  try
  {
    tFocusStack.push_back({this, previous});
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  if (previous)
    previous->retain();
  NSGraphicsContext::setCurrentContext(ctx);
  CGContextRef port = ctx->graphicsPort();
  CGContextSaveGState(port);
  NSPoint origin = convertPointToView(NSPoint{0, 0}, nullptr);
  CGContextTranslateCTM(port, origin.x, origin.y);
  CGContextClipToRect(port, visible);
  return true;
}

void NSView::unlockFocus()
{
  if (tFocusStack.empty() || tFocusStack.back().view != this)
    return;
  NSGraphicsContext* previous = tFocusStack.back().previous;
  tFocusStack.pop_back();
  if (NSGraphicsContext* ctx = NSGraphicsContext::currentContext())
    CGContextRestoreGState(ctx->graphicsPort());
  NSGraphicsContext::setCurrentContext(previous);
  NSRelease(previous);
}

NSView* NSView::focusView()
{
  return tFocusStack.empty() ? nullptr : tFocusStack.back().view;
}
