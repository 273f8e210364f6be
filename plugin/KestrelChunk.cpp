#include "plugin/KestrelChunk.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "plugin/Decibels.h"
#include "plugin/KestrelSignal.h"

using namespace kestrel_signal;

// On a lambda of the oversampled stages: inlined into each build of them.
#define KESTREL_INLINE __attribute__((always_inline))

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

// The gain changes (dB) that follow from the envelope and All In values, two per
// instruction (the division is the slow part), then as factors; no change is exactly 1.
void GainStage(const double* envelopeDB, const double* allIn, const KestrelEnvelopeCoefs& co, double* gain, int count)
{
  using Env = KestrelEnvelope<double>;
  int i = 0;
  for (; i + 2 <= count; i += 2)
    Env::ReductionDB(DoublePair::Load(envelopeDB + i), DoublePair::Load(allIn + i), co).Store(gain + i);
  for (; i < count; ++i)
    gain[i] = Env::ReductionDB(envelopeDB[i], allIn[i], co);
  for (i = 0; i < count; ++i)
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
  // branch per sample), the logarithms only there; 0 elsewhere. The quotients come first,
  // two to a division instruction.
  void Over(const double* level, int shift, double* over, int count) const
  {
    int above[kMaxSamples];
    int numAbove = 0;
    int i = 0;
    for (; i + 2 <= count; i += 2)
    {
      const DoublePair threshold = shift ? DoublePair(thresholdLin[i >> shift], thresholdLin[(i + 1) >> shift])
                                         : DoublePair::Load(thresholdLin + i);
      const DoublePair l = DoublePair::Load(level + i);
      const DoublePair mask = Greater(l, threshold);
      Select(mask, OverQuotient(l, threshold), DoublePair(0.0)).Store(over + i);
      const int bits = LaneBits(mask);
      above[numAbove] = i;
      numAbove += bits & 1;
      above[numAbove] = i + 1;
      numAbove += bits >> 1;
    }
    for (; i < count; ++i)
    {
      const double threshold = thresholdLin[i >> shift];
      const bool isAbove = level[i] > threshold;
      over[i] = isAbove ? OverQuotient(level[i], threshold) : 0.0;
      above[numAbove] = i;
      numAbove += isAbove ? 1 : 0;
    }
    for (int j = 0; j < numAbove; ++j)
      over[above[j]] = DBFromLevel(over[above[j]]);
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

// The envelope over a stretch, its values and the All In ratio's kept for the gain stage.
// Both lanes carry the same state, so the recursive chain spends no instruction moving
// values between scalar and vector registers.
void KestrelChunkPath::Envelope(Kestrel::PassState& st, const KestrelEnvelopeCoefs& co, const double* over,
                                double* envelopeDB, double* allIn, int count)
{
  const KestrelEnvelope<double>& s = st.envelope;
  KestrelEnvelope<DoublePair> env{s.envelopeDB, s.allInTarget, s.allInValue};
  for (int k = 0; k < count; ++k)
  {
    env.Advance(over[k], co);
    envelopeDB[k] = env.envelopeDB.Lo();
    allIn[k] = env.allInValue.Lo();
  }
  st.overDB = over[count - 1];
  st.gainReductionDB = KestrelEnvelope<double>::ReductionDB(envelopeDB[count - 1], allIn[count - 1], co);
  st.envelope = {env.envelopeDB.Lo(), env.allInTarget.Lo(), env.allInValue.Lo()};
}

template <int N, bool Moving>
void KestrelChunkPath::Plain(Kestrel& p, Kestrel::PassState& st, const Kestrel::Channels& ch, int first, int count)
{
  double signal[N][kFrames];
  double level[kFrames] = {};
  double over[kFrames] = {};
  double envelopeDB[kFrames], allIn[kFrames];
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
  const KestrelEnvelopeCoefs co = p.Coefs();
  Envelope(st, co, over, envelopeDB, allIn, count);
  GainStage(envelopeDB, allIn, co, gain, count);

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
  double envelopeDB[kMaxSamples], allIn[kMaxSamples];
  double gain[kMaxSamples];

  int Samples() const { return 2 * count; }
};

// Two samples per frame, the second a stuffed zero; the channels of a stereo frame share
// each instruction. The three recursive stages (the input filters, the envelope, the output
// filter) each wait on their own chain, so one loop runs them on three consecutive chunks
// at once: reading chunk t, the envelope of t - 1, the output of t - 2. The chunks go
// through every stage in order, so each sample sees what the per-frame path gives it.
// Always inlined, and the stages with it, so that each build compiles all of it for its
// own instruction set.
template <int N>
[[gnu::always_inline]] inline void KestrelChunkPath::Oversampled(Kestrel& p, Kestrel::PassState& st,
                                                                 const Kestrel::Channels& ch, int nFrames)
{
  using V = std::conditional_t<N == 2, DoublePair, double>;
  using W = Wide<V>;
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
  const auto detect = [&](Slot<V>& s, int i, V x, int k) KESTREL_INLINE {
    x = x * oversampleGain;
    s.signal[i] = x;
    V detector = keyed ? ReadFrame<V>(ch.key, k, true) : x;
    if (filter)
      detector = hpf.Tick(detector);
    s.level[i] = LargerMagnitude(detector);
  };
  const auto read = [&](Slot<V>& s, int k) KESTREL_INLINE {
    detect(s, 2 * k, up.TickFinite(ReadFrame<V>(ch.in, s.first + k, N == 2)), s.first + k);
    detect(s, 2 * k + 1, up.TickFinite(V(0.0)), s.first + k);
  };
  // Both lanes carry the same envelope, so its chain never moves between scalar and vector
  // registers.
  const auto envelope = [&](Slot<V>& s, int k) KESTREL_INLINE {
    for (int i = 2 * k; i < 2 * k + 2; ++i)
    {
      env.Advance(s.over[i], co);
      s.envelopeDB[i] = env.envelopeDB.Lo();
      s.allIn[i] = env.allInValue.Lo();
    }
  };
  // The wet stage of both samples of frame k at once, as the low and high halves.
  const auto wet = [&](const Slot<V>& s, int k) KESTREL_INLINE {
    const W x(s.signal[2 * k], s.signal[2 * k + 1]);
    const W gain(V(s.gain[2 * k]), V(s.gain[2 * k + 1]));
    return KestrelWet(x, gain, s.track.template At<W>(k), norm, slope);
  };
  // The second sample of each frame, after the downsampling low-pass, is the output.
  const auto output = [&](const Slot<V>& s, int k, V y)
                        KESTREL_INLINE { WriteFrame(ch.out, s.first + k, FiniteOrZero(y * oversampleGain)); };
  const auto write = [&](const Slot<V>& s, int k) KESTREL_INLINE {
    const W x = wet(s, k);
    down.TickFinite(Low(x));
    output(s, k, down.TickFinite(High(x)));
  };
  // Reading one chunk and writing another, the upsampling and downsampling low-passes
  // share each instruction: the input filter in the low half, the output filter in the
  // high one.
  rbjfilter::Section<W> both{};
  const auto join = [&]() KESTREL_INLINE {
    both = {W(up.b0, down.b0), W(up.b1, down.b1), W(up.b2, down.b2), W(up.a1, down.a1), W(up.a2, down.a2),
            W(up.x1, down.x1), W(up.x2, down.x2), W(up.y1, down.y1), W(up.y2, down.y2)};
  };
  const auto split = [&]() KESTREL_INLINE {
    up.x1 = Low(both.x1), up.x2 = Low(both.x2), up.y1 = Low(both.y1), up.y2 = Low(both.y2);
    down.x1 = High(both.x1), down.x2 = High(both.x2), down.y1 = High(both.y1), down.y2 = High(both.y2);
  };
  const auto readWrite = [&](Slot<V>& r, const Slot<V>& s, int k) KESTREL_INLINE {
    const W x = wet(s, k);
    W y = both.TickFinite(W(ReadFrame<V>(ch.in, r.first + k, N == 2), Low(x)));
    detect(r, 2 * k, Low(y), r.first + k);
    y = both.TickFinite(W(V(0.0), High(x)));
    detect(r, 2 * k + 1, Low(y), r.first + k);
    output(s, k, High(y));
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
      GainStage(writing->envelopeDB, writing->allIn, co, writing->gain, writing->Samples());
      frames = std::max(frames, writing->count);
    }
    const int readCount = reading ? reading->count : 0, writeCount = writing ? writing->count : 0;
    const int together = std::min(readCount, writeCount);
    if (together > 0)
    {
      join();
      for (int k = 0; k < together; ++k)
      {
        readWrite(*reading, *writing, k);
        if (enveloping && k < enveloping->count)
          envelope(*enveloping, k);
      }
      split();
    }
    for (int k = together; k < frames; ++k)
    {
      if (k < readCount)
        read(*reading, k);
      if (enveloping && k < enveloping->count)
        envelope(*enveloping, k);
      if (k < writeCount)
        write(*writing, k);
    }
    if (enveloping && t == chunks)
    {
      const int last = enveloping->Samples() - 1;
      st.overDB = enveloping->over[last];
      st.gainReductionDB =
        KestrelEnvelope<double>::ReductionDB(enveloping->envelopeDB[last], enveloping->allIn[last], co);
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

#if KESTREL_AVX_BUILD
// The same stages built for AVX: three-operand instructions save the copies that two-operand
// SSE2 needs. Same operations, same bits; no fused multiply-add.
template <int N>
[[gnu::target("avx")]] void KestrelChunkPath::OversampledAvx(Kestrel& p, Kestrel::PassState& st,
                                                             const Kestrel::Channels& ch, int nFrames)
{
  Oversampled<N>(p, st, ch, nFrames);
}

bool Kestrel::ProcessorHasAvx()
{
  // Also checks that the system saves the wide registers.
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
  }();
  return has;
}
#else
bool Kestrel::ProcessorHasAvx()
{
  return false;
}
#endif

template <int N, bool Oversample>
void KestrelChunkPath::Process(Kestrel& p, Kestrel::PassState& st, const Kestrel::Channels& ch, int nFrames)
{
  if constexpr (Oversample)
  {
#if KESTREL_AVX_BUILD
    if (p.mAvx)
    {
      OversampledAvx<N>(p, st, ch, nFrames);
      return;
    }
#endif
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
