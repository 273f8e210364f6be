#pragma once

// The chunked signal path. A stretch of frames goes through the stages one at a time, each a
// short loop: samples and detector levels; the logarithms, only where the level is above
// the threshold (below it q is exactly 1 and its logarithm 0); the envelope, the one
// recursive stage of the detector; the exponentials of the gain; the wet stage (and, when
// oversampling, the output filter). The calls into the maths library then keep little
// state live across them and overlap instead of lengthening each frame's chain. Same
// operations in the same order per sample as the per-frame path, same results.

#include "plugin/Kestrel.h"

// x86 builds also carry the oversampled stages built for AVX, taken where the processor has it.
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define KESTREL_AVX_BUILD 1
#else
#define KESTREL_AVX_BUILD 0
#endif

class KestrelChunkPath
{
public:
  static constexpr int kFrames = 64;

  // One block, the same bits as the per-frame path.
  template <int N, bool Oversample>
  static void Process(Kestrel& plug, Kestrel::PassState& st, const Kestrel::Channels& ch, int nFrames);

private:
  struct ControlTrack;
  template <class V>
  struct Slot;

  template <int N, bool Moving>
  static void Plain(Kestrel& plug, Kestrel::PassState& st, const Kestrel::Channels& ch, int first, int count);
#if KESTREL_AVX_BUILD
  template <int N>
  static void OversampledAvx(Kestrel& plug, Kestrel::PassState& st, const Kestrel::Channels& ch, int nFrames);
#endif
  template <int N>
  static void Oversampled(Kestrel& plug, Kestrel::PassState& st, const Kestrel::Channels& ch, int nFrames);

  static void TrackControls(Kestrel& plug, ControlTrack& track, int count);
  template <bool Moving>
  static void Prepare(Kestrel& plug, ControlTrack& track, int count);
  static void Envelope(Kestrel::PassState& st, const KestrelEnvelopeCoefs& co, const double* over, double* envelopeDB,
                       double* allIn, int count);
};
