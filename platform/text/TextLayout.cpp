#include "platform/text/TextLayout.h"

#include <algorithm>

#include "platform/text/text_style.h"

namespace
{

const TextUnit kEllipsis = 0x2026;
const uint32_t kReplacement = 0xFFFD;

} // namespace

TextLine::TextLine(TextStyleRef style, const TextUnit* text, size_t n)
  : style_(text ? style : nullptr), kept_(style_ ? n : 0)
{
  if (!style_)
    return;
  style_->lock.lock();
  style_->placed.clear();
  style_->codepoints.clear();
  Pen pen;
  for (size_t i = 0; i < n;)
  {
    uint32_t u = text[i++];
    if (u >= 0xD800 && u < 0xDC00 && i < n && text[i] >= 0xDC00 && text[i] < 0xE000)
      u = 0x10000 + ((u - 0xD800) << 10) + (text[i++] - 0xDC00);
    else if (u >= 0xD800 && u < 0xE000)
      u = kReplacement;
    style_->codepoints.push_back({uint32_t(i), uint32_t(style_->placed.size())});
    if (u >= 0x20)
      place(pen, u);
  }
  width_ = pen.x;
}

TextLine::~TextLine()
{
  if (style_)
    style_->lock.unlock();
}

bool TextLine::step(Pen& pen, uint32_t codepoint, TextPlaced* at) const
{
  unsigned index;
  const TextGlyph* g = textGlyphOf(style_, codepoint, &index);
  if (!g)
    return false;
  if (pen.started)
    pen.x += textKerning(style_, pen.last, index);
  if (at)
    *at = {index, pen.x, *g};
  pen.x += g->advance;
  pen.started = true;
  pen.last = index;
  return true;
}

void TextLine::place(Pen& pen, uint32_t codepoint)
{
  TextPlaced p;
  if (step(pen, codepoint, &p))
    style_->placed.push_back(p);
}

TextLine::Pen TextLine::penAfter(size_t units, size_t* glyphs, bool* halfPair) const
{
  const std::vector<TextCodepoint>& cps = style_->codepoints;
  const std::vector<TextPlaced>& placed = style_->placed;
  // Code points wholly inside the first `units` units.
  size_t m = size_t(
    std::upper_bound(cps.begin(), cps.end(), units, [](size_t u, const TextCodepoint& c) { return u < c.unitEnd; }) -
    cps.begin());
  size_t j = m < cps.size() ? cps[m].placedBefore : placed.size();
  // A cut between the halves of a pair leaves an unpaired high surrogate.
  *halfPair = m < cps.size() && (m ? cps[m - 1].unitEnd : 0) < units;
  *glyphs = j;
  Pen pen;
  if (j)
    pen = {placed[j - 1].pen + placed[j - 1].glyph.advance, true, placed[j - 1].index};
  return pen;
}

long TextLine::widthWithEllipsis(size_t units) const
{
  size_t glyphs;
  bool halfPair;
  Pen pen = penAfter(units, &glyphs, &halfPair);
  if (halfPair)
    step(pen, kReplacement, nullptr);
  step(pen, kEllipsis, nullptr);
  return pen.x;
}

void TextLine::TruncateEnd(double maxWidth)
{
  if (!style_ || Width() <= maxWidth)
    return;
  // Widths only grow with more characters, so the longest prefix that
  // fits beside the ellipsis is found by bisection.
  size_t lo = 0, hi = kept_;
  while (lo < hi)
  {
    size_t mid = (lo + hi + 1) / 2;
    if (double(widthWithEllipsis(mid)) / 64.0 <= maxWidth)
      lo = mid;
    else
      hi = mid - 1;
  }
  size_t glyphs;
  bool halfPair;
  Pen pen = penAfter(lo, &glyphs, &halfPair);
  style_->placed.resize(glyphs);
  if (halfPair)
    place(pen, kReplacement);
  place(pen, kEllipsis);
  width_ = pen.x;
  kept_ = lo;
  ellipsis_ = true;
  if (Width() > maxWidth)
  {
    style_->placed.clear();
    width_ = 0;
    kept_ = 0;
    ellipsis_ = false;
  }
}

double TextMeasureWidth(TextStyleRef style, const TextUnit* text, size_t n)
{
  return TextLine(style, text, n).Width();
}

std::vector<TextUnit> TextTruncateEnd(TextStyleRef style, const TextUnit* text, size_t n, double maxWidth)
{
  std::vector<TextUnit> out(text, text + (text ? n : 0));
  if (!style)
    return out;
  TextLine line(style, out.data(), out.size());
  line.TruncateEnd(maxWidth);
  out.resize(line.KeptUnits());
  if (line.HasEllipsis())
    out.push_back(kEllipsis);
  return out;
}

void TextDrawLine(CGContextRef c, TextStyleRef style, const TextUnit* text, size_t n, double x, double y,
                  const double rgba[4], double rotation)
{
  if (c && text && n)
    TextLine(style, text, n).Draw(c, x, y, rgba, rotation);
}
