#include <gtest/gtest.h>

#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi.h"
#include "graphics/gdi/swell_paint_info.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSImage.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "tests/platform-cocoa/window_coverage.h"

namespace
{

// A view that, while painting, hands out a context of its own.
class PaintingView : public NSView, public SWELL_PaintInfoSource
{
public:
  PaintingView() : NSView(NSMakeRect(0, 0, 1, 1)) {}
  void getSwellPaintInfo(PAINTSTRUCT* ps) override
  {
    EXPECT_EQ(ps->hdc, nullptr); // arrives zeroed
    ps->hdc = painting;
  }
  HDC painting = nullptr;
};

struct WindowDC : ::testing::Test
{
  void SetUp() override
  {
    window = new NSWindow(NSMakeRect(0, 0, 4, 3));
    view = new PaintingView;
    window->setContentView(view);
  }
  void TearDown() override
  {
    EXPECT_EQ(NSView::focusView(), nullptr);
    view->release();
    window->release();
  }
  NSWindow* window = nullptr;
  PaintingView* view = nullptr;
};

} // namespace

TEST_F(WindowDC, GetDCLocksFocusAndReleaseDCUndoesEverything)
{
  HDC dc = GetDC(view);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(NSView::focusView(), view);
  EXPECT_EQ(SWELL_GetCtxGC(dc), window->graphicsContext()->graphicsPort());
  EXPECT_EQ(SWELL_GetCtxFrameBuffer(dc), nullptr);
  CGContextRef gc = SWELL_GetCtxGC(dc);
  CGContextClipToRect(gc, CGRectMake(0, 0, 1, 1));
  CGContextTranslateCTM(gc, 3, 0);
  int pooled = GDP_CtxPoolCount();
  ReleaseDC(view, dc);
  EXPECT_EQ(GDP_CtxPoolCount(), pooled + 1); // the record went back
  EXPECT_EQ(NSGraphicsContext::currentContext(), nullptr);
  EXPECT_TRUE(CGAffineTransformIsIdentity(CGContextGetCTM(gc)));
  CGContextFillRect(gc, CGRectMake(0, 0, 4, 3)); // clip gone too
  EXPECT_EQ(windowCoverage(window), "####\n####\n####\n");
}

TEST_F(WindowDC, WindowHandleDrawsThroughItsContentView)
{
  HDC dc = GetDC(window);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(NSView::focusView(), view);
  CGContextFillRect(SWELL_GetCtxGC(dc), CGRectMake(0, 0, 1, 1));
  ReleaseDC(window, dc);
  EXPECT_EQ(windowCoverage(window), "....\n....\n#...\n"); // view space is bottom-up
}

TEST_F(WindowDC, GetWindowDCMovesTheOriginToTheBoundsOrigin)
{
  view->setBoundsOrigin(NSPoint{2, 1});
  HDC dc = GetDC(view);
  CGContextFillRect(SWELL_GetCtxGC(dc), CGRectMake(2, 1, 1, 1)); // view's corner in bounds space
  ReleaseDC(view, dc);
  // Moved back by the bounds origin: user space is the window's again.
  dc = GetWindowDC(view);
  CGContextFillRect(SWELL_GetCtxGC(dc), CGRectMake(3, 2, 1, 1));
  ReleaseDC(view, dc);
  EXPECT_EQ(windowCoverage(window), "...#\n....\n#...\n");
}

TEST_F(WindowDC, PaintingContextIsLentAndNeverDeleted)
{
  HDC own = SWELL_CreateMemContext(nullptr, 2, 2);
  view->painting = own;
  for (HWND h : {static_cast<HWND>(view), static_cast<HWND>(window)})
  {
    HDC dc = GetDC(h);
    EXPECT_EQ(dc, own);
    EXPECT_EQ(NSView::focusView(), nullptr); // no focus lock needed
    CGContextTranslateCTM(SWELL_GetCtxGC(dc), 1, 1);
    ReleaseDC(h, dc);
    // Still the view's: state restored, buffer alive.
    EXPECT_NE(SWELL_GetCtxFrameBuffer(own), nullptr);
    CGAffineTransform t = CGContextGetCTM(SWELL_GetCtxGC(own));
    EXPECT_EQ(t.tx, 0);
    EXPECT_EQ(t.ty, 2);
  }
  view->painting = nullptr;
  SWELL_DeleteGfxContext(own);
}

TEST_F(WindowDC, RefusedForWhatCannotDraw)
{
  EXPECT_EQ(GetDC(nullptr), nullptr);
  EXPECT_EQ(GetWindowDC(nullptr), nullptr);
  NSImage* image = new NSImage(NSSize{1, 1});
  EXPECT_EQ(GetDC(image), nullptr); // neither window nor view
  image->release();
  view->setHidden(true);
  EXPECT_EQ(GetDC(view), nullptr);
  view->setHidden(false);
  NSWindow* empty = new NSWindow(NSMakeRect(0, 0, 3, 3));
  EXPECT_EQ(GetDC(empty), nullptr); // no content view
  empty->release();
  ReleaseDC(view, nullptr);
  ReleaseDC(nullptr, nullptr);
}

TEST_F(WindowDC, GfxContextBorrowsThePort)
{
  HDC dc = SWELL_CreateGfxContext(window->graphicsContext());
  ASSERT_NE(dc, nullptr);
  CGContextRef port = window->graphicsContext()->graphicsPort();
  EXPECT_EQ(SWELL_GetCtxGC(dc), port);
  SWELL_DeleteGfxContext(dc);
  // Still alive: deleting the record released nothing of the window's.
  CGContextFillRect(port, CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(windowCoverage(window), "....\n....\n#...\n");
}
