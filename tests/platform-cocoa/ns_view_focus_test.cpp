#include <gtest/gtest.h>

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "tests/platform-cocoa/window_coverage.h"

namespace
{

struct WindowWithView : ::testing::Test
{
  void SetUp() override
  {
    window = new NSWindow(NSMakeRect(50, 50, 4, 3));
    view = new NSView(NSMakeRect(0, 0, 1, 1));
    window->setContentView(view);
  }
  void TearDown() override
  {
    view->release();
    window->release();
  }
  NSWindow* window = nullptr;
  NSView* view = nullptr;
};

} // namespace

TEST_F(WindowWithView, FocusMakesTheBackingStoreCurrentAndUnlockUndoesIt)
{
  ASSERT_EQ(NSGraphicsContext::currentContext(), nullptr);
  ASSERT_TRUE(view->lockFocusIfCanDraw());
  EXPECT_EQ(NSView::focusView(), view);
  NSGraphicsContext* gc = NSGraphicsContext::currentContext();
  ASSERT_EQ(gc, window->graphicsContext());
  CGContextTranslateCTM(gc->graphicsPort(), 5, 5); // undone by unlockFocus
  view->unlockFocus();
  EXPECT_EQ(NSView::focusView(), nullptr);
  EXPECT_EQ(NSGraphicsContext::currentContext(), nullptr);
  EXPECT_TRUE(CGAffineTransformIsIdentity(CGContextGetCTM(window->graphicsContext()->graphicsPort())));
}

TEST_F(WindowWithView, FocusMovesToTheFrameLessTheBoundsOriginAndClipsToTheView)
{
  view->setFrame(NSMakeRect(1, 1, 2, 1));
  view->setBoundsOrigin(NSPoint{10, 0});
  ASSERT_TRUE(view->lockFocusIfCanDraw());
  CGContextRef port = NSGraphicsContext::currentContext()->graphicsPort();
  CGContextFillRect(port, CGRectMake(10, 0, 1, 1)); // the view's bottom-left pixel
  EXPECT_EQ(windowCoverage(window), "....\n.#..\n....\n");
  CGContextFillRect(port, CGRectMake(-100, -100, 1000, 1000));
  EXPECT_EQ(windowCoverage(window), "....\n.##.\n....\n");
  view->unlockFocus();
}

TEST_F(WindowWithView, FocusLocksNestAndOnlyTheInnermostUnlocks)
{
  NSGraphicsContext* outer = NSGraphicsContext::graphicsContextWithGraphicsPort(nullptr, false);
  NSGraphicsContext::setCurrentContext(outer);
  ASSERT_TRUE(view->lockFocusIfCanDraw());
  NSView* other = new NSView(NSMakeRect(0, 0, 1, 1));
  other->unlockFocus(); // not focused: ignored
  other->release();
  EXPECT_EQ(NSView::focusView(), view);
  view->unlockFocus();
  EXPECT_EQ(NSGraphicsContext::currentContext(), outer);
  NSGraphicsContext::setCurrentContext(nullptr);
  EXPECT_EQ(outer->retainCount(), 1);
  outer->release();
}

TEST(NSViewFocus, RefusedWithoutSomethingToDrawOn)
{
  NSView* loose = new NSView(NSMakeRect(0, 0, 10, 10));
  EXPECT_FALSE(loose->lockFocusIfCanDraw());

  NSWindow* w = new NSWindow(NSMakeRect(0, 0, 10, 10));
  w->setContentView(loose);
  loose->setHidden(true);
  EXPECT_FALSE(loose->lockFocusIfCanDraw());
  loose->setHidden(false);
  loose->setFrame(NSMakeRect(0, 0, 0, 10));
  EXPECT_FALSE(loose->lockFocusIfCanDraw());
  w->release();

  // Too large for a backing store: the window exists but cannot draw.
  NSWindow* huge = new NSWindow(NSMakeRect(0, 0, 1 << 15, (1 << 13) + 1));
  EXPECT_EQ(huge->graphicsContext(), nullptr);
  huge->setContentView(loose);
  EXPECT_FALSE(loose->lockFocusIfCanDraw());
  huge->release();
  NSWindow* negative = new NSWindow(NSMakeRect(0, 0, 5, -2)); // empty, not 5 x 2
  EXPECT_EQ(negative->graphicsContext(), nullptr);
  negative->release();
  EXPECT_EQ(NSView::focusView(), nullptr);
  loose->release();
}
