// Time behaviour: detector ballistics, parameter smoothing and the All In ratio.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/plugin/KestrelHarness.h"

namespace
{
// A step 20 dB over a -20 dB threshold at 4:1 settles at 15 dB of gain reduction; the
// envelope covers 1 - c^n of the way in n detector steps, c = exp(-1 / (rate x time)).
constexpr double kOverDB = 20.0;
constexpr double kSlope = 0.75; // (R - 1) / R at 4:1

void Compress20dB(KestrelHarness& h, double attackUs, double releaseMs)
{
  h.Set(kThreshold, -20.0);
  h.Set(kRatio, kRatio4);
  h.Set(kAttack, attackUs);
  h.Set(kRelease, releaseMs);
}

// Gain reduction after each frame, one-frame blocks.
std::vector<double> GainTrace(KestrelHarness& h, double level, int frames)
{
  std::vector<double> trace;
  for (int i = 0; i < frames; ++i)
  {
    h.RunMono(Constant(1, level));
    trace.push_back(h.plug->GetGainReductionDB());
  }
  return trace;
}

void ExpectAttack(const std::vector<double>& trace, double coefPerFrame)
{
  for (size_t n = 0; n < trace.size(); ++n)
    ASSERT_NEAR(trace[n], -kSlope * kOverDB * (1.0 - std::pow(coefPerFrame, double(n + 1))), 1e-9) << n;
}
} // namespace

TEST(KestrelTiming, AttackTimeConstantAt44k1And96k)
{
  for (double rate : {44100.0, 96000.0})
  {
    SCOPED_TRACE(rate);
    KestrelHarness h(rate);
    Compress20dB(h, 2000.0, 100.0);
    const std::vector<double> trace = GainTrace(h, 1.0, 400);
    ExpectAttack(trace, std::exp(-1.0 / (rate * 0.002)));
    // One time constant: 63 % of the way.
    const int tau = int(rate * 0.002);
    EXPECT_NEAR(trace[tau - 1] / (-kSlope * kOverDB), 1.0 - std::exp(-1.0), 2e-3);
  }
}

TEST(KestrelTiming, ReleaseTimeConstantAt44k1And96k)
{
  for (double rate : {44100.0, 96000.0})
  {
    SCOPED_TRACE(rate);
    KestrelHarness h(rate);
    Compress20dB(h, 5.0, 10.0);
    h.RunMono(Constant(2000, 1.0));
    // A probe far below threshold: the envelope only decays, c^n of the settled 20 dB.
    const double probe = 0.001;
    const std::vector<double> out = h.RunMono(Constant(2000, probe));
    const double c = std::exp(-1.0 / (rate * 0.010));
    for (int n = 0; n < 2000; n += 37)
      ASSERT_NEAR(ToDB(out[n] / probe), -kSlope * kOverDB * std::pow(c, n + 1), 1e-9) << n;
  }
}

TEST(KestrelTiming, DecadenceKeepsTheTimeConstantsInRealTime)
{
  // Two detector steps per frame at twice the rate: c2^2 = c. The side-chain feeds the
  // detector directly, so the step is clean in both passes.
  KestrelHarness h;
  Compress20dB(h, 1000.0, 100.0);
  h.Set(kDecadence, 1);
  h.Set(kSidechain, 1);
  std::vector<double> trace;
  for (int i = 0; i < 200; ++i)
  {
    std::vector<double> in[4] = {Constant(1, 0.0), Constant(1, 0.0), Constant(1, 1.0), Constant(1, 1.0)};
    std::vector<double> out[2] = {Constant(1, 0.0), Constant(1, 0.0)};
    h.Run(in, out, 1);
    trace.push_back(h.plug->GetGainReductionDB());
  }
  ExpectAttack(trace, std::exp(-1.0 / (44100.0 * 0.001)));
}

