#include "platform/coregraphics/CGGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

const CGRect CGRectNull = {{std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()},
                           {0, 0}};

CGRect CGRectStandardize(CGRect r)
{
  if (r.size.width < 0)
  {
    r.origin.x += r.size.width;
    r.size.width = -r.size.width;
  }
  if (r.size.height < 0)
  {
    r.origin.y += r.size.height;
    r.size.height = -r.size.height;
  }
  return r;
}

bool CGRectIsNull(CGRect r)
{
  return r.origin.x == std::numeric_limits<CGFloat>::infinity() ||
         r.origin.y == std::numeric_limits<CGFloat>::infinity();
}

bool CGRectIsEmpty(CGRect r)
{
  return CGRectIsNull(r) || r.size.width == 0 || r.size.height == 0;
}

CGFloat CGRectGetMinX(CGRect r)
{
  return CGRectStandardize(r).origin.x;
}
CGFloat CGRectGetMinY(CGRect r)
{
  return CGRectStandardize(r).origin.y;
}
CGFloat CGRectGetMaxX(CGRect r)
{
  r = CGRectStandardize(r);
  return r.origin.x + r.size.width;
}
CGFloat CGRectGetMaxY(CGRect r)
{
  r = CGRectStandardize(r);
  return r.origin.y + r.size.height;
}

CGRect CGRectIntersection(CGRect a, CGRect b)
{
  if (CGRectIsNull(a) || CGRectIsNull(b))
    return CGRectNull;
  CGFloat x0 = std::max(CGRectGetMinX(a), CGRectGetMinX(b));
  CGFloat y0 = std::max(CGRectGetMinY(a), CGRectGetMinY(b));
  CGFloat x1 = std::min(CGRectGetMaxX(a), CGRectGetMaxX(b));
  CGFloat y1 = std::min(CGRectGetMaxY(a), CGRectGetMaxY(b));
  // Touching edges still meet (a zero-size result), as on the platform.
  if (x1 < x0 || y1 < y0)
    return CGRectNull;
  return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

bool CGRectEqualToRect(CGRect a, CGRect b)
{
  if (CGRectIsNull(a) || CGRectIsNull(b))
    return CGRectIsNull(a) == CGRectIsNull(b);
  a = CGRectStandardize(a);
  b = CGRectStandardize(b);
  return a.origin.x == b.origin.x && a.origin.y == b.origin.y && a.size.width == b.size.width &&
         a.size.height == b.size.height;
}

CGRect CGRectUnion(CGRect a, CGRect b)
{
  if (CGRectIsNull(a))
    return CGRectStandardize(b);
  if (CGRectIsNull(b))
    return CGRectStandardize(a);
  CGFloat x0 = std::min(CGRectGetMinX(a), CGRectGetMinX(b));
  CGFloat y0 = std::min(CGRectGetMinY(a), CGRectGetMinY(b));
  CGFloat x1 = std::max(CGRectGetMaxX(a), CGRectGetMaxX(b));
  CGFloat y1 = std::max(CGRectGetMaxY(a), CGRectGetMaxY(b));
  return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

CGRect CGRectIntegral(CGRect r)
{
  if (CGRectIsNull(r))
    return r;
  CGFloat x0 = std::floor(CGRectGetMinX(r)), y0 = std::floor(CGRectGetMinY(r));
  CGFloat x1 = std::ceil(CGRectGetMaxX(r)), y1 = std::ceil(CGRectGetMaxY(r));
  return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}

CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy)
{
  if (CGRectIsNull(r))
    return r;
  r = CGRectStandardize(r);
  return CGRectMake(r.origin.x + dx, r.origin.y + dy, r.size.width, r.size.height);
}

bool CGRectContainsPoint(CGRect r, CGPoint p)
{
  if (CGRectIsNull(r))
    return false;
  return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) && p.y < CGRectGetMaxY(r);
}
