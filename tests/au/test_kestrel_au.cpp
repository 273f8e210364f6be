// The KestrelAU bundle, loaded and opened by the project's host exactly as a
// Mac host would.

#include <gtest/gtest.h>

#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/corefoundation/CoreFoundation.h"
#include "tools/auhost/AUHostComponent.h"

namespace {

class KestrelAUTest : public testing::Test {
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
  for (CFIndex i = 0; i < 95; ++i) {
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
  for (int i = 0; i < 32; ++i) {
    units.push_back(OpenComponent(sComponent->GetComponent()));
    ASSERT_NE(units.back(), nullptr);
  }
  for (AudioUnit u : units) {
    AudioUnitParameterValue v = -1;
    EXPECT_EQ(AudioUnitGetParameter(u, 1, kAudioUnitScope_Global, 0, &v), noErr);
    EXPECT_EQ(v, 0.0f);
    EXPECT_EQ(CloseComponent(u), noErr);
  }
}

}  // namespace
