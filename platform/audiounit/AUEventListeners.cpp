#include "platform/audiounit/AudioUnitUtilities.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

struct AUEventListenerRecord
{
  AUEventListenerProc proc;
  void* refCon;
  struct Interest
  {
    void* object;
    AudioUnitEvent event;
  };
  std::vector<Interest> interests;
};

namespace
{

struct Listeners
{
  std::mutex lock;
  std::vector<AUEventListenerRecord*> all;
  bool IsLive(const AUEventListenerRecord* l) const { return std::find(all.begin(), all.end(), l) != all.end(); }
};

Listeners& TheListeners()
{
  static Listeners* listeners = new Listeners;
  return *listeners;
}

// Parameter and property events name their target the same way.
bool SameTarget(const AudioUnitEvent& a, const AudioUnitEvent& b)
{
  if (a.mEventType != b.mEventType)
    return false;
  const AudioUnitParameter& x = a.mArgument.mParameter;
  const AudioUnitParameter& y = b.mArgument.mParameter;
  return x.mAudioUnit == y.mAudioUnit && x.mParameterID == y.mParameterID && x.mScope == y.mScope &&
         x.mElement == y.mElement;
}

} // namespace

OSStatus AUEventListenerCreate(AUEventListenerProc inProc, void* inCallbackRefCon, void*, CFStringRef, Float32, Float32,
                               AUEventListenerRef* outListener)
{
  if (!inProc || !outListener)
    return paramErr;
  auto* l = new (std::nothrow) AUEventListenerRecord{inProc, inCallbackRefCon, {}};
  if (!l)
    return memFullErr;
  Listeners& ls = TheListeners();
  std::lock_guard<std::mutex> guard(ls.lock);
  ls.all.push_back(l);
  *outListener = l;
  return noErr;
}

OSStatus AUListenerDispose(AUEventListenerRef inListener)
{
  Listeners& ls = TheListeners();
  {
    std::lock_guard<std::mutex> guard(ls.lock);
    if (!ls.IsLive(inListener))
      return paramErr;
    ls.all.erase(std::find(ls.all.begin(), ls.all.end(), inListener));
  }
  delete inListener;
  return noErr;
}

OSStatus AUEventListenerAddEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent)
{
  if (!inEvent)
    return paramErr;
  Listeners& ls = TheListeners();
  std::lock_guard<std::mutex> guard(ls.lock);
  if (!ls.IsLive(inListener))
    return paramErr;
  inListener->interests.push_back({inObject, *inEvent});
  return noErr;
}

OSStatus AUEventListenerRemoveEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent)
{
  if (!inEvent)
    return paramErr;
  Listeners& ls = TheListeners();
  std::lock_guard<std::mutex> guard(ls.lock);
  if (!ls.IsLive(inListener))
    return paramErr;
  auto& in = inListener->interests;
  auto it = std::find_if(in.begin(), in.end(), [&](const AUEventListenerRecord::Interest& i) {
    return i.object == inObject && SameTarget(i.event, *inEvent);
  });
  if (it == in.end())
    return paramErr;
  in.erase(it);
  return noErr;
}

OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void*, const AudioUnitEvent* inEvent)
{
  if (!inEvent)
    return paramErr;
  struct Delivery
  {
    AUEventListenerProc proc;
    void* refCon;
    void* object;
  };
  std::vector<Delivery> deliveries;
  {
    Listeners& ls = TheListeners();
    std::lock_guard<std::mutex> guard(ls.lock);
    for (AUEventListenerRecord* l : ls.all)
    {
      if (l == inSendingListener)
        continue;
      for (const auto& i : l->interests)
        if (SameTarget(i.event, *inEvent))
          deliveries.push_back({l->proc, l->refCon, i.object});
    }
  }
  AudioUnitParameterValue value = 0;
  if (inEvent->mEventType == kAudioUnitEvent_ParameterValueChange && !deliveries.empty())
  {
    const AudioUnitParameter& p = inEvent->mArgument.mParameter;
    if (AudioUnitGetParameter(p.mAudioUnit, p.mParameterID, p.mScope, p.mElement, &value) != noErr)
      value = 0;
  }
  // Called outside the lock: a listener may add or remove interests.
  for (const Delivery& d : deliveries)
    d.proc(d.refCon, d.object, inEvent, 0, value);
  return noErr;
}
