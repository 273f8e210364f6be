#pragma once
// Carbon events: events with typed parameters, event targets with handler
// chains, and event-loop timers on the virtual clock (virtual_clock.h).
//
// Sending an event to a target runs the handlers installed for its class
// and kind, newest first, until one answers something other than
// eventNotHandledErr; then the target's standard handling runs (see the
// window and control headers for what it does). Events do not travel on to
// a parent target. Everything runs on the main thread. A null or disposed
// event, handler, timer or target aborts, as the platform would crash.

#include "platform/corefoundation/CFBase.h"
#include "platform/macbase/MacTypes.h"

typedef struct OpaqueEventRef* EventRef;
typedef struct OpaqueEventTargetRef* EventTargetRef;
typedef struct OpaqueEventHandlerRef* EventHandlerRef;
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;
typedef struct OpaqueEventLoopRef* EventLoopRef;
typedef struct OpaqueEventLoopTimerRef* EventLoopTimerRef;

typedef OSType EventParamName;
typedef OSType EventParamType;
typedef double EventTime; // seconds
typedef EventTime EventTimerInterval;
typedef UInt32 EventAttributes;
typedef unsigned long ItemCount;
typedef unsigned long ByteCount;

struct EventTypeSpec
{
  UInt32 eventClass;
  UInt32 eventKind;
};

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef callRef, EventRef event, void* userData);
typedef EventHandlerProcPtr EventHandlerUPP;
typedef void (*EventLoopTimerProcPtr)(EventLoopTimerRef timer, void* userData);
typedef EventLoopTimerProcPtr EventLoopTimerUPP;

inline EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr proc)
{
  return proc;
}
inline void DisposeEventHandlerUPP(EventHandlerUPP) {}
inline EventLoopTimerUPP NewEventLoopTimerUPP(EventLoopTimerProcPtr proc)
{
  return proc;
}
inline void DisposeEventLoopTimerUPP(EventLoopTimerUPP) {}

enum : OSStatus
{
  errAECoercionFail = -1700,
  eventParameterNotFoundErr = -9870,
  eventNotHandledErr = -9874,
};

constexpr EventAttributes kEventAttributeNone = 0;
constexpr EventTimerInterval kEventDurationSecond = 1.0;
constexpr EventTimerInterval kEventDurationForever = -1.0;

// Event classes.
constexpr UInt32 kEventClassMouse = MacFourCC("mous");
constexpr UInt32 kEventClassControl = MacFourCC("cntl");

// Mouse event kinds.
enum : UInt32
{
  kEventMouseDown = 1,
  kEventMouseUp = 2,
  kEventMouseMoved = 5,
  kEventMouseDragged = 6,
  kEventMouseWheelMoved = 10,
};

// Control event kinds.
enum : UInt32
{
  kEventControlDraw = 4,
  kEventControlClick = 13,
  kEventControlBoundsChanged = 154,
  kEventControlDispose = 1001,
};

// Parameter names.
constexpr EventParamName kEventParamDirectObject = MacFourCC("----");
constexpr EventParamName kEventParamRgnHandle = MacFourCC("rgnh");
constexpr EventParamName kEventParamCGContextRef = MacFourCC("cntx");
constexpr EventParamName kEventParamGrafPort = MacFourCC("graf");
constexpr EventParamName kEventParamCurrentBounds = MacFourCC("crct");
constexpr EventParamName kEventParamOriginalBounds = MacFourCC("obnd");
constexpr EventParamName kEventParamAttributes = MacFourCC("attr");
constexpr EventParamName kEventParamMouseLocation = MacFourCC("mloc");
constexpr EventParamName kEventParamWindowMouseLocation = MacFourCC("wmou");
constexpr EventParamName kEventParamWindowRef = MacFourCC("wind");
constexpr EventParamName kEventParamKeyModifiers = MacFourCC("kmod");
constexpr EventParamName kEventParamMouseButton = MacFourCC("mbtn");
constexpr EventParamName kEventParamClickCount = MacFourCC("ccnt");
constexpr EventParamName kEventParamMouseWheelAxis = MacFourCC("mwax");
constexpr EventParamName kEventParamMouseWheelDelta = MacFourCC("mwdl");

