// Parameter procedures and the parameter events that tell the host about
// edits made in the editor.

#include <cmath>

#include "wdl/IPlug/IGraphics.h"
#include "wdl/IPlug/au/IPlugAU.h"

ComponentResult IPlugAU::GetParamProc(void* pPlug, AudioUnitParameterID paramID, AudioUnitScope scope, AudioUnitElement,
                                      AudioUnitParameterValue* pValue)
{
  if (scope != kAudioUnitScope_Global)
    return kAudioUnitErr_InvalidProperty;
  if (!pPlug || !pValue)
    return paramErr;
  IPlugAU* plug = static_cast<IPlugAU*>(pPlug);
  PlugMutexScope lock(plug->GetMutex());
  if (paramID >= UInt32(plug->NParams()))
    return kAudioUnitErr_InvalidElement;
  *pValue = AudioUnitParameterValue(plug->GetParam(int(paramID))->Value());
  return noErr;
}

ComponentResult IPlugAU::SetParamProc(void* pPlug, AudioUnitParameterID paramID, AudioUnitScope scope, AudioUnitElement,
                                      AudioUnitParameterValue value, UInt32)
{
  if (scope != kAudioUnitScope_Global)
    return kAudioUnitErr_InvalidProperty;
  if (!pPlug)
    return paramErr;
  IPlugAU* plug = static_cast<IPlugAU*>(pPlug);
  PlugMutexScope lock(plug->GetMutex());
  if (paramID >= UInt32(plug->NParams()))
    return kAudioUnitErr_InvalidElement;
  // A NaN would pass the clamp and reach every derived coefficient.
  if (std::isnan(value))
    return kAudioUnitErr_InvalidParameter;
  int idx = int(paramID);
  IParam* param = plug->GetParam(idx);
  double v = value;
  if (v < param->GetMin())
    v = param->GetMin();
  if (v > param->GetMax())
    v = param->GetMax();
  param->Set(v);
  if (IGraphics* gui = plug->GetGUI())
    gui->SetParameterFromPlug(idx, value, false);
  plug->OnParamChange(idx);
  return noErr;
}

void IPlugAU::SendAUEvent(AudioUnitEventType type, AudioUnit unit, int idx)
{
  AudioUnitEvent event = {};
  event.mEventType = type;
  event.mArgument.mParameter.mAudioUnit = unit;
  event.mArgument.mParameter.mParameterID = AudioUnitParameterID(idx);
  event.mArgument.mParameter.mScope = kAudioUnitScope_Global;
  event.mArgument.mParameter.mElement = 0;
  AUEventListenerNotify(nullptr, nullptr, &event);
}

void IPlugAU::BeginInformHostOfParamChange(int idx)
{
  SendAUEvent(kAudioUnitEvent_BeginParameterChangeGesture, mComponentInstance, idx);
}

void IPlugAU::InformHostOfParamChange(int idx, double)
{
  SendAUEvent(kAudioUnitEvent_ParameterValueChange, mComponentInstance, idx);
}

void IPlugAU::EndInformHostOfParamChange(int idx)
{
  SendAUEvent(kAudioUnitEvent_EndParameterChangeGesture, mComponentInstance, idx);
}
