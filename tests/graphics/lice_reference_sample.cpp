// The model of the sampling blits and the gradient: every destination pixel
// of the destination rectangle finds its source position from the closed
// formula (start + row * row step + column * step), with no walk and no
// clipping beyond the formulas' own.

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

#include "tests/graphics/lice_reference.h"

namespace ref
{
namespace
{

struct Clip
{
  int l, t, r, b;
  bool empty() const { return l >= r || t >= b; }
};

// The source as it was before the call (a blit may draw onto its source).
struct Snapshot
{
  int w;
  std::vector<LICE_PixelValue> px;
  explicit Snapshot(TestBitmap& s) : w(s.getWidth())
  {
    for (int y = 0; y < s.getHeight(); ++y)
      for (int x = 0; x < w; ++x)
        px.push_back(s.at(x, y));
  }
  LICE_PixelValue at(int64_t x, int64_t y) const { return px[size_t(y * w + x)]; }
};

// The bilinear fraction of a 16.16 position: none for positions in (-1, 0),
// which read column (or row) 0 as it is.
int64_t fraction(__int128 pos)
{
  return pos < 0 ? 0 : int64_t(pos & 0xffff);
}

int ch(LICE_PixelValue p, int c)
{
  return int((p >> (8 * c)) & 0xff);
}

int truncClamp(double v, int lo, int hi)
{
  return v <= lo ? lo : v >= hi ? hi : int(v);
}

bool finite(std::initializer_list<double> v)
{
  return std::all_of(v.begin(), v.end(), [](double d) { return std::isfinite(d); });
}

LICE_PixelValue mix(LICE_PixelValue a, LICE_PixelValue b, int64_t wa, int64_t wb)
{
  LICE_PixelValue out = 0;
  for (int c = 0; c < 4; ++c)
    out |= LICE_PixelValue((ch(a, c) * wa + ch(b, c) * wb) / 65536) << (8 * c);
  return out;
}

// Bilinear sample at (x, y), x and y inside the clip: the last column blends
// vertically, the last row horizontally, the corner is read as it is.
LICE_PixelValue bilinear(const Snapshot& s, const Clip& c, int64_t x, int64_t y, int64_t fx, int64_t fy)
{
  const LICE_PixelValue p00 = s.at(x, y);
  const bool lastCol = x == c.r - 1, lastRow = y == c.b - 1;
  if (lastRow)
    return lastCol ? p00 : mix(p00, s.at(x + 1, y), 65536 - fx, fx);
  if (lastCol)
    return mix(p00, s.at(x, y + 1), 65536 - fy, fy);
  const int64_t f = int64_t((uint32_t(fx) * uint32_t(fy)) >> 16);
  const int64_t w[4] = {65536 - fx - fy + f, fx - f, fy - f, f};
  const LICE_PixelValue p[4] = {p00, s.at(x + 1, y), s.at(x, y + 1), s.at(x + 1, y + 1)};
  LICE_PixelValue out = 0;
  for (int k = 0; k < 4; ++k)
  {
    int64_t sum = 0;
    for (int i = 0; i < 4; ++i)
      sum += ch(p[i], k) * w[i];
    out |= LICE_PixelValue(sum / 65536) << (8 * k);
  }
  return out;
}

// Positions and steps the blits hold: within 2^46 pixels.
bool inRange(std::initializer_list<double> v)
{
  return std::all_of(v.begin(), v.end(), [](double d) { return std::fabs(d * 65536.0) < std::ldexp(1.0, 62); });
}

bool inside(const Clip& c, int64_t x, int64_t y)
{
  return x >= c.l && x < c.r && y >= c.t && y < c.b;
}

// The delta loop's pixels: (x0, y0) is the first pixel of the clipped
// destination rectangle, the start and deltas already moved to it.
void deltaPixels(TestBitmap& dest, const Snapshot& s, const Clip& c, int64_t x0, int64_t y0, int64_t w, int64_t h,
                 const double v[8], float alpha, int mode)
{
  __int128 f[8];
  for (int k = 0; k < 8; ++k)
    f[k] = Fixed(v[k]);
  const bool bil = (mode & 0xff00) == 0x100;
  for (int Y = 0; Y < dest.getHeight(); ++Y)
    for (int X = 0; X < dest.getWidth(); ++X)
    {
      const int64_t i = X - x0, r = Y - y0;
      if (i < 0 || i >= w || r < 0 || r >= h)
        continue;
      // v: sx, sy, sx_step, sy_step, row_sx_step, row_sy_step, changes.
      const __int128 cx = f[0] + r * f[4] + i * (f[2] + r * f[6]);
      const __int128 cy = f[1] + r * f[5] + i * (f[3] + r * f[7]);
      const int64_t x = int64_t(cx / 65536), y = int64_t(cy / 65536);
      if (!inside(c, x, y))
        continue;
      const LICE_PixelValue sp = bil ? bilinear(s, c, x, y, fraction(cx), fraction(cy)) : s.at(x, y);
      dest.at(X, Y) = SamplePixel(mode, alpha, dest.at(X, Y), sp, false);
    }
}

Clip deltaClip(TestBitmap& src, float sx, float sy, float sw, float sh, bool keep)
{
  const int W = src.getWidth(), H = src.getHeight();
  if (!keep)
    return {0, 0, W, H};
  return {truncClamp(std::max(sx, 0.0f), 0, W), truncClamp(std::max(sy, 0.0f), 0, H),
          truncClamp(std::min(sx + sw, float(W)), 0, W), truncClamp(std::min(sy + sh, float(H)), 0, H)};
}

} // namespace

int64_t Fixed(double v)
{
  const double t = std::trunc(v * 65536.0);
  const double lim = std::ldexp(1.0, 62);
  return t >= lim ? int64_t(1) << 62 : t <= -lim ? -(int64_t(1) << 62) : int64_t(t);
}

LICE_PixelValue SamplePixel(int mode, float alpha, LICE_PixelValue d, LICE_PixelValue s, bool scaled)
{
  if ((mode & 0xff) > 5)
    return d;
  if (scaled && (mode & 0x1ffff) == 0 && alpha == 0.5f)
    return ((d >> 1) & 0x7f7f7f7f) + ((s >> 1) & 0x7f7f7f7f);
  if ((mode & 0x100ff) == 0 && alpha == 0.5f)
    return Combine(0, d, s, 128);
  return BlitPixel(mode & 0x100ff, alpha, d, s);
}

void ScaledBlit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                float src_y, float src_w, float src_h, float alpha, int mode)
{
  if (alpha == 0 || std::isnan(alpha) || !dest_w || !dest_h || !finite({src_x, src_y, src_w, src_h}))
    return;
  const bool bil = (mode & 0xff00) == 0x100;
  if (std::fabs(src_w - float(dest_w)) < 0.001f && std::fabs(src_h - float(dest_h)) < 0.001f &&
      (!bil ||
       (std::fabs(src_x - std::floor(src_x + 0.5f)) < 0.03 && std::fabs(src_y - std::floor(src_y + 0.5f)) < 0.03)))
  {
    const int l = truncClamp(src_x + 0.5f, INT_MIN, INT_MAX), t = truncClamp(src_y + 0.5f, INT_MIN, INT_MAX);
    return Blit(dest, src, dest_x, dest_y, l, t, dest_w, dest_h, alpha, mode);
  }
  int64_t dx = dest_x, dy = dest_y, dw = dest_w, dh = dest_h;
  if (dw < 0)
    dw = -dw, dx -= dw, src_x += src_w, src_w = -src_w;
  if (dh < 0)
    dh = -dh, dy -= dh, src_y += src_h, src_h = -src_h;
  const double step_x = src_w / float(dw), step_y = src_h / float(dh);
  // A destination edge left of 0 moves the float start along.
  if (dx < 0)
  {
    const double v = src_x - double(dx) * step_x;
    if (!(std::fabs(v) <= FLT_MAX))
      return;
    src_x = float(v), dw += dx, dx = 0;
  }
  if (dy < 0)
  {
    const double v = src_y - double(dy) * step_y;
    if (!(std::fabs(v) <= FLT_MAX))
      return;
    src_y = float(v), dh += dy, dy = 0;
  }
  const float right = src_x + src_w, bottom = src_y + src_h;
  if (!finite({src_x, src_y, right, bottom, step_x, step_y}) || !inRange({src_x, step_x}))
    return;
  const int W = src.getWidth(), H = src.getHeight();
  const Clip c{truncClamp(std::min(src_x, right), 0, W), truncClamp(std::min(src_y, bottom), 0, H),
               truncClamp(std::ceil(std::max(src_x, right)), 0, W),
               truncClamp(std::ceil(std::max(src_y, bottom)), 0, H)};
  if (c.empty())
    return;
  const Snapshot s(src);
  const bool down = bil && step_x >= 1.7 && step_y >= 1.7;
  const double factor = std::max(step_x, step_y);
  const int n = factor > 3.0 ? 5 : 3, half = n / 2;
  const __int128 x0 = Fixed(src_x), xstep = Fixed(step_x);
  for (int Y = 0; Y < dest.getHeight(); ++Y)
  {
    if (Y < dy || Y >= dy + dh)
      continue;
    double cury = src_y;
    for (int64_t k = dy; k < Y; ++k)
      cury += step_y;
    if (!(cury > -1.0 && cury < c.b) || int(cury) < c.t)
      continue;
    const int y = int(cury);
    for (int X = 0; X < dest.getWidth(); ++X)
    {
      if (X < dx || X >= dx + dw)
        continue;
      const __int128 pos = x0 + (X - dx) * xstep;
      const int64_t x = int64_t(bil ? pos / 65536 : (pos >= 0 ? pos / 65536 : -((-pos + 65535) / 65536)));
      if (!inside(c, x, y))
        continue;
      LICE_PixelValue sp;
      if (down)
      {
        int64_t sum[4] = {}, total = 0;
        for (int r = 0; r < n; ++r)
          for (int q = 0; q < n; ++q)
          {
            const int64_t sx = x - half + q, sy = y - half + r;
            if (!inside(c, sx, sy))
              continue;
            const int di = q - half, dj = r - half;
            int64_t wt = 65536;
            if (di || dj)
            {
              const double wq = (factor - 1.0) / std::sqrt(double(di * di + dj * dj));
              wt = wq < 0 ? 0 : wq > 1.0 ? 65536 : int64_t(wq * 65536.0);
            }
            for (int k = 0; k < 4; ++k)
              sum[k] += ch(s.at(sx, sy), k) * wt;
            total += wt;
          }
        if (total <= 0)
          continue;
        sp = 0;
        for (int k = 0; k < 4; ++k)
          sp |= LICE_PixelValue(sum[k] / total) << (8 * k);
      }
      else if (bil)
      {
        const int fy = std::clamp(int((cury - y) * 65536.0), 0, 65535);
        sp = bilinear(s, c, x, y, fraction(pos), fy);
      }
      else
      {
        sp = s.at(x, y);
      }
      dest.at(X, Y) = SamplePixel(mode, alpha, dest.at(X, Y), sp, true);
    }
  }
}

