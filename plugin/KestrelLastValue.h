#pragma once

#include <bit>
#include <cstdint>

// A function's value for the last argument, recomputed only when the argument's bits change.
class KestrelLastValue
{
public:
  template <class F>
  double Of(double x, F f)
  {
    if (!mValid || std::bit_cast<uint64_t>(x) != std::bit_cast<uint64_t>(mArg))
    {
      mValue = f(x);
      mArg = x;
      mValid = true;
    }
    return mValue;
  }

private:
  double mArg = 0.0;
  double mValue = 0.0;
  bool mValid = false;
};
