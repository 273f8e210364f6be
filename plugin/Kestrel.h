#pragma once

// The compressor effect. One source builds it on whichever host binding the deliverable
// uses: KESTREL_BINDING names the binding class and KESTREL_BINDING_HEADER its header,
// which also defines IPlugInstanceInfo.
#if !defined(KESTREL_BINDING) || !defined(KESTREL_BINDING_HEADER)
#error "build the effect through kestrel_effect(), which names the binding"
#endif
#include KESTREL_BINDING_HEADER

#include "plugin/KestrelEnvelope.h"
#include "plugin/KestrelLayout.h"
#include "plugin/KestrelParams.h"
#include "plugin/KestrelLastValue.h"
#include "plugin/KestrelWet.h"
#include "plugin/RampedParam.h"
#include "rbjfilter/rbjfilter.h"
#include "simpleSource/AttRelEnvelope.h"

class IBitmapControl;
class IOdometerControl;

class Kestrel : public KESTREL_BINDING
{
public:
  explicit Kestrel(const IPlugInstanceInfo& instanceInfo);
  ~Kestrel() override = default;

  // Host or main thread, never during processing; takes the instance lock.
  void Reset() override;
  // Any thread; takes the instance lock. Recomputes everything derived from all parameters.
  void OnParamChange(int paramIdx) override;
  // Audio thread; no lock, no allocation.
  void ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames) override;

  // One ramp step and the gains that follow from the ramped values.
  void InterpolateControls()
  {
    // Idle ramps leave every derived gain as it was.
    if (!mRamping)
      return;
    if (StepRamps())
      UpdateControls();
    else
      mRamping = false;
  }

  // What the meters show, in dB, and the state behind them; read after a block.
  double GetInputMeterDB() const { return mInputMeterDB; }
  double GetOutputMeterDB() const { return mOutputMeterDB; }
  double GetGainReductionDB() const { return mGainReductionDB; }
  bool IsMono() const { return mMono; }

  // The chunked fast path (one pass per frame) is on by default; off, every frame takes the
  // general path, which a test compares it against.
  void SetFastPaths(bool on) { mFastPaths = on; }
  // The oversampled chunked path is also built for AVX and takes that build where the
  // processor has it (the default); off, the SSE2 build runs, which a test compares.
  void SetAvx(bool on) { mAvx = on && ProcessorHasAvx(); }
  static bool ProcessorHasAvx();

  // Loads the artwork into pGraphics, attaches the controls and hands the editor to the
  // plug-in, which owns it from then on. The window binding sets the bundle identifier first.
  void BuildEditor(IGraphics* pGraphics);
  static constexpr int kEditorWidth = kKestrelEditorWidth, kEditorHeight = kKestrelEditorHeight, kEditorFPS = 30;
  IBitmapControl* GetInputMeter() const { return mInputMeter; }
  IBitmapControl* GetOutputMeter() const { return mOutputMeter; }
  IOdometerControl* GetReadout(int i) const
  {
    return i == 0 ? mAttackOdometer : i == 1 ? mReleaseOdometer : i == 2 ? mImpetusOdometer : nullptr;
  }

