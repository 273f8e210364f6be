// Text on the Mac binding keeps to the clip every other primitive keeps to.

#include <gtest/gtest.h>

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSStringDrawing.h"
#include "tests/support/IPlugTest.h"
#include "wdl/IPlug/IControls.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

TEST(MacText, ClippedToThePassWithinItsRectangle)
{
  IPlugTest plug(IPlugInstanceInfo{}, 1, "1-1", 0, "E", "P", "M", 0x10000, 1, 2);
  auto* g = new IGraphicsMac(&plug, 40, 20, 30);
  IRECT box(5, 5, 25, 15), pass(0, 0, 15, 20);
  g->AttachControl(new ITextControl(&plug, &box, nullptr, "dB"));
  plug.AttachGraphics(g);
  NSSetStringDrawer([](NSGraphicsContext* ctx, const char*, NSRect, int, const NSStringAttributes&) {
    CGContextSetRGBFillColor(ctx->graphicsPort(), 1, 0, 0, 1); // far past the rectangle it is given
    CGContextFillRect(ctx->graphicsPort(), CGRectMake(-100, -100, 1000, 1000));
    return true;
  });
  g->Draw(&pass);
  NSSetStringDrawer(nullptr);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      ASSERT_EQ(g->GetPoint(x, y).R == 255, IRECT(5, 5, 15, 15).Contains(x, y)) << x << "," << y;
}
