#include <gtest/gtest.h>

#include <cstring>

#include "graphics/gdi/swell-gdi.h"
#include "graphics/lice_sysbitmap.h"

namespace
{

bool allZero(LICE_SysBitmap& bm)
{
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      if (bm.getBits()[y * bm.getRowSpan() + x])
        return false;
  return true;
}

// A bitmap deleted by a static destructor, after main has returned: the
// context pools must still be there.
LICE_SysBitmap gDeletedAtExit(16, 16);

} // namespace

TEST(LICE_SysBitmap, PixelsAreTheContextFrameBuffer)
{
  LICE_SysBitmap bm(100, 50);
  ASSERT_NE(bm.getDC(), nullptr);
  EXPECT_EQ(bm.getWidth(), 100);
  EXPECT_EQ(bm.getHeight(), 50);
  EXPECT_EQ(bm.getRowSpan(), 100);
  EXPECT_FALSE(bm.isFlipped());
  EXPECT_EQ(static_cast<void*>(bm.getBits()), SWELL_GetCtxFrameBuffer(bm.getDC()));
  EXPECT_TRUE(allZero(bm));
  EXPECT_EQ(bm.Extended(1, nullptr), 0);
}

TEST(LICE_SysBitmap, ShrinkKeepsTheContextAndItsSpan)
{
  LICE_SysBitmap bm(100, 50);
  HDC dc = bm.getDC();
  LICE_PixelValue* bits = bm.getBits();
  EXPECT_TRUE(bm.resize(80, 40));
  EXPECT_EQ(bm.getDC(), dc);
  EXPECT_EQ(bm.getBits(), bits);
  EXPECT_EQ(bm.getWidth(), 80);
  EXPECT_EQ(bm.getHeight(), 40);
  EXPECT_EQ(bm.getRowSpan(), 100);

  // Drawing through the context lands where raster code addresses the
  // pixel: row y at y * span, first byte (alpha to raster code) opaque.
  CGContextFillRect(SWELL_GetCtxGC(bm.getDC()), CGRectMake(79, 39, 1, 1));
  auto* px = reinterpret_cast<const uint8_t*>(bm.getBits() + 39 * 100 + 79);
  EXPECT_EQ(px[0], 0xFF);
  EXPECT_EQ(px[1] | px[2] | px[3], 0);

  EXPECT_FALSE(bm.resize(80, 40)); // same size: untouched
  EXPECT_EQ(bm.getDC(), dc);
}

TEST(LICE_SysBitmap, GrowingPastTheContextMakesAFreshZeroedOne)
{
  LICE_SysBitmap bm(100, 50);
  bm.resize(80, 40);
  memset(bm.getBits(), 0x5A, size_t(100) * 50 * 4);
  EXPECT_TRUE(bm.resize(120, 40));
  EXPECT_EQ(bm.getRowSpan(), 120);
  EXPECT_EQ(bm.getWidth(), 120);
  EXPECT_EQ(bm.getHeight(), 40);
  ASSERT_NE(bm.getBits(), nullptr);
  EXPECT_TRUE(allZero(bm));
  // Taller than allocated, even if narrower, also needs a new context.
  EXPECT_TRUE(bm.resize(10, 41));
  EXPECT_EQ(bm.getRowSpan(), 10);
}

TEST(LICE_SysBitmap, EmptySizeDropsTheContextAndReportsFalse)
{
  LICE_SysBitmap bm(100, 50);
  EXPECT_FALSE(bm.resize(0, 10));
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 10);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getDC(), nullptr);
  EXPECT_TRUE(bm.resize(3, 3));
  EXPECT_NE(bm.getBits(), nullptr);
  // A negative size is an empty one.
  EXPECT_FALSE(bm.resize(-5, 3));
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_FALSE(bm.resize(-5, 3));
}

TEST(LICE_SysBitmap, OversizedIsAnEmptyBitmapNotAShortBuffer)
{
  // 2^15 x 2^15 pixels: the 32-bit byte count would wrap to 0.
  LICE_SysBitmap bm(1 << 15, 1 << 15);
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getHeight(), 0);
  EXPECT_EQ(bm.getRowSpan(), 0);
  EXPECT_EQ(bm.getBits(), nullptr);
  EXPECT_EQ(bm.getDC(), nullptr);
  EXPECT_TRUE(bm.resize(2, 2));
  EXPECT_EQ(bm.getWidth(), 2);
  EXPECT_TRUE(bm.resize(1 << 15, (1 << 13) + 1));
  EXPECT_EQ(bm.getWidth(), 0);
  EXPECT_EQ(bm.getBits(), nullptr);
}

TEST(LICE_SysBitmap, StaticBitmapOutlivesMain)
{
  EXPECT_NE(gDeletedAtExit.getBits(), nullptr);
}
