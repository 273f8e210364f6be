#include "platform/corefoundation/cf_object.h"

CFTypeRef CFRetain(CFTypeRef ref)
{
  CFObject* obj = CFObjectOf(ref);
  if (obj && !obj->immortal) obj->refCount.fetch_add(1, std::memory_order_relaxed);
  return ref;
}

void CFRelease(CFTypeRef ref)
{
  CFObject* obj = CFObjectOf(ref);
  if (!obj || obj->immortal) return;
  if (obj->refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) obj->ops->destroy(obj);
}

CFTypeID CFGetTypeID(CFTypeRef ref)
{
  CFObject* obj = CFObjectOf(ref);
  return obj ? obj->typeID : _kCFRuntimeNotATypeID;
}

CFIndex CFGetRetainCount(CFTypeRef ref)
{
  CFObject* obj = CFObjectOf(ref);
  if (!obj) return 0;
  return obj->immortal ? LONG_MAX : obj->refCount.load(std::memory_order_relaxed);
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
  CFObject* x = CFObjectOf(a);
  CFObject* y = CFObjectOf(b);
  if (!x || !y) return false;
  if (x == y) return true;
  return x->typeID == y->typeID && x->ops->equals(*x, *y);
}

CFHashCode CFHash(CFTypeRef ref)
{
  CFObject* obj = CFObjectOf(ref);
  return obj ? obj->ops->hash(*obj) : 0;
}
