// Frequency responses of the nine filter types against the textbook properties of each
// shape (gain at DC, at Nyquist and at the centre frequency), not against the formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "rbjfilter/rbjfilter.h"

namespace
{
constexpr double kPi = 3.141592653589793;

std::complex<double> Response(const rbjfilter& f, double hz)
{
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / f.GetSampleRate());
  return (f.B0() + f.B1() * z1 + f.B2() * z1 * z1) / (f.A0() + f.A1() * z1 + f.A2() * z1 * z1);
}

double Gain(const rbjfilter& f, double hz)
{
  return std::abs(Response(f, hz));
}

rbjfilter Make(rbjfilter::EFilterType type, double hz, double q, double gainDB, long rate = 48000)
{
  rbjfilter f;
  f.SetType(type);
  f.SetSampleRate(rate);
  f.SetFreq(hz);
  f.SetGain(gainDB);
  f.SetQ(q);
  return f;
}

double DBToAmp(double dB)
{
  return std::pow(10.0, dB / 20.0);
}
} // namespace

TEST(RbjResponse, DefaultIsAFlatPeakingFilter)
{
  rbjfilter f;
  EXPECT_EQ(f.GetType(), rbjfilter::kPeaking);
  EXPECT_EQ(f.GetSampleRate(), 44100);
  EXPECT_DOUBLE_EQ(f.GetFreq(), 1000.0);
  for (double hz : {0.0, 100.0, 1000.0, 22050.0})
    EXPECT_NEAR(Gain(f, hz), 1.0, 1e-15) << hz;
}

TEST(RbjResponse, OversamplingLowPassIsButterworth)
{
  // The compressor's 2x filter: 20 kHz at 88.2 kHz, slope 1.
  rbjfilter f;
  f.SetType(rbjfilter::kLowPass);
  f.SetFreq(20000.0);
  f.SetS(1.0);
  f.SetGain(0.0);
  f.SetSampleRate(88200);
  EXPECT_NEAR(f.GetQ(), 0.7071067811865475, 1e-15);
  EXPECT_NEAR(Gain(f, 0.0), 1.0, 1e-14);
  EXPECT_NEAR(Gain(f, 44100.0), 0.0, 1e-15);
  EXPECT_NEAR(Gain(f, 20000.0), std::sqrt(0.5), 1e-12); // -3 dB at the corner
  EXPECT_EQ(f.A0(), 1.0);
}

TEST(RbjResponse, PassFiltersPeakAtQ)
{
  const rbjfilter hp = Make(rbjfilter::kHighPass, 10.0, 0.7071067811865476, 0.0, 44100);
  EXPECT_NEAR(Gain(hp, 0.0), 0.0, 1e-15);
  EXPECT_NEAR(Gain(hp, 22050.0), 1.0, 1e-12);
  EXPECT_NEAR(Gain(hp, 10.0), 0.7071067811865476, 1e-9);

  const rbjfilter lp = Make(rbjfilter::kLowPass, 2000.0, 4.0, 0.0);
  EXPECT_NEAR(Gain(lp, 2000.0), 4.0, 1e-9);
}

TEST(RbjResponse, BandPassesDifferInTheirPeakGain)
{
  const rbjfilter skirt = Make(rbjfilter::kBandPassSkirt, 1000.0, 3.0, 0.0);
  EXPECT_NEAR(Gain(skirt, 1000.0), 3.0, 1e-9);
  EXPECT_NEAR(Gain(skirt, 0.0), 0.0, 1e-15);
  EXPECT_NEAR(Gain(skirt, 24000.0), 0.0, 1e-15);

  const rbjfilter peak = Make(rbjfilter::kBandPassPeak, 1000.0, 3.0, 0.0);
  EXPECT_NEAR(Gain(peak, 1000.0), 1.0, 1e-12);
  EXPECT_NEAR(Gain(peak, 0.0), 0.0, 1e-15);
}

TEST(RbjResponse, NotchAndAllPass)
{
  const rbjfilter notch = Make(rbjfilter::kNotch, 3000.0, 2.0, 0.0);
  EXPECT_NEAR(Gain(notch, 3000.0), 0.0, 1e-12);
  EXPECT_NEAR(Gain(notch, 0.0), 1.0, 1e-14);
  EXPECT_NEAR(Gain(notch, 24000.0), 1.0, 1e-14);

  const rbjfilter allPass = Make(rbjfilter::kAllPass, 3000.0, 2.0, 0.0);
  for (double hz : {0.0, 50.0, 3000.0, 10000.0, 24000.0})
    EXPECT_NEAR(Gain(allPass, hz), 1.0, 1e-12) << hz;
  EXPECT_NEAR(std::abs(std::arg(Response(allPass, 3000.0))), kPi, 1e-9);
}

