// Parameter texts through properties: display strings, value strings in
// both directions, and names cut to a host's length.

#include "platform/corefoundation/CoreFoundation.h"
#include "tests/au/AUTestEffect.h"
#include "tests/au/AUTestHelpers.h"
#include "wdl/IPlug/au/IPlugAU_CFText.h"

namespace
{

using ParamPropertyTest = AUTestFixture;

TEST_F(ParamPropertyTest, ValueStringsListTheDisplayTextsInOrder)
{
  CFArrayRef texts = nullptr;
  UInt32 size = sizeof texts;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterValueStrings, kAudioUnitScope_Global,
                                 AUTestEffect::kMode, &texts, &size),
            noErr);
  ASSERT_EQ(CFArrayGetCount(texts), 3);
  EXPECT_EQ(Text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(texts, 0))), "Soft");
  EXPECT_EQ(Text(static_cast<CFStringRef>(CFArrayGetValueAtIndex(texts, 2))), "\xC3\x9C"
                                                                              "ber");
  for (CFIndex i = 0; i < 3; ++i)
    CFRelease(CFArrayGetValueAtIndex(texts, i));
  CFRelease(texts);
  // Without display texts: size 0 and refused; no such parameter: refused.
  size = 99;
  EXPECT_EQ(AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_ParameterValueStrings, kAudioUnitScope_Global,
                                     AUTestEffect::kGain, &size, nullptr),
            kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_ParameterValueStrings, kAudioUnitScope_Global, 3, &size,
                                     nullptr),
            kAudioUnitErr_InvalidProperty);
}

TEST_F(ParamPropertyTest, ValueStringsRoundTripThroughBothLookups)
{
  for (int v = 0; v < 3; ++v)
  {
    AudioUnitParameterValue value = float(v) + 0.75f; // the integer part counts
    AudioUnitParameterStringFromValue toText = {AUTestEffect::kMode, &value, nullptr};
    UInt32 size = sizeof toText;
    ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0,
                                   &toText, &size),
              noErr);
    AudioUnitParameterValueFromString toValue = {AUTestEffect::kMode, toText.outString, -1.0f};
    size = sizeof toValue;
    ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterValueFromString, kAudioUnitScope_Global, 0,
                                   &toValue, &size),
              noErr);
    EXPECT_EQ(toValue.outValue, float(v)) << Text(toText.outString);
    CFRelease(toText.outString);
  }
  // Without a value the current one is shown; an unknown text leaves the value.
  AudioUnitParameterStringFromValue current = {AUTestEffect::kMode, nullptr, nullptr};
  UInt32 size = sizeof current;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0,
                                 &current, &size),
            noErr);
  EXPECT_EQ(Text(current.outString), "Hard");
  CFRelease(current.outString);
  AudioUnitParameterValueFromString unknown = {AUTestEffect::kMode, CFSTR("Medium"), 5.0f};
  size = sizeof unknown;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterValueFromString, kAudioUnitScope_Global, 0,
                                 &unknown, &size),
            noErr);
  EXPECT_EQ(unknown.outValue, 5.0f);
}

TEST_F(ParamPropertyTest, LookupsRefuseUnknownIdsAndOtherScopes)
{
  AudioUnitParameterStringFromValue toText = {7, nullptr, nullptr};
  AudioUnitParameterIDName name = {0xFFFFFFFFu, -1, nullptr};
  AudioUnitParameterValueFromString toValue = {3, CFSTR("Soft"), 0.0f};
  UInt32 size = sizeof toText;
  EXPECT_EQ(
    AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterStringFromValue, kAudioUnitScope_Global, 0, &toText, &size),
    kAudioUnitErr_InvalidProperty);
  size = sizeof name;
  EXPECT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterIDName, kAudioUnitScope_Global, 0, &name, &size),
            kAudioUnitErr_InvalidProperty);
  size = sizeof toValue;
  EXPECT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterValueFromString, kAudioUnitScope_Global, 0,
                                 &toValue, &size),
            kAudioUnitErr_InvalidProperty);
  toValue.inParamID = AUTestEffect::kMode;
  EXPECT_EQ(
    AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterValueFromString, kAudioUnitScope_Input, 0, &toValue, &size),
    kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(toValue.outValue, 0.0f);
  // The info call reports the record's size.
  size = 0;
  EXPECT_EQ(
    AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_ParameterIDName, kAudioUnitScope_Global, 0, &size, nullptr),
    noErr);
  EXPECT_EQ(size, sizeof(AudioUnitParameterIDName));
}

