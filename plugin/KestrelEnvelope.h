#pragma once

// The detector envelope and the All In ratio, written once for the per-frame path (one
// double) and the chunked path (a DoublePair whose two lanes carry the same values, so
// that the recursive chain never moves between scalar and vector registers).

#include "simd/Lanes.h"

// A jump of the level above threshold beyond this (dB) pushes the All In ratio up.
constexpr double kAllInJumpDB = 5.0;
constexpr double kAllInStep = 4.0;
constexpr double kAllInBaseRatio = 12.0;

struct KestrelEnvelopeCoefs
{
  double attack, release, allInFast, allInSlow, ratio;
  bool allIn;
};

template <class V>
struct KestrelEnvelope
{
  V envelopeDB, allInTarget, allInValue;

  // One step toward `over` (dB above threshold).
  void Advance(V over, const KestrelEnvelopeCoefs& co)
  {
    const V env = envelopeDB;
    // Rising or falling, and a jump or not, are coin tosses on noisy input: no branches.
    allInTarget = SelectGreater(over - env, V(kAllInJumpDB), V(kAllInStep), allInTarget);
    envelopeDB = FlushDenormal(over + (env - over) * SelectGreater(over, env, V(co.attack), V(co.release)));
    allInValue = allInTarget + (allInValue - allInTarget) * SelectGreater(over, env, V(co.allInFast), V(co.allInSlow));
    allInTarget = allInValue;
  }

  // The gain change that follows from an envelope and All In value, dB. Off the recursive
  // chain: the two-lane stretch computes it on one double.
  template <class R>
  static R ReductionDB(R envelope, R allIn, const KestrelEnvelopeCoefs& co)
  {
    const R ratio = co.allIn ? allIn + R(kAllInBaseRatio) : R(co.ratio);
    return -envelope * (ratio - R(1.0)) / ratio;
  }

  V Step(V over, const KestrelEnvelopeCoefs& co)
  {
    Advance(over, co);
    return ReductionDB(envelopeDB, allInValue, co);
  }
};
