// Channel and format negotiation between a host and the unit (test effect:
// "1-1 2-2 4-2", so two input buses of two channels and one output bus).

#include <cmath>
#include <limits>

#include "tests/au/AUTestEffect.h"
#include "tests/au/AUTestHelpers.h"

namespace
{

using FormatTest = AUTestFixture;

TEST_F(FormatTest, InitialiseRefusesAnIllegalPairAndAcceptsItOnceFixed)
{
  // Each side alone is plausible before initialise: the other is not counted.
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 0, 1), noErr);
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Output, 0, 2), noErr);
  EXPECT_EQ(AudioUnitInitialize(mUnit), badComponentSelector);
  EXPECT_FALSE(mPlug->IsActive());
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Output, 0, 1), noErr);
  EXPECT_EQ(AudioUnitInitialize(mUnit), noErr);
  EXPECT_TRUE(mPlug->IsActive());
  // Active, the other side counts: 1 in with 2 out is refused now.
  EXPECT_EQ(SetFormat(mUnit, kAudioUnitScope_Output, 0, 2), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(FormatChannels(mUnit, kAudioUnitScope_Output, 0), 1);
}

TEST_F(FormatTest, ABusTakesNoMoreChannelsThanItHas)
{
  // 4 on bus 1 would make a legal total of 4 (bus 0 unset), but bus 1 has 2.
  EXPECT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 1, 4), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 0, 3), kAudioUnitErr_InvalidProperty);
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 1, 2), noErr);
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 0, 2), noErr);
  EXPECT_EQ(mPlug->GetInputBus(0)->hostChannels, 2);
  EXPECT_EQ(mPlug->GetInputBus(1)->hostChannels, 2);
}

TEST_F(FormatTest, ARefusedFormatKeepsTheBusChannelCount)
{
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 0, 2), noErr);
  AudioStreamBasicDescription f = FloatFormat(2);
  f.mFormatID = MacFourCC("aac ");
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &f, sizeof f),
            kAudioUnitErr_InvalidProperty);
  f = FloatFormat(2);
  f.mFormatFlags = kAudioFormatFlagIsNonInterleaved; // neither float nor packed
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &f, sizeof f),
            kAudioUnitErr_InvalidProperty);
  f = FloatFormat(2, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &f, sizeof f),
            kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 0, 0), kAudioUnitErr_InvalidProperty);
  EXPECT_EQ(FormatChannels(mUnit, kAudioUnitScope_Input, 0), 2);
  EXPECT_EQ(mPlug->GetSampleRate(), 44100.0);
}

TEST_F(FormatTest, StreamFormatDescribesEachBus)
{
  AudioStreamBasicDescription f = {};
  UInt32 size = sizeof f;
  ASSERT_EQ(SetFormat(mUnit, kAudioUnitScope_Input, 1, 1, 48000.0), noErr);
  EXPECT_EQ(mPlug->GetSampleRate(), 48000.0);
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 1, &f, &size), noErr);
  EXPECT_EQ(size, 40u);
  EXPECT_EQ(f.mSampleRate, 48000.0);
  EXPECT_EQ(f.mFormatID, 0x6C70636Du);
  EXPECT_EQ(f.mFormatFlags, 0x29u);
  EXPECT_EQ(f.mBytesPerPacket, 4u);
  EXPECT_EQ(f.mBytesPerFrame, 4u);
  EXPECT_EQ(f.mFramesPerPacket, 1u);
  EXPECT_EQ(f.mChannelsPerFrame, 1u);
  EXPECT_EQ(f.mBitsPerChannel, 32u);
  // Unset buses show their own channels; global scope is the output bus.
  EXPECT_EQ(FormatChannels(mUnit, kAudioUnitScope_Input, 0), 2);
  EXPECT_EQ(FormatChannels(mUnit, kAudioUnitScope_Global, 0), 2);
  EXPECT_EQ(FormatChannels(mUnit, kAudioUnitScope_Output, 1), -1);
  EXPECT_EQ(FormatChannels(mUnit, kAudioUnitScope_Input, 2), -1);
  Boolean writable = 0;
  EXPECT_EQ(
    AudioUnitGetPropertyInfo(mUnit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0, &size, &writable),
    noErr);
  EXPECT_EQ(writable, 1);

  AudioStreamBasicDescription interleaved;
  EXPECT_EQ(MakeDefaultASBD(&interleaved, 96000.0, 3, true), 12u);
  EXPECT_EQ(interleaved.mFormatFlags, 0x09u);
  EXPECT_EQ(interleaved.mBytesPerFrame, 12u);
}

