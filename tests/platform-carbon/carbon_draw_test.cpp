#include <gtest/gtest.h>

#include <string>

#include "platform/carbon/Carbon.h"
#include "platform/carbon/carbon_driver.h"

namespace
{

// The window's pixels as rows of '#' (drawn) and '.' (untouched).
std::string Coverage(WindowRef w)
{
  CGImageRef image = carbonDriverCopyWindowImage(w);
  const unsigned char* p = CGImageGetBytes(image);
  std::string s;
  for (size_t y = 0; y < CGImageGetHeight(image); ++y, s += '\n')
    for (size_t x = 0; x < CGImageGetWidth(image); ++x)
      s += p[(y * CGImageGetWidth(image) + x) * 4] ? '#' : '.';
  CGImageRelease(image);
  return s;
}

// A pane's draw handler that paints like an editor binding: a rectangle
// given bottom-up from the pane's bottom-left, after the unflip a composited
// view needs, or at the content offset a QuickDraw port needs.
struct Painter
{
  CGRect rect;
  int paneHeight;
  Rect region = {};
  int draws = 0;
  OSStatus portStatus = 1;

  static OSStatus Draw(EventHandlerCallRef, EventRef e, void* user)
  {
    auto* p = static_cast<Painter*>(user);
    ++p->draws;
    RgnHandle rgn = nullptr;
    if (GetEventParameter(e, kEventParamRgnHandle, typeQDRgnHandle, nullptr, sizeof rgn, nullptr, &rgn) == noErr)
      GetRegionBounds(rgn, &p->region);
    CGContextRef ctx = nullptr;
    if (GetEventParameter(e, kEventParamCGContextRef, typeCGContextRef, nullptr, sizeof ctx, nullptr, &ctx) == noErr)
    {
      CGContextTranslateCTM(ctx, 0, p->paneHeight);
      CGContextScaleCTM(ctx, 1, -1);
      CGContextFillRect(ctx, p->rect);
      return noErr;
    }
    CGrafPtr port = nullptr;
    GetEventParameter(e, kEventParamGrafPort, typeGrafPtr, nullptr, sizeof port, nullptr, &port);
    int yOffset = (p->region.bottom - p->region.top) - p->paneHeight;
    EXPECT_EQ(QDBeginCGContext(port, &ctx), noErr);
    CGContextRef second = nullptr;
    p->portStatus = QDBeginCGContext(port, &second);
    CGContextFillRect(ctx, CGRectOffsetBy(p->rect, 0, yOffset));
    CGContextFlush(ctx);
    EXPECT_EQ(QDEndCGContext(port, &second), paramErr);
    EXPECT_EQ(QDEndCGContext(port, &ctx), noErr);
    EXPECT_EQ(ctx, nullptr);
    return noErr;
  }
  static CGRect CGRectOffsetBy(CGRect r, CGFloat dx, CGFloat dy)
  {
    return CGRectMake(r.origin.x + dx, r.origin.y + dy, r.size.width, r.size.height);
  }
};

WindowRef WindowWithPainter(WindowAttributes attributes, Rect pane, Painter* painter, ControlRef* outPane = nullptr)
{
  Rect bounds = {0, 0, 8, 10};
  WindowRef w = nullptr;
  CreateNewWindow(kDocumentWindowClass, attributes, &bounds, &w);
  ControlRef c = nullptr;
  CreateUserPaneControl(w, &pane, 0x26, &c);
  painter->paneHeight = pane.bottom - pane.top;
  EventTypeSpec spec = {kEventClassControl, kEventControlDraw};
  InstallEventHandler(GetControlEventTarget(c), Painter::Draw, 1, &spec, painter, nullptr);
  if (outPane)
    *outPane = c;
  return w;
}

} // namespace

TEST(CarbonDrawing, CompositedViewsGetAFlippedContextAtTheirTopLeft)
{
  Painter painter{CGRectMake(0, 0, 3, 2), 0};
  WindowRef w = WindowWithPainter(kWindowCompositingAttribute, {2, 1, 7, 6}, &painter);
  EXPECT_EQ(carbonDriverUpdateWindow(w), 2); // the content view and the pane
  EXPECT_EQ(painter.draws, 1);
  EXPECT_EQ(Coverage(w), "..........\n"
                         "..........\n"
                         "..........\n"
                         "..........\n"
                         "..........\n"
                         ".###......\n"
                         ".###......\n"
                         "..........\n");
  EXPECT_EQ(painter.region.right, 5); // the whole pane, in its own coordinates
  EXPECT_EQ(painter.region.bottom, 5);
  EXPECT_EQ(carbonDriverUpdateWindow(w), 0);
  DisposeWindow(w);
}

