#include "plugin/Kestrel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "plugin/Branchless.h"
#include "plugin/Decibels.h"
#include "plugin/KestrelEditorLink.h"

namespace
{
// Below this a level reads as silence.
constexpr double kSilenceLevel = 1e-15;
constexpr double kSilenceDB = -1000.0;
// A jump of the level above threshold beyond this (dB) pushes the All In ratio up.
constexpr double kAllInJumpDB = 5.0;
constexpr double kAllInStep = 4.0;
constexpr double kAllInBaseRatio = 12.0;

double RmsOfPair(double l, double r)
{
  return std::sqrt((l * l + r * r) * 0.5);
}

// One-pole smoothing toward target, faster on the way up.
double Smooth(double current, double target, const chunkware_simple::AttRelEnvelope& env)
{
  const double coef = target > current ? env.getAttackCoef() : env.getReleaseCoef();
  return FlushDenormal(target + (current - target) * coef);
}

// Main-channel samples: the stereo path flushes them, the mono path keeps them as they are;
// both read a non-finite sample as silence.
template <int N>
double ReadMain(const double* in, int k)
{
  return N == 2 ? NormalOrZero(in[k]) : FiniteOrZero(in[k]);
}

template <int N>
void Filter(rbjfilter& filter, double (&s)[N])
{
  if constexpr (N == 2)
    filter.Process(s[0], s[1]);
  else
    filter.Process(s[0]);
}
} // namespace

double Kestrel::MeterDB(double level)
{
  // Capped so that an overflowing pair of samples still gives a finite reading.
  level = std::min(level, DBL_MAX);
  return level >= kSilenceLevel ? FlushDenormal(DBFromLevel(level)) : kSilenceDB;
}

void Kestrel::UpdateInputMeter(double level)
{
  mInputMeterDB = Smooth(mInputMeterDB, MeterDB(level), mInputMeterEnv);
  if (mInputMeter)
    PushMeterValue(mInputMeter, (mInputMeterDB + 50.0) / 60.0);
}

void Kestrel::UpdateOutputMeter(double lastLevel)
{
  const double v = FlushDenormal(mMeterGR ? mGainReductionDB : MeterDB(lastLevel));
  mOutputMeterDB = Smooth(mOutputMeterDB, v, mOutputMeterEnv);
  if (mOutputMeter)
    PushMeterValue(mOutputMeter, mMeterGR ? (mOutputMeterDB + 15.0) / 15.0 : (mOutputMeterDB + 50.0) / 60.0);
}

// dB of the level above the threshold, clamped at 0: a level held at the threshold gives
// q = 1 and so exactly that, without a branch that noisy input would make unpredictable and
// without dividing a subnormal level. The cap keeps an overflowing quotient finite.
inline double Kestrel::OverDB(double level) const
{
  const double q = MaxOf(level, mThresholdLin) / mThresholdLin;
  return DBFromLevel(MinOf(q, DBL_MAX));
}

// One step of the envelope and of the All In ratio; the gain for this sample.
inline double Kestrel::EnvelopeGain(PassState& st, double over) const
{
  const double env = st.envelopeDB;
  st.overDB = over;
  // Rising or falling, and a jump or not, are coin tosses on noisy input: no branches.
  st.allInTarget = SelectGreater(over - env, kAllInJumpDB, kAllInStep, st.allInTarget);
  st.envelopeDB = FlushDenormal(over + (env - over) * SelectGreater(over, env, mAttackCoef, mReleaseCoef));
  st.allInValue =
    st.allInTarget + (st.allInValue - st.allInTarget) * SelectGreater(over, env, mAllInFastCoef, mAllInSlowCoef);
  st.allInTarget = st.allInValue;

  const double ratio = mAllIn ? st.allInValue + kAllInBaseRatio : mRatio;
  st.gainReductionDB = -st.envelopeDB * (ratio - 1.0) / ratio;
  return st.gainReductionDB == 0.0 ? 1.0 : LinearFromDB(st.gainReductionDB);
}

// The detector signal through the high-pass (when on); the larger magnitude.
template <int N>
inline double Kestrel::DetectorLevel(double (&detector)[N])
{
  if (mFilterDetector)
    Filter(mDetectorHPF, detector);
  double level = std::fabs(detector[0]);
  if constexpr (N == 2)
    level = std::max(level, std::fabs(detector[1]));
  return level;
}

// Gain, makeup, saturation (x P (1 - |x O|), through 0 and, by the choice of P, through 1)
// and the dry mix of one sample. Products with exactly 1 and a mix without dry part change
// nothing: skipping them keeps subnormal samples of the mono path (which are not flushed)
// out of slow arithmetic.
inline double Kestrel::Wet(double x, double dry, double gain, const Controls& ctl) const
{
  if (gain != 1.0)
    x *= gain;
  if (ctl.makeupGain != 1.0)
    x *= ctl.makeupGain;
  if (ctl.shape)
    x = x * mImpetusNorm * (1.0 - std::fabs(x * mImpetusSlope));
  return ctl.dryMix == 0.0 ? x : ctl.wetMix * x + dry * ctl.dryMix;
}

