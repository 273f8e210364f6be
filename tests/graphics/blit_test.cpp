// Unscaled blit: clipping order, flipped and padded bitmaps, channel copy,
// overlapping blits and each fast path against the generic loop.

#include <climits>
#include <cmath>

#include <gtest/gtest.h>

#include "graphics/lice_blit_rows.h"
#include "graphics/lice_fastpath.h"
#include "tests/graphics/lice_reference.h"

namespace
{

// Source pixel whose colour encodes its position: R = x, G = y.
LICE_PixelValue tag(int x, int y)
{
  return Px(255, x, y, 7);
}

void paintTags(TestBitmap& b)
{
  for (int y = 0; y < b.getHeight(); ++y)
    for (int x = 0; x < b.getWidth(); ++x)
      b.at(x, y) = tag(x, y);
}

constexpr LICE_PixelValue kBg = Px(1, 2, 3, 4);

TEST(BlitClip, NullSourceRectBlitsWholeSource)
{
  TestBitmap src(4, 3, 4), dest(6, 5, 6);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, 1, 1, nullptr, 1.0f, 0);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
    {
      const bool in = x >= 1 && x < 5 && y >= 1 && y < 4;
      EXPECT_EQ(dest.at(x, y), in ? tag(x - 1, y - 1) : kBg) << x << "," << y;
    }
}

TEST(BlitClip, NegativeDestinationSkipsSourceColumns)
{
  TestBitmap src(30, 2, 30), dest(25, 2, 25);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, -10, 0, nullptr, 1.0f, 0);
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ(dest.at(x, 0), tag(x + 10, 0));
  for (int x = 20; x < 25; ++x)
    EXPECT_EQ(dest.at(x, 0), kBg);
}

TEST(BlitClip, NegativeSourceEdgeIsCutAtZeroWithoutMovingTheDestination)
{
  TestBitmap src(5, 5, 5), dest(8, 8, 8);
  paintTags(src);
  dest.fill(kBg);
  RECT r = {-2, -1, 3, 2}; // becomes {0, 0, 3, 2}
  LICE_Blit(&dest, &src, 4, 4, &r, 1.0f, 0);
  EXPECT_EQ(dest.at(4, 4), tag(0, 0));
  EXPECT_EQ(dest.at(6, 5), tag(2, 1));
  EXPECT_EQ(dest.at(7, 5), kBg);
  EXPECT_EQ(dest.at(4, 6), kBg);
}

TEST(BlitClip, RightAndBottomEdgesOfTheDestinationCut)
{
  TestBitmap src(10, 10, 10), dest(6, 6, 6);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, 3, 4, 2, 2, 8, 8, 1.0f, 0);
  EXPECT_EQ(dest.at(5, 5), tag(4, 3));
  EXPECT_EQ(dest.at(3, 4), tag(2, 2));
  EXPECT_TRUE(dest.guardsIntact());
}

TEST(BlitClip, RectanglesOutsideTheSourceDrawNothing)
{
  TestBitmap src(4, 4, 4), dest(4, 4, 4);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, 0, 0, 4, 0, 3, 3, 1.0f, 0);
  LICE_Blit(&dest, &src, 0, 0, -5, -5, 3, 3, 1.0f, 0);
  LICE_Blit(&dest, &src, 0, 0, 2, 2, -1, 1, 1.0f, 0);
  LICE_Blit(&dest, &src, 4, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dest, &src, 0, -4, nullptr, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dest.at(x, y), kBg);
}

TEST(BlitClip, ExtremeSizesAndPositionsClipWithoutWrapping)
{
  TestBitmap src(5, 5, 5), dest(5, 5, 5);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, INT_MAX, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dest, &src, INT_MIN, INT_MIN, nullptr, 1.0f, 0);
  RECT huge = {INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  LICE_Blit(&dest, &src, 3, INT_MIN + 1, &huge, 1.0f, 0);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      ASSERT_EQ(dest.at(x, y), kBg);
  // src_x + src_w past INT_MAX: the rectangle runs to the source's edge.
  LICE_Blit(&dest, &src, 2, 0, 1, 0, INT_MAX, INT_MAX, 1.0f, 0);
  EXPECT_EQ(dest.at(2, 0), tag(1, 0));
  EXPECT_EQ(dest.at(4, 4), tag(3, 4));
  EXPECT_EQ(dest.at(1, 0), kBg);
  EXPECT_TRUE(dest.guardsIntact());
}

