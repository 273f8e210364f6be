// Buses and their upstream sources: how the host's per-bus channel counts and
// connections map onto the base's channel records.

#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/au/IPlugAU_Graph.h"

#include <cstring>

int IPlugAU::NHostChannelsConnected(WDL_PtrList<BusChannels>* pBuses, int excludeIdx)
{
  bool init = false;
  int nCh = 0;
  for (int i = 0, n = pBuses->GetSize(); i < n; ++i)
  {
    int nHostCh = pBuses->Get(i)->hostChannels;
    if (i != excludeIdx && nHostCh >= 0)
    {
      nCh += nHostCh;
      init = true;
    }
  }
  return init ? nCh : -1;
}

IPlugAU::BusChannels* IPlugAU::GetBus(AudioUnitScope scope, AudioUnitElement busIdx)
{
  if (busIdx > AudioUnitElement(INT32_MAX))
    return nullptr;
  switch (scope)
  {
  case kAudioUnitScope_Input: return mInputBuses.Get(int(busIdx));
  case kAudioUnitScope_Output:
  case kAudioUnitScope_Global: return mOutputBuses.Get(int(busIdx));
  default: return nullptr;
  }
}

void IPlugAU::ClearConnections()
{
  for (int i = 0, n = mInputBuses.GetSize(); i < n; ++i)
  {
    BusChannels* bus = mInputBuses.Get(i);
    bus->connected = false;
    bus->hostChannels = -1;
    *mInputConnections.Get(i) = InputBusConnection{};
  }
  for (int i = 0, n = mOutputBuses.GetSize(); i < n; ++i)
  {
    BusChannels* bus = mOutputBuses.Get(i);
    bus->connected = false;
    bus->hostChannels = -1;
  }
  IPlugAUGraph::DropUnit(mComponentInstance);
  // The inputs are gone: their channels read zeros, not the last block.
  AssessInputConnections();
}

void IPlugAU::AssessInputConnections()
{
  PlugMutexScope lock(GetMutex());
  for (int i = 0, n = mInputBuses.GetSize(); i < n; ++i)
  {
    BusChannels* bus = mInputBuses.Get(i);
    InputBusConnection* conn = mInputConnections.Get(i);
    if (conn->upstreamRenderProc && conn->upstreamObject)
    {
      conn->inputType = eDirectFastProc;
    }
    else if (conn->upstreamUnit)
    {
      conn->inputType = eDirectNoFastProc;
    }
    else if (conn->callback.inputProc)
    {
      conn->inputType = eRenderCallback;
    }
    else
    {
      conn->inputType = eNotConnected;
    }
    bus->connected = conn->inputType != eNotConnected;
    int used = 0;
    if (bus->connected)
    {
      if (bus->hostChannels < 0)
        bus->hostChannels = bus->plugChannels;
      used = bus->hostChannels < bus->plugChannels ? bus->hostChannels : bus->plugChannels;
    }
    // Channels that stay connected are left alone; a dropped one is zeroed.
    SetInputChannelConnections(bus->firstPlugChannel, used, true);
    SetInputChannelConnections(bus->firstPlugChannel + used, bus->plugChannels - used, false);
  }
  mPullInputs.store(true);
}

void IPlugAU::SetBlockSize(int blockSize)
{
  // A render (or its input callback or notification) is using the scratch.
  if (mRendersInFlight.load() > 0)
    return;
  int n = blockSize > 0 ? blockSize : 0;
  int64_t nIn = int64_t(NInChannels()) * n, nOut = int64_t(NOutChannels()) * n;
  if (nIn > INT32_MAX || nOut > INT32_MAX)
    return; // no scratch could hold it: keep the old size
  // All three or none: a render trusts each to hold the block size.
  if (!mInputScratch.Resize(int(nIn)) || !mOutputScratch.Resize(int(nOut)) || !mOutputDoubleScratch.Resize(int(nOut)))
  {
    int old = GetBlockSize();
    mInputScratch.Resize(NInChannels() * old, false);
    mOutputScratch.Resize(NOutChannels() * old, false);
    mOutputDoubleScratch.Resize(NOutChannels() * old, false);
    return;
  }
  if (mInputScratch.Get())
    memset(mInputScratch.Get(), 0, sizeof(float) * size_t(mInputScratch.GetSize()));
  if (mOutputScratch.Get())
    memset(mOutputScratch.Get(), 0, sizeof(float) * size_t(mOutputScratch.GetSize()));
  if (mOutputDoubleScratch.Get())
    memset(mOutputDoubleScratch.Get(), 0, sizeof(double) * size_t(mOutputDoubleScratch.GetSize()));
  IPlugBase::SetBlockSize(blockSize);
  // The scratch moved: inputs are converted afresh before the next block.
  mPullInputs.store(true);
  // The base keeps its old size when it cannot grow; so do the scratch buffers.
  if (GetBlockSize() != n)
    SetBlockSize(GetBlockSize());
}