TEST_F(ParamPropertyTest, NamesAreCutToTheDesiredLength)
{
  struct Case
  {
    SInt32 length;
    const char* name;
  } cases[] = {{4, "Gain"}, {2, "Ga"}, {0, ""}, {-1, "Gain"}, {-7, "Gain"}, {100, "Gain"}};
  for (const Case& c : cases)
  {
    AudioUnitParameterIDName name = {AUTestEffect::kGain, c.length, nullptr};
    UInt32 size = sizeof name;
    ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ParameterIDName, kAudioUnitScope_Global, 0, &name, &size),
              noErr);
    EXPECT_EQ(Text(name.outName), c.name) << c.length;
    CFRelease(name.outName);
  }
}

TEST(CFText, NonASCIITextIsCutBetweenCharacters)
{
  const char* text = "\xC3\x9C"
                     "ber"; // "Über": a two-byte character first
  EXPECT_EQ(UTF8FitLength(text, 1), 0);
  EXPECT_EQ(UTF8FitLength(text, 2), 2);
  EXPECT_EQ(UTF8FitLength(text, 31), 5);
  CFStringRef cut = NewCFStringCut(text, 1);
  EXPECT_EQ(Text(cut), "");
  CFRelease(cut);
  // Text that is not UTF-8 still gives a string, an empty one.
  CFStringRef bad = NewCFString("\xFF\xFE");
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(CFStringGetLength(bad), 0);
  CFRelease(bad);
  WDL_TypedBuf<char> out;
  EXPECT_TRUE(CFStringToText(CFSTR("caf\xC3\xA9 au lait"), &out)); // longer in bytes than in units
  EXPECT_STREQ(out.Get(), "caf\xC3\xA9 au lait");
  EXPECT_FALSE(CFStringToText(nullptr, &out));
}

TEST_F(ParamPropertyTest, FastDispatchHandsOutTheThreeProcedures)
{
  void* proc = nullptr;
  UInt32 size = sizeof proc;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kAudioUnitRenderSelect,
                                 &proc, &size),
            noErr);
  EXPECT_EQ(proc, reinterpret_cast<void*>(IPlugAU::RenderProc));
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Input,
                                 kAudioUnitSetParameterSelect, &proc, &size),
            noErr);
  auto set = reinterpret_cast<AudioUnitSetParameterProc>(proc);
  void* storage = Plug(mUnit);
  EXPECT_EQ(set(storage, AUTestEffect::kGain, kAudioUnitScope_Global, 0, 99.0f, 0), noErr);
  EXPECT_EQ(set(storage, AUTestEffect::kGain, kAudioUnitScope_Output, 0, 1.0f, 0), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(mPlug->GetParam(AUTestEffect::kGain)->Value(), 12.0);
  EXPECT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kAudioUnitResetSelect,
                                 &proc, &size),
            kAudioUnitErr_InvalidElement);
  // Properties of an editor that does not exist, and of an instrument.
  EXPECT_EQ(AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &size, nullptr),
            kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(
    AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_GetUIComponentList, kAudioUnitScope_Global, 0, &size, nullptr),
    kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(
    AudioUnitGetPropertyInfo(mUnit, kMusicDeviceProperty_InstrumentCount, kAudioUnitScope_Global, 0, &size, nullptr),
    kAudioUnitErr_InvalidProperty);
}

TEST_F(ParamPropertyTest, LatencyAndTailAreTheSameSeconds)
{
  mPlug->SetLatency(441);
  Float64 latency = -1, tail = -1;
  UInt32 size = sizeof latency;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, &latency, &size), noErr);
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_TailTime, kAudioUnitScope_Global, 0, &tail, &size), noErr);
  EXPECT_EQ(latency, 0.01);
  EXPECT_EQ(tail, latency);
  EXPECT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_Latency, kAudioUnitScope_Input, 0, &latency, &size),
            kAudioUnitErr_InvalidProperty);
  OSStatus lastError = 5;
  size = sizeof lastError;
  ASSERT_EQ(
    AudioUnitGetProperty(mUnit, kAudioUnitProperty_LastRenderError, kAudioUnitScope_Global, 0, &lastError, &size),
    noErr);
  EXPECT_EQ(lastError, 0);
}

} // namespace
