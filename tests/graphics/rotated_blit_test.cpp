// Rotated, delta and transform blits: the rotation's set-up against the
// unscaled blit and by hand, the delta walk, and the mesh against one
// delta blit.

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "tests/graphics/lice_reference.h"

namespace
{

LICE_PixelValue tag(int x, int y)
{
  return Px(255, x & 255, y & 255, ((x >> 8) & 255) ^ 0x55);
}

void paintTags(TestBitmap& b)
{
  for (int y = 0; y < b.getHeight(); ++y)
    for (int x = 0; x < b.getWidth(); ++x)
      b.at(x, y) = tag(x, y);
}

constexpr LICE_PixelValue kBg = Px(1, 2, 3, 4);
constexpr double kPi = 3.14159265358979323846;

TEST(RotatedBlit, AngleZeroAtEqualSizeEqualsTheBlit)
{
  for (int mode : {0, LICE_BLIT_FILTER_BILINEAR, LICE_BLIT_FILTER_BILINEAR | LICE_BLIT_USE_ALPHA | 1})
  {
    TestBitmap src(7, 5, 9, true), a(9, 8, 9), b(9, 8, 9);
    paintTags(src);
    a.fill(kBg);
    b.fill(kBg);
    LICE_RotatedBlit(&a, &src, 1, 2, 7, 5, 0, 0, 7, 5, 0.0f, true, 0.8f, mode, 0, 0);
    LICE_Blit(&b, &src, 1, 2, 0, 0, 7, 5, 0.8f, mode);
    EXPECT_TRUE(a.samePixels(b)) << "mode " << mode;
  }
}

// The quarter turn is not a permutation of the pixels. The walk starts
// one row below the source, so each row's first pixel stays untouched and
// source row 0 is never drawn; and sin(float(pi / 2)) is just below 1, so
// the 16.16 row step truncates to 65535: rows 0 and 1 both sample column 0
// and the last column is never drawn.
TEST(RotatedBlit, QuarterTurnFollowsTheTruncatedSteps)
{
  const int n = 4;
  TestBitmap src(n, n, n), dest(n, n, n);
  paintTags(src);
  dest.fill(kBg);
  LICE_RotatedBlit(&dest, &src, 0, 0, n, n, 0, 0, n, n, float(kPi / 2), false, 1.0f, 0, 0, 0);
  for (int r = 0; r < n; ++r)
  {
    EXPECT_EQ(dest.at(0, r), kBg);
    for (int i = 1; i < n; ++i)
      EXPECT_EQ(dest.at(i, r), tag(r * 65535 / 65536, n - i)) << i << "," << r;
  }
}

TEST(RotatedBlit, CentreOffsetMovesTheSample)
{
  TestBitmap src(4, 20, 4), dest(4, 4, 4);
  paintTags(src);
  LICE_RotatedBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 4, 4, 0.0f, false, 1.0f, 0, 0.0f, 10.0f);
  EXPECT_EQ(dest.at(2, 1), tag(2, 11));
}

TEST(RotatedBlit, KeepInSourceRectKeepsNeighboursOut)
{
  TestBitmap src(6, 6, 6), dest(2, 2, 2);
  paintTags(src);
  dest.fill(kBg);
  LICE_RotatedBlit(&dest, &src, 0, 0, 2, 2, 1, 1, 2, 2, 0.0f, false, 1.0f, 0, 1.0f, 0.0f);
  EXPECT_EQ(dest.at(1, 0), tag(3, 1));
  dest.fill(kBg);
  LICE_RotatedBlit(&dest, &src, 0, 0, 2, 2, 1, 1, 2, 2, 0.0f, true, 1.0f, 0, 1.0f, 0.0f);
  EXPECT_EQ(dest.at(0, 0), tag(2, 1));
  EXPECT_EQ(dest.at(1, 0), kBg);
}

TEST(RotatedBlit, NonFiniteArgumentsDrawNothing)
{
  TestBitmap src(4, 4, 4), dest(4, 4, 4);
  paintTags(src);
  dest.fill(kBg);
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  LICE_RotatedBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 4, 4, nan, false, 1.0f, 0, 0, 0);
  LICE_RotatedBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 4, 4, inf, false, 1.0f, 0, 0, 0);
  LICE_RotatedBlit(&dest, &src, 0, 0, 4, 4, nan, 0, 4, 4, 0.5f, false, 1.0f, 0, 0, 0);
  LICE_RotatedBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 4, 4, 0.5f, false, 1.0f, 0, inf, 0);
  LICE_RotatedBlit(&dest, &src, 0, 0, 4, 4, 0, 0, 3e38f, 3e38f, 0.5f, false, 1.0f, LICE_BLIT_FILTER_BILINEAR, 0, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dest.at(x, y), kBg);
}

