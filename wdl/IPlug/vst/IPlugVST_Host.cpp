// Requests to the host: parameter notices, time information, host
// identification, MIDI in and out, latency. All run with mMutex held.

#include <climits>
#include <cstring>

#include "platform/vst/VstOpcodes.h"
#include "wdl/IPlug/IPlugUtilities.h"
#include "wdl/IPlug/vst/IPlugVST.h"

using namespace vst;

intptr_t IPlugVST::HostCallback(int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt)
{
  return mHostCallback ? mHostCallback(&mAEffect, opCode, idx, value, ptr, opt) : 0;
}

void IPlugVST::BeginInformHostOfParamChange(int idx)
{
  HostCallback(host::kBeginEdit, idx, 0, nullptr, 0.0f);
}

void IPlugVST::InformHostOfParamChange(int idx, double normalizedValue)
{
  HostCallback(host::kAutomate, idx, 0, nullptr, float(normalizedValue));
}

void IPlugVST::EndInformHostOfParamChange(int idx)
{
  HostCallback(host::kEndEdit, idx, 0, nullptr, 0.0f);
}

VstTimeInfo* IPlugVST::GetTimeInfo(int32_t flags)
{
  return reinterpret_cast<VstTimeInfo*>(HostCallback(host::kGetTime, 0, flags, nullptr, 0.0f));
}

int IPlugVST::GetSamplePos()
{
  VstTimeInfo* info = GetTimeInfo(0);
  if (!info || !(info->samplePos >= 0.0))
    return 0;
  return TruncToInt(info->samplePos);
}

double IPlugVST::GetTempo()
{
  if (!mHostCallback)
    return 0.0;
  VstTimeInfo* info = GetTimeInfo(kVstTimeTempoValid);
  if (info && (info->flags & kVstTimeTempoValid) && info->tempo >= 0.0)
    return info->tempo;
  return 0.0;
}

void IPlugVST::GetTimeSig(int* pNum, int* pDenom)
{
  *pNum = *pDenom = 0;
  VstTimeInfo* info = GetTimeInfo(kVstTimeSigValid);
  if (info && (info->flags & kVstTimeSigValid) && info->sigNumerator >= 0 && info->sigDenominator >= 0)
  {
    *pNum = info->sigNumerator;
    *pDenom = info->sigDenominator;
  }
}

EHostId IPlugVST::GetHost()
{
  if (GetHostIdRaw() != kHostUninit)
    return GetHostIdRaw();
  char product[kVstHostProductBytes] = {};
  HostCallback(host::kGetProductString, 0, 0, product, 0.0f);
  // A host need not terminate what it writes.
  product[sizeof(product) - 1] = 0;
  int version = 0;
  if (product[0])
  {
    int64_t d = HostCallback(host::kGetVendorVersion, 0, 0, nullptr, 0.0f);
    version = int(uint32_t(((d / 10000) << 16) + (((d % 10000) / 100) << 8) + (d % 100)));
  }
  SetHost(product, version);
  return GetHostIdRaw();
}

void IPlugVST::SetLatency(int samples)
{
  mAEffect.initialDelay = samples;
  IPlugBase::SetLatency(samples);
}

bool IPlugVST::SendVSTEvent(VstEvent* pEvent)
{
  VstEvents list = {};
  list.numEvents = 1;
  list.events[0] = pEvent;
  return HostCallback(host::kProcessEvents, 0, 0, &list, 0.0f) == 1;
}

bool IPlugVST::SendMidiMsg(IMidiMsg* pMsg)
{
  VstMidiEvent event = {};
  event.type = kVstMidiEventType;
  event.byteSize = int32_t(sizeof(VstMidiEvent));
  event.deltaFrames = pMsg->mOffset;
  event.midiData[0] = char(pMsg->mStatus);
  event.midiData[1] = char(pMsg->mData1);
  event.midiData[2] = char(pMsg->mData2);
  return SendVSTEvent(reinterpret_cast<VstEvent*>(&event));
}

bool IPlugVST::SendMidiMsgs(WDL_TypedBuf<IMidiMsg>* pMsgs)
{
  bool ok = true;
  IMidiMsg* msgs = pMsgs->Get();
  for (int i = 0, n = pMsgs->GetSize(); i < n; ++i)
    ok &= SendMidiMsg(&msgs[i]);
  return ok;
}

intptr_t IPlugVST::ProcessEvents(void* ptr)
{
  auto* list = static_cast<VstEvents*>(ptr);
  if (!list)
    return 0;
  for (int i = 0; i < list->numEvents; ++i)
  {
    VstEvent* event = list->events[i];
    if (!event)
      continue;
    if (event->type == kVstMidiEventType)
    {
      auto* midi = reinterpret_cast<VstMidiEvent*>(event);
      IMidiMsg msg(midi->deltaFrames, uint8_t(midi->midiData[0]), uint8_t(midi->midiData[1]),
                   uint8_t(midi->midiData[2]));
      ProcessMidiMsg(&msg);
    }
    else
    {
      SendVSTEvent(event);
    }
  }
  return 1;
}
