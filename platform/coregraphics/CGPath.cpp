#include "platform/coregraphics/CGPath.h"

#include <algorithm>
#include <cmath>

#include "platform/coregraphics/cg_raster.h"

namespace
{

CGPoint toDevice(CGContextRef c, CGFloat x, CGFloat y)
{
  return CGPointApplyAffineTransform(CGPointMake(x, y), c->state().ctm);
}

bool hasCurrentPoint(CGContextRef c)
{
  return c && !c->path.empty() && !c->path.back().points.empty();
}

void setColor(CGFloat* dst, CGColorRef color)
{
  if (CGColorGetNumberOfComponents(color) != 4)
    return;
  std::copy_n(CGColorGetComponents(color), 4, dst);
}

// Segments enough that the flattened curve stays within a small fraction
// of a pixel of the true one.
int curveSteps(CGPoint p0, CGPoint p1, CGPoint p2, CGPoint p3)
{
  CGFloat len =
    std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) + std::hypot(p3.x - p2.x, p3.y - p2.y);
  if (!(len < 1e6))
    return 1;
  return std::clamp(int(std::sqrt(len) * 2), 1, 256);
}

// Device width of a user-space line width: the transform's mean scale.
CGFloat deviceWidth(CGContextRef c)
{
  const CGAffineTransform& t = c->state().ctm;
  return c->state().lineWidth * std::sqrt(std::fabs(t.a * t.d - t.b * t.c));
}

} // namespace

void CGContextBeginPath(CGContextRef c)
{
  if (c)
    c->path.clear();
}

void CGContextMoveToPoint(CGContextRef c, CGFloat x, CGFloat y)
{
  if (!c)
    return;
  if (c->path.empty() || c->path.back().points.size() > 1 || c->path.back().closed)
    c->path.emplace_back();
  c->path.back().points.assign(1, toDevice(c, x, y));
}

void CGContextAddLineToPoint(CGContextRef c, CGFloat x, CGFloat y)
{
  if (!hasCurrentPoint(c))
    return;
  c->path.back().points.push_back(toDevice(c, x, y));
}

void CGContextAddCurveToPoint(CGContextRef c, CGFloat cp1x, CGFloat cp1y, CGFloat cp2x, CGFloat cp2y, CGFloat x,
                              CGFloat y)
{
  if (!hasCurrentPoint(c))
    return;
  std::vector<CGPoint>& pts = c->path.back().points;
  CGPoint p0 = pts.back(), p1 = toDevice(c, cp1x, cp1y), p2 = toDevice(c, cp2x, cp2y), p3 = toDevice(c, x, y);
  int n = curveSteps(p0, p1, p2, p3);
  for (int i = 1; i <= n; ++i)
  {
    CGFloat t = CGFloat(i) / n, u = 1 - t;
    CGFloat a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
    pts.push_back({a * p0.x + b * p1.x + d * p2.x + e * p3.x, a * p0.y + b * p1.y + d * p2.y + e * p3.y});
  }
}

void CGContextClosePath(CGContextRef c)
{
  if (!hasCurrentPoint(c))
    return;
  CGSubpath& sp = c->path.back();
  sp.closed = true;
  // The figure's start is the current point again, in a fresh subpath.
  CGPoint start = sp.points.front();
  c->path.emplace_back();
  c->path.back().points.push_back(start);
}

void CGContextAddRect(CGContextRef c, CGRect r)
{
  if (!c)
    return;
  r = CGRectStandardize(r);
  CGFloat x0 = r.origin.x, y0 = r.origin.y, x1 = x0 + r.size.width, y1 = y0 + r.size.height;
  CGContextMoveToPoint(c, x0, y0);
  CGContextAddLineToPoint(c, x1, y0);
  CGContextAddLineToPoint(c, x1, y1);
  CGContextAddLineToPoint(c, x0, y1);
  CGContextClosePath(c);
}

void CGContextAddEllipseInRect(CGContextRef c, CGRect r)
{
  if (!c)
    return;
  r = CGRectStandardize(r);
  // Four cubic quarter arcs; k places the control points.
  const CGFloat k = 0.5522847498307936;
  CGFloat rx = r.size.width / 2, ry = r.size.height / 2;
  CGFloat cx = r.origin.x + rx, cy = r.origin.y + ry, kx = k * rx, ky = k * ry;
  CGContextMoveToPoint(c, cx + rx, cy);
  CGContextAddCurveToPoint(c, cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
  CGContextAddCurveToPoint(c, cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
  CGContextAddCurveToPoint(c, cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
  CGContextAddCurveToPoint(c, cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
  CGContextClosePath(c);
}

bool CGContextIsPathEmpty(CGContextRef c)
{
  if (!c)
    return true;
  for (const CGSubpath& sp : c->path)
    if (sp.points.size() > 1)
      return false;
  return true;
}

void CGContextSetStrokeColorWithColor(CGContextRef c, CGColorRef color)
{
  if (c)
    setColor(c->state().stroke, color);
}

void CGContextSetRGBStrokeColor(CGContextRef c, CGFloat r, CGFloat g, CGFloat b, CGFloat a)
{
  const CGFloat v[4] = {r, g, b, a};
  if (c)
    std::copy_n(v, 4, c->state().stroke);
}

void CGContextSetLineWidth(CGContextRef c, CGFloat width)
{
  if (c && width >= 0)
    c->state().lineWidth = width;
}

void CGContextDrawPath(CGContextRef c, CGPathDrawingMode mode)
{
  if (!c)
    return;
  if (mode != kCGPathStroke)
    cgFillPolygons(c, c->path, mode == kCGPathEOFill, c->state().fill);
  if (mode == kCGPathStroke || mode == kCGPathFillStroke)
    cgFillPolygons(c, cgStrokeOutline(c->path, deviceWidth(c)), false, c->state().stroke);
  c->path.clear();
}

void CGContextFillPath(CGContextRef c)
{
  CGContextDrawPath(c, kCGPathFill);
}

void CGContextStrokePath(CGContextRef c)
{
  CGContextDrawPath(c, kCGPathStroke);
}

void CGContextStrokeRect(CGContextRef c, CGRect rect)
{
  CGContextBeginPath(c);
  CGContextAddRect(c, rect);
  CGContextStrokePath(c);
}

void CGContextFillEllipseInRect(CGContextRef c, CGRect rect)
{
  CGContextBeginPath(c);
  CGContextAddEllipseInRect(c, rect);
  CGContextFillPath(c);
}

void CGContextStrokeEllipseInRect(CGContextRef c, CGRect rect)
{
  CGContextBeginPath(c);
  CGContextAddEllipseInRect(c, rect);
  CGContextStrokePath(c);
}
