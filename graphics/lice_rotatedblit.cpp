// Rotated blit: the delta blit set up for a rotation of a source rectangle
// about its centre, scaled into the destination rectangle.

#include <cmath>

#include "graphics/lice_sample_blit.h"

void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h,
                      float src_x, float src_y, float src_w, float src_h, float angle, bool keep_in_source_rect,
                      float alpha, int mode, float centre_dx, float centre_dy)
{
  if (!dest || !src || !dest_w || !dest_h)
    return;
  if (!LICE_AllFinite({src_x, src_y, src_w, src_h, angle, centre_dx, centre_dy}))
    return;
  LICE_DeltaArgs a;
  LICE_DeltaSourceClip(src, src_x, src_y, src_w, src_h, keep_in_source_rect, a);

  int64_t dx = dest_x, dy = dest_y, dw = dest_w, dh = dest_h;
  if (dw < 0)
    src_x += src_w, dx += dw, src_w = -src_w, dw = -dw;
  if (dh < 0)
    src_y += src_h, dy += dh, src_h = -src_h, dh = -dh;

  const double c = std::cos(double(angle)), s = std::sin(double(angle));
  const float xs = src_w / float(dw), ys = src_h / float(dh);
  a.dsx = c * xs;
  a.rsx = s * xs;
  a.rsy = c * ys;
  a.dsy = -s * ys;
  // The destination rectangle's centre samples the source rectangle's
  // centre moved by (centre_dx, centre_dy). The start point is a float, and
  // stays one through the clipping below.
  float sx0, sy0;
  if (!LICE_ToFloat(src_x - (((a.dsx * double(dw) + a.rsx * double(dh)) - src_w) * 0.5 - centre_dx), sx0) ||
      !LICE_ToFloat(src_y - (((a.rsy * double(dh) + a.dsy * double(dw)) - src_h) * 0.5 - centre_dy), sy0))
    return;
  if (dx < 0)
  {
    dw += dx;
    if (!LICE_ToFloat(sx0 - a.dsx * double(dx), sx0) || !LICE_ToFloat(sy0 - a.dsy * double(dx), sy0))
      return;
    dx = 0;
  }
  if (dy < 0)
  {
    dh += dy;
    if (!LICE_ToFloat(sy0 - a.rsy * double(dy), sy0) || !LICE_ToFloat(sx0 - a.rsx * double(dy), sx0))
      return;
    dy = 0;
  }
  a.dest_x = dx, a.dest_y = dy, a.dest_w = dw, a.dest_h = dh;
  a.sx = sx0, a.sy = sy0;
  a.alpha = alpha;
  a.mode = mode;
  LICE_RunDeltaBlit(dest, src, a);
}
