// Audio Unit client calls reach the unit's entry with the agreed packing;
// events reach the listeners that asked for them.

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/audiounit/AudioUnitUtilities.h"
#include "platform/audiounit/MusicDevice.h"
#include "platform/components/ComponentParams.h"

namespace
{

struct Seen
{
  SInt16 what = 0;
  UInt32 paramID = 0, scope = 0, element = 0, offset = 0;
  float value = 0;
};
Seen gSeen;

ComponentResult UnitEntry(ComponentParameters* params, void*)
{
  gSeen.what = params->what;
  if (params->what == kAudioUnitSetParameterSelect)
  {
    if (!UnpackComponentParameters(params, &gSeen.paramID, &gSeen.scope, &gSeen.element, &gSeen.value, &gSeen.offset))
      return paramErr;
  }
  if (params->what == kAudioUnitGetParameterSelect)
  {
    AudioUnitParameterValue* out;
    if (!UnpackComponentParameters(params, &gSeen.paramID, &gSeen.scope, &gSeen.element, &out))
      return paramErr;
    *out = 0.25f;
  }
  return noErr;
}

class AudioUnitClientTest : public testing::Test
{
protected:
  void SetUp() override
  {
    ComponentDescription cd = {kAudioUnitType_Effect, MacFourCC("tst1"), MacFourCC("Test"), 0, 0};
    comp = RegisterComponent(&cd, UnitEntry, 0, nullptr);
    unit = OpenComponent(comp);
    ASSERT_NE(unit, nullptr);
  }
  void TearDown() override
  {
    CloseComponent(unit);
    UnregisterComponent(comp);
  }
  Component comp = nullptr;
  AudioUnit unit = nullptr;
};

// Offsets worked out by hand for the 64-bit layout: 4-byte fields packed,
// each pointer on the next multiple of 8.
TEST(AudioUnitRecords, PointerHoldingRecordsFollowThe64BitLayout)
{
  EXPECT_EQ(offsetof(AudioUnitParameterInfo, unitName), 56u); // after 52 name bytes, aligned up
  EXPECT_EQ(offsetof(AudioUnitParameterInfo, clumpID), 64u);
  EXPECT_EQ(offsetof(AudioUnitParameterInfo, cfNameString), 72u);
  EXPECT_EQ(offsetof(AudioUnitParameterInfo, unit), 80u);
  EXPECT_EQ(offsetof(AudioUnitParameterInfo, minValue), 84u);
  EXPECT_EQ(offsetof(AudioUnitParameterInfo, defaultValue), 92u);
  EXPECT_EQ(offsetof(AudioUnitParameterInfo, flags), 96u);
  EXPECT_EQ(sizeof(AudioUnitParameterInfo), 104u);
  EXPECT_EQ(offsetof(AudioUnitConnection, sourceOutputNumber), 8u);
  EXPECT_EQ(offsetof(AudioUnitConnection, destInputNumber), 12u);
  EXPECT_EQ(offsetof(AURenderCallbackStruct, inputProcRefCon), 8u);
  EXPECT_EQ(offsetof(AUPreset, presetName), 8u);
  EXPECT_EQ(offsetof(HostCallbackInfo, beatAndTempoProc), 8u);
  EXPECT_EQ(offsetof(HostCallbackInfo, musicalTimeLocationProc), 16u);
  EXPECT_EQ(offsetof(HostCallbackInfo, transportStateProc), 24u);
  EXPECT_EQ(sizeof(HostCallbackInfo), 32u);
  EXPECT_EQ(offsetof(AudioUnitCocoaViewInfo, mCocoaAUViewClass), 8u);
  EXPECT_EQ(offsetof(AudioBufferList, mBuffers), 8u);
  EXPECT_EQ(offsetof(AudioBuffer, mData), 8u);
  EXPECT_EQ(sizeof(AudioBuffer), 16u);
  EXPECT_EQ(offsetof(AudioUnitParameterEvent, eventValues), 16u);
  EXPECT_EQ(sizeof(AudioUnitParameterEvent), 32u);
  EXPECT_EQ(offsetof(AudioUnitEvent, mArgument), 8u);
  EXPECT_EQ(offsetof(ComponentParameters, params), 8u);
  EXPECT_EQ(offsetof(AudioUnitParameterStringFromValue, inValue), 8u);
  EXPECT_EQ(offsetof(AudioUnitParameterIDName, outName), 8u);
  EXPECT_EQ(offsetof(AudioUnitParameterValueFromString, outValue), 16u);
  EXPECT_EQ(kAudioUnitType_Effect, 0x61756678u);
  EXPECT_EQ(kAudioFormatLinearPCM, 0x6C70636Du);
  EXPECT_EQ(kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved, 0x29u);
  EXPECT_EQ(AudioBufferListBytes(2), 8 + 2 * sizeof(AudioBuffer));
  char text[5];
  MacFourCCToText(MacFourCC("4q35"), text);
  EXPECT_STREQ(text, "4q35");
  MacFourCCToText(0x41000142, text);
  EXPECT_STREQ(text, "A??B");
}

TEST_F(AudioUnitClientTest, SetParameterArrivesWithEveryArgumentIntact)
{
  ASSERT_EQ(AudioUnitSetParameter(unit, 11, kAudioUnitScope_Global, 3, -0.375f, 64), noErr);
  EXPECT_EQ(gSeen.what, kAudioUnitSetParameterSelect);
  EXPECT_EQ(gSeen.paramID, 11u);
  EXPECT_EQ(gSeen.element, 3u);
  EXPECT_EQ(gSeen.value, -0.375f);
  EXPECT_EQ(gSeen.offset, 64u);
  AudioUnitParameterValue v = 0;
  ASSERT_EQ(AudioUnitGetParameter(unit, 2, kAudioUnitScope_Global, 0, &v), noErr);
  EXPECT_EQ(v, 0.25f);
  EXPECT_EQ(AudioUnitInitialize(nullptr), badComponentInstance);
}

struct Heard
{
  std::vector<AudioUnitEventType> types;
  std::vector<void*> objects;
  std::vector<float> values;
};

void Listen(void* refCon, void* object, const AudioUnitEvent* event, UInt64, AudioUnitParameterValue value)
{
  auto* heard = static_cast<Heard*>(refCon);
  heard->types.push_back(event->mEventType);
  heard->objects.push_back(object);
  heard->values.push_back(value);
}

AudioUnitEvent ParamEvent(AudioUnitEventType type, AudioUnit unit, UInt32 id)
{
  AudioUnitEvent e = {};
  e.mEventType = type;
  e.mArgument.mParameter = {unit, id, kAudioUnitScope_Global, 0};
  return e;
}

TEST_F(AudioUnitClientTest, EventsReachOnlyTheListenersThatAskedForThem)
{
  Heard a, b;
  AUEventListenerRef la = nullptr, lb = nullptr;
  ASSERT_EQ(AUEventListenerCreate(Listen, &a, nullptr, nullptr, 0, 0, &la), noErr);
  ASSERT_EQ(AUEventListenerCreate(Listen, &b, nullptr, nullptr, 0, 0, &lb), noErr);
  AudioUnitEvent change = ParamEvent(kAudioUnitEvent_ParameterValueChange, unit, 2);
  AudioUnitEvent begin = ParamEvent(kAudioUnitEvent_BeginParameterChangeGesture, unit, 2);
  int token = 0;
  ASSERT_EQ(AUEventListenerAddEventType(la, &token, &change), noErr);
  ASSERT_EQ(AUEventListenerAddEventType(lb, nullptr, &begin), noErr);

  ASSERT_EQ(AUEventListenerNotify(nullptr, nullptr, &change), noErr);
  ASSERT_EQ(a.types.size(), 1u);
  EXPECT_EQ(a.objects[0], &token);
  EXPECT_EQ(a.values[0], 0.25f); // read back from the unit
  EXPECT_TRUE(b.types.empty());

  AudioUnitEvent otherParam = ParamEvent(kAudioUnitEvent_ParameterValueChange, unit, 3);
  AUEventListenerNotify(nullptr, nullptr, &otherParam);
  AUEventListenerNotify(la, nullptr, &change); // the sender does not hear itself
  EXPECT_EQ(a.types.size(), 1u);

  AUEventListenerNotify(nullptr, nullptr, &begin);
  ASSERT_EQ(b.types.size(), 1u);
  EXPECT_EQ(b.types[0], kAudioUnitEvent_BeginParameterChangeGesture);

  EXPECT_EQ(AUEventListenerRemoveEventType(la, &token, &change), noErr);
  EXPECT_EQ(AUEventListenerRemoveEventType(la, &token, &change), paramErr);
  AUEventListenerNotify(nullptr, nullptr, &change);
  EXPECT_EQ(a.types.size(), 1u);
  EXPECT_EQ(AUEventListenerNotify(nullptr, nullptr, nullptr), paramErr);
  EXPECT_EQ(AUListenerDispose(la), noErr);
  EXPECT_EQ(AUListenerDispose(la), paramErr);
  EXPECT_EQ(AUEventListenerAddEventType(la, nullptr, &change), paramErr);
  EXPECT_EQ(AUListenerDispose(lb), noErr);
}

} // namespace
