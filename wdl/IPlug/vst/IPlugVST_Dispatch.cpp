// The dispatcher: one line per request, each calling a named method.

#include <cstdio>
#include <cstring>

#include "platform/vst/VstOpcodes.h"
#include "wdl/IPlug/IPlugText.h"
#include "wdl/IPlug/vst/IPlugVST.h"
#include "wdl/IPlug/vst/IPlugVSTTrampoline.h"

using namespace vst;

// Rates beyond this are not audio rates: a host sending one is broken.
constexpr float kMaxSampleRate = 1e7f;

intptr_t IPlugVST::VSTDispatcher(AEffect* pEffect, int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt)
{
  return VSTForward<IPlugVST>(pEffect, intptr_t(0), [&](IPlugVST* plug) -> intptr_t {
    if (opCode == op::kClose)
      return plug->Close();
    PlugMutexScope lock(&plug->mMutex);
    return plug->Dispatch(opCode, idx, value, ptr, opt);
  });
}

intptr_t IPlugVST::Dispatch(int32_t opCode, int32_t idx, intptr_t value, void* ptr, float opt)
{
  switch (opCode)
  {
  case op::kOpen: return Open();
  case op::kSetProgram: return SetProgram(value);
  case op::kGetProgram: return GetCurrentPresetIdx();
  case op::kSetProgramName: return SetProgramName(static_cast<const char*>(ptr));
  case op::kGetProgramName: return GetProgramName(static_cast<char*>(ptr));
  case op::kGetParamLabel: return GetParamLabel(idx, static_cast<char*>(ptr));
  case op::kGetParamDisplay: return GetParamDisplay(idx, static_cast<char*>(ptr));
  case op::kGetParamName: return GetParamName(idx, static_cast<char*>(ptr));
  case op::kSetSampleRate: return SetSampleRateFromHost(opt);
  case op::kSetBlockSize: return SetBlockSizeFromHost(value);
  case op::kMainsChanged: return MainsChanged(value);
  case op::kEditGetRect: return EditorGetRect(ptr);
  case op::kEditOpen: return EditorOpen(ptr);
  case op::kEditClose: return EditorClose();
  case op::kEditIdle: return Idle();
  case op::kIdle: return Idle();
  case op::kIdentify: return kIdentifyAnswer;
  case op::kGetChunk: return GetChunk(static_cast<void**>(ptr), idx == 0);
  case op::kSetChunk: return SetChunk(ptr, value, idx == 0);
  case op::kProcessEvents: return ProcessEvents(ptr);
  case op::kCanBeAutomated: return 1;
  case op::kGetPlugCategory: return 1;
  case op::kGetProgramNameIndexed: return GetProgramNameIndexed(idx, static_cast<char*>(ptr));
  case op::kGetInputProperties: return GetPinProperties(idx, ptr, true);
  case op::kGetOutputProperties: return GetPinProperties(idx, ptr, false);
  case op::kSetSpeakerArrangement: return SetSpeakerArrangement(value, ptr);
  case op::kGetEffectName: return CopyToHost(GetEffectName(), static_cast<char*>(ptr), kVstEffectNameBytes);
  case op::kGetVendorString: return CopyToHost(GetMfrName(), static_cast<char*>(ptr), kVstVendorBytes);
  case op::kGetProductString: return CopyToHost(GetProductName(), static_cast<char*>(ptr), kVstProductBytes);
  case op::kVendorSpecific: return VendorSpecific(idx, value, ptr, opt);
  case op::kCanDo: return CanDo(static_cast<const char*>(ptr));
  case op::kGetVstVersion: return kInterfaceVersion;
  case op::kGetMidiKeyName: return GetMidiKeyName(ptr);
  case op::kGetSpeakerArrangement: return GetSpeakerArrangement(value, ptr);
  default: return 0;
  }
}

intptr_t IPlugVST::Close()
{
  mMutex.Enter();
  // Closed from inside one of its own calls (a host answering a request by
  // closing): deleting now would free a lock that is still held further up
  // this thread's stack, so the instance stays.
  if (mMutex.m_lockcnt > 0)
  {
    mMutex.Leave();
    return 0;
  }
  mMutex.Leave();
  delete this;
  return 0;
}

intptr_t IPlugVST::Open()
{
  HostSpecificInit();
  OnParamReset();
  return 0;
}

intptr_t IPlugVST::SetProgram(intptr_t value)
{
  if (!DoesStateChunks())
    ModifyCurrentPreset();
  // An index beyond 32 bits must not wrap onto a valid slot.
  RestorePreset(value >= 0 && value < NPresets() ? int(value) : -1);
  return 0;
}

intptr_t IPlugVST::SetProgramName(const char* name)
{
  if (name)
    ModifyCurrentPreset(name);
  return 0;
}

intptr_t IPlugVST::GetProgramName(char* name)
{
  if (name)
    IPlugCopyText(name, GetPresetName(GetCurrentPresetIdx()), kVstProgramNameBytes);
  return 0;
}

intptr_t IPlugVST::GetParamLabel(int idx, char* text)
{
  IParam* param = GetParam(idx);
  if (param && text)
    IPlugCopyText(text, param->GetLabelForHost(), kVstParamTextBytes);
  return 0;
}

