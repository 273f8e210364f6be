// What a unit keeps across uninitialise and slice-size changes, and what it
// refuses to do while a render is using it: calls made from an input
// callback or a render notification, and connections that close a cycle.
// Run under ASan, a stale scratch pointer or a freed unit is an error here.

#include <barrier>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

#include "tests/au/AUTestEffect.h"
#include "tests/au/AUTestHelpers.h"

namespace
{

class ReentryTest : public AUTestFixture
{
protected:
  OSStatus SetSlice(UInt32 frames)
  {
    return AudioUnitSetProperty(mUnit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                sizeof frames);
  }
  OSStatus Render(AudioUnit unit, double t, UInt32 frames, HostBuffers& out)
  {
    AudioTimeStamp ts = SampleTime(t);
    AudioUnitRenderActionFlags flags = 0;
    return AudioUnitRender(unit, &flags, &ts, 0, frames, out.List());
  }
  // Input bus 0 of dest pulls from source (null: from nothing).
  static OSStatus Connect(AudioUnit dest, AudioUnit source)
  {
    AudioUnitConnection conn = {source, 0, 0};
    return AudioUnitSetProperty(dest, kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, &conn, sizeof conn);
  }
};

// The test effect doubles input 0 (with nothing on the side-chain bus).
void ExpectDoubledInput(HostBuffers& out, double t, UInt32 frames)
{
  for (UInt32 i = 0; i < frames; i += 7)
    EXPECT_FLOAT_EQ(out.Data(0)[i], 2.0f * InputSource::Value(0, 0, t + i)) << i;
}

TEST_F(ReentryTest, AfterUninitialiseTheGoneInputReadsZerosEvenWhenTheSliceChanged)
{
  ASSERT_EQ(SetSlice(64), noErr);
  InputSource main;
  HostBuffers out(2, 8192);
  out.UseHostMemory();
  for (UInt32 slice : {64u, 8192u})
  { // the second moves the scratch
    ASSERT_EQ(main.Attach(mUnit, 0), noErr);
    ASSERT_EQ(Render(mUnit, 0.0, 64, out), noErr);
    ExpectDoubledInput(out, 0.0, 64);
    const size_t pulls = main.pulls.size();
    ASSERT_EQ(AudioUnitUninitialize(mUnit), noErr);
    ASSERT_EQ(SetSlice(slice), noErr);
    ASSERT_EQ(AudioUnitInitialize(mUnit), noErr);
    ASSERT_EQ(Render(mUnit, 64.0, 64, out), noErr);
    EXPECT_EQ(main.pulls.size(), pulls); // the connection went with uninitialise
    for (UInt32 i = 0; i < 64; i += 7)
      EXPECT_EQ(out.Data(0)[i], 0.0f) << "slice " << slice << " frame " << i;
  }
}

// -1.0 is a legal pre-roll time: inputs are pulled at it like at any other.
TEST_F(ReentryTest, InputsArePulledAtSampleTimeMinusOneAfterTheSliceChanged)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  HostBuffers out(2, 256);
  out.UseHostMemory();
  ASSERT_EQ(Render(mUnit, -1.0, 64, out), noErr); // the first render ever, at -1.0
  ASSERT_EQ(main.pulls.size(), 1u);
  ExpectDoubledInput(out, -1.0, 64);
  ASSERT_EQ(Render(mUnit, 63.0, 64, out), noErr);
  ASSERT_EQ(SetSlice(256), noErr);
  ASSERT_EQ(Render(mUnit, -1.0, 64, out), noErr);
  ASSERT_EQ(main.pulls.size(), 3u);
  EXPECT_EQ(main.pulls.back().sampleTime, -1.0);
  ExpectDoubledInput(out, -1.0, 64);
}

// The side-chain bus dropping to one channel leaves the dropped channel
// silent, not holding the last loud block.
TEST_F(ReentryTest, ADroppedSideChainChannelReadsZeros)
{
  gAUTestConfig.channelIO = "2-2 3-2 4-2";
  AudioUnit unit = Open();
  ASSERT_NE(unit, nullptr);
  InputSource main, side;
  ASSERT_EQ(main.Attach(unit, 0), noErr);
  ASSERT_EQ(side.Attach(unit, 1), noErr);
  HostBuffers out(2, 1024);
  out.UseHostMemory();
  ASSERT_EQ(Render(unit, 0.0, 64, out), noErr);
  ASSERT_EQ(SetFormat(unit, kAudioUnitScope_Input, 1, 1), noErr);
  ASSERT_EQ(Render(unit, 64.0, 64, out), noErr);
  for (UInt32 i = 0; i < 64; i += 9)
  {
    EXPECT_FLOAT_EQ(out.Data(0)[i], 2.0f * InputSource::Value(0, 0, 64.0 + i) + InputSource::Value(1, 0, 64.0 + i));
    EXPECT_FLOAT_EQ(out.Data(1)[i], 2.0f * InputSource::Value(0, 1, 64.0 + i));
  }
  EXPECT_EQ(CloseComponent(unit), noErr);
}

// A host that changes the slice size from inside a render is refused: the
// render is using the scratch.
struct SliceChanger
{
  AudioUnit unit;
  InputSource source;
  std::vector<OSStatus> results;

