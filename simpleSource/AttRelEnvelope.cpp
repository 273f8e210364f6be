#include "simpleSource/AttRelEnvelope.h"

namespace chunkware_simple
{

AttRelEnvelope::AttRelEnvelope(double attackMs, double releaseMs, double sampleRate)
  : mAttack(attackMs, sampleRate), mRelease(releaseMs, sampleRate)
{
}

void AttRelEnvelope::setAttack(double ms)
{
  mAttack.setTc(ms);
}

void AttRelEnvelope::setRelease(double ms)
{
  mRelease.setTc(ms);
}

void AttRelEnvelope::setSampleRate(double sampleRate)
{
  mAttack.setSampleRate(sampleRate);
  mRelease.setSampleRate(sampleRate);
}

} // namespace chunkware_simple
