#include "platform/cocoa/NSObject.h"

#include <cxxabi.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <typeinfo>
#include <unordered_set>

#include "platform/cocoa/NSAutoreleasePool.h"

namespace
{

// Live objects, so that a message to a freed one is caught before it
// touches freed memory.
struct LiveObjects
{
  std::mutex lock;
  std::unordered_set<const NSObject*> set;
};

LiveObjects& Live()
{
  static auto* live = new LiveObjects;
  return *live;
}

} // namespace

void NSFatal(const char* format, ...)
{
  va_list args;
  va_start(args, format);
  fputs("*** ", stderr);
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  va_end(args);
  abort();
}

NSObject::NSObject()
{
  LiveObjects& live = Live();
  std::lock_guard<std::mutex> guard(live.lock);
  live.set.insert(this);
}

NSObject::~NSObject()
{
  LiveObjects& live = Live();
  std::lock_guard<std::mutex> guard(live.lock);
  live.set.erase(this);
}

void NSObject::checkAlive(const char* message) const
{
  LiveObjects& live = Live();
  std::lock_guard<std::mutex> guard(live.lock);
  if (!live.set.count(this))
    NSFatal("%s sent to deallocated instance %p", message, static_cast<const void*>(this));
}

NSObject* NSObject::retain()
{
  checkAlive("retain");
  mRefCount.fetch_add(1, std::memory_order_relaxed);
  return this;
}

void NSObject::release()
{
  checkAlive("release");
  if (mRefCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
    delete this;
}

std::string NSObject::description() const
{
  int status = 0;
  char* name = abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status);
  char address[32];
  snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
  std::string s = std::string("<") + (status == 0 && name ? name : typeid(*this).name()) + ": " + address + ">";
  free(name);
  return s;
}

NSObject* NSObject::autorelease()
{
  checkAlive("autorelease");
  NSAutoreleasePool::addObject(this);
  return this;
}

NSObject* NSObjectAtAddress(void* p)
{
  LiveObjects& live = Live();
  std::lock_guard<std::mutex> guard(live.lock);
  return live.set.count(static_cast<const NSObject*>(p)) ? static_cast<NSObject*>(p) : nullptr;
}
