#pragma once
// Host-side helpers shared by the binding tests: stream formats, host
// buffer lists and an input source that records how it is pulled.

#include <string>
#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"

// The string as UTF-8, "<none>" when it has no such form in 63 bytes.
inline std::string Text(CFStringRef s)
{
  char buf[64];
  return CFStringGetCString(s, buf, sizeof buf, kCFStringEncodingUTF8) ? buf : "<none>";
}

inline AudioStreamBasicDescription FloatFormat(int channels, double rate = 0.0)
{
  AudioStreamBasicDescription f = {};
  f.mSampleRate = rate;
  f.mFormatID = kAudioFormatLinearPCM;
  f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
  f.mFramesPerPacket = 1;
  f.mBytesPerPacket = f.mBytesPerFrame = 4;
  f.mChannelsPerFrame = UInt32(channels);
  f.mBitsPerChannel = 32;
  return f;
}

inline OSStatus SetFormat(AudioUnit unit, AudioUnitScope scope, AudioUnitElement bus, int channels, double rate = 0.0)
{
  AudioStreamBasicDescription f = FloatFormat(channels, rate);
  return AudioUnitSetProperty(unit, kAudioUnitProperty_StreamFormat, scope, bus, &f, sizeof f);
}

inline int FormatChannels(AudioUnit unit, AudioUnitScope scope, AudioUnitElement bus)
{
  AudioStreamBasicDescription f = {};
  UInt32 size = sizeof f;
  if (AudioUnitGetProperty(unit, kAudioUnitProperty_StreamFormat, scope, bus, &f, &size) != noErr)
    return -1;
  return int(f.mChannelsPerFrame);
}

inline AudioTimeStamp SampleTime(double t)
{
  AudioTimeStamp ts = {};
  ts.mSampleTime = t;
  ts.mFlags = kAudioTimeStampSampleTimeValid;
  return ts;
}

// A buffer list with room for n buffers; data null until set.
class HostBuffers
{
public:
  HostBuffers(int n, UInt32 frames) : mBytes(AudioBufferListBytes(UInt32(n))), mData(size_t(n))
  {
    List()->mNumberBuffers = UInt32(n);
    for (int c = 0; c < n; ++c)
    {
      mData[size_t(c)].assign(frames, -7.0f); // not silence: a write shows
      List()->mBuffers[c] = AudioBuffer{1, frames * 4, nullptr};
    }
  }
  AudioBufferList* List() { return reinterpret_cast<AudioBufferList*>(mBytes.data()); }
  // Points buffer c at the host's own memory.
  void UseHostMemory()
  {
    for (size_t c = 0; c < mData.size(); ++c)
      List()->mBuffers[c].mData = mData[c].data();
  }
  const float* Data(int c) { return static_cast<const float*>(List()->mBuffers[c].mData); }

private:
  std::vector<char> mBytes;
  std::vector<std::vector<float>> mData;
};

// A render callback: channel c of bus b, frame i, at sample time t gives
// 100 b + 10 c + (t + i) / 1000. Records each pull.
struct InputSource
{
  struct Pull
  {
    UInt32 bus, frames, buffers;
    double sampleTime;
    const void* data0;
  };
  std::vector<Pull> pulls;
  OSStatus result = noErr;
  std::vector<int>* order = nullptr; // appended 0 per pull, when set

  static OSStatus Render(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp* ts, UInt32 bus, UInt32 frames,
                         AudioBufferList* list)
  {
    auto* self = static_cast<InputSource*>(refCon);
    self->pulls.push_back({bus, frames, list->mNumberBuffers, ts->mSampleTime, list->mBuffers[0].mData});
    if (self->order)
      self->order->push_back(0);
    if (self->result != noErr)
      return self->result;
    for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
    {
      auto* out = static_cast<float*>(list->mBuffers[c].mData);
      for (UInt32 i = 0; i < frames; ++i)
        out[i] = Value(bus, c, ts->mSampleTime + i);
    }
    return noErr;
  }
  static float Value(UInt32 bus, UInt32 c, double t) { return float(100.0 * bus + 10.0 * c + t / 1000.0); }

  OSStatus Attach(AudioUnit unit, UInt32 bus)
  {
    AURenderCallbackStruct cb = {Render, this};
    return AudioUnitSetProperty(unit, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, bus, &cb, sizeof cb);
  }
};