private:
  // The deliverables' editor on the Mac window binding; none in builds without a bundle.
  void MakeEditor();

  // The chunked path's stages live in their own unit.
  friend class KestrelChunkPath;

  // The smoothed controls of one frame, as the signal path uses them.
  struct Controls
  {
    double makeupGain, wetMix, dryMix;
    bool shape;
  };

  // The block's channel pointers; the right ones are null on the mono path, the key ones
  // when the side-chain is off.
  struct Channels
  {
    const double* in[2] = {};
    const double* key[2] = {};
    double* out[2] = {};
  };

  void InitParams();
  void MakeFactoryPresets();
  double ParamValue(int index) const;
  bool ParamOn(int index) const { return ParamValue(index) >= 0.5; }
  double EffectiveSampleRate() const;

  Controls CurrentControls() const { return {mMakeupGain, mWetMix, mDryMix, mImpetusPct > 0.0}; }

  int StepRamps()
  {
    int moved = mThresholdRamp.Ramp();
    moved |= mParallelRamp.Ramp();
    moved |= mCompensationRamp.Ramp();
    moved |= mImpetusRamp.Ramp();
    return moved;
  }
  // The ramped values and what follows from them without an exponential; then the gains.
  void UpdateControlValues();
  void UpdateControls();

  void UpdateInputMeter(double level);
  void UpdateOutputMeter(double lastLevel);
  static double MeterDB(double level);

  // What one pass changes, held in locals for the length of a block.
  struct PassState
  {
    double dryL, dryR;
    double overDB, gainReductionDB;
    KestrelEnvelope<double> envelope;
  };

  template <int N, bool Oversample>
  void ProcessFrames(const Channels& ch, int nFrames);
  template <int N, bool Oversample>
  void RunFrames(PassState& st, const Channels& ch, int nFrames);
  template <int N, bool Oversample>
  void RunPass(PassState& st, double (&s)[N], const double (&key)[N], bool keyed);
  template <int N>
  double DetectorLevel(double (&detector)[N]);
  KestrelEnvelopeCoefs Coefs() const
  {
    return {mAttackCoef, mReleaseCoef, mAllInFastCoef, mAllInSlowCoef, mRatio, mAllIn};
  }
  double EnvelopeGain(PassState& st, double over) const;
  KestrelWetControls<double, bool> WetControls(const Controls& ctl) const
  {
    return {ctl.makeupGain, ctl.wetMix, ctl.dryMix, ctl.shape, ctl.dryMix != 0.0};
  }

  IBitmapControl* mInputMeter = nullptr;
  IBitmapControl* mOutputMeter = nullptr;
  rbjfilter mDetectorHPF;
  rbjfilter mUpsampleLPF;
  rbjfilter mDownsampleLPF;
  chunkware_simple::AttRelEnvelope mInputMeterEnv{10.0, 100.0, 44100.0};
  chunkware_simple::AttRelEnvelope mOutputMeterEnv{10.0, 100.0, 44100.0};
  double mRatio = 4.0;
  int mMeterGR = 0;
  double mDryL = 0.0, mDryR = 0.0;
  double mAttackCoef = 0.0, mReleaseCoef = 0.0;
  double mOverDB = 0.0;
  double mThresholdLin = 1.0;
  double mAttackSec = 0.01, mReleaseSec = 0.1;
  double mEnvelopeDB = 0.0;
  double mInputMeterDB = 1e-15, mOutputMeterDB = 1e-15;
  double mAllInTarget = 0.0, mAllInValue = 0.0;
  double mAllInFastCoef = 0.0, mAllInSlowCoef = 0.0;
  double mDryMix = 1.0;
  bool mAllIn = false;
  double mGainReductionDB = 0.0;
  double mMakeupDB = 0.0, mMakeupGain = 1.0;
  IOdometerControl* mAttackOdometer = nullptr;
  IOdometerControl* mReleaseOdometer = nullptr;
  IOdometerControl* mImpetusOdometer = nullptr;
  double mThresholdDB = 0.0, mCompensationDB = 0.0, mParallelPct = 1.0, mImpetusPct = 0.0;
  double mWetMix = 0.0;
  double mImpetusNorm = 1.0, mImpetusSlope = 0.0;
  double mOversampleGainDB = 0.0, mOversampleGain = 1.0;
  bool mMono = false;
  RampedParam mThresholdRamp{kRampRate, false};
  RampedParam mParallelRamp{kRampRate, false};
  RampedParam mCompensationRamp{kRampRate, false};
  RampedParam mImpetusRamp{kRampRate, false};

  // The switches as of the last parameter change, so the audio thread need not re-read them.
  bool mAutoMakeup = false;
  bool mDecadence = false;
  bool mSidechain = false;
  bool mFilterDetector = false;
  // Some ramp may still move: cleared once a step or a chunk finds them all idle.
  bool mRamping = false;
  bool mFastPaths = true;
  bool mAvx = ProcessorHasAvx();
  KestrelLastValue mAttackCoefOf, mReleaseCoefOf, mDriveOf, mOversampleGainOf;

  static constexpr double kRampRate = 0.001;
};
