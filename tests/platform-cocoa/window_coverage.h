#pragma once
// A window's backing store as rows of '#' (drawn) and '.' (zero), top row
// first: drawings are compared against a picture drawn by hand.

#include <cstdint>
#include <string>

#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/coregraphics/CGBitmapContext.h"

inline std::string windowCoverage(NSWindow* w)
{
  CGContextRef port = w->graphicsContext()->graphicsPort();
  auto* p = static_cast<const uint32_t*>(CGBitmapContextGetData(port));
  size_t width = CGBitmapContextGetWidth(port), height = CGBitmapContextGetHeight(port);
  std::string s;
  for (size_t y = 0; y < height; ++y, s += '\n')
    for (size_t x = 0; x < width; ++x)
      s += p[y * width + x] ? '#' : '.';
  return s;
}
