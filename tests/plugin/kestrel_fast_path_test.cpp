// The chunked path (controls at rest or moving, oversampled or not) against the general
// per-frame path: random settings, blocks, channel layouts and signals, compared bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "tests/plugin/KestrelHarness.h"

namespace
{
// The project's own generator, so an iteration replays the same on every platform.
struct Lcg
{
  explicit Lcg(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ULL + 1) {}
  uint64_t Next()
  {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return state >> 17;
  }
  double Unit() { return double(Next() % 1000001) / 1000000.0; }
  int Below(int n) { return int(Next() % uint64_t(n)); }
  uint64_t state;
};

std::vector<uint64_t> Bits(const std::vector<double>& v)
{
  std::vector<uint64_t> bits;
  for (double x : v)
    bits.push_back(std::bit_cast<uint64_t>(x));
  return bits;
}

// Biased toward the ends of each range, where the special cases live.
double RandomParam(Lcg& rng, const IParam* p)
{
  switch (rng.Below(4))
  {
  case 0: return p->GetMin();
  case 1: return p->GetMax();
  default: return p->GetMin() + rng.Unit() * (p->GetMax() - p->GetMin());
  }
}

double RandomSample(Lcg& rng, int kind)
{
  const double v = 2.0 * rng.Unit() - 1.0;
  switch (kind)
  {
  case 0: return 0.0;
  case 1: return v * 1e-310;
  case 2: return v * 0.01;
  case 3: return rng.Below(200) == 0 ? std::numeric_limits<double>::quiet_NaN() : v;
  default: return v * 2.0;
  }
}

void RunIteration(int iteration)
{
  Lcg rng{uint64_t(iteration)};
  KestrelHarness fast, general;
  general.plug->SetFastPaths(false);
  // Half the iterations check the oversampled stages' SSE2 build (the same where the
  // processor lacks AVX).
  fast.plug->SetAvx(iteration % 2 == 0);
  const bool stereo = rng.Below(2) == 1;
  const bool keyed = rng.Below(3) == 0;
  for (int block = 0; block < 12; ++block)
  {
    // Some blocks change settings (the smoothed ones start ramps), some run at rest.
    if (rng.Below(3) == 0)
    {
      const int changes = 1 + rng.Below(3);
      for (int i = 0; i < changes; ++i)
      {
        const int idx = rng.Below(kNumParams);
        const double value = RandomParam(rng, fast.plug->GetParam(idx));
        const bool snap = rng.Below(2) == 0;
        fast.Set(idx, value, snap);
        general.Set(idx, value, snap);
      }
    }
    const int frames = rng.Below(8) == 0 ? rng.Below(3) : 1 + rng.Below(700);
    const int kind = rng.Below(5);
    std::vector<double> in[4];
    for (int c = 0; c < 4; ++c)
    {
      if ((c == 1 && !stereo) || (c >= 2 && !keyed))
        continue;
      in[c].resize(size_t(frames));
      for (double& v : in[c])
        v = RandomSample(rng, kind);
    }
    std::vector<double> a[2] = {Constant(frames, 0.0), Constant(frames, 0.0)};
    std::vector<double> b[2] = {Constant(frames, 0.0), Constant(frames, 0.0)};
    if (frames == 0)
      continue; // an empty vector would read as an unconnected channel
    fast.Run(in, a, frames);
    general.Run(in, b, frames);
    // Bits, not ==: -0 and +0 differ.
    ASSERT_EQ(Bits(a[0]), Bits(b[0])) << "block " << block;
    ASSERT_EQ(Bits(a[1]), Bits(b[1])) << "block " << block;
    ASSERT_EQ(Bits({fast.plug->GetGainReductionDB(), fast.plug->GetOutputMeterDB()}),
              Bits({general.plug->GetGainReductionDB(), general.plug->GetOutputMeterDB()}))
      << "block " << block;
  }
}
} // namespace

TEST(KestrelFastPath, MatchesTheGeneralPathBitForBit)
{
  // KESTREL_ITERATION=n replays one iteration.
  if (const char* one = std::getenv("KESTREL_ITERATION"))
  {
    RunIteration(std::atoi(one));
    return;
  }
  for (int iteration = 0; iteration < 300; ++iteration)
  {
    SCOPED_TRACE(iteration);
    RunIteration(iteration);
    if (HasFatalFailure())
      return;
  }
}
