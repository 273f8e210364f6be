// Rendering: pulls each connected input bus once per time stamp, binds the
// host's buffers to the base's channels and runs the float processing frame.
// Audio thread; no lock of its own (the render selector holds mMutex, fast
// dispatch does not), no allocation.

#include <cstring>

#include "wdl/IPlug/au/IPlugAU.h"

namespace
{

// Room for one input bus's buffers; a bus carries at most two channels, the
// rest is headroom an upstream unit may not exceed.
constexpr UInt32 kMaxBusBuffers = 128;

struct BusBufferList
{
  UInt32 mNumberBuffers;
  AudioBuffer mBuffers[kMaxBusBuffers];

  AudioBufferList* Get() { return reinterpret_cast<AudioBufferList*>(this); }
};
static_assert(offsetof(BusBufferList, mBuffers) == offsetof(AudioBufferList, mBuffers));

UInt32 FrameBytes(UInt32 nFrames)
{
  return nFrames * UInt32(sizeof(float));
}

} // namespace

ComponentResult IPlugAU::RenderProc(void* pPlug, AudioUnitRenderActionFlags*, const AudioTimeStamp* pTimestamp,
                                    UInt32 outputBusIdx, UInt32 nFrames, AudioBufferList* pBufferList)
{
  if (!pPlug)
    return paramErr;
  auto* plug = static_cast<IPlugAU*>(pPlug);
  plug->mRendersInFlight.fetch_add(1);
  ComponentResult r;
  // Reached directly by fast dispatch: nothing may leave through the C
  // boundary, and the render must count as over whatever happened.
  try
  {
    r = plug->Render(pTimestamp, outputBusIdx, nFrames, pBufferList);
  }
  catch (...)
  {
    r = internalComponentErr;
  }
  // Read before the render counts as over: afterwards another thread may
  // already have deleted a unit closed meanwhile.
  bool closing = plug->mClosePending.load();
  plug->mRendersInFlight.fetch_sub(1);
  if (closing)
    FinishDeferredClose(plug);
  return r;
}

ComponentResult IPlugAU::Render(const AudioTimeStamp* pTimestamp, UInt32 outputBusIdx, UInt32 nFrames,
                                AudioBufferList* pBufferList)
{
  if (mBypassed.load(std::memory_order_relaxed))
    return noErr;
  BusChannels* bus = mOutputBuses.Get(outputBusIdx < UInt32(NOutputBuses()) ? int(outputBusIdx) : -1);
  if (!pTimestamp || !(pTimestamp->mFlags & kAudioTimeStampSampleTimeValid) || !bus ||
      nFrames > UInt32(GetBlockSize()) || !pBufferList)
    return kAudioUnitErr_InvalidPropertyValue;
  // A host buffer too small for the block would be written past its end.
  UInt32 nBusBuffers =
    pBufferList->mNumberBuffers < UInt32(bus->plugChannels) ? pBufferList->mNumberBuffers : UInt32(bus->plugChannels);
  for (UInt32 j = 0; j < nBusBuffers; ++j)
  {
    const AudioBuffer& b = pBufferList->mBuffers[j];
    if (b.mData && b.mDataByteSize < FrameBytes(nFrames))
      return kAudioUnitErr_InvalidPropertyValue;
  }

  NotifySnapshot* notes = mNotifySnapshot.load();
  int nNotifies = notes ? int(notes->notifies.size()) : 0;
  SendRenderNotifies(nNotifies, kAudioUnitRenderAction_PreRender, pTimestamp, outputBusIdx, nFrames, pBufferList);
  ComponentResult r = PullInputs(pTimestamp, nFrames);
  if (r == noErr)
  {
    if (!bus->connected || bus->hostChannels != int32_t(pBufferList->mNumberBuffers))
      ConnectOutputBus(bus, pBufferList->mNumberBuffers);
    AttachOutputBus(bus, pBufferList, nFrames);
    ProcessBuffers(0.0f, int(nFrames));
    SendRenderNotifies(nNotifies, kAudioUnitRenderAction_PostRender, pTimestamp, outputBusIdx, nFrames, pBufferList);
  }
  return r;
}

// The pass calls the first count records listed when it starts; each only
// if it is still listed when its turn comes, so a record removed by an
// earlier notification (or by another thread) is never called.
void IPlugAU::SendRenderNotifies(int count, AudioUnitRenderActionFlags flags, const AudioTimeStamp* pTimestamp,
                                 UInt32 outputBusIdx, UInt32 nFrames, AudioBufferList* pBufferList)
{
  NotifySnapshot* pass = mNotifySnapshot.load();
  if (!pass)
    return;
  if (count > int(pass->notifies.size()))
    count = int(pass->notifies.size());
  for (int i = 0; i < count; ++i)
  {
    const RenderNotify* record = pass->notifies[size_t(i)].first;
    NotifySnapshot* now = mNotifySnapshot.load();
    for (const auto& [listed, notify] : now->notifies)
    {
      if (listed != record)
        continue;
      AudioUnitRenderActionFlags f = flags;
      notify.mFunc(notify.mRefCon, &f, pTimestamp, outputBusIdx, nFrames, pBufferList);
      break;
    }
  }
}

ComponentResult IPlugAU::PullInputs(const AudioTimeStamp* pTimestamp, UInt32 nFrames)
{
  double sampleTime = pTimestamp->mSampleTime;
  if (!mPullInputs.load(std::memory_order_relaxed) &&
      sampleTime == mLastRenderSampleTime.load(std::memory_order_relaxed))
    return noErr;
  for (int i = 0, n = NInputBuses(); i < n; ++i)
  {
    ComponentResult r = PullInputBus(i, pTimestamp, nFrames);
    if (r != noErr)
      return r;
  }
  mLastRenderSampleTime.store(sampleTime, std::memory_order_relaxed);
  mPullInputs.store(false, std::memory_order_relaxed);
  return noErr;
}

