// Rectangle fill, masked clear and whole-bitmap clear.

#include <algorithm>
#include <cstdint>

#include "graphics/lice_blit_rows.h"

namespace {

// A clipped rectangle: first row in memory, byte step between rows.
struct ClippedRect {
  unsigned char* first = nullptr;
  long step = 0;
  int w = 0;
  int h = 0;
};

// Clips (x, y, w, h) to the bitmap without overflow. For a flipped bitmap
// the rows run forward from buffer row height - y - h: the same pixels.
// False when nothing is left or the bitmap has no usable pixels.
bool clipRect(LICE_IBitmap* bm, int x, int y, int w, int h, ClippedRect& out)
{
  int64_t x0 = x, y0 = y, w0 = w, h0 = h;
  if (x0 < 0) w0 += x0, x0 = 0;
  if (y0 < 0) h0 += y0, y0 = 0;
  const int64_t bw = bm->getWidth(), bh = bm->getHeight();
  if (x0 + w0 > bw) w0 = bw - x0;
  if (y0 + h0 > bh) h0 = bh - y0;
  LICE_PixelValue* bits = bm->getBits();
  const int span = bm->getRowSpan();
  if (!bits || w0 < 1 || h0 < 1 || span < 1 || span < bw) return false;

  const int64_t row = bm->isFlipped() ? bh - y0 - h0 : y0;
  out.first = reinterpret_cast<unsigned char*>(bits + row * span + x0);
  out.step = long(span) * 4;
  out.w = int(w0);
  out.h = int(h0);
  return true;
}

}  // namespace

void LICE_FillRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha, int mode)
{
  if (!bm) return;
  if (mode & LICE_BLIT_USE_ALPHA) alpha *= float(color & 0xff) / 255.0f;
  ClippedRect r;
  if (!LICE_AlphaDraws(alpha) || !clipRect(bm, x, y, w, h, r)) return;

  LICE_FillJob job;
  job.dest = r.first;
  job.dest_step = r.step;
  job.w = r.w;
  job.h = r.h;
  job.sel = mode & LICE_BLIT_MODE_MASK;
  job.alpha = alpha;
  job.ia = LICE_AlphaWeight(alpha);
  job.color = color;
  LICE_RunFillJob(job);
}

void LICE_ClearRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue mask, LICE_PixelValue orbits)
{
  ClippedRect r;
  if (!bm || !clipRect(bm, x, y, w, h, r)) return;
  for (int j = 0; j < r.h; ++j) {
    auto* p = reinterpret_cast<LICE_PixelValue*>(r.first + j * r.step);
    for (int i = 0; i < r.w; ++i) p[i] = (p[i] & mask) | orbits;
  }
}

void LICE_Clear(LICE_IBitmap* bm, LICE_PixelValue color)
{
  if (!bm) return;
  LICE_PixelValue* p = bm->getBits();
  const int w = bm->getWidth(), h = bm->getHeight(), span = bm->getRowSpan();
  if (!p || w <= 0 || h <= 0 || span <= 0 || span < w) return;
  for (int y = 0; y < h; ++y, p += span) std::fill_n(p, w, color);
}
