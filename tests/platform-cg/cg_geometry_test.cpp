#include <gtest/gtest.h>

#include "platform/coregraphics/CGAffineTransform.h"

namespace
{

void expectPoint(CGPoint p, CGFloat x, CGFloat y)
{
  EXPECT_DOUBLE_EQ(p.x, x);
  EXPECT_DOUBLE_EQ(p.y, y);
}

} // namespace

TEST(CGAffineTransform, TranslateThenScaleAppliesTheScaleFirst)
{
  // The flip of a 3-row context: (x, y) -> (x, 3 - y).
  CGAffineTransform t = CGAffineTransformScale(CGAffineTransformMakeTranslation(0, 3), 1, -1);
  expectPoint(CGPointApplyAffineTransform({0, 0}, t), 0, 3);
  expectPoint(CGPointApplyAffineTransform({2, 1}, t), 2, 2);
  // The other order moves the already flipped point: (x, -(y + 3)).
  CGAffineTransform u = CGAffineTransformTranslate(CGAffineTransformMakeScale(1, -1), 0, 3);
  expectPoint(CGPointApplyAffineTransform({2, 1}, u), 2, -4);
}

TEST(CGAffineTransform, InvertUndoesAndLeavesSingularAlone)
{
  CGAffineTransform t = CGAffineTransformMake(2, 1, -1, 3, 4, -5);
  CGPoint p = CGPointApplyAffineTransform({1.5, -2}, t);
  expectPoint(CGPointApplyAffineTransform(p, CGAffineTransformInvert(t)), 1.5, -2);
  CGAffineTransform singular = CGAffineTransformMakeScale(0, 1);
  CGAffineTransform inv = CGAffineTransformInvert(singular);
  EXPECT_EQ(inv.a, 0);
  EXPECT_EQ(inv.d, 1);
}

TEST(CGRect, IntersectionTouchingDisjointAndNull)
{
  CGRect a = CGRectMake(0, 0, 4, 4);
  EXPECT_TRUE(CGRectEqualToRect(CGRectIntersection(a, CGRectMake(2, -1, 5, 2)), CGRectMake(2, 0, 2, 1)));
  // Sharing an edge meets in an empty, non-null rectangle.
  CGRect edge = CGRectIntersection(a, CGRectMake(4, 0, 2, 2));
  EXPECT_FALSE(CGRectIsNull(edge));
  EXPECT_TRUE(CGRectIsEmpty(edge));
  EXPECT_TRUE(CGRectIsNull(CGRectIntersection(a, CGRectMake(5, 5, 1, 1))));
  EXPECT_TRUE(CGRectIsNull(CGRectIntersection(CGRectNull, a)));
  // A negative size is the same rectangle seen from its other corner.
  EXPECT_TRUE(CGRectEqualToRect(CGRectIntersection(a, CGRectMake(3, 3, -2, -2)), CGRectMake(1, 1, 2, 2)));
}

TEST(CGRect, ApplyTransformGivesTheBoundingBox)
{
  CGRect r = CGRectApplyAffineTransform(CGRectMake(1, 1, 2, 1), CGAffineTransformMake(1, 0, 0, -1, 0, 10));
  EXPECT_TRUE(CGRectEqualToRect(r, CGRectMake(1, 8, 2, 1)));
  // A quarter turn of a 2 x 1 rectangle stands it up.
  r = CGRectApplyAffineTransform(CGRectMake(0, 0, 2, 1), CGAffineTransformMake(0, 1, -1, 0, 0, 0));
  EXPECT_TRUE(CGRectEqualToRect(r, CGRectMake(-1, 0, 1, 2)));
}
