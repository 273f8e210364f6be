#include "tools/auhost/AUHostReport.h"

#include <cinttypes>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/corefoundation/CoreFoundation.h"
#include "tools/auhost/AUHostUnit.h"

namespace
{

const char* UnitName(AudioUnitParameterUnit unit)
{
  switch (unit)
  {
  case kAudioUnitParameterUnit_Generic: return "generic";
  case kAudioUnitParameterUnit_Indexed: return "indexed";
  case kAudioUnitParameterUnit_Boolean: return "boolean";
  case kAudioUnitParameterUnit_CustomUnit: return "custom";
  default: return "other";
  }
}

} // namespace

bool PrintIdentity(FILE* out, AudioUnit unit)
{
  ComponentDescription cd = {};
  CFStringRef name = nullptr;
  if (GetComponentInfo(reinterpret_cast<Component>(unit), &cd, nullptr, nullptr, nullptr) != noErr ||
      CopyComponentName(reinterpret_cast<Component>(unit), &name) != noErr)
    return false;
  char type[5], subtype[5], maker[5];
  MacFourCCToText(cd.componentType, type);
  MacFourCCToText(cd.componentSubType, subtype);
  MacFourCCToText(cd.componentManufacturer, maker);
  UInt32 version = UInt32(GetComponentVersion(unit));
  fprintf(out, "name: %s\ntype: '%s' subtype: '%s' manufacturer: '%s'\n", AUHostText(name).c_str(), type, subtype,
          maker);
  fprintf(out, "version: 0x%08" PRIX32 " (%u.%u.%u)\n", version, version >> 16, (version >> 8) & 0xFF, version & 0xFF);
  AUHostRelease(name); // a component may be registered without a name
  return true;
}

bool PrintParameters(FILE* out, AudioUnit unit)
{
  UInt32 size = 0;
  Boolean writable = 0;
  if (AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, &writable))
    return false;
  std::vector<AudioUnitParameterID> ids(size / sizeof(AudioUnitParameterID));
  if (!ids.empty() &&
      AudioUnitGetProperty(unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids.data(), &size))
    return false;
  fprintf(out, "parameters: %zu\n", ids.size());
  for (AudioUnitParameterID id : ids)
  {
    AudioUnitParameterInfo info = {};
    size = sizeof info;
    AudioUnitParameterValue value = 0;
    if (AudioUnitGetProperty(unit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, id, &info, &size) ||
        AudioUnitGetParameter(unit, id, kAudioUnitScope_Global, 0, &value))
      return false;
    fprintf(out, "  %2" PRIu32 " %-14s %s [%g, %g] = %g %s\n", id, AUHostText(info.cfNameString).c_str(),
            UnitName(info.unit), double(info.minValue), double(info.maxValue), double(value),
            AUHostText(info.unitName).c_str());
    AUHostRelease(info.cfNameString);
    AUHostRelease(info.unitName); // null without a custom unit
  }
  return true;
}

bool PrintPresets(FILE* out, AudioUnit unit)
{
  CFArrayRef presets = nullptr;
  UInt32 size = sizeof presets;
  if (AudioUnitGetProperty(unit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size))
    return false;
  CFIndex n = CFArrayGetCount(presets);
  fprintf(out, "presets: %ld\n", long(n));
  for (CFIndex i = 0; i < n; ++i)
  {
    auto* preset = static_cast<AUPreset*>(const_cast<void*>(CFArrayGetValueAtIndex(presets, i)));
    fprintf(out, "  %3d %s\n", int(preset->presetNumber), AUHostText(preset->presetName).c_str());
    AUHostRelease(preset->presetName);
    free(preset);
  }
  CFRelease(presets);
  return true;
}
