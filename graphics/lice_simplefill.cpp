// Seed fill along rows: the run through column x of every row reached
// straight up or down from the seed.

#include "graphics/lice_dispatch.h"

void LICE_SimpleFill(LICE_IBitmap* bm, int x, int y, LICE_PixelValue newcolor, LICE_PixelValue comparemask,
                     LICE_PixelValue keepmask)
{
  if (!bm)
    return;
  const int w = bm->getWidth(), h = bm->getHeight(), span = bm->getRowSpan();
  LICE_PixelValue* bits = bm->getBits();
  if (!bits || x < 0 || y < 0 || x >= w || y >= h || !LICE_UsableSpan(bm))
    return;
  // Rows are addressed as stored, whatever the flip: the fill is symmetric.
  auto row = [&](int r) { return bits + size_t(r) * size_t(span); };
  const LICE_PixelValue key = row(y)[x] & comparemask;
  auto matches = [&](LICE_PixelValue p) { return (p & comparemask) == key; };
  auto fillRun = [&](LICE_PixelValue* p) {
    p[x] = (p[x] & keepmask) | newcolor;
    for (int i = x + 1; i < w && matches(p[i]); ++i)
      p[i] = (p[i] & keepmask) | newcolor;
    for (int i = x - 1; i >= 0 && matches(p[i]); --i)
      p[i] = (p[i] & keepmask) | newcolor;
  };
  for (int r = y; r < h && matches(row(r)[x]); ++r)
    fillRun(row(r));
  for (int r = y - 1; r >= 0 && matches(row(r)[x]); --r)
    fillRun(row(r));
}
