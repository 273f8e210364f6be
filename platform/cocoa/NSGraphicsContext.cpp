#include "platform/cocoa/NSGraphicsContext.h"

#include <new>
#include <vector>

namespace
{

// Holds a reference so the current context survives its creator's release,
// and gives it back when the thread ends.
struct CurrentContextSlot
{
  ~CurrentContextSlot() { NSRelease(ctx); }
  NSGraphicsContext* ctx = nullptr;
};

thread_local CurrentContextSlot tCurrent;
thread_local std::vector<NSGraphicsContext*> tSaved; // each retained (null allowed)

} // namespace

NSGraphicsContext::NSGraphicsContext(CGContextRef port, bool flipped) : mPort(CGContextRetain(port)), mFlipped(flipped)
{
}

NSGraphicsContext::~NSGraphicsContext()
{
  CGContextRelease(mPort);
}

NSGraphicsContext* NSGraphicsContext::graphicsContextWithGraphicsPort(CGContextRef port, bool flipped)
{
  return new (std::nothrow) NSGraphicsContext(port, flipped);
}

NSGraphicsContext* NSGraphicsContext::currentContext()
{
  return tCurrent.ctx;
}

void NSGraphicsContext::setCurrentContext(NSGraphicsContext* ctx)
{
  if (ctx)
    ctx->retain();
  NSGraphicsContext* old = tCurrent.ctx;
  tCurrent.ctx = ctx;
  NSRelease(old);
}

void NSGraphicsContext::saveGraphicsState()
{
  NSGraphicsContext* ctx = tCurrent.ctx;
  if (ctx)
  {
    ctx->retain();
    CGContextSaveGState(ctx->mPort);
  }
  tSaved.push_back(ctx);
}

void NSGraphicsContext::restoreGraphicsState()
{
  if (tSaved.empty())
    NSFatal("NSGraphicsContext restoreGraphicsState: no saved state");
  NSGraphicsContext* ctx = tSaved.back();
  tSaved.pop_back();
  setCurrentContext(ctx);
  if (ctx)
  {
    CGContextRestoreGState(ctx->mPort);
    ctx->release();
  }
}
