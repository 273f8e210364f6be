#include "plugin/KestrelChunk.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "plugin/Decibels.h"
#include "plugin/KestrelSignal.h"

using namespace kestrel_signal;

namespace
{
constexpr int kMaxSamples = 2 * KestrelChunkPath::kFrames; // twice the frames when oversampling

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

// The gain changes (dB) become factors; no change is exactly 1.
void GainStage(double* gain, int count)
{
  for (int i = 0; i < count; ++i)
    gain[i] = gain[i] == 0.0 ? 1.0 : LinearFromDB(gain[i]);
}

// One frame of main or key samples: a double (mono) or the left and right pair.
template <class V>
V ReadFrame(const double* const (&in)[2], int k, bool flush)
{
  if constexpr (std::is_same_v<V, double>)
    return flush ? NormalOrZero(in[0][k]) : FiniteOrZero(in[0][k]);
  else
    return NormalOrZero(DoublePair(in[0][k], in[1][k]));
}

inline double LargerMagnitude(double x)
{
  return std::fabs(x);
}

inline double LargerMagnitude(DoublePair x)
{
  return std::max(std::fabs(x.Lo()), std::fabs(x.Hi()));
}

template <class V>
void WriteFrame(double* const (&out)[2], int k, V x)
{
  if constexpr (std::is_same_v<V, double>)
  {
    out[0][k] = x;
  }
  else
  {
    out[0][k] = x.Lo();
    out[1][k] = x.Hi();
  }
}
} // namespace

// The controls of each frame of a chunk: stepped while a ramp moves, else filled with the
// ones at rest.
struct KestrelChunkPath::ControlTrack
{
  double thresholdLin[kFrames];
  double makeupGain[kFrames];
  double wetMix[kFrames];
  double dryMix[kFrames];
  double shape[kFrames]; // 1 where the saturation applies, else 0

  // Frame k's controls for samples of V.
  template <class V>
  KestrelWetControls<V, bool> At(int k) const
  {
    return MakeWetControls<V>(makeupGain[k], wetMix[k], dryMix[k], shape[k]);
  }
  // Frames k and k + 1, one per lane.
  KestrelWetControls<DoublePair, DoublePair> PairAt(int k) const
  {
    return MakeWetControls<DoublePair>(DoublePair::Load(makeupGain + k), DoublePair::Load(wetMix + k),
                                       DoublePair::Load(dryMix + k), DoublePair::Load(shape + k));
  }
  // dB above the threshold of frame i >> shift where the level is above it (found without a
  // branch per sample), the logarithms only there; 0 elsewhere.
  void Over(const double* level, int shift, double* over, int count) const
  {
    int above[kMaxSamples];
    int numAbove = 0;
    for (int i = 0; i < count; ++i)
    {
      over[i] = 0.0;
      above[numAbove] = i;
      numAbove += level[i] > thresholdLin[i >> shift] ? 1 : 0;
    }
    for (int j = 0; j < numAbove; ++j)
    {
      const int i = above[j];
      over[i] = OverDB(level[i], thresholdLin[i >> shift]);
    }
  }
  void Fill(double threshold, const Kestrel::Controls& ctl, int count)
  {
    for (int k = 0; k < count; ++k)
    {
      thresholdLin[k] = threshold;
      makeupGain[k] = ctl.makeupGain;
      wetMix[k] = ctl.wetMix;
      dryMix[k] = ctl.dryMix;
      shape[k] = ctl.shape ? 1.0 : 0.0;
    }
  }
};

// InterpolateControls for each frame of a chunk, stage by stage: each ramp's values, what
// follows from them, and the exponentials.
void KestrelChunkPath::TrackControls(Kestrel& p, ControlTrack& track, int count)
{
  double thresholdDB[kFrames];
  double compensationDB[kFrames];
  double parallelPct[kFrames];
  double impetusPct[kFrames];
  double makeupDB[kFrames];
  p.mThresholdRamp.Track(thresholdDB, count);
  p.mParallelRamp.Track(parallelPct, count);
  p.mCompensationRamp.Track(compensationDB, count);
  p.mImpetusRamp.Track(impetusPct, count);

  for (int k = 0; k < count; ++k)
  {
    makeupDB[k] = MakeupDB(thresholdDB[k], compensationDB[k], p.mRatio, p.mAutoMakeup);
    track.dryMix[k] = DryMixOf(parallelPct[k]);
    track.wetMix[k] = 1.0 - track.dryMix[k];
    track.shape[k] = impetusPct[k] > 0.0 ? 1.0 : 0.0;
  }
  LinearTrack(thresholdDB, track.thresholdLin, count, p.mThresholdDB, p.mThresholdLin);
  LinearTrack(makeupDB, track.makeupGain, count, p.mMakeupDB, p.mMakeupGain);

  // The members as the last frame's InterpolateControls leaves them.
  p.UpdateControlValues();
  p.mThresholdLin = track.thresholdLin[count - 1];
  p.mMakeupGain = track.makeupGain[count - 1];
  p.mRamping = p.mThresholdRamp.IsRamping() || p.mParallelRamp.IsRamping() || p.mCompensationRamp.IsRamping() ||
               p.mImpetusRamp.IsRamping();
}

