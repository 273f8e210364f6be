// Presets and the editor's view properties.

#include <cstdlib>

#include "platform/corefoundation/CFArray.h"
#include "platform/corefoundation/CFBundle.h"
#include "platform/macbase/Gestalt.h"
#include "wdl/IPlug/au/IPlugAU_CFText.h"
#include "wdl/IPlug/au/IPlugAU_PropertyCall.h"

// The records are malloc'ed: the caller releases each name, frees each
// record and releases the array.
ComponentResult IPlugAU::GetFactoryPresets(PropertyCall& call)
{
  ComponentResult r = call.Describe(sizeof(CFArrayRef), false);
  if (r != noErr || !call.pData)
    return r;
  int n = NPresets();
  CFMutableArrayRef presets = CFArrayCreateMutable(kCFAllocatorDefault, n, nullptr);
  if (!presets)
    return memFullErr;
  for (int i = 0; i < n; ++i)
  {
    auto* preset = static_cast<AUPreset*>(malloc(sizeof(AUPreset)));
    if (!preset)
      break;
    preset->presetNumber = i;
    preset->presetName = NewCFString(GetPresetName(i));
    CFArrayAppendValue(presets, preset);
    if (CFArrayGetCount(presets) != i + 1)
    {
      if (preset->presetName)
        CFRelease(preset->presetName);
      free(preset);
      break;
    }
  }
  *call.Out<CFArrayRef>() = presets;
  return noErr;
}

ComponentResult IPlugAU::GetCurrentPreset(PropertyCall& call)
{
  ComponentResult r = call.Describe(sizeof(AUPreset), true);
  if (r != noErr || !call.pData)
    return r;
  int idx = GetCurrentPresetIdx();
  *call.Out<AUPreset>() = AUPreset{SInt32(idx), NewCFString(GetPresetName(idx))};
  return noErr;
}

// By number; the name is not looked at. A negative number is how hosts mark a
// user preset after restoring one: accepted, nothing is restored.
ComponentResult IPlugAU::SetCurrentPreset(const AUPreset& preset)
{
  if (preset.presetNumber < 0)
    return noErr;
  if (preset.presetNumber >= NPresets())
    return kAudioUnitErr_InvalidPropertyValue;
  if (!RestorePreset(int(preset.presetNumber)))
    return kAudioUnitErr_InvalidPropertyValue;
  return noErr;
}

ComponentResult IPlugAU::GetUIComponentList(PropertyCall& call)
{
  if (!GetGUI())
    return kAudioUnitErr_InvalidProperty;
  ComponentResult r = call.Describe(sizeof(ComponentDescription), false);
  if (r != noErr || !call.pData)
    return r;
  *call.Out<ComponentDescription>() =
    ComponentDescription{kAudioUnitCarbonViewComponentType, OSType(GetUniqueID()), OSType(GetMfrID()), 0, 0};
  return noErr;
}

// Refused without an editor, as hosts expect of an effect without a view,
// and before 10.5, whose hosts take the Carbon view instead.
ComponentResult IPlugAU::GetCocoaUI(PropertyCall& call)
{
  SInt32 osVersion = 0;
  Gestalt(gestaltSystemVersion, &osVersion);
  if (!GetGUI() || osVersion < 0x1050)
    return kAudioUnitErr_InvalidProperty;
  ComponentResult r = call.Describe(sizeof(AudioUnitCocoaViewInfo), false);
  if (r != noErr || !call.pData)
    return r;
  CFStringRef bundleID = NewCFString(mBundleId.Get());
  if (!bundleID)
    return memFullErr;
  CFBundleRef bundle = CFBundleGetBundleWithIdentifier(bundleID);
  CFRelease(bundleID);
  if (!bundle)
    return kAudioUnitErr_InvalidProperty;
  auto* info = call.Out<AudioUnitCocoaViewInfo>();
  info->mCocoaAUViewBundleLocation = CFBundleCopyBundleURL(bundle);
  info->mCocoaAUViewClass[0] = NewCFString(mViewClassName.Get());
  return noErr;
}