TEST(KestrelTiming, SmoothedControlsMoveOneThousandthPerSample)
{
  KestrelHarness h;
  h.Set(kCompensation, 20.0, false); // the change itself takes the first step
  const double x = 0.01;
  const std::vector<double> out = h.RunMono(Constant(21000, x));
  for (int n : {0, 1, 100, 9999})
    EXPECT_NEAR(ToDB(out[n] / x), 0.001 * (n + 2), 1e-9) << n;
  EXPECT_NEAR(ToDB(out[19997] / x), 19.999, 1e-9);
  EXPECT_NEAR(out[19998], x * FromDB(20.0), 1e-12); // arrived, and stays
  EXPECT_EQ(out[19998], out[20999]);

  // A threshold move from 0 to -60 dB takes 60000 samples.
  KestrelHarness t;
  t.Set(kRatio, kRatio20);
  t.Set(kAttack, 5.0);
  t.Set(kThreshold, -60.0, false);
  const std::vector<double> th = t.RunMono(Constant(70000, 0.5));
  auto curve20 = [](double thresholdDB) { return thresholdDB + (ToDB(0.5) - thresholdDB) / 20.0; };
  EXPECT_NEAR(ToDB(th[29998]), curve20(-30.0), 1e-3);
  EXPECT_NEAR(ToDB(th[59998]), curve20(-60.0), 1e-3);
  EXPECT_NEAR(ToDB(th[59000]), curve20(-59.002), 1e-3);
  EXPECT_NEAR(ToDB(th[69999]), curve20(-60.0), 1e-9);
}

TEST(KestrelTiming, SwitchesTakeEffectAtOnce)
{
  KestrelHarness h;
  h.Set(kThreshold, -20.0);
  h.Set(kAttack, 5.0);
  h.RunMono(Constant(500, 1.0));
  h.Set(kRatio, kRatio20, false);
  const std::vector<double> out = h.RunMono(Constant(500, 1.0));
  EXPECT_NEAR(ToDB(out.back()), -20.0 + 20.0 / 20.0, 1e-9);
}

TEST(KestrelTiming, AllInRatioClimbsFromTwelveTowardSixteen)
{
  // Each jump of more than 5 dB above the envelope moves the extra ratio one fast step
  // toward 4: value_k = 4 (1 - f^k), f = exp(-1 / (0.00001 x 44100)); it holds in between.
  const double rate = 44100.0;
  const double fast = std::exp(-1.0 / (0.00001 * rate));
  const double attack = std::exp(-1.0 / (rate * 5e-6));
  const double release = std::exp(-1.0 / (rate * 0.001));
  KestrelHarness h;
  h.Set(kRatio, kRatioAllIn);
  h.Set(kAttack, 5.0);
  h.Set(kRelease, 1.0);
  const double over = 60.0; // a 1000x impulse over the 0 dB threshold
  double env = 0.0;
  double previousRatio = 12.0;
  for (int k = 1; k <= 6; ++k)
  {
    h.RunMono(Constant(199, 0.0));
    for (int i = 0; i < 199; ++i)
      env *= release;
    h.RunMono(Constant(1, 1000.0));
    env = over + (env - over) * attack;
    const double expectedRatio = 12.0 + 4.0 * (1.0 - std::pow(fast, k));
    const double gr = h.plug->GetGainReductionDB();
    const double ratio = 1.0 / (1.0 + gr / env);
    EXPECT_NEAR(ratio, expectedRatio, 1e-6) << k;
    EXPECT_GT(ratio, previousRatio);
    previousRatio = ratio;
  }
  EXPECT_NEAR(previousRatio, 16.0, 1e-4);

  // Reset starts the climb again from 12.
  h.plug->Reset();
  h.RunMono(Constant(1, 1000.0));
  const double env1 = over * (1.0 - attack);
  EXPECT_NEAR(1.0 / (1.0 + h.plug->GetGainReductionDB() / env1), 12.0 + 4.0 * (1.0 - fast), 1e-6);
}
