// The property table: one getter and at most one setter per property. Sizes
// are those of this platform's records (64-bit pointers), which is what
// hosts built against the same records pass.

#include <cmath>
#include <cstring>

#include "wdl/IPlug/au/IPlugAU_PropertyCall.h"

namespace
{

// Largest slice a host may ask for: it sizes six channels of float and
// double scratch.
constexpr UInt32 kMaxFramesPerSliceCap = 65536;

} // namespace

ComponentResult IPlugAU::GetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32* pDataSize, Boolean* pWriteable, void* pData)
{
  if (!pDataSize || !pWriteable)
    return paramErr;
  PropertyCall call(scope, element, pDataSize, pWriteable, pData);
  switch (propID)
  {
  case kAudioUnitProperty_ClassInfo: return GetClassInfo(call);
  case kAudioUnitProperty_MakeConnection: return GetMakeConnection(call);
  case kAudioUnitProperty_SampleRate: return GetSampleRateProperty(call);
  case kAudioUnitProperty_ParameterList: return GetParameterList(call);
  case kAudioUnitProperty_ParameterInfo: return GetParameterInfo(call);
  case kAudioUnitProperty_FastDispatch: return GetFastDispatch(call);
  case kAudioUnitProperty_StreamFormat: return GetStreamFormat(call);
  case kAudioUnitProperty_ElementCount: return GetElementCount(call);
  case kAudioUnitProperty_Latency: return GetLatencySeconds(call);
  case kAudioUnitProperty_SupportedNumChannels: return GetSupportedNumChannels(call);
  case kAudioUnitProperty_MaximumFramesPerSlice: return GetMaximumFrames(call);
  case kAudioUnitProperty_ParameterValueStrings: return GetParameterValueStrings(call);
  case kAudioUnitProperty_GetUIComponentList: return GetUIComponentList(call);
  case kAudioUnitProperty_TailTime: return GetLatencySeconds(call);
  case kAudioUnitProperty_BypassEffect: return GetBypass(call);
  case kAudioUnitProperty_LastRenderError: return GetLastRenderError(call);
  case kAudioUnitProperty_SetRenderCallback: return GetRenderCallback(call);
  case kAudioUnitProperty_FactoryPresets: return GetFactoryPresets(call);
  case kAudioUnitProperty_HostCallbacks: return GetHostCallbacks(call);
  case kAudioUnitProperty_CurrentPreset: return GetCurrentPreset(call);
  case kAudioUnitProperty_CocoaUI: return GetCocoaUI(call);
  case kAudioUnitProperty_ParameterStringFromValue: return GetParameterStringFromValue(call);
  case kAudioUnitProperty_ParameterIDName: return GetParameterIDName(call);
  case kAudioUnitProperty_PresentPreset: return GetCurrentPreset(call);
  case kAudioUnitProperty_ParameterValueFromString: return GetParameterValueFromString(call);
  case kMusicDeviceProperty_InstrumentCount: return GetInstrumentCount(call);
  default: return kAudioUnitErr_InvalidProperty;
  }
}

namespace
{

// The property's record from the host's data, or null when the data is
// missing or shorter than the record.
template <class T>
const T* Record(const UInt32* pDataSize, const void* pData)
{
  return pData && pDataSize && *pDataSize >= sizeof(T) ? static_cast<const T*>(pData) : nullptr;
}

} // namespace

ComponentResult IPlugAU::SetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32* pDataSize, const void* pData)
{
  // Listeners hear of every set, even one that then fails.
  InformListeners(propID, scope);
  constexpr ComponentResult kBadData = kAudioUnitErr_InvalidPropertyValue;
  switch (propID)
  {
  case kAudioUnitProperty_ClassInfo: {
    auto* r = Record<CFPropertyListRef>(pDataSize, pData);
    return r ? SetClassInfo(*r) : kBadData;
  }
  case kAudioUnitProperty_MakeConnection: {
    auto* r = Record<AudioUnitConnection>(pDataSize, pData);
    return r ? SetMakeConnection(scope, *r) : kBadData;
  }
  case kAudioUnitProperty_SampleRate: {
    auto* r = Record<Float64>(pDataSize, pData);
    return r ? SetSampleRateProperty(*r) : kBadData;
  }
  case kAudioUnitProperty_StreamFormat: {
    auto* r = Record<AudioStreamBasicDescription>(pDataSize, pData);
    return r ? SetStreamFormat(scope, element, *r) : kBadData;
  }
  case kAudioUnitProperty_MaximumFramesPerSlice: {
    auto* r = Record<UInt32>(pDataSize, pData);
    return r ? SetMaximumFrames(*r) : kBadData;
  }
  case kAudioUnitProperty_BypassEffect: {
    auto* r = Record<UInt32>(pDataSize, pData);
    return r ? SetBypass(*r) : kBadData;
  }
  case kAudioUnitProperty_SetRenderCallback: {
    auto* r = Record<AURenderCallbackStruct>(pDataSize, pData);
    return r ? SetRenderCallback(scope, element, *r) : kBadData;
  }
  case kAudioUnitProperty_HostCallbacks:
    return pData && pDataSize ? SetHostCallbacks(scope, *pDataSize, pData) : kBadData;
  case kAudioUnitProperty_CurrentPreset:
  case kAudioUnitProperty_PresentPreset: {
    auto* r = Record<AUPreset>(pDataSize, pData);
    return r ? SetCurrentPreset(*r) : kBadData;
  }
  default: return kAudioUnitErr_InvalidProperty;
  }
}

