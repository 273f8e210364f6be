// The pieces the chunked signal path is built from, against the plain forms they replace.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#include "plugin/Decibels.h"
#include "plugin/KestrelWet.h"
#include "plugin/RampedParam.h"

namespace
{
uint64_t Bits(double v)
{
  return std::bit_cast<uint64_t>(v);
}

struct Lcg
{
  uint64_t state = 0x9E3779B97F4A7C15ULL;
  double Unit()
  {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return double(state >> 11) * (1.0 / 9007199254740992.0);
  }
};
} // namespace

TEST(KestrelMaths, DecibelConversionsEqualTheStandardCalls)
{
  // Arguments across the ranges the effect uses: gain changes and thresholds (dB), levels
  // and quotients above 1, and the ends.
  std::vector<double> dBs = {0.0, -0.0, -1e-300, 1e-300, -60.0, 20.0, -745.0, 709.0, -1000.0};
  std::vector<double> levels = {1.0, 1e-15, 2.2250738585072014e-308, 1.7976931348623157e308, 1.0000000000000002};
  Lcg rng;
  for (int i = 0; i < 20000; ++i)
  {
    dBs.push_back(-120.0 + 160.0 * rng.Unit());
    levels.push_back(std::exp(-40.0 + 80.0 * rng.Unit()));
  }
  for (double dB : dBs)
    ASSERT_EQ(Bits(LinearFromDB(dB)), Bits(std::exp(dB * kDBToAmp))) << dB;
  for (double level : levels)
    ASSERT_EQ(Bits(DBFromLevel(level)), Bits(std::log(level) * kAmpToDB)) << level;
}

TEST(KestrelRamp, TrackGivesTheValuesOfRepeatedSteps)
{
  Lcg rng;
  for (int iteration = 0; iteration < 400; ++iteration)
  {
    const bool multiplicative = iteration % 2 == 1;
    const double rate = multiplicative ? 0.01 : 0.001 + 0.1 * rng.Unit();
    RampedParam tracked(rate, multiplicative), stepped(rate, multiplicative);
    const double start = multiplicative ? 0.5 + rng.Unit() : -10.0 + 20.0 * rng.Unit();
    tracked.SetUnramped(start);
    stepped.SetUnramped(start);
    // Targets near and far, above, below and equal, so that ramps end inside a stretch.
    const double targets[] = {start + 0.05 * rng.Unit(), start - 2.0 * rng.Unit(), start, start + 3.0 * rng.Unit()};
    for (double target : targets)
    {
      tracked.SetTarget(target);
      stepped.SetTarget(target);
      const int count = 1 + int(rng.Unit() * 64);
      std::vector<double> values(static_cast<size_t>(count));
      tracked.Track(values.data(), count);
      for (int k = 0; k < count; ++k)
      {
        stepped.Ramp();
        ASSERT_EQ(Bits(values[size_t(k)]), Bits(stepped.Value())) << "iteration " << iteration << " step " << k;
      }
      ASSERT_EQ(tracked.IsRamping(), stepped.IsRamping()) << "iteration " << iteration;
      ASSERT_EQ(Bits(tracked.Value()), Bits(stepped.Value())) << "iteration " << iteration;
    }
  }
}

TEST(KestrelWet, BothLaneTypesEqualTheFormula)
{
  // The formula written out: gain, makeup, x P (1 - |x O|) when shaped, the dry mix when
  // there is a dry part, and a non-finite result dropped.
  const auto reference = [](double x, double gain, double makeup, double wet, double dry, bool shape, double p,
                            double o) {
    double y = x * gain * makeup;
    if (shape)
      y = y * p * (1.0 - std::fabs(y * o));
    if (dry != 0.0)
      y = wet * y + x * dry;
    return std::fabs(y) <= 1.7976931348623157e308 ? y : 0.0;
  };
  Lcg rng;
  constexpr int kCount = 66;
  std::vector<double> in(kCount), gain(kCount), makeup(kCount), wet(kCount), dry(kCount), shape(kCount);
  for (int iteration = 0; iteration < 200; ++iteration)
  {
    for (int k = 0; k < kCount; ++k)
    {
      in[k] = (rng.Unit() - 0.5) * (k == 5 ? 1e308 : 2.0);
      gain[k] = k % 9 == 0 ? 1.0 : rng.Unit();
      makeup[k] = k % 4 == 0 ? 1.0 : 1.0 + 9.0 * rng.Unit();
      dry[k] = k % 3 == 0 ? 0.0 : rng.Unit();
      wet[k] = 1.0 - dry[k];
      shape[k] = k % 5 < 2 ? 1.0 : 0.0;
    }
    const double p = 1.0 + rng.Unit(), o = 0.5 * rng.Unit();
    for (int k = 0; k < kCount; k += 2)
    {
      double pair[2];
      const auto controls = MakeWetControls<DoublePair>(DoublePair::Load(&makeup[k]), DoublePair::Load(&wet[k]),
                                                        DoublePair::Load(&dry[k]), DoublePair::Load(&shape[k]));
      KestrelWet(DoublePair::Load(&in[k]), DoublePair::Load(&gain[k]), controls, p, o).Store(pair);
      for (int j = k; j < k + 2; ++j)
      {
        const double expected = reference(in[j], gain[j], makeup[j], wet[j], dry[j], shape[j] != 0.0, p, o);
        const double one =
          KestrelWet(in[j], gain[j], MakeWetControls<double>(makeup[j], wet[j], dry[j], shape[j]), p, o);
        // Both lanes under one frame's controls.
        double shared[2];
        KestrelWet(DoublePair(in[j], -in[j]), DoublePair(gain[j]),
                   MakeWetControls<DoublePair>(makeup[j], wet[j], dry[j], shape[j]), p, o)
          .Store(shared);
        ASSERT_EQ(Bits(pair[j - k]), Bits(expected)) << "iteration " << iteration << " frame " << j;
        ASSERT_EQ(Bits(one), Bits(expected)) << "iteration " << iteration << " frame " << j;
        ASSERT_EQ(Bits(shared[0]), Bits(expected)) << "iteration " << iteration << " frame " << j;
        ASSERT_EQ(Bits(shared[1]), Bits(reference(-in[j], gain[j], makeup[j], wet[j], dry[j], shape[j] != 0.0, p, o)))
          << "iteration " << iteration << " frame " << j;
      }
    }
  }
}
