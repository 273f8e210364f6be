#pragma once

// The compressor's parameters by index: the order is the state layout hosts store.
enum EKestrelParam
{
  kThreshold = 0,
  kRatio,
  kCompensation,
  kAttack,
  kRelease,
  kParallel,
  kDecadence,
  kDetectorHPF,
  kSidechain,
  kImpetus,
  kAutoMakeup,
  kMeter,
  kNumParams
};

enum EKestrelRatio
{
  kRatio4 = 0,
  kRatio8,
  kRatio12,
  kRatio20,
  kRatioAllIn,
  kNumRatios
};

constexpr int kMaxParamTexts = kNumRatios;

// One entry of the parameter table: a double parameter, or an enumeration when it has texts.
struct KestrelParamSpec
{
  EKestrelParam mIndex;
  const char* mName;
  double mDefault;
  double mMin;
  double mMax;
  double mStep;
  const char* mLabel;
  int mNumTexts;
  const char* mTexts[kMaxParamTexts];
};

// In the order the parameters are set up.
extern const KestrelParamSpec kKestrelParamSpecs[kNumParams];

const KestrelParamSpec& KestrelParamSpecFor(int index);
