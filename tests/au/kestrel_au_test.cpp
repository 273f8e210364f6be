// The KestrelAU bundle, loaded and opened by the project's host exactly as a
// Mac host would: identity, its twelve parameters, presets and state.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/components/ComponentParams.h"
#include "platform/corefoundation/CoreFoundation.h"
#include "tools/auhost/AUHostComponent.h"
#include "tools/auhost/AUHostUnit.h"
#include "tools/auhost/AUHostView.h"

namespace
{

class KestrelAUTest : public testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    sComponent = new AUHostComponent;
    ASSERT_TRUE(sComponent->Load(KESTREL_AU_BUNDLE)) << sComponent->Error();
  }
  static void TearDownTestSuite() { delete sComponent; }
  static AUHostComponent* sComponent;
};
AUHostComponent* KestrelAUTest::sComponent = nullptr;

TEST_F(KestrelAUTest, IdentityComesFromTheBundle)
{
  const ComponentDescription& cd = sComponent->GetDescription();
  EXPECT_EQ(cd.componentType, MacFourCC("aufx"));
  EXPECT_EQ(cd.componentSubType, 0x34713335u);
  EXPECT_EQ(cd.componentManufacturer, MacFourCC("Bkmr"));
  AudioUnit unit = OpenComponent(sComponent->GetComponent());
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(GetComponentVersion(unit), 0x20000);
  EXPECT_EQ(ComponentFunctionImplemented(unit, kAudioUnitRenderSelect), 1);
  EXPECT_EQ(ComponentFunctionImplemented(unit, kAudioUnitRemovePropertyListenerWithUserDataSelect), 0);
  EXPECT_EQ(CloseComponent(unit), noErr);
}

// The bundle's second component shows the editor in a Carbon window; it
// creates only for a unit whose view list names it.
TEST_F(KestrelAUTest, TheViewComponentSitsBesideTheUnit)
{
  ASSERT_NE(sComponent->GetViewComponent(), nullptr);
  ComponentDescription look = {MacFourCC("auvw"), 0x34713335u, MacFourCC("Bkmr"), 0, 0};
  EXPECT_EQ(FindNextComponent(nullptr, &look), sComponent->GetViewComponent());
  AudioUnit unit = OpenComponent(sComponent->GetComponent());
  ComponentInstance view = OpenComponent(sComponent->GetViewComponent());
  ASSERT_NE(view, nullptr);
  ComponentDescription listed = {};
  UInt32 size = sizeof listed;
  bool hasEditor = AudioUnitGetProperty(unit, kAudioUnitProperty_GetUIComponentList, kAudioUnitScope_Global, 0, &listed,
                                        &size) == noErr;
  EXPECT_EQ(ComponentFunctionImplemented(view, 0x301), badComponentSelector);
  if (!hasEditor)
  {
    void* control = nullptr;
    ComponentParameters p = PackComponentParameters(SInt16(0x301), unit, static_cast<void*>(nullptr),
                                                    static_cast<void*>(nullptr), static_cast<const void*>(nullptr),
                                                    static_cast<const void*>(nullptr), static_cast<void*>(&control));
    EXPECT_EQ(CallComponent(view, &p), badComponentSelector);
  }
  EXPECT_EQ(CloseComponent(view), noErr);
  EXPECT_EQ(CloseComponent(unit), noErr);
}

// A host opening the editor either way sees the same picture.
TEST_F(KestrelAUTest, CocoaAndCarbonViewsShowTheSameEditor)
{
  AudioUnit unit = OpenComponent(sComponent->GetComponent());
  ASSERT_NE(unit, nullptr);
  // Named per process: two test runs on one machine must not write each other's files.
  std::string error, stem = testing::TempDir() + "kestrel-" + std::to_string(getpid());
  const std::string cocoa = stem + "-cocoa.png", carbon = stem + "-carbon.png";
  ASSERT_TRUE(AUHostSnapshotView(unit, "cocoa", cocoa, &error)) << error;
  ASSERT_TRUE(AUHostSnapshotView(unit, "carbon", carbon, &error)) << error;
  EXPECT_EQ(CloseComponent(unit), noErr);
  std::string cmd = std::string(PNGCOMPARE) + " " + cocoa + " " + carbon + " >/dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0);
  std::remove(cocoa.c_str());
  std::remove(carbon.c_str());
}

