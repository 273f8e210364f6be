#include "plugin/Kestrel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "plugin/Decibels.h"
#include "plugin/KestrelSignal.h"
#include "plugin/KestrelWet.h"

using namespace kestrel_signal;

namespace
{
// The exponential of each frame's dB value, computed only where the value moved.
void LinearTrack(const double* dB, double* linear, int count, double lastDB, double lastLinear)
{
  for (int k = 0; k < count; ++k)
  {
    if (dB[k] != lastDB)
      lastLinear = LinearFromDB(dB[k]);
    lastDB = dB[k];
    linear[k] = lastLinear;
  }
}
} // namespace

// EnvelopeStep over a stretch, the gain changes into reductionDB. The state stays in vector
// registers (low lane), so that the recursive chain spends no instruction moving values
// between scalar and vector form; the operations are EnvelopeStep's.
void Kestrel::EnvelopeStretch(PassState& st, const double* over, double* reductionDB, int count) const
{
  const EnvelopeCoefs co = Coefs();
#if defined(__SSE2__)
  const auto select = [](__m128d mask, __m128d a, __m128d b) {
    return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
  };
  const __m128d attack = _mm_set_sd(co.attack), release = _mm_set_sd(co.release);
  const __m128d fast = _mm_set_sd(co.allInFast), slow = _mm_set_sd(co.allInSlow);
  const __m128d jumpDB = _mm_set_sd(kAllInJumpDB), step = _mm_set_sd(kAllInStep);
  __m128d env = _mm_set_sd(st.envelopeDB), target = _mm_set_sd(st.allInTarget), value = _mm_set_sd(st.allInValue);
  double reduction = st.gainReductionDB;
  for (int k = 0; k < count; ++k)
  {
    const __m128d o = _mm_load_sd(over + k);
    const __m128d rising = _mm_cmplt_sd(env, o);
    target = select(_mm_cmplt_sd(jumpDB, _mm_sub_sd(o, env)), step, target);
    env = _mm_add_sd(o, _mm_mul_sd(_mm_sub_sd(env, o), select(rising, attack, release)));
    if (std::fabs(_mm_cvtsd_f64(env)) < DBL_MIN)
      env = _mm_setzero_pd();
    value = _mm_add_sd(target, _mm_mul_sd(_mm_sub_sd(value, target), select(rising, fast, slow)));
    target = value;
    const double ratio = co.allIn ? _mm_cvtsd_f64(value) + kAllInBaseRatio : co.ratio;
    reduction = -_mm_cvtsd_f64(env) * (ratio - 1.0) / ratio;
    reductionDB[k] = reduction;
  }
  st.overDB = over[count - 1];
  st.envelopeDB = _mm_cvtsd_f64(env);
  st.allInTarget = _mm_cvtsd_f64(target);
  st.allInValue = _mm_cvtsd_f64(value);
  st.gainReductionDB = reduction;
#else
  PassState s = st;
  for (int k = 0; k < count; ++k)
    reductionDB[k] = EnvelopeStep(s, over[k], co);
  st = s;
#endif
}

// InterpolateControls for each frame of a chunk, stage by stage: each ramp's values, what
// follows from them, and the exponentials.
void Kestrel::TrackControls(ControlTrack& track, int count)
{
  double thresholdDB[kChunkFrames];
  double compensationDB[kChunkFrames];
  double parallelPct[kChunkFrames];
  double impetusPct[kChunkFrames];
  double makeupDB[kChunkFrames];
  mThresholdRamp.Track(thresholdDB, count);
  mParallelRamp.Track(parallelPct, count);
  mCompensationRamp.Track(compensationDB, count);
  mImpetusRamp.Track(impetusPct, count);

  if (mAutoMakeup)
  {
    const double divisor = std::max(1.0, mRatio - 1.0);
    for (int k = 0; k < count; ++k)
    {
      const double t = std::fabs(thresholdDB[k]);
      makeupDB[k] = (t - t / divisor) * 0.5 + compensationDB[k];
    }
  }
  else
  {
    for (int k = 0; k < count; ++k)
      makeupDB[k] = 0.0 + compensationDB[k];
  }
  for (int k = 0; k < count; ++k)
  {
    track.dryMix[k] = 0.01 * parallelPct[k];
    track.wetMix[k] = 1.0 - track.dryMix[k];
    track.shape[k] = impetusPct[k] > 0.0 ? 1.0 : 0.0;
  }
  LinearTrack(thresholdDB, track.thresholdLin, count, mThresholdDB, mThresholdLin);
  LinearTrack(makeupDB, track.makeupGain, count, mMakeupDB, mMakeupGain);

  // The members as the last frame's InterpolateControls leaves them.
  UpdateControlValues();
  mThresholdLin = track.thresholdLin[count - 1];
  mMakeupGain = track.makeupGain[count - 1];
  mRamping = mThresholdRamp.IsRamping() || mParallelRamp.IsRamping() || mCompensationRamp.IsRamping() ||
             mImpetusRamp.IsRamping();
}

