// Host-side calls: each packs its public arguments into a parameter block and
// goes through the Component Manager, as a call on the platform does.

#include "platform/audiounit/AUComponent.h"
#include "platform/audiounit/MusicDevice.h"
#include "platform/components/ComponentParams.h"

namespace
{

template <class... Args>
ComponentResult Call(AudioUnit unit, SInt16 what, Args... args)
{
  ComponentParameters p = PackComponentParameters(what, args...);
  return CallComponent(unit, &p);
}

} // namespace

ComponentResult AudioUnitInitialize(AudioUnit unit)
{
  return Call(unit, kAudioUnitInitializeSelect);
}

ComponentResult AudioUnitUninitialize(AudioUnit unit)
{
  return Call(unit, kAudioUnitUninitializeSelect);
}

ComponentResult AudioUnitGetPropertyInfo(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement, UInt32* outDataSize, Boolean* outWritable)
{
  return Call(unit, kAudioUnitGetPropertyInfoSelect, inID, inScope, inElement, outDataSize, outWritable);
}

ComponentResult AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, void* outData, UInt32* ioDataSize)
{
  return Call(unit, kAudioUnitGetPropertySelect, inID, inScope, inElement, outData, ioDataSize);
}

ComponentResult AudioUnitSetProperty(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, const void* inData, UInt32 inDataSize)
{
  return Call(unit, kAudioUnitSetPropertySelect, inID, inScope, inElement, inData, inDataSize);
}

ComponentResult AudioUnitGetParameter(AudioUnit unit, AudioUnitParameterID inID, AudioUnitScope inScope,
                                      AudioUnitElement inElement, AudioUnitParameterValue* outValue)
{
  return Call(unit, kAudioUnitGetParameterSelect, inID, inScope, inElement, outValue);
}

ComponentResult AudioUnitSetParameter(AudioUnit unit, AudioUnitParameterID inID, AudioUnitScope inScope,
                                      AudioUnitElement inElement, AudioUnitParameterValue inValue,
                                      UInt32 inBufferOffsetInFrames)
{
  return Call(unit, kAudioUnitSetParameterSelect, inID, inScope, inElement, inValue, inBufferOffsetInFrames);
}

ComponentResult AudioUnitReset(AudioUnit unit, AudioUnitScope inScope, AudioUnitElement inElement)
{
  return Call(unit, kAudioUnitResetSelect, inScope, inElement);
}

ComponentResult AudioUnitAddPropertyListener(AudioUnit unit, AudioUnitPropertyID inID,
                                             AudioUnitPropertyListenerProc inProc, void* inProcUserData)
{
  return Call(unit, kAudioUnitAddPropertyListenerSelect, inID, inProc, inProcUserData);
}

ComponentResult AudioUnitRemovePropertyListener(AudioUnit unit, AudioUnitPropertyID inID,
                                                AudioUnitPropertyListenerProc inProc)
{
  return Call(unit, kAudioUnitRemovePropertyListenerSelect, inID, inProc);
}

ComponentResult AudioUnitRemovePropertyListenerWithUserData(AudioUnit unit, AudioUnitPropertyID inID,
                                                            AudioUnitPropertyListenerProc inProc, void* inProcUserData)
{
  return Call(unit, kAudioUnitRemovePropertyListenerWithUserDataSelect, inID, inProc, inProcUserData);
}

ComponentResult AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags,
                                const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber, UInt32 inNumberFrames,
                                AudioBufferList* ioData)
{
  return Call(unit, kAudioUnitRenderSelect, ioActionFlags, inTimeStamp, inOutputBusNumber, inNumberFrames, ioData);
}

ComponentResult AudioUnitAddRenderNotify(AudioUnit unit, AURenderCallback inProc, void* inProcRefCon)
{
  return Call(unit, kAudioUnitAddRenderNotifySelect, inProc, inProcRefCon);
}

ComponentResult AudioUnitRemoveRenderNotify(AudioUnit unit, AURenderCallback inProc, void* inProcRefCon)
{
  return Call(unit, kAudioUnitRemoveRenderNotifySelect, inProc, inProcRefCon);
}

ComponentResult AudioUnitScheduleParameters(AudioUnit unit, const AudioUnitParameterEvent* inParameterEvent,
                                            UInt32 inNumParamEvents)
{
  return Call(unit, kAudioUnitScheduleParametersSelect, inParameterEvent, inNumParamEvents);
}

ComponentResult MusicDeviceMIDIEvent(AudioUnit unit, UInt32 inStatus, UInt32 inData1, UInt32 inData2,
                                     UInt32 inOffsetSampleFrame)
{
  return Call(unit, kMusicDeviceMIDIEventSelect, inStatus, inData1, inData2, inOffsetSampleFrame);
}

ComponentResult MusicDevicePrepareInstrument(AudioUnit unit, MusicDeviceInstrumentID inInstrument)
{
  return Call(unit, kMusicDevicePrepareInstrumentSelect, inInstrument);
}

ComponentResult MusicDeviceReleaseInstrument(AudioUnit unit, MusicDeviceInstrumentID inInstrument)
{
  return Call(unit, kMusicDeviceReleaseInstrumentSelect, inInstrument);
}

ComponentResult MusicDeviceStartNote(AudioUnit unit, MusicDeviceInstrumentID inInstrument, MusicDeviceGroupID inGroupID,
                                     NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame,
                                     const MusicDeviceNoteParams* inParams)
{
  return Call(unit, kMusicDeviceStartNoteSelect, inInstrument, inGroupID, outNoteInstanceID, inOffsetSampleFrame,
              inParams);
}

ComponentResult MusicDeviceStopNote(AudioUnit unit, MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID,
                                    UInt32 inOffsetSampleFrame)
{
  return Call(unit, kMusicDeviceStopNoteSelect, inGroupID, inNoteInstanceID, inOffsetSampleFrame);
}
