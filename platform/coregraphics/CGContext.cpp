#include "platform/coregraphics/cg_context.h"

#include <cmath>
#include <new>

#include "platform/coregraphics/cg_pixel.h"

CGContextRef CGContextRetain(CGContextRef c)
{
  return CGObjectRetain(c);
}

void CGContextRelease(CGContextRef c)
{
  CGObjectRelease(c);
}

void CGContextFlush(CGContextRef) {}

void CGContextSaveGState(CGContextRef c)
{
  if (!c)
    return;
  try
  {
    c->stack.push_back(c->state());
  }
  catch (const std::bad_alloc&)
  {
    // Without memory the save is lost; the matching restore then finds
    // the stack one short and leaves the state as it is.
  }
}

void CGContextRestoreGState(CGContextRef c)
{
  if (c && c->stack.size() > 1)
    c->stack.pop_back();
}

void CGContextConcatCTM(CGContextRef c, CGAffineTransform t)
{
  if (c)
    c->state().ctm = CGAffineTransformConcat(t, c->state().ctm);
}

void CGContextTranslateCTM(CGContextRef c, CGFloat tx, CGFloat ty)
{
  CGContextConcatCTM(c, CGAffineTransformMakeTranslation(tx, ty));
}

void CGContextScaleCTM(CGContextRef c, CGFloat sx, CGFloat sy)
{
  CGContextConcatCTM(c, CGAffineTransformMakeScale(sx, sy));
}

void CGContextRotateCTM(CGContextRef c, CGFloat radians)
{
  CGFloat s = std::sin(radians), k = std::cos(radians);
  CGContextConcatCTM(c, CGAffineTransformMake(k, s, -s, k, 0, 0));
}

CGAffineTransform CGContextGetCTM(CGContextRef c)
{
  return c ? c->state().ctm : CGAffineTransformIdentity;
}

void CGContextClipToRect(CGContextRef c, CGRect rect)
{
  if (!c)
    return;
  CGGState& s = c->state();
  s.clip = CGRectIntersection(s.clip, CGRectApplyAffineTransform(rect, s.ctm));
}

CGRect CGContextGetClipBoundingBox(CGContextRef c)
{
  if (!c)
    return CGRectNull;
  const CGGState& s = c->state();
  return CGRectApplyAffineTransform(s.clip, CGAffineTransformInvert(s.ctm));
}

void CGContextSetAlpha(CGContextRef c, CGFloat alpha)
{
  if (c)
    c->state().alpha = alpha > 1 ? 1 : alpha > 0 ? alpha : 0;
}

void CGContextSetRGBFillColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
  if (!c)
    return;
  CGFloat* fill = c->state().fill;
  fill[0] = r;
  fill[1] = g;
  fill[2] = b;
  fill[3] = a;
}

void CGContextSetFillColorWithColor(CGContextRef c, CGColorRef color)
{
  if (CGColorGetNumberOfComponents(color) != 4)
    return;
  const CGFloat* v = CGColorGetComponents(color);
  CGContextSetRGBFillColor(c, v[0], v[1], v[2], v[3]);
}

void CGContextFillRect(CGContextRef c, CGRect rect)
{
  if (!c || !c->data)
    return;
  const CGGState& s = c->state();
  CGRect area = CGRectIntersection(CGRectApplyAffineTransform(rect, s.ctm), s.clip);
  if (CGRectIsEmpty(area))
    return;
  const size_t x0 = size_t(cgCentreEdge(CGRectGetMinX(area), c->width));
  const size_t x1 = size_t(cgCentreEdge(CGRectGetMaxX(area), c->width));
  const size_t y0 = size_t(cgCentreEdge(CGRectGetMinY(area), c->height));
  const size_t y1 = size_t(cgCentreEdge(CGRectGetMaxY(area), c->height));
  if (x0 >= x1)
    return;
  // Device row y (bottom-up) is memory row height - 1 - y.
  for (size_t y = y0; y < y1; ++y)
  {
    unsigned char* row = c->data + (c->height - 1 - y) * c->bytesPerRow;
    cgBlendSpan(row + x0 * 4, x1 - x0, c->bitmapInfo, s.fill);
  }
}
