#include "graphics/gdi/swell-gdi.h"

namespace
{

// Created on first use and never released: colours made from it may
// outlive any owner we could give it.
CGColorSpaceRef sharedColorSpace()
{
  static CGColorSpaceRef cspace = CGColorSpaceCreateDeviceRGB();
  return cspace;
}

} // namespace

CGColorRef CreateColor(int color, float alpha)
{
  CGFloat c[4] = {((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, (color & 0xFF) / 255.0, alpha};
  return CGColorCreate(sharedColorSpace(), c);
}