TEST(RotatedBlit, SourcesWiderThan32768PixelsSampleCorrectly)
{
  const int w = 40000;
  TestBitmap src(w, 2, w), dest(3, 2, 3);
  paintTags(src);
  LICE_RotatedBlit(&dest, &src, 0, 0, 3, 2, 39990, 0, 3, 2, 0.0f, true, 1.0f, LICE_BLIT_FILTER_BILINEAR, 0, 0);
  EXPECT_EQ(dest.at(0, 0), tag(39990, 0));
  EXPECT_EQ(dest.at(2, 1), tag(39992, 1));
}

TEST(DeltaBlit, UnitStepsCopyAndMirroringReadsPastTheRectangle)
{
  TestBitmap src(6, 3, 6), dest(4, 3, 4);
  paintTags(src);
  dest.fill(kBg);
  LICE_DeltaBlit(&dest, &src, 0, 0, 4, 3, 1, 0, 4, 3, 1, 0, 0, 1, 0, 0, true, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 0), tag(1, 0));
  EXPECT_EQ(dest.at(3, 2), tag(4, 2));
  // Mirrored: the walk starts at src_x + src_w = 5, outside the kept
  // rectangle [1, 5), and moves right.
  dest.fill(kBg);
  LICE_DeltaBlit(&dest, &src, 4, 0, -4, 3, 1, 0, 4, 3, 1, 0, 0, 1, 0, 0, true, 1.0f, 0);
  for (int x = 0; x < 4; ++x)
    EXPECT_EQ(dest.at(x, 0), kBg);
  // Without keeping, it reads on into the rest of the source.
  LICE_DeltaBlit(&dest, &src, 4, 0, -4, 3, 1, 0, 4, 3, 1, 0, 0, 1, 0, 0, false, 1.0f, 0);
  EXPECT_EQ(dest.at(0, 0), tag(5, 0));
  EXPECT_EQ(dest.at(1, 0), kBg);
}

TEST(DeltaBlit, AnEmptyKeptRectangleDrawsNothing)
{
  // A rectangle left of the source leaves right = -10; a last-column test
  // against it must not read column -11.
  TestBitmap src(4, 4, 4), dest(4, 4, 4);
  paintTags(src);
  dest.fill(kBg);
  LICE_DeltaBlit(&dest, &src, 0, 0, 4, 4, -20, 0, 10, 4, -1, 0, 0, 1, 0, 0, true, 1.0f, LICE_BLIT_FILTER_BILINEAR);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dest.at(x, y), kBg);
}

// Points of an affine map: x = 1 + 2 * column, y = 2 + 0.5 * row, spaced by
// whole destination cells, so each cell's steps equal the global ones.
TEST(TransformBlit, RegularMeshEqualsOneDeltaBlit)
{
  for (int mode : {0, LICE_BLIT_FILTER_BILINEAR})
  {
    TestBitmap src(20, 8, 20), a(9, 9, 9), b(9, 9, 9);
    paintTags(src);
    a.fill(kBg);
    b.fill(kBg);
    std::vector<float> mesh;
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c)
        mesh.insert(mesh.end(), {1.0f + 8.0f * float(c), 2.0f + 2.0f * float(r)});
    LICE_TransformBlit(&a, &src, 0, 0, 8, 8, mesh.data(), 3, 3, 0.9f, mode);
    LICE_DeltaBlit(&b, &src, 0, 0, 8, 8, 1, 2, 0, 0, 2, 0, 0, 0.5, 0, 0, false, 0.9f, mode);
    EXPECT_TRUE(a.samePixels(b)) << "mode " << mode;
  }
}

TEST(TransformBlit, DegenerateMeshesDrawNothing)
{
  TestBitmap src(4, 4, 4), dest(4, 4, 4);
  paintTags(src);
  dest.fill(kBg);
  float mesh[8] = {0, 0, 4, 0, 0, 4, 4, 4};
  LICE_TransformBlit(&dest, &src, 0, 0, 4, 4, mesh, 1, 4, 1.0f, 0);
  LICE_TransformBlit(&dest, &src, 0, 0, 4, 4, nullptr, 2, 2, 1.0f, 0);
  mesh[6] = std::numeric_limits<float>::quiet_NaN();
  LICE_TransformBlit(&dest, &src, 0, 0, 4, 4, mesh, 2, 2, 1.0f, 0);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dest.at(x, y), kBg);
  // A 2 x 2 mesh of the source's corners scales it into the destination.
  mesh[6] = 4;
  LICE_TransformBlit(&dest, &src, 0, 0, 2, 2, mesh, 2, 2, 1.0f, 0);
  EXPECT_EQ(dest.at(1, 1), tag(2, 2));
}

} // namespace
