#pragma once
// Root of the Cocoa stand-in's object model: manual reference counting.
// An object starts with one reference owned by its creator and is deleted
// by the release that drops the last one. Class membership is asked with
// dynamic_cast, which plays the part of isKindOfClass: and of
// respondsToSelector: for optional protocols (mix-in interfaces).
//
// Messages to nil do nothing, as in Objective-C (NSRelease(nullptr) is
// fine). What crashes on the platform aborts here with a message: a
// message to a deallocated object, an autorelease with no pool, a nil
// argument where the platform raises.
//
// Everything here runs on the thread that owns the objects; only the
// counts and the table of live objects are thread-safe.

#include <atomic>
#include <string>

#include "platform/coregraphics/CGGeometry.h"

typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;
typedef double NSTimeInterval;

inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h)
{
  return CGRectMake(x, y, w, h);
}

// Prints "*** <message>" to stderr and aborts, as an uncaught exception or
// a crash would end the process on the platform.
[[noreturn]] void NSFatal(const char* format, ...) __attribute__((format(printf, 1, 2)));

class NSObject
{
public:
  NSObject();
  NSObject(const NSObject&) = delete;
  NSObject& operator=(const NSObject&) = delete;

  NSObject* retain();
  void release();
  // Hands the caller's reference to this thread's innermost pool.
  NSObject* autorelease();
  int retainCount() const { return mRefCount.load(std::memory_order_relaxed); }
  // "<ClassName: 0x...>" unless a class says more.
  virtual std::string description() const;

protected:
  virtual ~NSObject();

private:
  // Aborts unless this object is alive.
  void checkAlive(const char* message) const;

  std::atomic<int> mRefCount{1};
};

// Stand-in only: the object at p, or null when p is not a live object (a
// caller handed either an object or a Carbon window tells them apart so).
NSObject* NSObjectAtAddress(void* p);

// Releases obj when non-null.
inline void NSRelease(NSObject* obj)
{
  if (obj)
    obj->release();
}
