#include <cmath>
#include <cstdint>

#include "graphics/gdi/gdp_records.h"
#include "graphics/gdi/swell-gdi-ops.h"
#include "platform/corefoundation/cf_utf8.h"
#include "platform/text/TextLayout.h"

namespace
{

constexpr int kMaxText = 4096; // characters kept: kMaxText - 1

// The text as drawn, into out (kMaxText bytes, terminated): '\r' dropped,
// '&' dropped unless kept, '\n' a space on a single line; stops at the
// terminator even when given a length. Returns its length.
size_t copyText(const char* text, int len, int flags, char* out)
{
  size_t n = 0;
  for (int i = 0; (len < 0 || i < len) && text[i] && n < kMaxText - 1; ++i)
  {
    char c = text[i];
    if (c == '\r' || (c == '&' && !(flags & DT_NOPREFIX)))
      continue;
    if (c == '\n' && (flags & DT_SINGLELINE))
      c = ' ';
    out[n++] = c;
  }
  out[n] = 0;
  return n;
}

// UTF-16 units of the text (at most as many as its bytes); when it is not
// UTF-8, every byte, with those above ASCII as spaces.
size_t utf16Of(const char* text, size_t n, TextUnit* out)
{
  auto bytes = reinterpret_cast<const unsigned char*>(text);
  size_t k = 0;
  if (DecodeUtf16(bytes, n, [&](UniChar u) { out[k++] = u; }) >= 0)
    return k;
  for (size_t i = 0; i < n; ++i)
    out[i] = bytes[i] < 0x80 ? bytes[i] : ' ';
  return n;
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
  HGDIOBJ font = ctx->selectedFont ? ctx->selectedFont : defaultFont();
  auto style = font ? static_cast<TextStyleRef>(font->atsuStyle) : nullptr;
  if (!style)
    return 0;
  char copied[kMaxText];
  TextUnit units[kMaxText];
  size_t n = utf16Of(copied, copyText(text, len, flags, copied), units);

  TextLine line(style, units, n);
  if (flags & DT_END_ELLIPSIS)
    line.TruncateEnd(r->right - r->left);
  double w = line.Width(), a, d;
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
  line.Draw(gc, x, y + d, rgba, font->rotation);
  CGContextRestoreGState(gc);
  return int(height);
}
