#include "tests/graphics/lice_reference.h"

#include <algorithm>
#include <cmath>

namespace ref
{
namespace
{

int64_t clamp255(int64_t v)
{
  return std::min<int64_t>(255, std::max<int64_t>(0, v));
}

// Channel c (0 A, 1 R, 2 G, 3 B) of a pixel.
int ch(LICE_PixelValue p, int c)
{
  return int((p >> (8 * c)) & 0xff);
}

LICE_PixelValue pack(const int64_t v[4])
{
  LICE_PixelValue p = 0;
  for (int c = 0; c < 4; ++c)
    p |= LICE_PixelValue(clamp255(v[c])) << (8 * c);
  return p;
}

int64_t channelOp(int op, int64_t d, int64_t s, int64_t w)
{
  switch (op)
  {
  case 0: return (d * (256 - w) + s * w) / 256;
  case 1: return d + s * w / 256;
  case 2: {
    const int64_t k = 256 - s * w / 256;
    return k >= 2 ? d * 256 / k : d * 256;
  }
  case 3: return d * ((256 - w) * 256 + s * w) / 65536;
  default: {
    const int64_t t = (256 - w) * 128 + s * w;
    const int64_t u = (32768 - t) * d / 256;
    return d * (t + u) / 32768;
  }
  }
}

int invtab(int i)
{
  return i ? 65536 / i - 1 : 0;
}

// s holds the source's A, R, G, B.
LICE_PixelValue hsv(LICE_PixelValue dp, const int64_t s[4], int64_t wt)
{
  const int R = ch(dp, 1), G = ch(dp, 2), B = ch(dp, 3);
  const int64_t r = s[1], g = s[2], b = s[3];
  int max, delta, base, num;
  if (G > R && B >= G)
    max = B, delta = B - R, base = 256, num = R - G;
  else if (G > R)
    max = G, delta = G - std::min(R, B), base = 128, num = B - R;
  else if (B < R)
    max = R, delta = R - std::min(G, B), base = G < B ? 383 : 0, num = G - B;
  else
    max = B, delta = B - std::min(R, G), base = 256, num = R - G;
  int64_t S = int64_t(invtab(max)) * delta / 256, V = max;
  int64_t H = base + int64_t(invtab(delta) + 1) * num / 1024;
  H += (r + r / 2 - 192) * wt / 256;
  H = ((H % 384) + 384) % 384;
  S = clamp255(S + (g - 128) * wt / 256);
  V = clamp255(V + (b - 128) * wt / 256);
  const int64_t m = V * (256 - S) / 256;
  auto ramp = [&](int64_t x) { return (16384 - S * x) * V / 16384; };
  int64_t out[4] = {s[0], 0, 0, 0};
  const int64_t sector[6][3] = {{V, ramp(64 - H), m},  {ramp(H - 64), V, m},  {m, V, ramp(192 - H)},
                                {m, ramp(H - 192), V}, {ramp(320 - H), m, V}, {V, m, ramp(H - 320)}};
  for (int c = 0; c < 3; ++c)
    out[c + 1] = sector[H / 64][c];
  return pack(out);
}

} // namespace

int Weight(float alpha)
{
  const double w = std::trunc(double(alpha) * 256.0);
  return int(std::min(65536.0, std::max(-65536.0, w)));
}

LICE_PixelValue CombineColor(int op, LICE_PixelValue d, const int64_t s[4], int64_t w)
{
  if (op < 0 || op > 5)
    return d;
  if (op == 5)
    return hsv(d, s, w);
  int64_t v[4];
  for (int c = 0; c < 4; ++c)
    v[c] = channelOp(op, ch(d, c), s[c], w);
  return pack(v);
}

LICE_PixelValue Combine(int sel, LICE_PixelValue d, LICE_PixelValue s, int64_t w)
{
  const int op = sel & 0xff;
  const bool srcAlpha = (sel & 0x10000) != 0;
  if (op > 5)
    return d;
  const int a = ch(s, 0);
  if (srcAlpha)
  {
    if (a == 0 && op != 2 && op != 4 && op != 5)
      return d;
    w = (a + 1) * w / 256;
  }
  const int64_t sc[4] = {ch(s, 0), ch(s, 1), ch(s, 2), ch(s, 3)};
  return CombineColor(op, d, sc, w);
}

LICE_PixelValue BlitPixel(int mode, float alpha, LICE_PixelValue d, LICE_PixelValue s)
{
  if (alpha == 0 || std::isnan(alpha))
    return d;
  if ((mode & 0xff) >= 0xf0)
  {
    const int to = (mode >> 2) & 3, from = mode & 3;
    return (d & ~(0xffu << (8 * to))) | LICE_PixelValue(ch(s, from)) << (8 * to);
  }
  const int sel = mode & 0x100ff;
  if (sel == 0 && alpha == 1.0f)
    return s;
  if (sel == 0 && alpha == 0.5f)
    return ((d >> 1) & 0x7f7f7f7f) + ((s >> 1) & 0x7f7f7f7f);
  if (sel == 0 && alpha < 0)
    return d;
  if (sel == 0x10000 && alpha == 1.0f)
  {
    const int a = ch(s, 0);
    if (a == 0)
      return d;
    if (a == 255)
      return s;
    const int w = a + 1;
    int64_t v[4] = {(ch(d, 0) * (256 - w) + w * w) / 256, 0, 0, 0};
    for (int c = 1; c < 4; ++c)
      v[c] = (ch(d, c) * (256 - w) + ch(s, c) * w) / 256;
    return pack(v);
  }
  return Combine(sel, d, s, Weight(alpha));
}

LICE_PixelValue FillPixel(int mode, float alpha, LICE_PixelValue d, LICE_PixelValue c)
{
  if ((mode & 0xff) == 0)
  {
    if (alpha == 1.0f)
      return c;
    if (alpha == 0.5f)
      return ((d >> 1) & 0x7f7f7f7f) + ((c >> 1) & 0x7f7f7f7f);
    if (alpha == 0.25f)
      return ((d >> 1) & 0x7f7f7f7f) + ((d >> 2) & 0x3f3f3f3f) + ((c >> 2) & 0x3f3f3f3f);
    if (alpha == 0.75f)
      return ((d >> 2) & 0x3f3f3f3f) + ((c >> 1) & 0x7f7f7f7f) + ((c >> 2) & 0x3f3f3f3f);
    if (!(alpha > 0))
      return d;
  }
  if (alpha == 0 || std::isnan(alpha))
    return d;
  return Combine(mode & 0xff, d, c, Weight(alpha));
}

void Blit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int src_x, int src_y, int src_w, int src_h,
          float alpha, int mode)
{
  // The source rectangle is cut to the source; its cut-down left and top
  // edges land on dest_x and dest_y. Each destination pixel then finds its
  // source pixel on its own.
  const int64_t L = std::max<int64_t>(src_x, 0), T = std::max<int64_t>(src_y, 0);
  const int64_t R = std::min<int64_t>(int64_t(src_x) + src_w, src.getWidth());
  const int64_t B = std::min<int64_t>(int64_t(src_y) + src_h, src.getHeight());
  std::vector<LICE_PixelValue> before; // the source as it was, for blits within one bitmap
  for (int y = 0; y < src.getHeight(); ++y)
    for (int x = 0; x < src.getWidth(); ++x)
      before.push_back(src.at(x, y));
  for (int y = 0; y < dest.getHeight(); ++y)
  {
    for (int x = 0; x < dest.getWidth(); ++x)
    {
      const int64_t sx = L + x - int64_t(dest_x), sy = T + y - int64_t(dest_y);
      if (sx < L || sx >= R || sy < T || sy >= B)
        continue;
      const LICE_PixelValue s = before[size_t(sy * src.getWidth() + sx)];
      dest.at(x, y) = BlitPixel(mode, alpha, dest.at(x, y), s);
    }
  }
}

