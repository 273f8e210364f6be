#pragma once
// A drawing surface for the editor artwork. Everything is drawn four times
// larger with the raster library's plain (aliased) primitives and box-filtered
// down, which gives even anti-aliasing for thick strokes and small type.
// Pixels stay premultiplied by their alpha: starting from transparent black,
// the copy combine at weight a is exactly "source over" in premultiplied form.

#include <vector>

#include "graphics/lice.h"

constexpr int kArtScale = 4;

// Bytes A, R, G, B in memory.
constexpr LICE_PixelValue ArtRGB(int r, int g, int b)
{
  return 0xffu | LICE_PixelValue(r) << 8 | LICE_PixelValue(g) << 16 | LICE_PixelValue(b) << 24;
}

struct ArtPoint
{
  float x, y;
};

// Angles in degrees, 0 up, clockwise, as the raster library's arcs take them.
ArtPoint ArtPolar(float cx, float cy, float r, float degrees);

class ArtCanvas
{
public:
  ArtCanvas(int w, int h);

  int width() const { return mW; }
  int height() const { return mH; }
  // Back to fully transparent.
  void clear();

  // Coordinates and sizes in output pixels; fractions land on the finer grid.
  void fillRect(float x, float y, float w, float h, LICE_PixelValue c, float alpha = 1.0f);
  // Vertical gradient from top to bottom colour.
  void gradRect(float x, float y, float w, float h, LICE_PixelValue top, LICE_PixelValue bottom);
  void fillRoundRect(float x, float y, float w, float h, float r, LICE_PixelValue c);
  void gradRoundRect(float x, float y, float w, float h, float r, LICE_PixelValue top, LICE_PixelValue bottom);
  void fillCircle(float cx, float cy, float r, LICE_PixelValue c, float alpha = 1.0f);
  void gradCircle(float cx, float cy, float r, LICE_PixelValue top, LICE_PixelValue bottom);
  // A soft halo: stacked translucent discs fading out to radius r.
  void glow(float cx, float cy, float r, LICE_PixelValue c, float strength);

  // Opaque strokes of the given width with round ends and joins.
  void stroke(const std::vector<ArtPoint>& pts, float width, LICE_PixelValue c);
  void line(float x1, float y1, float x2, float y2, float width, LICE_PixelValue c);
  void arc(float cx, float cy, float r, float a0, float a1, float width, LICE_PixelValue c);
  // A cubic Bezier curve, stroked.
  void bezier(ArtPoint p0, ArtPoint p1, ArtPoint p2, ArtPoint p3, float width, LICE_PixelValue c);

  // Box-filters the fine grid into out at (x, y), premultiplied A, R, G, B.
  void resolveInto(LICE_IBitmap* out, int x, int y);

private:
  void rowSpan(int y4, float x0, float x1, LICE_PixelValue c);

  int mW, mH;
  LICE_MemBitmap mFine;
};

// Lerp of two opaque colours, t from 0 to 1.
LICE_PixelValue ArtMix(LICE_PixelValue a, LICE_PixelValue b, float t);
