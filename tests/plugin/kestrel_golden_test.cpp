// Output fingerprints recorded from a reviewed build: every sample of every block and the
// meter state after it, over presets, automation, All In, side-chain, Decadence, Impetus,
// Parallel and both meter modes. Speed work must leave all of them unchanged, bit for bit.
// KESTREL_GOLDEN_PRINT=1 prints the table instead of checking it; a failure names the first
// differing sample where one path still matches, and the command that re-records the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include "tests/plugin/KestrelHarness.h"

namespace
{
// FNV-1a over the bytes of each double.
struct Fingerprint
{
  uint64_t hash = 0xcbf29ce484222325ULL;
  void Add(double v)
  {
    unsigned char bytes[sizeof v];
    std::memcpy(bytes, &v, sizeof v);
    for (unsigned char b : bytes)
      hash = (hash ^ b) * 0x100000001b3ULL;
  }
  void Add(uint64_t v) { Add(std::bit_cast<double>(v)); }
};

struct Lcg
{
  explicit Lcg(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ULL + 7) {}
  double Next()
  {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return double(state >> 11) * (1.0 / 9007199254740992.0) * 2.0 - 1.0;
  }
  uint64_t state;
};

enum class Signal
{
  kNoise,  // -12 dBFS peak
  kBursts, // quiet noise with loud bursts: the envelope jumps
  kHot,    // beyond full scale
  kSilence,
  kSubnormal,
  kSpecials, // music-like noise with NaN, infinities and subnormals mixed in
  kSine
};

std::vector<double> MakeSignal(Signal kind, int frames, int channel)
{
  Lcg rng{uint64_t(channel) * 31 + uint64_t(kind)};
  std::vector<double> x(static_cast<size_t>(frames));
  for (int k = 0; k < frames; ++k)
  {
    const double n = rng.Next();
    double& v = x[size_t(k)];
    switch (kind)
    {
    case Signal::kNoise: v = 0.25118864315095796 * n; break;
    case Signal::kBursts: v = ((k / 700) % 3 == 2 ? 0.9 : 0.003) * n; break;
    case Signal::kHot: v = 3.0 * n; break;
    case Signal::kSilence: v = 0.0; break;
    case Signal::kSubnormal: v = n < 0.0 ? -1e-310 : 3e-312; break;
    case Signal::kSpecials:
      v = 0.5 * n;
      if (k % 97 == 5)
        v = std::numeric_limits<double>::quiet_NaN();
      else if (k % 131 == 7)
        v = (k & 1) ? std::numeric_limits<double>::infinity() : -std::numeric_limits<double>::infinity();
      else if (k % 13 == 3)
        v = n * 1e-309;
      break;
    case Signal::kSine: v = 0.7 * std::sin(0.0123 * k * (channel + 1)) * (1.0 + 0.5 * std::sin(0.0007 * k)); break;
    }
  }
  return x;
}

// Every value a scenario fingerprints, with where it came from, while a failure is traced.
struct Traced
{
  double value;
  int render, block, channel, frame; // channels 2, 3, 4: input meter, output meter, gain reduction
};
std::vector<Traced>* gTrace = nullptr;
int gRenders = 0;

struct Layout
{
  bool stereo;
  int keys; // side-chain inputs connected: 0, 1 or 2
};

// Renders `total` frames in blocks of `block`, calling `perBlock` before each block.
uint64_t Render(KestrelHarness& h, Layout layout, Signal kind, int total, int block,
                const std::function<void(int)>& perBlock = {})
{
  std::vector<double> src[4];
  for (int c = 0; c < 4; ++c)
    src[c] = MakeSignal(c >= 2 ? Signal::kBursts : kind, total, c);
  Fingerprint fp;
  const int render = gRenders++;
  const auto add = [&](double v, int blockIdx, int channel, int frame) {
    fp.Add(v);
    if (gTrace)
      gTrace->push_back({v, render, blockIdx, channel, frame});
  };
  int blockIndex = 0;
  for (int first = 0; first < total; first += block, ++blockIndex)
  {
    const int frames = std::min(block, total - first);
    if (perBlock)
      perBlock(blockIndex);
    std::vector<double> in[4];
    for (int c = 0; c < 4; ++c)
    {
      const bool used = c == 0 || (c == 1 && layout.stereo) || (c >= 2 && c - 2 < layout.keys);
      if (used)
        in[c].assign(src[c].begin() + first, src[c].begin() + first + frames);
    }
    std::vector<double> out[2] = {Constant(frames, -7.0), Constant(frames, -7.0)};
    h.Run(in, out, frames);
    for (int c = 0; c < 2; ++c)
      for (int k = 0; k < frames; ++k)
        add(out[c][size_t(k)], blockIndex, c, k);
    add(h.plug->GetInputMeterDB(), blockIndex, 2, 0);
    add(h.plug->GetOutputMeterDB(), blockIndex, 3, 0);
    add(h.plug->GetGainReductionDB(), blockIndex, 4, 0);
  }
  return fp.hash;
}

// The per-frame path, the chunked path as the processor takes it, and the chunked path's
// SSE2 build.
enum class Path
{
  kGeneral,
  kChunked,
  kChunkedSse2
};
constexpr const char* kPathNames[] = {"fast paths off", "fast paths on", "fast paths on, SSE2 build"};

void UsePath(KestrelHarness& h, Path path)
{
  h.plug->SetFastPaths(path != Path::kGeneral);
  if (path == Path::kChunkedSse2)
    h.plug->SetAvx(false);
}

using Scenario = std::function<uint64_t(Path)>;

struct Named
{
  std::string name;
  Scenario run;
};

std::vector<Named> Scenarios()
{
  std::vector<Named> all;
  const Signal kSignals[] = {Signal::kNoise,     Signal::kBursts,   Signal::kHot, Signal::kSilence,
                             Signal::kSubnormal, Signal::kSpecials, Signal::kSine};
  const char* kSignalNames[] = {"noise", "bursts", "hot", "silence", "subnormal", "specials", "sine"};

  // Every factory preset, stereo and mono, on a signal that crosses every threshold.
  for (int layout = 0; layout < 2; ++layout)
    all.push_back({std::string("presets/") + (layout ? "stereo" : "mono"), [layout](Path path) {
                     KestrelHarness probe;
                     Fingerprint fp;
                     for (int p = 0; p < probe.plug->NPresets(); ++p)
                     {
                       KestrelHarness h;
                       UsePath(h, path);
                       h.plug->RestorePreset(p);
                       h.plug->Reset();
                       fp.Add(Render(h, {layout == 1, 0}, Signal::kBursts, 3000, 512));
                     }
                     return fp.hash;
                   }});

  // Each signal through a few fixed settings, in three block sizes.
  struct Setting
  {
    const char* name;
    std::vector<std::pair<int, double>> params;
  };
  const Setting kSettings[] = {
    {"defaults", {}},
    {"vocal",
     {{kThreshold, -18.53},
      {kRatio, kRatio8},
      {kAttack, 74.72},
      {kRelease, 129.9},
      {kImpetus, 5.65},
      {kAutoMakeup, 1},
      {kMeter, 1}}},
    {"allin", {{kThreshold, -30.0}, {kRatio, kRatioAllIn}}},
    {"decadence", {{kThreshold, -24.0}, {kRatio, kRatio12}, {kDecadence, 1}, {kDetectorHPF, 38.07}, {kImpetus, 60.0}}},
    {"parallel", {{kThreshold, -40.0}, {kRatio, kRatio20}, {kParallel, 37.5}, {kCompensation, 6.0}, {kMeter, 0}}},
    {"impetus", {{kThreshold, -6.0}, {kImpetus, 100.0}, {kAutoMakeup, 0}, {kCompensation, -3.0}}},
    {"hpf", {{kThreshold, -20.0}, {kDetectorHPF, 10.5}, {kAttack, 5.0}, {kRelease, 1.0}}},
  };
  for (const Setting& s : kSettings)
    for (int sig = 0; sig < 7; ++sig)
      for (int layout = 0; layout < 2; ++layout)
        all.push_back({std::string(s.name) + "/" + kSignalNames[sig] + (layout ? "/stereo" : "/mono"),
                       [s, sig, layout, kSignals](Path path) {
                         Fingerprint fp;
                         for (int block : {1, 32, 517})
                         {
                           KestrelHarness h;
                           UsePath(h, path);
                           for (const auto& [idx, value] : s.params)
                             h.Set(idx, value);
                           fp.Add(Render(h, {layout == 1, 0}, kSignals[sig], 2100, block));
                         }
                         return fp.hash;
                       }});

  // The smoothed controls moving: one of them changes every block, or all at once.
  const std::pair<const char*, std::vector<int>> kMoving[] = {
    {"threshold", {kThreshold}},
    {"compensation", {kCompensation}},
    {"parallel", {kParallel}},
    {"impetus", {kImpetus}},
    {"all", {kThreshold, kCompensation, kParallel, kImpetus}}};
  for (const auto& [name, params] : kMoving)
    for (int ratio : {int(kRatio8), int(kRatioAllIn)})
      for (int layout = 0; layout < 2; ++layout)
        all.push_back(
          {std::string("moving/") + name + (ratio == kRatioAllIn ? "/allin" : "/8") + (layout ? "/stereo" : "/mono"),
           [params = params, ratio, layout](Path path) {
             Fingerprint fp;
             for (int block : {32, 512})
               for (int autoMakeup : {0, 1})
               {
                 KestrelHarness h;
                 UsePath(h, path);
                 h.Set(kRatio, ratio);
                 h.Set(kAutoMakeup, autoMakeup);
                 h.Set(kImpetus, 20.0);
                 h.Set(kThreshold, -20.0);
                 const auto move = [&](int b) {
                   for (int idx : params)
                   {
                     const double lo = idx == kThreshold ? -21.0 : idx == kCompensation ? -2.0 : 10.0;
                     const double hi = idx == kThreshold ? -18.0 : idx == kCompensation ? 3.0 : 0.0;
                     h.Set(idx, (b & 1) ? lo : hi, false);
                   }
                 };
                 fp.Add(Render(h, {layout == 1, 0}, Signal::kBursts, 6000, block, move));
               }
             return fp.hash;
           }});

  // Short moves: ramps that end inside a block, at different places in it.
  for (int layout = 0; layout < 2; ++layout)
    all.push_back({std::string("moving/short") + (layout ? "/stereo" : "/mono"), [layout](Path path) {
                     Fingerprint fp;
                     for (int block : {37, 100, 700})
                     {
                       KestrelHarness h;
                       UsePath(h, path);
                       h.Set(kAutoMakeup, 1);
                       h.Set(kThreshold, -20.0);
                       const auto move = [&](int b) {
                         h.Set(kThreshold, -20.0 - 0.013 * (b % 7), false);
                         if (b % 3 == 0)
                           h.Set(kCompensation, 0.021 * (b % 5), false);
                         if (b % 4 == 1)
                           h.Set(kParallel, 0.05 * (b % 3), false);
                         if (b % 5 == 2)
                           h.Set(kImpetus, 0.033 * (b % 4), false);
                       };
                       fp.Add(Render(h, {layout == 1, 0}, Signal::kBursts, 5000, block, move));
                     }
                     return fp.hash;
                   }});

  // Side-chain: both key inputs, the left one alone, and the switch off with keys present.
  for (int keys : {1, 2})
    for (int on : {0, 1})
      for (int sig : {0, 4, 5})
        all.push_back(
          {std::string("sidechain/keys") + std::to_string(keys) + (on ? "/on/" : "/off/") + kSignalNames[sig],
           [keys, on, sig, kSignals](Path path) {
             Fingerprint fp;
             for (int block : {32, 512})
             {
               KestrelHarness h;
               UsePath(h, path);
               h.Set(kThreshold, -25.0);
               h.Set(kRatio, kRatio12);
               h.Set(kSidechain, on);
               fp.Add(Render(h, {true, keys}, kSignals[sig], 3000, block));
             }
             return fp.hash;
           }});

  // Other rates and the host that always takes the stereo path.
  for (double rate : {48000.0, 96000.0})
    all.push_back({"rate/" + std::to_string(int(rate)), [rate](Path path) {
                     KestrelHarness h(rate);
                     UsePath(h, path);
                     h.Set(kThreshold, -20.0);
                     h.Set(kDecadence, 1);
                     h.Set(kDetectorHPF, 80.0);
                     return Render(h, {true, 0}, Signal::kBursts, 3000, 256);
                   }});
  all.push_back({"host23/mono-input", [](Path path) {
                   KestrelHarness h(44100.0, "Ardour");
                   UsePath(h, path);
                   h.Set(kThreshold, -20.0);
                   return Render(h, {false, 0}, Signal::kBursts, 3000, 256);
                 }});
  return all;
}

struct Golden
{
  const char* name;
  uint64_t hash;
};

// Recorded with KESTREL_GOLDEN_PRINT=1.
constexpr Golden kGolden[] = {
#include "tests/plugin/kestrel_golden_table.inc"
};
constexpr const char* kReRecord =
  "KESTREL_GOLDEN_PRINT=1 build/tests/plugin/kestrel_tests "
  "--gtest_filter='KestrelGolden.*' | grep '^  {' > tests/plugin/kestrel_golden_table.inc";

std::vector<Traced> TraceOf(const Scenario& run, Path path)
{
  std::vector<Traced> trace;
  gTrace = &trace;
  gRenders = 0;
  run(path);
  gTrace = nullptr;
  return trace;
}

// Where a path's output first parts from one that matches the recording; a fingerprint
// alone cannot say.
std::string FirstDifference(const Scenario& run, const uint64_t (&got)[3], uint64_t recorded)
{
  const int bad = int(std::find_if(got, got + 3, [&](uint64_t h) { return h != recorded; }) - got);
  const int good = int(std::find(got, got + 3, recorded) - got);
  char text[400];
  if (good == 3)
  {
    snprintf(text, sizeof text, "no path gives the recorded 0x%016llx: %s 0x%016llx, %s 0x%016llx, %s 0x%016llx",
             (unsigned long long)recorded, kPathNames[0], (unsigned long long)got[0], kPathNames[1],
             (unsigned long long)got[1], kPathNames[2], (unsigned long long)got[2]);
    return text;
  }
  const std::vector<Traced> a = TraceOf(run, Path(bad)), b = TraceOf(run, Path(good));
  size_t i = 0;
  while (i < a.size() && i < b.size() && std::bit_cast<uint64_t>(a[i].value) == std::bit_cast<uint64_t>(b[i].value))
    ++i;
  if (i == a.size() || i == b.size())
    return std::string(kPathNames[bad]) + " gives a different number of values";
  const char* kChannels[] = {"output 0", "output 1", "input meter", "output meter", "gain reduction"};
  snprintf(text, sizeof text, "%s first differs at render %d, block %d, %s, frame %d: %.17g, but %.17g with %s",
           kPathNames[bad], a[i].render, a[i].block, kChannels[a[i].channel], a[i].frame, a[i].value, b[i].value,
           kPathNames[good]);
  return text;
}
} // namespace

TEST(KestrelGolden, OutputsMatchTheRecordedFingerprints)
{
  const std::vector<Named> scenarios = Scenarios();
  if (std::getenv("KESTREL_GOLDEN_PRINT"))
  {
    for (const Named& s : scenarios)
      printf("  {\"%s\", 0x%016llxULL},\n", s.name.c_str(), (unsigned long long)s.run(Path::kChunked));
    return;
  }
  ASSERT_EQ(std::size(kGolden), scenarios.size()) << "re-record: " << kReRecord;
  for (size_t i = 0; i < scenarios.size(); ++i)
  {
    SCOPED_TRACE(scenarios[i].name);
    ASSERT_STREQ(kGolden[i].name, scenarios[i].name.c_str()) << "re-record: " << kReRecord;
    uint64_t got[3];
    for (int p = 0; p < 3; ++p)
      got[p] = scenarios[i].run(Path(p));
    if (std::count(got, got + 3, kGolden[i].hash) != 3)
      ADD_FAILURE() << FirstDifference(scenarios[i].run, got, kGolden[i].hash);
  }
  if (HasFailure())
    printf("If the outputs are meant to change, re-record the fingerprints:\n  %s\n", kReRecord);
}
