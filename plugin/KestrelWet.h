#pragma once

// The wet stage, written once for the per-frame path (one double) and the chunked paths (a
// DoublePair of two frames or of two channels).

#include "rbjfilter/Lanes.h"

// The smoothed controls as the wet stage takes them; shape is a mask: the saturation applies.
template <class V>
struct KestrelWetControls
{
  V makeupGain, wetMix, dryMix;
  MaskOf<V> shape;
};

template <class V>
KestrelWetControls<V> MakeWetControls(V makeupGain, V wetMix, V dryMix, V shape)
{
  return {makeupGain, wetMix, dryMix, Greater(shape, V(0.0))};
}

// Gain, makeup, saturation x P (1 - |x O|) (through 0 and, by the choice of P, through 1),
// the parallel mix with the dry sample, and the drop of a result that overflowed. On one
// double a product with exactly 1 and a mix without dry part are skipped: that changes no
// bit and keeps the mono path's unflushed subnormals out of slow arithmetic; the pair
// computes them (its samples are flushed) and selects.
template <class V>
V KestrelWet(V x, V gain, const KestrelWetControls<V>& c, double norm, double slope)
{
  const V dry = x;
  x = ScaleUnlessOne(x, gain);
  x = ScaleUnlessOne(x, c.makeupGain);
  x = When(c.shape, x, [&](V v) { return v * V(norm) * (V(1.0) - Abs(v * V(slope))); });
  x = When(NotZero(c.dryMix), x, [&](V v) { return c.wetMix * v + dry * c.dryMix; });
  return FiniteOrZero(x);
}
