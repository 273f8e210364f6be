#include <gtest/gtest.h>

#include "platform/coregraphics/CGColor.h"

TEST(CGColor, KeepsComponentsAndItsSpace)
{
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  EXPECT_EQ(CGColorSpaceGetNumberOfComponents(space), 3u);
  const CGFloat v[4] = {0.25, 0.5, 1.0, 0.75};
  CGColorRef c = CGColorCreate(space, v);
  CGColorSpaceRelease(space); // the colour keeps its own reference
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(CGColorGetNumberOfComponents(c), 4u);
  EXPECT_EQ(CGColorSpaceGetNumberOfComponents(CGColorGetColorSpace(c)), 3u);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(CGColorGetComponents(c)[i], v[i]);
  EXPECT_EQ(CGColorGetAlpha(c), 0.75);
  EXPECT_EQ(CGColorRetain(c), c);
  CGColorRelease(c);
  CGColorRelease(c);
}
