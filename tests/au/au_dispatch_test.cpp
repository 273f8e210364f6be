// The selector table, the entry's refusal of bad storage and bad blocks,
// open and close.

#include <pthread.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "tests/au/AUTestEffect.h"

namespace
{

using DispatchTest = AUTestFixture;

TEST_F(DispatchTest, CanDoAnswersExactlyTheImplementedSelectors)
{
  // Selectors 1-7, 9-11 and 14-17, written out rather than taken from the mask.
  const SInt16 yes[] = {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 14, 15, 16, 17};
  for (SInt16 s = -40; s <= 40; ++s)
  {
    bool expected = std::find(std::begin(yes), std::end(yes), s) != std::end(yes);
    EXPECT_EQ(ComponentFunctionImplemented(mUnit, s), expected ? 1 : 0) << s;
  }
  for (SInt16 s : {SInt16(0x101), SInt16(0x105), SInt16(-32768), SInt16(32767)})
    EXPECT_EQ(ComponentFunctionImplemented(mUnit, s), 0) << s;
}

TEST_F(DispatchTest, VersionIsTheRawWord)
{
  EXPECT_EQ(GetComponentVersion(mUnit), 0x00010203); // not the decimal 10203
}

TEST_F(DispatchTest, UnlistedSelectorsAnswerBadComponentSelector)
{
  for (SInt16 s : std::initializer_list<SInt16>{0, 8, 12, 13, 19, 20, 21, 0x100, 0x102, 0x107, 0x301, -5, -100})
  {
    ComponentParameters p = PackComponentParameters(s);
    EXPECT_EQ(CallComponent(mUnit, &p), badComponentSelector) << s;
  }
  EXPECT_EQ(MusicDevicePrepareInstrument(mUnit, 0), noErr);
  EXPECT_EQ(MusicDeviceReleaseInstrument(mUnit, 0), noErr);
}

TEST_F(DispatchTest, StorageThatIsNoLiveInstanceIsRefusedUntouched)
{
  int notAPlug[64] = {};
  for (void* storage : {static_cast<void*>(nullptr), static_cast<void*>(notAPlug)})
  {
    EXPECT_EQ(Call(storage, kAudioUnitResetSelect, UInt32(0), UInt32(0)), badComponentInstance);
    EXPECT_EQ(Call(storage, kComponentVersionSelect), badComponentInstance);
    EXPECT_EQ(Call(storage, kAudioUnitInitializeSelect), badComponentInstance);
  }
  EXPECT_EQ(Call(notAPlug, kComponentCloseSelect, mUnit), badComponentInstance);
  EXPECT_EQ(Call(nullptr, kComponentCloseSelect, mUnit), noErr); // nothing to close
  for (int v : notAPlug)
    EXPECT_EQ(v, 0);
  EXPECT_EQ(mPlug->mResets, 0);

  // A closed instance's storage is refused too (compared, never followed).
  AudioUnit other = Open();
  void* stale = Plug(other);
  ASSERT_EQ(CloseComponent(other), noErr);
  EXPECT_EQ(Call(stale, kAudioUnitResetSelect, UInt32(0), UInt32(0)), badComponentInstance);
  EXPECT_EQ(Call(stale, kComponentCloseSelect, other), badComponentInstance);
}

TEST_F(DispatchTest, NullOrShortParameterBlocksAreRefused)
{
  EXPECT_EQ(AUTestEntry(nullptr, mPlug), paramErr);
  ComponentParameters empty = PackComponentParameters(kAudioUnitGetParameterSelect);
  EXPECT_EQ(AUTestEntry(&empty, mPlug), paramErr);
  ComponentParameters shortSet = PackComponentParameters(kAudioUnitSetParameterSelect, UInt32(0), UInt32(0));
  EXPECT_EQ(AUTestEntry(&shortSet, mPlug), paramErr);
  ComponentParameters open = PackComponentParameters(kComponentOpenSelect);
  EXPECT_EQ(AUTestEntry(&open, nullptr), paramErr);
  EXPECT_EQ(Call(nullptr, kComponentOpenSelect, static_cast<ComponentInstance>(nullptr)), badComponentInstance);
  EXPECT_TRUE(mPlug->mParamChanges.empty());
}

TEST_F(DispatchTest, NoExceptionLeavesTheEntryAndTheLockIsLeft)
{
  mPlug->mThrowInReset = true;
  EXPECT_EQ(AudioUnitReset(mUnit, kAudioUnitScope_Global, 0), internalComponentErr);
  mPlug->mThrowInReset = false;
  // Another thread can take the instance lock, so the failed call released it.
  ComponentResult r = -1;
  std::thread([&] { r = AudioUnitReset(mUnit, kAudioUnitScope_Global, 0); }).join();
  EXPECT_EQ(r, noErr);
  EXPECT_EQ(mPlug->mResets, 2);

  gAUTestConfig.throwInConstructor = true;
  AudioUnit failed = reinterpret_cast<AudioUnit>(&r);
  EXPECT_EQ(OpenAComponent(mComponent, &failed), memFullErr);
  EXPECT_EQ(failed, nullptr);
}

TEST_F(DispatchTest, OpenPrunesUnfilledPresetsAndStoresTheInstance)
{
  EXPECT_EQ(mPlug->NPresets(), 2); // 8 slots, 2 filled
  EXPECT_STREQ(mPlug->GetPresetName(0), "Default");
  EXPECT_STREQ(mPlug->GetPresetName(1), "Loud");
  EXPECT_EQ(mPlug->GetComponentInstance(), mUnit);
  EXPECT_NE(mPlug->GetHost(), kHostUninit); // asked at open
}

TEST_F(DispatchTest, SelectorsWaitForTheInstanceLockButOpenDoesNot)
{
  std::atomic<bool> released{false}, resetSawRelease{false};
  mPlug->GetMutex()->Enter(); // as the editor would, changing a parameter
  std::thread host([&] {
    AudioUnitReset(mUnit, kAudioUnitScope_Global, 0);
    resetSawRelease = released.load(); // the reset could only run once the lock was left
  });
  AudioUnit other = nullptr;
  std::thread opener([&] { other = Open(); });
  opener.join(); // another instance opens while this one is locked
  EXPECT_NE(other, nullptr);
  // The lock the selectors wait for is held: a try-lock from another thread
  // fails (no sleep to guess by).
  int probe = -1;
  std::thread([&] {
    probe = pthread_mutex_trylock(&mPlug->GetMutex()->m_mutex);
    if (probe == 0)
      pthread_mutex_unlock(&mPlug->GetMutex()->m_mutex);
  }).join();
  EXPECT_EQ(probe, EBUSY);
  released = true;
  mPlug->GetMutex()->Leave();
  host.join();
  EXPECT_TRUE(resetSawRelease);
  if (other)
  {
    EXPECT_EQ(CloseComponent(other), noErr);
  }
}

TEST_F(DispatchTest, ManyInstancesOpenAndCloseIndependently)
{
  std::vector<AudioUnit> units;
  for (int i = 0; i < 200; ++i)
  {
    units.push_back(Open());
    ASSERT_NE(units.back(), nullptr);
  }
  for (int i = 0; i < 200; i += 2)
    ASSERT_EQ(CloseComponent(units[size_t(i)]), noErr);
  for (int i = 1; i < 200; i += 2)
  {
    EXPECT_EQ(AudioUnitReset(units[size_t(i)], kAudioUnitScope_Global, 0), noErr);
    EXPECT_EQ(Plug(units[size_t(i)])->mResets, 1);
    ASSERT_EQ(CloseComponent(units[size_t(i)]), noErr);
  }
}

TEST_F(DispatchTest, ConcurrentOpensEachGetTheirOwnInstance)
{
  std::vector<AudioUnit> units(8);
  std::vector<std::thread> threads;
  for (auto& u : units)
    threads.emplace_back([&] { u = Open(); });
  for (auto& t : threads)
    t.join();
  for (AudioUnit u : units)
  {
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(Plug(u)->NPresets(), 2);
    EXPECT_EQ(CloseComponent(u), noErr);
  }
}

} // namespace
