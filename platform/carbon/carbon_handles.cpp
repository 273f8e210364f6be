#include "platform/carbon/carbon_handles.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unordered_map>

namespace
{

struct Registry
{
  uintptr_t last = 0x10000;
  std::unordered_map<uintptr_t, std::unique_ptr<CarbonObject>> objects;
};

Registry& registry()
{
  static Registry r;
  return r;
}

} // namespace

void carbonFail(const char* fn, const char* what)
{
  fprintf(stderr, "%s: %s\n", fn, what);
  abort();
}

uintptr_t carbonRegister(CarbonObject* obj)
{
  Registry& r = registry();
  r.last += 0x10; // looks like an aligned pointer and is never reused
  obj->handle = r.last;
  r.objects[r.last].reset(obj);
  return r.last;
}

void carbonDispose(CarbonObject* obj)
{
  auto& objects = registry().objects;
  auto it = objects.find(obj->handle);
  if (it == objects.end())
    return;
  // Erase first: the destructor may dispose further objects.
  std::unique_ptr<CarbonObject> owned = std::move(it->second);
  objects.erase(it);
}

CarbonObject* carbonFind(const void* ref)
{
  auto& objects = registry().objects;
  auto it = objects.find(reinterpret_cast<uintptr_t>(ref));
  return it == objects.end() ? nullptr : it->second.get();
}
