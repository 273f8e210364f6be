// Scaled blit: the one-to-one hand-off, mirroring, clipping, the filters'
// edge rules, the filter-down kernel, and arguments beyond 32-bit fixed
// point or beyond the finite.

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "graphics/lice_fastpath.h"
#include "graphics/lice_sample_blit.h"
#include "graphics/lice_simd.h"
#include "tests/graphics/lice_reference.h"

namespace
{

// A pixel that names its position: R, G and the low half of B hold x, the
// high half of B holds y.
LICE_PixelValue tag(int x, int y)
{
  return Px(255, x & 255, (x >> 8) & 255, ((x >> 16) & 15) | (y & 15) << 4);
}

void paintTags(TestBitmap& b)
{
  for (int y = 0; y < b.getHeight(); ++y)
    for (int x = 0; x < b.getWidth(); ++x)
      b.at(x, y) = tag(x, y);
}

constexpr LICE_PixelValue kBg = Px(1, 2, 3, 4);
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(ScaledBlitOneToOne, UnfilteredGoesToTheBlitAtTheRoundedPosition)
{
  TestBitmap src(8, 8, 8), a(6, 6, 6), b(6, 6, 6);
  paintTags(src);
  a.fill(kBg);
  b.fill(kBg);
  LICE_ScaledBlit(&a, &src, 1, 1, 4, 4, 2.4f, 1.6f, 4.0f, 4.0f, 0.7f, LICE_BLIT_MODE_ADD);
  LICE_Blit(&b, &src, 1, 1, 2, 2, 4, 4, 0.7f, LICE_BLIT_MODE_ADD);
  EXPECT_TRUE(a.samePixels(b));
}

TEST(ScaledBlitOneToOne, FilteredOnlyNearAWholePixel)
{
  TestBitmap src(8, 1, 8), dest(2, 1, 2);
  paintTags(src);
  LICE_ScaledBlit(&dest, &src, 0, 0, 2, 1, 3.02f, 0, 2, 1, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(dest.at(0, 0), tag(3, 0));
  // Half way: the bilinear loop averages columns 3 and 4 (last row: a
  // horizontal blend with fx = 32768).
  LICE_ScaledBlit(&dest, &src, 0, 0, 2, 1, 3.5f, 0, 2, 1, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(PxR(dest.at(0, 0)), (3 * 32768 + 4 * 32768) / 65536);
  EXPECT_EQ(PxR(dest.at(1, 0)), (4 * 32768 + 5 * 32768) / 65536);
  // At exactly 0.03f off on either axis: below the double 0.03, so still
  // the unscaled blit (filtered, pixel 0 would blend in 1966 / 65536 of its
  // neighbour).
  for (bool vertical : {false, true})
  {
    TestBitmap s(2, 2, 2), a(2, 2, 2), b(2, 2, 2);
    s.fill(Px(0, 0, 0, 0));
    s.at(1, 1) = Px(255, 255, 255, 255);
    a.fill(kBg);
    b.fill(kBg);
    LICE_ScaledBlit(&a, &s, 0, 0, 2, 2, vertical ? 0 : 0.03f, vertical ? 0.03f : 0, 2, 2, 1.0f,
                    LICE_BLIT_FILTER_BILINEAR);
    LICE_Blit(&b, &s, 0, 0, 0, 0, 2, 2, 1.0f, 0);
    EXPECT_TRUE(a.samePixels(b)) << "vertical " << vertical;
  }
}

TEST(ScaledBlitFilter, EnlargingBlendsOnlyInsideTheClip)
{
  TestBitmap src(2, 2, 2), dest(4, 4, 4);
  src.at(0, 0) = Px(0, 0, 0, 0);
  src.at(1, 0) = Px(100, 100, 100, 100);
  src.at(0, 1) = Px(200, 200, 200, 200);
  src.at(1, 1) = Px(40, 40, 40, 40);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 2, 2, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  // (1, 1) samples (0.5, 0.5): the four corners at a quarter each.
  EXPECT_EQ(PxR(dest.at(1, 1)), (0 + 100 + 200 + 40) / 4);
  // Column 2 samples x = 1, the last clip column: vertical blend only.
  EXPECT_EQ(PxR(dest.at(2, 1)), (100 + 40) / 2);
  // Row 2 samples y = 1, the last row: horizontal blend only.
  EXPECT_EQ(PxR(dest.at(1, 2)), (200 + 40) / 2);
  EXPECT_EQ(dest.at(3, 3), src.at(1, 1));
}

TEST(ScaledBlitFilter, OnePixelSourceFillsTheDestination)
{
  TestBitmap src(1, 1, 1), dest(3, 3, 3);
  src.at(0, 0) = Px(9, 8, 7, 6);
  LICE_ScaledBlit(&dest, &src, 0, 0, 3, 3, 0, 0, 1, 1, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(dest.at(x, y), Px(9, 8, 7, 6));
}

// A ramp 0, 200 sampled every half pixel from -0.5, along either axis, by
// the scaled and the delta blit, fast paths on and off. Position -0.5
// truncates to pixel 0 with a fraction of -32768 (or 32768 wrapped); held at
// 0 it reads pixel 0 as it is, so the ramp stays monotonic.
TEST(ScaledBlitFilter, PositionsBetweenMinusOneAndZeroReadTheEdgeAsItIs)
{
  for (int c = 0; c < 8; ++c)
  {
    const bool vertical = c & 1, delta = c & 2;
    TestBitmap src(vertical ? 1 : 2, vertical ? 2 : 1, 2), dest(4, 4, 4);
    src.at(0, 0) = Px(0, 0, 0, 0);
    src.at(vertical ? 0 : 1, vertical ? 1 : 0) = Px(200, 200, 200, 200);
    const float sx = vertical ? 0 : -0.5f, sy = vertical ? -0.5f : 0;
    LICE_SetFastPathsEnabled(c & 4);
    if (delta) // along the first row
      LICE_DeltaBlit(&dest, &src, 0, 0, 4, 1, sx, sy, 1, 1, vertical ? 0 : 0.5, vertical ? 0.5 : 0, 0, 1, 0, 0, false,
                     1.0f, LICE_BLIT_FILTER_BILINEAR);
    else // along the first row or column
      LICE_ScaledBlit(&dest, &src, 0, 0, vertical ? 1 : 4, vertical ? 4 : 1, sx, sy, vertical ? 1 : 2, vertical ? 2 : 1,
                      1.0f, LICE_BLIT_FILTER_BILINEAR);
    LICE_SetFastPathsEnabled(true);
    const int want[4] = {0, 0, 100, 200};
    for (int i = 0; i < 4; ++i)
    {
      const LICE_PixelValue got = vertical && !delta ? dest.at(0, i) : dest.at(i, 0);
      EXPECT_EQ(got, Px(want[i], want[i], want[i], want[i])) << "case " << c << " pixel " << i;
    }
  }
}

// The fast paths of filtered scaling against the generic loop: the editor's
// opaque bilinear copy in its AVX2 and SSE2 builds, and (every other case)
// shrinking by 1.7 or more through any operator. Random sources and
// geometry: enlarged, shrunk, mirrored, from (-1, 0), wide enough for whole
// groups and kernels.
TEST(ScaledBlitFilter, FastPathsMatchTheGenericLoop)
{
  for (int it = 0; it < 400; ++it)
  {
    TestRng rng{uint64_t(it)};
    TestBitmap src(rng.range(1, 60), rng.range(1, 30), 64, rng.chance(30));
    const int W = src.getWidth(), H = src.getHeight();
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        src.at(x, y) = rng.pixel();
    const bool down = it % 2;
    const int dx = rng.range(-20, 20), dy = rng.range(-8, 8), dw = rng.range(-150, 150), dh = rng.range(-50, 50);
    const float sx = float(rng.range(-16, 8 * W)) / 8, sy = float(rng.range(-16, 8 * H)) / 8;
    const float f = float(rng.range(17, 50)) / 10;
    const float sw = down ? float(dw) * f / 4 : float(rng.range(-12 * W, 12 * W)) / 8;
    const float sh = down ? float(dh) * f / 4 : float(rng.range(-12 * H, 12 * H)) / 8;
    const int mode =
      LICE_BLIT_FILTER_BILINEAR | (down ? rng.range(0, 5) | (rng.chance(50) ? LICE_BLIT_USE_ALPHA : 0) : 0);
    const float alpha = down && rng.chance(50) ? 0.6f : 1.0f;
    TestBitmap out[3] = {{130, 45, 131}, {130, 45, 131}, {130, 45, 131}};
    for (int k = 0; k < 3; ++k)
    {
      out[k].fill(kBg);
      LICE_SetAvx2Enabled(k == 0);
      LICE_SetFastPathsEnabled(k < 2);
      LICE_ScaledBlit(&out[k], &src, dx, dy, down ? dw / 4 : dw, down ? dh / 4 : dh, sx, sy, sw, sh, alpha, mode);
    }
    LICE_SetAvx2Enabled(true);
    LICE_SetFastPathsEnabled(true);
    EXPECT_TRUE(out[0].samePixels(out[2]) && out[1].samePixels(out[2])) << "case " << it;
    EXPECT_TRUE(out[0].guardsIntact() && out[1].guardsIntact()) << "case " << it;
  }
}

TEST(ScaledBlitFilter, FilterDownKernelWeights)
{
  const LICE_FilterKernel k17(1.7), k2(2.0), k3(3.0), k35(3.5), k4(4.0);
  EXPECT_EQ(k17.n, 3);
  EXPECT_EQ(k17.w[1][1], 65536);
  EXPECT_EQ(k17.w[0][1], 45875);
  EXPECT_EQ(k17.w[0][0], 32438);
  EXPECT_EQ(k2.w[1][0], 65536);
  EXPECT_EQ(k2.w[2][2], 46340);
  EXPECT_EQ(k3.n, 3);
  EXPECT_EQ(k3.w[0][0], 65536);
  EXPECT_EQ(k4.n, 5);
  EXPECT_EQ(k4.w[0][0], 65536);
  EXPECT_EQ(k35.w[0][0], 57926);
  EXPECT_EQ(k35.w[0][4], 57926);
  EXPECT_EQ(k35.w[0][1], 65536);
  EXPECT_EQ(k17.total, 65536 + 4 * 45875 + 4 * 32438);
  EXPECT_EQ(k4.total, 25 * 65536);
  // The kernel totals' division by multiplication against the plain one, at
  // the quotients' edges up to the largest sum (255 times the total).
  for (uint32_t d : {1u, 3u, 65536u, uint32_t(k17.total), uint32_t(k35.total), 25u * 65536, 1u << 21})
  {
    const LICE_ExactDivider div(d);
    for (uint32_t q : {0u, 1u, 2u, 127u, 254u, 255u, (1u << 30) / d - 1})
      for (uint32_t n : {q * d, q * d + d - 1, q * d + d / 2})
        EXPECT_TRUE(n >= (1u << 30) || div(n) == n / d) << n << " / " << d;
  }
}

TEST(ScaledBlitClip, NegativeWidthMirrorsAndItsFirstColumnSamplesTheEdge)
{
  TestBitmap src(4, 1, 4), dest(4, 1, 4);
  paintTags(src);
  dest.fill(kBg);
  LICE_ScaledBlit(&dest, &src, 4, 0, -4, 1, 0, 0, 4, 1, 1.0f, 0);
  // Column i samples 4 - i; column 0 samples x = 4, outside the source.
  EXPECT_EQ(dest.at(0, 0), kBg);
  EXPECT_EQ(dest.at(1, 0), tag(3, 0));
  EXPECT_EQ(dest.at(3, 0), tag(1, 0));
}

TEST(ScaledBlitClip, NegativeDestinationSkipsAlongTheSource)
{
  TestBitmap src(200, 1, 200), dest(10, 1, 10);
  paintTags(src);
  LICE_ScaledBlit(&dest, &src, -50, 0, 100, 1, 0, 0, 200, 1, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 0), tag(100, 0));
  EXPECT_EQ(dest.at(9, 0), tag(118, 0));
}

TEST(ScaledBlitModes, HalfAlphaCopyIsAShiftMixOnlyWithoutFilterBits)
{
  TestBitmap src(2, 1, 2), dest(4, 1, 4);
  src.fill(Px(255, 255, 255, 255));
  dest.fill(Px(255, 255, 255, 255));
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 0, 0, 2, 1, 0.5f, 0);
  EXPECT_EQ(dest.at(0, 0), Px(254, 254, 254, 254));
  dest.fill(Px(255, 255, 255, 255));
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 0, 0, 2, 1, 0.5f, 0x200); // another filter value: weighted copy
  EXPECT_EQ(dest.at(0, 0), Px(255, 255, 255, 255));
}

TEST(ScaledBlitModes, SelectorsOutsideTheTableDrawNothing)
{
  TestBitmap src(2, 2, 2), dest(4, 4, 4);
  paintTags(src);
  dest.fill(kBg);
  for (int mode : {6, 0x10006, 0xF4, 0x1FF})
    LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 2, 2, 1.0f, mode);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 2, 2, -0.5f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dest.at(x, y), kBg);
}