TEST_F(KestrelAUTest, OpenLeavesTheDefaultAndNinetyFourFactoryPresets)
{
  AudioUnit unit = OpenComponent(sComponent->GetComponent());
  ASSERT_NE(unit, nullptr);
  CFArrayRef presets = nullptr;
  UInt32 size = sizeof presets;
  ASSERT_EQ(AudioUnitGetProperty(unit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size),
            noErr);
  ASSERT_EQ(CFArrayGetCount(presets), 95);
  char first[64];
  auto* p0 = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, 0));
  ASSERT_TRUE(CFStringGetCString(p0->presetName, first, sizeof first, kCFStringEncodingUTF8));
  EXPECT_STREQ(first, "Default");
  for (CFIndex i = 0; i < 95; ++i)
  {
    auto* p = static_cast<AUPreset*>(const_cast<void*>(CFArrayGetValueAtIndex(presets, i)));
    CFRelease(p->presetName);
    free(p);
  }
  CFRelease(presets);

  size = 0;
  ASSERT_EQ(AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, nullptr),
            noErr);
  EXPECT_EQ(size, 12 * sizeof(AudioUnitParameterID));
  EXPECT_EQ(CloseComponent(unit), noErr);
}

TEST_F(KestrelAUTest, ManyInstancesOpenAndClose)
{
  std::vector<AudioUnit> units;
  for (int i = 0; i < 32; ++i)
  {
    units.push_back(OpenComponent(sComponent->GetComponent()));
    ASSERT_NE(units.back(), nullptr);
  }
  for (AudioUnit u : units)
  {
    AudioUnitParameterValue v = -1;
    EXPECT_EQ(AudioUnitGetParameter(u, 1, kAudioUnitScope_Global, 0, &v), noErr);
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(CloseComponent(u), noErr);
  }
}

// One open instance per test.
class KestrelAUUnit : public KestrelAUTest
{
protected:
  void SetUp() override
  {
    mUnit = OpenComponent(sComponent->GetComponent());
    ASSERT_NE(mUnit, nullptr);
  }
  void TearDown() override { EXPECT_EQ(CloseComponent(mUnit), noErr); }

  AudioUnit mUnit = nullptr;
};

struct Expected
{
  const char* name;
  float min, max;
  AudioUnitParameterUnit unit;
  const char* label;
  std::vector<const char*> texts;
};

// From the product description: names, ranges and the enumerations' texts.
const Expected kParams[] = {
  {"Threshold", -60, 0, kAudioUnitParameterUnit_CustomUnit, "dB", {}},
  {"Ratio", 0, 4, kAudioUnitParameterUnit_Indexed, "", {"4:1", "8:1", "12:1", "20:1", "All In"}},
  {"Compensation", -20, 20, kAudioUnitParameterUnit_CustomUnit, "dB", {}},
  {"Attack", 5, 2000, kAudioUnitParameterUnit_CustomUnit, "uS", {}},
  {"Release", 1, 1000, kAudioUnitParameterUnit_CustomUnit, "mS", {}},
  {"Parallel", 0, 100, kAudioUnitParameterUnit_CustomUnit, "%", {}},
  {"Decadence", 0, 1, kAudioUnitParameterUnit_Indexed, "", {}},
  {"Detector HPF", 10, 200, kAudioUnitParameterUnit_CustomUnit, "Hz", {}},
  {"Sidechain", 0, 1, kAudioUnitParameterUnit_Indexed, "", {}},
  {"Impetus", 0, 100, kAudioUnitParameterUnit_CustomUnit, "%", {}},
  {"Auto Makeup", 0, 1, kAudioUnitParameterUnit_Indexed, "", {}},
  {"Meter", 0, 1, kAudioUnitParameterUnit_Indexed, "", {"Output", "Gain Red."}},
};

