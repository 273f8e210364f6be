#include "plugin/RampedParam.h"

RampedParam::RampedParam(double rate, bool multiplicative)
  : mMultiplicative(multiplicative), mRate(rate)
{
}

void RampedParam::SetTarget(double target)
{
  mTarget = target;
  if (target > mValue)
  {
    mRampingUp = true;
    mRampingDown = false;
    mStep = mMultiplicative ? 1.0 + mRate : mRate;
  }
  else if (target < mValue)
  {
    mRampingUp = false;
    mRampingDown = true;
    mStep = mMultiplicative ? 1.0 / (1.0 + mRate) : -mRate;
  }
  else
  {
    mRampingUp = mRampingDown = false;
  }
}

void RampedParam::SetUnramped(double value)
{
  mValue = mTarget = value;
  mRampingUp = mRampingDown = false;
}

void RampedParam::EndRamp()
{
  mValue = mTarget;
  mRampingUp = mRampingDown = false;
}

int RampedParam::StepUp()
{
  mValue = Advance();
  if (mValue >= mTarget)
    EndRamp();
  return 1;
}

int RampedParam::StepDown()
{
  mValue = Advance();
  if (mValue <= mTarget)
    EndRamp();
  return 1;
}
