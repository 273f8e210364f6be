#include "tools/auhost/AUHostRender.h"

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"
#include "tools/auhost/AUHostPlayer.h"

namespace
{

struct CallbackFeed
{
  const SignalBuffer* source;
};

// Fills the unit's buffers from the source at the time stamp's sample,
// silence past its end.
OSStatus FeedInput(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp* ts, UInt32, UInt32 frames,
                   AudioBufferList* list)
{
  const SignalBuffer& src = *static_cast<CallbackFeed*>(refCon)->source;
  long start = long(ts->mSampleTime);
  for (UInt32 c = 0; c < list->mNumberBuffers; ++c)
  {
    auto* out = static_cast<float*>(list->mBuffers[c].mData);
    if (!out)
      return kAudioUnitErr_InvalidPropertyValue;
    for (UInt32 i = 0; i < frames; ++i)
    {
      long at = start + long(i);
      out[i] = c < UInt32(src.NumChannels()) && at < src.NumFrames() ? src.channels[c][size_t(at)] : 0.0f;
    }
  }
  return noErr;
}

} // namespace

bool AUHostRender(AudioUnit unit, const AUHostFormat& format, AUHostInput input, const SignalBuffer& in,
                  SignalBuffer* out, std::string* error, double* seconds)
{
  CallbackFeed feed{&in};
  AudioUnit player = nullptr;
  OSStatus err;
  if (input == AUHostInput::kCallback)
  {
    AURenderCallbackStruct cb = {FeedInput, &feed};
    err = AudioUnitSetProperty(unit, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &cb, sizeof cb);
    if (err)
      return AUHostFail(error, "the unit refused the render callback", err);
  }
  else
  {
    AUHostPlayerSettings settings;
    settings.source = &in;
    settings.channels = format.inputChannels;
    settings.maxFrames = format.maxFrames;
    settings.fastDispatch = input == AUHostInput::kConnection;
    player = AUHostOpenPlayer(settings);
    if (!player)
      return AUHostFail(error, "the player did not open");
    AudioUnitConnection conn = {player, 0, 0};
    err = AudioUnitSetProperty(unit, kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, &conn, sizeof conn);
    if (err)
    {
      CloseComponent(player);
      return AUHostFail(error, "the unit refused the connection", err);
    }
  }

  const int nOut = format.outputChannels, frames = in.NumFrames();
  out->sampleRate = in.sampleRate;
  out->Resize(nOut, frames);
  std::vector<char> listBytes(AudioBufferListBytes(UInt32(nOut)));
  auto* list = reinterpret_cast<AudioBufferList*>(listBytes.data());
  std::chrono::steady_clock::duration spent{};
  bool ok = true;
  for (int pos = 0; pos < frames && ok; pos += int(format.maxFrames))
  {
    UInt32 n = UInt32(frames - pos) < format.maxFrames ? UInt32(frames - pos) : format.maxFrames;
    AudioTimeStamp ts = {};
    ts.mSampleTime = pos;
    ts.mFlags = kAudioTimeStampSampleTimeValid;
    list->mNumberBuffers = UInt32(nOut);
    for (int c = 0; c < nOut; ++c)
      list->mBuffers[c] = AudioBuffer{1, n * UInt32(sizeof(float)), out->channels[size_t(c)].data() + pos};
    AudioUnitRenderActionFlags flags = 0;
    auto start = std::chrono::steady_clock::now();
    err = AudioUnitRender(unit, &flags, &ts, 0, n, list);
    spent += std::chrono::steady_clock::now() - start;
    if (err)
      ok = AUHostFail(error, "render failed at frame " + std::to_string(pos), err);
  }

  // Disconnected again, so the unit holds no pointer into this call.
  if (player)
  {
    AudioUnitConnection none = {nullptr, 0, 0};
    AudioUnitSetProperty(unit, kAudioUnitProperty_MakeConnection, kAudioUnitScope_Input, 0, &none, sizeof none);
    CloseComponent(player);
  }
  else
  {
    AURenderCallbackStruct none = {nullptr, nullptr};
    AudioUnitSetProperty(unit, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0, &none, sizeof none);
  }
  if (seconds)
    *seconds = std::chrono::duration<double>(spent).count();
  return ok;
}
