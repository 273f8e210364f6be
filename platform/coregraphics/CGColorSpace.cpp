#include "platform/coregraphics/CGColorSpace.h"

#include <new>

#include "platform/coregraphics/cg_object.h"

struct CGColorSpace : CGObject
{
  size_t components = 3;
};

CGColorSpaceRef CGColorSpaceCreateDeviceRGB()
{
  return new (std::nothrow) CGColorSpace;
}

CGColorSpaceRef CGColorSpaceRetain(CGColorSpaceRef space)
{
  return CGObjectRetain(space);
}

void CGColorSpaceRelease(CGColorSpaceRef space)
{
  CGObjectRelease(space);
}

size_t CGColorSpaceGetNumberOfComponents(CGColorSpaceRef space)
{
  return space ? space->components : 0;
}
