// Vector drawing: hand-derived pixels, the differences from the raster
// core, properties that hold for every input, and termination on hostile
// input.

#include <cmath>
#include <limits>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "graphics/lice_fastpath.h"
#include "graphics/lice_vector.h"
#include "tests/graphics/vector_reference.h"

namespace
{

constexpr LICE_PixelValue kWhite = 0xffffffff;

// Pixels that differ from fill value v, as (x, y) in caller coordinates.
std::set<std::pair<int, int>> changed(TestBitmap& bm, LICE_PixelValue v = 0)
{
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < bm.getHeight(); ++y)
    for (int x = 0; x < bm.getWidth(); ++x)
      if (bm.at(x, y) != v)
        out.insert({x, y});
  return out;
}

TestBitmap blank(int w, int h, bool flipped = false)
{
  TestBitmap bm(w, h, w + 2, flipped);
  bm.fill(0);
  return bm;
}

using Pixels = std::set<std::pair<int, int>>;

// Grey level 0x40 added at weight w leaves 0x40 * w / 256 in each channel.
int addedWeight(LICE_PixelValue p)
{
  return PxR(p) * 256 / 0x40;
}

TEST(LineClip, CutsAtEdgesAndBoxes)
{
  int x1 = -10, y1 = 5, x2 = 10, y2 = 5;
  EXPECT_TRUE(ClipLine(&x1, &y1, &x2, &y2, 4, 10));
  EXPECT_EQ(std::make_tuple(x1, y1, x2, y2), std::make_tuple(0, 5, 3, 5));
  x1 = 0, y1 = 0, x2 = 10, y2 = 20; // crosses y = 10 at x = 5
  EXPECT_TRUE(ClipLine(&x1, &y1, &x2, &y2, 100, 10));
  EXPECT_EQ(std::make_tuple(x2, y2), std::make_tuple(5, 9));
  x1 = 0, y1 = 15, x2 = 30, y2 = 15;
  EXPECT_TRUE(LICE_ClipLine(&x1, &y1, &x2, &y2, 10, 10, 20, 20));
  EXPECT_EQ(std::make_tuple(x1, y1, x2, y2), std::make_tuple(10, 15, 19, 15));
  x1 = -5, y1 = 1, x2 = -1, y2 = 8;
  EXPECT_FALSE(ClipLine(&x1, &y1, &x2, &y2, 4, 10));
  // Extreme ends clip in 64 bits.
  x1 = INT_MIN, y1 = 3, x2 = INT_MAX, y2 = 3;
  EXPECT_TRUE(ClipLine(&x1, &y1, &x2, &y2, 8, 8));
  EXPECT_EQ(std::make_tuple(x1, x2), std::make_tuple(0, 7));
  x1 = 0, y1 = 0, x2 = 5, y2 = 5;
  EXPECT_FALSE(LICE_ClipLine(&x1, &y1, &x2, &y2, INT_MAX, INT_MAX, INT_MIN, INT_MIN));
}

TEST(Line, WalksAndWeights)
{
  TestBitmap bm = blank(10, 10);
  LICE_Line(&bm, 3, 5, 3, 5, kWhite, 1.0f, 0, false); // a point is a vertical line
  EXPECT_EQ(changed(bm), (Pixels{{3, 5}}));

  bm = blank(10, 10);
  LICE_Line(&bm, 0, 0, 4, 1, kWhite, 1.0f, 0, false); // minor step after err reaches 0.75
  EXPECT_EQ(changed(bm), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));

  bm = blank(10, 10);
  LICE_Line(&bm, 0, 0, 2, 1, Px(0x40, 0x40, 0x40, 0x40), 1.0f, 1, true);
  EXPECT_EQ(addedWeight(bm.at(0, 0)), 256);
  EXPECT_EQ(addedWeight(bm.at(1, 0)), 128);
  EXPECT_EQ(addedWeight(bm.at(1, 1)), 128);
  EXPECT_EQ(addedWeight(bm.at(2, 1)), 256);
  EXPECT_EQ(bm.at(2, 0), 0u);

  bm = blank(10, 10);
  LICE_Line(&bm, 0, 0, 3, 3, kWhite, 1.0f, 0, true); // packed diagonal
  for (int i = 0; i <= 3; ++i)
    EXPECT_EQ(bm.at(i, i), 0xBEBEBEBEu);
  for (int i = 0; i < 3; ++i)
  {
    EXPECT_EQ(bm.at(i + 1, i), 0x3F3F3F3Fu);
    EXPECT_EQ(bm.at(i, i + 1), 0x3F3F3F3Fu);
  }
  EXPECT_EQ(changed(bm).size(), 10u);

  bm = blank(20, 20);
  LICE_Line(&bm, 12, 3, 2, 3, kWhite, 1.0f, 0, false);
  TestBitmap other = blank(20, 20);
  LICE_Line(&other, 2, 3, 12, 3, kWhite, 1.0f, 0, false);
  EXPECT_TRUE(bm.samePixels(other));
}