TEST(CarbonDrawing, OnlyTheAreaThatNeedsDisplayIsDrawn)
{
  Painter painter{CGRectMake(0, 0, 0, 0), 0};
  ControlRef pane = nullptr;
  WindowRef w = WindowWithPainter(kWindowCompositingAttribute, {2, 1, 7, 6}, &painter, &pane);
  carbonDriverUpdateWindow(w);
  painter.rect = CGRectMake(-100, -100, 1000, 1000); // tries to paint everything
  HIRect area = CGRectMake(1, 2, 2, 1);
  ASSERT_EQ(HIViewSetNeedsDisplayInRect(pane, &area, true), noErr);
  EXPECT_TRUE(HIViewGetNeedsDisplay(pane));
  EXPECT_EQ(carbonDriverUpdateWindow(w), 1);
  EXPECT_EQ(Coverage(w), "..........\n"
                         "..........\n"
                         "..........\n"
                         "..........\n"
                         "..##......\n"
                         "..........\n"
                         "..........\n"
                         "..........\n");
  EXPECT_EQ(painter.region.left, 1);
  EXPECT_EQ(painter.region.top, 2);
  EXPECT_EQ(painter.region.right, 3);
  // Unmarking an area that covers what is marked leaves nothing to draw.
  HIViewSetNeedsDisplayInRect(pane, &area, true);
  HIRect larger = CGRectMake(0, 0, 4, 4);
  HIViewSetNeedsDisplayInRect(pane, &larger, false);
  EXPECT_EQ(carbonDriverUpdateWindow(w), 0);
  DisposeWindow(w);
}

TEST(CarbonDrawing, QuickDrawPortsDrawBottomUpAtTheContentOffset)
{
  Painter painter{CGRectMake(0, 0, 3, 2), 0};
  WindowRef w = WindowWithPainter(kWindowNoAttributes, {0, 0, 4, 6}, &painter);
  EXPECT_EQ(carbonDriverUpdateWindow(w), 1);
  EXPECT_EQ(painter.portStatus, paramErr); // one context per port at a time
  EXPECT_EQ(painter.region.bottom, 8);     // the whole window
  EXPECT_EQ(painter.region.right, 10);
  EXPECT_EQ(Coverage(w), "..........\n"
                         "..........\n"
                         "###.......\n"
                         "###.......\n"
                         "..........\n"
                         "..........\n"
                         "..........\n"
                         "..........\n");
  EXPECT_EQ(carbonDriverUpdateWindow(w), 0); // nothing new to draw
  UpdateControls(w, nullptr);                // asked for: drawn now
  EXPECT_EQ(painter.draws, 2);
  RgnHandle elsewhere = NewRgn();
  SetRectRgn(elsewhere, 7, 5, 9, 7);
  UpdateControls(w, elsewhere); // does not meet the pane
  EXPECT_EQ(painter.draws, 2);
  SetRectRgn(elsewhere, 9, 0, 7, 3); // inverted: empty
  EXPECT_TRUE(EmptyRgn(elsewhere));
  DisposeRgn(elsewhere);
  HIRect r = CGRectMake(0, 0, 1, 1);
  ControlRef root = nullptr;
  GetRootControl(w, &root);
  EXPECT_EQ(HIViewSetNeedsDisplayInRect(root, &r, true), errNeedsCompositedWindow);
  DisposeWindow(w);
}

TEST(CarbonDrawing, BothWindowKindsPutAPaneAtTheTopLeftInTheSamePlace)
{
  // A binding that unflips the view's context and one that offsets into the
  // port must see the same picture.
  Painter comp{CGRectMake(1, 1, 4, 2), 0}, plain{CGRectMake(1, 1, 4, 2), 0};
  WindowRef a = WindowWithPainter(kWindowCompositingAttribute, {0, 0, 5, 7}, &comp);
  WindowRef b = WindowWithPainter(kWindowNoAttributes, {0, 0, 5, 7}, &plain);
  carbonDriverUpdateWindow(a);
  carbonDriverUpdateWindow(b);
  EXPECT_EQ(Coverage(a), "..........\n"
                         "..........\n"
                         ".####.....\n"
                         ".####.....\n"
                         "..........\n"
                         "..........\n"
                         "..........\n"
                         "..........\n");
  EXPECT_EQ(Coverage(a), Coverage(b));
  DisposeWindow(b);
  DisposeWindow(a);
}
