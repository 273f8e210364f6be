// Random sampling operations for the randomized test: scaled, delta and
// rotated blits and gradients with fractional, negative, mirrored and
// off-source rectangles, every filter, and steps around the filter-down
// threshold, each checked against the reference model.

#include <cstdio>

#include "graphics/lice_simd.h"
#include "tests/graphics/random_ops.h"

namespace rt
{
namespace
{

// A float position around a bitmap side n: often whole, often fractional,
// sometimes between -1 and 0.
float randomCoord(TestRng& rng, int n)
{
  switch (rng.range(0, 5))
  {
  case 0: return float(rng.range(-n - 2, n + 2));
  case 1: return -float(rng.range(1, 999)) / 1000.0f;
  case 2: return float(rng.range(0, n)) + 0.5f;
  default: return float(rng.range((-n - 2) * 16, (n + 2) * 16)) / 16.0f;
  }
}

// A source size for a destination size d: equal (the one-to-one case),
// around the filter-down threshold of 1.7, mirrored, or anything.
float randomSourceSize(TestRng& rng, int d, int n)
{
  switch (rng.range(0, 7))
  {
  case 0: return float(d);
  case 1: return float(d) + (rng.chance(50) ? 0.0005f : 0.5f);
  case 2: return float(d) * (rng.chance(50) ? 1.7f : 1.69f);
  case 3: return float(d) * float(rng.range(2, 5));
  case 4: return -float(rng.range(1, n + 2));
  default: return float(rng.range(1, (n + 2) * 16)) / 16.0f;
  }
}

int sampleMode(TestRng& rng)
{
  int mode = randomMode(rng, rng.chance(10));
  if (rng.chance(45))
    mode = (mode & ~0xff00) | LICE_BLIT_FILTER_BILINEAR;
  else if (rng.chance(10))
    mode |= 0x200; // any other filter value samples the nearest pixel
  return mode;
}

double randomStep(TestRng& rng)
{
  return rng.chance(20) ? 0.0 : double(rng.range(-2500, 2500)) / 1000.0;
}

} // namespace

void RandomSampleOp(TestRng& rng, Trio& dest, Trio& src, float alpha, std::string& log)
{
  // Half the operations run the fast paths' SSE2 build; the choice takes no
  // draw from rng, so the iterations stay as they were.
  const bool avx2 = (TestRng(rng).next() >> 31) != 0;
  LICE_SetAvx2Enabled(avx2);
  const bool self = rng.chance(15);
  TestBitmap& sw = self ? *dest.fast : *src.fast;
  const int W = sw.getWidth(), H = sw.getHeight();
  const int dw = rng.chance(5) ? 0 : rng.range(-2 * W - 3, 2 * W + 3);
  const int dh = rng.chance(5) ? 0 : rng.range(-2 * H - 3, 2 * H + 3);
  const int dx = randomPos(rng, dest.fast->getWidth()), dy = randomPos(rng, dest.fast->getHeight());
  // A tenth are the editor's scaling, an opaque bilinear copy.
  const bool opaqueBilinear = rng.chance(10);
  const int mode = opaqueBilinear ? LICE_BLIT_FILTER_BILINEAR : sampleMode(rng);
  if (opaqueBilinear)
    alpha = 1.0f;
  float sx = randomCoord(rng, W), sy = randomCoord(rng, H);
  float sxw = randomSourceSize(rng, std::abs(dw), W), syh = randomSourceSize(rng, std::abs(dh), H);
  if (rng.chance(10))
  { // shrunk both ways, around the filter-down kernels' thresholds
    const float factors[] = {1.69f, 1.7f, 2.0f, 3.0f, 3.5f, 4.5f};
    const float f = factors[rng.range(0, 5)];
    sxw = float(dw) * f, syh = float(dh) * f;
  }
  if (rng.chance(3))
    sx = NAN;
  const bool keep = rng.chance(50);
  char buf[300];
  // Self-blits read the model's own copy; the others all read src.fast.
  auto source = [&](TestBitmap& d) -> TestBitmap& { return self ? d : *src.fast; };

  switch (rng.range(0, 3))
  {
  case 0:
    snprintf(buf, sizeof buf, "scaled%s d(%d,%d %dx%d) s(%g,%g %gx%g) a=%g m=%#x; ", self ? "(self)" : "", dx, dy, dw,
             dh, double(sx), double(sy), double(sxw), double(syh), double(alpha), mode);
    both(dest, [&](TestBitmap& d) { LICE_ScaledBlit(&d, &source(d), dx, dy, dw, dh, sx, sy, sxw, syh, alpha, mode); });
    ref::ScaledBlit(*dest.model, source(*dest.model), dx, dy, dw, dh, sx, sy, sxw, syh, alpha, mode);
    break;
  case 1: {
    const float angle = rng.chance(20) ? 0.0f : float(rng.range(-7000, 7000)) / 1000.0f;
    const float cdx = rng.chance(50) ? 0.0f : float(rng.range(-40, 40)) / 4.0f;
    const float cdy = rng.chance(50) ? 0.0f : float(rng.range(-40, 40)) / 4.0f;
    snprintf(buf, sizeof buf, "rotated%s d(%d,%d %dx%d) s(%g,%g %gx%g) ang=%g keep=%d c(%g,%g) a=%g m=%#x; ",
             self ? "(self)" : "", dx, dy, dw, dh, double(sx), double(sy), double(sxw), double(syh), double(angle),
             keep, double(cdx), double(cdy), double(alpha), mode);
    both(dest, [&](TestBitmap& d) {
      LICE_RotatedBlit(&d, &source(d), dx, dy, dw, dh, sx, sy, sxw, syh, angle, keep, alpha, mode, cdx, cdy);
    });
    ref::RotatedBlit(*dest.model, source(*dest.model), dx, dy, dw, dh, sx, sy, sxw, syh, angle, keep, alpha, mode, cdx,
                     cdy);
    break;
  }
  case 2: {
    const double st[6] = {randomStep(rng),
                          randomStep(rng),
                          randomStep(rng),
                          randomStep(rng),
                          rng.chance(50) ? 0.0 : randomStep(rng) / 8,
                          rng.chance(50) ? 0.0 : randomStep(rng) / 8};
    snprintf(buf, sizeof buf, "delta%s d(%d,%d %dx%d) s(%g,%g %gx%g) st(%g %g %g %g %g %g) keep=%d a=%g m=%#x; ",
             self ? "(self)" : "", dx, dy, dw, dh, double(sx), double(sy), double(sxw), double(syh), st[0], st[1],
             st[2], st[3], st[4], st[5], keep, double(alpha), mode);
    both(dest, [&](TestBitmap& d) {
      LICE_DeltaBlit(&d, &source(d), dx, dy, dw, dh, sx, sy, sxw, syh, st[0], st[1], st[2], st[3], st[4], st[5], keep,
                     alpha, mode);
    });
    ref::DeltaBlit(*dest.model, source(*dest.model), dx, dy, dw, dh, sx, sy, sxw, syh, st[0], st[1], st[2], st[3],
                   st[4], st[5], keep, alpha, mode);
    break;
  }
  default: {
    float start[4], gx[4], gy[4];
    for (int c = 0; c < 4; ++c)
    {
      start[c] = float(rng.range(-200, 1200)) / 1000.0f;
      gx[c] = float(rng.range(-100, 100)) / 1000.0f;
      gy[c] = float(rng.range(-100, 100)) / 1000.0f;
    }
    const int gmode = rng.chance(5) ? rng.range(6, 9) : rng.range(0, 5);
    snprintf(buf, sizeof buf, "grad (%d,%d %dx%d) m=%d; ", dx, dy, dw, dh, gmode);
    both(dest, [&](TestBitmap& d) {
      LICE_GradRect(&d, dx, dy, dw, dh, start[0], start[1], start[2], start[3], gx[0], gx[1], gx[2], gx[3], gy[0],
                    gy[1], gy[2], gy[3], gmode);
    });
    ref::GradRect(*dest.model, dx, dy, dw, dh, start, gx, gy, gmode);
    break;
  }
  }
  LICE_SetAvx2Enabled(true);
  if (!avx2)
    log += "[SSE2] ";
  log += buf;
}

} // namespace rt