void DeltaBlit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
               float src_y, float src_w, float src_h, double sx_step, double sy_step, double row_sx_step,
               double row_sy_step, double sx_step_change, double sy_step_change, bool keep, float alpha, int mode)
{
  if (alpha == 0 || std::isnan(alpha) || !dest_w || !dest_h || !finite({src_x, src_y, src_w, src_h}))
    return;
  const Clip c = deltaClip(src, src_x, src_y, src_w, src_h, keep);
  int64_t dx = dest_x, dy = dest_y, dw = dest_w, dh = dest_h;
  float sx = src_x, sy = src_y;
  if (dw < 0)
    dw = -dw, dx -= dw, sx = src_x + src_w;
  if (dh < 0)
    dh = -dh, dy -= dh, sy = src_y + src_h;
  double v[8] = {sx, sy, sx_step, sy_step, row_sx_step, row_sy_step, sx_step_change, sy_step_change};
  if (dx < 0)
    v[0] -= sx_step * double(dx), v[1] -= sy_step * double(dx), dw += dx, dx = 0;
  if (dy < 0)
    v[0] -= row_sx_step * double(dy), v[1] -= row_sy_step * double(dy), dh += dy, dy = 0;
  if (c.empty() || !inRange({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]}))
    return;
  deltaPixels(dest, Snapshot(src), c, dx, dy, dw, dh, v, alpha, mode);
}

