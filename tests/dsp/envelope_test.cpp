#include <gtest/gtest.h>

#include <cmath>

#include "simpleSource/AttRelEnvelope.h"

using chunkware_simple::AttRelEnvelope;
using chunkware_simple::EnvelopeDetector;

TEST(EnvelopeDetector, CoefficientIsTheFractionLeftAfterOneSample)
{
  // 0.01 ms at 44.1 kHz is 0.441 samples: exp(-1/0.441).
  EnvelopeDetector fast(0.01, 44100.0);
  EXPECT_NEAR(fast.getCoef(), 0.10356, 5e-6);
  EXPECT_DOUBLE_EQ(fast.getTc(), 0.01);
  EXPECT_DOUBLE_EQ(fast.getSampleRate(), 44100.0);

  // After one time constant (441 samples of 10 ms) the remaining distance is 1/e.
  EnvelopeDetector slow(10.0, 44100.0);
  EXPECT_NEAR(std::pow(slow.getCoef(), 441.0), std::exp(-1.0), 1e-12);
}

TEST(EnvelopeDetector, SettersRecomputeTheCoefficient)
{
  EnvelopeDetector d(1.0, 1000.0); // one sample per ms
  EXPECT_NEAR(d.getCoef(), std::exp(-1.0), 1e-15);
  d.setTc(2.0);
  EXPECT_NEAR(d.getCoef(), std::exp(-0.5), 1e-15);
  d.setSampleRate(4000.0);
  EXPECT_NEAR(d.getCoef(), std::exp(-0.125), 1e-15);
}

TEST(AttRelEnvelope, AttackAndReleaseShareTheRate)
{
  AttRelEnvelope env(10.0, 100.0, 44100.0);
  env.setAttack(0.01);
  env.setRelease(0.6);
  env.setSampleRate(44100.0);
  // The meter ballistics at 44.1 kHz.
  EXPECT_NEAR(env.getAttackCoef(), 0.10356, 5e-6);
  EXPECT_NEAR(env.getReleaseCoef(), 0.96291, 5e-6);
  EXPECT_DOUBLE_EQ(env.getAttack(), 0.01);
  EXPECT_DOUBLE_EQ(env.getRelease(), 0.6);

  env.setSampleRate(1000.0);
  EXPECT_DOUBLE_EQ(env.getSampleRate(), 1000.0);
  EXPECT_NEAR(env.getAttackCoef(), std::exp(-100.0), 1e-50);
  EXPECT_NEAR(env.getReleaseCoef(), std::exp(-1.0 / 0.6), 1e-15);
}
