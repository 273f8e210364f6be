#pragma once
// 16.16 fixed point held in 64 bits, and the float-to-int rules of the
// sampling blits. A 32-bit 16.16 value overflows at source position 32768,
// well inside the widest legal bitmap, so positions and steps are int64 and
// every walk is solved for the pixels it may sample before it runs.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <initializer_list>

constexpr int64_t LICE_FIXED_ONE = 65536;
// Fixed-point values are held within +-2^62 so that a walk of up to 2^31
// steps, solved in 128 bits, cannot overflow.
constexpr double LICE_FIXED_LIMIT = 4611686018427387904.0;

static inline bool LICE_AllFinite(std::initializer_list<double> values)
{
  for (double v : values)
    if (!std::isfinite(v))
      return false;
  return true;
}

// v rounded to float; false when it lies beyond the float range.
static inline bool LICE_ToFloat(double v, float& out)
{
  if (!(std::fabs(v) <= FLT_MAX))
    return false;
  out = float(v);
  return true;
}

// True when v is a position or step the sampling blits can hold: within
// 2^46 pixels, far past the largest bitmap. Beyond it (or non-finite) a
// blit draws nothing rather than move its geometry by saturating.
static inline bool LICE_FixedInRange(std::initializer_list<double> values)
{
  for (double v : values)
    if (!(std::fabs(v * 65536.0) < LICE_FIXED_LIMIT))
      return false;
  return true;
}

// trunc(v * 65536), held within +-2^62. v must be finite.
static inline int64_t LICE_ToFixed(double v)
{
  const double t = v * 65536.0;
  if (t >= LICE_FIXED_LIMIT)
    return int64_t(1) << 62;
  if (t <= -LICE_FIXED_LIMIT)
    return -(int64_t(1) << 62);
  return int64_t(t);
}

// trunc(v) held within [lo, hi]; v must not be NaN.
static inline int LICE_TruncClamp(double v, int lo, int hi)
{
  if (!(v > lo))
    return lo;
  if (!(v < hi))
    return hi;
  return int(v);
}

// Source column (or row) of a fixed-point position, truncating toward zero:
// positions in (-1, 0) read column 0.
static inline int64_t LICE_FixedTrunc(int64_t pos)
{
  return pos / LICE_FIXED_ONE;
}

// A position above -1 as the sampling loops read it: pixel held >> 16,
// bilinear fraction held & 0xffff. Positions in (-1, 0) truncate to pixel
// 0 and read it as it is: the wrapped fraction would blend it with its
// right neighbour and fold the edge back on itself.
static inline int64_t LICE_FixedHeld(int64_t pos)
{
  return pos < 0 ? 0 : pos;
}

// The positions whose truncated pixel lies in [lo, hi), as a half-open
// fixed-point interval.
struct LICE_FixedRange
{
  __int128 lo, hi;
};

static inline LICE_FixedRange LICE_TruncRange(int lo, int hi)
{
  return {lo > 0 ? __int128(lo) * LICE_FIXED_ONE : __int128(lo) * LICE_FIXED_ONE - (LICE_FIXED_ONE - 1),
          __int128(hi) * LICE_FIXED_ONE};
}

// The same for floor (arithmetic shift) sampling.
static inline LICE_FixedRange LICE_FloorRange(int lo, int hi)
{
  return {__int128(lo) * LICE_FIXED_ONE, __int128(hi) * LICE_FIXED_ONE};
}

// Steps i in [first, last) of the walk s + i * d, 0 <= i < n, that stay in r.
struct LICE_StepSpan
{
  int first = 0, last = 0;
  bool empty() const { return first >= last; }
};

static inline __int128 LICE_FloorDiv(__int128 a, __int128 b) // b > 0
{
  // Within 64 bits one hardware division gives quotient and remainder, at a
  // fraction of the cost of the two 128-bit library calls.
  if (a == int64_t(a) && b == int64_t(b))
  {
    const int64_t q = int64_t(a) / int64_t(b), r = int64_t(a) % int64_t(b);
    return q - (r != 0 && a < 0);
  }
  __int128 q = a / b;
  if (a % b != 0 && a < 0)
    --q;
  return q;
}

static inline LICE_StepSpan LICE_WalkInside(__int128 s, __int128 d, int n, LICE_FixedRange r)
{
  __int128 first, last;
  if (d == 0)
  {
    if (s < r.lo || s >= r.hi)
      return {};
    first = 0, last = n;
  }
  else if (d > 0)
  {
    first = -LICE_FloorDiv(s - r.lo, d); // ceil((lo - s) / d)
    last = -LICE_FloorDiv(s - r.hi, d);  // ceil((hi - s) / d)
  }
  else
  {
    first = LICE_FloorDiv(s - r.hi, -d) + 1; // s + i d < hi
    last = LICE_FloorDiv(s - r.lo, -d) + 1;  // s + i d >= lo
  }
  LICE_StepSpan span;
  span.first = int(first < 0 ? 0 : first > n ? n : first);
  span.last = int(last < 0 ? 0 : last > n ? n : last);
  return span;
}

static inline LICE_StepSpan LICE_Intersect(LICE_StepSpan a, LICE_StepSpan b)
{
  return {a.first > b.first ? a.first : b.first, a.last < b.last ? a.last : b.last};
}

// Exact division of numerators below 2^30 by a divisor d of 1 to 2^21 fixed
// at run time: n / d = (n * m) >> shift with m = ceil(2^shift / d) and
// shift = 30 + ceil(log2 d). Then m * d exceeds 2^shift by less than d, so
// n * m / 2^shift lies below n / d + 1 / d and never reaches the next whole
// quotient.
struct LICE_ExactDivider
{
  uint64_t m = 1;
  int shift = 0;

  explicit LICE_ExactDivider(uint32_t d)
  {
    int l = 0;
    while ((uint64_t(1) << l) < d)
      ++l;
    shift = 30 + l;
    m = ((uint64_t(1) << shift) + d - 1) / d;
  }

  uint32_t operator()(uint32_t n) const { return uint32_t((n * m) >> shift); }
};
