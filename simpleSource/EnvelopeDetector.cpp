#include "simpleSource/EnvelopeDetector.h"

#include <cmath>

namespace chunkware_simple
{

EnvelopeDetector::EnvelopeDetector(double ms, double sampleRate) : mSampleRate(sampleRate), mTimeMs(ms)
{
  // Non-virtual on purpose: a derived class is not built yet.
  EnvelopeDetector::setCoef();
}

void EnvelopeDetector::setTc(double ms)
{
  mTimeMs = ms;
  setCoef();
}

void EnvelopeDetector::setSampleRate(double sampleRate)
{
  mSampleRate = sampleRate;
  setCoef();
}

void EnvelopeDetector::setCoef()
{
  mCoef = std::exp(-1000.0 / (mTimeMs * mSampleRate));
}

} // namespace chunkware_simple
