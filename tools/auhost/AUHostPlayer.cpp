#include "tools/auhost/AUHostPlayer.h"

#include <cstring>
#include <new>
#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/components/ComponentParams.h"

namespace
{

struct Player
{
  AUHostPlayerSettings settings;
  std::vector<float> scratch; // channels x maxFrames
};

// Copies the source from the time stamp's sample on, silence past its end.
ComponentResult PlayerRender(void* storage, AudioUnitRenderActionFlags*, const AudioTimeStamp* ts, UInt32 bus,
                             UInt32 frames, AudioBufferList* list)
{
  auto* p = static_cast<Player*>(storage);
  if (!p || !ts || !list || bus != 0 || frames > p->settings.maxFrames)
    return kAudioUnitErr_InvalidPropertyValue;
  const SignalBuffer& src = *p->settings.source;
  long start = long(ts->mSampleTime);
  for (UInt32 c = 0; c < list->mNumberBuffers && c < UInt32(p->settings.channels); ++c)
  {
    float* out = p->scratch.data() + size_t(c) * p->settings.maxFrames;
    for (UInt32 i = 0; i < frames; ++i)
    {
      long at = start + long(i);
      bool have = c < UInt32(src.NumChannels()) && at >= 0 && at < src.NumFrames();
      out[i] = have ? src.channels[c][size_t(at)] : 0.0f;
    }
    AudioBuffer& b = list->mBuffers[c];
    if (b.mData && b.mDataByteSize >= frames * sizeof(float))
      memcpy(b.mData, out, frames * sizeof(float));
    else
      b.mData = out;
    b.mDataByteSize = UInt32(frames * sizeof(float));
  }
  return noErr;
}

ComponentResult GetProperty(Player* p, ComponentParameters* params)
{
  AudioUnitPropertyID id;
  AudioUnitScope scope;
  AudioUnitElement element;
  void* data;
  UInt32* size;
  if (!UnpackComponentParameters(params, &id, &scope, &element, &data, &size) || !data || !size)
    return paramErr;
  if (id == kAudioUnitProperty_StreamFormat && scope == kAudioUnitScope_Output && element == 0 &&
      *size >= sizeof(AudioStreamBasicDescription))
  {
    AudioStreamBasicDescription f = {};
    f.mFormatID = kAudioFormatLinearPCM;
    f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
    f.mSampleRate = p->settings.source->sampleRate;
    f.mChannelsPerFrame = UInt32(p->settings.channels);
    f.mFramesPerPacket = 1;
    f.mBytesPerFrame = f.mBytesPerPacket = sizeof(float);
    f.mBitsPerChannel = 32;
    memcpy(data, &f, sizeof f);
    return noErr;
  }
  if (id == kAudioUnitProperty_FastDispatch && element == kAudioUnitRenderSelect && p->settings.fastDispatch &&
      *size >= sizeof(AudioUnitRenderProc))
  {
    AudioUnitRenderProc proc = PlayerRender;
    memcpy(data, &proc, sizeof proc);
    return noErr;
  }
  return kAudioUnitErr_InvalidProperty;
}

ComponentResult PlayerEntry(ComponentParameters* params, void* storage) noexcept
{
  auto* p = static_cast<Player*>(storage);
  switch (params->what)
  {
  case kComponentOpenSelect: {
    ComponentInstance ci = nullptr;
    if (!UnpackComponentParameters(params, &ci))
      return paramErr;
    auto* player = new (std::nothrow) Player;
    if (!player)
      return memFullErr;
    SetComponentInstanceStorage(ci, reinterpret_cast<Handle>(player));
    return noErr;
  }
  case kComponentCloseSelect: delete p; return noErr;
  case kAudioUnitGetPropertySelect: return p ? GetProperty(p, params) : paramErr;
  case kAudioUnitRenderSelect: {
    AudioUnitRenderActionFlags* flags;
    const AudioTimeStamp* ts;
    UInt32 bus, frames;
    AudioBufferList* list;
    if (!UnpackComponentParameters(params, &flags, &ts, &bus, &frames, &list))
      return paramErr;
    return PlayerRender(p, flags, ts, bus, frames, list);
  }
  default: return badComponentSelector;
  }
}

Component PlayerComponent()
{
  static Component component = [] {
    ComponentDescription cd = {MacFourCC("augn"), MacFourCC("plyr"), MacFourCC("Kstl"), 0, 0};
    return RegisterComponent(&cd, PlayerEntry, 0, CFSTR("Kestrel host: buffer player"));
  }();
  return component;
}

} // namespace

AudioUnit AUHostOpenPlayer(const AUHostPlayerSettings& settings)
{
  if (!settings.source || settings.channels < 1)
    return nullptr;
  AudioUnit unit = OpenComponent(PlayerComponent());
  auto* p = reinterpret_cast<Player*>(GetComponentInstanceStorage(unit));
  if (!p)
    return nullptr;
  p->settings = settings;
  p->scratch.assign(size_t(settings.channels) * settings.maxFrames, 0.0f);
  return unit;
}
