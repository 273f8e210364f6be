#include "platform/cocoa/NSAutoreleasePool.h"

#include <algorithm>

#include "platform/cocoa/NSObject.h"

namespace
{

thread_local std::vector<NSAutoreleasePool*> tPools;

} // namespace

NSAutoreleasePool::NSAutoreleasePool()
{
  tPools.push_back(this);
}

void NSAutoreleasePool::releaseObjects()
{
  // An object released here may autorelease more into this pool.
  while (!mObjects.empty())
  {
    std::vector<NSObject*> batch;
    batch.swap(mObjects);
    for (NSObject* obj : batch)
      obj->release();
  }
}

void NSAutoreleasePool::drain()
{
  auto it = std::find(tPools.begin(), tPools.end(), this);
  if (it == tPools.end())
    NSFatal("NSAutoreleasePool %p drained but not open on this thread", static_cast<void*>(this));
  while (tPools.back() != this)
    tPools.back()->drain();
  releaseObjects();
  tPools.pop_back();
  delete this;
}

void NSAutoreleasePool::addObject(NSObject* obj)
{
  if (tPools.empty())
    NSFatal("object %p autoreleased with no pool in place", static_cast<void*>(obj));
  tPools.back()->mObjects.push_back(obj);
}

int NSAutoreleasePool::depth()
{
  return int(tPools.size());
}
