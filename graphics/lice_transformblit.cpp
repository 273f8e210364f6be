// Transform blit: a source warped through a grid of source points, one delta
// blit per grid cell, each a bilinear map of its four corners.

#include <cmath>
#include <cstddef>

#include "graphics/lice_sample_blit.h"

namespace
{

struct MeshPoint
{
  float x, y;
};

} // namespace

void LICE_TransformBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h,
                        float* mesh_points, int mesh_cols, int mesh_rows, float alpha, int mode)
{
  if (!dest || !src || !mesh_points || dest_w < 1 || dest_h < 1 || mesh_cols < 2 || mesh_rows < 2)
    return;
  size_t count;
  if (__builtin_mul_overflow(size_t(mesh_cols), size_t(mesh_rows), &count) ||
      __builtin_mul_overflow(count, size_t(2), &count))
    return;
  for (size_t i = 0; i < count; ++i)
    if (!std::isfinite(mesh_points[i]))
      return;
  auto point = [&](int r, int c) {
    const size_t k = (size_t(r) * size_t(mesh_cols) + size_t(c)) * 2;
    return MeshPoint{mesh_points[k], mesh_points[k + 1]};
  };

  const float xstep = float(dest_w) / float(mesh_cols - 1), ystep = float(dest_h) / float(mesh_rows - 1);
  double y = dest_y;
  int64_t y0 = dest_y;
  for (int r = 0; r + 1 < mesh_rows; ++r)
  {
    y += ystep;
    const int64_t y1 = int64_t(y);
    const int64_t dy = y1 - y0;
    double x = dest_x;
    int64_t x0 = dest_x;
    for (int c = 0; dy > 0 && c + 1 < mesh_cols; ++c)
    {
      x += xstep;
      const int64_t x1 = int64_t(x), dx = x1 - x0;
      if (dx > 0)
      {
        const MeshPoint p00 = point(r, c), p01 = point(r, c + 1), p10 = point(r + 1, c), p11 = point(r + 1, c + 1);
        const float fdx = float(dx), fdy = float(dy);
        const float sxs = (p01.x - p00.x) / fdx, sys = (p01.y - p00.y) / fdx;
        LICE_DeltaBlit64(dest, src, x0, y0, dx, dy, p00.x, p00.y, p01.x - p00.x, p01.y - p00.y, sxs, sys,
                         (p10.x - p00.x) / fdy, (p10.y - p00.y) / fdy, ((p11.x - p10.x) / fdx - sxs) / fdy,
                         ((p11.y - p10.y) / fdx - sys) / fdy, false, alpha, mode);
      }
      x0 = x1;
    }
    y0 = y1;
  }
}
