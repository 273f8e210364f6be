#include "plugin/RampedParam.h"

RampedParam::RampedParam(double rate, bool multiplicative) : mMultiplicative(multiplicative), mRate(rate) {}

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

void RampedParam::Track(double* values, int count)
{
  int k = 0;
  if (IsRamping())
  {
    // Ramp() with the state in registers, until the target is reached.
    const bool up = mRampingUp, multiplicative = mMultiplicative;
    const double step = mStep, target = mTarget;
    double value = mValue;
    for (; k < count; ++k)
    {
      value = multiplicative ? value * step : value + step;
      if (up ? value >= target : value <= target)
      {
        EndRamp();
        values[k++] = mValue;
        break;
      }
      values[k] = value;
    }
    if (IsRamping())
      mValue = value;
  }
  for (; k < count; ++k)
    values[k] = mValue;
}
