// The heap bitmap: sizes, growth headroom and bad sizes.

#include <climits>

#include <gtest/gtest.h>

#include "graphics/lice.h"

namespace
{

TEST(MemBitmap, EmptyAndSizedConstruction)
{
  LICE_MemBitmap e;
  EXPECT_EQ(e.getBits(), nullptr);
  EXPECT_EQ(e.getWidth(), 0);
  EXPECT_EQ(e.allocatedBytes, 0);
  EXPECT_EQ(e.getDC(), nullptr);
  EXPECT_FALSE(e.isFlipped());
  EXPECT_EQ(e.Extended(1, nullptr), 0);

  LICE_MemBitmap b(7, 3);
  ASSERT_NE(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 7);
  EXPECT_EQ(b.getHeight(), 3);
  EXPECT_EQ(b.getRowSpan(), 7);
  EXPECT_EQ(b.allocatedBytes, 84);
}

TEST(MemBitmap, ResizeKeepsBufferWhenItFitsAndGrowsWithHeadroom)
{
  LICE_MemBitmap b(10, 10);
  EXPECT_FALSE(b.resize(10, 10));
  LICE_PixelValue* first = b.getBits();
  first[0] = 0x12345678;
  EXPECT_TRUE(b.resize(5, 5));
  EXPECT_EQ(b.getBits(), first);
  EXPECT_EQ(b.allocatedBytes, 400);
  EXPECT_EQ(b.getBits()[0], 0x12345678u); // contents kept
  EXPECT_EQ(b.getRowSpan(), 5);
  EXPECT_TRUE(b.resize(12, 12));
  EXPECT_EQ(b.allocatedBytes, 720); // 576 + 25 %
  EXPECT_TRUE(b.resize(13, 13));    // 676 fits the headroom
  EXPECT_EQ(b.allocatedBytes, 720);
}

TEST(MemBitmap, ZeroSizeFreesAndReportsChange)
{
  LICE_MemBitmap b(4, 4);
  EXPECT_TRUE(b.resize(0, 7));
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);
  EXPECT_EQ(b.allocatedBytes, 0);
  // A first allocation has no headroom.
  EXPECT_TRUE(b.resize(3, 3));
  EXPECT_EQ(b.allocatedBytes, 36);
}

TEST(MemBitmapBadSizes, NegativeSizesAreEmpty)
{
  LICE_MemBitmap n(-10, -10); // w * h would be positive
  EXPECT_EQ(n.getBits(), nullptr);
  EXPECT_EQ(n.getWidth(), 0);
  EXPECT_EQ(n.getHeight(), 0);

  LICE_MemBitmap b(4, 4);
  EXPECT_TRUE(b.resize(-4, -4));
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
}

TEST(MemBitmapBadSizes, OversizedIsAnAllocationFailureNotAShortBuffer)
{
  // 65536 * 65537 * 4 wraps to 262144 in 32 bits.
  LICE_MemBitmap w(65536, 65537);
  EXPECT_EQ(w.getBits(), nullptr);
  EXPECT_EQ(w.getWidth(), 0);
  EXPECT_EQ(w.getHeight(), 0);

  LICE_MemBitmap b(8, 8);
  EXPECT_TRUE(b.resize(INT_MAX, INT_MAX)); // still reports a change
  EXPECT_EQ(b.getBits(), nullptr);
  EXPECT_EQ(b.getWidth(), 0);
  EXPECT_EQ(b.getHeight(), 0);

  EXPECT_EQ(LICE_BitmapBytes(1 << 14, 1 << 14), int64_t(1) << 30);
  EXPECT_EQ(LICE_BitmapBytes(1 << 14, (1 << 14) + 1), -1);
  EXPECT_EQ(LICE_BitmapBytes(-3, 5), 0);
}

TEST(Copy, OntoEmptyBitmapCopiesEverythingIncludingAlpha)
{
  LICE_MemBitmap src(3, 2), dest;
  for (int i = 0; i < 6; ++i)
    src.getBits()[i] = 0x01020300u + i;
  LICE_Copy(&dest, &src);
  ASSERT_EQ(dest.getWidth(), 3);
  ASSERT_EQ(dest.getHeight(), 2);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(dest.getBits()[i], 0x01020300u + i);
  LICE_Copy(nullptr, &src);
  LICE_Copy(&dest, nullptr);
}

} // namespace
