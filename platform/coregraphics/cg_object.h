#pragma once
// Reference-counted base of every Core Graphics stand-in object. Private to
// the stand-in: callers only see the opaque Ref types and Retain/Release.

#include <atomic>

struct CGObject
{
  virtual ~CGObject() {}
  std::atomic<int> refCount{1};
};

// Both accept null; Retain returns its argument.
template <class T>
T* CGObjectRetain(T* obj)
{
  if (obj)
    obj->refCount.fetch_add(1, std::memory_order_relaxed);
  return obj;
}

inline void CGObjectRelease(CGObject* obj)
{
  if (obj && obj->refCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
    delete obj;
}