TEST(RbjResponse, PeakingAndShelvesReachTheirGain)
{
  const rbjfilter peaking = Make(rbjfilter::kPeaking, 1000.0, 1.0, 6.0);
  EXPECT_NEAR(Gain(peaking, 1000.0), DBToAmp(6.0), 1e-12);
  EXPECT_NEAR(Gain(peaking, 0.0), 1.0, 1e-14);
  EXPECT_NEAR(Gain(peaking, 24000.0), 1.0, 1e-14);

  // Shelves: full gain on their side, none on the other, half the dB at the corner.
  rbjfilter low = Make(rbjfilter::kLowShelf, 500.0, 1.0, 12.0);
  low.SetS(1.0);
  EXPECT_NEAR(Gain(low, 0.0), DBToAmp(12.0), 1e-12);
  EXPECT_NEAR(Gain(low, 24000.0), 1.0, 1e-12);
  EXPECT_NEAR(Gain(low, 500.0), DBToAmp(6.0), 1e-12);

  rbjfilter high = Make(rbjfilter::kHighShelf, 5000.0, 1.0, -9.0);
  high.SetS(1.0);
  EXPECT_NEAR(Gain(high, 0.0), 1.0, 1e-12);
  EXPECT_NEAR(Gain(high, 24000.0), DBToAmp(-9.0), 1e-12);
  EXPECT_NEAR(Gain(high, 5000.0), DBToAmp(-4.5), 1e-12);
}

TEST(RbjResponse, AmplitudeFactorFollowsTheType)
{
  EXPECT_EQ(Make(rbjfilter::kLowPass, 1000.0, 1.0, 12.0).GetA(), 1.0);
  EXPECT_EQ(Make(rbjfilter::kHighPass, 1000.0, 1.0, 12.0).GetA(), 1.0);
  for (auto type : {rbjfilter::kBandPassSkirt, rbjfilter::kBandPassPeak, rbjfilter::kNotch, rbjfilter::kAllPass})
    EXPECT_NEAR(Make(type, 1000.0, 1.0, 12.0).GetA(), DBToAmp(12.0), 1e-14) << type;
  for (auto type : {rbjfilter::kPeaking, rbjfilter::kLowShelf, rbjfilter::kHighShelf})
    EXPECT_NEAR(Make(type, 1000.0, 1.0, 12.0).GetA(), DBToAmp(6.0), 1e-14) << type;
}

TEST(RbjResponse, UnknownTypesAreComputedAsPeaking)
{
  const rbjfilter reference = Make(rbjfilter::kPeaking, 700.0, 2.0, -5.0);
  for (int type : {9, 100, -1})
  {
    const rbjfilter f = Make(static_cast<rbjfilter::EFilterType>(type), 700.0, 2.0, -5.0);
    EXPECT_EQ(f.B0(), reference.B0()) << type;
    EXPECT_EQ(f.B1(), reference.B1()) << type;
    EXPECT_EQ(f.B2(), reference.B2()) << type;
    EXPECT_EQ(f.A1(), reference.A1()) << type;
    EXPECT_EQ(f.A2(), reference.A2()) << type;
  }
}

TEST(RbjResponse, BandwidthSpansTheHalfPowerPoints)
{
  // A 1-octave band-pass: the -3 dB points lie one octave apart.
  rbjfilter f = Make(rbjfilter::kBandPassPeak, 2000.0, 1.0, 0.0);
  f.SetBW(1.0);
  EXPECT_NEAR(f.GetQ(), 1.41, 0.02);
  auto edge = [&](double lo, double hi, bool rising) {
    for (int i = 0; i < 200; ++i)
    {
      const double mid = 0.5 * (lo + hi);
      ((Gain(f, mid) < std::sqrt(0.5)) == rising ? lo : hi) = mid;
    }
    return lo;
  };
  const double f1 = edge(10.0, 2000.0, true);
  const double f2 = edge(2000.0, 23999.0, false);
  EXPECT_NEAR(std::log2(f2 / f1), 1.0, 1e-2);
}

TEST(RbjResponse, SlopeSetsQFromTheShelfGain)
{
  rbjfilter lp = Make(rbjfilter::kLowPass, 1000.0, 1.0, 12.0);
  lp.SetS(0.5);
  EXPECT_NEAR(lp.GetQ(), 0.5, 1e-15); // 1 / sqrt(2 x 1 + 2), whatever the gain

  rbjfilter shelf = Make(rbjfilter::kLowShelf, 1000.0, 1.0, 12.0);
  shelf.SetS(0.5);
  const double a = DBToAmp(6.0);
  EXPECT_NEAR(shelf.GetQ(), 1.0 / std::sqrt(a + 1.0 / a + 2.0), 1e-14);
  shelf.SetS(1.0);
  EXPECT_NEAR(shelf.GetQ(), std::sqrt(0.5), 1e-15);
}
