#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <vector>

#include "rbjfilter/rbjfilter.h"

namespace
{
rbjfilter LowPass(double hz, long rate)
{
  rbjfilter f;
  f.SetType(rbjfilter::kLowPass);
  f.SetFreq(hz);
  f.SetS(1.0);
  f.SetSampleRate(rate);
  return f;
}

std::vector<double> TestSignal(int n)
{
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i)
    x[i] = 0.6 * std::sin(0.37 * i) + 0.3 * std::sin(2.9 * i + 1.0);
  return x;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
} // namespace

TEST(RbjProcess, DefaultFilterPassesTheSignal)
{
  rbjfilter f;
  for (double x : TestSignal(256))
  {
    double y = x;
    f.Process(y);
    EXPECT_NEAR(y, x, 1e-14);
  }
}

TEST(RbjProcess, StereoChannelsKeepSeparateHistories)
{
  rbjfilter stereo = LowPass(3000.0, 44100);
  rbjfilter left = LowPass(3000.0, 44100);
  rbjfilter right = LowPass(3000.0, 44100);
  const std::vector<double> x = TestSignal(300);
  for (int i = 0; i < 300; ++i)
  {
    double l = x[i], r = -0.5 * x[299 - i];
    double lm = l, rm = r;
    stereo.Process(l, r);
    left.Process(lm);
    right.Process(rm);
    ASSERT_EQ(l, lm) << i;
    ASSERT_EQ(r, rm) << i;
  }
}

TEST(RbjProcess, ChangingASettingKeepsTheHistory)
{
  rbjfilter a = LowPass(3000.0, 44100);
  rbjfilter fresh = LowPass(6000.0, 44100);
  for (double x : TestSignal(50))
    a.Process(x);
  a.SetFreq(6000.0);
  double y1 = 0.0, y2 = 0.0;
  a.Process(y1);
  fresh.Process(y2);
  EXPECT_NE(y1, 0.0); // still ringing from the earlier input
  EXPECT_EQ(y2, 0.0);
}

TEST(RbjProcess, DecayingHighPassReachesExactZero)
{
  rbjfilter hp;
  hp.SetType(rbjfilter::kHighPass);
  hp.SetFreq(10.0);
  hp.SetS(1.0);
  hp.SetSampleRate(44100);
  int lastNonZero = -1;
  for (int i = 0; i < 2000000; ++i)
  {
    double y = 1.0; // DC
    hp.Process(y);
    ASSERT_FALSE(y != 0.0 && std::fabs(y) < DBL_MIN) << "subnormal output at " << i;
    if (y != 0.0)
      lastNonZero = i;
  }
  // About 700 000 samples to fall from 1 to the smallest normal number; then silence for good.
  EXPECT_GT(lastNonZero, 500000);
  EXPECT_LT(lastNonZero, 1000000);
}

TEST(RbjProcess, FloatFormsRoundAndFlushInSinglePrecision)
{
  rbjfilter wide = LowPass(8000.0, 44100);
  rbjfilter narrow = LowPass(8000.0, 44100);
  for (double x : TestSignal(200))
  {
    float xf = static_cast<float>(x);
    double xd = xf;
    narrow.Process(xf);
    wide.Process(xd);
    EXPECT_NEAR(xf, xd, 1e-6);
  }

  // A result below the float range of normal numbers is flushed; the double form keeps it.
  rbjfilter unity;
  float tiny = 1e-39f;
  unity.Process(tiny);
  EXPECT_EQ(tiny, 0.0f);
  rbjfilter unityWide;
  double tinyWide = 1e-39;
  unityWide.Process(tinyWide);
  EXPECT_EQ(tinyWide, 1e-39);

  rbjfilter stereo;
  float l = 0.25f, r = -1e-40f;
  stereo.Process(l, r);
  EXPECT_EQ(l, 0.25f);
  EXPECT_EQ(r, 0.0f);
}

TEST(RbjProcess, NonFiniteInputCountsAsSilence)
{
  const std::vector<double> x = TestSignal(64);
  for (double bad : {kNaN, kInf, -kInf})
  {
    rbjfilter hit = LowPass(2000.0, 44100);
    rbjfilter clean = LowPass(2000.0, 44100);
    for (int i = 0; i < 64; ++i)
    {
      double a = i == 10 ? bad : x[i];
      double b = i == 10 ? 0.0 : x[i];
      hit.Process(a);
      clean.Process(b);
      ASSERT_EQ(a, b) << i;
    }
    rbjfilter fresh = LowPass(2000.0, 44100);
    float f = static_cast<float>(bad);
    fresh.Process(f);
    EXPECT_EQ(f, 0.0f);
  }
}

TEST(RbjProcess, OverflowAndBrokenCoefficientsNeverReachTheHistory)
{
  rbjfilter f = LowPass(2000.0, 44100);
  double huge = DBL_MAX;
  f.Process(huge); // b0 x fits, the history may carry DBL_MAX
  for (int i = 0; i < 4; ++i)
  {
    double y = DBL_MAX;
    f.Process(y);
    ASSERT_TRUE(std::isfinite(y));
  }

  rbjfilter broken = LowPass(2000.0, 44100);
  broken.SetFreq(kNaN);
  double y = 0.5;
  broken.Process(y);
  EXPECT_EQ(y, 0.0);
  broken.SetFreq(2000.0);
  rbjfilter reference = LowPass(2000.0, 44100);
  // The NaN pass stored the input and a zero output; afterwards the filter works normally.
  double a = 0.25, b = 0.25;
  broken.Process(a);
  reference.Process(b);
  EXPECT_TRUE(std::isfinite(a));
  EXPECT_NEAR(a, b + reference.B1() * 0.5, 1e-15);
}
