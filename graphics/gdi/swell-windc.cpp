#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi.h"
#include "graphics/gdi/swell_paint_info.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"

namespace
{

// The context obj is painting with, or null when it is not painting or
// does not answer the question.
HDC paintingContext(NSObject* obj)
{
  auto* src = dynamic_cast<SWELL_PaintInfoSource*>(obj);
  if (!src)
    return nullptr;
  PAINTSTRUCT ps = {};
  src->getSwellPaintInfo(&ps);
  return ps.hdc;
}

HDC savedPaintingContext(HDC ctx)
{
  if (ctx->cgContext)
    CGContextSaveGState(ctx->cgContext);
  return ctx;
}

// The view a window or view handle draws through; null for anything else.
NSView* targetView(HWND h)
{
  if (auto* w = dynamic_cast<NSWindow*>(h))
    return w->contentView();
  return dynamic_cast<NSView*>(h);
}

} // namespace

HDC GetDC(HWND h)
{
  if (!h)
    return nullptr;
  if (auto* w = dynamic_cast<NSWindow*>(h))
    if (HDC ctx = paintingContext(w))
      return savedPaintingContext(ctx);
  NSView* v = targetView(h);
  if (!v)
    return nullptr;
  if (HDC ctx = paintingContext(v))
    return savedPaintingContext(ctx);

  if (!v->lockFocusIfCanDraw())
    return nullptr;
  GDP_CTX* ctx = SWELL_GDP_CTX_NEW();
  if (!ctx)
  {
    v->unlockFocus();
    return nullptr;
  }
  NSGraphicsContext* gc = NSGraphicsContext::currentContext();
  ctx->cgContext = gc ? gc->graphicsPort() : nullptr;
  if (ctx->cgContext)
    CGContextSaveGState(ctx->cgContext);
  return ctx;
}

HDC GetWindowDC(HWND h)
{
  HDC ctx = GetDC(h);
  NSView* v = ctx ? targetView(h) : nullptr;
  if (v)
  {
    NSPoint origin = v->bounds().origin;
    if (origin.x != 0 || origin.y != 0)
      CGContextTranslateCTM(ctx->cgContext, origin.x, origin.y);
  }
  return ctx;
}

void ReleaseDC(HWND h, HDC ctx)
{
  // Without the handle we cannot tell a painting view's own context from
  // ours, so deleting it could free what the view still uses.
  if (!h || !ctx)
    return;
  if (ctx->cgContext)
    CGContextRestoreGState(ctx->cgContext);
  // GetDC may have taken the context from the window or its content view:
  // ask both, so a view's own painting context is never deleted.
  if (paintingContext(h) == ctx)
    return;
  NSView* v = targetView(h);
  if (v && v != h && paintingContext(v) == ctx)
    return;
  SWELL_DeleteGfxContext(ctx);
  if (v && NSView::focusView() == v)
    v->unlockFocus();
}