template <int N, bool Oversample>
void Kestrel::RunPass(PassState& st, double (&s)[N], const double (&key)[N], bool keyed)
{
  if constexpr (Oversample)
  {
    Filter(mUpsampleLPF, s);
    for (double& x : s)
      x *= mOversampleGain;
  }
  st.dryL = s[0];
  if constexpr (N == 2)
    st.dryR = s[1];

  double detector[N];
  for (int c = 0; c < N; ++c)
    detector[c] = keyed ? key[c] : s[c];
  const double gain = EnvelopeGain(st, OverDB(DetectorLevel(detector)));
  const Controls ctl = CurrentControls();
  for (double& x : s)
    x = Wet(x, x, gain, ctl);

  if constexpr (Oversample)
  {
    Filter(mDownsampleLPF, s);
    for (double& x : s)
      x *= mOversampleGain;
  }
}

// With one pass per frame, the levels above threshold of a whole stretch are computed
// first: their logarithms do not wait on the envelope, so they overlap instead of
// lengthening each frame's chain. Same operations in the same order per sample, same results.
template <int N>
void Kestrel::ProcessChunk(PassState& st, const Channels& ch, int first, int count)
{
  double signal[N][kChunkFrames];
  double over[kChunkFrames];
  Controls ctl[kChunkFrames];
  const bool keyed = ch.key[0] != nullptr;
  for (int k = 0; k < count; ++k)
  {
    InterpolateControls();
    ctl[k] = CurrentControls();
    double detector[N];
    for (int c = 0; c < N; ++c)
    {
      signal[c][k] = ReadMain<N>(ch.in[c], first + k);
      detector[c] = keyed ? NormalOrZero(ch.key[c][first + k]) : signal[c][k];
    }
    over[k] = OverDB(DetectorLevel(detector));
  }

  for (int k = 0; k < count; ++k)
  {
    const double gain = EnvelopeGain(st, over[k]);
    for (int c = 0; c < N; ++c)
      ch.out[c][first + k] = FiniteOrZero(Wet(signal[c][k], signal[c][k], gain, ctl[k]));
  }
  st.dryL = signal[0][count - 1];
  if constexpr (N == 2)
    st.dryR = signal[1][count - 1];
}

template <int N, bool Oversample>
void Kestrel::ProcessFrames(const Channels& ch, int nFrames)
{
  // The recursive state stays in registers for the block instead of going through memory
  // on every sample.
  PassState st{mDryL, mDryR, mOverDB, mEnvelopeDB, mGainReductionDB, mAllInTarget, mAllInValue};
  const bool keyed = ch.key[0] != nullptr;
  double key[N] = {};
  for (int k = 0; k < nFrames;)
  {
    if constexpr (!Oversample)
    {
      if (mFastPaths)
      {
        const int count = std::min(kChunkFrames, nFrames - k);
        ProcessChunk<N>(st, ch, k, count);
        k += count;
        continue;
      }
    }
    InterpolateControls();
    double s[N];
    for (int c = 0; c < N; ++c)
      s[c] = ReadMain<N>(ch.in[c], k);
    if (keyed)
      for (int c = 0; c < N; ++c)
        key[c] = NormalOrZero(ch.key[c][k]);

    RunPass<N, Oversample>(st, s, key, keyed);
    if constexpr (Oversample)
    {
      // Zero stuffing: the second pass at twice the rate gets no new sample.
      for (double& x : s)
        x = 0.0;
      RunPass<N, Oversample>(st, s, key, keyed);
    }
    // Only a level far beyond full scale can overflow; the host never sees it.
    for (int c = 0; c < N; ++c)
      ch.out[c][k] = FiniteOrZero(s[c]);
    ++k;
  }
  mDryL = st.dryL;
  mDryR = st.dryR;
  mOverDB = st.overDB;
  mEnvelopeDB = st.envelopeDB;
  mGainReductionDB = st.gainReductionDB;
  mAllInTarget = st.allInTarget;
  mAllInValue = st.allInValue;
}

void Kestrel::ProcessDoubleReplacing(double** inputs, double** outputs, int nFrames)
{
  // An empty block touches nothing, the meters included.
  if (nFrames <= 0 || !inputs || !outputs || !inputs[0] || !outputs[0])
    return;

  // One host (23) hands over stereo even with the right input unconnected.
  const bool stereoWanted = IsInChannelConnected(1) || GetHost() == kHostArdour;
  mMono = !(stereoWanted && inputs[1] && outputs[1]);

  Channels ch;
  ch.in[0] = inputs[0];
  ch.out[0] = outputs[0];
  if (!mMono)
  {
    ch.in[1] = inputs[1];
    ch.out[1] = outputs[1];
  }
  if (mSidechain && IsInChannelConnected(2) && inputs[2])
  {
    ch.key[0] = inputs[2];
    // A missing right key channel follows the left one.
    ch.key[1] = inputs[3] ? inputs[3] : inputs[2];
  }

  // The meters look at the first input frame and the last output frame (read before
  // processing: the host may process in place).
  if (mMono)
    UpdateInputMeter(std::fabs(NormalOrZero(ch.in[0][0])));
  else
    UpdateInputMeter(RmsOfPair(NormalOrZero(ch.in[0][0]), NormalOrZero(ch.in[1][0])));

  if (mMono)
    mDecadence ? ProcessFrames<1, true>(ch, nFrames) : ProcessFrames<1, false>(ch, nFrames);
  else
    mDecadence ? ProcessFrames<2, true>(ch, nFrames) : ProcessFrames<2, false>(ch, nFrames);

  const int last = nFrames - 1;
  UpdateOutputMeter(mMono ? std::fabs(ch.out[0][last]) : RmsOfPair(ch.out[0][last], ch.out[1][last]));
}
