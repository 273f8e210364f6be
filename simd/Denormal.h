#pragma once

#include <cfloat>
#include <cmath>

// Values whose exponent bits are all zero (zero or subnormal) become exactly +0, so that
// decaying states never fall into subnormal arithmetic. NaN and infinities pass unchanged.
inline double FlushDenormal(double x)
{
  return std::fabs(x) < DBL_MIN ? 0.0 : x;
}

inline float FlushDenormal(float x)
{
  return std::fabs(x) < FLT_MIN ? 0.0f : x;
}

// A value that came from outside the effect: NaN and infinities read as silence.
inline double FiniteOrZero(double x)
{
  return std::fabs(x) <= DBL_MAX ? x : 0.0;
}

// Flushed as above, and a value that overflowed (or became NaN) is dropped too, so that a
// recursive state can never turn non-finite.
inline double NormalOrZero(double x)
{
  const double a = std::fabs(x);
  return (a >= DBL_MIN && a <= DBL_MAX) ? x : 0.0;
}

inline float NormalOrZero(float x)
{
  const float a = std::fabs(x);
  return (a >= FLT_MIN && a <= FLT_MAX) ? x : 0.0f;
}
