#include "platform/coregraphics/CGAffineTransform.h"

#include <algorithm>

const CGAffineTransform CGAffineTransformIdentity = {1, 0, 0, 1, 0, 0};

CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty)
{
  return CGAffineTransform{a, b, c, d, tx, ty};
}

CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty)
{
  return {1, 0, 0, 1, tx, ty};
}

CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy)
{
  return {sx, 0, 0, sy, 0, 0};
}

CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2)
{
  return {t1.a * t2.a + t1.b * t2.c, t1.a * t2.b + t1.b * t2.d,           t1.c * t2.a + t1.d * t2.c,
          t1.c * t2.b + t1.d * t2.d, t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformTranslate(CGAffineTransform t, CGFloat tx, CGFloat ty)
{
  return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), t);
}

CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy)
{
  return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}

CGAffineTransform CGAffineTransformInvert(CGAffineTransform t)
{
  CGFloat det = t.a * t.d - t.b * t.c;
  if (det == 0)
    return t;
  CGFloat a = t.d / det, b = -t.b / det, c = -t.c / det, d = t.a / det;
  return {a, b, c, d, -(t.tx * a + t.ty * c), -(t.tx * b + t.ty * d)};
}

bool CGAffineTransformIsIdentity(CGAffineTransform t)
{
  return t.a == 1 && t.b == 0 && t.c == 0 && t.d == 1 && t.tx == 0 && t.ty == 0;
}

CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t)
{
  return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}

CGRect CGRectApplyAffineTransform(CGRect r, CGAffineTransform t)
{
  if (CGRectIsNull(r))
    return r;
  r = CGRectStandardize(r);
  CGFloat xs[2] = {r.origin.x, r.origin.x + r.size.width};
  CGFloat ys[2] = {r.origin.y, r.origin.y + r.size.height};
  CGPoint p = CGPointApplyAffineTransform({xs[0], ys[0]}, t);
  CGFloat x0 = p.x, x1 = p.x, y0 = p.y, y1 = p.y;
  for (CGFloat x : xs)
  {
    for (CGFloat y : ys)
    {
      p = CGPointApplyAffineTransform({x, y}, t);
      x0 = std::min(x0, p.x);
      x1 = std::max(x1, p.x);
      y0 = std::min(y0, p.y);
      y1 = std::max(y1, p.y);
    }
  }
  return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}
