#pragma once
// Audio Unit component interface: the unit handle, scopes, selectors, result
// codes, call-back types and the client calls hosts make through the
// Component Manager.

#include "platform/audiounit/CoreAudioTypes.h"
#include "platform/components/Components.h"

typedef ComponentInstance AudioUnit;
typedef UInt32 AudioUnitPropertyID;
typedef UInt32 AudioUnitScope;
typedef UInt32 AudioUnitElement;
typedef UInt32 AudioUnitParameterID;
typedef Float32 AudioUnitParameterValue;
typedef UInt32 AudioUnitRenderActionFlags;

// The published component types; the effect is an 'aufx'.
constexpr OSType kAudioUnitType_Effect = MacFourCC("aufx");
constexpr OSType kAudioUnitType_MusicDevice = MacFourCC("aumu");
constexpr OSType kAudioUnitCarbonViewComponentType = MacFourCC("auvw");

constexpr AudioUnitScope kAudioUnitScope_Global = 0;
constexpr AudioUnitScope kAudioUnitScope_Input = 1;
constexpr AudioUnitScope kAudioUnitScope_Output = 2;

enum : SInt16
{
  kAudioUnitInitializeSelect = 1,
  kAudioUnitUninitializeSelect = 2,
  kAudioUnitGetPropertyInfoSelect = 3,
  kAudioUnitGetPropertySelect = 4,
  kAudioUnitSetPropertySelect = 5,
  kAudioUnitGetParameterSelect = 6,
  kAudioUnitSetParameterSelect = 7,
  kAudioUnitResetSelect = 9,
  kAudioUnitAddPropertyListenerSelect = 10,
  kAudioUnitRemovePropertyListenerSelect = 11,
  kAudioUnitRenderSelect = 14,
  kAudioUnitAddRenderNotifySelect = 15,
  kAudioUnitRemoveRenderNotifySelect = 16,
  kAudioUnitScheduleParametersSelect = 17,
  kAudioUnitRemovePropertyListenerWithUserDataSelect = 18,
};

enum : OSStatus
{
  kAudioUnitErr_InvalidProperty = -10879,
  kAudioUnitErr_InvalidParameter = -10878,
  kAudioUnitErr_InvalidElement = -10877,
  kAudioUnitErr_CannotDoInCurrentContext = -10863,
  kAudioUnitErr_InvalidPropertyValue = -10851,
};

constexpr AudioUnitRenderActionFlags kAudioUnitRenderAction_PreRender = 1u << 2;
constexpr AudioUnitRenderActionFlags kAudioUnitRenderAction_PostRender = 1u << 3;

typedef OSStatus (*AURenderCallback)(void* inRefCon, AudioUnitRenderActionFlags* ioActionFlags,
                                     const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber, UInt32 inNumberFrames,
                                     AudioBufferList* ioData);
typedef void (*AudioUnitPropertyListenerProc)(void* inRefCon, AudioUnit inUnit, AudioUnitPropertyID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement);

// Fast-dispatch procedures take the unit's instance storage, not the unit.
typedef ComponentResult (*AudioUnitGetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                                     AudioUnitScope inScope, AudioUnitElement inElement,
                                                     AudioUnitParameterValue* outValue);
typedef ComponentResult (*AudioUnitSetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                                     AudioUnitScope inScope, AudioUnitElement inElement,
                                                     AudioUnitParameterValue inValue, UInt32 inBufferOffsetInFrames);
typedef ComponentResult (*AudioUnitRenderProc)(void* inComponentStorage, AudioUnitRenderActionFlags* ioActionFlags,
                                               const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                                               UInt32 inNumberFrames, AudioBufferList* ioData);

typedef UInt32 AUParameterEventType;
constexpr AUParameterEventType kParameterEvent_Immediate = 1;
constexpr AUParameterEventType kParameterEvent_Ramped = 2;

struct AudioUnitParameterEvent
{
  AudioUnitScope scope;
  AudioUnitElement element;
  AudioUnitParameterID parameter;
  AUParameterEventType eventType;
  union
  {
    struct
    {
      SInt32 startBufferOffset;
      UInt32 durationInFrames;
      AudioUnitParameterValue startValue;
      AudioUnitParameterValue endValue;
    } ramp;
    struct
    {
      UInt32 bufferOffset;
      AudioUnitParameterValue value;
    } immediate;
  } eventValues;
};
static_assert(sizeof(AudioUnitParameterEvent) == 32);

// Client calls: each packs its arguments (ComponentParams.h) and calls the
// unit's entry; badComponentInstance for a unit that is not open.
ComponentResult AudioUnitInitialize(AudioUnit unit);
ComponentResult AudioUnitUninitialize(AudioUnit unit);
ComponentResult AudioUnitGetPropertyInfo(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement, UInt32* outDataSize, Boolean* outWritable);
ComponentResult AudioUnitGetProperty(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, void* outData, UInt32* ioDataSize);
ComponentResult AudioUnitSetProperty(AudioUnit unit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, const void* inData, UInt32 inDataSize);
ComponentResult AudioUnitGetParameter(AudioUnit unit, AudioUnitParameterID inID, AudioUnitScope inScope,
                                      AudioUnitElement inElement, AudioUnitParameterValue* outValue);
ComponentResult AudioUnitSetParameter(AudioUnit unit, AudioUnitParameterID inID, AudioUnitScope inScope,
                                      AudioUnitElement inElement, AudioUnitParameterValue inValue,
                                      UInt32 inBufferOffsetInFrames);
ComponentResult AudioUnitReset(AudioUnit unit, AudioUnitScope inScope, AudioUnitElement inElement);
ComponentResult AudioUnitAddPropertyListener(AudioUnit unit, AudioUnitPropertyID inID,
                                             AudioUnitPropertyListenerProc inProc, void* inProcUserData);
ComponentResult AudioUnitRemovePropertyListener(AudioUnit unit, AudioUnitPropertyID inID,
                                                AudioUnitPropertyListenerProc inProc);
ComponentResult AudioUnitRemovePropertyListenerWithUserData(AudioUnit unit, AudioUnitPropertyID inID,
                                                            AudioUnitPropertyListenerProc inProc, void* inProcUserData);
ComponentResult AudioUnitRender(AudioUnit unit, AudioUnitRenderActionFlags* ioActionFlags,
                                const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber, UInt32 inNumberFrames,
                                AudioBufferList* ioData);
ComponentResult AudioUnitAddRenderNotify(AudioUnit unit, AURenderCallback inProc, void* inProcRefCon);
ComponentResult AudioUnitRemoveRenderNotify(AudioUnit unit, AURenderCallback inProc, void* inProcRefCon);
ComponentResult AudioUnitScheduleParameters(AudioUnit unit, const AudioUnitParameterEvent* inParameterEvent,
                                            UInt32 inNumParamEvents);
