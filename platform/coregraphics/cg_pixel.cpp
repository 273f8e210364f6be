#include "platform/coregraphics/cg_pixel.h"

#include <cmath>

namespace
{

// x / 255 rounded to nearest, for 0 <= x <= 255 * 255.
int div255(int x)
{
  return (x + 127) / 255;
}

} // namespace

bool cgIsSupportedBitmapInfo(CGBitmapInfo info)
{
  if (info & ~(kCGBitmapAlphaInfoMask | kCGBitmapByteOrderMask))
    return false;
  CGBitmapInfo order = info & kCGBitmapByteOrderMask;
  if (order != kCGBitmapByteOrderDefault && order != kCGBitmapByteOrder32Big)
    return false;
  CGBitmapInfo alpha = info & kCGBitmapAlphaInfoMask;
  return alpha == kCGImageAlphaNoneSkipFirst || alpha == kCGImageAlphaPremultipliedFirst;
}

void cgBlendSpan(unsigned char* p, size_t count, CGBitmapInfo info, const CGFloat rgba[4])
{
  int a = cgToByte(rgba[3]);
  if (a == 0)
    return;
  int inv = 255 - a;
  if ((info & kCGBitmapAlphaInfoMask) == kCGImageAlphaPremultipliedFirst)
  {
    int r = cgToByte(rgba[0] * rgba[3]), g = cgToByte(rgba[1] * rgba[3]), b = cgToByte(rgba[2] * rgba[3]);
    for (size_t i = 0; i < count; ++i, p += 4)
    {
      p[0] = (unsigned char)(a + div255(p[0] * inv));
      p[1] = (unsigned char)(r + div255(p[1] * inv));
      p[2] = (unsigned char)(g + div255(p[2] * inv));
      p[3] = (unsigned char)(b + div255(p[3] * inv));
    }
    return;
  }
  int r = cgToByte(rgba[0]), g = cgToByte(rgba[1]), b = cgToByte(rgba[2]);
  for (size_t i = 0; i < count; ++i, p += 4)
  {
    p[0] = 0xFF; // the raster library reads this byte as alpha
    p[1] = (unsigned char)div255(r * a + p[1] * inv);
    p[2] = (unsigned char)div255(g * a + p[2] * inv);
    p[3] = (unsigned char)div255(b * a + p[3] * inv);
  }
}

void cgBlendPremultiplied(unsigned char* p, CGBitmapInfo info, const unsigned char argb[4])
{
  int a = argb[0];
  if (a == 0 && !(argb[1] | argb[2] | argb[3]))
    return;
  int inv = 255 - a;
  bool premultiplied = (info & kCGBitmapAlphaInfoMask) == kCGImageAlphaPremultipliedFirst;
  p[0] = premultiplied ? (unsigned char)(a + div255(p[0] * inv)) : 0xFF;
  for (int i = 1; i < 4; ++i)
  {
    int v = argb[i] + div255(p[i] * inv);
    p[i] = (unsigned char)(v > 255 ? 255 : v);
  }
}

long cgCentreEdge(CGFloat v, size_t n)
{
  CGFloat e = std::ceil(v - 0.5);
  if (!(e > 0))
    return 0;
  return e >= CGFloat(n) ? long(n) : long(e);
}

int cgToByte(CGFloat v)
{
  if (!(v > 0))
    return 0;
  return v >= 1 ? 255 : int(v * 255 + 0.5);
}
