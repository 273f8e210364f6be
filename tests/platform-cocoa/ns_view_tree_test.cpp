#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "tests/platform-cocoa/window_coverage.h"

namespace
{

// Records what reaches it, and fills what it is asked to draw.
class RecordingView : public NSView
{
public:
  explicit RecordingView(NSRect frame, std::vector<std::string>* log = nullptr, const char* name = "v")
    : NSView(frame), mLog(log), mName(name)
  {
  }
  void drawRect(NSRect r) override
  {
    drawn.push_back(r);
    CGContextFillRect(NSGraphicsContext::currentContext()->graphicsPort(), bounds());
  }
  void viewDidMoveToWindow() override { note(window() ? "in" : "out"); }
  void mouseDown(NSEvent* e) override { note("down", e); }
  void mouseUp(NSEvent* e) override { note("up", e); }
  void mouseDragged(NSEvent* e) override { note("drag", e); }
  void mouseMoved(NSEvent* e) override { note("move", e); }
  void scrollWheel(NSEvent* e) override { note("wheel", e); }
  bool acceptsFirstResponder() override { return true; }

  std::vector<NSRect> drawn;

private:
  void note(const char* what, NSEvent* e = nullptr)
  {
    if (!mLog)
      return;
    std::string s = std::string(mName) + ":" + what;
    if (e)
    {
      NSPoint p = convertPointFromView(e->locationInWindow(), nullptr);
      s += "@" + std::to_string(int(p.x)) + "," + std::to_string(int(p.y));
    }
    mLog->push_back(s);
  }
  std::vector<std::string>* mLog;
  const char* mName;
};

NSWindow* windowWithContent(CGFloat w, CGFloat h)
{
  NSWindow* window = new NSWindow(NSMakeRect(0, 0, w, h));
  NSView* content = new NSView(NSMakeRect(0, 0, w, h));
  window->setContentView(content);
  content->release();
  return window;
}

NSEvent* mouse(NSEventType type, CGFloat x, CGFloat y, NSWindow* w)
{
  return NSEvent::mouseEventWithType(type, NSPoint{x, y}, 0, 0, w, 1);
}

void send(NSWindow* w, NSEvent* e)
{
  w->sendEvent(e);
  e->release();
}

} // namespace

TEST(NSViewTree, PointsConvertThroughFramesAndBoundsOrigins)
{
  NSView* root = new NSView(NSMakeRect(100, 50, 200, 100));
  NSView* mid = new NSView(NSMakeRect(10, 20, 50, 50));
  NSView* leaf = new NSView(NSMakeRect(5, 5, 10, 10));
  mid->setBoundsOrigin(NSPoint{-3, 0});
  root->addSubview(mid);
  mid->addSubview(leaf);
  // leaf (1, 2) -> mid (6, 7) -> mid's frame (6 + 3, 7) + (10, 20) -> root + (100, 50).
  NSPoint base = leaf->convertPointToView(NSPoint{1, 2}, nullptr);
  EXPECT_DOUBLE_EQ(base.x, 1 + 5 + 3 + 10 + 100);
  EXPECT_DOUBLE_EQ(base.y, 2 + 5 + 20 + 50);
  NSPoint back = leaf->convertPointFromView(base, nullptr);
  EXPECT_DOUBLE_EQ(back.x, 1);
  EXPECT_DOUBLE_EQ(back.y, 2);
  NSPoint inRoot = root->convertPointFromView(NSPoint{0, 0}, leaf);
  EXPECT_DOUBLE_EQ(inRoot.x, 18);
  EXPECT_DOUBLE_EQ(inRoot.y, 25);
  // Clipped by mid: leaf at x 8..18 of mid's frame coordinates 0..50 is whole.
  mid->setFrameSize(NSSize{12, 50});
  EXPECT_TRUE(CGRectEqualToRect(mid->bounds(), NSMakeRect(-3, 0, 12, 50)));
  EXPECT_TRUE(CGRectEqualToRect(leaf->visibleRect(), NSMakeRect(0, 0, 4, 10)));
  root->release();
  mid->release();
  leaf->release();
}

TEST(NSViewTree, SubviewsAreHeldAndToldWhenTheyChangeWindow)
{
  std::vector<std::string> log;
  NSWindow* w = windowWithContent(8, 8);
  auto* child = new RecordingView(NSMakeRect(0, 0, 2, 2), &log, "c");
  auto* grandchild = new RecordingView(NSMakeRect(0, 0, 1, 1), &log, "g");
  child->addSubview(grandchild);
  grandchild->release(); // the child holds it now
  w->contentView()->addSubview(child);
  EXPECT_EQ(child->retainCount(), 2);
  EXPECT_EQ(grandchild->window(), w);
  EXPECT_EQ(log, (std::vector<std::string>{"c:in", "g:in"}));

  log.clear();
  child->removeFromSuperview();
  EXPECT_EQ(child->retainCount(), 1);
  EXPECT_EQ(child->superview(), nullptr);
  EXPECT_EQ(grandchild->window(), nullptr);
  EXPECT_TRUE(w->contentView()->subviews().empty());
  EXPECT_EQ(log, (std::vector<std::string>{"c:out", "g:out"}));
  child->removeFromSuperview(); // no superview: nothing
  child->release();
  w->release();
}

