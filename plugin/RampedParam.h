#pragma once

// A control value that moves toward its target by a fixed step per Ramp() call, so that
// automation does not click.
class RampedParam
{
public:
  RampedParam(double rate, bool multiplicative);

  void SetTarget(double target);
  void SetUnramped(double value);
  void EndRamp();

  // One step toward the target; 1 while a step was taken, 0 when idle.
  int Ramp()
  {
    if (mRampingUp)
      return StepUp();
    if (mRampingDown)
      return StepDown();
    return 0;
  }

  // The value after each of `count` further steps, as Ramp() would leave it.
  void Track(double* values, int count);
  bool IsRamping() const { return mRampingUp || mRampingDown; }

  double Value() const { return mValue; }
  double Target() const { return mTarget; }

private:
  int StepUp()
  {
    mValue = Advance();
    if (mValue >= mTarget)
      EndRamp();
    return 1;
  }
  int StepDown()
  {
    mValue = Advance();
    if (mValue <= mTarget)
      EndRamp();
    return 1;
  }
  double Advance() const { return mMultiplicative ? mValue * mStep : mValue + mStep; }

  bool mMultiplicative;
  bool mRampingUp = false;
  bool mRampingDown = false;
  double mValue = 0.0;
  double mTarget = 0.0;
  double mRate;
  double mStep = 0.0;
};
