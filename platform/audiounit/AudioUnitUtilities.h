#pragma once
// Audio Unit events: units announce parameter gestures and changes, hosts
// listen. Listeners are called synchronously on the thread that sends the
// event (the platform would defer them to a run loop).

#include "platform/audiounit/AUComponent.h"

typedef UInt32 AudioUnitEventType;
enum : AudioUnitEventType
{
  kAudioUnitEvent_ParameterValueChange = 0,
  kAudioUnitEvent_BeginParameterChangeGesture = 1,
  kAudioUnitEvent_EndParameterChangeGesture = 2,
  kAudioUnitEvent_PropertyChange = 3,
};

struct AudioUnitParameter
{
  AudioUnit mAudioUnit;
  AudioUnitParameterID mParameterID;
  AudioUnitScope mScope;
  AudioUnitElement mElement;
};

struct AudioUnitProperty
{
  AudioUnit mAudioUnit;
  AudioUnitPropertyID mPropertyID;
  AudioUnitScope mScope;
  AudioUnitElement mElement;
};

struct AudioUnitEvent
{
  AudioUnitEventType mEventType;
  union
  {
    AudioUnitParameter mParameter;
    AudioUnitProperty mProperty;
  } mArgument;
};
static_assert(sizeof(AudioUnitParameter) == 24 && sizeof(AudioUnitEvent) == 32);

typedef struct AUEventListenerRecord* AUEventListenerRef;
typedef void (*AUEventListenerProc)(void* inCallbackRefCon, void* inObject, const AudioUnitEvent* inEvent,
                                    UInt64 inEventHostTime, AudioUnitParameterValue inParameterValue);

// A listener that hears the events added to it. The run loop, mode and
// timing arguments are accepted and not used (delivery is synchronous).
OSStatus AUEventListenerCreate(AUEventListenerProc inProc, void* inCallbackRefCon, void* inRunLoop,
                               CFStringRef inRunLoopMode, Float32 inNotificationInterval,
                               Float32 inValueChangeGranularity, AUEventListenerRef* outListener);
OSStatus AUListenerDispose(AUEventListenerRef inListener);
// Registers an event (type, unit, parameter or property id, scope, element)
// to hear; inObject is handed back to the listener.
OSStatus AUEventListenerAddEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent);
OSStatus AUEventListenerRemoveEventType(AUEventListenerRef inListener, void* inObject, const AudioUnitEvent* inEvent);
// Sends the event to every listener that registered it, except
// inSendingListener; the parameter value handed on is read with
// AudioUnitGetParameter for parameter events (0 when that fails).
// paramErr for a null event.
OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void* inSendingObject,
                               const AudioUnitEvent* inEvent);
