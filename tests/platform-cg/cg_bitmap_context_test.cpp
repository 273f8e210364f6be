#include <gtest/gtest.h>

#include <limits>

#include "cg_test_bitmap.h"

namespace
{

CGContextRef create(void* data, size_t w, size_t h, size_t bpc, size_t bpr, CGBitmapInfo info)
{
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef c = CGBitmapContextCreate(data, w, h, bpc, bpr, space, info);
  CGColorSpaceRelease(space);
  return c;
}

} // namespace

TEST(CGBitmapContextCreate, RefusesWhatItCannotDrawSafely)
{
  uint32_t buf[16] = {};
  EXPECT_EQ(create(nullptr, 2, 2, 8, 8, kCGImageAlphaNoneSkipFirst), nullptr);
  EXPECT_EQ(create(buf, 0, 2, 8, 8, kCGImageAlphaNoneSkipFirst), nullptr);
  EXPECT_EQ(create(buf, 2, 0, 8, 8, kCGImageAlphaNoneSkipFirst), nullptr);
  EXPECT_EQ(create(buf, 2, 2, 16, 16, kCGImageAlphaNoneSkipFirst), nullptr);
  EXPECT_EQ(create(buf, 2, 2, 8, 7, kCGImageAlphaNoneSkipFirst), nullptr); // row too short
  EXPECT_EQ(create(buf, 2, 2, 8, 8, kCGImageAlphaNoneSkipLast), nullptr);
  EXPECT_EQ(create(buf, 2, 2, 8, 8, kCGImageAlphaNoneSkipFirst | kCGBitmapByteOrder32Little), nullptr);
  // Beyond the pixel cap, and a width whose byte count would wrap: refused
  // before the buffer is ever touched.
  EXPECT_EQ(create(buf, size_t(1) << 15, (size_t(1) << 13) + 1, 8, size_t(1) << 17, kCGImageAlphaNoneSkipFirst),
            nullptr);
  EXPECT_EQ(create(buf, SIZE_MAX / 2, 1, 8, 8, kCGImageAlphaNoneSkipFirst), nullptr);

  CGContextRef ok = create(buf, 2, 2, 8, 12, kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Big);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(CGBitmapContextGetData(ok), buf);
  EXPECT_EQ(CGBitmapContextGetWidth(ok), 2u);
  EXPECT_EQ(CGBitmapContextGetHeight(ok), 2u);
  EXPECT_EQ(CGBitmapContextGetBytesPerRow(ok), 12u);
  EXPECT_EQ(CGBitmapContextGetBitmapInfo(ok), kCGImageAlphaPremultipliedFirst | kCGBitmapByteOrder32Big);
  CGContextRelease(ok);
}

TEST(CGBitmapContextFill, SkipFirstWritesOpaqueXThenRGB)
{
  TestBitmap bm(3, 2, kCGImageAlphaNoneSkipFirst);
  CGContextSetRGBFillColor(bm.ctx, 1.0, 0.5, 0.0, 1.0);
  CGContextFillRect(bm.ctx, CGRectMake(1, 0, 1, 1));
  // 0.5 * 255 rounds to 0x80; device y 0 is the last row in memory.
  for (size_t row = 0; row < 2; ++row)
    for (size_t x = 0; x < 3; ++x)
      EXPECT_EQ(bm.pixel(x, row), row == 1 && x == 1 ? 0xFFFF8000u : 0u);
}

TEST(CGBitmapContextFill, SkipFirstBlendsColourAndStillMarksOpaque)
{
  TestBitmap bm(1, 1, kCGImageAlphaNoneSkipFirst);
  bm.bytes = {0x00, 0x00, 0xC8, 0xFF};
  CGContextSetRGBFillColor(bm.ctx, 1.0, 1.0, 0.0, 0.5);
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 1, 1));
  // alpha 0.5 -> 128; c = (s * 128 + d * 127 + 127) / 255.
  EXPECT_EQ(bm.at(0, 0, 0), 0xFF);
  EXPECT_EQ(bm.at(0, 0, 1), (255 * 128 + 0 * 127 + 127) / 255);
  EXPECT_EQ(bm.at(0, 0, 2), (255 * 128 + 200 * 127 + 127) / 255);
  EXPECT_EQ(bm.at(0, 0, 3), (0 * 128 + 255 * 127 + 127) / 255);
}

