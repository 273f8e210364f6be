#pragma once

#include <climits>
#include <cmath>

#include "wdl/IPlug/IPlugUtilities.h"

// Levels become dB through the natural logarithm (times 20 / ln 10).
inline double DBFromLevel(double level)
{
  return std::log(level) * kAmpToDB;
}

inline double LinearFromDB(double dB)
{
  return std::exp(dB * kDBToAmp);
}

// Truncation toward zero that saturates instead of being undefined outside the int range.
inline int TruncToInt(double v)
{
  if (!(v > double(INT_MIN) - 1.0))
    return INT_MIN;
  if (!(v < double(INT_MAX) + 1.0))
    return INT_MAX;
  return int(v);
}