TEST(NSViewTree, ADisplayPassDrawsTheMarkedAreaWholePixelsAndWhatLiesInside)
{
  NSWindow* w = new NSWindow(NSMakeRect(0, 0, 6, 4));
  auto* outer = new RecordingView(NSMakeRect(0, 0, 6, 4));
  auto* inner = new RecordingView(NSMakeRect(4, 0, 2, 2));
  w->setContentView(outer);
  outer->addSubview(inner);
  w->displayIfNeeded();
  EXPECT_TRUE(outer->drawn.empty());
  EXPECT_TRUE(CGRectIsNull(w->takeDrawnRect()));

  outer->setNeedsDisplayInRect(NSMakeRect(0.5, 0.25, 1, 1)); // touches 0..2 x 0..2
  w->displayIfNeeded();
  ASSERT_EQ(outer->drawn.size(), 1u);
  EXPECT_TRUE(CGRectEqualToRect(outer->drawn[0], NSMakeRect(0, 0, 2, 2)));
  EXPECT_TRUE(inner->drawn.empty()); // outside the area
  EXPECT_EQ(windowCoverage(w), "......\n......\n##....\n##....\n");
  EXPECT_TRUE(CGRectEqualToRect(w->takeDrawnRect(), NSMakeRect(0, 0, 2, 2)));
  EXPECT_FALSE(outer->needsDisplay());

  // The outer view's redraw covers the inner one's area, so it draws too.
  outer->setNeedsDisplayInRect(NSMakeRect(3, 1, 2, 1));
  w->displayIfNeeded();
  ASSERT_EQ(inner->drawn.size(), 1u);
  EXPECT_TRUE(CGRectEqualToRect(inner->drawn[0], NSMakeRect(0, 1, 1, 1)));
  inner->setHidden(true);
  inner->setNeedsDisplay(true);
  w->displayIfNeeded();
  EXPECT_EQ(inner->drawn.size(), 1u);
  w->release();
  outer->release();
  inner->release();
}

TEST(NSViewTree, TheWindowRoutesMouseEventsLikeThePlatform)
{
  std::vector<std::string> log;
  NSWindow* w = windowWithContent(100, 50);
  auto* left = new RecordingView(NSMakeRect(0, 0, 50, 50), &log, "L");
  auto* right = new RecordingView(NSMakeRect(50, 0, 50, 50), &log, "R");
  w->contentView()->addSubview(left);
  w->contentView()->addSubview(right);
  log.clear();

  send(w, mouse(NSMouseMoved, 60, 10, w)); // not accepted yet
  send(w, mouse(NSLeftMouseDown, 60, 10, w));
  EXPECT_EQ(w->firstResponder(), right);
  // The drag and the up go to the view of the down, wherever they are.
  send(w, mouse(NSLeftMouseDragged, 5, 10, w));
  send(w, mouse(NSLeftMouseUp, 5, 10, w));
  send(w, mouse(NSLeftMouseDragged, 5, 10, w)); // no down: nowhere
  w->setAcceptsMouseMovedEvents(true);
  send(w, mouse(NSMouseMoved, 5, 10, w)); // to the first responder
  send(w, NSEvent::scrollWheelEvent(NSPoint{20, 40}, 0, 0, w, 0, -1.5));
  EXPECT_EQ(
    log, (std::vector<std::string>{"R:down@10,10", "R:drag@-45,10", "R:up@-45,10", "R:move@-45,10", "L:wheel@20,40"}));

  // Leaving the window drops the first responder and the mouse target.
  send(w, mouse(NSLeftMouseDown, 60, 10, w));
  right->removeFromSuperview();
  EXPECT_EQ(w->firstResponder(), w);
  EXPECT_EQ(right->retainCount(), 1);
  w->release();
  left->release();
  right->release();
}

TEST(NSViewTreeDeathTest, WhatRaisesOnThePlatformAborts)
{
  NSView* v = new NSView(NSMakeRect(0, 0, 1, 1));
  NSView* child = new NSView(NSMakeRect(0, 0, 1, 1));
  v->addSubview(child);
  EXPECT_DEATH(v->addSubview(nullptr), "addSubview: nil view");
  EXPECT_DEATH(child->addSubview(v), "its own ancestor");
  EXPECT_DEATH(NSEvent::mouseEventWithType(NSScrollWheel, NSPoint{0, 0}, 0, 0, nullptr, 1), "invalid mouse event");
  NSEvent* wheel = NSEvent::scrollWheelEvent(NSPoint{0, 0}, 0, 0, nullptr, 0, 1);
  EXPECT_DEATH(wheel->clickCount(), "scroll-wheel");
  wheel->release();
  child->release();
  v->release();
}