ComponentResult IPlugAU::PullInputBus(int busIdx, const AudioTimeStamp* pTimestamp, UInt32 nFrames)
{
  const BusChannels* bus = mInputBuses.Get(busIdx);
  if (!bus->connected)
    return noErr;
  // Copied: a setter running beside a fast-dispatch render may replace the
  // record; a bus found unconnected after all is left silent.
  InputBusConnection conn = *mInputConnections.Get(busIdx);
  int nChannels = bus->hostChannels < bus->plugChannels ? bus->hostChannels : bus->plugChannels;
  if (nChannels <= 0)
    return noErr;

  BusBufferList list;
  list.mNumberBuffers = UInt32(nChannels);
  for (int c = 0; c < nChannels; ++c)
    list.mBuffers[c] = AudioBuffer{1, FrameBytes(nFrames), nullptr};
  float* scratch = mInputScratch.Get() + size_t(bus->firstPlugChannel) * nFrames;
  AudioUnitRenderActionFlags flags = 0;
  ComponentResult r = noErr;
  switch (conn.inputType)
  {
  case eDirectNoFastProc:
    r = AudioUnitRender(conn.upstreamUnit, &flags, pTimestamp, conn.upstreamBus, nFrames, list.Get());
    break;
  case eRenderCallback:
    for (int c = 0; c < nChannels; ++c)
      list.mBuffers[c].mData = scratch + size_t(c) * nFrames;
    r = conn.callback.inputProc(conn.callback.inputProcRefCon, &flags, pTimestamp, UInt32(busIdx), nFrames, list.Get());
    break;
  case eDirectFastProc:
    r = conn.upstreamRenderProc(conn.upstreamObject, &flags, pTimestamp, conn.upstreamBus, nFrames, list.Get());
    break;
  default: return noErr;
  }
  if (r != noErr)
    return r;

  for (int c = 0; c < nChannels; ++c)
  {
    // A source that left a buffer without data, or with fewer frames than
    // asked, is read as far as it goes and as silence after that.
    float* own = scratch + size_t(c) * nFrames;
    bool listed = UInt32(c) < list.mNumberBuffers && list.mNumberBuffers <= kMaxBusBuffers;
    float* data = listed ? static_cast<float*>(list.mBuffers[c].mData) : nullptr;
    UInt32 have = data ? list.mBuffers[c].mDataByteSize / UInt32(sizeof(float)) : 0;
    if (have < nFrames)
    {
      if (have)
        memmove(own, data, size_t(have) * sizeof(float));
      memset(own + have, 0, size_t(nFrames - have) * sizeof(float));
      data = own;
    }
    AttachInputBuffers(bus->firstPlugChannel + c, 1, &data, int(nFrames));
  }
  return noErr;
}

// Channels the host passed buffers for are connected, up to the bus's own;
// the bus's remaining channels are not.
void IPlugAU::ConnectOutputBus(BusChannels* bus, UInt32 nBuffers)
{
  UInt32 n = UInt32(bus->hostChannels) < nBuffers ? UInt32(bus->hostChannels) : nBuffers;
  if (n > UInt32(bus->plugChannels))
    n = UInt32(bus->plugChannels);
  SetOutputChannelConnections(bus->firstPlugChannel, int(n), true);
  SetOutputChannelConnections(bus->firstPlugChannel + int(n), bus->plugChannels - int(n), false);
  bus->connected = true;
}

void IPlugAU::AttachOutputBus(const BusChannels* bus, AudioBufferList* pBufferList, UInt32 nFrames)
{
  const int first = bus->firstPlugChannel;
  const UInt32 nBuffers = pBufferList->mNumberBuffers;
  float* floatScratch = mOutputScratch.Get();
  double* doubleScratch = mOutputDoubleScratch.Get();
  for (int ch = 0, n = NOutChannels(); ch < n; ++ch)
  {
    UInt32 j = UInt32(ch - first);
    bool hostBuffer = ch >= first && ch < first + bus->plugChannels && j < nBuffers;
    float* dest = floatScratch + size_t(ch) * nFrames;
    if (hostBuffer)
    {
      AudioBuffer& b = pBufferList->mBuffers[j];
      // No host memory: the unit renders into its own and hands it out.
      if (!b.mData)
      {
        b.mData = dest;
        b.mDataByteSize = FrameBytes(nFrames);
      }
      dest = static_cast<float*>(b.mData);
      // A buffer of a channel the bus leaves unconnected is not written by
      // the frame: it gets silence.
      if (!IsOutChannelConnected(ch))
        memset(dest, 0, size_t(nFrames) * sizeof(float));
    }
    // The float frame converts from wherever the effect's output slot
    // points; pointing it at zeroed memory makes a channel the effect leaves
    // alone come out silent instead of repeating an older block. Channels of
    // other buses go to the unit's own memory, never to an earlier render's
    // host buffers.
    double* out = doubleScratch + size_t(ch) * nFrames;
    memset(out, 0, size_t(nFrames) * sizeof(double));
    AttachOutputBuffers(ch, 1, &dest);
    AttachOutputBuffers(ch, 1, &out);
  }
  // Buffers beyond the bus's channels get silence, within their own size.
  for (UInt32 j = UInt32(bus->plugChannels); j < nBuffers; ++j)
  {
    AudioBuffer& b = pBufferList->mBuffers[j];
    UInt32 bytes = b.mDataByteSize < FrameBytes(nFrames) ? b.mDataByteSize : FrameBytes(nFrames);
    if (b.mData)
      memset(b.mData, 0, bytes);
  }
}