// The mode's low byte alone counts; copy at 0.5 is the exact half mix and
// 0.25 the weighted copy, unlike the rectangle fill's shift mixes.
TEST(Line, ModeAndAlphaDifferFromTheFill)
{
  const LICE_PixelValue d = Px(201, 99, 3, 254), s = Px(100, 50, 255, 1);
  auto one = [&](int mode, float alpha) {
    TestBitmap bm(4, 4, 4);
    bm.fill(d);
    LICE_Line(&bm, 1, 1, 1, 1, s, alpha, mode, false);
    return bm.at(1, 1);
  };
  EXPECT_EQ(one(0, 1.0f), s); // the A byte too
  EXPECT_EQ(one(0, 0.5f), Px((201 + 100) / 2, (99 + 50) / 2, (3 + 255) / 2, (254 + 1) / 2));
  EXPECT_NE(one(0, 0.5f), ref::FillPixel(0, 0.5f, d, s));
  EXPECT_EQ(one(0, 0.25f), ref::Combine(0, d, s, 64));
  EXPECT_EQ(one(0, -0.5f), d);
  EXPECT_EQ(one(1, -0.5f), ref::Combine(1, d, s, -128));
  EXPECT_EQ(one(0x100, 1.0f), s);
  EXPECT_EQ(one(LICE_BLIT_USE_ALPHA | 3, 0.7f), ref::Combine(3, d, s, 179));
  EXPECT_EQ(one(6, 1.0f), d);
  EXPECT_EQ(one(0, NAN), d);
  EXPECT_EQ(one(1, 1e10f), ref::Combine(1, d, s, 65536));
}

TEST(Line, RectanglesAndFlips)
{
  TestBitmap bm = blank(10, 10);
  LICE_DrawRect(&bm, 2, 2, 4, 3, Px(0x40, 0x40, 0x40, 0x40), 1.0f, 1);
  Pixels box;
  for (auto [x, y] : changed(bm))
    EXPECT_TRUE(x >= 2 && x <= 6 && y >= 2 && y <= 5);
  EXPECT_EQ(changed(bm).size(), 14u);
  EXPECT_EQ(addedWeight(bm.at(2, 2)), 512); // corners twice
  EXPECT_EQ(addedWeight(bm.at(6, 5)), 512);
  EXPECT_EQ(addedWeight(bm.at(4, 2)), 256);

  bm = blank(10, 10);
  LICE_BorderedRect(&bm, 1, 1, 5, 4, 0x11111111, kWhite, 1.0f, 0);
  EXPECT_EQ(bm.at(1, 1), kWhite);
  EXPECT_EQ(bm.at(2, 2), 0x11111111u);
  EXPECT_EQ(bm.at(5, 4), 0x11111111u);
  EXPECT_EQ(bm.at(6, 5), kWhite);
  LICE_BorderedRect(&bm, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 1, 1, 1.0f, 0); // no overflow, nothing drawn

  TestBitmap flipped = blank(20, 100, true);
  LICE_Line(&flipped, 0, 0, 10, 0, kWhite, 1.0f, 0, false);
  EXPECT_EQ(flipped.raw(0, 99), kWhite);
  EXPECT_EQ(flipped.raw(10, 99), kWhite);
  EXPECT_TRUE(flipped.guardsIntact());
}

TEST(FLine, ClipAndWeights)
{
  float x1 = -0.5f, y1 = 3, x2 = 5, y2 = 3;
  EXPECT_TRUE(ClipFLine(&x1, &y1, &x2, &y2, 10, 10));
  EXPECT_EQ(x1, -0.5f);
  TestBitmap bm = blank(10, 10);
  LICE_FLine(&bm, -0.5f, 3, 5, 3, kWhite, 1.0f, 0, false);
  EXPECT_EQ(changed(bm), (Pixels{{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}}));

  bm = blank(10, 10);
  LICE_FLine(&bm, 0, 0, 4, 1, kWhite, 1.0f, 0, false);
  EXPECT_EQ(changed(bm), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}, {4, 1}}));

  const LICE_PixelValue grey = Px(0x40, 0x40, 0x40, 0x40);
  bm = blank(12, 12);
  LICE_FLine(&bm, 0, 2.25f, 8, 3.25f, grey, 1.0f, 1, true);
  EXPECT_EQ(addedWeight(bm.at(0, 2)), 192);
  EXPECT_EQ(addedWeight(bm.at(0, 3)), 64);
  for (bool reversed : {false, true})
  {
    bm = blank(12, 12);
    if (reversed)
      LICE_FLine(&bm, 8, 2.25f, 0, 2.25f, grey, 1.0f, 1, true);
    else
      LICE_FLine(&bm, 0, 2.25f, 8, 2.25f, grey, 1.0f, 1, true);
    for (int x = 0; x <= 8; ++x)
    {
      EXPECT_EQ(addedWeight(bm.at(x, 2)), 64);
      EXPECT_EQ(addedWeight(bm.at(x, 1)), 192);
    }
  }
  bm = blank(12, 12);
  LICE_FLine(&bm, 3.25f, 1, 3.25f, 6, grey, 1.0f, 1, true);
  EXPECT_EQ(addedWeight(bm.at(3, 4)), 64);
  EXPECT_EQ(addedWeight(bm.at(2, 4)), 192);

  // The minor-side shares of the last row fall below the bitmap: dropped.
  bm = blank(12, 10);
  LICE_FLine(&bm, 0, 9.5f, 8, 9.9f, kWhite, 1.0f, 0, true);
  EXPECT_TRUE(bm.guardsIntact());
}

