#pragma once
// The protocol of an Audio Unit's Cocoa view factory: a class the host
// makes by name (see NSClass.h) and asks for the unit's editor view.

#include "platform/audiounit/AUComponent.h"
#include "platform/cocoa/NSObject.h"

class NSView;

class AUCocoaUIBase
{
public:
  virtual ~AUCocoaUIBase() = default;
  virtual unsigned interfaceVersion() = 0;
  // The unit's view, a reference the caller owns (the platform would
  // autorelease it), or null.
  virtual NSView* uiViewForAudioUnit(AudioUnit unit, NSSize preferredSize) = 0;
};
