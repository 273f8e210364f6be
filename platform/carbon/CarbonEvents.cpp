#include <algorithm>
#include <cstring>

#include "platform/carbon/carbon_records.h"

namespace
{

// One dispatch in progress; its address is the handlers' call reference.
struct CallFrame
{
  uintptr_t target;
  std::vector<uintptr_t> chain; // matching handlers, newest first
  size_t next = 0;
  bool standardRan = false;
};

std::vector<CallFrame*> activeFrames;

bool handles(const CarbonHandler& h, UInt32 eventClass, UInt32 kind)
{
  return std::any_of(h.types.begin(), h.types.end(),
                     [&](const EventTypeSpec& t) { return t.eventClass == eventClass && t.eventKind == kind; });
}

OSStatus runChain(CallFrame& f, EventRef event)
{
  while (f.next < f.chain.size())
  {
    auto* h = dynamic_cast<CarbonHandler*>(carbonFind(reinterpret_cast<void*>(f.chain[f.next++])));
    if (!h)
      continue; // removed by an earlier handler
    OSStatus s = h->proc(reinterpret_cast<EventHandlerCallRef>(&f), event, h->user);
    if (s != eventNotHandledErr)
      return s;
  }
  if (f.standardRan)
    return eventNotHandledErr;
  f.standardRan = true;
  auto* target = dynamic_cast<CarbonTarget*>(carbonFind(reinterpret_cast<void*>(f.target)));
  return target ? carbonStandardHandling(target, event) : eventNotHandledErr;
}

} // namespace

CarbonTarget::~CarbonTarget()
{
  for (uintptr_t h : handlers)
    if (CarbonObject* obj = carbonFind(reinterpret_cast<void*>(h)))
      carbonDispose(obj);
}

CarbonTarget* carbonNewTarget(CarbonWindow* window, CarbonControl* control)
{
  auto* t = new CarbonTarget;
  t->window = window;
  t->control = control;
  carbonRegister(t);
  return t;
}

OSStatus CreateEvent(CFAllocatorRef, UInt32 eventClass, UInt32 kind, EventTime when, EventAttributes,
                     EventRef* outEvent)
{
  if (!outEvent)
    return paramErr;
  auto* e = new CarbonEvent;
  e->eventClass = eventClass;
  e->kind = kind;
  e->when = when;
  carbonRegister(e);
  *outEvent = carbonRef<EventRef>(e);
  return noErr;
}

EventRef RetainEvent(EventRef event)
{
  ++carbonGet<CarbonEvent>(event, "RetainEvent")->refCount;
  return event;
}

void ReleaseEvent(EventRef event)
{
  CarbonEvent* e = carbonGet<CarbonEvent>(event, "ReleaseEvent");
  if (--e->refCount == 0)
    carbonDispose(e);
}

UInt32 GetEventClass(EventRef event)
{
  return carbonGet<CarbonEvent>(event, "GetEventClass")->eventClass;
}

UInt32 GetEventKind(EventRef event)
{
  return carbonGet<CarbonEvent>(event, "GetEventKind")->kind;
}

EventTime GetCurrentEventTime()
{
  return virtualClockNow();
}

OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size, const void* data)
{
  CarbonEvent* e = carbonGet<CarbonEvent>(event, "SetEventParameter");
  if (size && !data)
    carbonFail("SetEventParameter", "null data");
  auto bytes = static_cast<const unsigned char*>(data);
  e->params[name] = CarbonEvent::Param{type, std::vector<unsigned char>(bytes, bytes + size)};
  return noErr;
}

OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, ByteCount bufferSize, ByteCount* outActualSize, void* outData)
{
  CarbonEvent* e = carbonGet<CarbonEvent>(event, "GetEventParameter");
  auto it = e->params.find(name);
  if (it == e->params.end())
    return eventParameterNotFoundErr;
  const CarbonEvent::Param& p = it->second;
  if (desiredType != typeWildCard && desiredType != p.type)
    return errAECoercionFail;
  if (outActualType)
    *outActualType = p.type;
  if (outActualSize)
    *outActualSize = p.bytes.size();
  if (outData)
    memcpy(outData, p.bytes.data(), std::min<size_t>(bufferSize, p.bytes.size()));
  return noErr;
}

OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef)
{
  CarbonTarget* t = carbonGet<CarbonTarget>(target, "InstallEventHandler");
  if (!handler)
    carbonFail("InstallEventHandler", "null handler");
  if (numTypes && !list)
    carbonFail("InstallEventHandler", "null type list");
  auto* h = new CarbonHandler;
  h->target = t->handle;
  h->proc = handler;
  h->user = userData;
  h->types.assign(list, list + numTypes);
  t->handlers.push_back(carbonRegister(h));
  if (outRef)
    *outRef = carbonRef<EventHandlerRef>(h);
  return noErr;
}

OSStatus RemoveEventHandler(EventHandlerRef handler)
{
  CarbonHandler* h = carbonGet<CarbonHandler>(handler, "RemoveEventHandler");
  if (auto* t = dynamic_cast<CarbonTarget*>(carbonFind(reinterpret_cast<void*>(h->target))))
    std::erase(t->handlers, h->handle);
  carbonDispose(h);
  return noErr;
}

OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event)
{
  auto* f = reinterpret_cast<CallFrame*>(callRef);
  if (std::find(activeFrames.begin(), activeFrames.end(), f) == activeFrames.end())
    carbonFail("CallNextEventHandler", "not a call reference of a running handler");
  carbonGet<CarbonEvent>(event, "CallNextEventHandler");
  return runChain(*f, event);
}

OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target)
{
  CarbonEvent* e = carbonGet<CarbonEvent>(event, "SendEventToEventTarget");
  CarbonTarget* t = carbonGet<CarbonTarget>(target, "SendEventToEventTarget");
  CallFrame frame{t->handle, {}};
  for (auto it = t->handlers.rbegin(); it != t->handlers.rend(); ++it)
  {
    auto* h = static_cast<CarbonHandler*>(carbonFind(reinterpret_cast<void*>(*it)));
    if (handles(*h, e->eventClass, e->kind))
      frame.chain.push_back(*it);
  }
  // The event stays alive while its handlers run, whatever they release.
  RetainEvent(event);
  activeFrames.push_back(&frame);
  OSStatus s = runChain(frame, event);
  activeFrames.pop_back();
  ReleaseEvent(event);
  return s;
}

EventRef carbonNewEvent(UInt32 eventClass, UInt32 kind, const CarbonControl* directObject)
{
  EventRef e = nullptr;
  CreateEvent(nullptr, eventClass, kind, GetCurrentEventTime(), kEventAttributeNone, &e);
  if (directObject)
  {
    ControlRef ref = carbonRef<ControlRef>(directObject);
    SetEventParameter(e, kEventParamDirectObject, typeControlRef, sizeof ref, &ref);
  }
  return e;
}

OSStatus carbonSendAndRelease(EventRef event, CarbonTarget* target)
{
  OSStatus s = SendEventToEventTarget(event, carbonRef<EventTargetRef>(target));
  ReleaseEvent(event);
  return s;
}