// Outcodes from truncated coordinates put the inside band at (-1, w), while
// the top and left moves land on 0: this line pushes its ends back and
// forth. It must end, draw nothing and write nothing outside.
TEST(FLine, ClipThatDoesNotSettleDrawsNothing)
{
  TestBitmap bm = blank(10, 10);
  for (float a : {-0.999f, -0.5f, -1e-6f})
    for (float b : {-0.999f, -0.75f, -1e-7f})
    {
      float x1 = a, y1 = -1.5f, x2 = -1.5f, y2 = b;
      ClipFLine(&x1, &y1, &x2, &y2, 10, 10);
      LICE_FLine(&bm, a, -1.5f, -1.5f, b, kWhite, 1.0f, 0, true);
    }
  EXPECT_TRUE(bm.guardsIntact());
}

TEST(DashedLine, Patterns)
{
  auto dashed = [](int x1, int y1, int x2, int y2, int on, int off, int mode = 0) {
    TestBitmap bm = blank(20, 20);
    LICE_DashedLine(&bm, x1, y1, x2, y2, on, off, Px(0x40, 0x40, 0x40, 0x40), 1.0f, mode, false);
    EXPECT_TRUE(bm.guardsIntact());
    return changed(bm);
  };
  EXPECT_EQ(dashed(0, 5, 10, 5, 2, 3), (Pixels{{0, 5}, {1, 5}, {5, 5}, {6, 5}}));
  EXPECT_EQ(dashed(0, 0, 7, 0, 3, 2), (Pixels{{0, 0}, {1, 0}, {2, 0}, {5, 0}, {6, 0}}));
  const Pixels rows = {{0, 0}, {0, 2}, {0, 4}, {0, 6}, {0, 8}};
  EXPECT_EQ(dashed(0, 0, 0, 9, 1, 1), rows);
  EXPECT_EQ(dashed(0, 0, 0, 9, 1, 1, 1), rows);
  EXPECT_EQ(dashed(10, 5, 0, 5, 2, 3), dashed(0, 5, 10, 5, 2, 3));
  EXPECT_TRUE(dashed(0, 0, 5, 5, 2, 3).empty());
  EXPECT_TRUE(dashed(3, 3, 3, 3, 2, 3).empty());
  EXPECT_TRUE(dashed(0, 5, 19, 5, 0, 3).empty());
  EXPECT_TRUE(dashed(0, 5, 19, 5, 3, -3).empty()); // no period
  EXPECT_TRUE(dashed(0, 5, 19, 5, 3, -7).empty()); // would walk backwards
  EXPECT_EQ(dashed(INT_MIN, 5, INT_MAX, 5, 1, 1).size(), 10u);
}

TEST(Triangle, RowsAndClipping)
{
  TestBitmap bm = blank(20, 20);
  LICE_FillTriangle(&bm, 0, 0, 10, 0, 0, 10, kWhite, 1.0f, 0);
  EXPECT_EQ(changed(bm).size(), 65u);
  for (auto [x, y] : changed(bm))
    EXPECT_LE(x, 10 - y);

  bm = blank(20, 20);
  LICE_FillTriangle(&bm, 0, 0, 0, 2, 3, 4, kWhite, 1.0f, 0);
  EXPECT_EQ(changed(bm), (Pixels{{0, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 3}}));

  bm = blank(10, 10);
  LICE_FillTriangle(&bm, -20, 0, 30, 0, 5, 8, kWhite, 1.0f, 0);
  for (int y = 0; y < 3; ++y)
  {
    EXPECT_EQ(bm.at(0, y), kWhite);
    EXPECT_EQ(bm.at(9, y), kWhite);
  }
  EXPECT_TRUE(bm.guardsIntact());

  TestBitmap flipped = blank(20, 50, true);
  LICE_FillTriangle(&flipped, 0, 0, 10, 0, 0, 10, kWhite, 1.0f, 0);
  EXPECT_EQ(flipped.raw(0, 39), kWhite);
  EXPECT_EQ(flipped.raw(0, 48), kWhite);
  EXPECT_EQ(flipped.raw(0, 49), 0u);
}

