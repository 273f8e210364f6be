// Initialise, parameters (direct and scheduled), MIDI and notes, buses,
// parameter events, host identity and time.

#include <cmath>

#include "platform/corefoundation/CFBundle.h"
#include "tests/au/AUTestEffect.h"

namespace
{

using SelectorTest = AUTestFixture;

AudioUnitParameterEvent Immediate(UInt32 id, float value, UInt32 scope = kAudioUnitScope_Global)
{
  AudioUnitParameterEvent e = {};
  e.scope = scope;
  e.parameter = id;
  e.eventType = kParameterEvent_Immediate;
  e.eventValues.immediate.value = value;
  return e;
}

float Get(AudioUnit unit, UInt32 id)
{
  AudioUnitParameterValue v = -999;
  AudioUnitGetParameter(unit, id, kAudioUnitScope_Global, 0, &v);
  return v;
}

TEST_F(SelectorTest, ScheduledEventsApplyInOrderUntilTheFirstRejectedOne)
{
  AudioUnitParameterEvent ramp = Immediate(AUTestEffect::kMode, 2);
  ramp.eventType = kParameterEvent_Ramped;
  const AudioUnitParameterEvent events[] = {
    Immediate(AUTestEffect::kGain, 5.0f),
    ramp,                                   // ramps are ignored
    Immediate(AUTestEffect::kNumParams, 1), // bad id
    Immediate(AUTestEffect::kGain, 7.0f),   // never reached
  };
  EXPECT_EQ(AudioUnitScheduleParameters(mUnit, events, 4), kAudioUnitErr_InvalidElement);
  EXPECT_EQ(Get(mUnit, AUTestEffect::kGain), 5.0f);
  EXPECT_EQ(Get(mUnit, AUTestEffect::kMode), 1.0f);
  EXPECT_EQ(mPlug->mParamChanges, std::vector<int>{AUTestEffect::kGain});

  const AudioUnitParameterEvent wrongScope[] = {Immediate(AUTestEffect::kGain, 1.0f, kAudioUnitScope_Input)};
  EXPECT_EQ(AudioUnitScheduleParameters(mUnit, wrongScope, 1), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(AudioUnitScheduleParameters(mUnit, nullptr, 2), paramErr);
  EXPECT_EQ(AudioUnitScheduleParameters(mUnit, nullptr, 0), noErr);
  EXPECT_EQ(Get(mUnit, AUTestEffect::kGain), 5.0f);
}

TEST_F(SelectorTest, SetParameterClampsAndGetParameterChecksItsArguments)
{
  EXPECT_EQ(AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, 40.0f, 0), noErr);
  EXPECT_EQ(Get(mUnit, AUTestEffect::kGain), 12.0f);
  EXPECT_EQ(AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, 0.3f, 0), noErr);
  EXPECT_EQ(Get(mUnit, AUTestEffect::kGain), 0.3f); // not rounded to the step
  AudioUnitParameterValue v = 42;
  EXPECT_EQ(AudioUnitGetParameter(mUnit, AUTestEffect::kNumParams, kAudioUnitScope_Global, 0, &v),
            kAudioUnitErr_InvalidElement);
  EXPECT_EQ(AudioUnitGetParameter(mUnit, 0, kAudioUnitScope_Input, 0, &v), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(v, 42.0f);
  EXPECT_EQ(AudioUnitGetParameter(mUnit, 0, kAudioUnitScope_Global, 0, nullptr), paramErr);
  EXPECT_EQ(AudioUnitSetParameter(mUnit, 0xFFFFFFFF, kAudioUnitScope_Global, 0, 1.0f, 0), kAudioUnitErr_InvalidElement);
  EXPECT_EQ(AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, NAN, 0),
            kAudioUnitErr_InvalidParameter);
  EXPECT_EQ(Get(mUnit, AUTestEffect::kGain), 0.3f);
  EXPECT_EQ(AudioUnitSetParameter(mUnit, AUTestEffect::kGain, kAudioUnitScope_Global, 0, -INFINITY, 0), noErr);
  EXPECT_EQ(Get(mUnit, AUTestEffect::kGain), -12.0f);
}

