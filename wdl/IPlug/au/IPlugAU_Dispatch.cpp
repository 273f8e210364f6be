// The component entry and its selector table. Open and close run without an
// instance lock; every other selector runs inside the instance's mMutex.
// Each selector's method reads its own arguments (ComponentParams.h) and
// refuses a block that carries too few.

#include <algorithm>
#include <mutex>
#include <new>
#include <vector>

#include "platform/components/ComponentParams.h"
#include "wdl/IPlug/au/IPlugAU.h"

namespace {

// Component selectors this unit implements: 1-7, 9-11 and 14-17.
constexpr UInt32 kCanDoMask = 0x3CEFE;
constexpr SInt16 kCanDoSelectorLimit = 18;

// Instances opened through the entry and not yet closed. A call whose
// storage is not one of them is refused before anything is touched.
class LiveInstances {
public:
  void Add(IPlugAU* plug)
  {
    std::lock_guard<std::mutex> guard(mLock);
    mPlugs.push_back(plug);
  }
  bool Remove(IPlugAU* plug)
  {
    std::lock_guard<std::mutex> guard(mLock);
    auto it = std::find(mPlugs.begin(), mPlugs.end(), plug);
    if (it == mPlugs.end()) return false;
    mPlugs.erase(it);
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
};

LiveInstances& Live()
{
  static LiveInstances* live = new LiveInstances;  // outlives any static destructor that closes a unit
  return *live;
}

}  // namespace

ComponentResult IPlugAU::IPlugAUEntry(ComponentParameters* params, void* pPlug) noexcept
{
  try {
    if (!params) return paramErr;
    if (params->what == kComponentOpenSelect) return DoOpen(params);
    if (params->what == kComponentCloseSelect) return DoClose(params, static_cast<IPlugAU*>(pPlug));
    IPlugAU* plug = Live().Find(pPlug);
    if (!plug) return badComponentInstance;
    PlugMutexScope lock(plug->GetMutex());
    return plug->DispatchLocked(params);
  } catch (const std::bad_alloc&) {
    return memFullErr;
  } catch (...) {
    return internalComponentErr;
  }
}

ComponentResult IPlugAU::DispatchLocked(ComponentParameters* params)
{
  switch (params->what) {
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
  if (!UnpackComponentParameters(params, &ci)) return paramErr;
  if (!ci) return badComponentInstance;
  IPlugAU* plug = MakePlug();
  if (!plug) return memFullErr;
  try {
    plug->HostSpecificInit();
    plug->PruneUninitializedPresets();
    plug->mComponentInstance = ci;
    Live().Add(plug);
  } catch (...) {
    delete plug;
    throw;
  }
  SetComponentInstanceStorage(ci, reinterpret_cast<Handle>(plug));
  return noErr;
}

ComponentResult IPlugAU::DoClose(ComponentParameters* params, IPlugAU* pPlug)
{
  if (!pPlug) return noErr;
  if (!Live().Remove(pPlug)) return badComponentInstance;
  ComponentInstance ci = nullptr;
  if (UnpackComponentParameters(params, &ci) && ci == pPlug->mComponentInstance)
    SetComponentInstanceStorage(ci, nullptr);
  delete pPlug;
  return noErr;
}

ComponentResult IPlugAU::DoCanDo(ComponentParameters* params)
{
  SInt16 selector = 0;
  if (!UnpackComponentParameters(params, &selector)) return paramErr;
  if (selector < 0 || selector >= kCanDoSelectorLimit) return 0;
  return (kCanDoMask >> selector) & 1;
}

ComponentResult IPlugAU::DoVersion() { return GetEffectVersion(false); }