TEST(Triangle, EdgesAboveTheBitmapAreWalked)
{
  // 23 additions of 98 / 92 from -21 leave the long edge at 3.4999999999999973
  // on row 3 (one multiplication would give 3.5000000000000009, column 4).
  TestBitmap bm = blank(100, 100);
  LICE_FillTriangle(&bm, -21, -20, 77, 72, 82, 42, kWhite, 1.0f, 0);
  EXPECT_EQ(bm.at(3, 3), kWhite);
  EXPECT_EQ(bm.at(2, 3), 0u);

  // A top far above starts at row 0; binary-exact slopes make that exact.
  TestBitmap a = blank(30, 30), b = blank(30, 30);
  LICE_FillTriangle(&a, 0, INT_MIN, 0, 20, INT_MIN / 2 + 10, INT_MIN + 1, kWhite, 1.0f, 0);
  vref::FillTriangle(b, 0, INT_MIN, 0, 20, INT_MIN / 2 + 10, INT_MIN + 1, kWhite, 1.0f, 0);
  EXPECT_TRUE(a.samePixels(b));
  EXPECT_TRUE(a.guardsIntact());
}

TEST(Triangle, SameForAllVertexOrders)
{
  TestRng rng(12);
  for (int i = 0; i < 300; ++i)
  {
    // Heights of powers of two make every slope binary-exact.
    const int y0 = rng.range(-5, 20), x[3] = {rng.range(-5, 25), rng.range(-5, 25), rng.range(-5, 25)};
    const int y[3] = {y0, y0 + (1 << rng.range(0, 3)), y0 + (1 << rng.range(0, 4))};
    int order[3] = {0, 1, 2};
    TestBitmap first = blank(20, 20);
    LICE_FillTriangle(&first, x[0], y[0], x[1], y[1], x[2], y[2], kWhite, 0.5f, 0);
    while (std::next_permutation(order, order + 3))
    {
      TestBitmap bm = blank(20, 20);
      LICE_FillTriangle(&bm, x[order[0]], y[order[0]], x[order[1]], y[order[1]], x[order[2]], y[order[2]], kWhite, 0.5f,
                        0);
      ASSERT_TRUE(bm.samePixels(first)) << i;
    }
  }
}

TEST(Bezier, GetYOnAStraightCubic)
{
  float next, slope;
  double lo, hi;
  EXPECT_EQ(LICE_CBezier_GetY(0, 1, 2, 3, 0, 1, 2, 3, 1.5f, &next, &slope, &lo, &hi), 1.5f);
  EXPECT_EQ(hi, 0.50390625);
  EXPECT_EQ(next, 1.51171875f);
  EXPECT_EQ(slope, 1.0f);
  EXPECT_EQ(LICE_CBezier_GetY<float>(0, 1, 2, 3, 0, 1, 2, 3, 1.0f, &next, nullptr, &lo, &hi), 1.0f);
  EXPECT_EQ(lo, 0.33203125);
  EXPECT_EQ(hi, 0.3359375);
  EXPECT_EQ(next, 1.0078125f);
  EXPECT_EQ(LICE_CBezier_GetY(0, 1, 2, 3, 0, 1, 2, 3, -1, &next, &slope, nullptr, nullptr), 0.0f);
  EXPECT_EQ(next, 0.0f);
  EXPECT_EQ(slope, 0.0f);
}

TEST(Bezier, EdgeEndsAndOddTolerances)
{
  // An end exactly on column 0 or on the last column leaves nothing to
  // bisect there: the parameter range stays whole and the points inside are
  // drawn, as the model has it (ten rows or more here, not one).
  const float ends[][2] = {{19, 40}, {19, 19.5f}, {-20, 0}, {-20, 19}};
  for (auto [x0, x3] : ends)
  {
    TestBitmap a = blank(20, 20), b = blank(20, 20);
    LICE_DrawCBezier(&a, x0, 0, x0, 30, x3, 30, x3, 0, kWhite, 1.0f, 0, false, 0);
    vref::CBezier(b, x0, 0, x0, 30, x3, 30, x3, 0, kWhite, 1.0f, 0, false, 0);
    EXPECT_TRUE(a.samePixels(b)) << x0 << " " << x3;
    EXPECT_GE(changed(a).size(), 10u) << x0 << " " << x3;
  }
  // A NaN tolerance is none (points); an infinite one makes every chord a
  // straight piece, as a finite one whose square overflows does.
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const float same[][2] = {{nan, 0}, {inf, 1e30f}};
  for (auto [odd, plain] : same)
  {
    TestBitmap a = blank(20, 20), b = blank(20, 20);
    LICE_DrawQBezier(&a, 1, 1, 30, 10, 2, 18, kWhite, 0.7f, 1, true, odd);
    LICE_DrawQBezier(&b, 1, 1, 30, 10, 2, 18, kWhite, 0.7f, 1, true, plain);
    LICE_DrawCBezier(&a, 1, 18, 10, -5, 15, 25, 18, 2, kWhite, 0.7f, 1, true, odd);
    LICE_DrawCBezier(&b, 1, 18, 10, -5, 15, 25, 18, 2, kWhite, 0.7f, 1, true, plain);
    EXPECT_FALSE(changed(a).empty());
    EXPECT_TRUE(a.samePixels(b)) << odd;
  }
}

