// Static behaviour: steady-state gain for a constant level, makeup, mix and saturation.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/plugin/KestrelHarness.h"

namespace
{
constexpr double kPi = 3.141592653589793;

// A constant level settles the envelope exactly on the level above threshold.
double SteadyOutput(KestrelHarness& h, double level)
{
  return h.RunMono(Constant(4096, level)).back();
}

// The textbook static curve: above threshold T the level rises 1/R dB per dB.
double Curve(double inDB, double thresholdDB, double ratio, double makeupDB)
{
  const double over = inDB > thresholdDB ? inDB - thresholdDB : 0.0;
  return inDB - over * (ratio - 1.0) / ratio + makeupDB;
}

void FastDetector(KestrelHarness& h)
{
  h.Set(kAttack, 5.0);
  h.Set(kRelease, 1.0);
}
} // namespace

TEST(KestrelCurve, DefaultsPassTheSignalUnchanged)
{
  KestrelHarness h;
  std::vector<double> x(1000);
  for (size_t i = 0; i < x.size(); ++i)
    x[i] = 0.99 * std::sin(0.05 * double(i)) * std::cos(0.0031 * double(i));
  EXPECT_EQ(h.RunMono(x), x);

  KestrelHarness s;
  std::vector<double> l, r, minusX(x.size());
  for (size_t i = 0; i < x.size(); ++i)
    minusX[i] = -0.5 * x[i];
  s.RunStereo(x, minusX, l, r);
  EXPECT_EQ(l, x);
  EXPECT_EQ(r, minusX);
}

TEST(KestrelCurve, StaticCurveForThresholdsAndRatios)
{
  struct Case
  {
    double thresholdDB;
    int ratioIdx;
    double ratio;
    double inDB;
  };
  const Case cases[] = {
    {-20.0, kRatio4, 4.0, -6.0},    {-30.0, kRatio8, 8.0, 0.0},   {-10.0, kRatio12, 12.0, -3.0},
    {-40.0, kRatio20, 20.0, -12.0}, {-20.0, kRatio4, 4.0, -26.0}, {-60.0, kRatio8, 8.0, -1.0},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.thresholdDB);
    KestrelHarness h;
    FastDetector(h);
    h.Set(kThreshold, c.thresholdDB);
    h.Set(kRatio, c.ratioIdx);
    const double out = SteadyOutput(h, FromDB(c.inDB));
    EXPECT_NEAR(ToDB(out), Curve(c.inDB, c.thresholdDB, c.ratio, 0.0), 1e-9);
  }
}

TEST(KestrelCurve, BelowThresholdIsUntouched)
{
  KestrelHarness h;
  h.Set(kThreshold, -20.0);
  h.Set(kRatio, kRatio20);
  EXPECT_EQ(SteadyOutput(h, 0.05), 0.05);
}

TEST(KestrelCurve, AutoMakeupAndCompensation)
{
  // Auto makeup: half of what the ratio takes off full scale, (t - t / (R - 1)) / 2.
  KestrelHarness h;
  FastDetector(h);
  h.Set(kThreshold, -20.0);
  h.Set(kAutoMakeup, 1);
  const double makeup = (20.0 - 20.0 / 3.0) * 0.5;
  EXPECT_NEAR(makeup, 6.667, 1e-3);
  EXPECT_NEAR(ToDB(SteadyOutput(h, FromDB(-6.0))), Curve(-6.0, -20.0, 4.0, makeup), 1e-9);

  h.Set(kCompensation, -3.5);
  EXPECT_NEAR(ToDB(SteadyOutput(h, FromDB(-6.0))), Curve(-6.0, -20.0, 4.0, makeup - 3.5), 1e-9);

  h.Set(kRatio, kRatio20);
  h.Set(kThreshold, -30.0);
  h.Set(kCompensation, 0.0);
  const double makeup20 = (30.0 - 30.0 / 19.0) * 0.5;
  EXPECT_NEAR(ToDB(SteadyOutput(h, FromDB(-10.0))), Curve(-10.0, -30.0, 20.0, makeup20), 1e-9);

  // All In makes up as for 20:1.
  h.Set(kRatio, kRatioAllIn);
  h.RunMono(Constant(16, 0.0));
  const double quiet = SteadyOutput(h, FromDB(-40.0));
  EXPECT_NEAR(ToDB(quiet), -40.0 + makeup20, 1e-9);

  KestrelHarness comp;
  comp.Set(kCompensation, 6.0);
  EXPECT_NEAR(SteadyOutput(comp, 0.25), 0.25 * FromDB(6.0), 1e-15);
}

