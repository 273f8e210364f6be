#pragma once

// The wet stage, written once for the per-frame path (one double) and the chunked paths (a
// DoublePair of two frames or of two channels).

#include "simd/Lanes.h"

// The smoothed controls as the wet stage takes them, with two masks: the saturation applies,
// and there is a dry part to mix. Masks are bool when both lanes share one frame's controls.
template <class V, class M>
struct KestrelWetControls
{
  V makeupGain, wetMix, dryMix;
  M shape, mixed;
};

// From one frame's controls (S double) or two frames' (S DoublePair), for samples of V.
template <class V, class S>
KestrelWetControls<V, MaskOf<S>> MakeWetControls(S makeupGain, S wetMix, S dryMix, S shape)
{
  return {V(makeupGain), V(wetMix), V(dryMix), Greater(shape, S(0.0)), NotZero(dryMix)};
}

// Gain, makeup, saturation x P (1 - |x O|) (through 0 and, by the choice of P, through 1),
// the parallel mix with the dry sample, and the drop of a result that overflowed. On one
// double a product with exactly 1 and a mix without dry part are skipped: that changes no
// bit and keeps the mono path's unflushed subnormals out of slow arithmetic; the pair
// computes them (its samples are flushed) and selects where its lanes hold two frames.
template <class V, class M>
V KestrelWet(V x, V gain, const KestrelWetControls<V, M>& c, double norm, double slope)
{
  const V dry = x;
  x = ScaleUnlessOne(x, gain);
  x = ScaleUnlessOne(x, c.makeupGain);
  x = When(c.shape, x, [&](V v) { return v * V(norm) * (V(1.0) - Abs(v * V(slope))); });
  x = When(c.mixed, x, [&](V v) { return c.wetMix * v + dry * c.dryMix; });
  return FiniteOrZero(x);
}
