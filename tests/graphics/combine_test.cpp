// Combine operators against hand-computed pixels.

#include <gtest/gtest.h>

#include "graphics/lice_blit_rows.h"
#include "graphics/lice_combine.h"
#include "graphics/lice_fastpath.h"
#include "tests/graphics/lice_test_support.h"

namespace
{

// Runs operator C on destination d with source s at weight w.
template <class C>
LICE_PixelValue apply(LICE_PixelValue d, LICE_PixelValue s, int w)
{
  C::doPix(reinterpret_cast<unsigned char*>(&d), PxR(s), PxG(s), PxB(s), PxA(s), w);
  return d;
}

// One channel: d and s in every channel, result of the R channel.
template <class C>
int chan(int d, int s, int w)
{
  return PxR(apply<C>(Px(d, d, d, d), Px(s, s, s, s), w));
}

TEST(CombineTable, ReciprocalEntries)
{
  EXPECT_EQ(_LICE_RGB2HSV_invtab[0], 0);
  EXPECT_EQ(_LICE_RGB2HSV_invtab[1], 65535);
  EXPECT_EQ(_LICE_RGB2HSV_invtab[2], 32767);
  EXPECT_EQ(_LICE_RGB2HSV_invtab[3], 21844);
  EXPECT_EQ(_LICE_RGB2HSV_invtab[200], 326);
  EXPECT_EQ(_LICE_RGB2HSV_invtab[255], 256);
}

TEST(CombineCopy, WeightsAndClamps)
{
  using C = _LICE_CombinePixelsCopy;
  EXPECT_EQ(chan<C>(100, 200, 128), 150);
  EXPECT_EQ(chan<C>(100, 200, 64), 125); // (100*192 + 200*64) / 256
  EXPECT_EQ(chan<C>(100, 200, 256), 200);
  EXPECT_EQ(chan<C>(100, 200, 0), 100);
  EXPECT_EQ(chan<C>(100, 200, 512), 255); // 300 clamps high
  EXPECT_EQ(chan<C>(200, 50, 512), 0);    // -100 clamps low
  EXPECT_EQ(apply<C>(Px(10, 20, 30, 40), Px(250, 240, 230, 220), 256), Px(250, 240, 230, 220));
}

TEST(CombineAdd, TruncatesTowardZero)
{
  using C = _LICE_CombinePixelsAdd;
  EXPECT_EQ(chan<C>(100, 200, 128), 200);
  EXPECT_EQ(chan<C>(100, 200, 256), 255);
  EXPECT_EQ(chan<C>(10, 3, -100), 9); // -300/256 is -1, not -2
  EXPECT_EQ(chan<C>(10, 255, -256), 0);
}

TEST(CombineColorDodge, DivisorAndItsFloor)
{
  using C = _LICE_CombinePixelsColorDodge;
  EXPECT_EQ(chan<C>(100, 128, 256), 200); // k = 128
  EXPECT_EQ(chan<C>(100, 200, 128), 164); // k = 156
  EXPECT_EQ(chan<C>(1, 254, 256), 128);   // k = 2
  EXPECT_EQ(chan<C>(2, 254, 256), 255);
  EXPECT_EQ(chan<C>(1, 255, 256), 255); // k = 1: d * 256
  EXPECT_EQ(chan<C>(0, 255, 256), 0);
}

TEST(CombineMul, WhiteAtFullWeightLosesOne)
{
  using C = _LICE_CombinePixelsMul;
  EXPECT_EQ(chan<C>(255, 255, 256), 254);
  EXPECT_EQ(chan<C>(200, 100, 256), 78);
  EXPECT_EQ(chan<C>(200, 100, 128), 139);
  EXPECT_EQ(chan<C>(200, 255, 65536), 0); // factor 0 at the weight limit
}

TEST(CombineOverlay, MidGreyIsNeutral)
{
  using C = _LICE_CombinePixelsOverlay;
  for (int d = 0; d < 256; ++d)
    ASSERT_EQ(chan<C>(d, 128, 256), d) << d;
  EXPECT_EQ(chan<C>(100, 200, 256), 134);
  EXPECT_EQ(chan<C>(100, 0, 256), 39);
  EXPECT_EQ(chan<C>(100, 200, 128), 117);
  // Large weights stay within the arithmetic: (1, 129) at 65536 is 2.
  EXPECT_EQ(chan<C>(1, 129, 65536), 2);
}

TEST(CombineSimple, ClobberHalfMixAndMakePixel)
{
  EXPECT_EQ(apply<_LICE_CombinePixelsClobber>(Px(1, 2, 3, 4), Px(9, 8, 7, 6), 0), Px(9, 8, 7, 6));
  EXPECT_EQ(apply<_LICE_CombinePixelsHalfMix>(Px(255, 0, 101, 255), Px(255, 255, 100, 254), 0), Px(255, 127, 100, 254));
  LICE_PixelValue p = 0;
  _LICE_MakePixel(reinterpret_cast<unsigned char*>(&p), 300, -5, 128, 77);
  EXPECT_EQ(p, Px(77, 255, 0, 128));
}

TEST(CombineSourceAlpha, SkipsTransparentSourcesWhereSpecified)
{
  const LICE_PixelValue d = Px(100, 100, 100, 100), clear = Px(0, 200, 200, 200);
  EXPECT_EQ(apply<_LICE_CombinePixelsCopySourceAlpha>(d, clear, 256), d);
  EXPECT_EQ(apply<_LICE_CombinePixelsAddSourceAlpha>(d, clear, 256), d);
  EXPECT_EQ(apply<_LICE_CombinePixelsMulSourceAlpha>(d, clear, 256), d);
  EXPECT_EQ(apply<_LICE_CombinePixelsCopySourceAlphaIngoreAlphaParm>(d, clear, 256), d);
  // Overlay, dodge and HSV still weigh a = 0 with alpha / 256.
  EXPECT_EQ(apply<_LICE_CombinePixelsOverlaySourceAlpha>(d, Px(0, 0, 0, 0), 256), Px(99, 99, 99, 99));
  EXPECT_EQ(PxR(apply<_LICE_CombinePixelsColorDodgeSourceAlpha>(d, Px(0, 200, 0, 0), 1024)), 101);
  EXPECT_NE(apply<_LICE_CombinePixelsHSVAdjustSourceAlpha>(Px(9, 255, 0, 0), Px(0, 255, 128, 128), 2560),
            Px(9, 255, 0, 0));
}

TEST(CombineSourceAlpha, WeightFollowsSourceAlpha)
{
  const LICE_PixelValue s = Px(128, 200, 0, 0), d = Px(0, 0, 0, 0);
  // w = 129 * 256 / 256 = 129
  EXPECT_EQ(apply<_LICE_CombinePixelsCopySourceAlpha>(d, s, 256), Px(64, 100, 0, 0));
  // w = 129 * 128 / 256 = 64
  EXPECT_EQ(apply<_LICE_CombinePixelsCopySourceAlpha>(d, s, 128), Px(32, 50, 0, 0));
  // Add with w = 256 at a = 255.
  EXPECT_EQ(apply<_LICE_CombinePixelsAddSourceAlpha>(Px(10, 10, 10, 10), Px(255, 20, 30, 250), 256),
            Px(255, 30, 40, 255));
}

TEST(CombineSourceAlpha, IgnoringAlphaParameterAccumulatesCoverage)
{
  using C = _LICE_CombinePixelsCopySourceAlphaIngoreAlphaParm;
  // A = 129 * 129 / 256 = 65, R = 200 * 129 / 256 = 100, whatever the weight.
  EXPECT_EQ(apply<C>(Px(0, 0, 0, 0), Px(128, 200, 0, 0), 3), Px(65, 100, 0, 0));
  EXPECT_EQ(apply<C>(Px(10, 1, 2, 3), Px(255, 200, 100, 50), 0), Px(255, 200, 100, 50));
  // A over an opaque destination stays 255: (255 * 127 + 129 * 129) / 256.
  EXPECT_EQ(PxA(apply<C>(Px(255, 0, 0, 0), Px(128, 0, 0, 0), 0)), 191);
}

// HSV: each sector by a pixel from it, hand-converted both ways.
TEST(CombineHSV, NeutralOffsetsRoundTripEachSector)
{
  using C = _LICE_CombinePixelsHSVAdjust;
  const LICE_PixelValue neutral = Px(77, 128, 128, 128);
  EXPECT_EQ(apply<C>(Px(255, 255, 0, 0), neutral, 256), Px(77, 255, 0, 0));
  EXPECT_EQ(apply<C>(Px(0, 200, 100, 0), neutral, 256), Px(77, 200, 97, 1));  // H 31
  EXPECT_EQ(apply<C>(Px(0, 100, 200, 0), neutral, 256), Px(77, 97, 200, 1));  // H 97
  EXPECT_EQ(apply<C>(Px(0, 0, 200, 100), neutral, 256), Px(77, 1, 200, 97));  // H 159
  EXPECT_EQ(apply<C>(Px(0, 0, 100, 200), neutral, 256), Px(77, 1, 97, 200));  // H 225
  EXPECT_EQ(apply<C>(Px(0, 100, 0, 200), neutral, 256), Px(77, 97, 1, 200));  // H 287
  EXPECT_EQ(apply<C>(Px(0, 200, 0, 100), neutral, 256), Px(77, 200, 1, 100)); // H 352
}

TEST(CombineHSV, HueShiftWrapsAndGreyKeepsGrey)
{
  using C = _LICE_CombinePixelsHSVAdjust;
  // r = 171 shifts hue by +64: red becomes yellow.
  EXPECT_EQ(apply<C>(Px(255, 255, 0, 0), Px(255, 171, 128, 128), 256), Px(255, 255, 255, 0));
  // (255, 0, 10) has H = 381; +64 wraps to 61.
  EXPECT_EQ(apply<C>(Px(255, 255, 0, 10), Px(255, 171, 128, 128), 256), Px(255, 255, 243, 0));
  // A grey has no saturation, so any hue shift leaves it grey.
  EXPECT_EQ(apply<C>(Px(0, 100, 100, 100), Px(9, 0, 128, 128), 256), Px(9, 100, 100, 100));
  EXPECT_EQ(apply<C>(Px(0, 100, 100, 100), Px(9, 0, 128, 200), 256), Px(9, 172, 172, 172));
  // Saturation and value offsets clamp: S 255, V 255 - 128.
  EXPECT_EQ(apply<C>(Px(0, 200, 100, 0), Px(1, 128, 255, 0), 256), Px(1, 72, 35, 0));
}

TEST(CombineHSV, HugeWeightsStillLandInASector)
{
  using C = _LICE_CombinePixelsHSVAdjust;
  // Hue offset 190 * 65536 / 256 = 48640, far past one correction.
  const LICE_PixelValue p = apply<C>(Px(0, 200, 100, 0), Px(5, 255, 128, 128), 65536);
  EXPECT_EQ(PxA(p), 5);
  EXPECT_EQ(std::max({PxR(p), PxG(p), PxB(p)}), 200);
}

// The overlay and HSV row kernels, in their SSE2 and (where the processor
// has it) AVX2 builds, against the operators: every pair of destination and
// source channel values for overlay, for HSV the channel values 0, 1, 2,
// 127, 128, 254 and 255 in every combination and then random pixels; rows
// of 257 pixels leave a tail after every group size.
TEST(CombineKernels, OverlayAndHSVMatchTheOperators)
{
  const int edges[] = {0, 1, 2, 127, 128, 254, 255};
  TestRng rng{5};
  TestBitmap src(257, 256, 259), dest(257, 256, 257), fast(257, 256, 257), slow(257, 256, 257);
  struct Kernel
  {
    int mode;
    const char* sse2;
    const char* avx2;
  };
  for (const Kernel k : {Kernel{4, "overlay", "overlay (AVX2)"}, Kernel{5, "generic", "HSV adjust (AVX2)"}})
  {
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 257; ++x)
      {
        const int i = y * 257 + x, d = x % 256;
        if (k.mode == 4)
          dest.at(x, y) = Px(d, d, d, d), src.at(x, y) = Px(y, y, y, y);
        else if (i < 7 * 7 * 7)
          dest.at(x, y) = Px(rng.channel(), edges[i % 7], edges[i / 7 % 7], edges[i / 49]), src.at(x, y) = rng.next();
        else
          dest.at(x, y) = rng.pixel(), src.at(x, y) = rng.next();
      }
    for (const int w : {0, 1, 77, 128, 179, 255, 256})
    {
      const float alpha = w ? float(w) / 256 : 1e-6f;
      slow = dest;
      LICE_SetFastPathsEnabled(false);
      LICE_Blit(&slow, &src, 0, 0, nullptr, alpha, k.mode);
      LICE_SetFastPathsEnabled(true);
      for (const bool avx2 : {false, true})
      {
        LICE_SetAvx2Enabled(avx2);
        if (avx2 != LICE_Avx2Enabled())
          continue; // no AVX2 here
        fast = dest;
        LICE_BlitJob job;
        job.dest = reinterpret_cast<unsigned char*>(fast.getBits());
        job.src = reinterpret_cast<const unsigned char*>(src.getBits());
        job.dest_step = 257 * 4, job.src_step = 259 * 4, job.w = 257, job.h = 256;
        job.sel = k.mode, job.ia = w, job.alpha = alpha;
        EXPECT_STREQ(LICE_RunBlitJob(job), avx2 ? k.avx2 : k.sse2);
        EXPECT_TRUE(fast.samePixels(slow)) << "mode " << k.mode << " weight " << w << " AVX2 " << avx2;
      }
    }
  }
  LICE_SetAvx2Enabled(true);
}

} // namespace
