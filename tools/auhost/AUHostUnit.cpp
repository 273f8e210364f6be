#include "tools/auhost/AUHostUnit.h"

#include <cstdlib>
#include <vector>

#include "platform/audiounit/AudioUnitProperties.h"
#include "platform/corefoundation/CoreFoundation.h"

namespace
{

std::vector<AUChannelInfo> SupportedChannels(AudioUnit unit)
{
  UInt32 size = 0;
  std::vector<AUChannelInfo> configs;
  if (AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, &size,
                               nullptr) == noErr)
  {
    configs.resize(size / sizeof(AUChannelInfo));
    if (configs.empty() || AudioUnitGetProperty(unit, kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global,
                                                0, configs.data(), &size) != noErr)
      configs.clear();
  }
  return configs;
}

OSStatus SetFormat(AudioUnit unit, AudioUnitScope scope, double rate, int channels)
{
  AudioStreamBasicDescription f = {};
  f.mSampleRate = rate;
  f.mFormatID = kAudioFormatLinearPCM;
  f.mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked | kAudioFormatFlagIsNonInterleaved;
  f.mFramesPerPacket = 1;
  f.mBytesPerPacket = f.mBytesPerFrame = sizeof(float);
  f.mChannelsPerFrame = UInt32(channels);
  f.mBitsPerChannel = 32;
  return AudioUnitSetProperty(unit, kAudioUnitProperty_StreamFormat, scope, 0, &f, sizeof f);
}

} // namespace

bool AUHostFail(std::string* error, const std::string& why, OSStatus err)
{
  *error = err == noErr ? why : why + " (" + std::to_string(err) + ")";
  return false;
}

void AUHostRelease(CFTypeRef object)
{
  if (object)
    CFRelease(object);
}

std::string AUHostText(CFStringRef s)
{
  CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(s), kCFStringEncodingUTF8);
  if (size < 0)
    return std::string();
  std::vector<char> buf(size_t(size) + 1);
  return CFStringGetCString(s, buf.data(), CFIndex(buf.size()), kCFStringEncodingUTF8) ? buf.data() : "";
}

bool AUHostNegotiate(AudioUnit unit, AUHostFormat* format, std::string* error)
{
  OSStatus err;
  if ((err = AudioUnitSetProperty(unit, kAudioUnitProperty_MaximumFramesPerSlice, kAudioUnitScope_Global, 0,
                                  &format->maxFrames, sizeof format->maxFrames)))
    return AUHostFail(error, "the unit refused the slice size", err);
  if ((err = AudioUnitSetProperty(unit, kAudioUnitProperty_SampleRate, kAudioUnitScope_Global, 0, &format->sampleRate,
                                  sizeof format->sampleRate)))
    return AUHostFail(error, "the unit refused the sample rate", err);
  // Bus 0 carries at most two channels; the outputs follow from the unit's
  // configurations, so initialise sees a legal pair.
  int nIn = format->inputChannels < 2 ? format->inputChannels : 2;
  int nOut = 0;
  for (const AUChannelInfo& c : SupportedChannels(unit))
    if (c.inChannels == nIn && c.outChannels <= 2 && c.outChannels > nOut &&
        (!format->outputChannels || c.outChannels == format->outputChannels))
      nOut = c.outChannels;
  if (!nOut)
    return AUHostFail(error, "the unit has no configuration for " + std::to_string(nIn) + " inputs");
  if ((err = SetFormat(unit, kAudioUnitScope_Input, format->sampleRate, nIn)))
    return AUHostFail(error, "the unit refused the input format", err);
  if ((err = SetFormat(unit, kAudioUnitScope_Output, format->sampleRate, nOut)))
    return AUHostFail(error, "the unit refused the output format", err);
  if ((err = AudioUnitInitialize(unit)))
    return AUHostFail(error, "the unit did not initialise", err);
  format->inputChannels = nIn;
  format->outputChannels = nOut;
  return true;
}

bool AUHostSetParameter(AudioUnit unit, const std::string& name, float value, std::string* error)
{
  UInt32 size = 0;
  if (AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, &size, nullptr))
    return AUHostFail(error, "the unit lists no parameters");
  std::vector<AudioUnitParameterID> ids(size / sizeof(AudioUnitParameterID));
  if (!ids.empty() &&
      AudioUnitGetProperty(unit, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids.data(), &size))
    return AUHostFail(error, "the unit lists no parameters");
  for (AudioUnitParameterID id : ids)
  {
    AudioUnitParameterInfo info = {};
    size = sizeof info;
    if (AudioUnitGetProperty(unit, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, id, &info, &size))
      continue;
    bool match = AUHostText(info.cfNameString) == name;
    AUHostRelease(info.cfNameString);
    AUHostRelease(info.unitName); // null without a custom unit
    if (!match)
      continue;
    OSStatus err = AudioUnitSetParameter(unit, id, kAudioUnitScope_Global, 0, value, 0);
    return err ? AUHostFail(error, "the unit refused " + name, err) : true;
  }
  return AUHostFail(error, "no parameter named " + name);
}

bool AUHostSelectPreset(AudioUnit unit, const std::string& preset, std::string* error)
{
  CFArrayRef presets = nullptr;
  UInt32 size = sizeof presets;
  OSStatus err =
    AudioUnitGetProperty(unit, kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, &presets, &size);
  if (err)
    return AUHostFail(error, "the unit lists no presets", err);
  char* end = nullptr;
  long number = strtol(preset.c_str(), &end, 10);
  bool byNumber = end != preset.c_str() && !*end;
  AUPreset chosen = {-1, nullptr};
  for (CFIndex i = 0, n = CFArrayGetCount(presets); i < n; ++i)
  {
    auto* p = static_cast<AUPreset*>(const_cast<void*>(CFArrayGetValueAtIndex(presets, i)));
    if (chosen.presetNumber < 0 && (byNumber ? p->presetNumber == number : AUHostText(p->presetName) == preset))
      chosen.presetNumber = p->presetNumber;
    AUHostRelease(p->presetName);
    free(p);
  }
  CFRelease(presets);
  if (chosen.presetNumber < 0)
    return AUHostFail(error, "no preset " + preset);
  err = AudioUnitSetProperty(unit, kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, &chosen, sizeof chosen);
  return err ? AUHostFail(error, "the unit refused preset " + preset, err) : true;
}

CFPropertyListRef AUHostSaveState(AudioUnit unit, std::string* error)
{
  CFPropertyListRef state = nullptr;
  UInt32 size = sizeof state;
  OSStatus err = AudioUnitGetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, &size);
  if (err)
    AUHostFail(error, "the unit gave no class info", err);
  return err ? nullptr : state;
}

bool AUHostRestoreState(AudioUnit unit, CFPropertyListRef state, std::string* error)
{
  OSStatus err =
    AudioUnitSetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, &state, sizeof state);
  return err ? AUHostFail(error, "the unit refused the class info", err) : true;
}
