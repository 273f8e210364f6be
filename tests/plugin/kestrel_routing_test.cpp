// Channel paths, side-chain, stereo linking, the detector high-pass, oversampling, meters.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/plugin/KestrelHarness.h"

namespace
{
constexpr double kSentinel = 7.0;

void Compress20dB(KestrelHarness& h)
{
  h.Set(kThreshold, -20.0);
  h.Set(kAttack, 5.0);
  h.Set(kRelease, 1.0);
}

// 1.0 over a -20 dB threshold at 4:1: 15 dB off.
const double kKeyedGain = FromDB(-15.0);
} // namespace

TEST(KestrelRouting, UnconnectedRightInputRunsMonoAndLeavesOutputOne)
{
  KestrelHarness h;
  std::vector<double> in[4] = {Constant(8, 0.5), {}, {}, {}};
  std::vector<double> out[2] = {Constant(8, kSentinel), Constant(8, kSentinel)};
  h.Run(in, out, 8);
  EXPECT_TRUE(h.plug->IsMono());
  EXPECT_EQ(out[0], Constant(8, 0.5));
  EXPECT_EQ(out[1], Constant(8, kSentinel));
}

TEST(KestrelRouting, HostTwentyThreeAlwaysRunsStereo)
{
  KestrelHarness h(44100.0, "Mixbus");
  ASSERT_EQ(h.plug->GetHost(), 23);
  std::vector<double> in[4] = {Constant(8, 0.5), {}, {}, {}};
  std::vector<double> out[2] = {Constant(8, kSentinel), Constant(8, kSentinel)};
  h.Run(in, out, 8);
  EXPECT_FALSE(h.plug->IsMono());
  EXPECT_EQ(out[0], Constant(8, 0.5));
  EXPECT_EQ(out[1], Constant(8, 0.0)); // the silent scratch channel, processed
}

TEST(KestrelRouting, StereoChannelsShareOneGain)
{
  KestrelHarness h;
  Compress20dB(h);
  std::vector<double> l, r;
  h.RunStereo(Constant(2000, 1.0), Constant(2000, 0.01), l, r);
  EXPECT_NEAR(l.back(), kKeyedGain, 1e-12);
  EXPECT_NEAR(r.back(), 0.01 * kKeyedGain, 1e-14);
  h.RunStereo(Constant(2000, -0.01), Constant(2000, -1.0), l, r);
  EXPECT_NEAR(l.back(), -0.01 * kKeyedGain, 1e-14);
}

TEST(KestrelRouting, SidechainKeysTheGain)
{
  // Mono: the key is input 2.
  KestrelHarness h;
  Compress20dB(h);
  h.Set(kSidechain, 1);
  std::vector<double> in[4] = {Constant(2000, 0.01), {}, Constant(2000, 1.0), {}};
  std::vector<double> out[2] = {Constant(2000, 0.0), Constant(2000, 0.0)};
  h.Run(in, out, 2000);
  EXPECT_NEAR(out[0].back(), 0.01 * kKeyedGain, 1e-14);

  // Switched off: the loud key is ignored.
  h.Set(kSidechain, 0);
  h.Run(in, out, 2000);
  EXPECT_EQ(out[0].back(), 0.01);

  // On, but nothing connected to the key input: the signal keys itself.
  h.Set(kSidechain, 1);
  std::vector<double> noKey[4] = {Constant(2000, 0.01), {}, {}, {}};
  h.Run(noKey, out, 2000);
  EXPECT_EQ(out[0].back(), 0.01);
}

TEST(KestrelRouting, StereoKeyIsLinkedToo)
{
  KestrelHarness h;
  Compress20dB(h);
  h.Set(kSidechain, 1);
  std::vector<double> in[4] = {Constant(2000, 0.01), Constant(2000, 0.02), Constant(2000, 0.0), Constant(2000, 1.0)};
  std::vector<double> out[2] = {Constant(2000, 0.0), Constant(2000, 0.0)};
  h.Run(in, out, 2000);
  EXPECT_NEAR(out[0].back(), 0.01 * kKeyedGain, 1e-14);
  EXPECT_NEAR(out[1].back(), 0.02 * kKeyedGain, 1e-14);
}

TEST(KestrelRouting, DetectorHighPassIsBypassedAtExactlyTenHertz)
{
  // DC keeps the detector busy only while the high-pass is bypassed.
  for (double hpf : {10.0, 10.5})
  {
    KestrelHarness h;
    Compress20dB(h);
    h.Set(kDetectorHPF, hpf);
    h.RunMono(Constant(44100, 1.0));
    if (hpf == 10.0)
      EXPECT_NEAR(h.plug->GetGainReductionDB(), -15.0, 1e-9);
    else
      EXPECT_GT(h.plug->GetGainReductionDB(), -0.01);
  }
}

