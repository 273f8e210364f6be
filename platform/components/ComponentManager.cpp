// Registry of components and live instances. The lock guards the two lists
// only; entries are called outside it, so a component may call back into the
// manager (to set its storage, or to open another component).

#include "platform/components/ComponentParams.h"
#include "platform/components/Components.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

struct ComponentRecord
{
  ComponentDescription description{};
  ComponentRoutine entry = nullptr;
  CFStringRef name = nullptr;
  int openInstances = 0;
};

struct ComponentInstanceRecord
{
  ComponentRecord* component = nullptr;
  Handle storage = nullptr;
};

namespace
{

struct Registry
{
  std::mutex lock;
  std::vector<ComponentRecord*> components;
  std::vector<ComponentInstanceRecord*> instances;

  bool IsComponent(const void* p) const
  {
    return std::find(components.begin(), components.end(), p) != components.end();
  }
  bool IsInstance(const void* p) const { return std::find(instances.begin(), instances.end(), p) != instances.end(); }

  // The component named by a component or an instance handle; null otherwise.
  ComponentRecord* ComponentOf(const void* p) const
  {
    if (IsComponent(p))
      return static_cast<ComponentRecord*>(const_cast<void*>(p));
    if (IsInstance(p))
      return static_cast<const ComponentInstanceRecord*>(p)->component;
    return nullptr;
  }
};

// Never destroyed: instances may still be closed from static destructors.
Registry& TheRegistry()
{
  static Registry* registry = new Registry;
  return *registry;
}

bool Matches(const ComponentDescription& have, const ComponentDescription& want)
{
  return (!want.componentType || want.componentType == have.componentType) &&
         (!want.componentSubType || want.componentSubType == have.componentSubType) &&
         (!want.componentManufacturer || want.componentManufacturer == have.componentManufacturer) &&
         ((have.componentFlags ^ want.componentFlags) & want.componentFlagsMask) == 0;
}

// Sends the open or close selector; the instance itself is the one argument.
ComponentResult SendLifecycle(ComponentInstanceRecord* inst, SInt16 what, Handle storage)
{
  ComponentParameters p = PackComponentParameters(what, static_cast<ComponentInstance>(inst));
  return inst->component->entry(&p, storage);
}

// Takes a live instance off the list, so no other call can reach it, and
// hands back its storage; false when it is not live (or already closing).
bool Detach(ComponentInstanceRecord* inst, Handle* storage)
{
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  auto it = std::find(r.instances.begin(), r.instances.end(), inst);
  if (it == r.instances.end())
    return false;
  r.instances.erase(it);
  --inst->component->openInstances;
  *storage = inst->storage;
  return true;
}

// Sends close to a detached instance and frees it.
ComponentResult CloseDetached(ComponentInstanceRecord* inst, Handle storage)
{
  ComponentResult result = SendLifecycle(inst, kComponentCloseSelect, storage);
  delete inst;
  return result;
}

} // namespace

Component RegisterComponent(const ComponentDescription* cd, ComponentRoutine entry, SInt16, CFStringRef name)
{
  if (!cd || !entry)
    return nullptr;
  auto* c = new (std::nothrow) ComponentRecord;
  if (!c)
    return nullptr;
  c->description = *cd;
  c->entry = entry;
  c->name = name ? static_cast<CFStringRef>(CFRetain(name)) : nullptr;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  r.components.push_back(c);
  return c;
}

OSStatus UnregisterComponent(Component component)
{
  Registry& r = TheRegistry();
  {
    std::lock_guard<std::mutex> guard(r.lock);
    if (!r.IsComponent(component))
      return invalidComponentID;
    if (component->openInstances)
      return validInstancesExist;
    r.components.erase(std::find(r.components.begin(), r.components.end(), component));
  }
  if (component->name)
    CFRelease(component->name);
  delete component;
  return noErr;
}

Component FindNextComponent(Component after, const ComponentDescription* looking)
{
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  auto it = r.components.begin();
  if (after)
  {
    it = std::find(r.components.begin(), r.components.end(), after);
    if (it == r.components.end())
      return nullptr;
    ++it;
  }
  for (; it != r.components.end(); ++it)
    if (!looking || Matches((*it)->description, *looking))
      return *it;
  return nullptr;
}

OSStatus GetComponentInfo(Component component, ComponentDescription* cd, Handle, Handle, Handle)
{
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  ComponentRecord* c = r.ComponentOf(component);
  if (!c)
    return invalidComponentID;
  if (cd)
    *cd = c->description;
  return noErr;
}

OSStatus CopyComponentName(Component component, CFStringRef* outName)
{
  if (!outName)
    return paramErr;
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  ComponentRecord* c = r.ComponentOf(component);
  if (!c)
    return invalidComponentID;
  *outName = c->name ? static_cast<CFStringRef>(CFRetain(c->name)) : nullptr;
  return noErr;
}

OSStatus OpenAComponent(Component component, ComponentInstance* outInstance)
{
  if (!outInstance)
    return paramErr;
  *outInstance = nullptr;
  auto* inst = new (std::nothrow) ComponentInstanceRecord;
  if (!inst)
    return memFullErr;
  Registry& r = TheRegistry();
  {
    std::lock_guard<std::mutex> guard(r.lock);
    if (!r.IsComponent(component))
    {
      delete inst;
      return invalidComponentID;
    }
    inst->component = component;
    ++component->openInstances;
    r.instances.push_back(inst);
  }
  ComponentResult result = SendLifecycle(inst, kComponentOpenSelect, nullptr);
  if (result != noErr)
  {
    Handle storage = nullptr;
    if (Detach(inst, &storage))
      CloseDetached(inst, storage);
    return result;
  }
  *outInstance = inst;
  return noErr;
}

ComponentInstance OpenComponent(Component component)
{
  ComponentInstance inst = nullptr;
  OpenAComponent(component, &inst);
  return inst;
}

OSStatus CloseComponent(ComponentInstance instance)
{
  Handle storage = nullptr;
  if (!Detach(instance, &storage))
    return badComponentInstance;
  return CloseDetached(instance, storage);
}

Handle GetComponentInstanceStorage(ComponentInstance instance)
{
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  return r.IsInstance(instance) ? instance->storage : nullptr;
}

void SetComponentInstanceStorage(ComponentInstance instance, Handle storage)
{
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> guard(r.lock);
  if (r.IsInstance(instance))
    instance->storage = storage;
}

ComponentResult CallComponent(ComponentInstance instance, ComponentParameters* params)
{
  ComponentRoutine entry;
  Handle storage;
  {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.lock);
    if (!r.IsInstance(instance))
      return badComponentInstance;
    entry = instance->component->entry;
    storage = instance->storage;
  }
  return entry(params, storage);
}

ComponentResult ComponentFunctionImplemented(ComponentInstance instance, SInt16 selector)
{
  ComponentParameters p = PackComponentParameters(kComponentCanDoSelect, selector);
  return CallComponent(instance, &p);
}

ComponentResult GetComponentVersion(ComponentInstance instance)
{
  ComponentParameters p = PackComponentParameters(kComponentVersionSelect);
  return CallComponent(instance, &p);
}
