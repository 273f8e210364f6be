// What a misbehaving host can send: non-finite or absurd samples, parameter values and
// sample rates, empty blocks, null buffers.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "tests/plugin/KestrelHarness.h"

namespace
{
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<double> Tone(int n, double a, double w)
{
  std::vector<double> x(n);
  for (int i = 0; i < n; ++i)
    x[i] = a * std::sin(w * i);
  return x;
}

// Every setting that has a state to poison: detector, All In, both filters, both meters.
void Busy(KestrelHarness& h)
{
  h.Set(kThreshold, -30.0);
  h.Set(kRatio, kRatioAllIn);
  h.Set(kDecadence, 1);
  h.Set(kDetectorHPF, 50.0);
  h.Set(kSidechain, 1);
  h.Set(kImpetus, 40.0);
  h.Set(kParallel, 20.0);
}

// A host's stored state with one value replaced: the way a stray value comes from outside.
void Restore(KestrelHarness& h, int idx, double value)
{
  ByteChunk state;
  for (int i = 0; i < kNumParams; ++i)
  {
    const double v = i == idx ? value : h.plug->GetParam(i)->Value();
    state.Put(&v);
  }
  h.plug->UnserializeParams(&state, 0);
  h.plug->Reset();
}

void ExpectFiniteState(const KestrelHarness& h)
{
  EXPECT_TRUE(std::isfinite(h.plug->GetInputMeterDB()));
  EXPECT_TRUE(std::isfinite(h.plug->GetOutputMeterDB()));
  EXPECT_TRUE(std::isfinite(h.plug->GetGainReductionDB()));
}
} // namespace

TEST(KestrelBadInput, NonFiniteSamplesActAsSilence)
{
  // Two instances, one fed a NaN or infinity where the other gets 0: identical output
  // everywhere, so nothing was poisoned and nothing needed a reset.
  for (double bad : {kNaN, kInf, -kInf})
  {
    for (int channel = 0; channel < 4; ++channel)
    {
      SCOPED_TRACE(channel);
      KestrelHarness hit, clean;
      Busy(hit);
      Busy(clean);
      for (int block = 0; block < 4; ++block)
      {
        std::vector<double> a[4] = {Tone(256, 0.8, 0.03), Tone(256, 0.6, 0.05), Tone(256, 0.9, 0.011),
                                    Tone(256, 0.4, 0.07)};
        std::vector<double> b[4] = {a[0], a[1], a[2], a[3]};
        a[channel][block == 1 ? 0 : 100] = bad;
        b[channel][block == 1 ? 0 : 100] = 0.0;
        std::vector<double> outA[2] = {Constant(256, 0.0), Constant(256, 0.0)};
        std::vector<double> outB[2] = {Constant(256, 0.0), Constant(256, 0.0)};
        hit.Run(a, outA, 256);
        clean.Run(b, outB, 256);
        ASSERT_EQ(outA[0], outB[0]) << block;
        ASSERT_EQ(outA[1], outB[1]) << block;
        ASSERT_EQ(hit.plug->GetInputMeterDB(), clean.plug->GetInputMeterDB());
      }
      ExpectFiniteState(hit);
    }
  }
}

TEST(KestrelBadInput, MonoNonFiniteSampleActsAsSilence)
{
  KestrelHarness hit, clean;
  hit.Set(kThreshold, -30.0);
  clean.Set(kThreshold, -30.0);
  std::vector<double> a = Tone(512, 0.9, 0.02), b = a;
  a[0] = kNaN;
  b[0] = 0.0;
  a[300] = -kInf;
  b[300] = 0.0;
  EXPECT_EQ(hit.RunMono(a), clean.RunMono(b));
  ExpectFiniteState(hit);
}

TEST(KestrelBadInput, HugeSamplesKeepTheStateFinite)
{
  KestrelHarness h;
  Busy(h);
  for (double huge : {DBL_MAX, -DBL_MAX, 1e300})
  {
    std::vector<double> in[4] = {Constant(64, huge), Constant(64, huge), Constant(64, huge), Constant(64, -huge)};
    std::vector<double> out[2] = {Constant(64, 0.0), Constant(64, 0.0)};
    h.Run(in, out, 64);
    for (int c = 0; c < 2; ++c)
      for (double v : out[c])
        ASSERT_TRUE(std::isfinite(v));
    ExpectFiniteState(h);
  }
  // Ordinary audio afterwards comes out finite, and bounded once the filters have rung out.
  const std::vector<double> after = h.RunMono(Tone(20000, 0.5, 0.01));
  for (size_t i = 0; i < after.size(); ++i)
    ASSERT_TRUE(std::isfinite(after[i]) && (i < 5000 || std::fabs(after[i]) < 1.0)) << i << " " << after[i];
}