TEST(BlitLayout, PaddedRowsAreSteppedBySpan)
{
  TestBitmap src(5, 4, 9), dest(7, 6, 11);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, 1, 1, nullptr, 0.7f, 0);
  TestBitmap expect(7, 6, 11);
  expect.fill(kBg);
  ref::Blit(expect, src, 1, 1, 0, 0, 5, 4, 0.7f, 0);
  EXPECT_TRUE(dest.samePixels(expect));
  EXPECT_TRUE(dest.guardsIntact());
}

TEST(BlitLayout, FlippedBitmapsAreNotMirrored)
{
  TestBitmap src(3, 4, 3, true), dest(3, 4, 5, true);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, 0, 1, 0, 0, 3, 2, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 1), tag(0, 0));
  EXPECT_EQ(dest.at(2, 2), tag(2, 1));
  EXPECT_EQ(dest.at(0, 0), kBg);
  // Logical row 1 of a flipped 4-row bitmap is buffer row 2.
  EXPECT_EQ(dest.raw(0, 2), tag(0, 0));
  // Flipped source onto an unflipped destination.
  TestBitmap plain(3, 4, 3);
  LICE_Blit(&plain, &src, 0, 0, nullptr, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(plain.at(1, y), tag(1, y));
}

TEST(BlitModes, HalfAlphaCopyDropsLowBits)
{
  TestBitmap src(1, 1, 1), dest(1, 1, 1);
  src.at(0, 0) = Px(255, 255, 255, 255);
  dest.at(0, 0) = Px(255, 255, 255, 255);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 0.5f, 0);
  EXPECT_EQ(dest.at(0, 0), Px(254, 254, 254, 254));
}

TEST(BlitModes, ChannelCopyTouchesOneByte)
{
  TestBitmap src(2, 1, 2), dest(2, 1, 2);
  src.at(0, 0) = Px(11, 22, 33, 44);
  src.at(1, 0) = Px(55, 66, 77, 88);
  dest.fill(Px(1, 2, 3, 4));
  LICE_Blit(&dest, &src, 0, 0, nullptr, -3.0f, 0xF4); // A -> R; alpha has no say
  EXPECT_EQ(dest.at(0, 0), Px(1, 11, 3, 4));
  EXPECT_EQ(dest.at(1, 0), Px(1, 55, 3, 4));
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, 0xFF); // B -> B
  EXPECT_EQ(dest.at(0, 0), Px(1, 11, 3, 44));
}

TEST(BlitModes, OpaqueSourceAlphaSkipsClearAndCopiesSolid)
{
  TestBitmap src(2, 1, 2), dest(2, 1, 2);
  src.at(0, 0) = Px(0, 9, 9, 9);
  src.at(1, 0) = Px(255, 10, 20, 30);
  dest.fill(Px(5, 6, 7, 8));
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(dest.at(0, 0), Px(5, 6, 7, 8));
  EXPECT_EQ(dest.at(1, 0), Px(255, 10, 20, 30));
}

TEST(BlitModes, NothingDrawnForUnknownModesZeroNaNOrNegativeCopy)
{
  TestBitmap src(2, 2, 2), dest(2, 2, 2);
  paintTags(src);
  dest.fill(kBg);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, 6);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1.0f, 6 | LICE_BLIT_USE_ALPHA);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 0.0f, 0);
  LICE_Blit(&dest, &src, 0, 0, nullptr, NAN, 1);
  LICE_Blit(&dest, &src, 0, 0, nullptr, -0.5f, 0);
  LICE_Blit(nullptr, &src, 0, 0, nullptr, 1.0f, 0);
  LICE_Blit(&dest, nullptr, 0, 0, nullptr, 1.0f, 0);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x)
      EXPECT_EQ(dest.at(x, y), kBg);
}

TEST(BlitModes, HugeAlphaSaturatesWithoutOverflow)
{
  TestBitmap src(1, 1, 1), dest(1, 1, 1);
  src.at(0, 0) = Px(200, 1, 129, 255);
  for (int mode = 0; mode <= 5; ++mode)
  {
    for (float alpha : {1e9f, -1e9f, INFINITY, -INFINITY, 3e38f})
    {
      dest.at(0, 0) = Px(100, 50, 1, 0);
      TestBitmap expect(1, 1, 1);
      expect.at(0, 0) = dest.at(0, 0);
      LICE_Blit(&dest, &src, 0, 0, nullptr, alpha, mode);
      ref::Blit(expect, src, 0, 0, 0, 0, 1, 1, alpha, mode);
      EXPECT_EQ(dest.at(0, 0), expect.at(0, 0)) << mode << " " << alpha;
    }
  }
  dest.at(0, 0) = Px(100, 50, 1, 0);
  LICE_Blit(&dest, &src, 0, 0, nullptr, 1e9f, 0);
  EXPECT_EQ(dest.at(0, 0), Px(255, 0, 255, 255));
}

