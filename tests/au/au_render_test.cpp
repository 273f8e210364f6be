// Rendering: input pulls by callback and by connection, the host's output
// buffers, notifications and the render checks. The test effect writes
// output c = 2 x input c + input c + 2.

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "tests/au/AUTestEffect.h"
#include "tests/au/AUTestHelpers.h"

namespace
{

constexpr UInt32 kSlice = 64;

class RenderTest : public AUTestFixture
{
protected:
  void SetUp() override
  {
    AUTestFixture::SetUp();
    UInt32 frames = kSlice;
    ASSERT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                   sizeof frames),
              noErr);
  }
  OSStatus Render(AudioUnit unit, double t, UInt32 frames, HostBuffers& out, UInt32 bus = 0)
  {
    AudioTimeStamp ts = SampleTime(t);
    AudioUnitRenderActionFlags flags = 0;
    return AudioUnitRender(unit, &flags, &ts, bus, frames, out.List());
  }
  OSStatus Render(double t, UInt32 frames, HostBuffers& out) { return Render(mUnit, t, frames, out); }
};

TEST_F(RenderTest, CallbackFeedsEachBusFromTheUnitsScratch)
{
  InputSource main, side;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  ASSERT_EQ(side.Attach(mUnit, 1), noErr);
  EXPECT_STREQ(AUInputTypeStr(mPlug->GetInputConnection(1)->inputType), "RenderCallback");
  HostBuffers out(2, kSlice);
  out.UseHostMemory();
  ASSERT_EQ(Render(1000.0, kSlice, out), noErr);
  ASSERT_EQ(main.pulls.size(), 1u);
  ASSERT_EQ(side.pulls.size(), 1u);
  EXPECT_EQ(side.pulls[0].bus, 1u);
  EXPECT_EQ(side.pulls[0].buffers, 2u);
  // Bus 1's buffers start at plug-in channel 2 of the input scratch, bus 0's
  // at channel 0: two channels of kSlice floats apart.
  auto* base = static_cast<const float*>(main.pulls[0].data0);
  EXPECT_EQ(static_cast<const float*>(side.pulls[0].data0), base + 2 * kSlice);
  for (UInt32 i = 0; i < kSlice; i += 21)
    for (UInt32 c = 0; c < 2; ++c)
      EXPECT_FLOAT_EQ(out.Data(int(c))[i],
                      2.0f * InputSource::Value(0, c, 1000.0 + i) + InputSource::Value(1, c, 1000.0 + i));
}

TEST_F(RenderTest, InputsArePulledOncePerSampleTimeAndAgainAfterReset)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  HostBuffers out(2, kSlice);
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_EQ(main.pulls.size(), 1u);
  EXPECT_EQ(mPlug->mBlocks, 2);
  ASSERT_EQ(Render(64.0, kSlice, out), noErr);
  EXPECT_EQ(main.pulls.size(), 2u);
  EXPECT_EQ(AudioUnitReset(mUnit, kAudioUnitScope_Global, 0), noErr);
  EXPECT_EQ(mPlug->GetLastRenderSampleTime(), -1.0);
  ASSERT_EQ(Render(64.0, kSlice, out), noErr);
  EXPECT_EQ(main.pulls.size(), 3u);
}

TEST_F(RenderTest, AnInputErrorStopsTheRenderBeforeAnyPostNotification)
{
  std::vector<int> order;
  InputSource main;
  main.order = &order;
  main.result = -1234;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  struct Notes
  {
    static OSStatus Note(void* ref, AudioUnitRenderActionFlags* flags, const AudioTimeStamp*, UInt32, UInt32,
                         AudioBufferList*)
    {
      static_cast<std::vector<int>*>(ref)->push_back(int(*flags));
      return noErr;
    }
  };
  ASSERT_EQ(AudioUnitAddRenderNotify(mUnit, Notes::Note, &order), noErr);
  ASSERT_EQ(AudioUnitAddRenderNotify(mUnit, Notes::Note, &order), noErr);
  HostBuffers out(2, kSlice);
  EXPECT_EQ(Render(0.0, kSlice, out), -1234);
  EXPECT_EQ(order, (std::vector<int>{4, 4, 0}));
  EXPECT_EQ(mPlug->GetLastRenderSampleTime(), -1.0); // pulled again next time
  EXPECT_EQ(mPlug->mBlocks, 0);

  order.clear();
  main.result = noErr;
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_EQ(order, (std::vector<int>{4, 4, 0, 8, 8}));
}

