#pragma once

// The wet stage of the stereo path over a stretch of frames: gain, makeup, saturation
// x P (1 - |x O|), dry mix and the drop of a non-finite result. Its samples are flushed, so
// the steps Wet() skips to keep subnormals out of slow arithmetic can run anyway: a product
// with exactly 1 is the sample itself and a select gives what a skipped step would. Same
// results, no branches, two frames per instruction.

#include <cfloat>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "rbjfilter/Denormal.h"

// One frame of it.
inline double KestrelWetFrame(double x, double gain, double makeupGain, double wetMix, double dryMix, bool shape,
                              double norm, double slope)
{
  const double dry = x;
  x *= gain;
  x *= makeupGain;
  const double shaped = x * norm * (1.0 - std::fabs(x * slope));
  x = shape ? shaped : x;
  const double mixed = wetMix * x + dry * dryMix;
  return FiniteOrZero(dryMix == 0.0 ? x : mixed);
}

struct KestrelWetStretch
{
  // Per frame: the gain, and the smoothed controls (shape: 1 where the saturation applies).
  const double* gain;
  const double* makeupGain;
  const double* wetMix;
  const double* dryMix;
  const double* shape;
  double norm, slope;

  double Frame(double x, int k) const
  {
    return KestrelWetFrame(x, gain[k], makeupGain[k], wetMix[k], dryMix[k], shape[k] != 0.0, norm, slope);
  }

  void Run(const double* in, double* out, int count) const
  {
    int k = 0;
#if defined(__SSE2__)
    const __m128d p = _mm_set1_pd(norm), o = _mm_set1_pd(slope), one = _mm_set1_pd(1.0);
    const __m128d zero = _mm_setzero_pd(), largest = _mm_set1_pd(DBL_MAX);
    const __m128d magnitude = _mm_castsi128_pd(_mm_set1_epi64x(0x7fffffffffffffffLL));
    const auto select = [](__m128d mask, __m128d a, __m128d b) {
      return _mm_or_pd(_mm_and_pd(mask, a), _mm_andnot_pd(mask, b));
    };
    for (; k + 2 <= count; k += 2)
    {
      const __m128d dry = _mm_loadu_pd(in + k);
      __m128d x = _mm_mul_pd(dry, _mm_loadu_pd(gain + k));
      x = _mm_mul_pd(x, _mm_loadu_pd(makeupGain + k));
      const __m128d shaped = _mm_mul_pd(_mm_mul_pd(x, p), _mm_sub_pd(one, _mm_and_pd(_mm_mul_pd(x, o), magnitude)));
      x = select(_mm_cmpneq_pd(_mm_loadu_pd(shape + k), zero), shaped, x);
      const __m128d mix = _mm_loadu_pd(dryMix + k);
      const __m128d mixed = _mm_add_pd(_mm_mul_pd(_mm_loadu_pd(wetMix + k), x), _mm_mul_pd(dry, mix));
      x = select(_mm_cmpeq_pd(mix, zero), x, mixed);
      // Not finite (or NaN, which compares false): 0.
      x = _mm_and_pd(x, _mm_cmple_pd(_mm_and_pd(x, magnitude), largest));
      _mm_storeu_pd(out + k, x);
    }
#endif
    for (; k < count; ++k)
      out[k] = Frame(in[k], k);
  }
};
