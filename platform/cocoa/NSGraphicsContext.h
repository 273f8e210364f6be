#pragma once
// A Cocoa drawing destination wrapping a Core Graphics context, and the
// per-thread current context that focus locking sets.

#include "platform/cocoa/NSObject.h"
#include "platform/coregraphics/CGContext.h"

class NSGraphicsContext : public NSObject
{
public:
  // A new context over port (retained while the object lives). The caller
  // owns the one reference (the platform would autorelease it).
  static NSGraphicsContext* graphicsContextWithGraphicsPort(CGContextRef port, bool flipped);

  // This thread's current context, or null; no reference is handed over.
  static NSGraphicsContext* currentContext();
  // Retains ctx (null allowed) and releases the previous current context.
  static void setCurrentContext(NSGraphicsContext* ctx);

  CGContextRef graphicsPort() const { return mPort; }
  bool isFlipped() const { return mFlipped; }
  bool shouldAntialias() const { return mShouldAntialias; }
  void setShouldAntialias(bool flag) { mShouldAntialias = flag; }

  // Saves the current context (and its port's state) on this thread's
  // stack; restore makes it current again with that state. A restore
  // without a save aborts.
  static void saveGraphicsState();
  static void restoreGraphicsState();

protected:
  ~NSGraphicsContext() override;

private:
  NSGraphicsContext(CGContextRef port, bool flipped);

  CGContextRef mPort;
  bool mFlipped;
  bool mShouldAntialias = true;
};