// Removes itself during the pre-render pass: the post-render pass must not
// reach its record, and the other notification still runs once per pass.
struct SelfRemover
{
  AudioUnit unit;
  int calls = 0;
  static OSStatus Note(void* ref, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
  {
    auto* self = static_cast<SelfRemover*>(ref);
    ++self->calls;
    AudioUnitRemoveRenderNotify(self->unit, Note, ref);
    return noErr;
  }
  static OSStatus Counter(void* ref, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32,
                          AudioBufferList*)
  {
    ++*static_cast<int*>(ref);
    return noErr;
  }
};

TEST_F(RenderTest, ANotificationRemovedDuringARenderIsNotCalledAgain)
{
  SelfRemover remover{mUnit};
  int counted = 0;
  ASSERT_EQ(AudioUnitAddRenderNotify(mUnit, SelfRemover::Note, &remover), noErr);
  ASSERT_EQ(AudioUnitAddRenderNotify(mUnit, SelfRemover::Counter, &counted), noErr);
  HostBuffers out(2, kSlice);
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_EQ(remover.calls, 1);
  EXPECT_EQ(counted, 2);
  EXPECT_EQ(mPlug->NRenderNotifies(), 1);
  ASSERT_EQ(Render(64.0, kSlice, out), noErr);
  EXPECT_EQ(remover.calls, 1);
  EXPECT_EQ(counted, 4);
}

TEST_F(RenderTest, TheChecksRefuseBadTimeStampsBusesAndSlices)
{
  HostBuffers out(2, kSlice + 1);
  AudioTimeStamp ts = SampleTime(0.0);
  ts.mFlags = kAudioTimeStampHostTimeValid;
  AudioUnitRenderActionFlags flags = 0;
  EXPECT_EQ(AudioUnitRender(mUnit, &flags, &ts, 0, kSlice, out.List()), kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(AudioUnitRender(mUnit, &flags, nullptr, 0, kSlice, out.List()), kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(Render(mUnit, 0.0, kSlice, out, 1), kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(Render(kSlice, kSlice + 1, out), kAudioUnitErr_InvalidPropertyValue);
  ts = SampleTime(0.0);
  EXPECT_EQ(AudioUnitRender(mUnit, &flags, &ts, 0, kSlice, nullptr), kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(mPlug->mBlocks, 0);
  EXPECT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_EQ(mPlug->mLastBlockFrames, int(kSlice));
}

TEST_F(RenderTest, HostBuffersTooSmallOrTooManyAreNeverOverrun)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  HostBuffers shortOut(2, kSlice);
  shortOut.UseHostMemory();
  shortOut.List()->mBuffers[1].mDataByteSize = kSlice * 4 - 4;
  EXPECT_EQ(Render(0.0, kSlice, shortOut), kAudioUnitErr_InvalidPropertyValue);

  // A third buffer on a two-channel bus gets silence, within its size.
  HostBuffers three(3, kSlice);
  three.UseHostMemory();
  three.List()->mBuffers[2].mDataByteSize = 8;
  ASSERT_EQ(Render(0.0, kSlice, three), noErr);
  EXPECT_EQ(three.Data(2)[0], 0.0f);
  EXPECT_EQ(three.Data(2)[1], 0.0f);
  EXPECT_EQ(three.Data(2)[2], -7.0f);
  EXPECT_FLOAT_EQ(three.Data(1)[5], 2.0f * InputSource::Value(0, 1, 5.0));
}

TEST_F(RenderTest, NullOutputBuffersGetTheUnitsOwnMemory)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  HostBuffers out(2, kSlice);
  ASSERT_EQ(Render(0.0, 16, out), noErr);
  ASSERT_NE(out.Data(0), nullptr);
  ASSERT_NE(out.Data(1), nullptr);
  EXPECT_EQ(out.Data(1), out.Data(0) + 16); // channel 1 of the output scratch at this slice size
  EXPECT_EQ(out.List()->mBuffers[0].mDataByteSize, 64u);
  EXPECT_FLOAT_EQ(out.Data(0)[3], 2.0f * InputSource::Value(0, 0, 3.0));
  EXPECT_FLOAT_EQ(out.Data(1)[15], 2.0f * InputSource::Value(0, 1, 15.0));
  // An output bus the host never set takes as many channels as buffers.
  EXPECT_TRUE(mPlug->GetOutputBus(0)->connected);
  EXPECT_TRUE(mPlug->IsOutChannelConnected(1));
}

TEST_F(RenderTest, BypassLeavesTheHostsBuffersAlone)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  UInt32 on = 1;
  ASSERT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, &on, sizeof on),
            noErr);
  HostBuffers out(2, kSlice);
  out.UseHostMemory();
  EXPECT_EQ(Render(0.0, kSlice + 100, out), noErr); // not even checked
  EXPECT_EQ(out.Data(0)[0], -7.0f);
  EXPECT_TRUE(main.pulls.empty());
  UInt32 got = 0, size = sizeof got;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, &got, &size),
            noErr);
  EXPECT_EQ(got, 1u);
  on = 0;
  ASSERT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, &on, sizeof on),
            noErr);
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_FLOAT_EQ(out.Data(0)[0], 0.0f);
  EXPECT_FLOAT_EQ(out.Data(0)[1], 2.0f * InputSource::Value(0, 0, 1.0));
}

