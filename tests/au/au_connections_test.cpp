// Input buses fed by a connection to an upstream unit: another instance of
// the test effect (which hands out a fast render procedure) or a bare source
// component without one, whose output can be made faulty.

#include <cstring>
#include <vector>

#include "platform/components/ComponentParams.h"
#include "tests/au/AUTestEffect.h"
#include "tests/au/AUTestHelpers.h"

namespace
{

constexpr UInt32 kSlice = 32;

// An upstream unit without fast dispatch. Each frame is 0.5; what it does to
// the buffer list is chosen per test.
struct Source
{
  enum Mode
  {
    kOwnMemory,
    kNullData,
    kShortData,
    kFail
  } mode = kOwnMemory;
  int renders = 0;
  float memory[2][kSlice];
};
Source gSource;

ComponentResult SourceEntry(ComponentParameters* params, void*) noexcept
{
  switch (params->what)
  {
  case kComponentOpenSelect:
  case kComponentCloseSelect: return noErr;
  case kAudioUnitGetPropertySelect: {
    AudioUnitPropertyID id = 0;
    AudioUnitScope scope = 0;
    AudioUnitElement element = 0;
    void* data = nullptr;
    UInt32* size = nullptr;
    UnpackComponentParameters(params, &id, &scope, &element, &data, &size);
    if (id != kAudioUnitProperty_StreamFormat)
      return kAudioUnitErr_InvalidProperty;
    AudioStreamBasicDescription f = FloatFormat(2);
    memcpy(data, &f, sizeof f);
    return noErr;
  }
  case kAudioUnitRenderSelect: {
    AudioUnitRenderActionFlags* flags = nullptr;
    const AudioTimeStamp* ts = nullptr;
    UInt32 bus = 0, frames = 0;
    AudioBufferList* list = nullptr;
    if (!UnpackComponentParameters(params, &flags, &ts, &bus, &frames, &list) || frames > kSlice)
      return paramErr;
    ++gSource.renders;
    if (gSource.mode == Source::kFail)
      return -5;
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
    {
      for (UInt32 i = 0; i < frames; ++i)
        gSource.memory[c][i] = 0.5f;
      list->mBuffers[c].mData = gSource.mode == Source::kNullData ? nullptr : gSource.memory[c];
      if (gSource.mode == Source::kShortData)
        list->mBuffers[c].mDataByteSize = 8; // two frames
    }
    return noErr;
  }
  default: return badComponentSelector;
  }
}

class ConnectionTest : public AUTestFixture
{
protected:
  void SetUp() override
  {
    AUTestFixture::SetUp();
    gSource = Source();
    ComponentDescription cd = {MacFourCC("augn"), MacFourCC("srce"), MacFourCC("Test"), 0, 0};
    mSourceComponent = RegisterComponent(&cd, SourceEntry, 0, nullptr);
    mSource = OpenComponent(mSourceComponent);
    ASSERT_NE(mSource, nullptr);
    UInt32 frames = kSlice;
    ASSERT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                   sizeof frames),
              noErr);
  }
  void TearDown() override
  {
    CloseComponent(mSource);
    UnregisterComponent(mSourceComponent);
    AUTestFixture::TearDown();
  }
  OSStatus Connect(AudioUnit from, UInt32 to = 0)
  {
    AudioUnitConnection conn = {from, 0, to};
    return AudioUnitSetProperty(mUnit, kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, &conn, sizeof conn);
  }
  OSStatus Render(double t, HostBuffers& out)
  {
    AudioTimeStamp ts = SampleTime(t);
    AudioUnitRenderActionFlags flags = 0;
    return AudioUnitRender(mUnit, &flags, &ts, 0, kSlice, out.List());
  }

  Component mSourceComponent = nullptr;
  AudioUnit mSource = nullptr;
};

