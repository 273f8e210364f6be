#pragma once
// Music-device selectors, records and client calls.

#include "platform/audiounit/AUComponent.h"

typedef UInt32 MusicDeviceInstrumentID;
typedef UInt32 MusicDeviceGroupID;
typedef UInt32 NoteInstanceID;

enum : SInt16
{
  kMusicDeviceMIDIEventSelect = 0x0101,
  kMusicDeviceSysExSelect = 0x0102,
  kMusicDevicePrepareInstrumentSelect = 0x0103,
  kMusicDeviceReleaseInstrumentSelect = 0x0104,
  kMusicDeviceStartNoteSelect = 0x0105,
  kMusicDeviceStopNoteSelect = 0x0106,
};

struct NoteParamsControlValue
{
  AudioUnitParameterID mID;
  AudioUnitParameterValue mValue;
};

struct MusicDeviceNoteParams
{
  UInt32 argCount;
  Float32 mPitch;
  Float32 mVelocity;
  NoteParamsControlValue mControls[1];
};
static_assert(sizeof(MusicDeviceNoteParams) == 20);

ComponentResult MusicDeviceMIDIEvent(AudioUnit unit, UInt32 inStatus, UInt32 inData1, UInt32 inData2,
                                     UInt32 inOffsetSampleFrame);
ComponentResult MusicDevicePrepareInstrument(AudioUnit unit, MusicDeviceInstrumentID inInstrument);
ComponentResult MusicDeviceReleaseInstrument(AudioUnit unit, MusicDeviceInstrumentID inInstrument);
ComponentResult MusicDeviceStartNote(AudioUnit unit, MusicDeviceInstrumentID inInstrument, MusicDeviceGroupID inGroupID,
                                     NoteInstanceID* outNoteInstanceID, UInt32 inOffsetSampleFrame,
                                     const MusicDeviceNoteParams* inParams);
ComponentResult MusicDeviceStopNote(AudioUnit unit, MusicDeviceGroupID inGroupID, NoteInstanceID inNoteInstanceID,
                                    UInt32 inOffsetSampleFrame);
