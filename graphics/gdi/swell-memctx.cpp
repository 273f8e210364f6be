#include <cstdlib>

#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/coregraphics/CGBitmapContext.h"

HDC SWELL_CreateMemContext(HDC, int w, int h)
{
  if (w <= 0 || h <= 0 || int64_t(w) * h > SWELL_MAX_CONTEXT_PIXELS)
    return nullptr;
  void* buf = calloc(size_t(h), size_t(w) * 4);
  if (!buf)
    return nullptr;

  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef gc =
    CGBitmapContextCreate(buf, size_t(w), size_t(h), 8, size_t(w) * 4, space, kCGImageAlphaNoneSkipFirst);
  CGColorSpaceRelease(space);
  GDP_CTX* ctx = gc ? SWELL_GDP_CTX_NEW() : nullptr;
  if (!ctx)
  {
    CGContextRelease(gc);
    free(buf);
    return nullptr;
  }
  // Raster code addresses row 0 as the top: flip y to match.
  CGContextTranslateCTM(gc, 0, h);
  CGContextScaleCTM(gc, 1, -1);

  ctx->cgContext = gc;
  ctx->frameBuffer = buf;
  ctx->textColor = 0;
  CGColorRelease(ctx->textCGColor);
  ctx->textCGColor = CreateColor(0, 1.0f);
  return ctx;
}

HDC SWELL_CreateGfxContext(NSGraphicsContext* gc)
{
  if (!gc)
    return nullptr;
  GDP_CTX* ctx = SWELL_GDP_CTX_NEW();
  if (ctx)
    ctx->cgContext = gc->graphicsPort();
  return ctx;
}

void* SWELL_GetCtxFrameBuffer(HDC ctx)
{
  return ctx ? ctx->frameBuffer : nullptr;
}

CGContextRef SWELL_GetCtxGC(HDC ctx)
{
  return ctx ? ctx->cgContext : nullptr;
}

void SWELL_DeleteGfxContext(HDC ctx)
{
  if (!ctx)
    return;
  if (ctx->frameBuffer)
  {
    CGContextRelease(ctx->cgContext);
    free(ctx->frameBuffer);
  }
  NSRelease(ctx->releasedObject);
  CGColorRelease(ctx->textCGColor);
  GDP_CTX_DELETE(ctx);
}