intptr_t IPlugVST::GetParamDisplay(int idx, char* text)
{
  IParam* param = GetParam(idx);
  if (param && text)
    param->GetDisplayForHost(param->Value(), false, text, kVstParamTextBytes);
  return 0;
}

intptr_t IPlugVST::GetParamName(int idx, char* text)
{
  IParam* param = GetParam(idx);
  if (param && text)
    IPlugCopyText(text, param->GetNameForHost(), kVstParamTextBytes);
  return 0;
}

intptr_t IPlugVST::SetSampleRateFromHost(float sampleRate)
{
  // The effect divides by the rate: keep the last usable one.
  if (!(sampleRate > 0.0f) || sampleRate > kMaxSampleRate)
    return 0;
  SetSampleRate(sampleRate);
  Reset();
  return 0;
}

intptr_t IPlugVST::SetBlockSizeFromHost(intptr_t value)
{
  if (value < 1 || value > kVSTMaxBlockSize || mProcessing)
    return 0;
  SetBlockSize(int(value));
  Reset();
  return 0;
}

intptr_t IPlugVST::MainsChanged(intptr_t value)
{
  OnActivate(value != 0);
  if (!value)
    Reset();
  return 0;
}

intptr_t IPlugVST::GetProgramNameIndexed(int idx, char* name)
{
  if (!name)
    return 0;
  IPlugCopyText(name, GetPresetName(idx), kVstProgramNameBytes);
  return name[0] ? 1 : 0;
}

intptr_t IPlugVST::GetPinProperties(int idx, void* ptr, bool input)
{
  auto* pin = static_cast<VstPinInfo*>(ptr);
  if (!pin || idx < 0 || idx >= (input ? NInChannels() : NOutChannels()))
    return 0;
  pin->flags = kVstPinIsActive;
  if (idx % 2 == 0)
    pin->flags |= kVstPinIsStereo;
  snprintf(pin->label, sizeof(pin->label), input ? "Input %d" : "Output %d", idx + 1);
  return 1;
}

// The first n channels of one side connected, the others not. A negative
// count is malformed and leaves that side as it was; so does a request made
// from inside a process call, which has counted the host's pointers.
intptr_t IPlugVST::SetSpeakerArrangement(intptr_t value, void* ptr)
{
  auto* in = reinterpret_cast<const VstSpeakerArrangement*>(value);
  auto* out = static_cast<const VstSpeakerArrangement*>(ptr);
  if ((in && in->numChannels < 0) || (out && out->numChannels < 0) || mProcessing)
    return 0;
  if (in)
  {
    int n = in->numChannels < NInChannels() ? in->numChannels : NInChannels();
    SetInputChannelConnections(0, n, true);
    SetInputChannelConnections(n, NInChannels() - n, false);
  }
  if (out)
  {
    int n = out->numChannels < NOutChannels() ? out->numChannels : NOutChannels();
    SetOutputChannelConnections(0, n, true);
    SetOutputChannelConnections(n, NOutChannels() - n, false);
  }
  return 1;
}

intptr_t IPlugVST::GetSpeakerArrangement(intptr_t value, void* ptr)
{
  if (value)
    *reinterpret_cast<VstSpeakerArrangement**>(value) = &mInputArrangement;
  if (ptr)
    *static_cast<VstSpeakerArrangement**>(ptr) = &mOutputArrangement;
  return 1;
}

intptr_t IPlugVST::CopyToHost(const char* text, char* dest, int size)
{
  if (!dest)
    return 0;
  IPlugCopyText(dest, text, size_t(size));
  return 1;
}

intptr_t IPlugVST::VendorSpecific(int idx, intptr_t value, void* ptr, float opt)
{
  if (idx != kVendorParamDisplayIndex || !ptr)
    return 0;
  IParam* param = value >= 0 && value < NParams() ? GetParam(int(value)) : nullptr;
  if (param)
    param->GetDisplayForHost(opt, true, static_cast<char*>(ptr), kVstParamTextBytes);
  return kVendorParamDisplayAnswer;
}

// Compares without reading past the end of the shorter text.
static bool SameText(const char* hostText, const char* ours)
{
  return !strcmp(hostText, ours);
}

intptr_t IPlugVST::CanDo(const char* what)
{
  if (!what)
    return 0;
  if (SameText(what, cando::kReceiveTimeInfo))
    return 1;
  if (mDoesMidi && (SameText(what, cando::kSendEvents) || SameText(what, cando::kSendMidiEvent) ||
                    SameText(what, cando::kReceiveEvents) || SameText(what, cando::kReceiveMidiEvent)))
    return 1;
  if (SameText(what, cando::kVendorExtensions) || SameText(what, cando::kVendorViewAsConfig))
    return kVendorCanDoAnswer;
  return 0;
}

intptr_t IPlugVST::GetMidiKeyName(void* ptr)
{
  auto* key = static_cast<MidiKeyName*>(ptr);
  if (!key)
    return 0;
  // The effect's hook takes no size: give it room, then copy what fits.
  char name[MAX_PRESET_NAME_LEN] = {};
  bool ok = MidiNoteName(key->thisKeyNumber, name);
  name[sizeof(name) - 1] = 0;
  IPlugCopyText(key->keyName, name);
  return ok ? 1 : 0;
}
