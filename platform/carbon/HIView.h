#pragma once
// The view side of controls. In a composited window each view that needs
// display is drawn in the window's update pass (carbon_driver.h): it is
// sent kEventControlDraw with kEventParamDirectObject, kEventParamRgnHandle
// (the area to draw, in view coordinates) and kEventParamCGContextRef, a
// context over the window's pixels clipped to that area and flipped the way
// the platform hands it to views: origin at the view's top-left, y growing
// downwards.
//
// Coordinate spaces: window space has its origin at the window's top-left,
// view space at the view's; both grow down. Global space is the screen's.

#include "platform/carbon/Controls.h"
#include "platform/coregraphics/CGGeometry.h"

typedef ControlRef HIViewRef;
typedef CGRect HIRect;
typedef CGPoint HIPoint;
typedef CGSize HISize;

struct HIViewID
{
  OSType signature;
  SInt32 id;
};

constexpr HIViewID kHIViewWindowContentID = {MacFourCC("wind"), 1};

typedef UInt32 HICoordinateSpace;
constexpr HICoordinateSpace kHICoordSpace72DPIGlobal = 1;
constexpr HICoordinateSpace kHICoordSpaceScreenPixel = 2;
constexpr HICoordinateSpace kHICoordSpaceWindow = 3;
constexpr HICoordinateSpace kHICoordSpaceView = 4;

// The root view, or null for a non-composited window without a root control.
HIViewRef HIViewGetRoot(WindowRef window);
// Searches start and everything inside it. errUnknownControl when absent.
OSStatus HIViewFindByID(HIViewRef start, HIViewID id, HIViewRef* outView);
// EmbedControl with the arguments the other way round.
OSStatus HIViewAddSubview(HIViewRef parent, HIViewRef child);
HIViewRef HIViewGetSuperview(HIViewRef view);
// The frame is the bounds as an HIRect; setting it sends
// kEventControlBoundsChanged when it changes and makes the view need
// display.
OSStatus HIViewSetFrame(HIViewRef view, const HIRect* frame);
OSStatus HIViewGetFrame(HIViewRef view, HIRect* outFrame);
// errNeedsCompositedWindow in other windows. Marking the rectangle (view
// coordinates, cut to the view) adds it to the area to draw; unmarking
// clears that area when the rectangle covers it.
OSStatus HIViewSetNeedsDisplay(HIViewRef view, Boolean needsDisplay);
OSStatus HIViewSetNeedsDisplayInRect(HIViewRef view, const HIRect* rect, Boolean needsDisplay);
Boolean HIViewGetNeedsDisplay(HIViewRef view);
// Converts point between the spaces; the object is the WindowRef of window
// space, the HIViewRef of view space, and unused for the global spaces.
// Aborts for a missing object or an unknown space.
void HIPointConvert(HIPoint* point, HICoordinateSpace sourceSpace, void* sourceObject,
                    HICoordinateSpace destinationSpace, void* destinationObject);