void FillRect(TestBitmap& bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha, int mode)
{
  if (mode & 0x10000)
    alpha = alpha * (float(color & 0xff) / 255.0f);
  for (int py = 0; py < bm.getHeight(); ++py)
    for (int px = 0; px < bm.getWidth(); ++px)
      if (px >= int64_t(x) && px < int64_t(x) + w && py >= int64_t(y) && py < int64_t(y) + h)
        bm.at(px, py) = FillPixel(mode, alpha, bm.at(px, py), color);
}

void Glyph(TestBitmap& bm, int x, int y, LICE_PixelValue color, const unsigned char* cov, int gw, int gh, float alpha,
           int mode)
{
  if (alpha == 0 || std::isnan(alpha) || (mode & 0xff) > 5 || ((mode & 0xff) == 0 && alpha < 0))
    return;
  const int ia = Weight(alpha);
  for (int py = 0; py < bm.getHeight(); ++py)
  {
    for (int px = 0; px < bm.getWidth(); ++px)
    {
      const int64_t gx = px - int64_t(x), gy = py - int64_t(y);
      if (gx < 0 || gx >= gw || gy < 0 || gy >= gh)
        continue;
      if (const int k = cov[gy * gw + gx])
        bm.at(px, py) = Combine(mode & 0xff, bm.at(px, py), color, ia * k / 256);
    }
  }
}

} // namespace ref
