// Gradient, blur, seed fill, halving, comparison, colour masks and
// multiply-add, against values derived by hand from their formulas.

#include <limits>

#include <gtest/gtest.h>

#include "graphics/lice_fastpath.h"
#include "tests/graphics/lice_reference.h"

namespace
{

constexpr LICE_PixelValue kBg = Px(1, 2, 3, 4);

void fillRandom(TestBitmap& b, uint64_t seed)
{
  TestRng rng(seed);
  for (int y = 0; y < b.getHeight(); ++y)
    for (int x = 0; x < b.getWidth(); ++x)
      b.at(x, y) = rng.pixel();
}

TEST(GradRect, OpaqueCopyStoresTheColourAndClipsAlongTheSteps)
{
  TestBitmap bm(8, 3, 8);
  bm.fill(kBg);
  LICE_GradRect(&bm, 0, 0, 8, 3, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  // Colour 255; A = (256 * 256 + 0 * d) / 256 = 256, clamped.
  EXPECT_EQ(bm.at(7, 2), Px(255, 255, 0, 0));
  // R steps by 1 per column; starting 10 columns left of the bitmap the
  // first drawn column has R = 10.
  LICE_GradRect(&bm, -10, 0, 20, 1, 0, 0, 0, 1, 1.0f / 255, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(PxR(bm.at(0, 0)), 10);
  EXPECT_EQ(PxR(bm.at(7, 0)), 17);
  EXPECT_EQ(bm.at(0, 1), Px(255, 255, 0, 0));
}

TEST(GradRect, AlphaIsTheWeightAndTheAlphaSource)
{
  TestBitmap bm(1, 1, 1);
  bm.fill(Px(100, 100, 100, 100));
  LICE_GradRect(&bm, 0, 0, 1, 1, 1, 0, 0, 0.5f, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  // a = 128: colour (128 * c + 128 * d) / 256, alpha (128 * 128 + 128 * d) / 256.
  EXPECT_EQ(bm.at(0, 0), Px((128 * 128 + 128 * 100) / 256, (128 * 255 + 128 * 100) / 256, 50, 50));
  bm.fill(Px(100, 100, 100, 100));
  LICE_GradRect(&bm, 0, 0, 1, 1, 1, 0, 0, 0.5f, 0, 0, 0, 0, 0, 0, 0, 0, LICE_BLIT_MODE_ADD);
  EXPECT_EQ(bm.at(0, 0), Px(100 + 128 * 128 / 256, 100 + 255 * 128 / 256, 100, 100));
}

TEST(GradRect, HugeValuesSaturateAndNonFiniteOnesDrawNothing)
{
  TestBitmap bm(64, 64, 64);
  bm.fill(kBg);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  LICE_GradRect(&bm, 0, 0, 64, 64, nan, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  LICE_GradRect(&bm, 0, 0, 64, 64, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, std::numeric_limits<float>::infinity(), 0);
  EXPECT_EQ(bm.at(5, 5), kBg);
  for (int mode = 0; mode <= 5; ++mode)
    LICE_GradRect(&bm, -100, -70, 1000, 900, 1e30f, -1e30f, 3e38f, 1e20f, 1e30f, 1e30f, -1e30f, 3e38f, -3e38f, 1e30f,
                  1e30f, -3e38f, mode);
  EXPECT_TRUE(bm.guardsIntact());
  bm.fill(kBg);
  LICE_GradRect(&bm, 0, 0, 64, 64, 1e30f, -1e30f, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(bm.at(63, 63), Px(255, 255, 0, 0));
}

TEST(GradRect, ModelAgreesOnFlippedAndPaddedBitmaps)
{
  const float start[4] = {0.2f, 0.9f, -0.1f, 0.7f}, dx[4] = {0.01f, -0.02f, 0.03f, 0.005f},
              dy[4] = {-0.015f, 0.02f, 0.01f, -0.01f};
  for (int mode = 0; mode <= 6; ++mode)
  {
    TestBitmap a(13, 9, 17, true), b(13, 9, 17, true);
    fillRandom(a, uint64_t(mode));
    fillRandom(b, uint64_t(mode));
    LICE_GradRect(&a, -3, 2, 14, 20, start[0], start[1], start[2], start[3], dx[0], dx[1], dx[2], dx[3], dy[0], dy[1],
                  dy[2], dy[3], mode);
    ref::GradRect(b, -3, 2, 14, 20, start, dx, dy, mode);
    EXPECT_TRUE(a.samePixels(b)) << "mode " << mode;
    EXPECT_TRUE(a.guardsIntact());
  }
  // Copies with colours inside 0-255, opaque and with an alpha ramp up to
  // full weight: the fast paths.
  for (float dadx : {0.0f, 0.02f})
  {
    const float ostart[4] = {0.1f, 0.5f, 0.95f, dadx != 0.0f ? 0.55f : 1.0f}, odx[4] = {0.02f, -0.01f, -0.015f, dadx},
                ody[4] = {0.01f, 0.005f, 0, 0};
    TestBitmap a(23, 6, 25), b(23, 6, 25);
    fillRandom(a, 9);
    fillRandom(b, 9);
    LICE_GradRect(&a, -2, 1, 23, 4, ostart[0], ostart[1], ostart[2], ostart[3], odx[0], odx[1], odx[2], odx[3], ody[0],
                  ody[1], ody[2], ody[3], 0);
    ref::GradRect(b, -2, 1, 23, 4, ostart, odx, ody, 0);
    EXPECT_TRUE(a.samePixels(b)) << "dadx " << dadx;
  }
}

TEST(Blur, FivePointWeightsByHand)
{
  TestBitmap bm(3, 3, 3), out(3, 3, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      bm.at(x, y) = Px(0, 8 * (1 + x + 3 * y), 0, 0);
  LICE_Blur(&out, &bm, 0, 0, 0, 0, 3, 3);
  // Centre 40: 40/2 + 32/8 + 48/8 + 16/8 + 64/8.
  EXPECT_EQ(PxR(out.at(1, 1)), 20 + 4 + 6 + 2 + 8);
  // Top-left 8: 8/2 + 16/4 + 32/4 (one vertical neighbour).
  EXPECT_EQ(PxR(out.at(0, 0)), 4 + 4 + 8);
  // Middle row, last pixel 48: 40/4 + 48/2 + 24/8 + 72/8.
  EXPECT_EQ(PxR(out.at(2, 1)), 10 + 24 + 3 + 9);
}

TEST(Blur, InPlaceEqualsIntoAnotherBitmap)
{
  for (int w : {2, 3, 1023, 1024, 1025})
  {
    TestBitmap src(w, 4, w + 3, w % 2 == 1), inPlace(w, 4, w + 3, w % 2 == 1), out(w, 4, w);
    fillRandom(src, uint64_t(w));
    fillRandom(inPlace, uint64_t(w));
    LICE_Blur(&out, &src, 0, 0, 0, 0, w, 4);
    LICE_Blur(&inPlace, &inPlace, 0, 0, 0, 0, w, 4);
    EXPECT_TRUE(inPlace.samePixels(out)) << "width " << w;
    EXPECT_TRUE(inPlace.guardsIntact());
    TestBitmap generic(w, 4, w);
    LICE_SetFastPathsEnabled(false);
    LICE_Blur(&generic, &src, 0, 0, 0, 0, w, 4);
    LICE_SetFastPathsEnabled(true);
    EXPECT_TRUE(generic.samePixels(out)) << "width " << w;
  }
}

TEST(Blur, OntoItselfAtAnotherOffsetReadsThePictureAsItWas)
{
  TestBitmap bm(20, 12, 20), copy(20, 12, 20), expect(20, 12, 20);
  fillRandom(bm, 7);
  fillRandom(copy, 7);
  fillRandom(expect, 7);
  LICE_Blur(&expect, &copy, 3, 2, 0, 0, 15, 9);
  LICE_Blur(&bm, &bm, 3, 2, 0, 0, 15, 9);
  EXPECT_TRUE(bm.samePixels(expect));
}

TEST(Blur, AreasNarrowerThanTwoDrawNothing)
{
  TestBitmap bm(5, 5, 5);
  bm.fill(kBg);
  TestBitmap src(5, 5, 5);
  fillRandom(src, 1);
  LICE_Blur(&bm, &src, 0, 0, 2, 0, 1, 5);
  LICE_Blur(&bm, &src, 0, 0, 0, 4, 5, 3);
  LICE_Blur(&bm, &src, -4, 0, 0, 0, 5, 5);
  EXPECT_EQ(bm.at(0, 0), kBg);
  EXPECT_EQ(bm.at(4, 4), kBg);
}

TEST(SimpleFill, FillsTheRunThroughTheSeedColumnOnly)
{
  // '#' walls: the region right of the wall is reachable only around the
  // corner at the bottom, so it stays.
  const char* rows[] = {".#..", ".#..", "....", "#..."};
  TestBitmap bm(4, 4, 6);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      bm.at(x, y) = rows[y][x] == '#' ? Px(255, 0, 0, 0) : Px(255, 200, 200, 200);
  LICE_SimpleFill(&bm, 0, 0, Px(0, 9, 0, 0), 0xffffffff, 0xff);
  const char* want[] = {"F#..", "F#..", "FFFF", "#..."};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
    {
      const LICE_PixelValue before = rows[y][x] == '#' ? Px(255, 0, 0, 0) : Px(255, 200, 200, 200);
      EXPECT_EQ(bm.at(x, y), want[y][x] == 'F' ? Px(255, 9, 0, 0) : before) << x << "," << y;
    }
  LICE_SimpleFill(&bm, 4, 0, 0, 0, 0);
  LICE_SimpleFill(&bm, 0, -1, 0, 0, 0);
}

TEST(SimpleFill, MatchingEverythingFillsTheWholeBitmap)
{
  TestBitmap bm(5, 4, 5);
  fillRandom(bm, 3);
  LICE_SimpleFill(&bm, 2, 1, Px(1, 1, 1, 1), 0, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(bm.at(x, y), Px(1, 1, 1, 1));
}

TEST(HalveBlitAA, QuarterMixesOverTheIntegerHalf)
{
  TestBitmap src(5, 5, 5), dest(10, 10, 10);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      src.at(x, y) = Px(4 * x + 3, 4 * y + 1, 255, 0);
  dest.fill(kBg);
  LICE_HalveBlitAA(&dest, &src);
  // (1, 1) from columns 2, 3 and rows 2, 3: quarters drop the low bits.
  EXPECT_EQ(PxA(dest.at(1, 1)), 2 * (11 / 4) + 2 * (15 / 4));
  EXPECT_EQ(PxR(dest.at(1, 1)), 2 * (9 / 4) + 2 * (13 / 4));
  EXPECT_EQ(PxG(dest.at(1, 1)), 4 * 63);
  EXPECT_EQ(dest.at(2, 1), kBg);
  EXPECT_EQ(dest.at(0, 2), kBg);
  // The four-at-a-time rows against the one-at-a-time ones.
  TestBitmap big(37, 9, 40), fast(18, 4, 18), slow(18, 4, 18);
  fillRandom(big, 11);
  LICE_HalveBlitAA(&fast, &big);
  LICE_SetFastPathsEnabled(false);
  LICE_HalveBlitAA(&slow, &big);
  LICE_SetFastPathsEnabled(true);
  EXPECT_TRUE(fast.samePixels(slow));
}

// A bitmap that reports a size but has no pixels.
class NoPixels : public TestBitmap
{
public:
  NoPixels() : TestBitmap(4, 4, 4) {}
  LICE_PixelValue* getBits() override { return nullptr; }
};

TEST(BitmapCmp, SizesFirstThenBytesAndNeverThroughNullPixels)
{
  TestBitmap a(4, 4, 4), b(6, 4, 6), d(4, 4, 4);
  fillRandom(a, 1);
  EXPECT_EQ(LICE_BitmapCmp(&a, &b), 2);
  EXPECT_EQ(LICE_BitmapCmp(&b, &a), -2);
  EXPECT_EQ(LICE_BitmapCmp(nullptr, nullptr), 0);
  EXPECT_EQ(LICE_BitmapCmp(nullptr, &a), -1);
  EXPECT_EQ(LICE_BitmapCmp(&a, nullptr), 1);
  d.fill(0);
  EXPECT_NE(LICE_BitmapCmp(&a, &d), 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      d.at(x, y) = a.at(x, y);
  EXPECT_EQ(LICE_BitmapCmp(&a, &d), 0);
  NoPixels none, none2;
  EXPECT_EQ(LICE_BitmapCmp(&none, &a), -1);
  EXPECT_EQ(LICE_BitmapCmp(&a, &none), 1);
  EXPECT_EQ(LICE_BitmapCmp(&none, &none2), 0);
}

TEST(SetAlphaFromColorMask, KeyedColourBecomesTransparentTheRestOpaque)
{
  TestBitmap bm(3, 1, 5);
  bm.at(0, 0) = Px(77, 0, 0, 255);
  bm.at(1, 0) = Px(12, 0, 1, 255);
  bm.at(2, 0) = Px(0, 9, 9, 9);
  LICE_SetAlphaFromColorMask(&bm, 0xFF000000);
  EXPECT_EQ(bm.at(0, 0), Px(0, 0, 0, 255));
  EXPECT_EQ(bm.at(1, 0), Px(255, 0, 1, 255));
  EXPECT_EQ(bm.at(2, 0), Px(255, 9, 9, 9));
  EXPECT_TRUE(bm.guardsIntact());
}

TEST(MultiplyAddRect, FollowsTheFormula)
{
  TestBitmap bm(4, 4, 4), orig(4, 4, 4);
  fillRandom(bm, 5);
  fillRandom(orig, 5);
  LICE_MultiplyAddRect(&bm, 0, 0, 4, 4, 1, 1, 1, 1, 0, 0, 0, 0);
  EXPECT_TRUE(bm.samePixels(orig));
  // An add of -1 is (c * 256 - 256) >> 8 = c - 1: 255 becomes 254, not 0.
  bm.fill(Px(255, 10, 0, 200));
  LICE_MultiplyAddRect(&bm, 1, 1, 2, 2, 1, 0.5f, 2, 1, 0, 0, 0, -1);
  EXPECT_EQ(bm.at(1, 1), Px(254, 10, 0, 255));
  EXPECT_EQ(bm.at(0, 0), Px(255, 10, 0, 200));
  // Scales past the int range saturate.
  LICE_MultiplyAddRect(&bm, 0, 0, 1, 1, 1e30f, -1e30f, 1e30f, 1, 0, 0, 0, 0);
  EXPECT_EQ(bm.at(0, 0), Px(255, 255, 0, 255));
}

} // namespace
