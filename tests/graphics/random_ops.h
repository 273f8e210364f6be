#pragma once
// Shared pieces of the randomized raster tests: random bitmaps, alphas,
// modes and positions, and the trio of copies every operation runs on (fast
// paths, generic loops, reference model).

#include <cmath>
#include <memory>
#include <string>

#include "graphics/lice_fastpath.h"
#include "tests/graphics/lice_reference.h"

namespace rt
{

inline std::unique_ptr<TestBitmap> randomBitmap(TestRng& rng, int maxSide)
{
  const int w = rng.range(1, maxSide), h = rng.range(1, maxSide);
  const int span = w + (rng.chance(40) ? rng.range(1, 5) : 0);
  return std::make_unique<TestBitmap>(w, h, span, rng.chance(25));
}

// Biased toward the exact-alpha cases and the edges.
inline float randomAlpha(TestRng& rng)
{
  switch (rng.range(0, 11))
  {
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

inline int randomMode(TestRng& rng, bool channelCopy)
{
  if (channelCopy && rng.chance(8))
    return 0xF0 | rng.range(0, 15);
  if (rng.chance(3))
    return 6 + rng.range(0, 3);
  int mode = rng.chance(40) ? 0 : rng.range(0, 5);
  if (rng.chance(45))
    mode |= LICE_BLIT_USE_ALPHA;
  if (rng.chance(10))
    mode |= LICE_BLIT_FILTER_BILINEAR;
  return mode;
}

// A coordinate around a bitmap of size n, often outside it.
inline int randomPos(TestRng& rng, int n)
{
  return rng.range(-n - 3, n + 3);
}

inline void fillRandom(TestRng& rng, TestBitmap& a)
{
  for (int y = 0; y < a.getHeight(); ++y)
    for (int x = 0; x < a.getWidth(); ++x)
      a.at(x, y) = rng.pixel();
}

struct Trio
{
  std::unique_ptr<TestBitmap> fast, slow, model;
};

inline Trio makeTrio(TestRng& rng, int maxSide)
{
  Trio t;
  t.fast = randomBitmap(rng, maxSide);
  const int w = t.fast->getWidth(), h = t.fast->getHeight(), span = t.fast->getRowSpan();
  const bool flip = t.fast->isFlipped();
  t.slow = std::make_unique<TestBitmap>(w, h, span, flip);
  t.model = std::make_unique<TestBitmap>(w, h, span, flip);
  fillRandom(rng, *t.fast);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      t.slow->at(x, y) = t.model->at(x, y) = t.fast->at(x, y);
  return t;
}

// Runs op on the fast and slow copies with the fast paths on and off.
template <class Op>
inline void both(Trio& t, Op op)
{
  op(*t.fast);
  LICE_SetFastPathsEnabled(false);
  op(*t.slow);
  LICE_SetFastPathsEnabled(true);
}

// One random scaled, rotated, delta, transform or gradient operation on
// dest (reading src or dest itself), appended to log.
void RandomSampleOp(TestRng& rng, Trio& dest, Trio& src, float alpha, std::string& log);

} // namespace rt