TEST_F(SelectorTest, MidiEventKeepsTheLowByteOfEachValue)
{
  ASSERT_EQ(MusicDeviceMIDIEvent(mUnit, 0x1293, 0x1FF, 0x140, 17), noErr);
  ASSERT_EQ(mPlug->mMidiIn.size(), 1u);
  EXPECT_EQ(mPlug->mMidiIn[0].mStatus, 0x93);
  EXPECT_EQ(mPlug->mMidiIn[0].mData1, 0xFF);
  EXPECT_EQ(mPlug->mMidiIn[0].mData2, 0x40);
  EXPECT_EQ(mPlug->mMidiIn[0].mOffset, 17);
}

TEST_F(SelectorTest, NotesBecomeNoteOnAndOffAndRefuseMissingOrUnusableRecords)
{
  MusicDeviceNoteParams note = {2, 60.7f, 100.2f, {}};
  NoteInstanceID id = 0;
  ASSERT_EQ(MusicDeviceStartNote(mUnit, 0, 0, &id, 5, &note), noErr);
  EXPECT_EQ(id, 60u);
  ASSERT_EQ(MusicDeviceStopNote(mUnit, 0, 61, 9), noErr);
  ASSERT_EQ(mPlug->mMidiIn.size(), 2u);
  EXPECT_EQ(mPlug->mMidiIn[0].mStatus, 0x90);
  EXPECT_EQ(mPlug->mMidiIn[0].mData1, 60);
  EXPECT_EQ(mPlug->mMidiIn[0].mData2, 100);
  EXPECT_EQ(mPlug->mMidiIn[0].mOffset, 5);
  EXPECT_EQ(mPlug->mMidiIn[1].mStatus, 0x80);
  EXPECT_EQ(mPlug->mMidiIn[1].mData1, 61);
  EXPECT_EQ(mPlug->mMidiIn[1].mOffset, 9);

  EXPECT_EQ(MusicDeviceStartNote(mUnit, 0, 0, nullptr, 0, &note), paramErr);
  EXPECT_EQ(MusicDeviceStartNote(mUnit, 0, 0, &id, 0, nullptr), paramErr);
  MusicDeviceNoteParams bad = {2, NAN, 100, {}};
  EXPECT_EQ(MusicDeviceStartNote(mUnit, 0, 0, &id, 0, &bad), paramErr);
  bad.mPitch = 60;
  bad.mVelocity = 1e20f;
  EXPECT_EQ(MusicDeviceStartNote(mUnit, 0, 0, &id, 0, &bad), paramErr);
  EXPECT_EQ(mPlug->mMidiIn.size(), 2u);
}

