#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/gdi/gdp_records.h"
#include "graphics/gdi/swell-gdi-ops.h"
#include "graphics/gdi/swell-misc.h"
#include "platform/text/TextLayout.h"

namespace
{

constexpr int kMaxText = 4096; // characters kept: kMaxText - 1

// The text as drawn: '\r' dropped, '&' dropped unless kept, '\n' a space
// on a single line; stops at the terminator even when given a length.
std::string copyText(const char* text, int len, int flags)
{
  std::string out;
  for (int i = 0; (len < 0 || i < len) && text[i] && out.size() < kMaxText - 1; ++i)
  {
    char c = text[i];
    if (c == '\r' || (c == '&' && !(flags & DT_NOPREFIX)))
      continue;
    if (c == '\n' && (flags & DT_SINGLELINE))
      c = ' ';
    out += c;
  }
  return out;
}

// UTF-16 units of the text; bytes that are not UTF-8 become spaces.
std::vector<TextUnit> utf16Of(std::string text)
{
  CFStringRef s = SWELL_CStringToCFString(text.c_str());
  if (!s)
  {
    for (char& c : text)
      if (static_cast<unsigned char>(c) >= 0x80)
        c = ' ';
    s = SWELL_CStringToCFString(text.c_str());
  }
  std::vector<TextUnit> units(size_t(std::min<CFIndex>(CFStringGetLength(s), kMaxText - 1)));
  if (!units.empty())
    CFStringGetCharacters(s, CFRangeMake(0, CFIndex(units.size())), units.data());
  if (s)
    CFRelease(s);
  return units;
}

// The default font, made once and kept for the life of the process.
HGDIOBJ defaultFont()
{
  static HGDIOBJ m_bkfont = CreateFont(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  return m_bkfont;
}

} // namespace

int SWELL_DrawText(HDC ctx, const char* text, int len, RECT* r, int flags)
{
  if (!ctx || !text || !r)
    return 0;
  std::vector<TextUnit> units = utf16Of(copyText(text, len, flags));
  HGDIOBJ font = ctx->selectedFont ? ctx->selectedFont : defaultFont();
  auto style = font ? static_cast<TextStyleRef>(font->atsuStyle) : nullptr;
  if (!style)
    return 0;

  if (flags & DT_END_ELLIPSIS)
    units = TextTruncateEnd(style, units.data(), units.size(), r->right - r->left);
  double w = TextMeasureWidth(style, units.data(), units.size()), a, d;
  TextStyleGetLineMetrics(style, &a, &d, nullptr);
  double height = a + d;
  if (flags & DT_CALCRECT)
  {
    r->right = r->left + int(w);
    r->bottom = r->top + int(height);
    return int(height);
  }
  CGContextRef gc = ctx->cgContext;
  if (!gc)
    return int(height);
  CGContextSaveGState(gc);
  if (!(flags & DT_NOCLIP))
    CGContextClipToRect(gc, CGRectMake(r->left, r->top, r->right - r->left, r->bottom - r->top));
  double x = r->left, y = r->top;
  if (std::fabs(font->rotation) >= 45)
    x += a;
  else if (flags & DT_RIGHT)
    x = r->right - w;
  else if (flags & DT_CENTER)
    x = (r->left + r->right) / 2 - w / 2;
  if (flags & DT_BOTTOM)
    y = r->bottom - height;
  else if (flags & DT_VCENTER)
    y = (r->top + r->bottom) / 2 - height / 2;
  // The layout draws y-up from its baseline: flip the line's box in place.
  CGContextTranslateCTM(gc, 0, y);
  CGContextScaleCTM(gc, 1, -1);
  CGContextTranslateCTM(gc, 0, -y - height);
  // The layout takes 16-bit components: each channel shifted up by 8, so
  // full intensity is 0xff00 of 0xffff.
  auto component = [&](int shift) { return (((ctx->textColor >> shift) & 255) << 8) / 65535.0; };
  double rgba[4] = {component(16), component(8), component(0), 1};
  TextDrawLine(gc, style, units.data(), units.size(), x, y + d, rgba, font->rotation);
  CGContextRestoreGState(gc);
  return int(height);
}
