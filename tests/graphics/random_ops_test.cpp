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

#include "graphics/lice_fastpath.h"
#include "tests/graphics/lice_reference.h"

namespace {

int g_only = -1;
constexpr int kIterations = 20000;

std::unique_ptr<TestBitmap> randomBitmap(TestRng& rng, int maxSide)
{
  const int w = rng.range(1, maxSide), h = rng.range(1, maxSide);
  const int span = w + (rng.chance(40) ? rng.range(1, 5) : 0);
  return std::make_unique<TestBitmap>(w, h, span, rng.chance(25));
}

// Biased toward the exact-alpha cases and the edges.
float randomAlpha(TestRng& rng)
{
  switch (rng.range(0, 11)) {
    case 0: return 1.0f;
    case 1: return 0.5f;
    case 2: return 0.25f;
    case 3: return 0.75f;
    case 4: return 0.0f;
    case 5: return -float(rng.range(1, 300)) / 256.0f;
    case 6: return float(rng.range(257, 2000)) / 256.0f;
    case 7: {
      // NaN, huge, and just above 1 (weight 256 without being exactly 1).
      const float odd[] = {NAN, 1e12f, -1e12f, 1.002f, 0.999f};
      return odd[rng.range(0, 4)];
    }
    case 8: return float(rng.chance(50) ? rng.range(1, 262) : rng.range(250, 262)) / 256.0f;
    default: return float(rng.next() % 100000) / 100000.0f;
  }
}

int randomMode(TestRng& rng, bool channelCopy)
{
  if (channelCopy && rng.chance(8)) return 0xF0 | rng.range(0, 15);
  if (rng.chance(3)) return 6 + rng.range(0, 3);
  int mode = rng.chance(40) ? 0 : rng.range(0, 5);
  if (rng.chance(45)) mode |= LICE_BLIT_USE_ALPHA;
  if (rng.chance(10)) mode |= LICE_BLIT_FILTER_BILINEAR;
  return mode;
}

// A coordinate around a bitmap of size n, often outside it.
int randomPos(TestRng& rng, int n)
{
  return rng.range(-n - 3, n + 3);
}

void fillRandom(TestRng& rng, TestBitmap& a)
{
  for (int y = 0; y < a.getHeight(); ++y)
    for (int x = 0; x < a.getWidth(); ++x) a.at(x, y) = rng.pixel();
}

struct Trio {
  std::unique_ptr<TestBitmap> fast, slow, model;
};

Trio makeTrio(TestRng& rng, int maxSide)
{
  Trio t;
  t.fast = randomBitmap(rng, maxSide);
  const int w = t.fast->getWidth(), h = t.fast->getHeight(), span = t.fast->getRowSpan();
  const bool flip = t.fast->isFlipped();
  t.slow = std::make_unique<TestBitmap>(w, h, span, flip);
  t.model = std::make_unique<TestBitmap>(w, h, span, flip);
  fillRandom(rng, *t.fast);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) t.slow->at(x, y) = t.model->at(x, y) = t.fast->at(x, y);
  return t;
}

// Runs op on the fast and slow copies with the fast paths on and off.
template <class Op>
void both(Trio& t, Op op)
{
  op(*t.fast);
  LICE_SetFastPathsEnabled(false);
  op(*t.slow);
  LICE_SetFastPathsEnabled(true);
}

