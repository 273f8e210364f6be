#pragma once

// A stage of the signal path written once, as a template over its number type, runs on one
// double or on a DoublePair (two channels, or two frames, per instruction). Every operation
// of DoublePair is the double operation in each lane, so both give the same bits. Masks are
// bool for double and all-ones lanes for DoublePair.

#include <algorithm>
#include <cfloat>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "simd/Denormal.h"

#if defined(__SSE2__)
struct DoublePair
{
  __m128d v;

  DoublePair() = default;
  explicit DoublePair(__m128d x) : v(x) {}
  DoublePair(double x) : v(_mm_set1_pd(x)) {}
  DoublePair(double lo, double hi) : v(_mm_set_pd(hi, lo)) {}

  static DoublePair Load(const double* p) { return DoublePair(_mm_loadu_pd(p)); }
  void Store(double* p) const { _mm_storeu_pd(p, v); }
  double Lo() const { return _mm_cvtsd_f64(v); }
  double Hi() const { return _mm_cvtsd_f64(_mm_unpackhi_pd(v, v)); }
};

inline DoublePair operator+(DoublePair a, DoublePair b)
{
  return DoublePair(_mm_add_pd(a.v, b.v));
}
inline DoublePair operator-(DoublePair a, DoublePair b)
{
  return DoublePair(_mm_sub_pd(a.v, b.v));
}
inline DoublePair operator*(DoublePair a, DoublePair b)
{
  return DoublePair(_mm_mul_pd(a.v, b.v));
}
inline DoublePair operator/(DoublePair a, DoublePair b)
{
  return DoublePair(_mm_div_pd(a.v, b.v));
}
inline DoublePair operator-(DoublePair a)
{
  return DoublePair(_mm_xor_pd(a.v, _mm_set1_pd(-0.0)));
}

inline DoublePair Abs(DoublePair a)
{
  return DoublePair(_mm_andnot_pd(_mm_set1_pd(-0.0), a.v));
}
inline DoublePair Greater(DoublePair a, DoublePair b)
{
  return DoublePair(_mm_cmpgt_pd(a.v, b.v));
}
inline DoublePair NotZero(DoublePair a)
{
  return DoublePair(_mm_cmpneq_pd(a.v, _mm_setzero_pd()));
}
// _mm_max_sd and _mm_min_sd per lane: b where either is NaN.
inline DoublePair MaxOf(DoublePair a, DoublePair b)
{
  return DoublePair(_mm_max_pd(a.v, b.v));
}
inline DoublePair MinOf(DoublePair a, DoublePair b)
{
  return DoublePair(_mm_min_pd(a.v, b.v));
}
// Bit 0 for the low lane of a mask, bit 1 for the high one.
inline int LaneBits(DoublePair mask)
{
  return _mm_movemask_pd(mask.v);
}
// mask ? a : b, per lane.
inline DoublePair Select(DoublePair mask, DoublePair a, DoublePair b)
{
  return DoublePair(_mm_or_pd(_mm_and_pd(mask.v, a.v), _mm_andnot_pd(mask.v, b.v)));
}
// Lanes that are not finite (NaN compares false) become 0.
inline DoublePair FiniteOrZero(DoublePair x)
{
  return DoublePair(_mm_and_pd(x.v, _mm_cmple_pd(Abs(x).v, _mm_set1_pd(DBL_MAX))));
}
// Lanes that are zero, subnormal or not finite become +0. Filter histories pass through
// here: as in FlushDenormal, the usual cases leave the recursive chain alone.
inline DoublePair NormalOrZero(DoublePair x)
{
  const __m128d a = Abs(x).v;
  const __m128d normal = _mm_and_pd(_mm_cmpge_pd(a, _mm_set1_pd(DBL_MIN)), _mm_cmple_pd(a, _mm_set1_pd(DBL_MAX)));
  const int lanes = _mm_movemask_pd(normal);
  if (lanes == 3)
    return x;
  if (lanes == 0)
    return DoublePair(_mm_setzero_pd());
  return DoublePair(_mm_and_pd(x.v, normal));
}
// Zero and subnormal lanes become +0. For a recursive state the branches keep the flush off
// its chain, and a state at rest (both lanes flushed) restarts from a fresh zero, so that
// silence is not paced by the chain's latency.
inline DoublePair FlushDenormal(DoublePair x)
{
  const __m128d tiny = _mm_cmplt_pd(Abs(x).v, _mm_set1_pd(DBL_MIN));
  const int lanes = _mm_movemask_pd(tiny);
  if (lanes == 3)
    return DoublePair(_mm_setzero_pd());
  if (lanes != 0)
    x.v = _mm_andnot_pd(tiny, x.v);
  return x;
}
#else
struct DoublePair
{
  double lo = 0.0, hi = 0.0;

