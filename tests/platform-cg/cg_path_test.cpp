#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "cg_test_bitmap.h"
#include "platform/coregraphics/CGDataProvider.h"
#include "platform/coregraphics/CGPath.h"

namespace
{

// A w x h skip-first bitmap whose user space runs y down from the top.
struct Flipped : TestBitmap
{
  Flipped(size_t w, size_t h) : TestBitmap(w, h, kCGImageAlphaNoneSkipFirst)
  {
    CGContextTranslateCTM(ctx, 0, CGFloat(h));
    CGContextScaleCTM(ctx, 1, -1);
    CGContextSetRGBFillColor(ctx, 1, 1, 1, 1);
    CGContextSetRGBStrokeColor(ctx, 1, 1, 1, 1);
  }
  std::string map() const
  {
    std::string s;
    for (size_t row = 0; row < height; ++row)
    {
      for (size_t x = 0; x < width; ++x)
        s += at(x, row, 1) == 255 ? '#' : at(x, row, 1) ? '+' : '.';
      s += '\n';
    }
    return s;
  }
};

TEST(CGPathFill, IntegerRectanglesCoverWholePixels)
{
  Flipped bm(5, 4);
  CGContextAddRect(bm.ctx, CGRectMake(1, 1, 3, 2));
  CGContextFillPath(bm.ctx);
  EXPECT_EQ(bm.map(), ".....\n.###.\n.###.\n.....\n");
  EXPECT_TRUE(CGContextIsPathEmpty(bm.ctx));
}

TEST(CGPathFill, HalfPixelEdgesGiveHalfCoverage)
{
  Flipped bm(3, 1);
  CGContextAddRect(bm.ctx, CGRectMake(0.5, 0, 2, 1));
  CGContextFillPath(bm.ctx);
  // Two of four sample columns: 255 * 8/16 = 127.5, blended and rounded.
  EXPECT_EQ(bm.at(0, 0, 1), 128);
  EXPECT_EQ(bm.at(1, 0, 1), 255);
  EXPECT_EQ(bm.at(2, 0, 1), 128);
}

TEST(CGPathFill, WindingRulesAndClip)
{
  Flipped bm(6, 1);
  // Two overlapping rectangles wound the same way: non-zero keeps the
  // overlap, even-odd makes it a hole.
  CGContextAddRect(bm.ctx, CGRectMake(0, 0, 4, 1));
  CGContextAddRect(bm.ctx, CGRectMake(2, 0, 4, 1));
  CGContextDrawPath(bm.ctx, kCGPathEOFill);
  EXPECT_EQ(bm.map(), "##..##\n");
  Flipped nz(6, 1);
  CGContextClipToRect(nz.ctx, CGRectMake(1, 0, 4, 1));
  CGContextAddRect(nz.ctx, CGRectMake(0, 0, 4, 1));
  CGContextAddRect(nz.ctx, CGRectMake(2, 0, 4, 1));
  CGContextFillPath(nz.ctx);
  EXPECT_EQ(nz.map(), ".####.\n");
}

TEST(CGPathFill, EllipseAreaIsPiAB)
{
  Flipped bm(40, 30);
  CGContextFillEllipseInRect(bm.ctx, CGRectMake(2, 3, 36, 24));
  double sum = 0;
  for (size_t r = 0; r < 30; ++r)
    for (size_t x = 0; x < 40; ++x)
      sum += bm.at(x, r, 1) / 255.0;
  EXPECT_NEAR(sum, M_PI * 18 * 12, M_PI * 18 * 12 * 0.01);
  EXPECT_EQ(bm.at(20, 15, 1), 255);
  EXPECT_EQ(bm.at(2, 3, 1), 0);
}

TEST(CGPathStroke, LinesAreCentredAndCornersSquare)
{
  Flipped bm(7, 7);
  CGContextSetLineWidth(bm.ctx, 2);
  CGContextMoveToPoint(bm.ctx, 1, 3);
  CGContextAddLineToPoint(bm.ctx, 5, 3);
  CGContextStrokePath(bm.ctx);
  EXPECT_EQ(bm.map(), ".......\n.......\n.####..\n.####..\n.......\n.......\n.......\n");

  Flipped box(6, 6);
  CGContextStrokeRect(box.ctx, CGRectMake(1.5, 1.5, 3, 3));
  EXPECT_EQ(box.map(), "......\n.####.\n.#..#.\n.#..#.\n.####.\n......\n");
}

TEST(CGPathStroke, CurvesPassThroughTheirEnds)
{
  Flipped bm(20, 20);
  CGContextMoveToPoint(bm.ctx, 2, 10);
  CGContextAddCurveToPoint(bm.ctx, 2, 2, 18, 2, 18, 10);
  CGContextSetLineWidth(bm.ctx, 2);
  CGContextStrokePath(bm.ctx);
  EXPECT_GT(bm.at(2, 9, 1), 100);
  EXPECT_GT(bm.at(17, 9, 1), 100);
  // The curve's peak: y = 10 - 8 * 3/4 = 4 at x = 10.
  EXPECT_GT(bm.at(10, 4, 1) + bm.at(10, 3, 1), 200);
  EXPECT_EQ(bm.at(10, 8, 1), 0);
}

// Image pixels 0xAARRGGBB, first row first.
CGImageRef imageOf(const std::vector<uint32_t>& px, size_t w, size_t h, CGBitmapInfo info)
{
  std::vector<unsigned char> bytes;
  for (uint32_t v : px)
    bytes.insert(bytes.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
  CGDataProviderRef p = CGDataProviderCreateWithData(nullptr, bytes.data(), bytes.size(), nullptr);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGImageRef img = CGImageCreate(w, h, 8, 32, w * 4, space, info, p, nullptr, false, 0);
  CGColorSpaceRelease(space);
  CGDataProviderRelease(p);
  return img;
}

TEST(CGImageDraw, FlippedDrawIsUprightAndExact)
{
  CGImageRef img = imageOf({0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C}, 2, 2, kCGImageAlphaNoneSkipFirst);
  ASSERT_TRUE(img);
  Flipped bm(4, 4);
  // Flip back so the first image row lands on the top of the rectangle.
  CGContextScaleCTM(bm.ctx, 1, -1);
  CGContextDrawImage(bm.ctx, CGRectMake(1, -1 - 2, 2, 2), img);
  EXPECT_EQ(bm.pixel(1, 1), 0xFF010203u);
  EXPECT_EQ(bm.pixel(2, 1), 0xFF040506u);
  EXPECT_EQ(bm.pixel(1, 2), 0xFF070809u);
  EXPECT_EQ(bm.pixel(2, 2), 0xFF0A0B0Cu);
  EXPECT_EQ(bm.pixel(0, 0), 0u);

  // Scaled twice, through a clip that keeps the left half.
  Flipped big(4, 4);
  CGContextClipToRect(big.ctx, CGRectMake(0, 0, 2, 4));
  CGContextScaleCTM(big.ctx, 1, -1);
  CGContextDrawImage(big.ctx, CGRectMake(0, -4, 4, 4), img);
  EXPECT_EQ(big.pixel(1, 1), 0xFF010203u);
  EXPECT_EQ(big.pixel(0, 3), 0xFF070809u);
  EXPECT_EQ(big.pixel(2, 0), 0u);
  CGImageRelease(img);
}

TEST(CGImageDraw, PremultipliedSourceBlendsOver)
{
  CGImageRef img = imageOf({0x80400000}, 1, 1, kCGImageAlphaPremultipliedFirst);
  TestBitmap bm(1, 1, kCGImageAlphaNoneSkipFirst);
  CGContextSetRGBFillColor(bm.ctx, 0, 0, 1, 1);
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 1, 1));
  CGContextDrawImage(bm.ctx, CGRectMake(0, 0, 1, 1), img);
  // R 0x40 + 0 * 127/255; B 255 * 127/255 = 127.
  EXPECT_EQ(bm.pixel(0, 0), 0xFF40007Fu);
  CGImageRelease(img);
}

