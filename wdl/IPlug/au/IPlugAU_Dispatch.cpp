// The component entry and its selector table. Open and close run without an
// instance lock; every other selector runs inside the instance's mMutex.
// Each selector's method reads its own arguments (ComponentParams.h) and
// refuses a block that carries too few.

#include <algorithm>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "platform/components/ComponentParams.h"
#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/au/IPlugAU_Graph.h"

namespace
{

// Component selectors this unit implements: 1-7, 9-11 and 14-17.
constexpr UInt32 kCanDoMask = 0x3CEFE;
constexpr SInt16 kCanDoSelectorLimit = 18;

// Instances opened through the entry and not yet closed. A call whose
// storage is not one of them is refused before anything is touched.
class LiveInstances
{
public:
  void Add(IPlugAU* plug)
  {
    std::lock_guard<std::mutex> guard(mLock);
    mPlugs.push_back(plug);
  }
  enum class ERemoved
  {
    kRemoved,
    kNotLive,
    kDeferred
  };
  // Takes plug off the list. When busy(plug) says a call is still using it,
  // it is kept as closing until Claim hands it to the caller that deletes it.
  template <class Busy>
  ERemoved Remove(IPlugAU* plug, Busy busy)
  {
    std::lock_guard<std::mutex> guard(mLock);
    auto it = std::find(mPlugs.begin(), mPlugs.end(), plug);
    if (it == mPlugs.end())
      return ERemoved::kNotLive;
    mPlugs.erase(it);
    if (!busy(plug))
      return ERemoved::kRemoved;
    mClosing.push_back(plug);
    return ERemoved::kDeferred;
  }
  // True for exactly one caller, once plug is closing and idle(plug) says no
  // call uses it any more. A plug not closing is never looked at.
  template <class Idle>
  bool Claim(IPlugAU* plug, Idle idle)
  {
    std::lock_guard<std::mutex> guard(mLock);
    auto it = std::find(mClosing.begin(), mClosing.end(), plug);
    if (it == mClosing.end() || !idle(plug))
      return false;
    mClosing.erase(it);
    return true;
  }
  IPlugAU* Find(void* storage)
  {
    std::lock_guard<std::mutex> guard(mLock);
    auto it = std::find(mPlugs.begin(), mPlugs.end(), storage);
    return it == mPlugs.end() ? nullptr : *it;
  }

private:
  std::mutex mLock;
  std::vector<IPlugAU*> mPlugs;
  std::vector<IPlugAU*> mClosing;
};

LiveInstances& Live()
{
  static LiveInstances* live = new LiveInstances; // outlives any static destructor that closes a unit
  return *live;
}

} // namespace

IPlugAU* IPlugAU::MakeConnectionSource(ComponentParameters* params, IPlugAU* dest)
{
  AudioUnitPropertyID propID;
  AudioUnitScope scope;
  AudioUnitElement element;
  const void* pData;
  UInt32 dataSize;
  if (params->what != kAudioUnitSetPropertySelect ||
      !UnpackComponentParameters(params, &propID, &scope, &element, &pData, &dataSize) ||
      propID != kAudioUnitProperty_MakeConnection || !pData || dataSize < sizeof(AudioUnitConnection))
    return nullptr;
  IPlugAU* source = FindOpenUnit(static_cast<const AudioUnitConnection*>(pData)->sourceAudioUnit);
  return source == dest ? nullptr : source;
}

ComponentResult IPlugAU::IPlugAUEntry(ComponentParameters* params, void* pPlug) noexcept
{
  try
  {
    if (!params)
      return paramErr;
    if (params->what == kComponentOpenSelect)
      return DoOpen(params);
    if (params->what == kComponentCloseSelect)
      return DoClose(params, static_cast<IPlugAU*>(pPlug));
    IPlugAU* plug = Live().Find(pPlug);
    if (!plug)
      return badComponentInstance;
    // A make-connection asks its source unit for its format inside this unit's lock. Two
    // made at once in opposite directions would each wait for the other's unit: with a
    // source of ours, both locks are taken up front, the lower address first.
    IPlugAU* source = MakeConnectionSource(params, plug);
    const bool sourceFirst = source && std::less<IPlugAU*>()(source, plug);
    ComponentResult r;
    bool closing, sourceClosing;
    {
      PlugMutexScope first((sourceFirst ? source : plug)->GetMutex());
      PlugMutexScope second(source ? (sourceFirst ? plug : source)->GetMutex() : nullptr);
      r = plug->DispatchLocked(params);
      closing = plug->mClosePending.load();
      sourceClosing = source && source->mClosePending.load();
    }
    if (closing)
      FinishDeferredClose(plug);
    if (sourceClosing)
      FinishDeferredClose(source);
    return r;
  }
  catch (const std::bad_alloc&)
  {
    return memFullErr;
  }
  catch (...)
  {
    return internalComponentErr;
  }
}

