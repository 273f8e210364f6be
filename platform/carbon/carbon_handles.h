#pragma once
// Private: every Carbon stand-in object (window, control, event, handler,
// timer, region) lives in one registry and is known to callers only by a
// handle, a number that is never reused. A null, disposed or foreign
// handle, or one of the wrong kind, aborts with the calling function's name,
// where the platform would crash on freed memory.

#include <cstdint>

struct CarbonObject
{
  virtual ~CarbonObject() = default;
  uintptr_t handle = 0;
};

[[noreturn]] void carbonFail(const char* fn, const char* what);

// Takes ownership and returns the object's new handle.
uintptr_t carbonRegister(CarbonObject* obj);
// Deletes the object; its handle becomes invalid.
void carbonDispose(CarbonObject* obj);
// The live object of the handle, or null.
CarbonObject* carbonFind(const void* ref);

template <class T>
T* carbonGet(const void* ref, const char* fn)
{
  T* obj = dynamic_cast<T*>(carbonFind(ref));
  if (!obj)
    carbonFail(fn, ref ? "invalid or disposed reference" : "null reference");
  return obj;
}

template <class Ref>
Ref carbonRef(const CarbonObject* obj)
{
  return obj ? reinterpret_cast<Ref>(obj->handle) : Ref(nullptr);
}
