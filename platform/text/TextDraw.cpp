// Drawing a laid-out line. The line's coverage is the image the platform
// would be handed; for transforms that keep rows and columns it is blended
// straight into the context's pixels, reproducing the platform's image
// drawing pixel for pixel, and only the part that lands is rendered.

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/coregraphics/CGBitmapContext.h"
#include "platform/coregraphics/CGDataProvider.h"
#include "platform/coregraphics/cg_context.h"
#include "platform/coregraphics/cg_pixel.h"
#include "platform/text/TextLayout.h"
#include "platform/text/text_style.h"

namespace
{

std::atomic<bool> gDirectBlend{true};

// Where the line's coverage lies: w x h pixels, top row first; originX and
// baseline locate the pen origin inside it.
struct MaskBox
{
  int w = 0, h = 0, originX = 0, baseline = 0;
  bool underline = false;
  int ulTop = 0, ulBottom = 0, ulWidth = 0; // underline rows [ulTop, ulBottom)
};

int glyphX(const TextPlaced& p)
{
  return int((p.pen + 32) >> 6) + p.glyph.left;
}

MaskBox maskBox(TextStyle* style, const std::vector<TextPlaced>& glyphs, long width)
{
  MaskBox m;
  int x0 = 0, x1 = int(std::ceil(double(width) / 64.0)), top = 0, bottom = 0;
  double ulOffset = 0, ulThick = 0;
  m.underline = TextStyleIsUnderlined(style);
  if (m.underline)
  {
    TextStyleUnderline(style, &ulOffset, &ulThick);
    top = std::max(top, int(-std::floor(ulOffset - ulThick / 2)));
    bottom = std::max(bottom, int(std::ceil(ulOffset + ulThick / 2)));
  }
  for (const TextPlaced& p : glyphs)
  {
    x0 = std::min(x0, glyphX(p));
    x1 = std::max(x1, glyphX(p) + p.glyph.width);
    top = std::max(top, p.glyph.top);
    bottom = std::max(bottom, p.glyph.rows - p.glyph.top);
  }
  m.w = x1 - x0;
  m.h = top + bottom;
  m.originX = -x0;
  m.baseline = top;
  m.ulTop = m.baseline + int(std::floor(ulOffset - ulThick / 2 + 0.5));
  m.ulBottom = std::max(m.ulTop + 1, m.baseline + int(std::floor(ulOffset + ulThick / 2 + 0.5)));
  m.ulWidth = int(std::ceil(double(width) / 64.0));
  return m;
}

// Columns [x0, x1) of rows [y0, y1) of the coverage, into out (x1 - x0
// bytes a row). Overlapping glyphs add up, to at most 255.
void fillMask(const MaskBox& m, const std::vector<TextPlaced>& glyphs, int x0, int y0, int x1, int y1,
              unsigned char* out)
{
  size_t span = size_t(x1 - x0);
  std::fill_n(out, span * size_t(y1 - y0), 0);
  int reached = INT_MIN; // right edge of the glyphs so far
  for (const TextPlaced& p : glyphs)
  {
    int gx = glyphX(p) + m.originX, gy = m.baseline - p.glyph.top;
    int xa = std::max(gx, x0), xb = std::min(gx + p.glyph.width, x1);
    // Left of it all is still zero: the sum is the glyph itself.
    bool clear = gx >= reached;
    reached = std::max(reached, gx + p.glyph.width);
    if (xa >= xb)
      continue;
    for (int y = std::max(gy, y0); y < std::min(gy + p.glyph.rows, y1); ++y)
    {
      unsigned char* d = out + size_t(y - y0) * span + (xa - x0);
      const unsigned char* src = p.glyph.coverage + size_t(y - gy) * p.glyph.width + (xa - gx);
      if (clear)
        std::memcpy(d, src, size_t(xb - xa));
      else
        for (int i = 0; i < xb - xa; ++i)
        {
          unsigned sum = d[i] + src[i];
          d[i] = (unsigned char)(sum > 255 ? 255 : sum);
        }
    }
  }
  if (!m.underline)
    return;
  int xa = std::max(m.originX, x0), xb = std::min(m.originX + m.ulWidth, x1);
  for (int y = std::max({m.ulTop, 0, y0}); y < std::min({m.ulBottom, m.h, y1}); ++y)
    for (int x = xa; x < xb; ++x)
      out[size_t(y - y0) * span + size_t(x - x0)] = 255;
}

// The colour at each coverage as a premultiplied pixel A, R, G, B, then
// scaled by the drawing alpha (0..256) as image drawing scales each pixel.
// Kept by the style while the colour and alpha stay the same.
const unsigned char (*colourTable(TextStyle* style, const double rgba[4], int alpha))[4]
{
  int r = cgToByte(rgba[0]), g = cgToByte(rgba[1]), b = cgToByte(rgba[2]), a = cgToByte(rgba[3]);
  uint64_t key = uint64_t(r) << 48 | uint64_t(g) << 40 | uint64_t(b) << 32 | uint64_t(a) << 24 | uint64_t(alpha);
  if (style->colourKey == key)
    return style->colours;
  for (int v = 0; v < 256; ++v)
  {
    int k = (v * a + 127) / 255;
    unsigned char* px = style->colours[v];
    px[0] = (unsigned char)k;
    px[1] = (unsigned char)((r * k + 127) / 255);
    px[2] = (unsigned char)((g * k + 127) / 255);
    px[3] = (unsigned char)((b * k + 127) / 255);
    if (alpha < 256)
      for (int i = 0; i < 4; ++i)
        px[i] = (unsigned char)((px[i] * alpha) >> 8);
  }
  style->colourKey = key;
  return style->colours;
}

// Bit i set when p[i] is not zero, for 16 bytes: most of a line's box is
// empty, and this passes over it 16 pixels at a time.
unsigned inked16(const unsigned char* p)
{
#if defined(__SSE2__)
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128()))) & 0xFFFF;
#else
  unsigned bits = 0;
  for (int i = 0; i < 16; ++i)
    bits |= unsigned(p[i] != 0) << i;
  return bits;
