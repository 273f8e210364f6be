// The selectors the dispatcher answers itself, called with mMutex held.
// Each reads its arguments in public order; a missing out-pointer, event list
// or note record is refused with paramErr rather than followed.

#include <climits>
#include <cmath>

#include "platform/components/ComponentParams.h"
#include "wdl/IPlug/IPlugUtilities.h"
#include "wdl/IPlug/au/IPlugAU.h"

namespace
{

// A float note value as an int, or false when it has none (NaN, or beyond
// the int range).
bool NoteValueToInt(Float32 value, int* out)
{
  if (!FitsInt(value))
    return false;
  *out = TruncToInt(value);
  return true;
}

} // namespace

ComponentResult IPlugAU::DoInitialize()
{
  if (!CheckLegalIO())
    return badComponentSelector;
  mActive = true;
  OnParamReset();
  OnActivate(true);
  return noErr;
}

ComponentResult IPlugAU::DoUninitialize()
{
  mActive = false;
  ClearConnections();
  OnActivate(false);
  return noErr;
}

ComponentResult IPlugAU::DoGetPropertyInfo(ComponentParameters* params)
{
  AudioUnitPropertyID propID;
  AudioUnitScope scope;
  AudioUnitElement element;
  UInt32* pDataSize;
  Boolean* pWriteable;
  if (!UnpackComponentParameters(params, &propID, &scope, &element, &pDataSize, &pWriteable))
    return paramErr;
  UInt32 localSize = 0;
  Boolean localWriteable = 0;
  if (!pDataSize)
    pDataSize = &localSize;
  if (!pWriteable)
    pWriteable = &localWriteable;
  *pWriteable = 0;
  return GetProperty(propID, scope, element, pDataSize, pWriteable, nullptr);
}

ComponentResult IPlugAU::DoGetProperty(ComponentParameters* params)
{
  AudioUnitPropertyID propID;
  AudioUnitScope scope;
  AudioUnitElement element;
  void* pData;
  UInt32* pDataSize;
  if (!UnpackComponentParameters(params, &propID, &scope, &element, &pData, &pDataSize))
    return paramErr;
  UInt32 localSize = 0;
  Boolean writeable = 0;
  if (!pDataSize)
    pDataSize = &localSize;
  return GetProperty(propID, scope, element, pDataSize, &writeable, pData);
}

ComponentResult IPlugAU::DoSetProperty(ComponentParameters* params)
{
  AudioUnitPropertyID propID;
  AudioUnitScope scope;
  AudioUnitElement element;
  const void* pData;
  UInt32 dataSize;
  if (!UnpackComponentParameters(params, &propID, &scope, &element, &pData, &dataSize))
    return paramErr;
  return SetProperty(propID, scope, element, &dataSize, pData);
}

ComponentResult IPlugAU::DoGetParameter(ComponentParameters* params)
{
  AudioUnitParameterID paramID;
  AudioUnitScope scope;
  AudioUnitElement element;
  AudioUnitParameterValue* pValue;
  if (!UnpackComponentParameters(params, &paramID, &scope, &element, &pValue))
    return paramErr;
  if (!pValue)
    return paramErr;
  return GetParamProc(this, paramID, scope, element, pValue);
}

ComponentResult IPlugAU::DoSetParameter(ComponentParameters* params)
{
  AudioUnitParameterID paramID;
  AudioUnitScope scope;
  AudioUnitElement element;
  AudioUnitParameterValue value;
  UInt32 offsetFrames;
  if (!UnpackComponentParameters(params, &paramID, &scope, &element, &value, &offsetFrames))
    return paramErr;
  return SetParamProc(this, paramID, scope, element, value, offsetFrames);
}

ComponentResult IPlugAU::DoReset()
{
  ResetAudio();
  return noErr;
}

ComponentResult IPlugAU::DoAddPropertyListener(ComponentParameters* params)
{
  PropertyListener listener;
  if (!UnpackComponentParameters(params, &listener.mPropID, &listener.mListenerProc, &listener.mProcArgs))
    return paramErr;
  return AddPropertyListener(listener);
}

