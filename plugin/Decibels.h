#pragma once

#include <climits>
#include <cmath>

#include "wdl/IPlug/IPlugUtilities.h"

// glibc's exp and log are an errno wrapper around a core that it also exports under an
// older version (for -ffinite-math-only callers). The wrapper returns the core's result
// unchanged and costs a second call and a third of the time; the audio path calls the core
// directly. Same function, same bits. Elsewhere the standard calls serve.
#if defined(__GLIBC__) && defined(__x86_64__) && !defined(KESTREL_PLAIN_LIBM)
extern "C" double kestrel_exp_core(double) noexcept;
extern "C" double kestrel_log_core(double) noexcept;
__asm__(".symver kestrel_exp_core,__exp_finite@GLIBC_2.15");
__asm__(".symver kestrel_log_core,__log_finite@GLIBC_2.15");
#else
inline double kestrel_exp_core(double x) noexcept
{
  return std::exp(x);
}
inline double kestrel_log_core(double x) noexcept
{
  return std::log(x);
}
#endif

// Levels become dB through the natural logarithm (times 20 / ln 10).
inline double DBFromLevel(double level)
{
  return kestrel_log_core(level) * kAmpToDB;
}

inline double LinearFromDB(double dB)
{
  return kestrel_exp_core(dB * kDBToAmp);
}
