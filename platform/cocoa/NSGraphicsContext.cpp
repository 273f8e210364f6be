#include "platform/cocoa/NSGraphicsContext.h"

#include <new>

namespace {

// Holds a reference so the current context survives its creator's release,
// and gives it back when the thread ends.
struct CurrentContextSlot {
  ~CurrentContextSlot() { NSRelease(ctx); }
  NSGraphicsContext* ctx = nullptr;
};

thread_local CurrentContextSlot tCurrent;

}  // namespace

NSGraphicsContext::NSGraphicsContext(CGContextRef port, bool flipped) : mPort(CGContextRetain(port)), mFlipped(flipped)
{
}

NSGraphicsContext::~NSGraphicsContext() { CGContextRelease(mPort); }

NSGraphicsContext* NSGraphicsContext::graphicsContextWithGraphicsPort(CGContextRef port, bool flipped)
{
  return new (std::nothrow) NSGraphicsContext(port, flipped);
}

NSGraphicsContext* NSGraphicsContext::currentContext() { return tCurrent.ctx; }

void NSGraphicsContext::setCurrentContext(NSGraphicsContext* ctx)
{
  if (ctx) ctx->retain();
  NSGraphicsContext* old = tCurrent.ctx;
  tCurrent.ctx = ctx;
  NSRelease(old);
}