TEST(CGImageCreation, ProviderMustHoldEveryRowAndCropsStayInside)
{
  std::vector<unsigned char> bytes(2 * 8 + 4 * 1); // two rows of 8 bytes apart, last one short
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGDataProviderRef p = CGDataProviderCreateWithData(nullptr, bytes.data(), bytes.size(), nullptr);
  EXPECT_EQ(CGImageCreate(2, 3, 8, 32, 8, space, kCGImageAlphaNoneSkipFirst, p, nullptr, false, 0), nullptr);
  CGImageRef ok = CGImageCreate(1, 3, 8, 32, 8, space, kCGImageAlphaNoneSkipFirst, p, nullptr, false, 0);
  EXPECT_TRUE(ok);
  EXPECT_EQ(CGImageCreate(1, 3, 8, 24, 8, space, kCGImageAlphaNoneSkipFirst, p, nullptr, false, 0), nullptr);
  CGImageRelease(ok);
  CGDataProviderRelease(p);
  CGColorSpaceRelease(space);

  CGImageRef img = imageOf({1, 2, 3, 4, 5, 6}, 3, 2, kCGImageAlphaPremultipliedFirst);
  CGImageRef crop = CGImageCreateWithImageInRect(img, CGRectMake(1.5, 1, 10, 10));
  ASSERT_TRUE(crop);
  EXPECT_EQ(CGImageGetWidth(crop), 2u);
  EXPECT_EQ(CGImageGetHeight(crop), 1u);
  EXPECT_EQ(CGImageGetBytes(crop)[3], 5);
  EXPECT_EQ(CGImageCreateWithImageInRect(img, CGRectMake(3, 0, 1, 1)), nullptr);
  CGImageRelease(crop);
  CGImageRelease(img);
}

} // namespace
