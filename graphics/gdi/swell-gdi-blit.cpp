#include <algorithm>
#include <cstdlib>
#include <vector>

#include "graphics/gdi/gdp_records.h"
#include "graphics/gdi/swell-gdi-ops.h"
#include "platform/coregraphics/CGBitmapContext.h"

namespace
{

// Draws img at (x, y, w, h) of a y-down context, its first row on top:
// the platform draws images y-up, so the destination is flipped around it.
void drawUpright(CGContextRef gc, CGImageRef img, CGFloat x, CGFloat y, CGFloat w, CGFloat h)
{
  CGContextSaveGState(gc);
  CGContextScaleCTM(gc, 1, -1);
  CGContextDrawImage(gc, CGRectMake(x, -h - y, w, h), img);
  CGContextRestoreGState(gc);
}

bool canCopy(HDC dst, HDC src)
{
  return dst && dst->cgContext && src && src->frameBuffer && src->cgContext;
}

// The source image, whole or cropped to (sx, sy, sw, sh); null when
// nothing of the source is inside.
CGImageRef sourceImage(HDC src, int sx, int sy, int sw, int sh)
{
  CGImageRef img = CGBitmapContextCreateImage(src->cgContext);
  if (!img || (sx == 0 && sy == 0 && size_t(sw) == CGImageGetWidth(img) && size_t(sh) == CGImageGetHeight(img)))
    return img;
  CGImageRef part = CGImageCreateWithImageInRect(img, CGRectMake(sx, sy, sw, sh));
  CGImageRelease(img);
  return part;
}

// One source pixel (bytes A, R, G, B) as premultiplied A, R, G, B with
// weight k: 0..256 against the source alpha, else 0..255 flat.
void weighPixel(const unsigned char* s, unsigned char* d, bool useSrcAlpha, int k)
{
  int a;
  if (useSrcAlpha)
  {
    a = k == 256 ? s[0] : (k * s[0]) >> 8;
    for (int i = 1; i < 4; ++i)
      d[i] = (unsigned char)((s[i] * a) >> 8);
  }
  else if (k < 255)
  {
    a = k;
    for (int i = 1; i < 4; ++i)
      d[i] = (unsigned char)((k * s[i]) >> 8);
  }
  else
  {
    a = 255;
    for (int i = 1; i < 4; ++i)
      d[i] = s[i];
  }
  d[0] = (unsigned char)a;
}

} // namespace

void BitBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int)
{
  if (w <= 0 || h <= 0 || !canCopy(dst, src))
    return;
  CGImageRef img = sourceImage(src, sx, sy, w, h);
  if (!img)
    return;
  drawUpright(dst->cgContext, img, x, y, CGFloat(CGImageGetWidth(img)), CGFloat(CGImageGetHeight(img)));
  CGImageRelease(img);
}

void StretchBlt(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, int)
{
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0 || !canCopy(dst, src))
    return;
  CGImageRef img = sourceImage(src, sx, sy, sw, sh);
  if (!img)
    return;
  drawUpright(dst->cgContext, img, x, y, w, h);
  CGImageRelease(img);
}

void BitBltAlpha(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy, int mode, bool useSrcAlpha,
                 float opacity)
{
  if (!useSrcAlpha && opacity >= 0.9999f)
  {
    BitBlt(dst, x, y, w, h, src, sx, sy, mode);
    return;
  }
  if (!src || !src->frameBuffer)
    return;
  int span = int(CGBitmapContextGetWidth(src->cgContext)), height = int(CGBitmapContextGetHeight(src->cgContext));
  BitBltAlphaFromMem(dst, x, y, w, h, src->frameBuffer, span, height, sx, sy, mode, useSrcAlpha, opacity);
}

void BitBltAlphaFromMem(HDC dst, int x, int y, int w, int h, const void* srcBits, int srcSpan, int srcHeight, int sx,
                        int sy, int, bool useSrcAlpha, float opacity)
{
  if (!(opacity >= 0.0001f) || !dst || !dst->cgContext || w <= 0 || h <= 0 || !srcBits || !srcSpan || !srcHeight)
    return;
  int64_t span = std::abs(int64_t(srcSpan));
  int64_t cw = std::min<int64_t>(int64_t(w) + std::min(sx, 0), span - std::max(sx, 0));
  int64_t ch = std::min<int64_t>(int64_t(h) + std::min(sy, 0), int64_t(srcHeight) - std::max(sy, 0));
  if (cw < 1 || ch < 1 || cw * ch > SWELL_MAX_CONTEXT_PIXELS)
    return;
  // Clamped before the conversion: a huge opacity would overflow the int.
  opacity = std::min(opacity, 1.0f);
  int k = useSrcAlpha ? std::clamp(int(256 * opacity + 0.5), 0, 256) : std::clamp(int(255 * opacity + 0.5), 0, 255);

  std::vector<unsigned char> px(size_t(cw * ch * 4));
  const unsigned char* base = static_cast<const unsigned char*>(srcBits);
  for (int64_t j = 0; j < ch; ++j)
  {
    int64_t row = std::max(sy, 0) + j;
    if (srcSpan < 0)
      row = srcHeight - 1 - row;
    const unsigned char* s = base + (row * span + std::max(sx, 0)) * 4;
    for (int64_t i = 0; i < cw; ++i)
      weighPixel(s + i * 4, &px[size_t((j * cw + i) * 4)], useSrcAlpha, k);
  }
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, px.data(), px.size(), nullptr);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGImageRef img = CGImageCreate(size_t(cw), size_t(ch), 8, 32, size_t(cw) * 4, space, kCGImageAlphaPremultipliedFirst,
                                 provider, nullptr, false, 0);
  CGColorSpaceRelease(space);
  CGDataProviderRelease(provider);
  if (!img)
    return;
  drawUpright(dst->cgContext, img, x - std::min(sx, 0), y - std::min(sy, 0), CGFloat(cw), CGFloat(ch));
  CGImageRelease(img);
}