TEST_F(RenderTest, AMonoInputLeavesTheSecondOutputSilentNotStale)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  HostBuffers out(2, kSlice);
  out.UseHostMemory();
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_NE(out.Data(1)[10], 0.0f); // stereo: written
  // Now one channel on bus 0: the effect writes output 0 only.
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 0, 1), noErr);
  EXPECT_FALSE(mPlug->IsInChannelConnected(1));
  HostBuffers again(2, kSlice);
  again.UseHostMemory();
  ASSERT_EQ(Render(64.0, kSlice, again), noErr);
  EXPECT_FLOAT_EQ(again.Data(0)[10], 2.0f * InputSource::Value(0, 0, 74.0));
  for (UInt32 i = 0; i < kSlice; ++i)
    ASSERT_EQ(again.Data(1)[i], 0.0f) << i;
}

TEST_F(RenderTest, AnOutputBufferOfAnUnconnectedChannelGetsSilence)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Output, 0, 1), noErr);
  HostBuffers out(2, kSlice); // two buffers for a bus set to one channel
  out.UseHostMemory();
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_FALSE(mPlug->IsOutChannelConnected(1));
  EXPECT_FLOAT_EQ(out.Data(0)[9], 2.0f * InputSource::Value(0, 0, 9.0));
  for (UInt32 i = 0; i < kSlice; ++i)
    ASSERT_EQ(out.Data(1)[i], 0.0f) << i;
}

TEST_F(RenderTest, AHostChannelCountBelowTheBusLeavesTheRestUnconnected)
{
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 1, 1), noErr);
  InputSource side;
  ASSERT_EQ(side.Attach(mUnit, 1), noErr);
  EXPECT_TRUE(mPlug->IsInChannelConnected(2));
  EXPECT_FALSE(mPlug->IsInChannelConnected(3));
  EXPECT_FALSE(mPlug->IsInChannelConnected(0));
  HostBuffers out(2, kSlice);
  ASSERT_EQ(Render(0.0, kSlice, out), noErr);
  EXPECT_EQ(side.pulls.at(0).buffers, 1u);
}

} // namespace

namespace
{

OSStatus CountNote(void* ref, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*)
{
  static_cast<std::atomic<int>*>(ref)->fetch_add(1);
  return noErr;
}

// The fast-dispatch render takes no lock, while the host adds and removes
// notifications under it on another thread. Run also under
// ThreadSanitizer: no record may be read after it is freed.
TEST_F(RenderTest, NotificationsChangeSafelyBesideAFastDispatchRender)
{
  InputSource main;
  ASSERT_EQ(main.Attach(mUnit, 0), noErr);
  AudioUnitRenderProc render = nullptr;
  UInt32 size = sizeof render;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kAudioUnitRenderSelect,
                                 &render, &size),
            noErr);
  std::atomic<int> calls = 0;
  std::atomic<int> changes = 0;
  std::atomic<bool> done = false;
  int blocks = 0;
  std::thread audio([&] {
    HostBuffers out(2, kSlice);
    // On a loaded machine the host thread may start late: render until both have overlapped.
    for (; blocks < 2000 || changes < 100; ++blocks)
    {
      AudioTimeStamp ts = SampleTime(blocks * double(kSlice));
      AudioUnitRenderActionFlags flags = 0;
      render(mPlug, &flags, &ts, 0, kSlice, out.List());
    }
    done = true;
  });
  while (!done)
  {
    AudioUnitAddRenderNotify(mUnit, CountNote, &calls);
    AudioUnitRemoveRenderNotify(mUnit, CountNote, &calls);
    ++changes;
  }
  audio.join();
  EXPECT_GE(changes, 100);
  EXPECT_EQ(mPlug->NRenderNotifies(), 0);
  EXPECT_EQ(mPlug->mBlocks, blocks);
}

} // namespace
