// Channel negotiation: stream formats per bus, the channel-count checks,
// supported configurations, and the two ways an input bus gets its source
// (a connection to an upstream unit, or a render callback).

#include <cmath>
#include <cstring>

#include "wdl/IPlug/au/IPlugAU_Graph.h"
#include "wdl/IPlug/au/IPlugAU_PropertyCall.h"

UInt32 MakeDefaultASBD(AudioStreamBasicDescription* pASBD, double sampleRate, int nChannels, bool interleaved)
{
  *pASBD = AudioStreamBasicDescription{};
  pASBD->mSampleRate = sampleRate;
  pASBD->mFormatID = kAudioFormatLinearPCM;
  pASBD->mFramesPerPacket = 1;
  pASBD->mChannelsPerFrame = UInt32(nChannels);
  pASBD->mBitsPerChannel = 8 * sizeof(Float32);
  UInt32 bytes = sizeof(Float32);
  pASBD->mFormatFlags = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked;
  if (interleaved)
    bytes *= UInt32(nChannels);
  else
    pASBD->mFormatFlags |= kAudioFormatFlagIsNonInterleaved;
  pASBD->mBytesPerPacket = pASBD->mBytesPerFrame = bytes;
  return bytes;
}

ComponentResult IPlugAU::GetStreamFormat(PropertyCall& call)
{
  const BusChannels* bus = GetBus(call.scope, call.element);
  if (!bus)
    return kAudioUnitErr_InvalidProperty;
  ComponentResult r = call.Describe(sizeof(AudioStreamBasicDescription), true);
  if (r != noErr || !call.pData)
    return r;
  int nChannels = bus->hostChannels >= 0 ? bus->hostChannels : bus->plugChannels;
  MakeDefaultASBD(call.Out<AudioStreamBasicDescription>(), GetSampleRate(), nChannels, false);
  return noErr;
}

// A refused format leaves the bus as it was: the host may go on with the
// channel count it had.
ComponentResult IPlugAU::SetStreamFormat(AudioUnitScope scope, AudioUnitElement element,
                                         const AudioStreamBasicDescription& format)
{
  BusChannels* bus = GetBus(scope, element);
  if (!bus)
    return kAudioUnitErr_InvalidProperty;
  const UInt32 kFloatOrPacked = kAudioFormatFlagIsFloat | kAudioFormatFlagIsPacked;
  double rate = format.mSampleRate;
  // A bus carries its own channels only: more would be read from or written
  // to the next bus's scratch.
  bool accepted = format.mFormatID == kAudioFormatLinearPCM && (format.mFormatFlags & kFloatOrPacked) &&
                  format.mChannelsPerFrame > 0 && format.mChannelsPerFrame <= UInt32(bus->plugChannels) &&
                  std::isfinite(rate) && rate >= 0.0 &&
                  CheckLegalIO(scope, int(element), int(format.mChannelsPerFrame));
  if (accepted)
  {
    bus->hostChannels = int32_t(format.mChannelsPerFrame);
    if (rate > 0.0)
      SetSampleRate(rate);
  }
  AssessInputConnections();
  if (!accepted)
    return kAudioUnitErr_InvalidProperty;
  return noErr;
}

bool IPlugAU::CheckLegalIO(AudioUnitScope scope, int busIdx, int nChannels)
{
  if (scope == kAudioUnitScope_Input)
  {
    int nIn = NHostChannelsConnected(&mInputBuses, busIdx);
    int nOut = mActive ? NHostChannelsConnected(&mOutputBuses) : -1;
    return LegalIO((nIn > 0 ? nIn : 0) + nChannels, nOut);
  }
  int nIn = mActive ? NHostChannelsConnected(&mInputBuses) : -1;
  int nOut = NHostChannelsConnected(&mOutputBuses, busIdx);
  return LegalIO(nIn, (nOut > 0 ? nOut : 0) + nChannels);
}

bool IPlugAU::CheckLegalIO()
{
  int nIn = NHostChannelsConnected(&mInputBuses);
  int nOut = NHostChannelsConnected(&mOutputBuses);
  return (nIn == 0 && nOut == 0) || LegalIO(nIn, nOut);
}