TEST(Bezier, SplatAndDirection)
{
  // A curve collapsed to one point splats it three times (both ends and
  // the midpoint): weights 95 and 31 add 23 and 7 per splat.
  TestBitmap bm = blank(10, 10);
  LICE_DrawQBezier(&bm, 2.25f, 3.5f, 2.25f, 3.5f, 2.25f, 3.5f, Px(64, 64, 64, 64), 1.0f, 1, true, 0);
  EXPECT_EQ(PxR(bm.at(2, 3)), 3 * (64 * 95 / 256));
  EXPECT_EQ(PxR(bm.at(2, 4)), 3 * (64 * 95 / 256));
  EXPECT_EQ(PxR(bm.at(3, 3)), 3 * (64 * 31 / 256));
  EXPECT_EQ(PxR(bm.at(3, 4)), 3 * (64 * 31 / 256));

  for (bool aa : {false, true})
  {
    TestBitmap a = blank(40, 30), b = blank(40, 30);
    LICE_DrawQBezier(&a, 2, 3, 30, 28, 37, 5, kWhite, 1.0f, 0, aa, 0);
    LICE_DrawQBezier(&b, 37, 5, 30, 28, 2, 3, kWhite, 1.0f, 0, aa, 0);
    EXPECT_TRUE(a.samePixels(b));
  }
  bm = blank(20, 20);
  LICE_DrawCBezier(&bm, -30, 2, -20, 9, -10, 3, -1, 8, kWhite, 1.0f, 0, false, 0);
  EXPECT_TRUE(changed(bm).empty());
  // Thousands of pixels long: finished with straight pieces at depth 12.
  bm = blank(64, 64);
  LICE_DrawCBezier(&bm, 0, 0, 1e6f, 60, -1e6f, 2, 63, 63, kWhite, 1.0f, 0, true, 0);
  EXPECT_TRUE(bm.guardsIntact());
}

TEST(Circle, MasksAndWeights)
{
  TestBitmap bm = blank(12, 12);
  EXPECT_TRUE(CachedCircle(&bm, 5, 5, 2, kWhite, 1.0f, 0, false));
  EXPECT_EQ(changed(bm), (Pixels{{5, 3}, {4, 4}, {6, 4}, {3, 5}, {7, 5}, {4, 6}, {6, 6}, {5, 7}}));
  EXPECT_FALSE(CachedCircle(&bm, 5, 5, 3.0001f, kWhite, 1.0f, 0, false));

  bm = blank(12, 12);
  LICE_Circle(&bm, 5.7f, 5.2f, 3, Px(255, 255, 255, 255), 1.0f, 1, true); // the 7 x 7 mask at (2, 2)
  // The glyph adds 255 * coverage / 256.
  EXPECT_EQ(PxR(bm.at(2, 5)), 254); // row 3 of the mask: 255 48 0 ...
  EXPECT_EQ(PxR(bm.at(3, 5)), 47);
  EXPECT_EQ(PxR(bm.at(5, 3)), 63); // its transpose holds 64: not symmetric
  EXPECT_EQ(PxR(bm.at(3, 2)), 142);

  // Copy at aa alpha 1.0 weighs 255: white on black gives 254.
  bm = blank(30, 30);
  LICE_Circle(&bm, 15, 15, 9, kWhite, 1.0f, 0, true);
  EXPECT_EQ(bm.at(15, 6), 0xFEFEFEFEu);
  TestBitmap plain = blank(30, 30), srcAlpha = blank(30, 30);
  LICE_Circle(&plain, 15, 15, 9, kWhite, 0.6f, 0, false);
  LICE_Circle(&srcAlpha, 15, 15, 9, kWhite, 0.6f, LICE_BLIT_USE_ALPHA, false);
  EXPECT_TRUE(plain.samePixels(srcAlpha));

  bm = blank(30, 30);
  LICE_Circle(&bm, 15, 15, 9, Px(200, 200, 200, 200), -0.5f, 0, false);
  EXPECT_TRUE(changed(bm).empty());
  bm.fill(Px(100, 100, 100, 100));
  LICE_Circle(&bm, 15, 15, 9, Px(200, 200, 200, 200), -0.5f, 1, false); // weight -127
  EXPECT_EQ(PxR(bm.at(15, 6)), 100 - 200 * 127 / 256);

  bm = blank(10, 10);
  LICE_Circle(&bm, 0.3f, 5, 1, kWhite, 1.0f, 0, false); // left axis point at -0.7 lands in column 0
  EXPECT_EQ(bm.at(0, 5), kWhite);
}

