#include <cstring>
#include <new>
#include <vector>

#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi-ops.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSImage.h"
#include "platform/coregraphics/CGBitmapContext.h"

namespace
{

bool isImage(HGDIOBJ obj)
{
  return GDP_IsObject(obj) && obj->kind == GDP_KIND_BITMAP && obj->image;
}

// A copy of src in which every opaque pure magenta pixel is transparent.
NSImage* withMagentaCleared(NSImage* src)
{
  CGImageRef img = src->CGImage();
  size_t w = CGImageGetWidth(img), h = CGImageGetHeight(img);
  if (!w || !h)
    return nullptr;
  std::vector<unsigned char> px(w * h * 4, 0);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGContextRef gc = CGBitmapContextCreate(px.data(), w, h, 8, w * 4, space, kCGImageAlphaPremultipliedFirst);
  CGColorSpaceRelease(space);
  if (!gc)
    return nullptr;
  CGContextDrawImage(gc, CGRectMake(0, 0, CGFloat(w), CGFloat(h)), img);
  static const unsigned char kMagenta[4] = {255, 255, 0, 255};
  for (size_t i = 0; i < px.size(); i += 4)
    if (!memcmp(&px[i], kMagenta, 4))
      memset(&px[i], 0, 4);
  CGImageRef cleared = CGBitmapContextCreateImage(gc);
  CGContextRelease(gc);
  if (!cleared)
    return nullptr;
  NSImage* result = new (std::nothrow) NSImage(cleared, src->size());
  CGImageRelease(cleared);
  return result;
}

} // namespace

HGDIOBJ LoadNamedImage(const char* name, bool magentaTransparent)
{
  if (!name)
    return nullptr;
  NSImage* img = strchr(name, '/') ? NSImage::imageWithContentsOfFile(name) : nullptr;
  bool owned = img != nullptr;
  if (!img)
    img = NSImage::imageNamed(name);
  if (!img)
    return nullptr;
  if (magentaTransparent)
  {
    NSImage* cleared = withMagentaCleared(img);
    if (owned)
      img->release();
    if (!cleared)
      return nullptr;
    img = cleared;
    owned = true;
  }
  GDP_OBJECT* obj = GDP_OBJECT_NEW();
  if (!obj)
  {
    if (owned)
      img->release();
    return nullptr;
  }
  obj->kind = GDP_KIND_BITMAP;
  obj->image = img;
  obj->param = owned ? 1 : 0;
  return obj;
}

void DrawImageInRect(HDC ctx, HGDIOBJ img, const RECT* r)
{
  if (!ctx || !ctx->cgContext || !r || !isImage(img))
    return;
  NSGraphicsContext* saved = NSGraphicsContext::currentContext();
  if (saved)
    saved->retain();
  NSGraphicsContext* gc = NSGraphicsContext::graphicsContextWithGraphicsPort(ctx->cgContext, false);
  NSGraphicsContext::setCurrentContext(gc);
  CGContextRef port = ctx->cgContext;
  CGContextSaveGState(port);
  // The image draws y-up: flip the rectangle's span in place.
  CGContextTranslateCTM(port, 0, r->top + r->bottom);
  CGContextScaleCTM(port, 1, -1);
  img->image->drawInRect(NSMakeRect(r->left, r->top, r->right - r->left, r->bottom - r->top), NSMakeRect(0, 0, 0, 0),
                         NSCompositeSourceOver, 1.0);
  CGContextRestoreGState(port);
  NSGraphicsContext::setCurrentContext(saved);
  NSRelease(saved);
  NSRelease(gc);
}

int GetObject(HGDIOBJ obj, int size, void* out)
{
  if (size < 0 || !out)
    return 0;
  memset(out, 0, size_t(size));
  if (size != 8 || !isImage(obj))
    return 0;
  NSSize s = obj->image->size();
  int wh[2] = {int(s.width + 0.5), int(s.height + 0.5)};
  memcpy(out, wh, sizeof wh);
  return 1;
}

NSImage* GetNSImageFromHICON(HGDIOBJ obj)
{
  return isImage(obj) ? obj->image : nullptr;
}
