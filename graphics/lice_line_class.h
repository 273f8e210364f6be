#pragma once
// The per-pixel line walks, one instance per combine class. Callers clip
// first: the integer walks take ends inside the bitmap, the float walk ends
// that ClipFLine accepted (which may lie up to a pixel outside, so it tests
// every pixel).

#include <algorithm>
#include <cstdlib>

#include "graphics/lice_vector.h"

template <class Combine>
class __LICE_LineClass
{
public:
  // Row y from min(x1, x2) to max(x1, x2), both inside the bitmap.
  static void LICE_HorizLine(const LICE_VectorSurface& s, int y, int x1, int x2, const LICE_VectorColor& c, int ia)
  {
    if (x1 > x2)
      std::swap(x1, x2);
    LICE_VectorSpan<Combine>(s.bytes(x1, y), x2 - x1 + 1, c, ia);
  }

  // Column x from min(y1, y2) to max(y1, y2), both inside the bitmap.
  static void VertLine(const LICE_VectorSurface& s, int x, int y1, int y2, const LICE_VectorColor& c, int ia)
  {
    if (y1 > y2)
      std::swap(y1, y2);
    unsigned char* p = s.bytes(x, y1);
    for (int y = y1; y <= y2; ++y, p += s.span * 4)
      LICE_VectorPix<Combine>(p, c, ia);
  }

  // |x2 - x1| == |y2 - y1|. With aa the diagonal gets three quarters of the
  // weight and the two pixels beside each step one quarter each; those lie
  // inside the line's box, so they need no test.
  static void LICE_DiagLine(const LICE_VectorSurface& s, int x1, int y1, int x2, int y2, const LICE_VectorColor& c,
                            int ia, bool aa)
  {
    const int n = std::abs(x2 - x1);
    const long xstep = x1 < x2 ? 4 : -4, ystep = (y1 < y2 ? 4 : -4) * s.span;
    unsigned char* p = s.bytes(x1, y1);
    if (!aa)
    {
      for (int i = 0;; ++i, p += xstep + ystep)
      {
        LICE_VectorPix<Combine>(p, c, ia);
        if (i == n)
          return;
      }
    }
    const int w3 = ia * 3 / 4, w1 = ia / 4;
    for (int i = 0; i < n; ++i, p += xstep + ystep)
    {
      LICE_VectorPix<Combine>(p, c, w3);
      LICE_VectorPix<Combine>(p + xstep, c, w1);
      LICE_VectorPix<Combine>(p + ystep, c, w1);
    }
    LICE_VectorPix<Combine>(p, c, w3);
  }

  // Any other slope, ends inside the bitmap.
  static void LICE_LineImpl(const LICE_VectorSurface& s, int x1, int y1, int x2, int y2, const LICE_VectorColor& c,
                            int ia, bool aa)
  {
    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const long xstep = x1 < x2 ? 4 : -4, ystep = (y1 < y2 ? 4 : -4) * s.span;
    const bool xmajor = dx >= dy;
    const int n = xmajor ? dx : dy, dminor = xmajor ? dy : dx;
    const double slope = xmajor ? double(dy) / dx : double(dx) / dy;
    const long major = xmajor ? xstep : ystep, minor = xmajor ? ystep : xstep;
    unsigned char* p = s.bytes(x1, y1);
    if (!aa)
    {
      double err = 0;
      for (int i = 0;; ++i)
      {
        LICE_VectorPix<Combine>(p, c, ia);
        if (i == n)
          return;
        err += slope;
        if (err > 0.5)
          err -= 1.0, p += minor;
        p += major;
      }
    }
    LICE_VectorPix<Combine>(p, c, ia);
    double err = slope;
    int m = 0; // minor steps taken: the minor-side share never passes the end
    for (int i = 1; i <= n; ++i)
    {
      p += major;
      const int cov = int(err * 256.0);
      LICE_VectorPix<Combine>(p, c, (256 - cov) * ia / 256);
      if (cov && m < dminor)
        LICE_VectorPix<Combine>(p + minor, c, ia * cov / 256);
      if (i == n)
        return;
      err += slope;
      if (err > 1.0)
        err -= 1.0, p += minor, ++m;
    }
  }

  // Float ends as ClipFLine leaves them: in (-1, w) x (-1, h). Truncated
  // starts and the minor-side shares can reach one pixel past the bitmap,
  // so every pixel is tested.
  static void LICE_FLineImpl(const LICE_VectorSurface& s, float x1, float y1, float x2, float y2,
                             const LICE_VectorColor& c, int ia, bool aa)
  {
    const float adx = std::fabs(x2 - x1), ady = std::fabs(y2 - y1);
    const bool ymajor = ady > adx;
    const float majorLen = ymajor ? ady : adx, minorLen = ymajor ? adx : ady;
    const int count = int(majorLen);
    const double slope = majorLen > 0 ? double(minorLen / majorLen) : 0.0;
    const int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
    const int mx = ymajor ? 0 : sx, my = ymajor ? sy : 0; // major step
    const int nx = ymajor ? sx : 0, ny = ymajor ? 0 : sy; // minor step
    int x = int(x1), y = int(y1);
    auto plot = [&](int px, int py, int wt) {
      if (s.inside(px, py))
        LICE_VectorPix<Combine>(s.bytes(px, py), c, wt);
    };
    if (!aa)
    {
      double err = 0;
      for (int i = 0; i <= count; ++i)
      {
        plot(x, y, ia);
        err += slope;
        if (err > 0.5)
          err -= 1.0, x += nx, y += ny;
        x += mx, y += my;
      }
      return;
    }
    const float v = ymajor ? x1 : y1;
    double err = v - std::floor(v);
    if ((ymajor ? sx : sy) < 0 && err > 0)
      err = 1.0 - err;
    for (int i = 0; i <= count; ++i)
    {
      const int cov = int(err * 256.0);
      plot(x, y, (256 - cov) * ia / 256);
      if (cov)
        plot(x + nx, y + ny, ia * cov / 256);
      err += slope;
      if (err > 1.0)
        x += nx, y += ny, err -= 1.0;
      x += mx, y += my;
    }
  }
};