  DoublePair() = default;
  DoublePair(double x) : lo(x), hi(x) {}
  DoublePair(double l, double h) : lo(l), hi(h) {}

  static DoublePair Load(const double* p) { return {p[0], p[1]}; }
  void Store(double* p) const
  {
    p[0] = lo;
    p[1] = hi;
  }
  double Lo() const { return lo; }
  double Hi() const { return hi; }
};

inline DoublePair operator+(DoublePair a, DoublePair b)
{
  return {a.lo + b.lo, a.hi + b.hi};
}
inline DoublePair operator-(DoublePair a, DoublePair b)
{
  return {a.lo - b.lo, a.hi - b.hi};
}
inline DoublePair operator*(DoublePair a, DoublePair b)
{
  return {a.lo * b.lo, a.hi * b.hi};
}
inline DoublePair operator/(DoublePair a, DoublePair b)
{
  return {a.lo / b.lo, a.hi / b.hi};
}
inline DoublePair operator-(DoublePair a)
{
  return {-a.lo, -a.hi};
}

// Masks hold 1 for true, 0 for false.
inline DoublePair Abs(DoublePair a)
{
  return {std::fabs(a.lo), std::fabs(a.hi)};
}
inline DoublePair Greater(DoublePair a, DoublePair b)
{
  return {a.lo > b.lo ? 1.0 : 0.0, a.hi > b.hi ? 1.0 : 0.0};
}
inline DoublePair NotZero(DoublePair a)
{
  return {a.lo != 0.0 ? 1.0 : 0.0, a.hi != 0.0 ? 1.0 : 0.0};
}
inline int LaneBits(DoublePair mask)
{
  return (mask.lo != 0.0 ? 1 : 0) | (mask.hi != 0.0 ? 2 : 0);
}
inline DoublePair MaxOf(DoublePair a, DoublePair b)
{
  return {a.lo > b.lo ? a.lo : b.lo, a.hi > b.hi ? a.hi : b.hi};
}
inline DoublePair MinOf(DoublePair a, DoublePair b)
{
  return {a.lo < b.lo ? a.lo : b.lo, a.hi < b.hi ? a.hi : b.hi};
}
inline DoublePair Select(DoublePair mask, DoublePair a, DoublePair b)
{
  return {mask.lo != 0.0 ? a.lo : b.lo, mask.hi != 0.0 ? a.hi : b.hi};
}
inline DoublePair FiniteOrZero(DoublePair x)
{
  return {FiniteOrZero(x.lo), FiniteOrZero(x.hi)};
}
inline DoublePair NormalOrZero(DoublePair x)
{
  return {NormalOrZero(x.lo), NormalOrZero(x.hi)};
}
inline DoublePair FlushDenormal(DoublePair x)
{
  return {FlushDenormal(x.lo), FlushDenormal(x.hi)};
}
#endif

