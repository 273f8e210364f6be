#pragma once
// The one packing of public-call arguments into a parameter block, used by
// callers (hosts) and by components alike:
// - each argument after the instance takes one pointer-sized slot;
// - the last argument goes first: for f(ci, a1, ..., an), params[0] = an and
//   params[n - 1] = a1; paramSize = n x sizeof(ComponentParamSlot);
// - integers are converted to the slot value-preserving and read back by
//   conversion to their own type; pointers are stored as their address;
// - a float's 32 bits are copied into the low half of its slot, the upper
//   half zero.
// A component reads the arguments with UnpackComponentParameters, which
// refuses a block that carries fewer arguments than the call needs.

#include "platform/components/Components.h"

#include <cstring>
#include <type_traits>

template <class T>
ComponentParamSlot ComponentSlotOf(T value)
{
  static_assert(sizeof(T) <= sizeof(ComponentParamSlot));
  if constexpr (std::is_same_v<T, float>)
  {
    UInt32 bits;
    memcpy(&bits, &value, sizeof bits);
    return ComponentParamSlot(bits);
  }
  else if constexpr (std::is_pointer_v<T>)
  {
    return reinterpret_cast<ComponentParamSlot>(value);
  }
  else
  {
    static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "arguments are integers, floats or pointers");
    return ComponentParamSlot(value);
  }
}

template <class T>
T ComponentSlotValue(ComponentParamSlot slot)
{
  if constexpr (std::is_same_v<T, float>)
  {
    UInt32 bits = UInt32(uintptr_t(slot));
    T value;
    memcpy(&value, &bits, sizeof value);
    return value;
  }
  else if constexpr (std::is_pointer_v<T>)
  {
    return reinterpret_cast<T>(slot);
  }
  else
  {
    return T(slot);
  }
}

template <class... Args>
ComponentParameters PackComponentParameters(SInt16 what, Args... args)
{
  constexpr int n = int(sizeof...(Args));
  static_assert(n <= kComponentMaxParams);
  ComponentParameters p{};
  p.what = what;
  p.paramSize = UInt8(n * sizeof(ComponentParamSlot));
  int i = n;
  ((p.params[--i] = ComponentSlotOf(args)), ...);
  return p;
}

// Reads the arguments in public order into *out...; false, with nothing
// written, when the block is null or carries fewer than that many slots.
template <class... Args>
bool UnpackComponentParameters(const ComponentParameters* p, Args*... out)
{
  constexpr int n = int(sizeof...(Args));
  static_assert(n <= kComponentMaxParams);
  if (!p || p->paramSize < n * sizeof(ComponentParamSlot))
    return false;
  int i = n;
  ((*out = ComponentSlotValue<Args>(p->params[--i])), ...);
  return true;
}
