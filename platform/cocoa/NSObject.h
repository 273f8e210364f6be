#pragma once
// Root of the Cocoa stand-in's object model: manual reference counting.
// An object starts with one reference owned by its creator and is deleted
// by the release that drops the last one. Class membership is asked with
// dynamic_cast, which plays the part of isKindOfClass: and of
// respondsToSelector: for optional protocols (mix-in interfaces).
//
// Everything here runs on the thread that owns the objects; only the
// counts are atomic.

#include <atomic>

#include "platform/coregraphics/CGGeometry.h"

typedef CGPoint NSPoint;
typedef CGSize NSSize;
typedef CGRect NSRect;

inline NSRect NSMakeRect(CGFloat x, CGFloat y, CGFloat w, CGFloat h) { return CGRectMake(x, y, w, h); }

class NSObject {
public:
  NSObject() = default;
  NSObject(const NSObject&) = delete;
  NSObject& operator=(const NSObject&) = delete;

  NSObject* retain();
  void release();
  int retainCount() const { return mRefCount.load(std::memory_order_relaxed); }

protected:
  virtual ~NSObject() = default;

private:
  std::atomic<int> mRefCount{1};
};

// Releases obj when non-null.
inline void NSRelease(NSObject* obj)
{
  if (obj) obj->release();
}