ComponentResult IPlugAU::DoRemovePropertyListener(ComponentParameters* params)
{
  PropertyListener listener = {};
  if (!UnpackComponentParameters(params, &listener.mPropID, &listener.mListenerProc))
    return paramErr;
  return RemovePropertyListener(listener, false);
}

ComponentResult IPlugAU::DoRemovePropertyListenerWithUserData(ComponentParameters* params)
{
  PropertyListener listener;
  if (!UnpackComponentParameters(params, &listener.mPropID, &listener.mListenerProc, &listener.mProcArgs))
    return paramErr;
  return RemovePropertyListener(listener, true);
}

ComponentResult IPlugAU::DoRender(ComponentParameters* params)
{
  AudioUnitRenderActionFlags* pFlags;
  const AudioTimeStamp* pTimestamp;
  UInt32 outputBusIdx, nFrames;
  AudioBufferList* pBufferList;
  if (!UnpackComponentParameters(params, &pFlags, &pTimestamp, &outputBusIdx, &nFrames, &pBufferList))
    return paramErr;
  return RenderProc(this, pFlags, pTimestamp, outputBusIdx, nFrames, pBufferList);
}

ComponentResult IPlugAU::DoAddRenderNotify(ComponentParameters* params)
{
  RenderNotify notify;
  if (!UnpackComponentParameters(params, &notify.mFunc, &notify.mRefCon))
    return paramErr;
  return AddRenderNotify(notify);
}

ComponentResult IPlugAU::DoRemoveRenderNotify(ComponentParameters* params)
{
  RenderNotify notify;
  if (!UnpackComponentParameters(params, &notify.mFunc, &notify.mRefCon))
    return paramErr;
  return RemoveRenderNotify(notify.mFunc);
}

ComponentResult IPlugAU::DoScheduleParameters(ComponentParameters* params)
{
  const AudioUnitParameterEvent* pEvents;
  UInt32 nEvents;
  if (!UnpackComponentParameters(params, &pEvents, &nEvents))
    return paramErr;
  if (!pEvents && nEvents)
    return paramErr;
  for (UInt32 i = 0; i < nEvents; ++i)
  {
    const AudioUnitParameterEvent& e = pEvents[i];
    if (e.eventType != kParameterEvent_Immediate)
      continue;
    ComponentResult r = SetParamProc(this, e.parameter, e.scope, e.element, e.eventValues.immediate.value,
                                     e.eventValues.immediate.bufferOffset);
    if (r != noErr)
      return r;
  }
  return noErr;
}

ComponentResult IPlugAU::DoMIDIEvent(ComponentParameters* params)
{
  UInt32 status, data1, data2, offset;
  if (!UnpackComponentParameters(params, &status, &data1, &data2, &offset))
    return paramErr;
  IMidiMsg msg{int(offset), uint8_t(status), uint8_t(data1), uint8_t(data2)};
  ProcessMidiMsg(&msg);
  return noErr;
}

ComponentResult IPlugAU::DoStartNote(ComponentParameters* params)
{
  MusicDeviceInstrumentID instrument;
  MusicDeviceGroupID group;
  NoteInstanceID* pNoteID;
  UInt32 offset;
  const MusicDeviceNoteParams* pNote;
  if (!UnpackComponentParameters(params, &instrument, &group, &pNoteID, &offset, &pNote))
    return paramErr;
  int pitch, velocity;
  if (!pNoteID || !pNote || !NoteValueToInt(pNote->mPitch, &pitch) || !NoteValueToInt(pNote->mVelocity, &velocity))
    return paramErr;
  *pNoteID = NoteInstanceID(pitch);
  IMidiMsg msg;
  msg.MakeNoteOnMsg(pitch, velocity, int(offset));
  ProcessMidiMsg(&msg);
  return noErr;
}

ComponentResult IPlugAU::DoStopNote(ComponentParameters* params)
{
  MusicDeviceGroupID group;
  NoteInstanceID noteID;
  UInt32 offset;
  if (!UnpackComponentParameters(params, &group, &noteID, &offset))
    return paramErr;
  IMidiMsg msg;
  msg.MakeNoteOffMsg(int(noteID), int(offset));
  ProcessMidiMsg(&msg);
  return noErr;
}
