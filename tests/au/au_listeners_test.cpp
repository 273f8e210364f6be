// Property listeners and render notifications: add and remove semantics, and
// who gets called when.

#include "tests/au/AUTestEffect.h"

namespace
{

struct ListenerLog
{
  std::vector<AudioUnitPropertyID> ids;
  std::vector<AudioUnit> units;
  std::vector<int> latencySeen;
  AUTestEffect* plug = nullptr;
};

void ListenA(void* log, AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement)
{
  auto* l = static_cast<ListenerLog*>(log);
  l->ids.push_back(id);
  l->units.push_back(unit);
  if (l->plug)
    l->latencySeen.push_back(l->plug->GetLatency());
}

void ListenB(void*, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement) {}

OSStatus NotifyA(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
{
  return noErr;
}
OSStatus NotifyB(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
{
  return noErr;
}

using ListenerTest = AUTestFixture;

TEST_F(ListenerTest, SameIdAndProcedureIsKeptOnceWhateverTheUserData)
{
  int u1 = 0, u2 = 0;
  EXPECT_EQ(AudioUnitAddPropertyListener(mUnit, 8, ListenA, &u1), noErr);
  EXPECT_EQ(AudioUnitAddPropertyListener(mUnit, 8, ListenA, &u2), noErr);
  EXPECT_EQ(mPlug->NPropertyListeners(), 1);
  EXPECT_EQ(mPlug->GetPropertyListener(0)->mProcArgs, &u1);
  EXPECT_EQ(AudioUnitAddPropertyListener(mUnit, 8, ListenB, &u1), noErr);
  EXPECT_EQ(AudioUnitAddPropertyListener(mUnit, 9, ListenA, &u1), noErr);
  EXPECT_EQ(mPlug->NPropertyListeners(), 3);
  EXPECT_EQ(AudioUnitAddPropertyListener(mUnit, 8, nullptr, &u1), paramErr);
  EXPECT_EQ(mPlug->NPropertyListeners(), 3);
}

TEST_F(ListenerTest, RemovalMatchesIdProcedureAndOptionallyUserData)
{
  int u1 = 0, u2 = 0;
  AudioUnitAddPropertyListener(mUnit, 8, ListenA, &u1);
  AudioUnitAddPropertyListener(mUnit, 9, ListenA, &u1);
  EXPECT_EQ(AudioUnitRemovePropertyListenerWithUserData(mUnit, 8, ListenA, &u2), noErr); // no match: kept
  EXPECT_EQ(mPlug->NPropertyListeners(), 2);
  EXPECT_EQ(AudioUnitRemovePropertyListener(mUnit, 8, ListenB), noErr); // no match
  EXPECT_EQ(mPlug->NPropertyListeners(), 2);
  EXPECT_EQ(AudioUnitRemovePropertyListenerWithUserData(mUnit, 8, ListenA, &u1), noErr);
  ASSERT_EQ(mPlug->NPropertyListeners(), 1);
  EXPECT_EQ(mPlug->GetPropertyListener(0)->mPropID, 9u);
  EXPECT_EQ(AudioUnitRemovePropertyListener(mUnit, 9, ListenA), noErr);
  EXPECT_EQ(mPlug->NPropertyListeners(), 0);
}

TEST_F(ListenerTest, RenderNotifiesKeepDuplicatesAndRemoveTheFirstByProcedure)
{
  int r1 = 0, r2 = 0;
  EXPECT_EQ(AudioUnitAddRenderNotify(mUnit, NotifyA, &r1), noErr);
  EXPECT_EQ(AudioUnitAddRenderNotify(mUnit, NotifyB, &r1), noErr);
  EXPECT_EQ(AudioUnitAddRenderNotify(mUnit, NotifyA, &r2), noErr);
  EXPECT_EQ(mPlug->NRenderNotifies(), 3);
  EXPECT_EQ(AudioUnitRemoveRenderNotify(mUnit, NotifyA, &r2), noErr); // the reference is not compared
  ASSERT_EQ(mPlug->NRenderNotifies(), 2);
  EXPECT_EQ(mPlug->GetRenderNotify(0)->mFunc, NotifyB);
  EXPECT_EQ(mPlug->GetRenderNotify(1)->mRefCon, &r2);
  EXPECT_EQ(AudioUnitRemoveRenderNotify(mUnit, NotifyA, nullptr), noErr);
  EXPECT_EQ(AudioUnitRemoveRenderNotify(mUnit, NotifyA, nullptr), noErr); // nothing left to match
  EXPECT_EQ(mPlug->NRenderNotifies(), 1);
  EXPECT_EQ(AudioUnitAddRenderNotify(mUnit, nullptr, &r1), paramErr);
  EXPECT_EQ(mPlug->NRenderNotifies(), 1);
}

TEST_F(ListenerTest, EverySetIsHeardByThatIdsListenersEvenWhenItFails)
{
  ListenerLog log;
  AudioUnitAddPropertyListener(mUnit, 4242, ListenA, &log);
  AudioUnitAddPropertyListener(mUnit, 12, ListenB, &log);
  UInt32 value = 0;
  EXPECT_EQ(AudioUnitSetProperty(mUnit, 4242, kAudioUnitScope_Global, 0, &value, sizeof value),
            kAudioUnitErr_InvalidProperty);
  ASSERT_EQ(log.ids.size(), 1u);
  EXPECT_EQ(log.ids[0], 4242u);
  EXPECT_EQ(log.units[0], mUnit);
}

TEST_F(ListenerTest, LatencyListenersStillSeeTheOldLatency)
{
  ListenerLog log;
  log.plug = mPlug;
  AudioUnitAddPropertyListener(mUnit, kAudioUnitProperty_Latency, ListenA, &log);
  mPlug->SetLatency(64);
  ASSERT_EQ(log.latencySeen.size(), 1u);
  EXPECT_EQ(log.latencySeen[0], 0);
  EXPECT_EQ(mPlug->GetLatency(), 64);
}

} // namespace
