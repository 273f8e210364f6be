#include "platform/cocoa/NSEvent.h"

namespace {

bool isMouseType(NSEventType type)
{
  switch (type) {
    case NSLeftMouseDown:
    case NSLeftMouseUp:
    case NSRightMouseDown:
    case NSRightMouseUp:
    case NSMouseMoved:
    case NSLeftMouseDragged:
    case NSRightMouseDragged:
    case NSOtherMouseDown:
    case NSOtherMouseUp:
    case NSOtherMouseDragged:
      return true;
    default:
      return false;
  }
}

}  // namespace

NSEvent* NSEvent::mouseEventWithType(NSEventType type, NSPoint location, NSEventModifierFlags flags,
                                     NSTimeInterval timestamp, NSWindow* window, int clickCount)
{
  if (!isMouseType(type)) NSFatal("NSEvent mouseEventWithType: invalid mouse event type %d", int(type));
  auto* e = new NSEvent;
  e->mType = type;
  e->mLocation = location;
  e->mFlags = flags;
  e->mTimestamp = timestamp;
  e->mWindow = window;
  e->mClickCount = clickCount;
  return e;
}

NSEvent* NSEvent::scrollWheelEvent(NSPoint location, NSEventModifierFlags flags, NSTimeInterval timestamp,
                                   NSWindow* window, CGFloat deltaX, CGFloat deltaY)
{
  auto* e = new NSEvent;
  e->mType = NSScrollWheel;
  e->mLocation = location;
  e->mFlags = flags;
  e->mTimestamp = timestamp;
  e->mWindow = window;
  e->mDeltaX = deltaX;
  e->mDeltaY = deltaY;
  return e;
}

int NSEvent::clickCount() const
{
  if (mType == NSScrollWheel) NSFatal("NSEvent clickCount: invalid message sent to a scroll-wheel event");
  return mClickCount;
}
