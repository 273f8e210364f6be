#include "plugin/KestrelParams.h"

#include <array>
#include <cstddef>

namespace
{
constexpr KestrelParamSpec Double(EKestrelParam index, const char* name, double def, double min, double max,
                                  double step, const char* label)
{
  return {index, name, def, min, max, step, label, 0, {}};
}

template <int N>
constexpr KestrelParamSpec Enum(EKestrelParam index, const char* name, int def, const char* const (&texts)[N])
{
  static_assert(N <= kMaxParamTexts);
  KestrelParamSpec spec{index, name, double(def), 0.0, double(N - 1), 1.0, "", N, {}};
  for (int i = 0; i < N; ++i)
    spec.mTexts[i] = texts[i];
  return spec;
}

constexpr const char* kRatioTexts[] = {"4:1", "8:1", "12:1", "20:1", "All In"};
constexpr const char* kOnOffTexts[] = {"Off", "On"};
constexpr const char* kMeterTexts[] = {"Output", "Gain Red."};
} // namespace

const KestrelParamSpec kKestrelParamSpecs[kNumParams] = {
  Double(kThreshold, "Threshold", 0.0, -60.0, 0.0, 0.1, "dB"),
  Double(kCompensation, "Compensation", 0.0, -20.0, 20.0, 0.1, "dB"),
  Double(kAttack, "Attack", 20.0, 5.0, 2000.0, 1.0, "uS"),
  Double(kRelease, "Release", 250.0, 1.0, 1000.0, 1.0, "mS"),
  Enum(kRatio, "Ratio", kRatio4, kRatioTexts),
  Double(kParallel, "Parallel", 0.0, 0.0, 100.0, 0.01, "%"),
  Enum(kDecadence, "Decadence", 0, kOnOffTexts),
  Double(kDetectorHPF, "Detector HPF", 10.0, 10.0, 200.0, 1.0, "Hz"),
  Enum(kSidechain, "Sidechain", 0, kOnOffTexts),
  Double(kImpetus, "Impetus", 0.0, 0.0, 100.0, 0.01, "%"),
  Enum(kAutoMakeup, "Auto Makeup", 0, kOnOffTexts),
  Enum(kMeter, "Meter", 0, kMeterTexts),
};

const KestrelParamSpec& KestrelParamSpecFor(int index)
{
  // Where each index sits in the table (which is in setup order), found once; filled from
  // the end so that the first entry for an index wins.
  static const std::array<int, kNumParams> position = [] {
    std::array<int, kNumParams> p{};
    for (int i = kNumParams - 1; i >= 0; --i)
      if (kKestrelParamSpecs[i].mIndex >= 0 && kKestrelParamSpecs[i].mIndex < kNumParams)
        p[size_t(kKestrelParamSpecs[i].mIndex)] = i;
    return p;
  }();
  if (index >= 0 && index < kNumParams)
    return kKestrelParamSpecs[position[size_t(index)]];
  return kKestrelParamSpecs[0];
}