void IPlugAU::ResetAudio()
{
  mLastRenderSampleTime.store(-1.0, std::memory_order_relaxed);
  mPullInputs.store(true, std::memory_order_relaxed);
  Reset();
}

// ---- Plain values ----

ComponentResult IPlugAU::GetSampleRateProperty(PropertyCall& call)
{
  return call.Answer(Float64(GetSampleRate()), true);
}

ComponentResult IPlugAU::SetSampleRateProperty(Float64 rate)
{
  if (!(std::isfinite(rate) && rate > 0.0))
    return kAudioUnitErr_InvalidPropertyValue;
  SetSampleRate(rate);
  ResetAudio();
  return noErr;
}

ComponentResult IPlugAU::GetLatencySeconds(PropertyCall& call)
{
  if (!call.IsGlobal())
    return kAudioUnitErr_InvalidProperty;
  return call.Answer(Float64(GetLatency()) / GetSampleRate(), false);
}

ComponentResult IPlugAU::GetMaximumFrames(PropertyCall& call)
{
  if (!call.IsGlobal())
    return kAudioUnitErr_InvalidProperty;
  return call.Answer(UInt32(GetBlockSize()), true);
}

ComponentResult IPlugAU::SetMaximumFrames(UInt32 frames)
{
  if (frames == 0 || frames > kMaxFramesPerSliceCap)
    return kAudioUnitErr_InvalidPropertyValue;
  // Asked from inside a render (an input callback or a notification): the
  // scratch that render is using must not be freed under it.
  if (mRendersInFlight.load() > 0)
    return kAudioUnitErr_CannotDoInCurrentContext;
  SetBlockSize(int(frames));
  // Without memory for the new size the old one stays; the host must know.
  if (GetBlockSize() != int(frames))
    return memFullErr;
  ResetAudio();
  return noErr;
}

ComponentResult IPlugAU::GetBypass(PropertyCall& call)
{
  if (!call.IsGlobal())
    return kAudioUnitErr_InvalidProperty;
  return call.Answer(UInt32(mBypassed.load() ? 1 : 0), true);
}

ComponentResult IPlugAU::SetBypass(UInt32 bypass)
{
  mBypassed.store(bypass != 0);
  ResetAudio();
  return noErr;
}

ComponentResult IPlugAU::GetLastRenderError(PropertyCall& call)
{
  if (!call.IsGlobal())
    return kAudioUnitErr_InvalidProperty;
  return call.Answer(OSStatus(noErr), false);
}

ComponentResult IPlugAU::GetElementCount(PropertyCall& call)
{
  UInt32 n = 0;
  switch (call.scope)
  {
  case kAudioUnitScope_Input: n = UInt32(NInputBuses()); break;
  case kAudioUnitScope_Output: n = UInt32(NOutputBuses()); break;
  case kAudioUnitScope_Global: n = 1; break;
  default: break;
  }
  return call.Answer(n, false);
}

ComponentResult IPlugAU::GetFastDispatch(PropertyCall& call)
{
  ComponentResult r = GetProc(call.element, nullptr, nullptr);
  if (r != noErr)
    return r;
  if ((r = call.Describe(sizeof(void*), false)) != noErr || !call.pData)
    return r;
  return GetProc(call.element, nullptr, call.pData);
}

ComponentResult IPlugAU::GetHostCallbacks(PropertyCall& call)
{
  if (!call.IsGlobal())
    return kAudioUnitErr_InvalidProperty;
  return call.Describe(sizeof(HostCallbackInfo), true);
}

// Hosts built against an older record pass fewer procedures: the missing
// ones stay null. Only whole fields are copied; half a pointer would be
// called later.
ComponentResult IPlugAU::SetHostCallbacks(AudioUnitScope scope, UInt32 size, const void* pData)
{
  if (scope != kAudioUnitScope_Global)
    return kAudioUnitErr_InvalidProperty;
  HostCallbackInfo info = {};
  size_t whole = size / sizeof(void*) * sizeof(void*);
  memcpy(&info, pData, whole < sizeof info ? whole : sizeof info);
  mHostCallbacks = info;
  return noErr;
}

ComponentResult IPlugAU::GetInstrumentCount(PropertyCall& call)
{
  if (!call.IsGlobal() || !IsInst())
    return kAudioUnitErr_InvalidProperty;
  return call.Answer(UInt32(1), false);
}

ComponentResult IPlugAU::GetClassInfo(PropertyCall& call)
{
  ComponentResult r = call.Describe(sizeof(CFPropertyListRef), true);
  if (r != noErr || !call.pData)
    return r;
  return GetState(call.Out<CFPropertyListRef>());
}

ComponentResult IPlugAU::SetClassInfo(const void* pData)
{
  return SetState(static_cast<CFPropertyListRef>(pData));
}

ComponentResult IPlugAU::GetProc(AudioUnitElement type, UInt32* pDataSize, void* pData)
{
  if (pDataSize)
    *pDataSize = sizeof(void*);
  void* proc = nullptr;
  switch (type)
  {
  case kAudioUnitGetParameterSelect: proc = reinterpret_cast<void*>(GetParamProc); break;
  case kAudioUnitSetParameterSelect: proc = reinterpret_cast<void*>(SetParamProc); break;
  case kAudioUnitRenderSelect: proc = reinterpret_cast<void*>(RenderProc); break;
  default: return kAudioUnitErr_InvalidElement;
  }
  if (pData)
    memcpy(pData, &proc, sizeof proc);
  return noErr;
}
