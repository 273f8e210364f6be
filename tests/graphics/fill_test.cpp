// Pixels, fills, masked clears and glyphs.

#include <climits>
#include <cmath>

#include <gtest/gtest.h>

#include "graphics/lice_blit_rows.h"
#include "graphics/lice_fastpath.h"
#include "tests/graphics/lice_reference.h"

namespace
{

constexpr LICE_PixelValue kBg = Px(255, 0, 0, 0);
constexpr LICE_PixelValue kWhite = Px(255, 255, 255, 255);

int countEqual(TestBitmap& b, LICE_PixelValue v)
{
  int n = 0;
  for (int y = 0; y < b.getHeight(); ++y)
    for (int x = 0; x < b.getWidth(); ++x)
      n += b.at(x, y) == v;
  return n;
}

TEST(FillRect, ClipsNegativeOriginAndFarEdges)
{
  TestBitmap b(100, 3, 104);
  b.fill(kBg);
  LICE_FillRect(&b, -5, 0, 10, 1, kWhite, 1.0f, 0);
  for (int x = 0; x < 100; ++x)
    EXPECT_EQ(b.at(x, 0), x < 5 ? kWhite : kBg) << x;
  LICE_FillRect(&b, 98, 1, INT_MAX, INT_MAX, kWhite, 1.0f, 0);
  EXPECT_EQ(b.at(97, 1), kBg);
  EXPECT_EQ(b.at(99, 2), kWhite);
  LICE_FillRect(&b, INT_MIN, INT_MIN, INT_MAX, INT_MAX, Px(1, 1, 1, 1), 1.0f, 0); // ends before 0
  EXPECT_EQ(countEqual(b, Px(1, 1, 1, 1)), 0);
  EXPECT_TRUE(b.guardsIntact());
}

TEST(FillRect, ExactAlphaShortcutsAreShiftMixes)
{
  struct Case
  {
    float alpha;
    LICE_PixelValue expect;
  };
  // White opaque over black opaque: 0.5 gives 127 + 127 = 254 in A.
  const Case cases[] = {{1.0f, kWhite},
                        {0.5f, Px(254, 127, 127, 127)},
                        {0.25f, Px(253, 63, 63, 63)},     // 127 + 63 + 63, 0 + 0 + 63
                        {0.75f, Px(253, 190, 190, 190)}}; // 63 + 127 + 63, 0 + 127 + 63
  for (const Case& c : cases)
  {
    TestBitmap b(3, 2, 5);
    b.fill(kBg);
    LICE_FillRect(&b, 0, 0, 3, 2, kWhite, c.alpha, 0);
    EXPECT_EQ(b.at(2, 1), c.expect) << c.alpha;
    LICE_PixelValue p = kBg;
    TestBitmap one(1, 1, 1);
    one.at(0, 0) = p;
    LICE_PutPixel(&one, 0, 0, kWhite, c.alpha, 0);
    EXPECT_EQ(one.at(0, 0), c.expect) << c.alpha;
  }
}

TEST(FillRect, WeightedModesNegativeAlphaAndSourceAlphaBit)
{
  TestBitmap b(2, 2, 2);
  b.fill(Px(100, 100, 100, 100));
  LICE_FillRect(&b, 0, 0, 2, 2, kWhite, -0.5f, 0); // copy: nothing
  EXPECT_EQ(b.at(1, 1), Px(100, 100, 100, 100));
  LICE_FillRect(&b, 0, 0, 2, 2, Px(10, 20, 30, 40), -0.5f, 1); // add subtracts: -s * 128 / 256
  EXPECT_EQ(b.at(1, 1), Px(95, 90, 85, 80));
  LICE_FillRect(&b, 0, 0, 2, 2, Px(0, 255, 255, 255), 1.0f, LICE_BLIT_USE_ALPHA); // A 0: alpha 0
  EXPECT_EQ(b.at(1, 1), Px(95, 90, 85, 80));
  // A = 51 scales alpha 1.0 to 0.2 (weight 51): (90 * 205 + 255 * 51) / 256.
  LICE_FillRect(&b, 0, 0, 1, 1, Px(51, 255, 0, 0), 1.0f, LICE_BLIT_USE_ALPHA);
  EXPECT_EQ(PxR(b.at(0, 0)), (90 * 205 + 255 * 51) / 256);
  for (int mode : {6, 0xF4, 255})
    LICE_FillRect(&b, 0, 0, 2, 2, kWhite, 1.0f, mode);
  LICE_FillRect(&b, 0, 0, 2, 2, kWhite, NAN, 0);
  EXPECT_EQ(b.at(1, 1), Px(95, 90, 85, 80));
}

TEST(FillRect, FlippedBitmapFillsTheSamePixels)
{
  TestBitmap b(4, 5, 6, true);
  b.fill(kBg);
  LICE_FillRect(&b, 1, 1, 2, 2, kWhite, 1.0f, 0);
  EXPECT_EQ(b.at(1, 1), kWhite);
  EXPECT_EQ(b.at(2, 2), kWhite);
  EXPECT_EQ(b.at(1, 3), kBg);
  EXPECT_EQ(b.raw(1, 3), kWhite); // logical row 1 of 5
  EXPECT_EQ(countEqual(b, kWhite), 4);
}

TEST(FillFastPaths, EachAgreesWithTheGenericLoop)
{
  const float alphas[] = {1.0f, 0.5f, 0.25f, 0.75f, 0.3f, 1.0f / 256, 255.0f / 256, 255.0f / 256};
  const char* paths[] = {"solid",         "half mix",      "quarter mix", "three-quarter mix",
                         "weighted copy", "weighted copy", "copy at 255", "copy at 255 (AVX2)"};
  for (int i = 0; i < 8; ++i)
  {
    LICE_SetAvx2Enabled(i == 7);
    if (i == 7 && !LICE_Avx2Enabled())
      continue; // no AVX2 here
    for (int w = 1; w <= 9; ++w)
    {
      TestRng rng{uint64_t(i * 100 + w)};
      TestBitmap fast(w, 2, w + 3), slow(w, 2, w);
      for (int y = 0; y < 2; ++y)
        for (int x = 0; x < w; ++x)
          fast.at(x, y) = slow.at(x, y) = rng.pixel();
      const LICE_PixelValue color = rng.pixel();
      LICE_FillJob job;
      job.dest = reinterpret_cast<unsigned char*>(&fast.at(0, 0));
      job.dest_step = long(fast.getRowSpan()) * 4;
      job.w = w;
      job.h = 2;
      job.alpha = alphas[i];
      job.ia = ref::Weight(alphas[i]);
      job.color = color;
      ASSERT_STREQ(LICE_RunFillJob(job), paths[i]);
      LICE_SetFastPathsEnabled(false);
      LICE_FillRect(&slow, 0, 0, w, 2, color, alphas[i], 0);
      LICE_SetFastPathsEnabled(true);
      EXPECT_TRUE(fast.samePixels(slow)) << paths[i] << " width " << w;
    }
  }
}

TEST(Pixels, PutAndGetStayInsideAndFollowFlips)
{
  TestBitmap b(3, 2, 4, true);
  b.fill(kBg);
  LICE_PutPixel(&b, 3, 0, kWhite, 1.0f, 0);
  LICE_PutPixel(&b, 0, -1, kWhite, 1.0f, 0);
  LICE_PutPixel(&b, 0, 2, kWhite, 1.0f, 0);
  EXPECT_EQ(countEqual(b, kWhite), 0);
  EXPECT_TRUE(b.guardsIntact());
  EXPECT_EQ(LICE_GetPixel(&b, 3, 0), 0u);
  EXPECT_EQ(LICE_GetPixel(&b, 0, -1), 0u);
  EXPECT_EQ(LICE_GetPixel(nullptr, 0, 0), 0u);
  LICE_PutPixel(&b, 1, 0, Px(9, 8, 7, 6), 1.0f, 0);
  EXPECT_EQ(b.raw(1, 1), Px(9, 8, 7, 6)); // row 0 is the buffer's last row
  EXPECT_EQ(LICE_GetPixel(&b, 1, 0), Px(9, 8, 7, 6));
  // Weighted modes: multiply at 0.5 (weight 128) on 200 by 100 gives 139.
  b.at(0, 1) = Px(200, 200, 200, 200);
  LICE_PutPixel(&b, 0, 1, Px(100, 100, 100, 100), 0.5f, 3);
  EXPECT_EQ(b.at(0, 1), Px(139, 139, 139, 139));
  LICE_PutPixel(&b, 0, 1, kWhite, 1.0f, 6);
  LICE_PutPixel(&b, 0, 1, kWhite, -1.0f, 0);
  LICE_PutPixel(&b, 0, 1, kWhite, NAN, 1);
  EXPECT_EQ(b.at(0, 1), Px(139, 139, 139, 139));
}

TEST(ClearRect, MasksAndOrsEveryPixel)
{
  TestBitmap b(4, 3, 6);
  b.fill(Px(0, 10, 20, 30));
  LICE_ClearRect(&b, -1, 1, 3, 5, 0xFFFFFF00, 0x000000FF);
  EXPECT_EQ(b.at(0, 1), Px(255, 10, 20, 30));
  EXPECT_EQ(b.at(1, 2), Px(255, 10, 20, 30));
  EXPECT_EQ(b.at(2, 1), Px(0, 10, 20, 30));
  EXPECT_EQ(b.at(0, 0), Px(0, 10, 20, 30));
  LICE_ClearRect(&b, 0, 0, 0, 3, 0, 0);
  EXPECT_EQ(b.at(0, 0), Px(0, 10, 20, 30));
  EXPECT_TRUE(b.guardsIntact());
}

TEST(Clear, FillsVisiblePixelsOnly)
{
  TestBitmap b(3, 3, 5, true);
  LICE_Clear(&b, 0x11223344);
  EXPECT_EQ(countEqual(b, 0x11223344), 9);
  EXPECT_TRUE(b.guardsIntact());
  LICE_Clear(nullptr, 0);
}

TEST(Glyph, ClipsAndSkipsColumnsAndRows)
{
  // 4 x 3 glyph with a different coverage in every cell.
  unsigned char cov[12];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c)
      cov[r * 4 + c] = static_cast<unsigned char>(255 - 10 * r - c);
  for (int x : {-2, 0, 3, 5})
  {
    for (int y : {-1, 0, 2, 4})
    {
      TestBitmap b(6, 5, 8), expect(6, 5, 8);
      b.fill(kBg);
      expect.fill(kBg);
      LICE_DrawGlyph(&b, x, y, Px(255, 200, 100, 50), cov, 4, 3, 0.9f, 0);
      ref::Glyph(expect, x, y, Px(255, 200, 100, 50), cov, 4, 3, 0.9f, 0);
      EXPECT_TRUE(b.samePixels(expect)) << x << "," << y;
      EXPECT_TRUE(b.guardsIntact());
    }
  }
  // At x = -2 the third column lands on column 0: full coverage there.
  unsigned char bar[3] = {0, 0, 255};
  TestBitmap b(2, 1, 2);
  b.fill(kBg);
  LICE_DrawGlyph(&b, -2, 0, kWhite, bar, 3, 1, 1.0f, 0);
  // Weight 256 * 255 / 256 = 255: R is 255 * 255 / 256, A (255 + 255 * 255) / 256.
  EXPECT_EQ(b.at(0, 0), Px(255, 254, 254, 254));
  EXPECT_EQ(b.at(1, 0), kBg);
}

TEST(Glyph, ZeroCoverageUnknownModesAndHugeOffsetsDrawNothing)
{
  unsigned char none[6] = {0, 0, 0, 0, 0, 0}, full[6] = {255, 255, 255, 255, 255, 255};
  TestBitmap b(4, 4, 4);
  b.fill(kBg);
  LICE_DrawGlyph(&b, 0, 0, kWhite, none, 3, 2, 1.0f, 0);
  LICE_DrawGlyph(&b, 0, 0, kWhite, full, 3, 2, 1.0f, 6);
  LICE_DrawGlyph(&b, 0, 0, kWhite, full, 3, 2, -1.0f, 0);
  LICE_DrawGlyph(&b, INT_MIN, INT_MIN, kWhite, full, 3, 2, 1.0f, 1);
  LICE_DrawGlyph(&b, INT_MAX, 0, kWhite, full, 3, 2, 1.0f, 1);
  LICE_DrawGlyph(&b, 0, 0, kWhite, full, 3, 2, NAN, 1);
  EXPECT_EQ(countEqual(b, kBg), 16);
}

} // namespace
