#pragma once
// Base of every Core Foundation stand-in object. Private to the stand-in.
// The base has no virtual functions: a reference of unknown origin is checked
// by reading its magic word, which must not go through a vtable.

#include "platform/corefoundation/CFBase.h"

#include <atomic>
#include <climits>
#include <cstdint>

enum : CFTypeID
{
  kCFObjString = 1,
  kCFObjNumber,
  kCFObjData,
  kCFObjArray,
  kCFObjDictionary,
  kCFObjURL,
  kCFObjBundle,
};

struct CFObject;

// What differs between types: how to free, compare and hash an object.
struct CFObjectOps
{
  void (*destroy)(CFObject* obj);
  bool (*equals)(const CFObject& a, const CFObject& b); // null: identity
  CFHashCode (*hash)(const CFObject& obj);              // null: address
};

struct CFObject
{
  static constexpr UInt32 kLive = 0x4B434621; // "KCF!"

  CFObject(CFTypeID id, const CFObjectOps* o) : typeID(id), ops(o) {}
  ~CFObject() { magic = 0; }

  UInt32 magic = kLive;
  CFTypeID typeID;
  const CFObjectOps* ops;
  bool immortal = false; // constant strings live until the process ends
  std::atomic<long> refCount{1};
};

// The operations of type T: T::Equals(const T&) and T::Hash() when T has them.
template <class T>
const CFObjectOps* CFOpsOf()
{
  static const CFObjectOps ops = {
    [](CFObject* o) { delete static_cast<T*>(o); },
    [](const CFObject& a, const CFObject& b) {
      if constexpr (requires(const T& t) { t.Equals(t); })
        return static_cast<const T&>(a).Equals(static_cast<const T&>(b));
      else
        return &a == &b;
    },
    [](const CFObject& o) {
      if constexpr (requires(const T& t) { t.Hash(); })
        return static_cast<const T&>(o).Hash();
      else
        return CFHashCode(reinterpret_cast<uintptr_t>(&o));
    },
  };
  return &ops;
}

// The object behind ref when it is a live object; null otherwise.
inline CFObject* CFObjectOf(CFTypeRef ref)
{
  auto* obj = static_cast<CFObject*>(const_cast<void*>(ref));
  return (obj && obj->magic == CFObject::kLive) ? obj : nullptr;
}

// The object behind ref; a null or foreign reference stops the process with
// a message naming the function, as the platform crashes there.
CFObject* CFObjectOrDie(CFTypeRef ref, const char* function);

template <class T>
T* CFCast(CFTypeRef ref)
{
  CFObject* obj = CFObjectOf(ref);
  return (obj && obj->typeID == T::kTypeID) ? static_cast<T*>(obj) : nullptr;
}

// The opaque reference handed out for a new object.
template <class Ref>
Ref CFRefOf(CFObject* obj)
{
  return reinterpret_cast<Ref>(obj);
}

// The UTF-8 text of a string object, valid while it lives; null for anything else.
const char* CFStringUTF8(CFTypeRef str);
