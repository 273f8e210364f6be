#pragma once
// The system's side of the Carbon stand-in, for tests and the project's
// hosts: synthetic mouse events, update passes, reading a window's pixels
// and setting the system version. Timers run with virtualClockAdvance.

#include "platform/carbon/HIView.h"
#include "platform/carbon/virtual_clock.h"
#include "platform/coregraphics/CGImage.h"

// Sends a mouse event of kind (kEventMouseDown, Up, Moved or Dragged) to the
// window's target, at where in window space, with kEventParamMouseLocation,
// kEventParamWindowMouseLocation, kEventParamWindowRef,
// kEventParamKeyModifiers, kEventParamMouseButton (primary) and, for down
// and up, kEventParamClickCount. Returns the dispatch result.
OSStatus carbonDriverSendMouse(WindowRef window, UInt32 kind, HIPoint where, UInt32 modifiers, UInt32 clickCount);
// A kEventMouseWheelMoved with kEventParamMouseWheelAxis and
// kEventParamMouseWheelDelta.
OSStatus carbonDriverSendWheel(WindowRef window, HIPoint where, EventMouseWheelAxis axis, SInt32 delta,
                               UInt32 modifiers);
// What the event loop does when it is idle: a composited window draws every
// view that needs display; another window that needs drawing (new,
// resized) updates its controls over the whole window. Returns the number
// of draw events sent.
int carbonDriverUpdateWindow(WindowRef window);
// A copy of the window's pixels (bytes X, R, G, B, top row first) that the
// caller releases; null when the window has none.
CGImageRef carbonDriverCopyWindowImage(WindowRef window);
void carbonDriverSetSystemVersion(SInt32 version);
