#include "plugin/Kestrel.h"

#include <algorithm>
#include <cassert>
#include <cfloat>
#include <cmath>

#include "plugin/Decibels.h"
#include "plugin/KestrelEditorLink.h"
#include "plugin/KestrelSignal.h"

namespace
{
constexpr const char* kChannelIO = "1-1 2-1 3-1 2-2 3-2 4-2";
constexpr int kNumPresetSlots = 120;
constexpr int kVendorVersion = 0x00020000; // 2.0.0

constexpr int FourCC(const char (&code)[5])
{
  return (code[0] << 24) | (code[1] << 16) | (code[2] << 8) | code[3];
}

// The meters and the oversampling filters keep the rate they were built at.
constexpr double kMeterAttackMs = 0.01;
constexpr double kMeterReleaseMs = 0.6;
constexpr double kGainMeterReleaseMs = 0.01;
constexpr double kOversampleCutoffHz = 20000.0;
constexpr double kDetectorHPFBypassHz = 10.0;
constexpr double kOversampleMakeupDB = 3.0;

// A rate the host could not have meant would turn every coefficient into NaN; one so
// small that its product with a time constant vanishes would divide by zero.
double SaneSampleRate(double rate)
{
  return (std::isfinite(rate) && rate >= DBL_MIN) ? rate : 44100.0;
}

// The filters count the rate in whole hertz: below one they would divide by zero.
long FilterRate(double hz)
{
  return std::max(1, TruncToInt(hz));
}
} // namespace

Kestrel::Kestrel(const IPlugInstanceInfo& instanceInfo)
  : KESTREL_BINDING(instanceInfo, kNumParams, kChannelIO, kNumPresetSlots, "Kestrel Compressor", "", "Brackmere Audio",
                    kVendorVersion, FourCC("4q35"), FourCC("Bkmr"), 0, false, false, false)
{
  InitParams();
  MakeFactoryPresets();

  const double rate = SaneSampleRate(GetSampleRate());
  for (chunkware_simple::AttRelEnvelope* env : {&mInputMeterEnv, &mOutputMeterEnv})
  {
    env->setAttack(kMeterAttackMs);
    env->setRelease(kMeterReleaseMs);
    env->setSampleRate(rate);
  }

  mDetectorHPF.SetType(rbjfilter::kHighPass);
  mDetectorHPF.SetFreq(kDetectorHPFBypassHz);
  mDetectorHPF.SetS(1.0);
  mDetectorHPF.SetGain(0.0);
  mDetectorHPF.SetSampleRate(FilterRate(EffectiveSampleRate()));
  for (rbjfilter* lpf : {&mUpsampleLPF, &mDownsampleLPF})
  {
    lpf->SetType(rbjfilter::kLowPass);
    lpf->SetFreq(kOversampleCutoffHz);
    lpf->SetS(1.0);
    lpf->SetGain(0.0);
    lpf->SetSampleRate(FilterRate(2.0 * rate));
  }

  mAttackCoef = std::exp(-1.0 / (mAttackSec * rate));
  mReleaseCoef = std::exp(-1.0 / (mReleaseSec * rate));
  mAllInFastCoef = std::exp(-1.0 / (0.00001 * rate));
  mAllInSlowCoef = std::exp(-1.0 / (0.5 * rate));

  OnParamChange(0);
  MakeEditor();
}

void Kestrel::InitParams()
{
  for (const KestrelParamSpec& spec : kKestrelParamSpecs)
  {
    IParam* param = GetParam(spec.mIndex);
    if (spec.mNumTexts == 0)
    {
      param->InitDouble(spec.mName, spec.mDefault, spec.mMin, spec.mMax, spec.mStep, spec.mLabel);
      continue;
    }
    param->InitEnum(spec.mName, int(spec.mDefault), spec.mNumTexts);
    for (int i = 0; i < spec.mNumTexts; ++i)
      param->SetDisplayText(i, spec.mTexts[i]);
  }
}

// The plain value. The bindings, state restore and the editor keep every parameter finite
// and inside its range, so no stray value reaches a coefficient or an integer conversion.
double Kestrel::ParamValue(int index) const
{
  const KestrelParamSpec& spec = KestrelParamSpecFor(index);
  const double v = GetParam(index)->Value();
  assert(v >= spec.mMin && v <= spec.mMax);
  return v;
}

double Kestrel::EffectiveSampleRate() const
{
  const double rate = SaneSampleRate(GetSampleRate());
  return ParamOn(kDecadence) ? 2.0 * rate : rate;
}

