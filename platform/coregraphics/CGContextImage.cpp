#include <algorithm>
#include <cmath>

#include "platform/coregraphics/cg_context.h"
#include "platform/coregraphics/cg_image.h"
#include "platform/coregraphics/cg_pixel.h"

namespace
{

// The image pixel as premultiplied A, R, G, B, scaled by alpha (0..256).
void sourcePixel(const CGImage* img, size_t x, size_t y, int alpha, unsigned char out[4])
{
  const unsigned char* s = img->bytes.data() + y * img->bytesPerRow + x * 4;
  bool premultiplied = (img->bitmapInfo & kCGBitmapAlphaInfoMask) == kCGImageAlphaPremultipliedFirst;
  out[0] = premultiplied ? s[0] : 255;
  for (int i = 1; i < 4; ++i)
    out[i] = s[i];
  if (alpha < 256)
    for (int i = 0; i < 4; ++i)
      out[i] = (unsigned char)((out[i] * alpha) >> 8);
}

} // namespace

void CGContextDrawImage(CGContextRef c, CGRect rect, CGImageRef image)
{
  if (!c || !c->data || !image || image->bytes.empty() || CGRectIsNull(rect))
    return;
  rect = CGRectStandardize(rect);
  if (!(rect.size.width > 0 && rect.size.height > 0))
    return;
  const CGGState& s = c->state();
  int alpha = int(s.alpha * 256 + 0.5);
  if (alpha <= 0)
    return;
  CGRect area = CGRectIntersection(CGRectApplyAffineTransform(rect, s.ctm), s.clip);
  if (CGRectIsEmpty(area))
    return;
  long x0 = cgCentreEdge(CGRectGetMinX(area), c->width), x1 = cgCentreEdge(CGRectGetMaxX(area), c->width);
  long y0 = cgCentreEdge(CGRectGetMinY(area), c->height), y1 = cgCentreEdge(CGRectGetMaxY(area), c->height);
  CGAffineTransform inv = CGAffineTransformInvert(s.ctm);
  CGFloat sx = CGFloat(image->width) / rect.size.width, sy = CGFloat(image->height) / rect.size.height;
  CGFloat top = rect.origin.y + rect.size.height;
  for (long y = y0; y < y1; ++y)
  {
    unsigned char* row = c->data + (c->height - 1 - size_t(y)) * c->bytesPerRow;
    // Pixel centres along a row step by the inverse transform's x column.
    CGPoint u0 = CGPointApplyAffineTransform(CGPointMake(CGFloat(x0) + 0.5, CGFloat(y) + 0.5), inv);
    for (long x = x0; x < x1; ++x)
    {
      CGFloat i = CGFloat(x - x0);
      CGFloat fx = (u0.x + i * inv.a - rect.origin.x) * sx, fy = (top - (u0.y + i * inv.b)) * sy;
      if (!(fx >= 0 && fy >= 0 && fx < CGFloat(image->width) && fy < CGFloat(image->height)))
        continue;
      unsigned char px[4];
      sourcePixel(image, size_t(fx), size_t(fy), alpha, px);
      if (px[0] | px[1] | px[2] | px[3])
        cgBlendPremultiplied(row + x * 4, c->bitmapInfo, px);
    }
  }
}
