#include "platform/cocoa/NSObject.h"

NSObject* NSObject::retain()
{
  mRefCount.fetch_add(1, std::memory_order_relaxed);
  return this;
}

void NSObject::release()
{
  if (mRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
}