inline DoublePair SelectGreater(DoublePair x, DoublePair y, DoublePair a, DoublePair b)
{
  return Select(Greater(x, y), a, b);
}
// mask ? f(x) : x, and x * s; the pair computes both sides (see the double forms).
template <class F>
DoublePair When(DoublePair mask, DoublePair x, F f)
{
  return Select(mask, f(x), x);
}
// One mask for both lanes: the step is taken or skipped whole.
template <class F>
DoublePair When(bool mask, DoublePair x, F f)
{
  return mask ? f(x) : x;
}
inline DoublePair ScaleUnlessOne(DoublePair x, DoublePair s)
{
  return x * s;
}

// The same operations on one double.
inline double Abs(double a)
{
  return std::fabs(a);
}
inline bool Greater(double a, double b)
{
  return a > b;
}
inline bool NotZero(double a)
{
  return a != 0.0;
}
inline double Select(bool mask, double a, double b)
{
  return mask ? a : b;
}
// On one double the skipped step is not computed at all, which keeps subnormal operands out
// of slow arithmetic; x * 1 would be x anyway.
template <class F>
double When(bool mask, double x, F f)
{
  return mask ? f(x) : x;
}
inline double ScaleUnlessOne(double x, double s)
{
  return s != 1.0 ? x * s : x;
}

template <class V>
using MaskOf = decltype(Greater(V(), V()));

// Two DoublePairs side by side: two stages that run in step, one in each half.
struct DoubleQuad
{
  DoublePair lo, hi;

  DoubleQuad() = default;
  DoubleQuad(double x) : lo(x), hi(x) {}
  DoubleQuad(DoublePair l, DoublePair h) : lo(l), hi(h) {}
  DoublePair Low() const { return lo; }
  DoublePair High() const { return hi; }
};

inline DoubleQuad operator+(DoubleQuad a, DoubleQuad b)
{
  return {a.lo + b.lo, a.hi + b.hi};
}
inline DoubleQuad operator-(DoubleQuad a, DoubleQuad b)
{
  return {a.lo - b.lo, a.hi - b.hi};
}
inline DoubleQuad operator*(DoubleQuad a, DoubleQuad b)
{
  return {a.lo * b.lo, a.hi * b.hi};
}
inline DoubleQuad Abs(DoubleQuad a)
{
  return {Abs(a.lo), Abs(a.hi)};
}
inline DoubleQuad FiniteOrZero(DoubleQuad x)
{
  return {FiniteOrZero(x.lo), FiniteOrZero(x.hi)};
}
inline DoubleQuad NormalOrZero(DoubleQuad x)
{
  return {NormalOrZero(x.lo), NormalOrZero(x.hi)};
}
template <class F>
DoubleQuad When(bool mask, DoubleQuad x, F f)
{
  return mask ? f(x) : x;
}
inline DoubleQuad ScaleUnlessOne(DoubleQuad x, DoubleQuad s)
{
  return x * s;
}

// Two values of V side by side: a DoublePair of doubles, a DoubleQuad of DoublePairs.
template <class V>
struct WideOf;
template <>
struct WideOf<double>
{
  using type = DoublePair;
};
template <>
struct WideOf<DoublePair>
{
  using type = DoubleQuad;
};
template <class V>
using Wide = typename WideOf<V>::type;

inline double Low(DoublePair x)
{
  return x.Lo();
}
inline double High(DoublePair x)
{
  return x.Hi();
}
inline DoublePair Low(DoubleQuad x)
{
  return x.Low();
}
inline DoublePair High(DoubleQuad x)
{
  return x.High();
}

// x > y ? a : b without a branch: the comparison follows the audio, which no predictor
// guesses, and a pipeline flush per sample costs more than the select.
inline double SelectGreater(double x, double y, double a, double b)
{
#if defined(__SSE2__)
  const __m128d mask = _mm_cmpgt_sd(_mm_set_sd(x), _mm_set_sd(y));
  return _mm_cvtsd_f64(_mm_or_pd(_mm_and_pd(mask, _mm_set_sd(a)), _mm_andnot_pd(mask, _mm_set_sd(b))));
#else
  return x > y ? a : b;
#endif
}

// std::max and std::min for values that are never NaN, without a branch.
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