void RotatedBlit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                 float src_y, float src_w, float src_h, float angle, bool keep, float alpha, int mode, float cdx,
                 float cdy)
{
  if (alpha == 0 || std::isnan(alpha) || !dest_w || !dest_h)
    return;
  if (!finite({src_x, src_y, src_w, src_h, angle, cdx, cdy}))
    return;
  const Clip c = deltaClip(src, src_x, src_y, src_w, src_h, keep);
  int64_t dx = dest_x, dy = dest_y, dw = dest_w, dh = dest_h;
  if (dw < 0)
    src_x += src_w, dx += dw, src_w = -src_w, dw = -dw;
  if (dh < 0)
    src_y += src_h, dy += dh, src_h = -src_h, dh = -dh;
  const double co = std::cos(double(angle)), si = std::sin(double(angle));
  const float xs = src_w / float(dw), ys = src_h / float(dh);
  const double sxs = co * xs, rsx = si * xs, rsy = co * ys, sys = -si * ys;
  // The start point is a float, before and after clipping.
  auto narrow = [](double v, float& out) {
    if (!(std::fabs(v) <= FLT_MAX))
      return false;
    out = float(v);
    return true;
  };
  float sx0, sy0;
  if (!narrow(src_x - (((sxs * double(dw) + rsx * double(dh)) - src_w) * 0.5 - cdx), sx0) ||
      !narrow(src_y - (((rsy * double(dh) + sys * double(dw)) - src_h) * 0.5 - cdy), sy0))
    return;
  if (dx < 0)
  {
    if (!narrow(sx0 - sxs * double(dx), sx0) || !narrow(sy0 - sys * double(dx), sy0))
      return;
    dw += dx, dx = 0;
  }
  if (dy < 0)
  {
    if (!narrow(sy0 - rsy * double(dy), sy0) || !narrow(sx0 - rsx * double(dy), sx0))
      return;
    dh += dy, dy = 0;
  }
  if (c.empty() || !inRange({sx0, sy0, sxs, sys, rsx, rsy}))
    return;
  const double v[8] = {sx0, sy0, sxs, sys, rsx, rsy, 0, 0};
  deltaPixels(dest, Snapshot(src), c, dx, dy, dw, dh, v, alpha, mode);
}