TEST(KestrelRouting, DecadenceNetGainAndDetectorLevel)
{
  // Zero stuffing halves the level, the two +3 dB stages add back 6 dB: net 10^0.3 / 2.
  const double net = std::pow(10.0, 0.3) / 2.0;
  KestrelHarness h;
  h.Set(kDecadence, 1);
  EXPECT_NEAR(h.RunMono(Constant(4000, 0.25)).back(), 0.25 * net, 1e-12);

  // The detector sees the half-level, +3 dB signal: about 3 dB less than the input.
  KestrelHarness c;
  Compress20dB(c);
  c.Set(kDecadence, 1);
  const double level = 0.5;
  const double detected = level / 2.0 * FromDB(3.0);
  const double gr = -(ToDB(detected) + 20.0) * 0.75;
  EXPECT_NEAR(c.RunMono(Constant(8000, level)).back(), level * net * FromDB(gr), 1e-9);
  EXPECT_NEAR(c.plug->GetGainReductionDB(), gr, 1e-9);
}

TEST(KestrelRouting, DecadenceRunsTwoPassesPerFrame)
{
  // Below threshold the effect is up-filter, +3 dB, down-filter, +3 dB at 88.2 kHz on the
  // zero-stuffed input; each frame's output is the second pass's.
  auto lowPass = [] {
    rbjfilter f;
    f.SetType(rbjfilter::kLowPass);
    f.SetFreq(20000.0);
    f.SetS(1.0);
    f.SetSampleRate(88200);
    return f;
  };
  rbjfilter up = lowPass(), down = lowPass();
  const double g = FromDB(3.0);
  const std::vector<double> x = {1.0, -0.5, 0.25, 0.0, 0.0, 0.0};
  std::vector<double> expected;
  for (double frame : x)
    for (double v : {frame, 0.0})
    {
      up.Process(v);
      v *= g;
      down.Process(v);
      v *= g;
      expected.push_back(v);
    }
  KestrelHarness h;
  h.Set(kDecadence, 1);
  const std::vector<double> y = h.RunMono(x);
  for (size_t k = 0; k < x.size(); ++k)
    EXPECT_EQ(y[k], expected[2 * k + 1]) << k;
}

TEST(KestrelRouting, InputMeterFollowsTheFirstFrameOfEachBlock)
{
  KestrelHarness h; // reset: meters at 0 dB
  const double release = std::exp(-1000.0 / (0.6 * 44100.0));
  const double attack = std::exp(-1000.0 / (0.01 * 44100.0));
  std::vector<double> x = Constant(16, 0.0);
  x[0] = 0.5;
  h.RunMono(x);
  const double d = ToDB(0.5);
  EXPECT_NEAR(h.plug->GetInputMeterDB(), d * (1.0 - release), 1e-9);
  h.RunMono(x);
  EXPECT_NEAR(h.plug->GetInputMeterDB(), d * (1.0 - release * release), 1e-9);

  x[0] = 2.0; // rising: the attack coefficient
  const double before = h.plug->GetInputMeterDB();
  h.RunMono(x);
  EXPECT_NEAR(h.plug->GetInputMeterDB(), ToDB(2.0) + (before - ToDB(2.0)) * attack, 1e-9);

  // Stereo reads the RMS of the pair; silence reads -1000 dB.
  KestrelHarness s;
  std::vector<double> l, r;
  s.RunStereo(Constant(4, 0.5), Constant(4, 0.25), l, r);
  EXPECT_NEAR(s.plug->GetInputMeterDB(), ToDB(std::sqrt(0.15625)) * (1.0 - release), 1e-9);
  s.RunStereo(Constant(4, 0.0), Constant(4, 0.0), l, r);
  EXPECT_LT(s.plug->GetInputMeterDB(), -30.0);
}

TEST(KestrelRouting, OutputMeterInBothModes)
{
  const double release = std::exp(-1000.0 / (0.6 * 44100.0));
  const double fast = std::exp(-1000.0 / (0.01 * 44100.0));
  KestrelHarness h;
  Compress20dB(h);
  std::vector<double> x = Constant(2000, 1.0);
  x.back() = 0.001; // the meter reads the last frame; below threshold, still compressed
  const double lastOut = h.RunMono(x).back();
  EXPECT_NEAR(h.plug->GetOutputMeterDB(), ToDB(lastOut) * (1.0 - release), 1e-9);

  // Gain reduction mode: the last pass's gain change, fast both ways.
  KestrelHarness g;
  Compress20dB(g);
  g.Set(kMeter, 1);
  g.RunMono(Constant(2000, 1.0));
  EXPECT_NEAR(g.plug->GetOutputMeterDB(), -15.0 * (1.0 - fast), 1e-9);
  g.RunMono(Constant(2000, 1.0));
  EXPECT_NEAR(g.plug->GetOutputMeterDB(), -15.0 * (1.0 - fast * fast), 1e-9);
}

TEST(KestrelRouting, ResetClearsDetectorAndMeters)
{
  KestrelHarness h;
  Compress20dB(h);
  h.RunMono(Constant(2000, 1.0));
  ASSERT_LT(h.plug->GetGainReductionDB(), -1.0);
  h.plug->Reset();
  EXPECT_EQ(h.plug->GetInputMeterDB(), 0.0);
  EXPECT_EQ(h.plug->GetOutputMeterDB(), 0.0);
  // The envelope starts from nothing again: the first sample sees one attack step only.
  const double attack = std::exp(-1.0 / (44100.0 * 5e-6));
  h.RunMono(Constant(1, 1.0));
  EXPECT_NEAR(h.plug->GetGainReductionDB(), -15.0 * (1.0 - attack), 1e-9);
}