ComponentResult IPlugAU::DispatchLocked(ComponentParameters* params)
{
  switch (params->what)
  {
  case kComponentCanDoSelect: return DoCanDo(params);
  case kComponentVersionSelect: return DoVersion();
  case kAudioUnitInitializeSelect: return DoInitialize();
  case kAudioUnitUninitializeSelect: return DoUninitialize();
  case kAudioUnitGetPropertyInfoSelect: return DoGetPropertyInfo(params);
  case kAudioUnitGetPropertySelect: return DoGetProperty(params);
  case kAudioUnitSetPropertySelect: return DoSetProperty(params);
  case kAudioUnitGetParameterSelect: return DoGetParameter(params);
  case kAudioUnitSetParameterSelect: return DoSetParameter(params);
  case kAudioUnitResetSelect: return DoReset();
  case kAudioUnitAddPropertyListenerSelect: return DoAddPropertyListener(params);
  case kAudioUnitRemovePropertyListenerSelect: return DoRemovePropertyListener(params);
  case kAudioUnitRenderSelect: return DoRender(params);
  case kAudioUnitAddRenderNotifySelect: return DoAddRenderNotify(params);
  case kAudioUnitRemoveRenderNotifySelect: return DoRemoveRenderNotify(params);
  case kAudioUnitScheduleParametersSelect: return DoScheduleParameters(params);
  case kAudioUnitRemovePropertyListenerWithUserDataSelect: return DoRemovePropertyListenerWithUserData(params);
  case kMusicDeviceMIDIEventSelect: return DoMIDIEvent(params);
  case kMusicDevicePrepareInstrumentSelect: return noErr;
  case kMusicDeviceReleaseInstrumentSelect: return noErr;
  case kMusicDeviceStartNoteSelect: return DoStartNote(params);
  case kMusicDeviceStopNoteSelect: return DoStopNote(params);
  default: return badComponentSelector;
  }
}

ComponentResult IPlugAU::DoOpen(ComponentParameters* params)
{
  ComponentInstance ci = nullptr;
  if (!UnpackComponentParameters(params, &ci))
    return paramErr;
  if (!ci)
    return badComponentInstance;
  std::unique_ptr<IPlugAU> plug(MakePlug());
  if (!plug)
    return memFullErr;
  plug->HostSpecificInit();
  plug->PruneUninitializedPresets();
  plug->mComponentInstance = ci;
  Live().Add(plug.get());
  // The instance's storage owns it from here: close deletes it.
  SetComponentInstanceStorage(ci, reinterpret_cast<Handle>(plug.release()));
  return noErr;
}

ComponentResult IPlugAU::DoClose(ComponentParameters* params, IPlugAU* pPlug)
{
  if (!pPlug)
    return noErr;
  // Closed from inside one of its own calls (a render notification, an input
  // callback, a listener): deleting now would free what that call is using.
  // The unit takes no further calls; the call that is using it deletes it
  // when it ends.
  auto busy = [](IPlugAU* plug) {
    bool inUse = plug->mRendersInFlight.load() > 0 || plug->GetMutex()->m_ownerthread.load() == pthread_self();
    if (inUse)
      plug->mClosePending.store(true);
    return inUse;
  };
  LiveInstances::ERemoved removed = Live().Remove(pPlug, busy);
  if (removed == LiveInstances::ERemoved::kNotLive)
    return badComponentInstance;
  IPlugAUGraph::DropUnit(pPlug->mComponentInstance);
  ComponentInstance ci = nullptr;
  if (UnpackComponentParameters(params, &ci) && ci == pPlug->mComponentInstance)
    SetComponentInstanceStorage(ci, nullptr);
  if (removed == LiveInstances::ERemoved::kRemoved)
    delete pPlug;
  return noErr;
}

void IPlugAU::FinishDeferredClose(IPlugAU* plug)
{
  auto idle = [](IPlugAU* p) {
    return p->mRendersInFlight.load() == 0 && p->GetMutex()->m_ownerthread.load() != pthread_self();
  };
  if (Live().Claim(plug, idle))
    delete plug;
}

IPlugAU* IPlugAU::FindOpenUnit(AudioUnit unit)
{
  return unit ? Live().Find(GetComponentInstanceStorage(unit)) : nullptr;
}

ComponentResult IPlugAU::DoCanDo(ComponentParameters* params)
{
  SInt16 selector = 0;
  if (!UnpackComponentParameters(params, &selector))
    return paramErr;
  if (selector < 0 || selector >= kCanDoSelectorLimit)
    return 0;
  return (kCanDoMask >> selector) & 1;
}

ComponentResult IPlugAU::DoVersion()
{
  return GetEffectVersion(false);
}