TEST(ScaledBlitRange, SourcesWiderThan32768PixelsSampleCorrectly)
{
  // 32-bit 16.16 positions wrap at 32768; these start at 65536.
  const int w = 70000;
  TestBitmap src(w, 1, w), dest(4, 1, 4);
  paintTags(src);
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 65536.0f, 0, 8, 1, 1.0f, 0);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(dest.at(i, 0), tag(65536 + 2 * i, 0));
  LICE_ScaledBlit(&dest, &src, 0, 0, 4, 1, 69990.0f, 0, 8, 1, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_EQ(dest.at(0, 0), tag(69990, 0));
}

TEST(ScaledBlitRange, NonFiniteAndHugeArgumentsDrawNothing)
{
  TestBitmap src(4, 4, 4), dest(4, 4, 4);
  paintTags(src);
  dest.fill(kBg);
  for (int mode : {0, LICE_BLIT_FILTER_BILINEAR})
  {
    LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, kNaN, 0, 2, 2, 1.0f, mode);
    LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, kInf, 2, 2, 1.0f, mode);
    LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, kNaN, 2, 1.0f, mode);
    LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 2, -kInf, 1.0f, mode);
    LICE_ScaledBlit(&dest, &src, 0, 0, 4, 4, 1e30f, 1e30f, 2, 2, 1.0f, mode);
    LICE_ScaledBlit(&dest, &src, -2000000000, 0, 4, 4, 0, 0, 3e38f, 2, 1.0f, mode);
    // Steps of 1e38 pixels lie beyond what positions hold.
    LICE_ScaledBlit(&dest, &src, 0, 0, 3, 3, 0, 0, 3e38f, 3e38f, 1.0f, mode);
  }
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dest.at(x, y), kBg);
  // Edges at the int limits mirror and clip without wrapping.
  LICE_ScaledBlit(&dest, &src, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0, 0, 4, 4, 1.0f, 0);
  LICE_ScaledBlit(&dest, &src, INT_MAX, 0, INT_MAX, 4, 0, 0, 4, 4, 1.0f, 0);
  EXPECT_TRUE(dest.guardsIntact());
}

TEST(ScaledBlitSelf, OntoItselfReadsThePictureAsItWas)
{
  TestBitmap a(9, 7, 11), model(9, 7, 11);
  paintTags(a);
  paintTags(model);
  LICE_ScaledBlit(&a, &a, 1, 1, 8, 6, 0, 0, 5.5f, 4.5f, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  ref::ScaledBlit(model, model, 1, 1, 8, 6, 0, 0, 5.5f, 4.5f, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  EXPECT_TRUE(a.samePixels(model));
  EXPECT_TRUE(a.guardsIntact());
}

} // namespace
