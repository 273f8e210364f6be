#pragma once

namespace chunkware_simple
{

// One-pole smoothing coefficient for a time constant in milliseconds.
class EnvelopeDetector
{
public:
  EnvelopeDetector(double ms = 1.0, double sampleRate = 44100.0);
  virtual ~EnvelopeDetector() = default;

  virtual void setTc(double ms);
  virtual double getTc() const { return mTimeMs; }
  virtual void setSampleRate(double sampleRate);
  virtual double getSampleRate() const { return mSampleRate; }

  // exp(-1000 / (ms x rate)): the fraction of the distance left after one sample.
  double getCoef() const { return mCoef; }

protected:
  virtual void setCoef();

  double mSampleRate;
  double mTimeMs;
  double mCoef = 0.0;
};

} // namespace chunkware_simple
