#include "platform/text/TextLayout.h"

#include <algorithm>
#include <cmath>

#include "platform/coregraphics/CGBitmapContext.h"
#include "platform/coregraphics/CGDataProvider.h"

namespace
{

const TextUnit kEllipsis = 0x2026;

// Code points of the text; unpaired surrogates become U+FFFD.
std::vector<uint32_t> codepoints(const TextUnit* text, size_t n)
{
  std::vector<uint32_t> cps;
  for (size_t i = 0; i < n; ++i)
  {
    uint32_t u = text[i];
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
    {
      cps.push_back(0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    }
    else
    {
      cps.push_back(u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
    }
  }
  return cps;
}

// A glyph placed on the line: pen position in 1/64 pixel.
struct Placed
{
  unsigned index;
  long pen;
  TextGlyph glyph;
};

// Lays out the line; returns its advance width in 1/64 pixel.
long layout(TextStyleRef style, const TextUnit* text, size_t n, std::vector<Placed>* out)
{
  long pen = 0;
  unsigned prev = 0;
  bool hasPrev = false;
  for (uint32_t cp : codepoints(text, n))
  {
    if (cp < 0x20)
      continue;
    unsigned gi = TextStyleGlyphIndex(style, cp);
    TextGlyph g;
    if (!TextStyleGlyph(style, gi, &g))
      continue;
    if (hasPrev)
      pen += TextStyleKerning(style, prev, gi);
    if (out)
      out->push_back({gi, pen, g});
    pen += g.advance;
    prev = gi;
    hasPrev = true;
  }
  return pen;
}

// The line's coverage: w x h bytes, top row first; originX and baseline
// locate the pen origin inside it.
struct LineMask
{
  int w = 0, h = 0, originX = 0, baseline = 0;
  std::vector<unsigned char> coverage;
};

LineMask renderMask(TextStyleRef style, const std::vector<Placed>& glyphs, long width)
{
  LineMask m;
  int x0 = 0, x1 = int(std::ceil(width / 64.0)), top = 0, bottom = 0;
  double ulOffset = 0, ulThick = 0;
  bool underline = TextStyleIsUnderlined(style);
  if (underline)
  {
    TextStyleUnderline(style, &ulOffset, &ulThick);
    top = std::max(top, int(-std::floor(ulOffset - ulThick / 2)));
    bottom = std::max(bottom, int(std::ceil(ulOffset + ulThick / 2)));
  }
  for (const Placed& p : glyphs)
  {
    int gx = int((p.pen + 32) >> 6) + p.glyph.left;
    x0 = std::min(x0, gx);
    x1 = std::max(x1, gx + p.glyph.width);
    top = std::max(top, p.glyph.top);
    bottom = std::max(bottom, p.glyph.rows - p.glyph.top);
  }
  m.w = x1 - x0;
  m.h = top + bottom;
  m.originX = -x0;
  m.baseline = top;
  if (m.w <= 0 || m.h <= 0)
    return m;
  m.coverage.assign(size_t(m.w) * m.h, 0);
  for (const Placed& p : glyphs)
  {
    int gx = int((p.pen + 32) >> 6) + p.glyph.left + m.originX, gy = m.baseline - p.glyph.top;
    for (int y = 0; y < p.glyph.rows; ++y)
    {
      unsigned char* row = m.coverage.data() + size_t(gy + y) * m.w + gx;
      const unsigned char* src = p.glyph.coverage + size_t(y) * p.glyph.width;
      for (int x = 0; x < p.glyph.width; ++x)
        row[x] = (unsigned char)std::min(255, row[x] + src[x]);
    }
  }
  if (underline)
  {
    int y0 = m.baseline + int(std::floor(ulOffset - ulThick / 2 + 0.5));
    int y1 = std::max(y0 + 1, m.baseline + int(std::floor(ulOffset + ulThick / 2 + 0.5)));
    for (int y = std::max(0, y0); y < std::min(m.h, y1); ++y)
      std::fill_n(m.coverage.data() + size_t(y) * m.w + m.originX, int(std::ceil(width / 64.0)), 255);
  }
  return m;
}

unsigned char toByte(double v)
{
  return (unsigned char)(v <= 0 ? 0 : v >= 1 ? 255 : int(v * 255 + 0.5));
}

// The mask in the colour, premultiplied A, R, G, B.
CGImageRef colouredImage(const LineMask& m, const double rgba[4])
{
  std::vector<unsigned char> px(m.coverage.size() * 4);
  int r = toByte(rgba[0]), g = toByte(rgba[1]), b = toByte(rgba[2]), a = toByte(rgba[3]);
  for (size_t i = 0; i < m.coverage.size(); ++i)
  {
    int alpha = (m.coverage[i] * a + 127) / 255;
    px[i * 4] = (unsigned char)alpha;
    px[i * 4 + 1] = (unsigned char)((r * alpha + 127) / 255);
    px[i * 4 + 2] = (unsigned char)((g * alpha + 127) / 255);
    px[i * 4 + 3] = (unsigned char)((b * alpha + 127) / 255);
  }
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, px.data(), px.size(), nullptr);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGImageRef img = CGImageCreate(size_t(m.w), size_t(m.h), 8, 32, size_t(m.w) * 4, space,
                                 kCGImageAlphaPremultipliedFirst, provider, nullptr, false, 0);
  CGColorSpaceRelease(space);
  CGDataProviderRelease(provider);
  return img;
}

} // namespace

double TextMeasureWidth(TextStyleRef style, const TextUnit* text, size_t n)
{
  if (!style || !text)
    return 0;
  return layout(style, text, n, nullptr) / 64.0;
}

std::vector<TextUnit> TextTruncateEnd(TextStyleRef style, const TextUnit* text, size_t n, double maxWidth)
{
  std::vector<TextUnit> out(text, text + (text ? n : 0));
  if (!style || TextMeasureWidth(style, out.data(), out.size()) <= maxWidth)
    return out;
  // Widths only grow with more characters, so the longest prefix that
  // fits beside the ellipsis is found by bisection.
  size_t lo = 0, hi = out.size();
  while (lo < hi)
  {
    size_t mid = (lo + hi + 1) / 2;
    std::vector<TextUnit> t(out.begin(), out.begin() + mid);
    t.push_back(kEllipsis);
    if (TextMeasureWidth(style, t.data(), t.size()) <= maxWidth)
      lo = mid;
    else
      hi = mid - 1;
  }
  out.resize(lo);
  out.push_back(kEllipsis);
  if (TextMeasureWidth(style, out.data(), out.size()) > maxWidth)
    out.clear();
  return out;
}

void TextDrawLine(CGContextRef c, TextStyleRef style, const TextUnit* text, size_t n, double x, double y,
                  const double rgba[4], double rotation)
{
  if (!c || !style || !text || !n)
    return;
  std::vector<Placed> glyphs;
  long width = layout(style, text, n, &glyphs);
  LineMask m = renderMask(style, glyphs, width);
  if (m.coverage.empty())
    return;
  CGImageRef img = colouredImage(m, rgba);
  CGContextSaveGState(c);
  CGContextTranslateCTM(c, x, y);
  if (rotation != 0)
    CGContextRotateCTM(c, rotation * M_PI / 180);
  CGContextDrawImage(c, CGRectMake(-m.originX, m.baseline - m.h, m.w, m.h), img);
  CGContextRestoreGState(c);
  CGImageRelease(img);
}
