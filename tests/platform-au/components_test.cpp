// Component Manager stand-in: parameter packing, registration, lookup,
// open and close through the entry, instance storage, stale handles.

#include <gtest/gtest.h>

#include <vector>

#include "platform/components/ComponentParams.h"
#include "platform/components/Components.h"

namespace
{

TEST(ComponentParams, LastArgumentGoesFirstAndFloatsKeepTheirBits)
{
  int target = 0;
  ComponentParameters p = PackComponentParameters(SInt16(7), UInt32(0xDEADBEEF), 1.5f, &target, SInt16(-3));
  EXPECT_EQ(p.what, 7);
  EXPECT_EQ(p.paramSize, 4 * sizeof(ComponentParamSlot));
  EXPECT_EQ(p.params[0], -3); // last argument
  EXPECT_EQ(p.params[1], reinterpret_cast<ComponentParamSlot>(&target));
  EXPECT_EQ(p.params[2], 0x3FC00000);                     // 1.5f, upper half zero
  EXPECT_EQ(p.params[3], ComponentParamSlot(0xDEADBEEF)); // first argument
}

// A block laid out by hand, as another caller's packing would leave it.
TEST(ComponentParams, UnpackReadsAHandMadeBlockInPublicOrder)
{
  int target = 0;
  ComponentParameters p = {};
  p.what = 7;
  p.paramSize = UInt8(4 * sizeof(ComponentParamSlot));
  p.params[0] = ComponentParamSlot(-3);
  p.params[1] = reinterpret_cast<ComponentParamSlot>(&target);
  p.params[2] = ComponentParamSlot(0x3FC00000); // the bits of 1.5f
  p.params[3] = ComponentParamSlot(0xDEADBEEF);
  UInt32 a = 0;
  float f = 0;
  int* ptr = nullptr;
  SInt16 s = 0;
  ASSERT_TRUE(UnpackComponentParameters(&p, &a, &f, &ptr, &s));
  EXPECT_EQ(a, 0xDEADBEEFu);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(ptr, &target);
  EXPECT_EQ(s, -3);
}

TEST(ComponentParams, ABlockWithTooFewArgumentsIsRefusedUntouched)
{
  ComponentParameters p = PackComponentParameters(SInt16(1), UInt32(5));
  UInt32 a = 99, b = 99;
  EXPECT_FALSE(UnpackComponentParameters(&p, &a, &b));
  EXPECT_EQ(a, 99u);
  EXPECT_EQ(b, 99u);
  EXPECT_FALSE(UnpackComponentParameters(static_cast<ComponentParameters*>(nullptr), &a));
  EXPECT_TRUE(UnpackComponentParameters(&p));
}

// A component that records what reaches its entry.
struct Calls
{
  std::vector<SInt16> selectors;
  std::vector<void*> storages;
  ComponentResult openResult = noErr;
  int storageToken = 0;
};
Calls gCalls;

ComponentResult RecordingEntry(ComponentParameters* params, void* storage)
{
  gCalls.selectors.push_back(params->what);
  gCalls.storages.push_back(storage);
  if (params->what == kComponentOpenSelect)
  {
    ComponentInstance self = nullptr;
    if (!UnpackComponentParameters(params, &self))
      return paramErr;
    SetComponentInstanceStorage(self, reinterpret_cast<Handle>(&gCalls.storageToken));
    return gCalls.openResult;
  }
  return params->what == kComponentVersionSelect ? 0x00010203 : noErr;
}

class ComponentManagerTest : public testing::Test
{
protected:
  void SetUp() override
  {
    gCalls = Calls();
    ComponentDescription cd = {MacFourCC("test"), MacFourCC("sub1"), MacFourCC("Mfr1"), 0x5, 0};
    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, "Maker: Test", kCFStringEncodingUTF8);
    comp = RegisterComponent(&cd, RecordingEntry, 0, name);
    CFRelease(name);
    ASSERT_NE(comp, nullptr);
  }
  void TearDown() override { EXPECT_EQ(UnregisterComponent(comp), noErr); }
  Component comp = nullptr;
};