TEST_F(FormatTest, ElementCountsAndSupportedConfigurations)
{
  UInt32 n = 9, size = sizeof n;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ElementCount, kAudioUnitScope_Input, 0, &n, &size), noErr);
  EXPECT_EQ(n, 2u);
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ElementCount, kAudioUnitScope_Output, 0, &n, &size), noErr);
  EXPECT_EQ(n, 1u);
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ElementCount, kAudioUnitScope_Global, 0, &n, &size), noErr);
  EXPECT_EQ(n, 1u);
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_ElementCount, 7, 0, &n, &size), noErr);
  EXPECT_EQ(n, 0u);

  AUChannelInfo configs[3] = {};
  size = sizeof configs;
  ASSERT_EQ(
    AudioUnitGetProperty(mUnit, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, configs, &size),
    noErr);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(configs[0].inChannels, 1);
  EXPECT_EQ(configs[2].inChannels, 4);
  EXPECT_EQ(configs[2].outChannels, 2);
  EXPECT_EQ(
    AudioUnitGetProperty(mUnit, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Input, 0, configs, &size),
    kAudioUnitErr_InvalidProperty);
}

TEST_F(FormatTest, SampleRateAndSliceSizeRefuseValuesNoRenderCanUse)
{
  const double bad[] = {0.0, -44100.0, std::numeric_limits<double>::infinity(),
                        std::numeric_limits<double>::quiet_NaN()};
  for (double rate : bad)
    EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Global, 0, &rate, sizeof rate),
              kAudioUnitErr_InvalidPropertyValue)
      << rate;
  EXPECT_EQ(mPlug->GetSampleRate(), 44100.0);
  const UInt32 badFrames[] = {0, 65537, 0xFFFFFFFFu};
  for (UInt32 frames : badFrames)
    EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                   sizeof frames),
              kAudioUnitErr_InvalidPropertyValue)
      << frames;
  EXPECT_EQ(mPlug->GetBlockSize(), 1024);

  int resets = mPlug->mResets;
  double rate = 96000.0;
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Output, 0, &rate, sizeof rate),
            noErr);
  UInt32 frames = 65536;
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &frames,
                                 sizeof frames),
            noErr);
  EXPECT_EQ(mPlug->mResets, resets + 2);
  Float64 got = 0;
  UInt32 size = sizeof got;
  ASSERT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Input, 1, &got, &size), noErr);
  EXPECT_EQ(got, 96000.0);
  UInt32 gotFrames = 0;
  size = sizeof gotFrames;
  ASSERT_EQ(
    AudioUnitGetProperty(mUnit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0, &gotFrames, &size),
    noErr);
  EXPECT_EQ(gotFrames, 65536u);
}

TEST_F(FormatTest, SizesAndPointersFromTheHostAreChecked)
{
  // A buffer smaller than the property is refused and left alone.
  UInt32 small = 0xABABABAB, size = sizeof small;
  EXPECT_EQ(AudioUnitGetProperty(mUnit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Global, 0, &small, &size),
            kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(small, 0xABABABABu);
  AudioStreamBasicDescription f = FloatFormat(1);
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, &f, 39),
            kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0, nullptr, 40),
            kAudioUnitErr_InvalidPropertyValue);
  EXPECT_EQ(FormatChannels(mUnit, kAudioUnitScope_Input, 0), 2);
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, nullptr, 8),
            kAudioUnitErr_InvalidPropertyValue);
  // Hosts with an older callback record pass fewer procedures.
  HostCallbackInfo cbs = {};
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global, 0, &cbs, 16), noErr);
  EXPECT_EQ(AudioUnitSetProperty(mUnit, kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Input, 0, &cbs, sizeof cbs),
            kAudioUnitErr_InvalidProperty);
}

} // namespace