// A blit within one bitmap reads the picture as it was before the call.
TEST(BlitOverlap, SameBitmapEqualsBlitFromACopy)
{
  for (float alpha : {1.0f, 0.5f, 0.3f})
  {
    for (int mode : {0, 1, LICE_BLIT_USE_ALPHA})
    {
      for (int off : {-3, -1, 1, 2})
      {
        TestBitmap bm(12, 9, 13), copy(12, 9, 13), expect(12, 9, 13);
        TestRng rng{uint64_t(off + 10)};
        for (int y = 0; y < 9; ++y)
          for (int x = 0; x < 12; ++x)
            bm.at(x, y) = copy.at(x, y) = expect.at(x, y) = rng.pixel();
        LICE_Blit(&bm, &bm, 2 + off, 2 + off / 2, 1, 1, 8, 6, alpha, mode);
        LICE_Blit(&expect, &copy, 2 + off, 2 + off / 2, 1, 1, 8, 6, alpha, mode);
        EXPECT_TRUE(bm.samePixels(expect)) << alpha << " " << mode << " " << off;
      }
    }
  }
}

// Each fast path against the generic loop on the same input, with widths
// that leave every tail length.
TEST(BlitFastPaths, EachAgreesWithTheGenericLoop)
{
  struct Case
  {
    int mode;
    float alpha;
    const char* path;
  };
  const Case cases[] = {{0, 1.0f, "row copy"},
                        {0, 0.5f, "half mix"},
                        {0, 0.7f, "weighted copy"},
                        {0, 1.0f / 256, "weighted copy"},
                        {LICE_BLIT_USE_ALPHA, 1.0f, "source alpha opaque"},
                        {LICE_BLIT_USE_ALPHA, 0.6f, "source alpha weighted"},
                        {LICE_BLIT_USE_ALPHA, 0.999f, "source alpha weighted"},
                        {LICE_BLIT_USE_ALPHA, 1.002f, "generic"},
                        {1, 0.7f, "add"},
                        {1, 1.0f, "add"},
                        {3, 0.7f, "multiply"},
                        {3, 1.0f / 256, "multiply"},
                        {3, 1.0f, "multiply"},
                        {3, 1.01f, "generic"}};
  for (const Case& c : cases)
  {
    for (int w = 1; w <= 9; ++w)
    {
      TestRng rng{uint64_t(w) * 131 + uint64_t(c.mode)};
      TestBitmap src(w, 3, w + 2), fast(w, 3, w + 1), slow(w, 3, w);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < w; ++x)
        {
          src.at(x, y) = rng.pixel();
          fast.at(x, y) = slow.at(x, y) = rng.pixel();
        }
      LICE_BlitJob job;
      job.dest = reinterpret_cast<unsigned char*>(&fast.at(0, 0));
      job.dest_step = long(fast.getRowSpan()) * 4;
      job.src = reinterpret_cast<const unsigned char*>(&src.at(0, 0));
      job.src_step = long(src.getRowSpan()) * 4;
      job.w = w;
      job.h = 3;
      job.sel = c.mode;
      job.alpha = c.alpha;
      job.ia = ref::Weight(c.alpha);
      ASSERT_STREQ(LICE_RunBlitJob(job), c.path);
      LICE_SetFastPathsEnabled(false);
      LICE_Blit(&slow, &src, 0, 0, nullptr, c.alpha, c.mode);
      LICE_SetFastPathsEnabled(true);
      EXPECT_TRUE(fast.samePixels(slow)) << c.path << " width " << w;
    }
  }
}

// Copies too large for the caches take the streaming-store rows; an odd
// offset puts pixels before the first 16-byte boundary of each row.
TEST(BlitFastPaths, LargeUnpackedCopyMatchesTheGenericLoop)
{
  TestBitmap src(1402, 1500, 1405), fast(1403, 1500, 1403), slow(1403, 1500, 1403);
  TestRng rng{7};
  for (int y = 0; y < 1500; ++y)
    for (int x = 0; x < 1402; ++x)
      src.at(x, y) = rng.next();
  fast.fill(kBg);
  slow.fill(kBg);
  LICE_Blit(&fast, &src, 1, 0, nullptr, 1.0f, 0);
  LICE_SetFastPathsEnabled(false);
  LICE_Blit(&slow, &src, 1, 0, nullptr, 1.0f, 0);
  LICE_SetFastPathsEnabled(true);
  EXPECT_TRUE(fast.samePixels(slow));
  EXPECT_EQ(fast.at(1, 0), src.at(0, 0));
  EXPECT_EQ(fast.at(0, 1499), kBg);
}

} // namespace