TEST(KestrelCurve, ParallelMixesTheDrySignalBackIn)
{
  const double level = 0.5;
  const double wet = level * FromDB(Curve(ToDB(level), -40.0, 20.0, 0.0) - ToDB(level));
  for (double parallel : {0.0, 50.0, 100.0})
  {
    KestrelHarness h;
    FastDetector(h);
    h.Set(kThreshold, -40.0);
    h.Set(kRatio, kRatio20);
    h.Set(kParallel, parallel);
    const double dry = parallel / 100.0;
    EXPECT_NEAR(SteadyOutput(h, level), (1.0 - dry) * wet + dry * level, 1e-12) << parallel;
  }
  KestrelHarness all;
  all.Set(kThreshold, -40.0);
  all.Set(kParallel, 100.0);
  EXPECT_EQ(SteadyOutput(all, level), level); // fully dry is exact
}

TEST(KestrelCurve, ImpetusAtFullDriveIsTwoXMinusXAbsX)
{
  KestrelHarness h;
  h.Set(kImpetus, 100.0);
  EXPECT_EQ(SteadyOutput(h, 1.0), 1.0);
  EXPECT_EQ(SteadyOutput(h, 0.5), 0.75);
  EXPECT_EQ(SteadyOutput(h, -0.5), -0.75);
}

TEST(KestrelCurve, ImpetusAddsOnlyOddHarmonics)
{
  // x|x| of a sine a sin t: (8 a^2 / 3 pi) sin t - (8 a^2 / 15 pi) sin 3t - ..., no even terms.
  KestrelHarness h;
  h.Set(kImpetus, 100.0);
  const int period = 256, n = period * 8;
  const double a = 0.5;
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i)
    x[i] = a * std::sin(2.0 * kPi * i / period);
  const std::vector<double> y = h.RunMono(x);
  auto harmonic = [&](int k) {
    double re = 0.0, im = 0.0;
    for (int i = 0; i < n; ++i)
    {
      re += y[i] * std::cos(2.0 * kPi * k * i / period);
      im += y[i] * std::sin(2.0 * kPi * k * i / period);
    }
    return std::hypot(re, im) * 2.0 / n;
  };
  // Sampling folds the (1/n^3) tail back: about 1e-7 at this period.
  EXPECT_NEAR(harmonic(1), 2.0 * a - a * a * 8.0 / (3.0 * kPi), 1e-6);
  EXPECT_NEAR(harmonic(3), a * a * 8.0 / (15.0 * kPi), 1e-6);
  EXPECT_NEAR(harmonic(5), a * a * 8.0 / (105.0 * kPi), 1e-6);
  EXPECT_NEAR(harmonic(2), 0.0, 1e-12);
  EXPECT_NEAR(harmonic(4), 0.0, 1e-12);
}

TEST(KestrelCurve, ImpetusCurveFollowsTheKnobAtOnce)
{
  // The curve's constants jump to the new setting; only the on/off test is smoothed, so
  // the first sample after turning Impetus up already has the full curve.
  KestrelHarness h;
  h.Set(kImpetus, 50.0, false);
  const double drive = std::pow(1.11, 50.0) / std::pow(1.11, 100.0);
  const double o = 0.5 * drive, p = 1.0 / (1.0 - 0.5 * drive);
  const double x = 0.8;
  EXPECT_NEAR(h.RunMono(Constant(1, x))[0], x * p * (1.0 - x * o), 1e-15);
}
