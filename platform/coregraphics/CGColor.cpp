#include "platform/coregraphics/CGColor.h"

#include <new>

#include "platform/coregraphics/cg_object.h"

namespace
{
constexpr size_t kMaxComponents = 4;
}

struct CGColor : CGObject
{
  ~CGColor() override { CGColorSpaceRelease(space); }
  CGColorSpaceRef space = nullptr;
  size_t count = 0;
  CGFloat components[kMaxComponents] = {};
};

CGColorRef CGColorCreate(CGColorSpaceRef space, const CGFloat* components)
{
  size_t count = CGColorSpaceGetNumberOfComponents(space) + 1;
  if (!space || !components || count > kMaxComponents)
    return nullptr;
  CGColor* color = new (std::nothrow) CGColor;
  if (!color)
    return nullptr;
  color->space = CGColorSpaceRetain(space);
  color->count = count;
  for (size_t i = 0; i < count; ++i)
    color->components[i] = components[i];
  return color;
}

CGColorRef CGColorRetain(CGColorRef color)
{
  return CGObjectRetain(color);
}

void CGColorRelease(CGColorRef color)
{
  CGObjectRelease(color);
}

size_t CGColorGetNumberOfComponents(CGColorRef color)
{
  return color ? color->count : 0;
}

const CGFloat* CGColorGetComponents(CGColorRef color)
{
  return color ? color->components : nullptr;
}

CGFloat CGColorGetAlpha(CGColorRef color)
{
  return color ? color->components[color->count - 1] : 0;
}

CGColorSpaceRef CGColorGetColorSpace(CGColorRef color)
{
  return color ? color->space : nullptr;
}
