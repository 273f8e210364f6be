#pragma once
// Autorelease pools, a stack per thread. Objects autoreleased go to the
// innermost pool and are released when it drains; draining an outer pool
// drains the pools opened inside it first, as on the platform.

#include <vector>

class NSObject;

class NSAutoreleasePool
{
public:
  // Opens a pool on this thread's stack; drain it on the same thread.
  NSAutoreleasePool();
  NSAutoreleasePool(const NSAutoreleasePool&) = delete;
  NSAutoreleasePool& operator=(const NSAutoreleasePool&) = delete;

  // Releases the objects (once per autorelease) and deletes the pool.
  // Aborts when the pool is not open on this thread.
  void drain();

  // Adds obj to this thread's innermost pool; aborts when there is none
  // (the platform would leak it with a warning).
  static void addObject(NSObject* obj);
  // Pools open on this thread.
  static int depth();

private:
  ~NSAutoreleasePool() = default;
  void releaseObjects();

  std::vector<NSObject*> mObjects;
};
