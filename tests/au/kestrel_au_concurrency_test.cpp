// One thread renders KestrelAU while another automates its parameters and
// saves its state, as a host's audio and user-interface threads do. Built
// also under ThreadSanitizer (see the README's sanitizer notes).

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"
#include "tools/auhost/AUHostComponent.h"
#include "tools/auhost/AUHostUnit.h"

namespace
{

OSStatus Noise(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp* ts, UInt32, UInt32 frames,
               AudioBufferList* list)
{
  for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
  {
    auto* out = static_cast<float*>(list->mBuffers[c].mData);
    for (UInt32 i = 0; i < frames; ++i)
      out[i] = float(0.8 * std::sin(0.05 * (ts->mSampleTime + i) + c));
  }
  return noErr;
}

TEST(KestrelAUConcurrency, RenderingWhileParametersChangeAndStateIsSaved)
{
  AUHostComponent component;
  ASSERT_TRUE(component.Load(KESTREL_AU_BUNDLE)) << component.Error();
  AudioUnit unit = OpenComponent(component.GetComponent());
  ASSERT_NE(unit, nullptr);
  std::string error;
  AUHostFormat format;
  format.maxFrames = 256;
  ASSERT_TRUE(AUHostNegotiate(unit, &format, &error)) << error;
  AURenderCallbackStruct cb = {Noise, nullptr};
  ASSERT_EQ(AudioUnitSetProperty(unit, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &cb, sizeof cb),
            noErr);

  std::atomic<bool> done = false, hostStopped = false;
  std::atomic<int> renderErrors = 0, nonFinite = 0, saves = 0;
  std::thread audio([&] {
    std::vector<float> left(256), right(256);
    std::vector<char> bytes(AudioBufferListBytes(2));
    auto* list = reinterpret_cast<AudioBufferList*>(bytes.data());
    // Renders on until the host thread has saved a few times beside it: on a
    // loaded machine 400 blocks can end before the first save.
    for (int block = 0; block < 400 || (saves < 20 && !hostStopped); ++block)
    {
      list->mNumberBuffers = 2;
      list->mBuffers[0] = AudioBuffer{1, 1024, left.data()};
      list->mBuffers[1] = AudioBuffer{1, 1024, right.data()};
      AudioTimeStamp ts = {};
      ts.mSampleTime = block * 256.0;
      ts.mFlags = kAudioTimeStampSampleTimeValid;
      AudioUnitRenderActionFlags flags = 0;
      if (AudioUnitRender(unit, &flags, &ts, 0, 256, list) != noErr)
        ++renderErrors;
      for (float s : left)
        if (!std::isfinite(s))
          ++nonFinite;
    }
    done = true;
  });
  for (int i = 0; !done; ++i)
  {
    AudioUnitSetParameter(unit, AudioUnitParameterID(i % 12), kAudioUnitScope_Global, 0, float(i % 7) * 10.0f - 30.0f,
                          0);
    if (i % 5 == 0)
    {
      // No fatal assertion while the audio thread is joinable: a failure
      // would end the test in std::terminate instead of a report.
      CFPropertyListRef state = AUHostSaveState(unit, &error);
      EXPECT_NE(state, nullptr) << error;
      if (!state)
      {
        hostStopped = true;
        break;
      }
      CFRelease(state);
      ++saves;
    }
  }
  audio.join();
  EXPECT_EQ(renderErrors, 0);
  EXPECT_EQ(nonFinite, 0);
  EXPECT_GT(saves, 0);
  EXPECT_EQ(CloseComponent(unit), noErr);
}

} // namespace