std::string runIteration(int it)
{
  TestRng rng{uint64_t(it)};
  Trio dest = makeTrio(rng, rng.chance(20) ? 40 : 12);
  Trio src = makeTrio(rng, rng.chance(30) ? 40 : 12);
  std::string log;
  const int ops = rng.range(1, 4);
  for (int i = 0; i < ops; ++i) {
    const float alpha = randomAlpha(rng);
    const int kind = rng.range(0, 5);
    char buf[200];
    if (kind <= 1) {
      const int mode = randomMode(rng, true);
      const bool self = rng.chance(20);
      TestBitmap& sw = *src.fast;
      int dx, dy, sx, sy, w, h;
      if (rng.chance(50)) {  // clipped in every way
        dx = randomPos(rng, dest.fast->getWidth()), dy = randomPos(rng, dest.fast->getHeight());
        sx = randomPos(rng, sw.getWidth()), sy = randomPos(rng, sw.getHeight());
        w = rng.range(-2, sw.getWidth() + 4), h = rng.range(-2, sw.getHeight() + 4);
      } else {  // mostly inside both, so that the row loops see whole groups
        sx = rng.range(0, sw.getWidth() - 1), sy = rng.range(0, sw.getHeight() - 1);
        w = rng.range(1, sw.getWidth() - sx), h = rng.range(1, sw.getHeight() - sy);
        dx = rng.range(-1, dest.fast->getWidth() - 1), dy = rng.range(-1, dest.fast->getHeight() - 1);
      }
      snprintf(buf, sizeof buf, "blit%s d(%d,%d) s(%d,%d %dx%d) a=%g m=%#x; ", self ? "(self)" : "", dx, dy, sx, sy,
               w, h, double(alpha), mode);
      if (self) {
        both(dest, [&](TestBitmap& d) { LICE_Blit(&d, &d, dx, dy, sx, sy, w, h, alpha, mode); });
        ref::Blit(*dest.model, *dest.model, dx, dy, sx, sy, w, h, alpha, mode);
      } else {
        LICE_Blit(dest.fast.get(), src.fast.get(), dx, dy, sx, sy, w, h, alpha, mode);
        LICE_SetFastPathsEnabled(false);
        LICE_Blit(dest.slow.get(), src.fast.get(), dx, dy, sx, sy, w, h, alpha, mode);
        LICE_SetFastPathsEnabled(true);
        ref::Blit(*dest.model, *src.fast, dx, dy, sx, sy, w, h, alpha, mode);
      }
    } else if (kind == 2) {
      const int mode = randomMode(rng, false);
      const int x = randomPos(rng, dest.fast->getWidth()), y = randomPos(rng, dest.fast->getHeight());
      const int w = rng.range(-2, 50), h = rng.range(-2, 50);
      const LICE_PixelValue c = rng.pixel();
      snprintf(buf, sizeof buf, "fill (%d,%d %dx%d) c=%08x a=%g m=%#x; ", x, y, w, h, c, double(alpha), mode);
      both(dest, [&](TestBitmap& d) { LICE_FillRect(&d, x, y, w, h, c, alpha, mode); });
      ref::FillRect(*dest.model, x, y, w, h, c, alpha, mode);
    } else if (kind == 3) {
      const int mode = randomMode(rng, false);
      const int x = randomPos(rng, dest.fast->getWidth()), y = randomPos(rng, dest.fast->getHeight());
      const LICE_PixelValue c = rng.pixel();
      snprintf(buf, sizeof buf, "put (%d,%d) c=%08x a=%g m=%#x; ", x, y, c, double(alpha), mode);
      both(dest, [&](TestBitmap& d) { LICE_PutPixel(&d, x, y, c, alpha, mode); });
      if (x >= 0 && y >= 0 && x < dest.model->getWidth() && y < dest.model->getHeight())
        dest.model->at(x, y) = ref::FillPixel(mode, alpha, dest.model->at(x, y), c);
    } else if (kind == 4) {
      const int mode = randomMode(rng, false);
      const int gw = rng.range(1, 9), gh = rng.range(1, 9);
      std::vector<unsigned char> cov(size_t(gw * gh));
      for (auto& k : cov) k = static_cast<unsigned char>(rng.channel());
      const int x = randomPos(rng, dest.fast->getWidth()), y = randomPos(rng, dest.fast->getHeight());
      const LICE_PixelValue c = rng.pixel();
      snprintf(buf, sizeof buf, "glyph (%d,%d %dx%d) c=%08x a=%g m=%#x; ", x, y, gw, gh, c, double(alpha), mode);
      both(dest, [&](TestBitmap& d) { LICE_DrawGlyph(&d, x, y, c, cov.data(), gw, gh, alpha, mode); });
      ref::Glyph(*dest.model, x, y, c, cov.data(), gw, gh, alpha, mode);
    } else {
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
  if (!dest.fast->samePixels(*dest.slow)) fail += "fast paths differ from the generic loops; ";
  if (!dest.slow->samePixels(*dest.model)) fail += "generic loops differ from the model; ";
  if (!dest.fast->guardsIntact() || !dest.slow->guardsIntact()) fail += "wrote outside the bitmap; ";
  return fail.empty() ? fail : fail + "ops: " + log;
}

TEST(RandomOps, FastGenericAndModelAgree)
{
  const int first = g_only >= 0 ? g_only : 0, last = g_only >= 0 ? g_only : kIterations - 1;
  int failures = 0;
  for (int it = first; it <= last && failures < 5; ++it) {
    const std::string fail = runIteration(it);
    if (!fail.empty()) {
      ++failures;
      ADD_FAILURE() << "iteration " << it << " (replay with --iteration " << it << "): " << fail;
    }
  }
}

}  // namespace

int main(int argc, char** argv)
{
  for (int i = 1; i < argc; ++i) {
    if (!strcmp(argv[i], "--iteration") && i + 1 < argc) {
      g_only = atoi(argv[i + 1]);
      memmove(argv + i, argv + i + 2, sizeof(char*) * size_t(argc - i - 1));
      argc -= 2;
      break;
    }
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