void GradRect(TestBitmap& bm, int x, int y, int w, int h, const float start[4], const float dx[4], const float dy[4],
              int mode)
{
  const int op = mode & 0xff;
  if (op > 5)
    return;
  // R, G, B scaled by 255, A by 256; clipped starts move along the steps.
  double s[4], fx[4], fy[4];
  for (int c = 0; c < 4; ++c)
  {
    const double k = c == 3 ? 256.0 : 255.0;
    s[c] = start[c] * k, fx[c] = dx[c] * k, fy[c] = dy[c] * k;
    if (x < 0)
      s[c] -= double(x) * fx[c];
    if (y < 0)
      s[c] -= double(y) * fy[c];
  }
  const int64_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  for (int Y = 0; Y < bm.getHeight(); ++Y)
    for (int X = 0; X < bm.getWidth(); ++X)
    {
      if (X < x0 || X >= int64_t(x) + w || Y < y0 || Y >= int64_t(y) + h)
        continue;
      int64_t v[4];
      for (int c = 0; c < 4; ++c)
      {
        const __int128 f =
          __int128(Fixed(s[c])) + (Y - y0) * __int128(Fixed(fy[c])) + (X - x0) * __int128(Fixed(fx[c]));
        v[c] = int64_t(f / 65536);
      }
      // Sources held within +-16384 and the weight within +-65536, where
      // every operator has long saturated.
      auto hold = [](int64_t a, int64_t b) { return std::clamp<int64_t>(a, -b, b); };
      const int64_t src[4] = {hold(v[3], 16384), hold(v[0], 16384), hold(v[1], 16384), hold(v[2], 16384)};
      bm.at(X, Y) = CombineColor(op, bm.at(X, Y), src, hold(v[3], 65536));
    }
}

} // namespace ref
