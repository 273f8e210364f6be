#pragma once
// Component Manager stand-in. Components are registered explicitly with
// their entry point (this platform has no resource files); hosts open them
// by description and call them through parameter blocks (see
// ComponentParams.h). Every call checks that the instance or component it is
// given is live, so a stale handle gets an error instead of a crash.

#include "platform/corefoundation/CFString.h"
#include "platform/macbase/MacTypes.h"

#include <cstddef>
#include <cstdint>

typedef SInt32 ComponentResult;
typedef struct ComponentRecord* Component;
typedef struct ComponentInstanceRecord* ComponentInstance;

struct ComponentDescription
{
  OSType componentType;
  OSType componentSubType;
  OSType componentManufacturer;
  UInt32 componentFlags;
  UInt32 componentFlagsMask;
};
static_assert(sizeof(ComponentDescription) == 20);

// One pointer-sized slot per public argument; see ComponentParams.h for the
// packing. A call carries at most kComponentMaxParams arguments.
typedef intptr_t ComponentParamSlot;
constexpr int kComponentMaxParams = 8;

struct ComponentParameters
{
  UInt8 flags;
  UInt8 paramSize; // bytes of params in use: slots x sizeof(ComponentParamSlot)
  SInt16 what;     // the selector
  ComponentParamSlot params[kComponentMaxParams];
};
static_assert(offsetof(ComponentParameters, what) == 2);
static_assert(offsetof(ComponentParameters, params) == 8);
static_assert(sizeof(ComponentParameters) == 8 + kComponentMaxParams * sizeof(ComponentParamSlot));

typedef ComponentResult (*ComponentRoutine)(ComponentParameters* params, void* storage);

// Selectors of the Component Manager itself.
constexpr SInt16 kComponentOpenSelect = -1;
constexpr SInt16 kComponentCloseSelect = -2;
constexpr SInt16 kComponentCanDoSelect = -3;
constexpr SInt16 kComponentVersionSelect = -4;

// Registers a component; name is retained (null allowed). Null for a null
// description or entry.
Component RegisterComponent(const ComponentDescription* cd, ComponentRoutine entry, SInt16 global, CFStringRef name);
// invalidComponentID for an unknown component, validInstancesExist while
// instances are open.
OSStatus UnregisterComponent(Component component);
// The next registered component after `after` (null: the first) that matches
// looking: zero type, subtype or manufacturer match any; flags are compared
// under the mask. A null description matches every component.
Component FindNextComponent(Component after, const ComponentDescription* looking);
// Accepts a component or a live instance of one (as the platform does). The
// handles are not filled on this platform (names are had with
// CopyComponentName) and may be null.
OSStatus GetComponentInfo(Component component, ComponentDescription* cd, Handle name, Handle info, Handle icon);
// *outName = a new reference to the registered name (null when none).
OSStatus CopyComponentName(Component component, CFStringRef* outName);

// Makes an instance and sends it the open selector; when open fails the
// instance gets the close selector and is freed, and the error is returned.
OSStatus OpenAComponent(Component component, ComponentInstance* outInstance);
ComponentInstance OpenComponent(Component component);
// Takes the instance out of service, sends it the close selector and frees
// it; badComponentInstance when it is not live (a second close of the same
// instance, even a concurrent one, gets this). The close result is returned.
OSStatus CloseComponent(ComponentInstance instance);

// Null for an instance that is not live; setting one does nothing.
Handle GetComponentInstanceStorage(ComponentInstance instance);
void SetComponentInstanceStorage(ComponentInstance instance, Handle storage);

// Calls the instance's entry with the parameter block and its storage;
// badComponentInstance when the instance is not live.
ComponentResult CallComponent(ComponentInstance instance, ComponentParameters* params);
// The can-do and version selectors, packed for the caller.
ComponentResult ComponentFunctionImplemented(ComponentInstance instance, SInt16 selector);
ComponentResult GetComponentVersion(ComponentInstance instance);
