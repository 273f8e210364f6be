#include "platform/corefoundation/cf_object.h"

#include <cstdio>
#include <cstdlib>

CFObject* CFObjectOrDie(CFTypeRef ref, const char* function)
{
  CFObject* obj = CFObjectOf(ref);
  if (obj)
    return obj;
  fprintf(stderr, "%s: %s (%p)\n", function, ref ? "not a live Core Foundation object" : "NULL argument", ref);
  fflush(stderr);
  abort();
}

CFTypeRef CFRetain(CFTypeRef ref)
{
  CFObject* obj = CFObjectOrDie(ref, "CFRetain");
  if (!obj->immortal)
    obj->refCount.fetch_add(1, std::memory_order_relaxed);
  return ref;
}

void CFRelease(CFTypeRef ref)
{
  CFObject* obj = CFObjectOrDie(ref, "CFRelease");
  if (obj->immortal)
    return;
  if (obj->refCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
    obj->ops->destroy(obj);
}

CFTypeID CFGetTypeID(CFTypeRef ref)
{
  return CFObjectOrDie(ref, "CFGetTypeID")->typeID;
}

CFIndex CFGetRetainCount(CFTypeRef ref)
{
  CFObject* obj = CFObjectOrDie(ref, "CFGetRetainCount");
  return obj->immortal ? LONG_MAX : obj->refCount.load(std::memory_order_relaxed);
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
  CFObject* x = CFObjectOrDie(a, "CFEqual");
  CFObject* y = CFObjectOrDie(b, "CFEqual");
  if (x == y)
    return true;
  return x->typeID == y->typeID && x->ops->equals(*x, *y);
}

CFHashCode CFHash(CFTypeRef ref)
{
  CFObject* obj = CFObjectOrDie(ref, "CFHash");
  return obj->ops->hash(*obj);
}