TEST(Circle, HandWalkedRadiusFive)
{
  TestBitmap bm = blank(21, 21);
  LICE_Circle(&bm, 10, 10, 5, Px(0x40, 0x40, 0x40, 0x40), 1.0f, 1, false);
  // Each plot adds 0x40 * 255 / 256 = 63; eight pixels are plotted twice.
  EXPECT_EQ(changed(bm).size(), 28u);
  int twice = 0;
  for (auto [x, y] : changed(bm))
  {
    EXPECT_TRUE(PxR(bm.at(x, y)) == 63 || PxR(bm.at(x, y)) == 126);
    twice += PxR(bm.at(x, y)) == 126;
  }
  EXPECT_EQ(twice, 8);
  for (int sx : {-1, 1})
    for (int sy : {-1, 1})
    {
      EXPECT_EQ(PxR(bm.at(10 + 3 * sx, 10 + 4 * sy)), 126);
      EXPECT_EQ(PxR(bm.at(10 + 4 * sx, 10 + 3 * sy)), 126);
    }

  // Anti-aliased: weights 229 / 25 at x = 1 and 148 / 106 at x = 2.
  TestBitmap aa(21, 21, 21);
  aa.fill(0);
  LICE_Circle(&aa, 10, 10, 5, kWhite, 1.0f, 1, true);
  EXPECT_EQ(PxR(aa.at(11, 14)), 255 * 25 / 256);  // inner, row trunc(cy + y)
  EXPECT_EQ(PxR(aa.at(11, 15)), 255 * 229 / 256); // outer, one row further
  EXPECT_EQ(PxR(aa.at(12, 15)), 255 * 148 / 256);
  EXPECT_EQ(PxR(aa.at(12, 14)), 255 * 106 / 256);
  EXPECT_EQ(PxR(aa.at(10, 15)), 255); // extremes twice at full weight: clamped
  EXPECT_EQ(PxR(aa.at(13, 14)), 255 * 255 / 256);
  EXPECT_EQ(aa.at(14, 14), 0u); // x = 4 is not drawn
}

// Integral centres and radii: every octant mirrors the others. (The
// anti-aliased drawer puts its outer pixels one further on the positive
// side, so only the plain one is symmetric.)
TEST(Circle, IntegralCirclesAreEightFoldSymmetric)
{
  for (int r = 0; r <= 14; ++r)
    for (bool fill : {false, true})
    {
      if (!fill && r >= 2 && r <= 4)
        continue; // the masks
      TestBitmap bm = blank(31, 31);
      if (fill)
        LICE_FillCircle(&bm, 15, 15, float(r), kWhite, 1.0f, 0, false);
      else
        LICE_Circle(&bm, 15, 15, float(r), kWhite, 1.0f, 0, false);
      for (int y = 0; y < 31; ++y)
        for (int x = 0; x < 31; ++x)
        {
          const int u = x - 15, v = y - 15;
          ASSERT_EQ(bm.at(x, y), bm.at(15 - u, y)) << r;
          ASSERT_EQ(bm.at(x, y), bm.at(x, 15 - v)) << r;
          ASSERT_EQ(bm.at(x, y), bm.at(15 + v, 15 + u)) << r;
        }
    }
}

// Each pair of an anti-aliased outline splits the weight 255: outer +
// inner is 255, or 254 after the two truncations. Adding 255 at weight k
// leaves 255 * k / 256 = k - 1.
TEST(Circle, AntiAliasedPairsSumToTheWeight)
{
  for (float r : {5.0f, 7.3f, 12.9f, 20.0f})
  {
    TestBitmap bm(60, 60, 60);
    bm.fill(0);
    LICE_Circle(&bm, 30, 30, r, Px(255, 255, 255, 255), 1.0f, 1, true);
    // Column cx + 1 holds exactly one pair on the lower side.
    const float y = std::sqrt(r * r - 1.0f);
    if (y == std::floor(y))
      continue;
    const int inner = PxR(bm.at(31, int(30 + y))) + 1, outer = PxR(bm.at(31, int((30 + y) + 1))) + 1;
    EXPECT_GE(inner + outer, 254) << r;
    EXPECT_LE(inner + outer, 255) << r;
  }
}

// Opaque anti-aliased discs combine each covered pixel once: the same
// pixels as every plot and span in turn (the fast paths off) and as the
// model, small, large, clipped, at the weight 255 of alpha 1.0 and 1.003,
// with the SSE2 and the AVX2 spans.
TEST(Circle, OpaqueDiscsAsEveryPlotInTurn)
{
  TestRng rng(41);
  for (int i = 0; i < 200; ++i)
  {
    const float r = i < 20 ? float(i) * 0.25f : float(rng.range(0, 9000)) / 100.0f;
    const float cx = float(rng.range(-400, 1000)) / 10.0f, cy = float(rng.range(-300, 800)) / 10.0f;
    const float alpha = i % 3 ? 1.0f : 1.003f;
    LICE_SetAvx2Enabled(i % 2 == 0);
    TestBitmap fast(70, 50, 72), slow(70, 50, 72), model(70, 50, 72);
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 70; ++x)
        fast.at(x, y) = slow.at(x, y) = model.at(x, y) = rng.pixel();
    const LICE_PixelValue c = rng.pixel();
    LICE_FillCircle(&fast, cx, cy, r, c, alpha, 0, true);
    LICE_SetFastPathsEnabled(false);
    LICE_FillCircle(&slow, cx, cy, r, c, alpha, 0, true);
    LICE_SetFastPathsEnabled(true);
    vref::Circle(model, cx, cy, r, c, alpha, 0, true, true);
    EXPECT_TRUE(fast.samePixels(slow)) << i;
    EXPECT_TRUE(fast.samePixels(model)) << i;
    EXPECT_TRUE(fast.guardsIntact()) << i;
  }
  LICE_SetAvx2Enabled(true);
}