// With one pass per frame a stretch of frames goes through the stages one at a time, each
// a short loop: samples and detector levels; the logarithms, only where the level is above
// the threshold (below it q is exactly 1 and its logarithm 0); the envelope, the one
// recursive stage; the exponentials of the gain; the output. The calls into the maths
// library then keep little state live across them and overlap instead of lengthening each
// frame's chain. Same operations in the same order per sample, same results.
template <int N, bool Moving>
void Kestrel::ProcessChunk(PassState& st, const Channels& ch, int first, int count)
{
  double signal[N][kChunkFrames];
  double level[kChunkFrames];
  double over[kChunkFrames] = {}; // 0 dB wherever the level is not above the threshold
  double gain[kChunkFrames];
  int above[kChunkFrames];
  // The smoothed controls: per frame while a ramp moves, else one set for the stretch.
  ControlTrack track;
  if constexpr (Moving)
    TrackControls(track, count);
  else
    track.Fill(mThresholdLin, CurrentControls(), count);

  for (int c = 0; c < N; ++c)
  {
    const double* in = ch.in[c] + first;
    for (int k = 0; k < count; ++k)
      signal[c][k] = ReadMain<N>(in, k);
  }
  if (ch.key[0] || mFilterDetector)
  {
    for (int k = 0; k < count; ++k)
    {
      double detector[N];
      for (int c = 0; c < N; ++c)
        detector[c] = ch.key[0] ? NormalOrZero(ch.key[c][first + k]) : signal[c][k];
      level[k] = DetectorLevel(detector);
    }
  }
  else
  {
    for (int k = 0; k < count; ++k)
    {
      double l = std::fabs(signal[0][k]);
      if constexpr (N == 2)
        l = std::max(l, std::fabs(signal[1][k]));
      level[k] = l;
    }
  }

  int numAbove = 0;
  for (int k = 0; k < count; ++k)
  {
    above[numAbove] = k;
    numAbove += level[k] > track.thresholdLin[k] ? 1 : 0;
  }
  for (int i = 0; i < numAbove; ++i)
  {
    const int k = above[i];
    over[k] = OverDB(level[k], track.thresholdLin[k]);
  }

  EnvelopeStretch(st, over, gain, count);
  for (int k = 0; k < count; ++k)
    gain[k] = gain[k] == 0.0 ? 1.0 : LinearFromDB(gain[k]);

  if constexpr (N == 2 && !Moving)
  {
    // Controls at rest: the compiler hoists what depends on them alone.
    const Controls ctl = CurrentControls();
    for (int c = 0; c < N; ++c)
    {
      double* out = ch.out[c] + first;
      for (int k = 0; k < count; ++k)
        out[k] = KestrelWetFrame(signal[c][k], gain[k], ctl.makeupGain, ctl.wetMix, ctl.dryMix, ctl.shape,
                                 mImpetusNorm, mImpetusSlope);
    }
  }
  else if constexpr (N == 2)
  {
    const KestrelWetStretch wet{gain,         track.makeupGain, track.wetMix, track.dryMix,
                                track.shape, mImpetusNorm,      mImpetusSlope};
    for (int c = 0; c < N; ++c)
      wet.Run(signal[c], ch.out[c] + first, count);
  }
  else
  {
    for (int k = 0; k < count; ++k)
      ch.out[0][first + k] = FiniteOrZero(Wet(signal[0][k], signal[0][k], gain[k], track.At(k)));
  }
  st.dryL = signal[0][count - 1];
  if constexpr (N == 2)
    st.dryR = signal[1][count - 1];
}

template void Kestrel::ProcessChunk<1, false>(PassState&, const Channels&, int, int);
template void Kestrel::ProcessChunk<1, true>(PassState&, const Channels&, int, int);
template void Kestrel::ProcessChunk<2, false>(PassState&, const Channels&, int, int);
template void Kestrel::ProcessChunk<2, true>(PassState&, const Channels&, int, int);