TEST_F(ConnectionTest, AnUpstreamUnitWithAFastProcIsPulledOncePerSampleTime)
{
  AudioUnit upstream = Open();
  ASSERT_NE(upstream, nullptr);
  UInt32 frames = kSlice;
  ASSERT_EQ(AudioUnitSetProperty(upstream, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                 sizeof frames),
            noErr);
  InputSource feed;
  ASSERT_EQ(feed.Attach(upstream, 0), noErr);
  ASSERT_EQ(Connect(upstream), noErr);
  const IPlugAU::InputBusConnection* conn = mPlug->GetInputConnection(0);
  EXPECT_STREQ(AUInputTypeStr(conn->inputType), "DirectFastProc");
  EXPECT_EQ(conn->upstreamObject, Plug(upstream));
  EXPECT_EQ(conn->upstreamUnit, upstream);

  HostBuffers out(2, kSlice);
  ASSERT_EQ(Render(256.0, out), noErr);
  ASSERT_EQ(Render(256.0, out), noErr);
  EXPECT_EQ(feed.pulls.size(), 1u);
  EXPECT_EQ(Plug(upstream)->mBlocks, 1);
  // Twice the gain of two: 4 x the source, in the upstream unit's memory.
  EXPECT_FLOAT_EQ(out.Data(1)[7], 4.0f * InputSource::Value(0, 1, 263.0));

  AudioUnitConnection none = {nullptr, 0, 0};
  ASSERT_EQ(
    AudioUnitSetProperty(mUnit, kAudioUnitProperty_MakeConnection, kAudioUnitScope_Global, 0, &none, sizeof none),
    noErr);
  EXPECT_STREQ(AUInputTypeStr(mPlug->GetInputConnection(0)->inputType), "NotConnected");
  EXPECT_FALSE(mPlug->IsInChannelConnected(0));
  EXPECT_EQ(CloseComponent(upstream), noErr);
}

TEST_F(ConnectionTest, AnUpstreamUnitWithoutOneIsRenderedThroughItsEntry)
{
  ASSERT_EQ(Connect(mSource), noErr);
  EXPECT_STREQ(AUInputTypeStr(mPlug->GetInputConnection(0)->inputType), "DirectNoFastProc");
  HostBuffers out(2, kSlice);
  ASSERT_EQ(Render(0.0, out), noErr);
  EXPECT_EQ(gSource.renders, 1);
  EXPECT_FLOAT_EQ(out.Data(0)[kSlice - 1], 1.0f);

  gSource.mode = Source::kFail;
  EXPECT_EQ(Render(kSlice, out), -5);
  EXPECT_EQ(mPlug->GetLastRenderSampleTime(), 0.0);
}

TEST_F(ConnectionTest, MissingOrShortUpstreamDataReadsAsSilence)
{
  ASSERT_EQ(Connect(mSource), noErr);
  HostBuffers out(2, kSlice);
  out.UseHostMemory();
  gSource.mode = Source::kNullData;
  ASSERT_EQ(Render(0.0, out), noErr);
  for (UInt32 i = 0; i < kSlice; ++i)
    ASSERT_EQ(out.Data(0)[i], 0.0f);

  gSource.mode = Source::kShortData;
  ASSERT_EQ(Render(kSlice, out), noErr);
  EXPECT_EQ(out.Data(1)[0], 1.0f);
  EXPECT_EQ(out.Data(1)[1], 1.0f);
  for (UInt32 i = 2; i < kSlice; ++i)
    ASSERT_EQ(out.Data(1)[i], 0.0f) << i;
}

TEST_F(ConnectionTest, RefusedConnectionsLeaveTheBusDisconnected)
{
  ASSERT_EQ(Connect(mSource), noErr);
  EXPECT_EQ(Connect(mUnit), kAudioUnitErr_InvalidProperty); // itself
  EXPECT_STREQ(AUInputTypeStr(mPlug->GetInputConnection(0)->inputType), "NotConnected");
  EXPECT_EQ(Connect(mSource, 2), kAudioUnitErr_InvalidProperty); // no bus 2
  AudioUnitConnection conn = {mSource, 0, 0};
  EXPECT_EQ(
    AudioUnitSetProperty(mUnit, kAudioUnitProperty_MakeConnection, kAudioUnitScope_Output, 0, &conn, sizeof conn),
    kAudioUnitErr_InvalidProperty);
  // A source whose format the bus cannot take.
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 0, 1), noErr);
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Output, 0, 1), noErr);
  ASSERT_EQ(AudioUnitInitialize(mUnit), noErr);
  EXPECT_EQ(Connect(mSource), kAudioUnitErr_InvalidProperty); // 2 in, 1 out is not a configuration
  EXPECT_FALSE(mPlug->GetInputBus(0)->connected);
}

} // namespace
