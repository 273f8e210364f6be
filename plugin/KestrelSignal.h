#pragma once

// What the compressor's two signal paths (per frame, and chunked) share: the constants of
// the detector, how samples are read, and the per-sample stages. Included by the effect's
// sources only.

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "plugin/Branchless.h"
#include "plugin/Decibels.h"
#include "plugin/Kestrel.h"

namespace kestrel_signal
{
// Below this a level reads as silence.
constexpr double kSilenceLevel = 1e-15;
constexpr double kSilenceDB = -1000.0;
// A jump of the level above threshold beyond this (dB) pushes the All In ratio up.
constexpr double kAllInJumpDB = 5.0;
constexpr double kAllInStep = 4.0;
constexpr double kAllInBaseRatio = 12.0;

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
} // namespace kestrel_signal

// dB of the level above the threshold, clamped at 0: a level held at the threshold gives
// q = 1 and so exactly that, without a branch that noisy input would make unpredictable and
// without dividing a subnormal level. The cap keeps an overflowing quotient finite.
inline double Kestrel::OverDB(double level, double threshold)
{
  const double q = MaxOf(level, threshold) / threshold;
  return DBFromLevel(MinOf(q, DBL_MAX));
}

// One step of the envelope and of the All In ratio; the gain change for this sample, dB.
inline double Kestrel::EnvelopeStep(PassState& st, double over, const EnvelopeCoefs& co)
{
  const double env = st.envelopeDB;
  st.overDB = over;
  // Rising or falling, and a jump or not, are coin tosses on noisy input: no branches.
  st.allInTarget = SelectGreater(over - env, kestrel_signal::kAllInJumpDB, kestrel_signal::kAllInStep, st.allInTarget);
  st.envelopeDB = FlushDenormal(over + (env - over) * SelectGreater(over, env, co.attack, co.release));
  st.allInValue = st.allInTarget + (st.allInValue - st.allInTarget) * SelectGreater(over, env, co.allInFast, co.allInSlow);
  st.allInTarget = st.allInValue;

  const double ratio = co.allIn ? st.allInValue + kestrel_signal::kAllInBaseRatio : co.ratio;
  st.gainReductionDB = -st.envelopeDB * (ratio - 1.0) / ratio;
  return st.gainReductionDB;
}

inline double Kestrel::EnvelopeGain(PassState& st, double over) const
{
  const double reductionDB = EnvelopeStep(st, over, Coefs());
  return reductionDB == 0.0 ? 1.0 : LinearFromDB(reductionDB);
}

// The detector signal through the high-pass (when on); the larger magnitude.
template <int N>
inline double Kestrel::DetectorLevel(double (&detector)[N])
{
  if (mFilterDetector)
    kestrel_signal::Filter(mDetectorHPF, detector);
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
