#pragma once

// Selects for values the branch predictor cannot guess (they follow the audio), so that a
// noisy signal does not cost a pipeline flush per sample. Results equal the plain forms.

#include <algorithm>
#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// x > y ? a : b
inline double SelectGreater(double x, double y, double a, double b)
{
#if defined(__SSE2__)
  const __m128d mask = _mm_cmpgt_sd(_mm_set_sd(x), _mm_set_sd(y));
  return _mm_cvtsd_f64(_mm_or_pd(_mm_and_pd(mask, _mm_set_sd(a)), _mm_andnot_pd(mask, _mm_set_sd(b))));
#else
  const uint64_t mask = uint64_t(0) - uint64_t(x > y);
  return std::bit_cast<double>((std::bit_cast<uint64_t>(a) & mask) | (std::bit_cast<uint64_t>(b) & ~mask));
#endif
}

// std::max and std::min for values that are never NaN.
inline double MaxOf(double a, double b)
{
#if defined(__SSE2__)
  return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(a), _mm_set_sd(b)));
#else
  return std::max(a, b);
#endif
}

inline double MinOf(double a, double b)
{
#if defined(__SSE2__)
  return _mm_cvtsd_f64(_mm_min_sd(_mm_set_sd(a), _mm_set_sd(b)));
#else
  return std::min(a, b);
#endif
}
