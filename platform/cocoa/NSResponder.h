#pragma once
// Event handling: each mouse message and each command, unless overridden,
// goes on to the next responder (a view's superview, the content view's
// window); the last responder drops it.

#include "platform/cocoa/NSObject.h"

class NSEvent;
// A selector: the name of a message, such as "insertNewline:".
typedef const char* SEL;

class NSResponder : public NSObject
{
public:
  virtual NSResponder* nextResponder() const { return nullptr; }
  virtual bool acceptsFirstResponder() { return false; }

  virtual void mouseDown(NSEvent* e) { forward(&NSResponder::mouseDown, e); }
  virtual void mouseUp(NSEvent* e) { forward(&NSResponder::mouseUp, e); }
  virtual void mouseDragged(NSEvent* e) { forward(&NSResponder::mouseDragged, e); }
  virtual void mouseMoved(NSEvent* e) { forward(&NSResponder::mouseMoved, e); }
  virtual void rightMouseDown(NSEvent* e) { forward(&NSResponder::rightMouseDown, e); }
  virtual void rightMouseUp(NSEvent* e) { forward(&NSResponder::rightMouseUp, e); }
  virtual void rightMouseDragged(NSEvent* e) { forward(&NSResponder::rightMouseDragged, e); }
  virtual void otherMouseDown(NSEvent* e) { forward(&NSResponder::otherMouseDown, e); }
  virtual void otherMouseUp(NSEvent* e) { forward(&NSResponder::otherMouseUp, e); }
  virtual void otherMouseDragged(NSEvent* e) { forward(&NSResponder::otherMouseDragged, e); }
  virtual void scrollWheel(NSEvent* e) { forward(&NSResponder::scrollWheel, e); }
  // A command from key input; a responder that performs it overrides this.
  virtual void doCommandBySelector(SEL selector)
  {
    if (NSResponder* next = nextResponder())
      next->doCommandBySelector(selector);
  }

private:
  void forward(void (NSResponder::*message)(NSEvent*), NSEvent* e)
  {
    if (NSResponder* next = nextResponder())
      (next->*message)(e);
  }
};
