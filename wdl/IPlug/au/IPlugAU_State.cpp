// The class-info dictionary hosts save in their documents: the component's
// identity, the current preset's name and the parameter state bytes.

#include <cstring>

#include "platform/corefoundation/CFData.h"
#include "platform/corefoundation/CFDictionary.h"
#include "platform/corefoundation/CFNumber.h"
#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/au/IPlugAU_CFText.h"

namespace
{

constexpr const char* kVersionKey = "version";
constexpr const char* kTypeKey = "type";
constexpr const char* kSubtypeKey = "subtype";
constexpr const char* kManufacturerKey = "manufacturer";
constexpr const char* kNameKey = "name";
constexpr const char* kDataKey = "data";
// The name buffer hosts have always been given: 63 bytes and a terminator.
constexpr int kMaxPresetNameBytes = 63;

// A value that could not be made (no memory) is left out.
void SetValue(CFMutableDictionaryRef dict, const char* key, CFTypeRef value)
{
  if (!value)
    return;
  CFDictionarySetValue(dict, __CFStringMakeConstantString(key), value);
  CFRelease(value);
}

void SetNumber(CFMutableDictionaryRef dict, const char* key, SInt32 value)
{
  SetValue(dict, key, CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value));
}

// The value under key when it is of the given type; null otherwise.
CFTypeRef Typed(CFDictionaryRef dict, const char* key, CFTypeID type)
{
  CFTypeRef value = CFDictionaryGetValue(dict, __CFStringMakeConstantString(key));
  return value && CFGetTypeID(value) == type ? value : nullptr;
}

bool GetNumber(CFDictionaryRef dict, const char* key, SInt32* out)
{
  auto number = static_cast<CFNumberRef>(Typed(dict, key, CFNumberGetTypeID()));
  return number && CFNumberGetValue(number, kCFNumberSInt32Type, out);
}

} // namespace

ComponentResult IPlugAU::GetState(CFPropertyListRef* ppPropList)
{
  if (!ppPropList)
    return paramErr;
  ComponentDescription cd;
  ComponentResult r = GetComponentInfo(reinterpret_cast<Component>(mComponentInstance), &cd, nullptr, nullptr, nullptr);
  if (r != noErr)
    return r;
  CFMutableDictionaryRef dict =
    CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  if (!dict)
    return memFullErr;
  SetNumber(dict, kVersionKey, GetEffectVersion(false));
  SetNumber(dict, kTypeKey, SInt32(cd.componentType));
  SetNumber(dict, kSubtypeKey, SInt32(cd.componentSubType));
  SetNumber(dict, kManufacturerKey, SInt32(cd.componentManufacturer));
  SetValue(dict, kNameKey, NewCFString(GetPresetName(GetCurrentPresetIdx())));
  ByteChunk chunk;
  bool haveData = DoesStateChunks() ? SerializeState(&chunk) : SerializeParams(&chunk);
  if (haveData)
    SetValue(dict, kDataKey, CFDataCreate(kCFAllocatorDefault, chunk.GetData(), chunk.Size()));
  *ppPropList = dict;
  return noErr;
}

// Everything is checked before anything is applied, so a dictionary that is
// refused leaves the instance as it was. With state chunks the effect alone
// can tell whether its bytes are whole: a refusal then restores the
// parameters and the current preset saved on the way in.
ComponentResult IPlugAU::SetState(CFPropertyListRef pPropList)
{
  ComponentDescription cd;
  ComponentResult r = GetComponentInfo(reinterpret_cast<Component>(mComponentInstance), &cd, nullptr, nullptr, nullptr);
  if (r != noErr)
    return r;
  constexpr ComponentResult kRefused = kAudioUnitErr_InvalidPropertyValue;
  auto dict = static_cast<CFDictionaryRef>(pPropList);
  if (!dict || CFGetTypeID(dict) != CFDictionaryGetTypeID())
    return kRefused;
  SInt32 version, type, subtype, manufacturer;
  if (!GetNumber(dict, kVersionKey, &version) || !GetNumber(dict, kTypeKey, &type) ||
      !GetNumber(dict, kSubtypeKey, &subtype) || !GetNumber(dict, kManufacturerKey, &manufacturer))
    return kRefused;
  WDL_TypedBuf<char> name;
  if (!CFStringToText(static_cast<CFStringRef>(Typed(dict, kNameKey, CFStringGetTypeID())), &name))
    return kRefused;
  if (OSType(type) != cd.componentType || OSType(subtype) != cd.componentSubType ||
      OSType(manufacturer) != cd.componentManufacturer)
    return kRefused;
  auto data = static_cast<CFDataRef>(Typed(dict, kDataKey, CFDataGetTypeID()));
  if (!data)
    return kRefused;
  CFIndex length = CFDataGetLength(data);
  if (length > INT32_MAX)
    return kRefused;
  ByteChunk chunk;
  if (length && chunk.PutBytes(CFDataGetBytePtr(data), int(length)) != int(length))
    return memFullErr;

  ByteChunk saved;
  int savedPreset = GetCurrentPresetIdx();
  if (DoesStateChunks() && !SerializeParams(&saved))
    return memFullErr;
  // A longer name than hosts ever stored matches no preset.
  if (strlen(name.Get()) <= size_t(kMaxPresetNameBytes))
    RestorePreset(name.Get());
  int pos = DoesStateChunks() ? UnserializeState(&chunk, 0) : UnserializeParams(&chunk, 0);
  if (pos <= 0 && DoesStateChunks())
  {
    UnserializeParams(&saved, 0);
    SetCurrentPresetIdx(savedPreset);
    return kRefused;
  }
  // Without chunks, bytes for fewer parameters (a session saved by a build
  // with fewer) restore what they hold.
  if (pos == 0)
    return kRefused;
  RedrawParamControls();
  return noErr;
}
