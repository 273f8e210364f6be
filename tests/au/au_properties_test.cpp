// The properties a host lists parameters and presets with.

#include <cstdlib>
#include <cstring>

#include "platform/corefoundation/CoreFoundation.h"
#include "tests/au/AUTestEffect.h"
#include "tests/au/AUTestHelpers.h"

namespace
{

using PropertyTest = AUTestFixture;

TEST_F(PropertyTest, ParameterListHoldsEveryIdInGlobalScopeOnly)
{
  UInt32 size = 0;
  Boolean writable = 1;
  ASSERT_EQ(
    AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, &writable),
    noErr);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(writable, 0);
  AudioUnitParameterID ids[3] = {9, 9, 9};
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids, &size),
            noErr);
  EXPECT_EQ(ids[0], 0u);
  EXPECT_EQ(ids[2], 2u);
  ASSERT_EQ(AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Input, 0, &size, nullptr),
            noErr);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(
    AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, nullptr, nullptr),
    noErr);
}

TEST_F(PropertyTest, ParameterInfoDescribesEachKindAndHandsOutNewStrings)
{
  AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, -3.0f, 0);
  AudioUnitParameterInfo info;
  UInt32 size = sizeof info;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 0, &info, &size),
            noErr);
  EXPECT_STREQ(info.name, "Gain");
  EXPECT_EQ(Text(info.cfNameString), "Gain");
  EXPECT_EQ(CFGetRetainCount(info.cfNameString), 1); // ours to release
  EXPECT_EQ(info.unit, kAudioUnitParameterUnit_CustomUnit);
  EXPECT_EQ(Text(info.unitName), "dB");
  EXPECT_EQ(info.minValue, -12.0f);
  EXPECT_EQ(info.maxValue, 12.0f);
  EXPECT_EQ(info.defaultValue, -3.0f); // the current value
  EXPECT_EQ(info.flags, 0xC8000010u);
  CFRelease(info.cfNameString);
  CFRelease(info.unitName);

  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 1, &info, &size),
            noErr);
  EXPECT_EQ(info.unit, kAudioUnitParameterUnit_Indexed);
  EXPECT_EQ(info.unitName, nullptr);
  CFRelease(info.cfNameString);
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 2, &info, &size),
            noErr);
  EXPECT_EQ(info.unit, kAudioUnitParameterUnit_Boolean);
  CFRelease(info.cfNameString);

  size = 0;
  EXPECT_EQ(
    AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, 3, &size, nullptr),
    kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(size, sizeof(AudioUnitParameterInfo));
  EXPECT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Input, 0, &info, &size),
            kAudioUnitErr_InvalidProperty);
}

TEST_F(PropertyTest, FactoryPresetsAreTheFilledSlotsInOrder)
{
  CFArrayRef presets = nullptr;
  UInt32 size = sizeof presets;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size),
            noErr);
  ASSERT_EQ(CFArrayGetCount(presets), 2);
  const char* names[] = {"Default", "Loud"};
  for (CFIndex i = 0; i < 2; ++i)
  {
    auto* p = static_cast<AUPreset*>(const_cast<void*>(CFArrayGetValueAtIndex(presets, i)));
    EXPECT_EQ(p->presetNumber, i);
    EXPECT_EQ(Text(p->presetName), names[i]);
    CFRelease(p->presetName);
    free(p);
  }
  CFRelease(presets);
}

} // namespace