TEST(KestrelBadInput, NonFiniteParametersStayOutOfTheSignalPath)
{
  for (int idx = 0; idx < kNumParams; ++idx)
  {
    for (double bad : {kNaN, kInf, -kInf, 1e300, -1e300})
    {
      SCOPED_TRACE(idx);
      KestrelHarness h;
      Restore(h, idx, bad);
      std::vector<double> l, r;
      h.RunStereo(Tone(512, 0.9, 0.02), Tone(512, 0.7, 0.03), l, r);
      for (size_t i = 0; i < l.size(); ++i)
        ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << bad;
      ExpectFiniteState(h);
    }
  }
  // A NaN threshold leaves the one in use, here the default: nothing is compressed.
  KestrelHarness h;
  Restore(h, kThreshold, kNaN);
  EXPECT_EQ(h.RunMono(Constant(100, 0.9)).back(), 0.9);
}

TEST(KestrelBadInput, OutOfRangeParametersAreHeldToTheirRange)
{
  // A negative attack time would make the envelope grow without bound.
  KestrelHarness h;
  h.Set(kThreshold, -20.0);
  Restore(h, kAttack, -500.0);
  h.RunMono(Tone(44100, 0.9, 0.01));
  EXPECT_GT(h.plug->GetGainReductionDB(), -100.0);
  ExpectFiniteState(h);
}

TEST(KestrelBadInput, BadSampleRates)
{
  // Below 1 Hz the filters' whole-hertz rate would be 0, and a subnormal rate times a time
  // constant is 0: both divided by zero.
  for (double rate : {0.0, -44100.0, kNaN, kInf, 0.5, 0.25, 5e-324})
  {
    KestrelHarness h(rate);
    Busy(h);
    std::vector<double> in[4] = {Tone(256, 0.9, 0.02), Tone(256, 0.9, 0.03), Tone(256, 0.9, 0.01), {}};
    std::vector<double> out[2] = {Constant(256, 0.0), Constant(256, 0.0)};
    h.Run(in, out, 256);
    for (int c = 0; c < 2; ++c)
      for (double v : out[c])
        ASSERT_TRUE(std::isfinite(v)) << rate;
    ExpectFiniteState(h);
    // A poisoned detector filter would hide the signal from the detector.
    EXPECT_LT(h.plug->GetGainReductionDB(), -1.0) << rate;
  }
}

TEST(KestrelBadInput, EmptyBlocksTouchNothing)
{
  KestrelHarness h;
  h.Set(kThreshold, -30.0);
  h.RunMono(Tone(300, 0.9, 0.02));
  const double in = h.plug->GetInputMeterDB(), out = h.plug->GetOutputMeterDB();
  const double gr = h.plug->GetGainReductionDB();
  double a = 0.5, b = kNaN, c = 0.25, d = -0.25;
  double* ins[4] = {&a, &b, &c, &c};
  double* outs[2] = {&c, &d};
  for (int frames : {0, -1, -1000})
  {
    h.plug->ProcessDoubleReplacing(ins, outs, frames);
    EXPECT_EQ(h.plug->GetInputMeterDB(), in);
    EXPECT_EQ(h.plug->GetOutputMeterDB(), out);
    EXPECT_EQ(h.plug->GetGainReductionDB(), gr);
    EXPECT_EQ(c, 0.25);
    EXPECT_EQ(d, -0.25);
  }
  // Missing buffers are not dereferenced.
  h.plug->ProcessDoubleReplacing(nullptr, outs, 1);
  h.plug->ProcessDoubleReplacing(ins, nullptr, 1);
  double* noLeft[4] = {nullptr, &b, &c, &c};
  h.plug->ProcessDoubleReplacing(noLeft, outs, 1);
  EXPECT_EQ(h.plug->GetInputMeterDB(), in);
}
