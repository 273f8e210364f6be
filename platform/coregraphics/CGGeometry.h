#pragma once
// Points, sizes and rectangles of the Core Graphics stand-in. CGFloat is
// pointer-sized, as on every 64-bit target of the platform.

#include <cstddef>

typedef double CGFloat;

struct CGPoint
{
  CGFloat x, y;
};
struct CGSize
{
  CGFloat width, height;
};
// May have a negative size; every operation works on the standardised form.
struct CGRect
{
  CGPoint origin;
  CGSize size;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y)
{
  return CGPoint{x, y};
}
inline CGSize CGSizeMake(CGFloat w, CGFloat h)
{
  return CGSize{w, h};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h)
{
  return CGRect{{x, y}, {w, h}};
}

// The result of intersecting rectangles that do not meet.
extern const CGRect CGRectNull;

CGRect CGRectStandardize(CGRect r);
bool CGRectIsNull(CGRect r);
// True for the null rectangle and for any rectangle of zero width or height.
bool CGRectIsEmpty(CGRect r);
CGRect CGRectIntersection(CGRect a, CGRect b);
bool CGRectEqualToRect(CGRect a, CGRect b);
CGFloat CGRectGetMinX(CGRect r);
CGFloat CGRectGetMaxX(CGRect r);
CGFloat CGRectGetMinY(CGRect r);
CGFloat CGRectGetMaxY(CGRect r);
// The smallest rectangle holding both; a null rectangle adds nothing.
CGRect CGRectUnion(CGRect a, CGRect b);
// The smallest rectangle with integral edges holding r; null stays null.
CGRect CGRectIntegral(CGRect r);
CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy);
// Minimum edges inside, maximum edges outside.
bool CGRectContainsPoint(CGRect r, CGPoint p);
