#include "rbjfilter/rbjfilter.h"

#include <cmath>

namespace
{
constexpr double kTwoPi = 6.283185307179586;
constexpr double kLn2 = 0.6931471805599453;
constexpr double kDBToAmp = 0.11512925464970228;      // ln 10 / 20
constexpr double kDBToShelfAmp = 0.05756462732485114; // ln 10 / 40

// The pass filters ignore the gain; band-pass, notch and all-pass take it as an amplitude,
// peaking and shelves (and unknown types, computed as peaking) as the root of one.
double AmplitudeFor(rbjfilter::EFilterType type, double gainDB)
{
  switch (type)
  {
  case rbjfilter::kLowPass:
  case rbjfilter::kHighPass: return 1.0;
  case rbjfilter::kBandPassSkirt:
  case rbjfilter::kBandPassPeak:
  case rbjfilter::kNotch:
  case rbjfilter::kAllPass: return std::exp(gainDB * kDBToAmp);
  default: return std::exp(gainDB * kDBToShelfAmp);
  }
}
} // namespace

rbjfilter::rbjfilter()
{
  CalcCoefficients();
}

void rbjfilter::SetType(EFilterType type)
{
  mType = type;
  CalcCoefficients();
}

void rbjfilter::SetFreq(double hz)
{
  mFreq = hz;
  CalcCoefficients();
}

void rbjfilter::SetGain(double dB)
{
  mGainDB = dB;
  CalcCoefficients();
}

void rbjfilter::SetQ(double q)
{
  mQ = q;
  CalcCoefficients();
}

void rbjfilter::SetSampleRate(long rate)
{
  mSampleRate = static_cast<int32_t>(rate);
  CalcCoefficients();
}

void rbjfilter::SetBW(double octaves)
{
  mBW = octaves;
  mW0 = kTwoPi * mFreq / mSampleRate;
  mQ = FlushDenormal(1.0 / (2.0 * std::sinh(kLn2 / 2.0 * octaves * mW0 / std::sin(mW0))));
  CalcCoefficients();
}

void rbjfilter::SetS(double slope)
{
  mS = slope;
  // The pass filters have no gain, so their slope alone fixes Q (1 gives Butterworth).
  const double a = (mType == kLowPass || mType == kHighPass) ? 1.0 : std::exp(mGainDB * kDBToShelfAmp);
  mA = FlushDenormal(a);
  mQ = FlushDenormal(1.0 / std::sqrt((mA + 1.0 / mA) * (1.0 / slope - 1.0) + 2.0));
  CalcCoefficients();
}

void rbjfilter::CalcCoefficients()
{
  mW0 = kTwoPi * mFreq / mSampleRate;
  mCosW0 = std::cos(mW0);
  mSinW0 = std::sin(mW0);
  mAlpha = mSinW0 / (2.0 * mQ);

  const double c = mCosW0;
  const double s = mSinW0;
  const double al = mAlpha;
  double a0 = 1.0 + al;
  mA1 = -2.0 * c;
  mA2 = 1.0 - al;

  mA = AmplitudeFor(mType, mGainDB);
  const double A = mA;

  switch (mType)
  {
  case kLowPass:
    mB0 = (1.0 - c) / 2.0;
    mB1 = 1.0 - c;
    mB2 = (1.0 - c) / 2.0;
    break;
  case kHighPass:
    mB0 = (1.0 + c) / 2.0;
    mB1 = -(1.0 + c);
    mB2 = (1.0 + c) / 2.0;
    break;
  case kBandPassSkirt:
    mB0 = s / 2.0;
    mB1 = 0.0;
    mB2 = -s / 2.0;
    break;
  case kBandPassPeak:
    mB0 = al;
    mB1 = 0.0;
    mB2 = -al;
    break;
  case kNotch:
    mB0 = 1.0;
    mB1 = -2.0 * c;
    mB2 = 1.0;
    break;
  case kAllPass:
    mB0 = 1.0 - al;
    mB1 = -2.0 * c;
    mB2 = 1.0 + al;
    break;
  case kLowShelf: {
    const double r = 2.0 * std::sqrt(A) * al;
    mB0 = A * ((A + 1.0) - (A - 1.0) * c + r);
    mB1 = 2.0 * A * ((A - 1.0) - (A + 1.0) * c);
    mB2 = A * ((A + 1.0) - (A - 1.0) * c - r);
    a0 = (A + 1.0) + (A - 1.0) * c + r;
    mA1 = -2.0 * ((A - 1.0) + (A + 1.0) * c);
    mA2 = (A + 1.0) + (A - 1.0) * c - r;
    break;
  }
  case kHighShelf: {
    const double r = 2.0 * std::sqrt(A) * al;
    mB0 = A * ((A + 1.0) + (A - 1.0) * c + r);
    mB1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * c);
    mB2 = A * ((A + 1.0) + (A - 1.0) * c - r);
    a0 = (A + 1.0) - (A - 1.0) * c + r;
    mA1 = 2.0 * ((A - 1.0) - (A + 1.0) * c);
    mA2 = (A + 1.0) - (A - 1.0) * c - r;
    break;
  }
  case kPeaking:
  default: // any value outside the nine types is a peaking filter
    mB0 = 1.0 + al * A;
    mB1 = -2.0 * c;
    mB2 = 1.0 - al * A;
    a0 = 1.0 + al / A;
    mA2 = 1.0 - al / A;
    break;
  }

  mB0 = FlushDenormal(mB0 / a0);
  mB1 = FlushDenormal(mB1 / a0);
  mB2 = FlushDenormal(mB2 / a0);
  mA1 = FlushDenormal(mA1 / a0);
  mA2 = FlushDenormal(mA2 / a0);
  mA0 = 1.0;
  mA = FlushDenormal(mA);
}
