#pragma once

#include "simpleSource/EnvelopeDetector.h"

namespace chunkware_simple
{

// An attack and a release coefficient that share one sample rate.
class AttRelEnvelope
{
public:
  AttRelEnvelope(double attackMs = 10.0, double releaseMs = 100.0, double sampleRate = 44100.0);
  virtual ~AttRelEnvelope() = default;

  virtual void setAttack(double ms);
  virtual double getAttack() const { return mAttack.getTc(); }
  virtual void setRelease(double ms);
  virtual double getRelease() const { return mRelease.getTc(); }
  virtual void setSampleRate(double sampleRate);
  virtual double getSampleRate() const { return mAttack.getSampleRate(); }

  double getAttackCoef() const { return mAttack.getCoef(); }
  double getReleaseCoef() const { return mRelease.getCoef(); }

protected:
  EnvelopeDetector mAttack;
  EnvelopeDetector mRelease;
};

} // namespace chunkware_simple