void Kestrel::OnParamChange(int)
{
  PlugMutexScope lock(&mMutex);

  mRatio = 4.0;
  mAllIn = false;
  switch (TruncToInt(ParamValue(kRatio)))
  {
  case kRatio4: mRatio = 4.0; break;
  case kRatio8: mRatio = 8.0; break;
  case kRatio12: mRatio = 12.0; break;
  case kRatio20: mRatio = 20.0; break;
  case kRatioAllIn:
    mRatio = 20.0;
    mAllIn = true;
    break;
  default: break;
  }
  mMeterGR = TruncToInt(ParamValue(kMeter));
  mDecadence = ParamOn(kDecadence);
  mSidechain = ParamOn(kSidechain);
  mAutoMakeup = ParamOn(kAutoMakeup);

  mAttackSec = ParamValue(kAttack) / 1000000.0;
  mReleaseSec = ParamValue(kRelease) / 1000.0;
  const double fsE = EffectiveSampleRate();
  // A host automating one control calls this every block: what did not change is not
  // recomputed (same arguments, same results).
  const auto exp = [](double x) { return std::exp(x); };
  mAttackCoef = mAttackCoefOf.Of(-1.0 / (fsE * mAttackSec), exp);
  mReleaseCoef = mReleaseCoefOf.Of(-1.0 / (fsE * mReleaseSec), exp);

  const double hpf = ParamValue(kDetectorHPF);
  mFilterDetector = hpf > kDetectorHPFBypassHz;
  if (mDetectorHPF.GetFreq() != hpf)
    mDetectorHPF.SetFreq(hpf);
  if (mDetectorHPF.GetSampleRate() != FilterRate(fsE))
    mDetectorHPF.SetSampleRate(FilterRate(fsE));

  const double impetus = ParamValue(kImpetus);
  if (mAttackOdometer)
    PushReadoutValue(mAttackOdometer, ParamValue(kAttack));
  if (mReleaseOdometer)
    PushReadoutValue(mReleaseOdometer, ParamValue(kRelease));
  if (mImpetusOdometer)
    PushReadoutValue(mImpetusOdometer, impetus);

  const double meterReleaseMs = mMeterGR ? kGainMeterReleaseMs : kMeterReleaseMs;
  if (mOutputMeterEnv.getAttack() != kMeterAttackMs)
    mOutputMeterEnv.setAttack(kMeterAttackMs);
  if (mOutputMeterEnv.getRelease() != meterReleaseMs)
    mOutputMeterEnv.setRelease(meterReleaseMs);

  // Soft saturation x P (1 - |x O|): O grows 11 % per percent of Impetus, and P brings full
  // scale back to 1.
  const double drive = mDriveOf.Of(impetus, [](double x) { return std::pow(1.11, x) / std::pow(1.11, 100.0); });
  mImpetusSlope = 0.5 * drive;
  mImpetusNorm = 1.0 / (1.0 - 0.5 * drive);

  mOversampleGainDB = mDecadence ? kOversampleMakeupDB : 0.0;
  mOversampleGain = mOversampleGainOf.Of(mOversampleGainDB, LinearFromDB);

  mThresholdRamp.SetTarget(ParamValue(kThreshold));
  mCompensationRamp.SetTarget(ParamValue(kCompensation));
  mImpetusRamp.SetTarget(impetus);
  mParallelRamp.SetTarget(ParamValue(kParallel));
  mRamping = true;
  StepRamps();
  UpdateControls();
}

void Kestrel::Reset()
{
  PlugMutexScope lock(&mMutex);
  mThresholdRamp.SetUnramped(ParamValue(kThreshold));
  mCompensationRamp.SetUnramped(ParamValue(kCompensation));
  mImpetusRamp.SetUnramped(ParamValue(kImpetus));
  mParallelRamp.SetUnramped(ParamValue(kParallel));
  mAllInTarget = mAllInValue = 0.0;
  mEnvelopeDB = 0.0;
  mOutputMeterDB = mInputMeterDB = 0.0;
  StepRamps();
  UpdateControls();
}

void Kestrel::UpdateControlValues()
{
  mCompensationDB = mCompensationRamp.Value();
  mParallelPct = mParallelRamp.Value();
  mImpetusPct = mImpetusRamp.Value();
  mThresholdDB = mThresholdRamp.Value();

  mMakeupDB = kestrel_signal::MakeupDB(mThresholdDB, mCompensationDB, mRatio, mAutoMakeup);

  mDryMix = kestrel_signal::DryMixOf(mParallelPct);
  mWetMix = 1.0 - mDryMix;
}

void Kestrel::UpdateControls()
{
  const double thresholdDB = mThresholdDB, makeupDB = mMakeupDB;
  UpdateControlValues();
  // The exponentials are skipped when their argument has not moved: same input, same result.
  if (mThresholdDB != thresholdDB)
    mThresholdLin = LinearFromDB(mThresholdDB);
  if (mMakeupDB != makeupDB)
    mMakeupGain = LinearFromDB(mMakeupDB);
}
