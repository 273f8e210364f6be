#include <gtest/gtest.h>

#include <cstring>

#include "graphics/gdi/gdp_records.h"
#include "graphics/gdi/swell-gdi.h"

TEST(SWELL_CreateMemContext, UserSpaceRunsDownFromTheTopRow)
{
  HDC ctx = SWELL_CreateMemContext(nullptr, 4, 3);
  ASSERT_NE(ctx, nullptr);
  CGContextRef gc = SWELL_GetCtxGC(ctx);
  CGContextSetRGBFillColor(gc, 1.0, 0.0, 0.0, 1.0);
  CGContextFillRect(gc, CGRectMake(0, 0, 1, 1));
  CGContextSetRGBFillColor(gc, 0.0, 0.0, 1.0, 1.0);
  CGContextFillRect(gc, CGRectMake(2, 2, 1, 1));
  auto* bytes = static_cast<const uint8_t*>(SWELL_GetCtxFrameBuffer(ctx));
  // Top-left pixel, bytes X R G B with X drawn as 0xFF (alpha to raster code).
  const uint8_t red[4] = {0xFF, 0xFF, 0, 0}, blue[4] = {0xFF, 0, 0, 0xFF};
  EXPECT_EQ(memcmp(bytes, red, 4), 0);
  EXPECT_EQ(memcmp(bytes + 2 * 16 + 2 * 4, blue, 4), 0);
  int drawn = 0;
  for (int i = 0; i < 48; ++i)
    drawn += bytes[i] != 0;
  EXPECT_EQ(drawn, 4); // two bytes of each pixel; the rest, last row included, still zero
  SWELL_DeleteGfxContext(ctx);
}

TEST(SWELL_CreateMemContext, TextColourStartsOpaqueBlack)
{
  HDC ctx = SWELL_CreateMemContext(nullptr, 1, 1);
  ASSERT_NE(ctx, nullptr);
  EXPECT_EQ(ctx->textColor, 0);
  ASSERT_NE(ctx->textCGColor, nullptr);
  const CGFloat* c = CGColorGetComponents(ctx->textCGColor);
  EXPECT_EQ(c[0], 0.0);
  EXPECT_EQ(c[1], 0.0);
  EXPECT_EQ(c[2], 0.0);
  EXPECT_EQ(c[3], 1.0);
  SWELL_DeleteGfxContext(ctx);
}

TEST(SWELL_CreateMemContext, EmptyNegativeAndOversizedAreRefused)
{
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 0, 5), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 5, -1), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, -4, -4), nullptr);
  // w * 4 * h wraps a 32-bit int to 0 here: refused, never a short buffer.
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 1 << 15, 1 << 15), nullptr);
  EXPECT_EQ(SWELL_CreateMemContext(nullptr, 1 << 15, (1 << 13) + 1), nullptr);
}

TEST(CreateColor, SplitsRGBFromTheLowThreeBytes)
{
  CGColorRef c = CreateColor(0x7F10FF20, 0.5f); // the top byte is ignored
  ASSERT_NE(c, nullptr);
  const CGFloat* v = CGColorGetComponents(c);
  EXPECT_DOUBLE_EQ(v[0], 0x10 / 255.0);
  EXPECT_DOUBLE_EQ(v[1], 1.0);
  EXPECT_DOUBLE_EQ(v[2], 0x20 / 255.0);
  EXPECT_DOUBLE_EQ(v[3], 0.5);
  CGColorRelease(c);
}
