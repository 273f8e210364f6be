#include "tools/artwork/ArtCanvas.h"

#include <algorithm>
#include <cmath>

namespace
{

constexpr float kS = float(kArtScale);

int fine(float v)
{
  return int(std::lround(v * kS));
}

int channel(LICE_PixelValue c, int byte)
{
  return int((c >> (8 * byte)) & 0xff);
}

} // namespace

ArtPoint ArtPolar(float cx, float cy, float r, float degrees)
{
  const double a = double(degrees) * M_PI / 180.0;
  return {cx + float(r * std::sin(a)), cy - float(r * std::cos(a))};
}

LICE_PixelValue ArtMix(LICE_PixelValue a, LICE_PixelValue b, float t)
{
  t = std::clamp(t, 0.0f, 1.0f);
  auto m = [&](int byte) {
    return int(std::lround(float(channel(a, byte)) + float(channel(b, byte) - channel(a, byte)) * t));
  };
  return ArtRGB(m(1), m(2), m(3));
}

ArtCanvas::ArtCanvas(int w, int h) : mW(w), mH(h), mFine(w * kArtScale, h * kArtScale)
{
  clear();
}

void ArtCanvas::clear()
{
  LICE_Clear(&mFine, 0);
}

void ArtCanvas::fillRect(float x, float y, float w, float h, LICE_PixelValue c, float alpha)
{
  const int x0 = fine(x), y0 = fine(y);
  LICE_FillRect(&mFine, x0, y0, fine(x + w) - x0, fine(y + h) - y0, c, alpha, LICE_BLIT_MODE_COPY);
}

void ArtCanvas::gradRect(float x, float y, float w, float h, LICE_PixelValue top, LICE_PixelValue bottom)
{
  const int x0 = fine(x), y0 = fine(y), w4 = fine(x + w) - x0, h4 = fine(y + h) - y0;
  if (h4 <= 0)
    return;
  auto f = [](LICE_PixelValue c, int byte) { return float(channel(c, byte)) / 255.0f; };
  const float n = float(h4);
  LICE_GradRect(&mFine, x0, y0, w4, h4, f(top, 1), f(top, 2), f(top, 3), 1.0f, 0, 0, 0, 0,
                (f(bottom, 1) - f(top, 1)) / n, (f(bottom, 2) - f(top, 2)) / n, (f(bottom, 3) - f(top, 3)) / n, 0,
                LICE_BLIT_MODE_COPY);
}

// One fine row from x0 to x1 (output pixels).
void ArtCanvas::rowSpan(int y4, float x0, float x1, LICE_PixelValue c)
{
  const int a = fine(x0), b = fine(x1);
  if (b > a)
    LICE_FillRect(&mFine, a, y4, b - a, 1, c, 1.0f, LICE_BLIT_MODE_COPY);
}

void ArtCanvas::gradRoundRect(float x, float y, float w, float h, float r, LICE_PixelValue top, LICE_PixelValue bottom)
{
  r = std::min({r, w / 2, h / 2});
  const int y0 = fine(y), y1 = fine(y + h);
  for (int y4 = y0; y4 < y1; ++y4)
  {
    const float py = (float(y4) + 0.5f) / kS;
    float inset = 0;
    const float dy = py < y + r ? y + r - py : py > y + h - r ? py - (y + h - r) : 0;
    if (dy > 0)
      inset = r - std::sqrt(std::max(0.0f, r * r - dy * dy));
    rowSpan(y4, x + inset, x + w - inset, ArtMix(top, bottom, (py - y) / h));
  }
}

void ArtCanvas::fillRoundRect(float x, float y, float w, float h, float r, LICE_PixelValue c)
{
  gradRoundRect(x, y, w, h, r, c, c);
}

void ArtCanvas::gradCircle(float cx, float cy, float r, LICE_PixelValue top, LICE_PixelValue bottom)
{
  gradRoundRect(cx - r, cy - r, 2 * r, 2 * r, r, top, bottom);
}