// Parameter types: typeWildCard asks for whatever is stored; the stand-in
// converts nothing, so any other type must match the stored one.
constexpr EventParamType typeWildCard = MacFourCC("****");
constexpr EventParamType typeControlRef = MacFourCC("ctrl");   // ControlRef
constexpr EventParamType typeWindowRef = MacFourCC("wind");    // WindowRef
constexpr EventParamType typeQDRgnHandle = MacFourCC("rgnh");  // RgnHandle
constexpr EventParamType typeCGContextRef = MacFourCC("cntx"); // CGContextRef
constexpr EventParamType typeGrafPtr = MacFourCC("graf");      // CGrafPtr
constexpr EventParamType typeQDRectangle = MacFourCC("qdrt");  // Rect
constexpr EventParamType typeHIPoint = MacFourCC("hipt");      // HIPoint
constexpr EventParamType typeUInt32 = MacFourCC("magn");
constexpr EventParamType typeSInt32 = MacFourCC("long");
constexpr EventParamType typeMouseButton = MacFourCC("mbtn");    // EventMouseButton
constexpr EventParamType typeMouseWheelAxis = MacFourCC("mwax"); // EventMouseWheelAxis

typedef UInt16 EventMouseButton;
typedef UInt16 EventMouseWheelAxis;
constexpr EventMouseButton kEventMouseButtonPrimary = 1;
constexpr EventMouseWheelAxis kEventMouseWheelAxisX = 0;
constexpr EventMouseWheelAxis kEventMouseWheelAxisY = 1;

// Modifier bits of kEventParamKeyModifiers.
enum : UInt32
{
  cmdKey = 1 << 8,
  shiftKey = 1 << 9,
  alphaLock = 1 << 10,
  optionKey = 1 << 11,
  controlKey = 1 << 12,
};

// Events are reference counted: Create hands out one reference.
OSStatus CreateEvent(CFAllocatorRef allocator, UInt32 eventClass, UInt32 kind, EventTime when, EventAttributes flags,
                     EventRef* outEvent);
EventRef RetainEvent(EventRef event);
void ReleaseEvent(EventRef event);
UInt32 GetEventClass(EventRef event);
UInt32 GetEventKind(EventRef event);
// The virtual clock's time.
EventTime GetCurrentEventTime();

// Replaces any parameter of that name.
OSStatus SetEventParameter(EventRef event, EventParamName name, EventParamType type, ByteCount size, const void* data);
// Copies at most bufferSize bytes into outData; outActualType, outActualSize
// and outData may each be null. eventParameterNotFoundErr when absent,
// errAECoercionFail when the type does not match.
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* outActualType, ByteCount bufferSize, ByteCount* outActualSize,
                           void* outData);

// outRef may be null; such a handler goes away with its target. A target's
// handlers are removed when its window or control is disposed, after which
// their references are invalid.
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, ItemCount numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef);
OSStatus RemoveEventHandler(EventHandlerRef handler);
// Runs the rest of the chain after the calling handler, then the standard
// handling; only valid inside a handler with its own call reference.
OSStatus CallNextEventHandler(EventHandlerCallRef callRef, EventRef event);
OSStatus SendEventToEventTarget(EventRef event, EventTargetRef target);

EventLoopRef GetMainEventLoop();
EventLoopRef GetCurrentEventLoop();
// Fires first after fireDelay seconds (0: at the next clock step, even one
// of 0 s), then every interval seconds (0: once). paramErr for a null
// outTimer.
OSStatus InstallEventLoopTimer(EventLoopRef loop, EventTimerInterval fireDelay, EventTimerInterval interval,
                               EventLoopTimerUPP proc, void* userData, EventLoopTimerRef* outTimer);
// May be called from the timer's own proc.
OSStatus RemoveEventLoopTimer(EventLoopTimerRef timer);
OSStatus SetEventLoopTimerNextFireTime(EventLoopTimerRef timer, EventTimerInterval nextFire);