TEST(CGBitmapContextFill, PremultipliedFirstStoresAlphaFirstAndPremultiplies)
{
  TestBitmap bm(2, 1, kCGImageAlphaPremultipliedFirst);
  bm.bytes = {0, 0, 0, 0, 0xFF, 0x00, 0x00, 0xFF}; // clear, opaque blue
  CGContextSetRGBFillColor(bm.ctx, 1.0, 0.0, 0.0, 0.5);
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 2, 1));
  EXPECT_EQ(bm.pixel(0, 0), 0x80800000u);
  // Over opaque blue: A = 128 + 255 * 127 / 255, B = 255 * 127 / 255.
  EXPECT_EQ(bm.pixel(1, 0), 0xFF80007Fu);
  // Transparent fill leaves everything.
  CGContextSetRGBFillColor(bm.ctx, 0.0, 1.0, 0.0, 0.0);
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 2, 1));
  EXPECT_EQ(bm.pixel(0, 0), 0x80800000u);
}

TEST(CGBitmapContextFill, CoversPixelsWhoseCentreIsInside)
{
  TestBitmap bm(4, 1, kCGImageAlphaNoneSkipFirst);
  CGContextFillRect(bm.ctx, CGRectMake(0.6, 0, 0.8, 1)); // between centres 0.5 and 1.5
  for (size_t x = 0; x < 4; ++x)
    EXPECT_EQ(bm.pixel(x, 0), 0u);
  CGContextFillRect(bm.ctx, CGRectMake(1.5, 0, 1, 1)); // [1.5, 2.5): centre 1.5 only
  EXPECT_EQ(bm.pixel(0, 0), 0u);
  EXPECT_EQ(bm.pixel(1, 0), 0xFF000000u);
  EXPECT_EQ(bm.pixel(2, 0), 0u);
}

TEST(CGBitmapContextFill, StaysInsideTheBitmapAndRowPadding)
{
  TestBitmap bm(3, 3, kCGImageAlphaNoneSkipFirst, 8);
  CGContextSetRGBFillColor(bm.ctx, 0, 0, 1, 1);
  CGContextFillRect(bm.ctx, CGRectMake(-100, -100, 1e6, 1e6));
  for (size_t row = 0; row < 3; ++row)
  {
    for (size_t x = 0; x < 3; ++x)
      EXPECT_EQ(bm.pixel(x, row), 0xFF0000FFu);
    for (size_t i = 12; i < bm.rowBytes; ++i)
      EXPECT_EQ(bm.bytes[row * bm.rowBytes + i], 0) << row;
  }
}

TEST(CGBitmapContextFill, NonFiniteInputDrawsNothingOrEverything)
{
  const CGFloat nan = std::numeric_limits<CGFloat>::quiet_NaN(), inf = std::numeric_limits<CGFloat>::infinity();
  TestBitmap bm(2, 2, kCGImageAlphaNoneSkipFirst);
  CGContextFillRect(bm.ctx, CGRectMake(nan, 0, 1, 1));
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, nan, 1));
  CGContextSetRGBFillColor(bm.ctx, nan, 0, 0, nan); // NaN alpha counts as 0
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, 2, 2));
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(bm.pixel(i % 2, i / 2), 0u);
  CGContextSetRGBFillColor(bm.ctx, nan, 2.0, -1.0, 1.0); // clamped per component
  CGContextFillRect(bm.ctx, CGRectMake(0, 0, inf, inf));
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(bm.pixel(i % 2, i / 2), 0xFF00FF00u);
}