ComponentResult IPlugAU::GetSupportedNumChannels(PropertyCall& call)
{
  if (!call.IsGlobal())
    return kAudioUnitErr_InvalidProperty;
  int n = NChannelIO();
  ComponentResult r = call.Describe(size_t(n) * sizeof(AUChannelInfo), false);
  if (r != noErr || !call.pData)
    return r;
  auto* info = call.Out<AUChannelInfo>();
  for (int i = 0; i < n; ++i)
  {
    const ChannelIO* io = GetChannelIO(i);
    info[i] = AUChannelInfo{SInt16(io->mIn), SInt16(io->mOut)};
  }
  return noErr;
}

ComponentResult IPlugAU::GetMakeConnection(PropertyCall& call)
{
  if (call.scope != kAudioUnitScope_Global && call.scope != kAudioUnitScope_Input)
    return kAudioUnitErr_InvalidProperty;
  return call.Describe(sizeof(AudioUnitConnection), true);
}

ComponentResult IPlugAU::SetMakeConnection(AudioUnitScope scope, const AudioUnitConnection& conn)
{
  if (scope != kAudioUnitScope_Global && scope != kAudioUnitScope_Input)
    return kAudioUnitErr_InvalidProperty;
  InputBusConnection* pInput =
    mInputConnections.Get(conn.destInputNumber <= UInt32(INT32_MAX) ? int(conn.destInputNumber) : -1);
  if (!pInput)
    return kAudioUnitErr_InvalidProperty;
  *pInput = InputBusConnection{};
  IPlugAUGraph::SetSource(mComponentInstance, conn.destInputNumber, nullptr);
  AudioUnit source = conn.sourceAudioUnit;
  // A unit that pulls, directly or through others, its own output as input
  // would recurse without end.
  bool ok = !(source && (source == mComponentInstance || IPlugAUGraph::ClosesCycle(mComponentInstance, source)));
  if (ok && source)
  {
    AudioStreamBasicDescription format;
    UInt32 size = sizeof format;
    ok = AudioUnitGetProperty(source, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, conn.sourceOutputNumber,
                              &format, &size) == noErr &&
         SetProperty(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, conn.destInputNumber, &size, &format) ==
           noErr;
    if (ok)
    {
      pInput->upstreamUnit = source;
      pInput->upstreamBus = conn.sourceOutputNumber;
      AudioUnitRenderProc proc = nullptr;
      size = sizeof proc;
      if (AudioUnitGetProperty(source, kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, kAudioUnitRenderSelect,
                               &proc, &size) == noErr &&
          proc)
      {
        pInput->upstreamRenderProc = proc;
        pInput->upstreamObject = GetComponentInstanceStorage(source);
      }
      IPlugAUGraph::SetSource(mComponentInstance, conn.destInputNumber, source);
    }
  }
  AssessInputConnections();
  if (!ok)
    return kAudioUnitErr_InvalidProperty;
  return noErr;
}

ComponentResult IPlugAU::GetRenderCallback(PropertyCall& call)
{
  if (call.scope != kAudioUnitScope_Global && call.scope != kAudioUnitScope_Input)
    return kAudioUnitErr_InvalidProperty;
  if (call.element >= UInt32(NInputBuses()))
    return kAudioUnitErr_InvalidProperty;
  return call.Describe(sizeof(AURenderCallbackStruct), true);
}

ComponentResult IPlugAU::SetRenderCallback(AudioUnitScope scope, AudioUnitElement element,
                                           const AURenderCallbackStruct& callback)
{
  if (scope != kAudioUnitScope_Input || element >= UInt32(mInputConnections.GetSize()))
    return kAudioUnitErr_InvalidProperty;
  InputBusConnection* pInput = mInputConnections.Get(int(element));
  *pInput = InputBusConnection{};
  IPlugAUGraph::SetSource(mComponentInstance, element, nullptr);
  if (callback.inputProc)
    pInput->callback = callback;
  AssessInputConnections();
  return noErr;
}
