// Properties that describe parameters: the list, each description, the
// display texts, and the three lookups that carry their parameter id in the
// record. An id that names no parameter is kAudioUnitErr_InvalidProperty.

#include <cmath>
#include <cstring>

#include "platform/corefoundation/CFArray.h"
#include "wdl/IPlug/IPlugUtilities.h"
#include "wdl/IPlug/au/IPlugAU_CFText.h"
#include "wdl/IPlug/au/IPlugAU_PropertyCall.h"

namespace
{

constexpr AudioUnitParameterOptions kParamInfoFlags =
  kAudioUnitParameterFlag_IsWritable | kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_HasCFNameString |
  kAudioUnitParameterFlag_CFNameRelease;
static_assert(kParamInfoFlags == 0xC8000010u);

// Names handed to hosts are at most this many bytes (the 32-byte buffer of
// the id-name lookup, less its terminator).
constexpr int kMaxHostNameBytes = 31;

// The three lookups carry their parameter id in the record: global scope
// only, and the id must name a parameter. *ppParam is null when the info
// call (no record) is all that is wanted.
template <class Record>
ComponentResult BeginLookup(const IPlugBase* plug, IPlugAU::PropertyCall& call, AudioUnitParameterID Record::*id,
                            Record** ppRecord, const IParam** ppParam)
{
  *ppParam = nullptr;
  ComponentResult r = call.Describe(sizeof(Record), false);
  if (r != noErr || !call.pData)
    return r;
  if (!call.IsGlobal())
    return kAudioUnitErr_InvalidProperty;
  *ppRecord = call.Out<Record>();
  AudioUnitParameterID paramID = (*ppRecord)->*id;
  *ppParam = paramID <= UInt32(INT32_MAX) ? plug->GetParam(int(paramID)) : nullptr;
  if (!*ppParam)
    return kAudioUnitErr_InvalidProperty;
  return noErr;
}

} // namespace

ComponentResult IPlugAU::GetParameterList(PropertyCall& call)
{
  int n = call.IsGlobal() ? NParams() : 0;
  ComponentResult r = call.Describe(size_t(n) * sizeof(AudioUnitParameterID), false);
  if (r != noErr || !call.pData)
    return r;
  auto* ids = call.Out<AudioUnitParameterID>();
  for (int i = 0; i < n; ++i)
    ids[i] = AudioUnitParameterID(i);
  return noErr;
}

ComponentResult IPlugAU::GetParameterInfo(PropertyCall& call)
{
  // The size is reported even for an element that names no parameter.
  if (!call.pData)
    *call.pDataSize = sizeof(AudioUnitParameterInfo);
  if (!call.IsGlobal() || call.element >= UInt32(NParams()))
    return kAudioUnitErr_InvalidProperty;
  ComponentResult r = call.Describe(sizeof(AudioUnitParameterInfo), false);
  if (r != noErr || !call.pData)
    return r;
  const IParam* param = GetParam(int(call.element));
  auto* info = call.Out<AudioUnitParameterInfo>();
  *info = AudioUnitParameterInfo{};
  const char* name = param->GetNameForHost();
  memcpy(info->name, name, size_t(UTF8FitLength(name, int(sizeof info->name) - 1)));
  info->cfNameString = NewCFString(name);
  const char* label = param->GetLabelForHost();
  switch (param->Type())
  {
  case IParam::kKindBool: info->unit = kAudioUnitParameterUnit_Boolean; break;
  case IParam::kKindEnum: info->unit = kAudioUnitParameterUnit_Indexed; break;
  default: info->unit = label[0] ? kAudioUnitParameterUnit_CustomUnit : kAudioUnitParameterUnit_Generic; break;
  }
  if (info->unit == kAudioUnitParameterUnit_CustomUnit)
    info->unitName = NewCFString(label);
  double lo, hi;
  param->GetBounds(&lo, &hi);
  info->minValue = AudioUnitParameterValue(lo);
  info->maxValue = AudioUnitParameterValue(hi);
  info->defaultValue = AudioUnitParameterValue(param->Value());
  info->flags = kParamInfoFlags;
  return noErr;
}

ComponentResult IPlugAU::GetParameterValueStrings(PropertyCall& call)
{
  if (!call.IsGlobal() || call.element >= UInt32(NParams()))
    return kAudioUnitErr_InvalidProperty;
  const IParam* param = GetParam(int(call.element));
  int n = param->GetNDisplayTexts();
  if (!n)
  {
    *call.pDataSize = 0;
    return kAudioUnitErr_InvalidProperty;
  }
  ComponentResult r = call.Describe(sizeof(CFArrayRef), false);
  if (r != noErr || !call.pData)
    return r;
  CFMutableArrayRef texts = CFArrayCreateMutable(kCFAllocatorDefault, n, nullptr);
  if (!texts)
    return memFullErr;
  for (int i = 0; i < n; ++i)
    CFArrayAppendValue(texts, NewCFString(param->GetDisplayTextAtIdx(i)));
  *call.Out<CFArrayRef>() = texts;
  return noErr;
}

ComponentResult IPlugAU::GetParameterStringFromValue(PropertyCall& call)
{
  AudioUnitParameterStringFromValue* req = nullptr;
  const IParam* param;
  ComponentResult r = BeginLookup(this, call, &AudioUnitParameterStringFromValue::inParamID, &req, &param);
  if (r != noErr || !param)
    return r;
  double value = req->inValue ? double(*req->inValue) : param->Value();
  // A value without an integer part (NaN, beyond the int range) has no text.
  req->outString = NewCFString(FitsInt(value) ? param->GetDisplayText(TruncToInt(value)) : "");
  return noErr;
}

ComponentResult IPlugAU::GetParameterIDName(PropertyCall& call)
{
  AudioUnitParameterIDName* req = nullptr;
  const IParam* param;
  ComponentResult r = BeginLookup(this, call, &AudioUnitParameterIDName::inID, &req, &param);
  if (r != noErr || !param)
    return r;
  // A negative length other than -1 is no length either: the whole name.
  int maxBytes = kMaxHostNameBytes;
  if (req->inDesiredLength >= 0 && req->inDesiredLength < maxBytes)
    maxBytes = req->inDesiredLength;
  req->outName = NewCFStringCut(param->GetNameForHost(), maxBytes);
  return noErr;
}

ComponentResult IPlugAU::GetParameterValueFromString(PropertyCall& call)
{
  AudioUnitParameterValueFromString* req = nullptr;
  const IParam* param;
  ComponentResult r = BeginLookup(this, call, &AudioUnitParameterValueFromString::inParamID, &req, &param);
  if (r != noErr || !param)
    return r;
  WDL_TypedBuf<char> text;
  int value = 0;
  if (CFStringToText(req->inString, &text) && param->MapDisplayText(text.Get(), &value))
    req->outValue = AudioUnitParameterValue(value);
  return noErr;
}
