// Random vector primitives: each iteration draws a few random lines,
// curves, circles, arcs, triangles and rectangles into two copies of a
// guarded bitmap, one through the library and one through the plain model,
// and requires them to agree bit for bit. `--iteration N` replays one.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/IterationReplay.h"

#include "tests/graphics/vector_reference.h"

namespace
{

constexpr int kIterations = 6000;

float randomAlpha(TestRng& rng)
{
  const float special[] = {0.0f, 0.5f, -0.5f, 0.25f, 0.75f, 1.0f, NAN, 1e10f, -1e10f};
  if (rng.chance(55))
    return special[rng.range(0, 8)];
  return float(rng.range(-300, 600)) / 256.0f + (rng.chance(50) ? float(rng.range(0, 999)) / 1e5f : 0.0f);
}

int randomMode(TestRng& rng)
{
  int mode = rng.chance(40) ? 0 : rng.range(0, 7);
  if (rng.chance(20))
    mode |= LICE_BLIT_USE_ALPHA;
  if (rng.chance(10))
    mode |= LICE_BLIT_FILTER_BILINEAR;
  return mode;
}

// Around a bitmap side n, often outside it, now and then at the int limits.
int randomInt(TestRng& rng, int n)
{
  if (rng.chance(3))
    return rng.chance(50) ? INT_MIN + rng.range(0, 2) : INT_MAX - rng.range(0, 2);
  return rng.range(-n - 6, 2 * n + 6);
}

// A float coordinate: whole, half or quarter pixels, or any fraction.
float randomFloat(TestRng& rng, int n)
{
  const float whole = float(rng.range(-n / 2 - 4, n + n / 2 + 4));
  switch (rng.range(0, 3))
  {
  case 0: return whole;
  case 1: return whole + 0.5f;
  case 2: return whole + float(rng.range(-3, 3)) * 0.25f;
  default: return whole + float(rng.next() % 1000000) / 1e6f;
  }
}

// Around the thresholds 0 and 1, now and then NaN or infinite.
float randomTolerance(TestRng& rng)
{
  if (rng.chance(50))
    return 0.0f;
  const int k = rng.range(0, 13);
  return k < 13 ? float(k) * 0.25f : rng.chance(50) ? NAN : INFINITY;
}

float randomRadius(TestRng& rng)
{
  float r;
  do
  {
    r = rng.chance(30) ? float(rng.range(0, 12)) : float(rng.range(0, 4000)) / 100.0f;
  } while (r == 2 || r == 2.5f || r == 3 || r == 3.5f || r == 4); // masks are tested on their own
  return r;
}

float randomAngle(TestRng& rng)
{
  const float special[] = {0.0f, 1.5707964f, 3.1415927f, 4.712389f, 6.2831855f, -1.5707964f, -3.1415927f};
  if (rng.chance(40))
    return special[rng.range(0, 6)];
  return float(rng.range(-20000, 20000)) / 1000.0f;
}

std::string runIteration(int it)
{
  TestRng rng{uint64_t(it) + 7777};
  const int w = rng.range(1, rng.chance(30) ? 60 : 20), h = rng.range(1, rng.chance(30) ? 60 : 20);
  const int span = w + (rng.chance(40) ? rng.range(1, 5) : 0);
  const bool flip = rng.chance(25);
  TestBitmap lib(w, h, span, flip), model(w, h, span, flip);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      lib.at(x, y) = model.at(x, y) = rng.pixel();

  std::string log;
  const int ops = rng.range(1, 3);
  for (int i = 0; i < ops; ++i)
  {
    const float alpha = randomAlpha(rng);
    const int mode = randomMode(rng);
    const bool aa = rng.chance(50);
    const LICE_PixelValue c = rng.pixel();
    char buf[300];
    switch (rng.range(0, 10))
    {
    case 0: {
      const int x1 = randomInt(rng, w), y1 = randomInt(rng, h), x2 = randomInt(rng, w), y2 = randomInt(rng, h);
      snprintf(buf, sizeof buf, "line (%d,%d)-(%d,%d)", x1, y1, x2, y2);
      LICE_Line(&lib, x1, y1, x2, y2, c, alpha, mode, aa);
      vref::Line(model, x1, y1, x2, y2, c, alpha, mode, aa);
      break;
    }
    case 1: {
      const float x1 = randomFloat(rng, w), y1 = randomFloat(rng, h), x2 = randomFloat(rng, w),
                  y2 = randomFloat(rng, h);
      snprintf(buf, sizeof buf, "fline (%.9g,%.9g)-(%.9g,%.9g)", x1, y1, x2, y2);
      LICE_FLine(&lib, x1, y1, x2, y2, c, alpha, mode, aa);
      vref::FLine(model, x1, y1, x2, y2, c, alpha, mode, aa);
      break;
    }
    case 2: {
      int x1 = randomInt(rng, w), y1 = randomInt(rng, h), x2 = x1, y2 = randomInt(rng, h);
      if (rng.chance(50))
        y2 = y1, x2 = randomInt(rng, w);
      const int on = rng.range(-1, 5), off = rng.range(-3, 5);
      snprintf(buf, sizeof buf, "dash (%d,%d)-(%d,%d) %d/%d", x1, y1, x2, y2, on, off);
      LICE_DashedLine(&lib, x1, y1, x2, y2, on, off, c, alpha, mode, aa);
      vref::DashedLine(model, x1, y1, x2, y2, on, off, c, alpha, mode);
      break;
    }
    case 3: {
      const int x = randomInt(rng, w), y = randomInt(rng, h), rw = rng.range(-3, w + 3), rh = rng.range(-3, h + 3);
      snprintf(buf, sizeof buf, "rect (%d,%d %dx%d)", x, y, rw, rh);
      LICE_DrawRect(&lib, x, y, rw, rh, c, alpha, mode);
      vref::DrawRect(model, x, y, rw, rh, c, alpha, mode);
      break;
    }
    case 4: {
      int v[6];
      for (int k = 0; k < 6; ++k)
        v[k] = rng.chance(3) ? randomInt(rng, 4) : rng.range(-w, 2 * w);
      snprintf(buf, sizeof buf, "tri (%d,%d) (%d,%d) (%d,%d)", v[0], v[1], v[2], v[3], v[4], v[5]);
      LICE_FillTriangle(&lib, v[0], v[1], v[2], v[3], v[4], v[5], c, alpha, mode);
      vref::FillTriangle(model, v[0], v[1], v[2], v[3], v[4], v[5], c, alpha, mode);
      break;
    }
    case 5: {
      float p[6];
      for (int k = 0; k < 6; ++k)
        p[k] = randomFloat(rng, k % 2 ? h : w);
      const float tol = randomTolerance(rng);
      snprintf(buf, sizeof buf, "qbez %.9g,%.9g %.9g,%.9g %.9g,%.9g tol %g", p[0], p[1], p[2], p[3], p[4], p[5], tol);
      LICE_DrawQBezier(&lib, p[0], p[1], p[2], p[3], p[4], p[5], c, alpha, mode, aa, tol);
      vref::QBezier(model, p[0], p[1], p[2], p[3], p[4], p[5], c, alpha, mode, aa, tol);
      break;
    }
    case 6: {
      float p[8];
      for (int k = 0; k < 8; ++k)
        p[k] = randomFloat(rng, k % 2 ? h : w);
      const float tol = randomTolerance(rng);
      snprintf(buf, sizeof buf, "cbez %.9g,%.9g %.9g,%.9g %.9g,%.9g %.9g,%.9g tol %g", p[0], p[1], p[2], p[3], p[4],
               p[5], p[6], p[7], tol);
      LICE_DrawCBezier(&lib, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], c, alpha, mode, aa, tol);
      vref::CBezier(model, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], c, alpha, mode, aa, tol);
      break;
    }
    case 7:
    case 8: {
      const bool fill = rng.chance(40);
      const float cx = randomFloat(rng, w), cy = randomFloat(rng, h), r = randomRadius(rng);
      snprintf(buf, sizeof buf, "%s (%.9g,%.9g) r %.9g", fill ? "disc" : "circle", cx, cy, r);
      if (fill)
        LICE_FillCircle(&lib, cx, cy, r, c, alpha, mode, aa);
      else
        LICE_Circle(&lib, cx, cy, r, c, alpha, mode, aa);
      vref::Circle(model, cx, cy, r, c, alpha, mode, aa, fill);
      break;
    }
    case 9: {
      const float cx = randomFloat(rng, w), cy = randomFloat(rng, h), r = randomRadius(rng);
      const float a1 = randomAngle(rng), a2 = rng.chance(50) ? a1 + randomAngle(rng) : randomAngle(rng);
      snprintf(buf, sizeof buf, "arc (%.9g,%.9g) r %.9g %.9g..%.9g", cx, cy, r, a1, a2);
      LICE_Arc(&lib, cx, cy, r, a1, a2, c, alpha, mode, aa);
      vref::Arc(model, cx, cy, r, a1, a2, c, alpha, mode, aa);
      break;
    }
    default: {
      const float x = randomFloat(rng, w), y = randomFloat(rng, h);
      const float rw = float(rng.range(-2, w + 4)) + (rng.chance(50) ? 0.5f : 0.0f), rh = float(rng.range(-2, h + 4));
      const int rad = rng.range(-1, 12);
      snprintf(buf, sizeof buf, "roundrect (%.9g,%.9g %gx%g) rad %d", x, y, rw, rh, rad);
      LICE_RoundRect(&lib, x, y, rw, rh, rad, c, alpha, mode, aa);
      vref::RoundRect(model, x, y, rw, rh, rad, c, alpha, mode, aa);
      break;
    }
    }
    char tail[120];
    snprintf(tail, sizeof tail, " c=%08x a=%.9g m=%#x aa=%d; ", c, double(alpha), mode, int(aa));
    log += std::string(buf) + tail;
  }
  std::string fail;
  if (!lib.samePixels(model))
    fail += "library differs from the model; ";
  if (!lib.guardsIntact())
    fail += "wrote outside the bitmap; ";
  char size[80];
  snprintf(size, sizeof size, "bitmap %dx%d span %d%s; ", w, h, span, flip ? " flipped" : "");
  return fail.empty() ? fail : fail + size + "ops: " + log;
}

TEST(VectorRandom, LibraryAndModelAgree)
{
  RunIterations(kIterations, runIteration);
}

} // namespace

int main(int argc, char** argv)
{
  return ReplayMain(argc, argv);
}
