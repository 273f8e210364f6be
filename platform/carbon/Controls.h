#pragma once
// Controls (the same objects as the views of HIView.h). A control belongs to
// one window and sits in its embedding hierarchy under the window's root
// control. Bounds are QuickDraw rectangles relative to the parent in a
// composited window, to the window in other windows.
//
// A control's event target receives kEventControlBoundsChanged when its
// bounds change (with kEventParamCurrentBounds, kEventParamOriginalBounds
// and kEventParamAttributes), kEventControlDraw when it is drawn (see
// UpdateControls and HIView.h), kEventControlClick from the window's
// standard handling of a mouse-down over it, and kEventControlDispose
// before it is disposed.
//
// Every call aborts for a null or disposed control or window, except
// IsValidControlHandle.

#include "platform/carbon/MacWindows.h"

typedef struct OpaqueControlRef* ControlRef;

constexpr UInt32 kControlSupportsEmbedding = 1u << 1;

// Bits of kEventParamAttributes in kEventControlBoundsChanged.
constexpr UInt32 kControlBoundsChangeSizeChanged = 1u << 2;
constexpr UInt32 kControlBoundsChangePositionChanged = 1u << 3;

enum : OSStatus
{
  errUnknownControl = -30584,
  errControlIsNotEmbedder = -30590,
  errCantEmbedIntoSelf = -30594,
  errCantEmbedRoot = -30595,
  errNeedsCompositedWindow = -30598,
  errNoRootControl = -30599,
  errRootAlreadyExists = -30600,
};

// A user pane with the given feature bits (kept as passed). In a composited
// window it goes into the content view; otherwise into the root control,
// which is made first when the window has none. paramErr for a null
// argument.
OSStatus CreateUserPaneControl(WindowRef window, const Rect* bounds, UInt32 features, ControlRef* outControl);
// The root covers the whole window. errRootAlreadyExists when the window
// has one (composited windows always do).
OSStatus CreateRootControl(WindowRef window, ControlRef* outControl);
// errNoRootControl (and a null control) when the window has none.
OSStatus GetRootControl(WindowRef window, ControlRef* outControl);
// Moves control into container, frontmost. errCantEmbedRoot,
// errCantEmbedIntoSelf (container is the control or inside it),
// errControlIsNotEmbedder (container is a control without
// kControlSupportsEmbedding), paramErr (another window's control).
OSStatus EmbedControl(ControlRef control, ControlRef container);
// Keeps the top-left corner; a negative size is taken as 0.
void SizeControl(ControlRef control, SInt16 width, SInt16 height);
Rect* GetControlBounds(ControlRef control, Rect* bounds);
OSStatus GetControlFeatures(ControlRef control, UInt32* outFeatures);
WindowRef GetControlOwner(ControlRef control);
EventTargetRef GetControlEventTarget(ControlRef control);
Boolean IsValidControlHandle(ControlRef possibleControl);
// Disposes the control and everything embedded in it, innermost first.
void DisposeControl(ControlRef control);
// Draws the window's embedded controls that meet region (null: the whole
// window) now, back to front, root excluded. Non-composited windows send
// each kEventControlDraw with kEventParamDirectObject, kEventParamGrafPort
// and kEventParamRgnHandle (the region's bounds, or the whole window, in
// window coordinates). Composited windows only mark those views as needing
// display.
void UpdateControls(WindowRef window, RgnHandle region);