  OSStatus Change()
  {
    UInt32 frames = 4096;
    return AudioUnitSetProperty(unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                sizeof frames);
  }
  static OSStatus Input(void* ref, AudioUnitRenderActionFlags* flags, const AudioTimeStamp* ts, UInt32 bus,
                        UInt32 frames, AudioBufferList* list)
  {
    auto* self = static_cast<SliceChanger*>(ref);
    self->results.push_back(self->Change());
    return InputSource::Render(&self->source, flags, ts, bus, frames, list);
  }
  static OSStatus Note(void* ref, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
  {
    auto* self = static_cast<SliceChanger*>(ref);
    self->results.push_back(self->Change());
    return noErr;
  }
};

TEST_F(ReentryTest, SliceChangesFromInsideARenderAreRefused)
{
  ASSERT_EQ(SetSlice(64), noErr);
  SliceChanger changer{mUnit, {}, {}};
  AURenderCallbackStruct cb = {SliceChanger::Input, &changer};
  ASSERT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &cb, sizeof cb),
            noErr);
  ASSERT_EQ(AudioUnitAddRenderNotify(mUnit, SliceChanger::Note, &changer), noErr);
  HostBuffers out(2, 64);
  out.UseHostMemory();
  ASSERT_EQ(Render(mUnit, 0.0, 64, out), noErr);
  ASSERT_EQ(changer.results.size(), 3u); // pre-render, input, post-render
  for (OSStatus r : changer.results)
    EXPECT_EQ(r, kAudioUnitErr_CannotDoInCurrentContext);
  EXPECT_EQ(mPlug->GetBlockSize(), 64);
  ExpectDoubledInput(out, 0.0, 64);
  EXPECT_EQ(changer.Change(), noErr); // outside a render it is fine
}

// Closed from its own render notification, the unit finishes the render
// and is deleted as the render ends (ASan sees any use after that).
struct Closer
{
  AudioUnit unit;
  std::vector<OSStatus> results;
  static OSStatus Note(void* ref, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*, UInt32, UInt32,
                       AudioBufferList*)
  {
    auto* self = static_cast<Closer*>(ref);
    if (*flags & kAudioUnitRenderAction_PreRender)
      self->results.push_back(CloseComponent(self->unit));
    return noErr;
  }
};

TEST_F(ReentryTest, AUnitClosedFromItsOwnRenderNotificationFinishesTheRender)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  Closer closer{mUnit, {}};
  ASSERT_EQ(AudioUnitAddRenderNotify(mUnit, Closer::Note, &closer), noErr);
  HostBuffers out(2, 64);
  out.UseHostMemory();
  ASSERT_EQ(Render(mUnit, 0.0, 64, out), noErr);
  ASSERT_EQ(closer.results.size(), 1u);
  EXPECT_EQ(closer.results[0], noErr);
  ExpectDoubledInput(out, 0.0, 64);
  EXPECT_EQ(Render(mUnit, 64.0, 64, out), badComponentInstance);
  mUnit = nullptr; // closed already
}

TEST_F(ReentryTest, AConnectionThatClosesACycleIsRefused)
{
  AudioUnit b = Open(), c = Open();
  ASSERT_NE(b, nullptr);
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(Connect(mUnit, b), noErr); // mUnit pulls from b
  ASSERT_EQ(Connect(b, c), noErr);     // b pulls from c
  EXPECT_EQ(Connect(c, mUnit), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(Connect(b, mUnit), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(Connect(mUnit, mUnit), kAudioUnitErr_InvalidProperty);
  HostBuffers out(2, 64);
  EXPECT_EQ(Render(mUnit, 0.0, 64, out), noErr); // ends: nothing loops back
  EXPECT_EQ(CloseComponent(b), noErr);
  EXPECT_EQ(CloseComponent(c), noErr);
}

// Each make-connection asks its source for its format while holding its own unit's lock:
// made at once in opposite directions, each could wait for the other's unit forever. One of
// the two must win, and the other then closes a cycle and is refused.
TEST_F(ReentryTest, OppositeConnectionsMadeAtOnceNeitherDeadlockNorBothStand)
{
  AudioUnit b = Open();
  ASSERT_NE(b, nullptr);
  constexpr int kRounds = 5000;
  std::vector<OSStatus> results[2] = {std::vector<OSStatus>(kRounds), std::vector<OSStatus>(kRounds)};
  std::barrier sync(2);
  auto side = [&](int i, AudioUnit dest, AudioUnit source) {
    for (int round = 0; round < kRounds; ++round)
    {
      sync.arrive_and_wait();
      results[i][size_t(round)] = Connect(dest, source);
      sync.arrive_and_wait();
      Connect(dest, nullptr);
    }
  };
  std::packaged_task<void()> race([&] {
    std::thread other(side, 1, b, mUnit);
    side(0, mUnit, b);
    other.join();
  });
  std::future<void> done = race.get_future();
  std::thread(std::move(race)).detach();
  // Deadlocked threads cannot be joined: stop here rather than hang the suite.
  if (done.wait_for(std::chrono::seconds(60)) != std::future_status::ready)
  {
    fprintf(stderr, "the two connections deadlocked\n");
    std::abort();
  }
  for (int round = 0; round < kRounds; ++round)
    ASSERT_EQ((results[0][size_t(round)] == noErr) + (results[1][size_t(round)] == noErr), 1) << round;
  EXPECT_EQ(CloseComponent(b), noErr);
}

} // namespace