#endif
}

// Blends the line as CGContextDrawImage would draw its image at rect under
// ctm: the device pixels whose centres lie in the rect and the clip, each
// taking the image pixel under its centre. That pixel's column depends on
// the device column alone, and its row on the device row, when ctm keeps
// rows and columns, so both are found once.
void blendDirect(TextStyle* style, CGContext* c, CGAffineTransform ctm, CGRect rect, const MaskBox& m,
                 const double rgba[4])
{
  const CGGState& s = c->state();
  int alpha = int(s.alpha * 256 + 0.5);
  if (alpha <= 0)
    return;
  CGRect area = CGRectIntersection(CGRectApplyAffineTransform(rect, ctm), s.clip);
  if (CGRectIsEmpty(area))
    return;
  long x0 = cgCentreEdge(CGRectGetMinX(area), c->width), x1 = cgCentreEdge(CGRectGetMaxX(area), c->width);
  long y0 = cgCentreEdge(CGRectGetMinY(area), c->height), y1 = cgCentreEdge(CGRectGetMaxY(area), c->height);
  if (x0 >= x1 || y0 >= y1)
    return;
  CGAffineTransform inv = CGAffineTransformInvert(ctm);
  CGFloat sx = CGFloat(m.w) / rect.size.width, sy = CGFloat(m.h) / rect.size.height;
  CGFloat top = rect.origin.y + rect.size.height;
  CGPoint u = CGPointApplyAffineTransform(CGPointMake(CGFloat(x0) + 0.5, CGFloat(y0) + 0.5), inv);
  std::vector<int32_t>& columns = style->columns;
  columns.resize(size_t(x1 - x0));
  int cmin = m.w, cmax = -1, rmin = m.h, rmax = -1;
  for (long x = x0; x < x1; ++x)
  {
    CGFloat fx = (u.x + CGFloat(x - x0) * inv.a - rect.origin.x) * sx;
    int col = fx >= 0 && fx < CGFloat(m.w) ? int(fx) : -1;
    columns[size_t(x - x0)] = col;
    if (col >= 0)
    {
      cmin = std::min(cmin, col);
      cmax = std::max(cmax, col);
    }
  }
  auto rowOf = [&](long y) {
    CGFloat fy = (top - CGPointApplyAffineTransform(CGPointMake(CGFloat(x0) + 0.5, CGFloat(y) + 0.5), inv).y) * sy;
    return fy >= 0 && fy < CGFloat(m.h) ? int(fy) : -1;
  };
  for (long y = y0; y < y1; ++y)
    if (int row = rowOf(y); row >= 0)
    {
      rmin = std::min(rmin, row);
      rmax = std::max(rmax, row);
    }
  if (cmax < 0 || rmax < 0)
    return;

  size_t span = size_t(cmax - cmin) + 1;
  style->mask.resize(span * size_t(rmax - rmin + 1));
  fillMask(m, style->placed, cmin, rmin, cmax + 1, rmax + 1, style->mask.data());
  const unsigned char(*table)[4] = colourTable(style, rgba, alpha);
  // Usually the columns that land are consecutive image columns: then each
  // row is read straight along.
  long xa = x0;
  while (columns[size_t(xa - x0)] < 0)
    ++xa;
  long xb = xa;
  while (xb < x1 && columns[size_t(xb - x0)] == columns[size_t(xa - x0)] + (xb - xa))
    ++xb;
  bool straight = true;
  for (long x = xb; x < x1 && straight; ++x)
    straight = columns[size_t(x - x0)] < 0;
  for (long y = y0; y < y1; ++y)
  {
    int row = rowOf(y);
    if (row < 0)
      continue;
    const unsigned char* coverage = style->mask.data() + size_t(row - rmin) * span;
    unsigned char* dst = c->data + (c->height - 1 - size_t(y)) * c->bytesPerRow;
    // A pixel left all zero by the alpha changes nothing: the blend skips it.
    auto blend = [&](long x, unsigned char v) { cgBlendPremultiplied(dst + x * 4, c->bitmapInfo, table[v]); };
    if (!straight)
    {
      for (long x = x0; x < x1; ++x)
        if (int col = columns[size_t(x - x0)]; col >= 0 && coverage[col - cmin])
          blend(x, coverage[col - cmin]);
      continue;
    }
    const unsigned char* run = coverage + (columns[size_t(xa - x0)] - cmin);
    long n = xb - xa, i = 0;
    for (; i + 16 <= n; i += 16)
      for (unsigned bits = inked16(run + i); bits; bits &= bits - 1)
      {
        long k = i + __builtin_ctz(bits);
        blend(xa + k, run[k]);
      }
    for (; i < n; ++i)
      if (run[i])
        blend(xa + i, run[i]);
  }
}

