#pragma once

#include "simd/Denormal.h"
#include "simd/Lanes.h"

#include <cstdint>
#include <type_traits>

// Second-order section with the nine response types of the well-known audio EQ cookbook,
// direct form I, separate left (mono) and right histories.
class rbjfilter
{
public:
  enum EFilterType : int32_t
  {
    kLowPass = 0,
    kHighPass,
    kBandPassSkirt, // constant skirt gain
    kBandPassPeak,  // constant 0 dB peak
    kNotch,
    kAllPass,
    kPeaking,
    kLowShelf,
    kHighShelf
  };

  rbjfilter();

  // Each setter recomputes the coefficients at once; the histories are kept.
  void SetType(EFilterType type);
  void SetFreq(double hz);
  void SetGain(double dB);
  void SetQ(double q);
  void SetBW(double octaves);
  void SetS(double slope);
  void SetSampleRate(long rate);

  EFilterType GetType() const { return mType; }
  double GetFreq() const { return mFreq; }
  double GetGain() const { return mGainDB; }
  double GetQ() const { return mQ; }
  double GetBW() const { return mBW; }
  double GetS() const { return mS; }
  int32_t GetSampleRate() const { return mSampleRate; }
  double GetA() const { return mA; }

  // Normalised coefficients (a0 == 1).
  double B0() const { return mB0; }
  double B1() const { return mB1; }
  double B2() const { return mB2; }
  double A0() const { return mA0; }
  double A1() const { return mA1; }
  double A2() const { return mA2; }

  // The coefficients and one history as values of V: a double for one channel, or a
  // DoublePair for left and right in one instruction each. Its Output is the filter.
  template <class V>
  struct Section
  {
    V b0, b1, b2, a1, a2;
    V x1, x2, y1, y2;

    V Output(V x) const { return b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2; }
    void Push(V x, V y)
    {
      x2 = x1;
      x1 = x;
      y2 = y1;
      y1 = y;
    }
    // A non-finite input counts as silence and a non-finite output is dropped, so the
    // histories stay finite whatever arrives.
    V Tick(V x) { return TickFinite(FiniteOrZero(x)); }
    // For an input already known to be finite.
    V TickFinite(V x)
    {
      const V y = NormalOrZero(Output(x));
      Push(x, y);
      return y;
    }
  };

  // The state for a stretch in registers: the left (mono) history as a double, or both
  // histories as a DoublePair; Keep stores it back.
  template <class V>
  Section<V> Load() const
  {
    if constexpr (std::is_same_v<V, double>)
      return {mB0, mB1, mB2, mA1, mA2, mX1L, mX2L, mY1L, mY2L};
    else
      return {mB0, mB1, mB2, mA1, mA2, {mX1L, mX1R}, {mX2L, mX2R}, {mY1L, mY1R}, {mY2L, mY2R}};
  }
  void Keep(const Section<double>& s) { Keep(s, mX1L, mX2L, mY1L, mY2L); }
  void Keep(const Section<DoublePair>& s)
  {
    mX1L = s.x1.Lo(), mX1R = s.x1.Hi();
    mX2L = s.x2.Lo(), mX2R = s.x2.Hi();
    mY1L = s.y1.Lo(), mY1R = s.y1.Hi();
    mY2L = s.y2.Lo(), mY2R = s.y2.Hi();
  }

  void Process(double& x) { x = Tick(x, mX1L, mX2L, mY1L, mY2L); }
  void Process(double& l, double& r)
  {
    l = Tick(l, mX1L, mX2L, mY1L, mY2L);
    r = Tick(r, mX1R, mX2R, mY1R, mY2R);
  }
  void Process(float& x) { x = TickFloat(x, mX1L, mX2L, mY1L, mY2L); }
  void Process(float& l, float& r)
  {
    l = TickFloat(l, mX1L, mX2L, mY1L, mY2L);
    r = TickFloat(r, mX1R, mX2R, mY1R, mY2R);
  }

private:
  void CalcCoefficients();

  static void Keep(const Section<double>& s, double& x1, double& x2, double& y1, double& y2)
  {
    x1 = s.x1;
    x2 = s.x2;
    y1 = s.y1;
    y2 = s.y2;
  }
  double Tick(double x, double& x1, double& x2, double& y1, double& y2) const
  {
    Section<double> s{mB0, mB1, mB2, mA1, mA2, x1, x2, y1, y2};
    const double y = s.Tick(x);
    Keep(s, x1, x2, y1, y2);
    return y;
  }

  // The float forms keep the float input and the rounded output in the history.
  float TickFloat(float in, double& x1, double& x2, double& y1, double& y2) const
  {
    Section<double> s{mB0, mB1, mB2, mA1, mA2, x1, x2, y1, y2};
    const double x = FiniteOrZero(in);
    const double wide = s.Output(x);
    // Beyond the float range the narrowing would be undefined: drop it like any overflow.
    const float y = std::fabs(wide) <= FLT_MAX ? NormalOrZero(static_cast<float>(wide)) : 0.0f;
    s.Push(x, y);
    Keep(s, x1, x2, y1, y2);
    return y;
  }

  EFilterType mType = kPeaking;
  double mQ = 1.0;
  double mBW = 1.0;
  double mS = 1.0;
  double mFreq = 1000.0;
  double mGainDB = 0.0;
  int32_t mSampleRate = 44100;
  double mA = 1.0;
  double mW0 = 0.0, mSinW0 = 0.0, mCosW0 = 1.0, mAlpha = 0.0;
  double mA0 = 1.0, mA1 = 0.0, mA2 = 0.0, mB0 = 1.0, mB1 = 0.0, mB2 = 0.0;
  double mX1L = 0.0, mX2L = 0.0, mX1R = 0.0, mX2R = 0.0;
  double mY1L = 0.0, mY2L = 0.0, mY1R = 0.0, mY2R = 0.0;
};