TEST(Arc, BoxesFromTheEndPoints)
{
  auto arc = [](float a1, float a2) {
    TestBitmap bm = blank(100, 100);
    LICE_Arc(&bm, 50, 50, 10, a1, a2, kWhite, 1.0f, 0, false);
    return changed(bm);
  };
  TestBitmap full = blank(100, 100);
  LICE_Circle(&full, 50, 50, 10, kWhite, 1.0f, 0, false);
  const Pixels circle = changed(full);
  auto keep = [&](auto pred) {
    Pixels out;
    for (auto p : circle)
      if (pred(p.first, p.second))
        out.insert(p);
    return out;
  };
  EXPECT_EQ(arc(0, 3.1415927f), keep([](int x, int y) { return x >= 50 && y >= 40; }));
  EXPECT_EQ(arc(0.78539816f, 2.3561945f), keep([](int, int y) { return y >= 42 && y <= 56; }));
  EXPECT_EQ(arc(4.712389f, 6.2831855f), keep([](int, int y) { return y >= 40 && y <= 48; }));
  EXPECT_EQ(arc(-1.5707964f, 0), keep([](int x, int y) { return x < 50 && y < 49; }));
  EXPECT_EQ(arc(0, 7), circle);
  // Split at pi and at 0.
  Pixels split = arc(0.5f, 3.1415927f), tail = arc(3.1415927f, 4.0f);
  split.insert(tail.begin(), tail.end());
  EXPECT_EQ(arc(0.5f, 4.0f), split);
}

// Spans between pi and 2pi that the literal split hands on for ever, and
// angles far beyond a turn, end.
TEST(Arc, EveryStartAndEndTerminates)
{
  TestBitmap bm = blank(40, 40);
  const float big = 1e30f;
  const std::pair<float, float> cases[] = {{5, 9},           {-5, -1},           {3.5f, 9.5f}, {-9, -4},
                                           {100, 104},       {-1e7f, -1e7f + 4}, {big, big},   {-big, big},
                                           {1e9f, 1e9f + 5}, {3e8f, -3e8f}};
  for (auto [a1, a2] : cases)
    for (bool aa : {false, true})
      LICE_Arc(&bm, 20, 20, 15, a1, a2, kWhite, 0.5f, 0, aa);
  EXPECT_TRUE(bm.guardsIntact());
  TestBitmap a = blank(40, 40), b = blank(40, 40);
  LICE_Arc(&a, 20, 20, 15, 5, 9, kWhite, 1.0f, 1, false);
  vref::Arc(b, 20, 20, 15, 5, 9, kWhite, 1.0f, 1, false);
  EXPECT_TRUE(a.samePixels(b));
  EXPECT_FALSE(changed(a).empty());
}

TEST(RoundRect, OneClosedOutline)
{
  for (int rad : {3, 8, 100})
    for (bool aa : {false, true})
    {
      TestBitmap bm = blank(80, 80);
      LICE_RoundRect(&bm, 10, 20, 50, 30, rad, kWhite, 1.0f, 0, aa);
      const Pixels px = changed(bm, 0);
      // Every pixel has two or more 8-connected neighbours: no gaps, no ends.
      for (auto [x, y] : px)
      {
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            n += (dx || dy) && px.count({x + dx, y + dy});
        EXPECT_GE(n, 2) << rad << " at " << x << "," << y;
      }
      // And it is connected.
      std::set<std::pair<int, int>> seen{*px.begin()}, todo{*px.begin()};
      while (!todo.empty())
      {
        auto [x, y] = *todo.begin();
        todo.erase(todo.begin());
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            if (px.count({x + dx, y + dy}) && seen.insert({x + dx, y + dy}).second)
              todo.insert({x + dx, y + dy});
      }
      EXPECT_EQ(seen.size(), px.size()) << rad;
      for (auto [x, y] : px)
        EXPECT_TRUE(x >= 10 && x <= 60 && y >= 20 && y <= 50);
    }
  TestBitmap bm = blank(20, 20);
  LICE_RoundRect(&bm, 2, 2, 3, 10, 5, kWhite, 1.0f, 0, true); // rad 1: the plain rectangle
  TestBitmap rect = blank(20, 20);
  LICE_DrawRect(&rect, 2, 2, 3, 10, kWhite, 1.0f, 0);
  EXPECT_TRUE(bm.samePixels(rect));
}

