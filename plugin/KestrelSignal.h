#pragma once

// What the compressor's two signal paths (per frame, and chunked) share: the constants of
// the detector, how samples are read, the per-sample stages and the controls derived from
// the smoothed values. Included by the effect's sources only.

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "plugin/Decibels.h"
#include "plugin/Kestrel.h"

namespace kestrel_signal
{
// Below this a level reads as silence.
constexpr double kSilenceLevel = 1e-15;
constexpr double kSilenceDB = -1000.0;

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

// Half the gain the ratio takes off a full-scale signal at this threshold (when Auto Makeup
// is on), plus the compensation.
inline double MakeupDB(double thresholdDB, double compensationDB, double ratio, bool autoMakeup)
{
  double makeup = 0.0;
  if (autoMakeup)
  {
    const double t = std::fabs(thresholdDB);
    makeup = (t - t / std::max(1.0, ratio - 1.0)) * 0.5;
  }
  return makeup + compensationDB;
}

inline double DryMixOf(double parallelPct)
{
  return 0.01 * parallelPct;
}

// dB of the level above the threshold, clamped at 0: a level held at the threshold gives
// q = 1 and so exactly that, without a branch that noisy input would make unpredictable and
// without dividing a subnormal level. The cap keeps an overflowing quotient finite.
template <class V>
V OverQuotient(V level, V threshold)
{
  return MinOf(MaxOf(level, threshold) / threshold, V(DBL_MAX));
}

inline double OverDB(double level, double threshold)
{
  return DBFromLevel(OverQuotient(level, threshold));
}
} // namespace kestrel_signal

inline double Kestrel::EnvelopeGain(PassState& st, double over) const
{
  st.overDB = over;
  st.gainReductionDB = st.envelope.Step(over, Coefs());
  return st.gainReductionDB == 0.0 ? 1.0 : LinearFromDB(st.gainReductionDB);
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
