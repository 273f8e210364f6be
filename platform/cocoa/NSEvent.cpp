#include "platform/cocoa/NSEvent.h"

namespace
{

bool isMouseType(NSEventType type)
{
  switch (type)
  {
  case NSLeftMouseDown:
  case NSLeftMouseUp:
  case NSRightMouseDown:
  case NSRightMouseUp:
  case NSMouseMoved:
  case NSLeftMouseDragged:
  case NSRightMouseDragged:
  case NSOtherMouseDown:
  case NSOtherMouseUp:
  case NSOtherMouseDragged: return true;
  default: return false;
  }
}

} // namespace

NSEvent* NSEvent::make(NSEventType type, NSPoint location, NSEventModifierFlags flags, NSTimeInterval timestamp,
                       NSWindow* window)
{
  auto* e = new NSEvent;
  e->mType = type;
  e->mLocation = location;
  e->mFlags = flags;
  e->mTimestamp = timestamp;
  e->mWindow = window;
  return e;
}

NSEvent* NSEvent::mouseEventWithType(NSEventType type, NSPoint location, NSEventModifierFlags flags,
                                     NSTimeInterval timestamp, NSWindow* window, int clickCount)
{
  if (!isMouseType(type))
    NSFatal("NSEvent mouseEventWithType: invalid mouse event type %d", int(type));
  NSEvent* e = make(type, location, flags, timestamp, window);
  e->mClickCount = clickCount;
  return e;
}

NSEvent* NSEvent::scrollWheelEvent(NSPoint location, NSEventModifierFlags flags, NSTimeInterval timestamp,
                                   NSWindow* window, CGFloat deltaX, CGFloat deltaY)
{
  NSEvent* e = make(NSScrollWheel, location, flags, timestamp, window);
  e->mDeltaX = deltaX;
  e->mDeltaY = deltaY;
  return e;
}

int NSEvent::clickCount() const
{
  if (mType == NSScrollWheel)
    NSFatal("NSEvent clickCount: invalid message sent to a scroll-wheel event");
  return mClickCount;
}