template <bool Moving>
void KestrelChunkPath::Prepare(Kestrel& p, ControlTrack& track, int count)
{
  if constexpr (Moving)
    TrackControls(p, track, count);
  else
    track.Fill(p.mThresholdLin, p.CurrentControls(), count);
}

// The envelope over a stretch, the gain changes into reductionDB. Both lanes carry the same
// state, so the recursive chain spends no instruction moving values between scalar and
// vector registers.
void KestrelChunkPath::Envelope(Kestrel::PassState& st, const KestrelEnvelopeCoefs& co, const double* over,
                                double* reductionDB, int count)
{
  const KestrelEnvelope<double>& s = st.envelope;
  KestrelEnvelope<DoublePair> env{s.envelopeDB, s.allInTarget, s.allInValue};
  for (int k = 0; k < count; ++k)
  {
    env.Advance(over[k], co);
    reductionDB[k] = env.ReductionDB(env.envelopeDB.Lo(), env.allInValue.Lo(), co);
  }
  st.overDB = over[count - 1];
  st.gainReductionDB = reductionDB[count - 1];
  st.envelope = {env.envelopeDB.Lo(), env.allInTarget.Lo(), env.allInValue.Lo()};
}

template <int N, bool Moving>
void KestrelChunkPath::Plain(Kestrel& p, Kestrel::PassState& st, const Kestrel::Channels& ch, int first, int count)
{
  double signal[N][kFrames];
  double level[kFrames] = {};
  double over[kFrames] = {};
  double gain[kFrames];
  ControlTrack track;
  Prepare<Moving>(p, track, count);

  for (int c = 0; c < N; ++c)
  {
    const double* in = ch.in[c] + first;
    for (int k = 0; k < count; ++k)
      signal[c][k] = ReadMain<N>(in, k);
  }
  if (ch.key[0] || p.mFilterDetector)
  {
    for (int k = 0; k < count; ++k)
    {
      double detector[N];
      for (int c = 0; c < N; ++c)
        detector[c] = ch.key[0] ? NormalOrZero(ch.key[c][first + k]) : signal[c][k];
      level[k] = p.DetectorLevel(detector);
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

  track.Over(level, 0, over, count);
  Envelope(st, p.Coefs(), over, gain, count);
  GainStage(gain, count);

  const double norm = p.mImpetusNorm, slope = p.mImpetusSlope;
  for (int c = 0; c < N; ++c)
  {
    double* out = ch.out[c] + first;
    int k = 0;
    if constexpr (N == 2)
    {
      // The stereo samples are flushed: two frames per instruction. Controls at rest are
      // one set for the stretch, whose steps are taken or skipped whole.
      const auto pairs = [&](const auto& controlsAt) {
        for (; k + 2 <= count; k += 2)
          KestrelWet(DoublePair::Load(signal[c] + k), DoublePair::Load(gain + k), controlsAt(k), norm, slope)
            .Store(out + k);
      };
      if constexpr (Moving)
      {
        pairs([&](int at) { return track.PairAt(at); });
      }
      else
      {
        const KestrelWetControls<DoublePair, bool> rest = track.At<DoublePair>(0);
        pairs([&](int) { return rest; });
      }
    }
    for (; k < count; ++k)
      out[k] = KestrelWet(signal[c][k], gain[k], track.At<double>(k), norm, slope);
  }
  st.dryL = signal[0][count - 1];
  if constexpr (N == 2)
    st.dryR = signal[1][count - 1];
}

// One chunk in flight through the oversampled pipeline.
template <class V>
struct KestrelChunkPath::Slot
{
  int first = 0, count = 0;
  ControlTrack track;
  V signal[kMaxSamples];
  double level[kMaxSamples];
  double over[kMaxSamples];
  double gain[kMaxSamples];

  int Samples() const { return 2 * count; }
};

// Two samples per frame, the second a stuffed zero; the channels of a stereo frame share
// each instruction. The three recursive stages (the input filters, the envelope, the output
// filter) each wait on their own chain, so one loop runs them on three consecutive chunks
// at once: reading chunk t, the envelope of t - 1, the output of t - 2. The chunks go
// through every stage in order, so each sample sees what the per-frame path gives it.
template <int N>
void KestrelChunkPath::Oversampled(Kestrel& p, Kestrel::PassState& st, const Kestrel::Channels& ch, int nFrames)
{
  using V = std::conditional_t<N == 2, DoublePair, double>;
  Slot<V> slots[3];
  const V oversampleGain(p.mOversampleGain);
  const bool keyed = ch.key[0] != nullptr, filter = p.mFilterDetector;
  const double norm = p.mImpetusNorm, slope = p.mImpetusSlope;
  const KestrelEnvelopeCoefs co = p.Coefs();
  rbjfilter::Section<V> up = p.mUpsampleLPF.Load<V>();
  rbjfilter::Section<V> hpf = p.mDetectorHPF.Load<V>();
  rbjfilter::Section<V> down = p.mDownsampleLPF.Load<V>();
  KestrelEnvelope<DoublePair> env{st.envelope.envelopeDB, st.envelope.allInTarget, st.envelope.allInValue};

  // Zero stuffing, the upsampling low-pass, the dry copy and the detector level. The
  // samples read and the wet stage's results are finite already.
  const auto readSample = [&](Slot<V>& s, int i, V x, int k) {
    x = up.TickFinite(x) * oversampleGain;
    s.signal[i] = x;
    V detector = keyed ? ReadFrame<V>(ch.key, k, true) : x;
    if (filter)
      detector = hpf.Tick(detector);
    s.level[i] = LargerMagnitude(detector);
  };
  const auto read = [&](Slot<V>& s, int k) {
    readSample(s, 2 * k, ReadFrame<V>(ch.in, s.first + k, N == 2), s.first + k);
    readSample(s, 2 * k + 1, V(0.0), s.first + k);
  };
  // Both lanes carry the same envelope, so its chain never moves between scalar and vector
  // registers; the gain change is computed on one.
  const auto envelope = [&](Slot<V>& s, int k) {
    for (int i = 2 * k; i < 2 * k + 2; ++i)
    {
      env.Advance(s.over[i], co);
      s.gain[i] = env.ReductionDB(env.envelopeDB.Lo(), env.allInValue.Lo(), co);
    }
  };
  // The wet stage, the downsampling low-pass; the second sample of each frame is the output.
  const auto write = [&](Slot<V>& s, int k) {
    const KestrelWetControls<V, bool> controls = s.track.template At<V>(k);
    down.TickFinite(KestrelWet(s.signal[2 * k], V(s.gain[2 * k]), controls, norm, slope));
    const V x = down.TickFinite(KestrelWet(s.signal[2 * k + 1], V(s.gain[2 * k + 1]), controls, norm, slope));
    WriteFrame(ch.out, s.first + k, FiniteOrZero(x * oversampleGain));
  };

  const int chunks = (nFrames + kFrames - 1) / kFrames;
  for (int t = 0; t < chunks + 2; ++t)
  {
    Slot<V>* reading = t < chunks ? &slots[t % 3] : nullptr;
    Slot<V>* enveloping = t >= 1 && t <= chunks ? &slots[(t - 1) % 3] : nullptr;
    Slot<V>* writing = t >= 2 ? &slots[(t - 2) % 3] : nullptr;
    int frames = 0;
    if (reading)
    {
      reading->first = t * kFrames;
      reading->count = std::min(kFrames, nFrames - reading->first);
      p.mRamping ? Prepare<true>(p, reading->track, reading->count) : Prepare<false>(p, reading->track, reading->count);
      frames = reading->count;
    }
    if (enveloping)
    {
      enveloping->track.Over(enveloping->level, 1, enveloping->over, enveloping->Samples());
      frames = std::max(frames, enveloping->count);
    }
    if (writing)
    {
      GainStage(writing->gain, writing->Samples());
      frames = std::max(frames, writing->count);
    }
    for (int k = 0; k < frames; ++k)
    {
      if (reading && k < reading->count)
        read(*reading, k);
      if (enveloping && k < enveloping->count)
        envelope(*enveloping, k);
      if (writing && k < writing->count)
        write(*writing, k);
    }
    if (enveloping && t == chunks)
    {
      const int last = enveloping->Samples() - 1;
      st.overDB = enveloping->over[last];
      st.gainReductionDB = enveloping->gain[last];
    }
  }
  p.mUpsampleLPF.Keep(up);
  p.mDetectorHPF.Keep(hpf);
  p.mDownsampleLPF.Keep(down);
  st.envelope = {env.envelopeDB.Lo(), env.allInTarget.Lo(), env.allInValue.Lo()};

  const Slot<V>& last = slots[(chunks - 1) % 3];
  if constexpr (N == 2)
  {
    st.dryL = last.signal[last.Samples() - 1].Lo();
    st.dryR = last.signal[last.Samples() - 1].Hi();
  }
  else
  {
    st.dryL = last.signal[last.Samples() - 1];
  }
}

template <int N, bool Oversample>
void KestrelChunkPath::Process(Kestrel& p, Kestrel::PassState& st, const Kestrel::Channels& ch, int nFrames)
{
  if constexpr (Oversample)
  {
    Oversampled<N>(p, st, ch, nFrames);
  }
  else
  {
    for (int first = 0; first < nFrames; first += kFrames)
    {
      const int count = std::min(kFrames, nFrames - first);
      p.mRamping ? Plain<N, true>(p, st, ch, first, count) : Plain<N, false>(p, st, ch, first, count);
    }
  }
}

template void KestrelChunkPath::Process<1, false>(Kestrel&, Kestrel::PassState&, const Kestrel::Channels&, int);
template void KestrelChunkPath::Process<1, true>(Kestrel&, Kestrel::PassState&, const Kestrel::Channels&, int);
template void KestrelChunkPath::Process<2, false>(Kestrel&, Kestrel::PassState&, const Kestrel::Channels&, int);
template void KestrelChunkPath::Process<2, true>(Kestrel&, Kestrel::PassState&, const Kestrel::Channels&, int);