// Lines never leave the box of their (clipped) ends.
TEST(Properties, LinesStayInTheirBox)
{
  TestRng rng(3);
  for (int i = 0; i < 2000; ++i)
  {
    const int x1 = rng.range(-10, 40), y1 = rng.range(-10, 40), x2 = rng.range(-10, 40), y2 = rng.range(-10, 40);
    TestBitmap bm = blank(30, 30);
    LICE_Line(&bm, x1, y1, x2, y2, kWhite, 1.0f, 1, rng.chance(50));
    for (auto [x, y] : changed(bm))
    {
      ASSERT_TRUE(x >= std::min(x1, x2) && x <= std::max(x1, x2) && y >= std::min(y1, y2) && y <= std::max(y1, y2))
        << x1 << "," << y1 << " " << x2 << "," << y2;
    }
  }
}

// NaN, infinities, +-1e30, -0.0 and points just outside the top-left
// corner: every entry point ends, and nothing is written outside.
TEST(Properties, HostileInputEndsAndStaysInside)
{
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  const float vals[] = {nan, inf, -inf, 1e30f, -1e30f, -0.0f, -0.5f, -0.999f, -1.0f, -1.5f, 3.0f, 4194305.0f, 1e7f};
  TestBitmap bm = blank(16, 16);
  TestRng rng(99);
  for (int i = 0; i < 4000; ++i)
  {
    float v[8];
    for (float& f : v)
      f = rng.chance(60) ? vals[rng.range(0, 12)] : float(rng.range(-20, 36)) * 0.5f;
    const float alpha = rng.chance(80) ? 1.0f : vals[rng.range(0, 5)];
    const int mode = rng.range(0, 5);
    const bool aa = rng.chance(50);
    LICE_FLine(&bm, v[0], v[1], v[2], v[3], kWhite, alpha, mode, aa);
    LICE_DrawQBezier(&bm, v[0], v[1], v[2], v[3], v[4], v[5], kWhite, alpha, mode, aa, v[6]);
    LICE_DrawCBezier(&bm, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], kWhite, alpha, mode, aa, v[7]);
    LICE_Circle(&bm, v[0], v[1], v[2], kWhite, alpha, mode, aa);
    LICE_FillCircle(&bm, v[3], v[4], std::fmin(std::fabs(v[5]), 40.0f), kWhite, alpha, mode, aa);
    LICE_Arc(&bm, v[0], v[1], std::fmin(std::fabs(v[2]), 40.0f), v[3], v[4], kWhite, alpha, mode, aa);
    LICE_RoundRect(&bm, v[0], v[1], v[2], v[3], rng.range(-3, 20), kWhite, alpha, mode, aa);
    LICE_CBezier_GetY(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[0], nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(bm.guardsIntact()) << i;
  }
  // A giant circle or arc off the bitmap costs nothing; one above the cap
  // draws nothing.
  LICE_Circle(&bm, 1e9f, 1e9f, 4e6f, kWhite, 1.0f, 0, true);
  LICE_Arc(&bm, -1e9f, 5, 4e6f, 0, 1, kWhite, 1.0f, 0, true);
  TestBitmap clean = blank(16, 16);
  LICE_Circle(&clean, 8, 8, 5e6f, kWhite, 1.0f, 0, false);
  LICE_Circle(&clean, 8, 8, -3, kWhite, 1.0f, 0, false);
  EXPECT_TRUE(changed(clean).empty());
  // A null bitmap draws nothing everywhere.
  LICE_Line(nullptr, 0, 0, 5, 5, kWhite, 1.0f, 0, true);
  LICE_FLine(nullptr, 0, 0, 5, 5, kWhite, 1.0f, 0, true);
  LICE_DashedLine(nullptr, 0, 0, 5, 0, 1, 1, kWhite, 1.0f, 0, false);
  LICE_DrawRect(nullptr, 0, 0, 5, 5, kWhite, 1.0f, 0);
  LICE_BorderedRect(nullptr, 0, 0, 5, 5, kWhite, kWhite, 1.0f, 0);
  LICE_FillTriangle(nullptr, 0, 0, 5, 0, 0, 5, kWhite, 1.0f, 0);
  LICE_DrawQBezier(nullptr, 0, 0, 1, 1, 5, 5, kWhite, 1.0f, 0, true, 0);
  LICE_DrawCBezier(nullptr, 0, 0, 1, 1, 2, 2, 5, 5, kWhite, 1.0f, 0, true, 0);
  LICE_Circle(nullptr, 5, 5, 3, kWhite, 1.0f, 0, true);
  LICE_Circle(nullptr, 5, 5, 7, kWhite, 1.0f, 0, true);
  LICE_FillCircle(nullptr, 5, 5, 3, kWhite, 1.0f, 0, true);
  LICE_Arc(nullptr, 5, 5, 3, 0, 1, kWhite, 1.0f, 0, true);
  LICE_RoundRect(nullptr, 0, 0, 10, 10, 3, kWhite, 1.0f, 0, true);
}

} // namespace
