// Properties. Parameter and preset listing is served now; the remaining
// properties answer kAudioUnitErr_InvalidProperty until they are built.

#include <cstdlib>
#include <cstring>

#include "platform/corefoundation/CFArray.h"
#include "wdl/IPlug/au/IPlugAU.h"

namespace {

constexpr AudioUnitParameterOptions kParamInfoFlags =
    kAudioUnitParameterFlag_IsWritable | kAudioUnitParameterFlag_IsReadable |
    kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
static_assert(kParamInfoFlags == 0xC8000010u);

CFStringRef NewCFString(const char* text)
{
  return CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8);
}

}  // namespace

ComponentResult IPlugAU::GetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement element,
                                     UInt32* pDataSize, Boolean* /*pWriteable*/, void* pData)
{
  switch (propID) {
    case kAudioUnitProperty_ParameterList: return GetParameterList(scope, pDataSize, pData);
    case kAudioUnitProperty_ParameterInfo: return GetParameterInfo(scope, element, pDataSize, pData);
    case kAudioUnitProperty_FactoryPresets: return GetFactoryPresets(pDataSize, pData);
    default: return kAudioUnitErr_InvalidProperty;
  }
}

ComponentResult IPlugAU::SetProperty(AudioUnitPropertyID propID, AudioUnitScope scope, AudioUnitElement,
                                     UInt32*, const void*)
{
  // Listeners hear of every set, even one that then fails.
  InformListeners(propID, scope);
  return kAudioUnitErr_InvalidProperty;
}

ComponentResult IPlugAU::GetParameterList(AudioUnitScope scope, UInt32* pDataSize, void* pData)
{
  int n = scope == kAudioUnitScope_Global ? NParams() : 0;
  *pDataSize = UInt32(n) * sizeof(AudioUnitParameterID);
  if (pData) {
    auto* ids = static_cast<AudioUnitParameterID*>(pData);
    for (int i = 0; i < n; ++i) ids[i] = AudioUnitParameterID(i);
  }
  return noErr;
}

ComponentResult IPlugAU::GetParameterInfo(AudioUnitScope scope, AudioUnitElement element, UInt32* pDataSize,
                                          void* pData)
{
  *pDataSize = sizeof(AudioUnitParameterInfo);
  if (scope != kAudioUnitScope_Global || element >= UInt32(NParams())) return kAudioUnitErr_InvalidProperty;
  if (!pData) return noErr;
  const IParam* param = GetParam(int(element));
  AudioUnitParameterInfo* info = static_cast<AudioUnitParameterInfo*>(pData);
  *info = AudioUnitParameterInfo{};
  const char* name = param->GetNameForHost();
  size_t len = strnlen(name, sizeof info->name - 1);
  memcpy(info->name, name, len);
  info->cfNameString = NewCFString(param->GetNameForHost());
  const char* label = param->GetLabelForHost();
  switch (param->Type()) {
    case IParam::kKindBool: info->unit = kAudioUnitParameterUnit_Boolean; break;
    case IParam::kKindEnum: info->unit = kAudioUnitParameterUnit_Indexed; break;
    default: info->unit = label[0] ? kAudioUnitParameterUnit_CustomUnit : kAudioUnitParameterUnit_Generic; break;
  }
  if (info->unit == kAudioUnitParameterUnit_CustomUnit) info->unitName = NewCFString(label);
  double lo, hi;
  param->GetBounds(&lo, &hi);
  info->minValue = AudioUnitParameterValue(lo);
  info->maxValue = AudioUnitParameterValue(hi);
  info->defaultValue = AudioUnitParameterValue(param->Value());
  info->flags = kParamInfoFlags;
  return noErr;
}

// The records are malloc'ed: the caller releases each name, frees each
// record and releases the array.
ComponentResult IPlugAU::GetFactoryPresets(UInt32* pDataSize, void* pData)
{
  *pDataSize = sizeof(CFArrayRef);
  if (!pData) return noErr;
  int n = NPresets();
  CFMutableArrayRef presets = CFArrayCreateMutable(kCFAllocatorDefault, n, nullptr);
  if (!presets) return memFullErr;
  for (int i = 0; i < n; ++i) {
    auto* preset = static_cast<AUPreset*>(malloc(sizeof(AUPreset)));
    if (!preset) break;
    preset->presetNumber = i;
    preset->presetName = NewCFString(GetPresetName(i));
    CFArrayAppendValue(presets, preset);
    if (CFArrayGetCount(presets) != i + 1) {
      CFRelease(preset->presetName);
      free(preset);
      break;
    }
  }
  *static_cast<CFArrayRef*>(pData) = presets;
  return noErr;
}

ComponentResult IPlugAU::GetProc(AudioUnitElement type, UInt32* pDataSize, void* pData)
{
  if (pDataSize) *pDataSize = sizeof(void*);
  void* proc = nullptr;
  switch (type) {
    case kAudioUnitGetParameterSelect: proc = reinterpret_cast<void*>(GetParamProc); break;
    case kAudioUnitSetParameterSelect: proc = reinterpret_cast<void*>(SetParamProc); break;
    case kAudioUnitRenderSelect: proc = reinterpret_cast<void*>(RenderProc); break;
    default: return kAudioUnitErr_InvalidElement;
  }
  if (pData) memcpy(pData, &proc, sizeof proc);
  return noErr;
}

bool IPlugAU::CheckLegalIO(AudioUnitScope scope, int busIdx, int nChannels)
{
  if (scope == kAudioUnitScope_Input) {
    int nIn = NHostChannelsConnected(&mInputBuses, busIdx);
    int nOut = mActive ? NHostChannelsConnected(&mOutputBuses) : -1;
    return LegalIO((nIn > 0 ? nIn : 0) + nChannels, nOut);
  }
  int nIn = mActive ? NHostChannelsConnected(&mInputBuses) : -1;
  int nOut = NHostChannelsConnected(&mOutputBuses, busIdx);
  return LegalIO(nIn, (nOut > 0 ? nOut : 0) + nChannels);
}

bool IPlugAU::CheckLegalIO()
{
  int nIn = NHostChannelsConnected(&mInputBuses);
  int nOut = NHostChannelsConnected(&mOutputBuses);
  return (nIn == 0 && nOut == 0) || LegalIO(nIn, nOut);
}
