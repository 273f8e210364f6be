#include <gtest/gtest.h>

#include "cg_test_bitmap.h"

namespace
{

// Which pixels of a w x h bitmap are non-zero, as rows of '#' and '.',
// first memory row first.
std::string coverage(const TestBitmap& bm)
{
  std::string s;
  for (size_t row = 0; row < bm.height; ++row)
  {
    for (size_t x = 0; x < bm.width; ++x)
      s += bm.pixel(x, row) ? '#' : '.';
    s += '\n';
  }
  return s;
}

} // namespace

TEST(CGContextTransform, FlippedContextPutsUserOriginAtTheTopRow)
{
  TestBitmap bm(4, 3, kCGImageAlphaNoneSkipFirst);
  CGContextTranslateCTM(bm.ctx, 0, 3);
  CGContextScaleCTM(bm.ctx, 1, -1);
  CGAffineTransform t = CGContextGetCTM(bm.ctx);
  EXPECT_EQ(t.a, 1);
  EXPECT_EQ(t.d, -1);
  EXPECT_EQ(t.ty, 3);
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 1, 1));
  CGContextFillRect(bm.ctx, CGRectMake(3, 2, 1, 1));
  EXPECT_EQ(coverage(bm), "#...\n....\n...#\n");
}

TEST(CGContextTransform, ScaleAndTranslateCompose)
{
  TestBitmap bm(6, 6, kCGImageAlphaNoneSkipFirst);
  CGContextTranslateCTM(bm.ctx, 1, 0);
  CGContextScaleCTM(bm.ctx, 2, 2);
  // User (1, 1, 1, 1) -> device x [3, 5), y [2, 4): memory rows 2 and 3.
  CGContextFillRect(bm.ctx, CGRectMake(1, 1, 1, 1));
  EXPECT_EQ(coverage(bm), "......\n......\n...##.\n...##.\n......\n......\n");
}

TEST(CGContextClip, ClipsInDeviceSpaceAndOnlyNarrows)
{
  TestBitmap bm(5, 4, kCGImageAlphaNoneSkipFirst);
  CGContextClipToRect(bm.ctx, CGRectMake(1, 1, 3, 2));
  CGContextTranslateCTM(bm.ctx, 2, 0);
  CGContextClipToRect(bm.ctx, CGRectMake(-2, 0, 3, 10)); // device x [0, 3): narrows to [1, 3)
  CGRect box = CGContextGetClipBoundingBox(bm.ctx);      // in user space
  EXPECT_TRUE(CGRectEqualToRect(box, CGRectMake(-1, 1, 2, 2)));
  CGContextFillRect(bm.ctx, CGRectMake(-10, -10, 100, 100));
  EXPECT_EQ(coverage(bm), ".....\n.##..\n.##..\n.....\n");
}

TEST(CGContextGState, RestoreBringsBackTransformClipAndColour)
{
  TestBitmap bm(3, 1, kCGImageAlphaNoneSkipFirst);
  CGContextSetRGBFillColor(bm.ctx, 1, 0, 0, 1);
  CGContextSaveGState(bm.ctx);
  CGContextTranslateCTM(bm.ctx, 1, 0);
  CGContextClipToRect(bm.ctx, CGRectMake(0, 0, 1, 1));
  CGContextSetRGBFillColor(bm.ctx, 0, 1, 0, 1);
  CGContextSaveGState(bm.ctx);
  CGContextScaleCTM(bm.ctx, 3, 3);
  CGContextRestoreGState(bm.ctx);
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 10, 1));
  EXPECT_EQ(bm.pixel(0, 0), 0u);
  EXPECT_EQ(bm.pixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(bm.pixel(2, 0), 0u);

  CGContextRestoreGState(bm.ctx);
  CGContextRestoreGState(bm.ctx); // unmatched: the initial state stays
  EXPECT_TRUE(CGAffineTransformIsIdentity(CGContextGetCTM(bm.ctx)));
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 10, 1));
  for (size_t x = 0; x < 3; ++x)
    EXPECT_EQ(bm.pixel(x, 0), 0xFFFF0000u);
}

TEST(CGContextGState, FillColourFromACGColor)
{
  TestBitmap bm(1, 1, kCGImageAlphaNoneSkipFirst);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  const CGFloat v[4] = {0.2, 0.4, 0.6, 1.0};
  CGColorRef color = CGColorCreate(space, v);
  CGColorSpaceRelease(space);
  CGContextSetFillColorWithColor(bm.ctx, color);
  CGColorRelease(color);
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 1, 1));
  EXPECT_EQ(bm.pixel(0, 0), 0xFF336699u);
}