TEST_F(ComponentManagerTest, FindsByDescriptionWithWildcardsAndFlagMask)
{
  ComponentDescription any = {};
  EXPECT_EQ(FindNextComponent(nullptr, &any), comp);
  ComponentDescription bySub = {0, MacFourCC("sub1"), 0, 0, 0};
  EXPECT_EQ(FindNextComponent(nullptr, &bySub), comp);
  ComponentDescription wrongSub = {0, MacFourCC("sub2"), 0, 0, 0};
  EXPECT_EQ(FindNextComponent(nullptr, &wrongSub), nullptr);
  ComponentDescription flagsMatch = {0, 0, 0, 0x4, 0x4};
  EXPECT_EQ(FindNextComponent(nullptr, &flagsMatch), comp);
  ComponentDescription flagsDiffer = {0, 0, 0, 0x2, 0x2};
  EXPECT_EQ(FindNextComponent(nullptr, &flagsDiffer), nullptr);
  EXPECT_EQ(FindNextComponent(comp, &any), nullptr);
}

TEST_F(ComponentManagerTest, OpenStoresTheStorageAndCloseSendsItBack)
{
  ComponentInstance ci = nullptr;
  ASSERT_EQ(OpenAComponent(comp, &ci), noErr);
  EXPECT_EQ(GetComponentInstanceStorage(ci), reinterpret_cast<Handle>(&gCalls.storageToken));
  EXPECT_EQ(GetComponentVersion(ci), 0x00010203);
  ComponentDescription cd = {};
  ASSERT_EQ(GetComponentInfo(reinterpret_cast<Component>(ci), &cd, nullptr, nullptr, nullptr), noErr);
  EXPECT_EQ(cd.componentSubType, MacFourCC("sub1"));
  EXPECT_EQ(UnregisterComponent(comp), validInstancesExist);
  ASSERT_EQ(CloseComponent(ci), noErr);
  ASSERT_EQ(gCalls.selectors.size(), 3u);
  EXPECT_EQ(gCalls.selectors[0], kComponentOpenSelect);
  EXPECT_EQ(gCalls.storages[0], nullptr);
  EXPECT_EQ(gCalls.selectors[2], kComponentCloseSelect);
  EXPECT_EQ(gCalls.storages[2], &gCalls.storageToken);
}

TEST_F(ComponentManagerTest, AFailedOpenIsClosedAndLeavesNoInstance)
{
  gCalls.openResult = memFullErr;
  ComponentInstance ci = reinterpret_cast<ComponentInstance>(&gCalls);
  EXPECT_EQ(OpenAComponent(comp, &ci), memFullErr);
  EXPECT_EQ(ci, nullptr);
  ASSERT_EQ(gCalls.selectors.size(), 2u);
  EXPECT_EQ(gCalls.selectors[1], kComponentCloseSelect);
  EXPECT_EQ(OpenComponent(comp), nullptr);
}

TEST_F(ComponentManagerTest, StaleHandlesGetErrorsNotCrashes)
{
  ComponentInstance ci = OpenComponent(comp);
  ASSERT_NE(ci, nullptr);
  ASSERT_EQ(CloseComponent(ci), noErr);
  size_t calls = gCalls.selectors.size();
  EXPECT_EQ(CloseComponent(ci), badComponentInstance);
  ComponentParameters p = PackComponentParameters(SInt16(1));
  EXPECT_EQ(CallComponent(ci, &p), badComponentInstance);
  EXPECT_EQ(GetComponentInstanceStorage(ci), nullptr);
  SetComponentInstanceStorage(ci, nullptr);
  EXPECT_EQ(gCalls.selectors.size(), calls); // the entry heard nothing
  EXPECT_EQ(GetComponentInfo(reinterpret_cast<Component>(&p), nullptr, nullptr, nullptr, nullptr), invalidComponentID);
  EXPECT_EQ(OpenComponent(reinterpret_cast<Component>(&p)), nullptr);
  EXPECT_EQ(RegisterComponent(nullptr, RecordingEntry, 0, nullptr), nullptr);
}

TEST_F(ComponentManagerTest, NameIsCopiedOutAsANewReference)
{
  CFStringRef name = nullptr;
  ASSERT_EQ(CopyComponentName(comp, &name), noErr);
  char text[32];
  ASSERT_TRUE(CFStringGetCString(name, text, sizeof text, kCFStringEncodingUTF8));
  EXPECT_STREQ(text, "Maker: Test");
  EXPECT_EQ(CFGetRetainCount(name), 2); // the registry's and ours
  CFRelease(name);
  EXPECT_EQ(CopyComponentName(comp, nullptr), paramErr);
}

} // namespace
