#pragma once
// Private: the context record. Every context draws into a bitmap owned by
// its creator.

#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/coregraphics/CGImage.h"
#include "platform/coregraphics/cg_object.h"

struct CGGState
{
  CGAffineTransform ctm = CGAffineTransformIdentity;
  CGRect clip = CGRectNull; // device space; set to the bitmap at creation
  CGFloat fill[4] = {0, 0, 0, 1};
  CGFloat stroke[4] = {0, 0, 0, 1};
  CGFloat lineWidth = 1;
  CGFloat alpha = 1; // multiplies every drawing
};

// One figure of the current path, flattened, in device space.
struct CGSubpath
{
  std::vector<CGPoint> points;
  bool closed = false;
};

struct CGContext : CGObject
{
  CGGState& state() { return stack.back(); }

  std::vector<CGGState> stack; // never empty; back() is current
  std::vector<CGSubpath> path; // not part of the saved state, as on the platform
  unsigned char* data = nullptr;
  size_t width = 0;
  size_t height = 0;
  size_t bytesPerRow = 0;
  CGBitmapInfo bitmapInfo = 0;
};
