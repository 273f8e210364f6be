#include "plugin/Kestrel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "plugin/Decibels.h"
#include "plugin/KestrelChunk.h"
#include "plugin/KestrelEditorLink.h"
#include "plugin/KestrelSignal.h"

using namespace kestrel_signal;

namespace
{
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
  const double gain = EnvelopeGain(st, OverDB(DetectorLevel(detector), mThresholdLin));
  const KestrelWetControls<double, bool> wet = WetControls(CurrentControls());
  for (double& x : s)
    x = KestrelWet(x, gain, wet, mImpetusNorm, mImpetusSlope);

  if constexpr (Oversample)
  {
    Filter(mDownsampleLPF, s);
    for (double& x : s)
      x *= mOversampleGain;
  }
}

// The general path: one frame at a time, each pass through every stage.
template <int N, bool Oversample>
void Kestrel::RunFrames(PassState& st, const Channels& ch, int nFrames)
{
  const bool keyed = ch.key[0] != nullptr;
  double key[N] = {};
  for (int k = 0; k < nFrames; ++k)
  {
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
  }
}

template <int N, bool Oversample>
void Kestrel::ProcessFrames(const Channels& ch, int nFrames)
{
  // The recursive state stays in registers for the block instead of going through memory
  // on every sample.
  PassState st{mDryL, mDryR, mOverDB, mGainReductionDB, {mEnvelopeDB, mAllInTarget, mAllInValue}};
  if (mFastPaths)
    KestrelChunkPath::Process<N, Oversample>(*this, st, ch, nFrames);
  else
    RunFrames<N, Oversample>(st, ch, nFrames);
  mDryL = st.dryL;
  mDryR = st.dryR;
  mOverDB = st.overDB;
  mGainReductionDB = st.gainReductionDB;
  mEnvelopeDB = st.envelope.envelopeDB;
  mAllInTarget = st.envelope.allInTarget;
  mAllInValue = st.envelope.allInValue;
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
