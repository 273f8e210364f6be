#pragma once
// Windows. A window here has no frame or title bar: its structure is its
// content. It is shown from creation and owns offscreen pixels of its
// content size (bytes X, R, G, B, top row first), which carbon_driver.h
// reads back.
//
// A composited window (kWindowCompositingAttribute) has a root view and a
// content view from the start, and draws its views in update passes with a
// Core Graphics context per view (HIView.h). Other windows draw their
// controls through their QuickDraw port (Controls.h, QuickDraw.h).
//
// Every call aborts for a null or disposed window, except IsValidWindowPtr.

#include "platform/carbon/CarbonEvents.h"
#include "platform/carbon/QuickDraw.h"

typedef struct OpaqueWindowPtr* WindowRef;
typedef UInt32 WindowClass;
typedef UInt32 WindowAttributes;
typedef UInt16 WindowRegionCode;

constexpr WindowClass kDocumentWindowClass = 6;
constexpr WindowClass kPlainWindowClass = 13;

constexpr WindowAttributes kWindowNoAttributes = 0;
constexpr WindowAttributes kWindowCompositingAttribute = 1u << 19;
constexpr WindowAttributes kWindowStandardHandlerAttribute = 1u << 25;

constexpr WindowRegionCode kWindowStructureRgn = 32;
constexpr WindowRegionCode kWindowContentRgn = 33;

// contentBounds are global coordinates. paramErr for a null argument or a
// negative size. A window too large for its pixels (kCGMaxBitmapPixels) is
// made without them and draws nothing.
OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow);
// Disposes the window's controls (each is sent kEventControlDispose first),
// its handlers, port and pixels.
void DisposeWindow(WindowRef window);
OSStatus GetWindowAttributes(WindowRef window, WindowAttributes* outAttributes);
// Structure and content regions only (they are the same); paramErr for
// other codes or a null rectangle.
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode region, Rect* outBounds);
// Moves and resizes the content, keeping the pixels that still fit; the
// whole window then needs drawing. paramErr for a negative size.
OSStatus SetWindowBounds(WindowRef window, WindowRegionCode region, const Rect* bounds);
EventTargetRef GetWindowEventTarget(WindowRef window);
// Whether the pointer is a live window. Window references are numbers, not
// memory: code that must tell a window from another kind of pointer asks
// this before touching either.
Boolean IsValidWindowPtr(WindowRef possibleWindow);
CGrafPtr GetWindowPort(WindowRef window);