TEST_F(SelectorTest, InitialiseWithoutFormatsActivatesAndResetsEveryParameter)
{
  mPlug->mParamChanges.clear();
  ASSERT_EQ(AudioUnitInitialize(mUnit), noErr);
  EXPECT_TRUE(mPlug->IsActive());
  EXPECT_EQ(mPlug->mParamChanges, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(AudioUnitInitialize(mUnit), noErr); // not checked for being active already
  ASSERT_EQ(AudioUnitUninitialize(mUnit), noErr);
  EXPECT_FALSE(mPlug->IsActive());
  EXPECT_EQ(mPlug->mActivations, (std::vector<bool>{true, true, false}));
}

TEST_F(SelectorTest, BusesCoverPairsOfChannelsWithAnOddLastOne)
{
  EXPECT_EQ(mPlug->NInputBuses(), 2);  // 4 inputs
  EXPECT_EQ(mPlug->NOutputBuses(), 1); // 2 outputs
  EXPECT_EQ(mPlug->GetBus(kAudioUnitScope_Input, 1)->firstPlugChannel, 2);
  EXPECT_EQ(mPlug->GetBus(kAudioUnitScope_Global, 0), mPlug->GetBus(kAudioUnitScope_Output, 0));
  EXPECT_EQ(mPlug->GetBus(kAudioUnitScope_Input, 2), nullptr);
  EXPECT_EQ(mPlug->GetBus(7, 0), nullptr);
  EXPECT_EQ(mPlug->GetInputConnection(0)->inputType, IPlugAU::eNotConnected);

  gAUTestConfig.channelIO = "3-1";
  AudioUnit odd = Open();
  IPlugAU* plug = Plug(odd);
  ASSERT_EQ(plug->NInputBuses(), 2);
  EXPECT_EQ(plug->GetBus(kAudioUnitScope_Input, 0)->plugChannels, 2);
  EXPECT_EQ(plug->GetBus(kAudioUnitScope_Input, 1)->plugChannels, 1);
  EXPECT_EQ(plug->GetBus(kAudioUnitScope_Input, 1)->hostChannels, -1);
  CloseComponent(odd);

  gAUTestConfig.channelIO = nullptr; // no configuration is legal
  AudioUnit none = Open();
  EXPECT_EQ(AudioUnitInitialize(none), badComponentSelector);
  EXPECT_FALSE(Plug(none)->IsActive());
  CloseComponent(none);
}

struct Heard
{
  std::vector<AudioUnitEventType> types;
  std::vector<AudioUnit> units;
};

void Listen(void* refCon, void*, const AudioUnitEvent* e, UInt64, AudioUnitParameterValue)
{
  static_cast<Heard*>(refCon)->types.push_back(e->mEventType);
  static_cast<Heard*>(refCon)->units.push_back(e->mArgument.mParameter.mAudioUnit);
}

TEST_F(SelectorTest, EditorGesturesReachTheHostAsParameterEvents)
{
  Heard heard;
  AUEventListenerRef listener = nullptr;
  ASSERT_EQ(AUEventListenerCreate(Listen, &heard, nullptr, nullptr, 0, 0, &listener), noErr);
  for (AudioUnitEventType t : {kAudioUnitEvent_BeginParameterChangeGesture, kAudioUnitEvent_ParameterValueChange,
                               kAudioUnitEvent_EndParameterChangeGesture})
  {
    AudioUnitEvent e = {};
    e.mEventType = t;
    e.mArgument.mParameter = {mUnit, AUTestEffect::kMode, kAudioUnitScope_Global, 0};
    AUEventListenerAddEventType(listener, nullptr, &e);
  }
  mPlug->BeginInformHostOfParamChange(AUTestEffect::kMode);
  mPlug->SetParameterFromGUI(AUTestEffect::kMode, 1.0);
  mPlug->EndInformHostOfParamChange(AUTestEffect::kMode);
  mPlug->BeginInformHostOfParamChange(AUTestEffect::kGain); // nobody listens to this one
  EXPECT_EQ(heard.types, (std::vector<AudioUnitEventType>{1, 0, 2}));
  for (AudioUnit u : heard.units)
    EXPECT_EQ(u, mUnit);
  AUListenerDispose(listener);
}

TEST_F(SelectorTest, HostIsIdentifiedFromTheMainBundleIdentifier)
{
  CFBundleSetMainBundleIdentifier(CFSTR("com.example.reaper"));
  AudioUnit unit = Open();
  EXPECT_EQ(Plug(unit)->GetHost(), kHostReaper);
  CloseComponent(unit);
  CFBundleSetMainBundleIdentifier(nullptr);
  unit = Open();
  EXPECT_EQ(Plug(unit)->GetHost(), kHostUnknown);
  CloseComponent(unit);
}

TEST_F(SelectorTest, WithoutHostCallbacksTimeHasItsDefaults)
{
  EXPECT_EQ(mPlug->GetTempo(), 120.0);
  EXPECT_EQ(mPlug->GetSamplePos(), 0);
  int num = 7, denom = 9;
  mPlug->GetTimeSig(&num, &denom);
  EXPECT_EQ(num, 7);
  EXPECT_EQ(denom, 9);
  WDL_TypedBuf<IMidiMsg> none;
  EXPECT_TRUE(mPlug->SendMidiMsgs(&none));
  IMidiMsg msg;
  EXPECT_FALSE(mPlug->SendMidiMsg(&msg));
}

} // namespace
