// Random operations: each iteration draws a few random blits, fills, pixels,
// glyphs and masked clears into three copies of a bitmap, one with the fast
// paths, one with the generic loops only and one through the per-pixel
// reference model, and requires all three to agree bit for bit.
// `--iteration N` replays one iteration.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/IterationReplay.h"

#include "graphics/lice_fastpath.h"
#include "tests/graphics/random_ops.h"

using namespace rt;

namespace
{

constexpr int kIterations = 20000;

std::string runIteration(int it)
{
  TestRng rng{uint64_t(it)};
  // Odd iterations take the SSE2 builds of the kernels that also have AVX2 ones.
  LICE_SetAvx2Enabled(it % 2 == 0);
  Trio dest = makeTrio(rng, rng.chance(20) ? 40 : 12);
  Trio src = makeTrio(rng, rng.chance(30) ? 40 : 12);
  std::string log;
  const int ops = rng.range(1, 4);
  for (int i = 0; i < ops; ++i)
  {
    const float alpha = randomAlpha(rng);
    const int kind = rng.range(0, 8);
    char buf[200];
    if (kind <= 1)
    {
      const int mode = randomMode(rng, true);
      const bool self = rng.chance(20);
      TestBitmap& sw = *src.fast;
      int dx, dy, sx, sy, w, h;
      if (rng.chance(50))
      { // clipped in every way
        dx = randomPos(rng, dest.fast->getWidth()), dy = randomPos(rng, dest.fast->getHeight());
        sx = randomPos(rng, sw.getWidth()), sy = randomPos(rng, sw.getHeight());
        w = rng.range(-2, sw.getWidth() + 4), h = rng.range(-2, sw.getHeight() + 4);
      }
      else
      { // mostly inside both, so that the row loops see whole groups
        sx = rng.range(0, sw.getWidth() - 1), sy = rng.range(0, sw.getHeight() - 1);
        w = rng.range(1, sw.getWidth() - sx), h = rng.range(1, sw.getHeight() - sy);
        dx = rng.range(-1, dest.fast->getWidth() - 1), dy = rng.range(-1, dest.fast->getHeight() - 1);
      }
      snprintf(buf, sizeof buf, "blit%s d(%d,%d) s(%d,%d %dx%d) a=%g m=%#x; ", self ? "(self)" : "", dx, dy, sx, sy, w,
               h, double(alpha), mode);
      if (self)
      {
        both(dest, [&](TestBitmap& d) { LICE_Blit(&d, &d, dx, dy, sx, sy, w, h, alpha, mode); });
        ref::Blit(*dest.model, *dest.model, dx, dy, sx, sy, w, h, alpha, mode);
      }
      else
      {
        LICE_Blit(dest.fast.get(), src.fast.get(), dx, dy, sx, sy, w, h, alpha, mode);
        LICE_SetFastPathsEnabled(false);
        LICE_Blit(dest.slow.get(), src.fast.get(), dx, dy, sx, sy, w, h, alpha, mode);
        LICE_SetFastPathsEnabled(true);
        ref::Blit(*dest.model, *src.fast, dx, dy, sx, sy, w, h, alpha, mode);
      }
    }
    else if (kind == 2)
    {
      const int mode = randomMode(rng, false);
      const int x = randomPos(rng, dest.fast->getWidth()), y = randomPos(rng, dest.fast->getHeight());
      const int w = rng.range(-2, 50), h = rng.range(-2, 50);
      const LICE_PixelValue c = rng.pixel();
      snprintf(buf, sizeof buf, "fill (%d,%d %dx%d) c=%08x a=%g m=%#x; ", x, y, w, h, c, double(alpha), mode);
      both(dest, [&](TestBitmap& d) { LICE_FillRect(&d, x, y, w, h, c, alpha, mode); });
      ref::FillRect(*dest.model, x, y, w, h, c, alpha, mode);
    }
    else if (kind == 3)
    {
      const int mode = randomMode(rng, false);
      const int x = randomPos(rng, dest.fast->getWidth()), y = randomPos(rng, dest.fast->getHeight());
      const LICE_PixelValue c = rng.pixel();
      snprintf(buf, sizeof buf, "put (%d,%d) c=%08x a=%g m=%#x; ", x, y, c, double(alpha), mode);
      both(dest, [&](TestBitmap& d) { LICE_PutPixel(&d, x, y, c, alpha, mode); });
      if (x >= 0 && y >= 0 && x < dest.model->getWidth() && y < dest.model->getHeight())
        dest.model->at(x, y) = ref::FillPixel(mode, alpha, dest.model->at(x, y), c);
    }
    else if (kind == 4)
    {
      const int mode = randomMode(rng, false);
      const int gw = rng.range(1, 9), gh = rng.range(1, 9);
      std::vector<unsigned char> cov(size_t(gw * gh));
      for (auto& k : cov)
        k = static_cast<unsigned char>(rng.channel());
      const int x = randomPos(rng, dest.fast->getWidth()), y = randomPos(rng, dest.fast->getHeight());
      const LICE_PixelValue c = rng.pixel();
      snprintf(buf, sizeof buf, "glyph (%d,%d %dx%d) c=%08x a=%g m=%#x; ", x, y, gw, gh, c, double(alpha), mode);
      both(dest, [&](TestBitmap& d) { LICE_DrawGlyph(&d, x, y, c, cov.data(), gw, gh, alpha, mode); });
      ref::Glyph(*dest.model, x, y, c, cov.data(), gw, gh, alpha, mode);
    }
    else if (kind >= 6)
    {
      RandomSampleOp(rng, dest, src, alpha, log);
      continue;
    }
    else
    {
      const int x = randomPos(rng, dest.fast->getWidth()), y = randomPos(rng, dest.fast->getHeight());
      const int w = rng.range(-2, 20), h = rng.range(-2, 20);
      const LICE_PixelValue mask = rng.next(), orbits = rng.next() & rng.next();
      snprintf(buf, sizeof buf, "clear (%d,%d %dx%d); ", x, y, w, h);
      both(dest, [&](TestBitmap& d) { LICE_ClearRect(&d, x, y, w, h, mask, orbits); });
      TestBitmap& m = *dest.model;
      for (int py = 0; py < m.getHeight(); ++py)
        for (int px = 0; px < m.getWidth(); ++px)
          if (px >= x && px < int64_t(x) + w && py >= y && py < int64_t(y) + h)
            m.at(px, py) = (m.at(px, py) & mask) | orbits;
    }
    log += buf;
  }
  std::string fail;
  if (!dest.fast->samePixels(*dest.slow))
    fail += "fast paths differ from the generic loops; ";
  if (!dest.slow->samePixels(*dest.model))
    fail += "generic loops differ from the model; ";
  if (!dest.fast->guardsIntact() || !dest.slow->guardsIntact())
    fail += "wrote outside the bitmap; ";
  return fail.empty() ? fail : fail + "ops: " + log;
}

TEST(RandomOps, FastGenericAndModelAgree)
{
  RunIterations(kIterations, runIteration);
}

} // namespace

int main(int argc, char** argv)
{
  return ReplayMain(argc, argv);
}