TEST_F(KestrelAUUnit, EveryParameterIsDescribedAsTheProductSays)
{
  for (AudioUnitParameterID id = 0; id < 12; ++id)
  {
    const Expected& e = kParams[id];
    AudioUnitParameterInfo info = {};
    UInt32 size = sizeof info;
    ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, id, &info, &size),
              noErr);
    EXPECT_STREQ(info.name, e.name);
    EXPECT_EQ(AUHostText(info.cfNameString), e.name);
    EXPECT_EQ(info.minValue, e.min) << e.name;
    EXPECT_EQ(info.maxValue, e.max) << e.name;
    EXPECT_EQ(info.unit, e.unit) << e.name;
    if (e.unit == kAudioUnitParameterUnit_CustomUnit)
    {
      EXPECT_EQ(AUHostText(info.unitName), e.label) << e.name;
    }
    EXPECT_GE(info.defaultValue, info.minValue);
    EXPECT_LE(info.defaultValue, info.maxValue);
    EXPECT_EQ(info.flags, 0xC8000010u);
    CFRelease(info.cfNameString);
    AUHostRelease(info.unitName); // null without a custom unit

    // Display texts (the enumerations' and on/off texts) round-trip through
    // both lookups.
    CFArrayRef texts = nullptr;
    size = sizeof texts;
    OSStatus err =
      AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterValueStrings, kAudioUnitScope_Global, id, &texts, &size);
    if (err != noErr)
    {
      EXPECT_TRUE(e.texts.empty()) << e.name;
      continue;
    }
    if (!e.texts.empty())
    {
      EXPECT_EQ(CFArrayGetCount(texts), CFIndex(e.texts.size())) << e.name;
    }
    for (CFIndex v = 0; v < CFArrayGetCount(texts); ++v)
    {
      auto s = static_cast<CFStringRef>(CFArrayGetValueAtIndex(texts, v));
      if (size_t(v) < e.texts.size())
      {
        EXPECT_EQ(AUHostText(s), e.texts[size_t(v)]);
      }
      AudioUnitParameterValueFromString toValue = {id, s, -1.0f};
      size = sizeof toValue;
      ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterValueFromString, kAudioUnitScope_Global, 0,
                                     &toValue, &size),
                noErr);
      EXPECT_EQ(toValue.outValue, float(v));
      AudioUnitParameterStringFromValue toText = {id, &toValue.outValue, nullptr};
      size = sizeof toText;
      ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0,
                                     &toText, &size),
                noErr);
      EXPECT_EQ(AUHostText(toText.outString), AUHostText(s));
      CFRelease(toText.outString);
      CFRelease(s);
    }
    CFRelease(texts);
  }
}

TEST_F(KestrelAUUnit, SupportedChannelsAreTheSixConfigurations)
{
  AUChannelInfo configs[6] = {};
  UInt32 size = sizeof configs;
  ASSERT_EQ(
    AudioUnitGetProperty(mUnit, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, configs, &size),
    noErr);
  ASSERT_EQ(size, 24u);
  const SInt16 expected[6][2] = {{1, 1}, {2, 1}, {3, 1}, {2, 2}, {3, 2}, {4, 2}};
  for (int i = 0; i < 6; ++i)
  {
    EXPECT_EQ(configs[i].inChannels, expected[i][0]);
    EXPECT_EQ(configs[i].outChannels, expected[i][1]);
  }
}

TEST_F(KestrelAUUnit, PresetsAreSelectedByNameAndTheStateRoundTrips)
{
  std::string error;
  ASSERT_TRUE(AUHostSelectPreset(mUnit, "Drums Kick Control", &error)) << error;
  ASSERT_TRUE(AUHostSetParameter(mUnit, "Attack", 1234.0f, &error)) << error;
  ASSERT_TRUE(AUHostSetParameter(mUnit, "Ratio", 9.0f, &error)) << error; // clamped to All In
  EXPECT_FALSE(AUHostSetParameter(mUnit, "Volume", 1.0f, &error));
  EXPECT_FALSE(AUHostSelectPreset(mUnit, "No Such Preset", &error));
  AudioUnitParameterValue ratio = 0;
  ASSERT_EQ(AudioUnitGetParameter(mUnit, 1, kAudioUnitScope_Global, 0, &ratio), noErr);
  EXPECT_EQ(ratio, 4.0f);

  CFPropertyListRef state = AUHostSaveState(mUnit, &error);
  ASSERT_NE(state, nullptr) << error;
  auto dict = static_cast<CFDictionaryRef>(state);
  EXPECT_EQ(AUHostText(static_cast<CFStringRef>(CFDictionaryGetValue(dict, CFSTR("name")))), "Drums Kick Control");
  AudioUnit fresh = OpenComponent(sComponent->GetComponent());
  ASSERT_NE(fresh, nullptr);
  ASSERT_TRUE(AUHostRestoreState(fresh, state, &error)) << error;
  for (AudioUnitParameterID id = 0; id < 12; ++id)
  {
    AudioUnitParameterValue a = -1, b = -2;
    AudioUnitGetParameter(mUnit, id, kAudioUnitScope_Global, 0, &a);
    AudioUnitGetParameter(fresh, id, kAudioUnitScope_Global, 0, &b);
    EXPECT_EQ(a, b) << kParams[id].name;
  }
  CFPropertyListRef again = AUHostSaveState(fresh, &error);
  auto bytes = [](CFPropertyListRef s) {
    return static_cast<CFDataRef>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(s), CFSTR("data")));
  };
  ASSERT_EQ(CFDataGetLength(bytes(again)), 96);
  EXPECT_EQ(memcmp(CFDataGetBytePtr(bytes(again)), CFDataGetBytePtr(bytes(state)), 96), 0);
  CFRelease(again);
  CFRelease(state);
  EXPECT_EQ(CloseComponent(fresh), noErr);
}

} // namespace
