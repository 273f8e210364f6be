#pragma once
// Mouse and scroll-wheel events. An event's location is in its window's
// base coordinates (origin at the bottom-left); with no window, in the
// coordinates of the view tree's root.

#include <cstdint>

#include "platform/cocoa/NSObject.h"

class NSWindow;

enum NSEventType : int
{
  NSLeftMouseDown = 1,
  NSLeftMouseUp = 2,
  NSRightMouseDown = 3,
  NSRightMouseUp = 4,
  NSMouseMoved = 5,
  NSLeftMouseDragged = 6,
  NSRightMouseDragged = 7,
  NSScrollWheel = 22,
  NSOtherMouseDown = 25,
  NSOtherMouseUp = 26,
  NSOtherMouseDragged = 27,
};

typedef uint64_t NSEventModifierFlags;
constexpr NSEventModifierFlags NSAlphaShiftKeyMask = 1 << 16;
constexpr NSEventModifierFlags NSShiftKeyMask = 1 << 17;
constexpr NSEventModifierFlags NSControlKeyMask = 1 << 18;
constexpr NSEventModifierFlags NSAlternateKeyMask = 1 << 19;
constexpr NSEventModifierFlags NSCommandKeyMask = 1 << 20;
// Device-dependent bit of the left Command key.
constexpr NSEventModifierFlags NSDeviceLeftCommandKeyMask = 0x8;

class NSEvent : public NSObject
{
public:
  // A mouse event (any type above but the scroll wheel; other types abort,
  // as the platform raises). The caller owns the reference; window is lent.
  static NSEvent* mouseEventWithType(NSEventType type, NSPoint location, NSEventModifierFlags flags,
                                     NSTimeInterval timestamp, NSWindow* window, int clickCount);
  // A scroll-wheel event; positive deltaY scrolls up.
  static NSEvent* scrollWheelEvent(NSPoint location, NSEventModifierFlags flags, NSTimeInterval timestamp,
                                   NSWindow* window, CGFloat deltaX, CGFloat deltaY);

  NSEventType type() const { return mType; }
  NSPoint locationInWindow() const { return mLocation; }
  NSEventModifierFlags modifierFlags() const { return mFlags; }
  NSTimeInterval timestamp() const { return mTimestamp; }
  NSWindow* window() const { return mWindow; }
  // Aborts for a scroll-wheel event, which has no click count.
  int clickCount() const;
  // Zero for mouse events.
  CGFloat deltaX() const { return mDeltaX; }
  CGFloat deltaY() const { return mDeltaY; }

private:
  NSEvent() = default;
  static NSEvent* make(NSEventType type, NSPoint location, NSEventModifierFlags flags, NSTimeInterval timestamp,
                       NSWindow* window);

  NSEventType mType = NSMouseMoved;
  NSPoint mLocation = {0, 0};
  NSEventModifierFlags mFlags = 0;
  NSTimeInterval mTimestamp = 0;
  NSWindow* mWindow = nullptr;
  int mClickCount = 0;
  CGFloat mDeltaX = 0, mDeltaY = 0;
};
