// Host identity, host time and the remaining host-communication slots.

#include <climits>
#include <cmath>

#include "platform/corefoundation/CFBundle.h"
#include "wdl/IPlug/au/IPlugAU.h"
#include "wdl/IPlug/au/IPlugAU_CFText.h"
#include "wdl/IPlug/IPlugUtilities.h"

EHostId IPlugAU::GetHost()
{
  EHostId host = GetHostIdRaw();
  if (host != kHostUninit)
    return host;
  WDL_TypedBuf<char> id;
  if (CFStringToText(CFBundleGetIdentifier(CFBundleGetMainBundle()), &id))
  {
    SetHost(id.Get(), 0);
    host = GetHostIdRaw();
    if (host != kHostUninit)
      return host;
  }
  SetHost("", 0);
  return GetHostIdRaw();
}

void IPlugAU::HostSpecificInit()
{
  GetHost();
}

double IPlugAU::GetTempo()
{
  if (mHostCallbacks.beatAndTempoProc)
  {
    Float64 beat = 0.0, tempo = 0.0;
    mHostCallbacks.beatAndTempoProc(mHostCallbacks.hostUserData, &beat, &tempo);
    if (tempo > 0.0)
      mCachedTempo = tempo;
  }
  return mCachedTempo;
}

int IPlugAU::GetSamplePos()
{
  if (!mHostCallbacks.transportStateProc)
    return 0;
  Boolean playing = 0, changed = 0, cycling = 0;
  Float64 sample = 0.0, cycleStart = 0.0, cycleEnd = 0.0;
  mHostCallbacks.transportStateProc(mHostCallbacks.hostUserData, &playing, &changed, &sample, &cycling, &cycleStart,
                                    &cycleEnd);
  return TruncToInt(sample);
}

void IPlugAU::GetTimeSig(int* pNum, int* pDenom)
{
  if (!mHostCallbacks.musicalTimeLocationProc)
    return;
  UInt32 toNextBeat = 0, denominator = 0;
  Float32 numerator = 0.0f;
  Float64 downBeat = 0.0;
  mHostCallbacks.musicalTimeLocationProc(mHostCallbacks.hostUserData, &toNextBeat, &numerator, &denominator, &downBeat);
  if (pNum)
    *pNum = TruncToInt(numerator);
  if (pDenom)
    *pDenom = int(denominator);
}

void IPlugAU::ResizeGraphics(int, int) {}

void IPlugAU::SetLatency(int samples)
{
  InformListeners(kAudioUnitProperty_Latency, kAudioUnitScope_Global);
  IPlugBase::SetLatency(samples);
}

bool IPlugAU::SendMidiMsg(IMidiMsg*)
{
  return false;
}

bool IPlugAU::SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs)
{
  if (!pMsgs)
    return true;
  for (int i = 0, n = pMsgs->GetSize(); i < n; ++i)
    SendMidiMsg(pMsgs->Get() + i);
  return true;
}
