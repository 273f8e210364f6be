// Throughput of the compressor at 44.1 kHz through the double-precision processing frame.
// Counters: "frames/s", and "xRT", the real-time factor (the console adds "/s" to it as to
// every rate). Each case runs briefly; use --benchmark_filter=stereo and
// --benchmark_repetitions=5 for steadier figures.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "plugin/Kestrel.h"

namespace
{
constexpr double kRate = 44100.0;

enum class Setting
{
  kDefaults,
  kVocal1,
  kHiRes,
  kAllIn,
  kSidechain,
  kAutomation
};

enum class Input
{
  kNoise,
  kSilence,
  kSubnormal
};

struct Case
{
  const char* name;
  Setting setting;
};

constexpr Case kCases[] = {
  {"defaults", Setting::kDefaults}, {"vocal1", Setting::kVocal1},        {"hires", Setting::kHiRes},
  {"allin", Setting::kAllIn},       {"sidechain4", Setting::kSidechain}, {"automation", Setting::kAutomation},
};

constexpr std::pair<const char*, Input> kInputs[] = {
  {"noise-12dB", Input::kNoise}, {"silence", Input::kSilence}, {"subnormal", Input::kSubnormal}};

// The project's own generator: the same noise on every platform.
struct Lcg
{
  uint64_t state = 0x2545F4914F6CDD1DULL;
  double Next()
  {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return double(state >> 11) * (1.0 / 9007199254740992.0) * 2.0 - 1.0;
  }
};

std::vector<double> MakeInput(Input input, int frames, int channel)
{
  std::vector<double> x(size_t(frames), 0.0);
  Lcg rng;
  rng.state += uint64_t(channel) * 977;
  // -12 dBFS peak uniform noise; subnormals of both signs.
  for (double& v : x)
    v = input == Input::kNoise       ? 0.25118864315095796 * rng.Next()
        : input == Input::kSubnormal ? (rng.Next() < 0.0 ? -1e-310 : 3e-312)
                                     : 0.0;
  return x;
}

void Configure(Kestrel& plug, Setting setting)
{
  auto set = [&](int idx, double value) {
    plug.GetParam(idx)->Set(value);
    plug.OnParamChange(idx);
  };
  switch (setting)
  {
  case Setting::kDefaults: break;
  case Setting::kVocal1: plug.RestorePreset("Vocal 1"); break;
  case Setting::kHiRes: plug.RestorePreset("HiRes Voiceover"); break; // Decadence, high-pass at 38 Hz
  case Setting::kAllIn:
    set(kThreshold, -30.0);
    set(kRatio, kRatioAllIn);
    break;
  case Setting::kSidechain:
    plug.RestorePreset("Vocal 1");
    set(kSidechain, 1);
    break;
  case Setting::kAutomation: plug.RestorePreset("Vocal 1"); break;
  }
  plug.Reset();
}

void Run(benchmark::State& state, int channels, int frames, Setting setting, Input input)
{
  IPlugInstanceInfo info;
  auto plug = std::make_unique<Kestrel>(info);
  plug->SetSampleRate(kRate);
  plug->SetBlockSize(frames);
  Configure(*plug, setting);
  // KESTREL_GENERIC=1 measures the general per-frame path alone.
  if (std::getenv("KESTREL_GENERIC"))
    plug->SetFastPaths(false);
  // KESTREL_NO_AVX=1 measures the SSE2 build of the oversampled stages.
  if (std::getenv("KESTREL_NO_AVX"))
    plug->SetAvx(false);

  const int inputs = setting == Setting::kSidechain ? 4 : channels;
  std::vector<double> in[4], out[2];
  double* inPtrs[4] = {};
  double* outPtrs[2] = {};
  for (int c = 0; c < inputs; ++c)
  {
    in[c] = MakeInput(input, frames, c);
    inPtrs[c] = in[c].data();
  }
  for (int c = 0; c < 2; ++c)
  {
    out[c].assign(size_t(frames), 0.0);
    outPtrs[c] = out[c].data();
  }
  plug->SetInputChannelConnections(0, 4, false);
  plug->SetInputChannelConnections(0, channels, true);
  if (inputs == 4)
    plug->SetInputChannelConnections(2, 2, true);
  plug->SetOutputChannelConnections(0, channels, true);

  int64_t block = 0;
  for (auto _ : state)
  {
    if (setting == Setting::kAutomation)
    {
      // A host moving the threshold every block keeps the smoothing busy.
      plug->GetParam(kThreshold)->Set((block & 1) ? -18.0 : -21.0);
      plug->OnParamChange(kThreshold);
    }
    plug->AttachInputBuffers(0, 4, inPtrs, frames);
    plug->AttachOutputBuffers(0, 2, outPtrs);
    plug->ProcessBuffers(0.0, frames);
    benchmark::DoNotOptimize(out[0].data());
    benchmark::ClobberMemory();
    ++block;
  }
  const double processed = double(state.iterations()) * frames;
  state.counters["frames/s"] = benchmark::Counter(processed, benchmark::Counter::kIsRate);
  state.counters["xRT"] = benchmark::Counter(processed / kRate, benchmark::Counter::kIsRate);
}

void RegisterAll()
{
  for (int channels : {1, 2})
    for (const Case& c : kCases)
      for (const auto& [inputName, input] : kInputs)
        for (int frames : {32, 512, 4096})
        {
          const std::string name =
            std::string(channels == 1 ? "mono/" : "stereo/") + c.name + "/" + inputName + "/" + std::to_string(frames);
          benchmark::RegisterBenchmark(name.c_str(), [=, input = input](benchmark::State& s) {
            Run(s, channels, frames, c.setting, input);
          })->MinTime(0.02);
        }
}
} // namespace

int main(int argc, char** argv)
{
  RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