// The whole coverage as an image, drawn by the platform.
void drawImage(TextStyle* style, CGContextRef c, double x, double y, double rotation, CGRect rect, const MaskBox& m,
               const double rgba[4])
{
  style->mask.resize(size_t(m.w) * size_t(m.h));
  fillMask(m, style->placed, 0, 0, m.w, m.h, style->mask.data());
  const unsigned char(*table)[4] = colourTable(style, rgba, 256);
  std::vector<unsigned char> px(style->mask.size() * 4);
  for (size_t i = 0; i < style->mask.size(); ++i)
    std::copy_n(table[style->mask[i]], 4, &px[i * 4]);
  CGDataProviderRef provider = CGDataProviderCreateWithData(nullptr, px.data(), px.size(), nullptr);
  CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
  CGImageRef img = CGImageCreate(size_t(m.w), size_t(m.h), 8, 32, size_t(m.w) * 4, space,
                                 kCGImageAlphaPremultipliedFirst, provider, nullptr, false, 0);
  CGColorSpaceRelease(space);
  CGDataProviderRelease(provider);
  CGContextSaveGState(c);
  CGContextTranslateCTM(c, x, y);
  if (rotation != 0)
    CGContextRotateCTM(c, rotation * M_PI / 180);
  CGContextDrawImage(c, rect, img);
  CGContextRestoreGState(c);
  CGImageRelease(img);
}

} // namespace

void TextSetDirectBlend(bool on)
{
  gDirectBlend.store(on);
}

void TextLine::Draw(CGContextRef c, double x, double y, const double rgba[4], double rotation) const
{
  if (!c || !style_ || !c->data)
    return;
  MaskBox m = maskBox(style_, style_->placed, width_);
  // The platform takes no image larger than this, and draws nothing.
  if (m.w <= 0 || m.h <= 0 || uint64_t(m.w) * uint64_t(m.h) > kCGMaxBitmapPixels)
    return;
  CGRect rect = CGRectMake(-m.originX, m.baseline - m.h, m.w, m.h);
  CGAffineTransform ctm = CGAffineTransformConcat(CGAffineTransformMakeTranslation(x, y), CGContextGetCTM(c));
  if (rotation == 0 && ctm.b == 0 && ctm.c == 0 && gDirectBlend.load(std::memory_order_relaxed))
    blendDirect(style_, c, ctm, rect, m, rgba);
  else
    drawImage(style_, c, x, y, rotation, rect, m, rgba);
}
