#include "platform/cocoa/NSClass.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/cocoa/NSView.h"

namespace
{

NSObject* makeObject()
{
  return new NSObject();
}
NSObject* makeView()
{
  return new NSView(NSMakeRect(0, 0, 0, 0));
}

const NSClassRecord kNSObjectClass = {"NSObject", nullptr, &makeObject, &NSIsInstanceOf<NSObject>};
const NSClassRecord kNSViewClass = {"NSView", &kNSObjectClass, &makeView, &NSIsInstanceOf<NSView>};

struct ClassTable
{
  std::mutex lock;
  std::vector<Class> classes{&kNSObjectClass, &kNSViewClass};
};

ClassTable& Table()
{
  static auto* table = new ClassTable;
  return *table;
}

} // namespace

Class NSClassFromString(const char* name)
{
  if (!name)
    return nullptr;
  ClassTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  for (Class c : t.classes)
    if (strcmp(c->name, name) == 0)
      return c;
  return nullptr;
}

bool NSRegisterClass(const NSClassRecord* cls)
{
  if (!cls || !cls->name || !cls->make || !cls->isInstance)
    NSFatal("NSRegisterClass: incomplete class record");
  ClassTable& t = Table();
  std::lock_guard<std::mutex> guard(t.lock);
  for (Class c : t.classes)
    if (strcmp(c->name, cls->name) == 0)
      return false;
  t.classes.push_back(cls);
  return true;
}

NSObject* NSClassCreateInstance(Class cls)
{
  if (!cls)
    NSFatal("NSClassCreateInstance: nil class");
  return cls->make();
}

bool NSObjectIsKindOfClass(const NSObject* obj, Class cls)
{
  return obj && cls && cls->isInstance(obj);
}