void ArtCanvas::fillCircle(float cx, float cy, float r, LICE_PixelValue c, float alpha)
{
  LICE_FillCircle(&mFine, cx * kS, cy * kS, r * kS, c, alpha, LICE_BLIT_MODE_COPY, false);
}

void ArtCanvas::glow(float cx, float cy, float r, LICE_PixelValue c, float strength)
{
  for (int i = 8; i >= 1; --i)
    fillCircle(cx, cy, r * float(i) / 8.0f, c, strength / 8.0f);
}

void ArtCanvas::stroke(const std::vector<ArtPoint>& pts, float width, LICE_PixelValue c)
{
  const float rad = width * kS / 2;
  for (size_t i = 0; i < pts.size(); ++i)
  {
    const ArtPoint a = pts[i], b = i + 1 < pts.size() ? pts[i + 1] : pts[i];
    const float len = std::hypot(b.x - a.x, b.y - a.y) * kS;
    const int steps = std::max(1, int(std::ceil(len)));
    for (int k = 0; k <= steps; ++k)
    {
      const float t = float(k) / float(steps);
      LICE_FillCircle(&mFine, (a.x + (b.x - a.x) * t) * kS, (a.y + (b.y - a.y) * t) * kS, rad, c, 1.0f,
                      LICE_BLIT_MODE_COPY, false);
    }
  }
}

void ArtCanvas::line(float x1, float y1, float x2, float y2, float width, LICE_PixelValue c)
{
  stroke({{x1, y1}, {x2, y2}}, width, c);
}

void ArtCanvas::arc(float cx, float cy, float r, float a0, float a1, float width, LICE_PixelValue c)
{
  const int n = std::max(2, int(std::ceil(std::fabs(a1 - a0) * r / 20.0f)) + 1);
  std::vector<ArtPoint> pts;
  for (int i = 0; i <= n; ++i)
    pts.push_back(ArtPolar(cx, cy, r, a0 + (a1 - a0) * float(i) / float(n)));
  stroke(pts, width, c);
}

void ArtCanvas::bezier(ArtPoint p0, ArtPoint p1, ArtPoint p2, ArtPoint p3, float width, LICE_PixelValue c)
{
  std::vector<ArtPoint> pts;
  for (int i = 0; i <= 48; ++i)
  {
    const float t = float(i) / 48.0f, u = 1 - t;
    const float a = u * u * u, b = 3 * u * u * t, d = 3 * u * t * t, e = t * t * t;
    pts.push_back({a * p0.x + b * p1.x + d * p2.x + e * p3.x, a * p0.y + b * p1.y + d * p2.y + e * p3.y});
  }
  stroke(pts, width, c);
}

void ArtCanvas::resolveInto(LICE_IBitmap* out, int x, int y)
{
  const LICE_PixelValue* src = mFine.getBits();
  const int span = mFine.getRowSpan();
  for (int j = 0; j < mH; ++j)
  {
    if (y + j < 0 || y + j >= out->getHeight())
      continue;
    LICE_PixelValue* row = out->getBits() + size_t(y + j) * size_t(out->getRowSpan());
    for (int i = 0; i < mW; ++i)
    {
      if (x + i < 0 || x + i >= out->getWidth())
        continue;
      unsigned sum[4] = {0, 0, 0, 0};
      for (int dy = 0; dy < kArtScale; ++dy)
      {
        const auto* p = reinterpret_cast<const unsigned char*>(src + size_t(j * kArtScale + dy) * size_t(span) +
                                                               size_t(i * kArtScale));
        for (int k = 0; k < 4 * kArtScale; ++k)
          sum[k & 3] += p[k];
      }
      auto* d = reinterpret_cast<unsigned char*>(row + x + i);
      constexpr unsigned n = kArtScale * kArtScale;
      for (int k = 0; k < 4; ++k)
        d[k] = static_cast<unsigned char>((sum[k] + n / 2) / n);
    }
  }
}
