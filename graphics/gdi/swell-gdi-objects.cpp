#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "graphics/gdi/gdp_pool.h"
#include "graphics/gdi/swell-gdi-ops.h"
#include "graphics/gdi/swell-misc.h"
#include "platform/text/TextStyle.h"

namespace
{

HGDIOBJ newColored(int32_t kind, int32_t param, int color, float alpha)
{
  GDP_OBJECT* obj = GDP_OBJECT_NEW();
  if (!obj)
    return nullptr;
  obj->kind = kind;
  obj->param = param;
  obj->cgColor = CreateColor(color, alpha);
  return obj;
}

HGDIOBJ* slotOf(HDC ctx, intptr_t kind)
{
  switch (kind)
  {
  case GDP_KIND_PEN: return &ctx->selectedPen;
  case GDP_KIND_BRUSH: return &ctx->selectedBrush;
  case GDP_KIND_FONT: return &ctx->selectedFont;
  default: return nullptr;
  }
}

HGDIOBJ placeholder(intptr_t kind)
{
  return reinterpret_cast<HGDIOBJ>(kind);
}

} // namespace

bool GDP_IsObject(HGDIOBJ obj)
{
  return reinterpret_cast<uintptr_t>(obj) > GDP_KIND_FONT;
}

HGDIOBJ CreatePen(int style, int width, int color)
{
  return CreatePenAlpha(style, width, color, 1.0f);
}

HGDIOBJ CreatePenAlpha(int, int width, int color, float alpha)
{
  return newColored(GDP_KIND_PEN, width < 0 ? 0 : width, color, alpha);
}

HGDIOBJ CreateSolidBrush(int color)
{
  return CreateSolidBrushAlpha(color, 1.0f);
}

HGDIOBJ CreateSolidBrushAlpha(int color, float alpha)
{
  return newColored(GDP_KIND_BRUSH, 0, color, alpha);
}

HGDIOBJ CreateFont(int height, int width, int, int orientation, int weight, char italic, char underline, char, char,
                   char, char, char, char, const char* face)
{
  double size = std::fabs(double(height ? height : width));
  if (size < 2 || size > 8192)
    size = 10;
  TextStyleRef style = TextStyleCreate(face ? face : "", size, weight > 699, italic != 0, underline != 0);
  if (!style)
    return nullptr;
  GDP_OBJECT* obj = GDP_OBJECT_NEW();
  if (!obj)
  {
    TextStyleDispose(style);
    return nullptr;
  }
  obj->kind = GDP_KIND_FONT;
  obj->atsuStyle = style;
  obj->rotation = float(orientation / 10.0);
  return obj;
}

HGDIOBJ CreateFontIndirect(const LOGFONT* lf)
{
  if (!lf)
    return nullptr;
  char face[LF_FACESIZE + 1];
  lstrcpyn(face, lf->lfFaceName, sizeof face);
  face[LF_FACESIZE] = 0;
  return CreateFont(lf->lfHeight, lf->lfWidth, lf->lfEscapement, lf->lfOrientation, lf->lfWeight, lf->lfItalic,
                    lf->lfUnderline, lf->lfStrikeOut, lf->lfCharSet, lf->lfOutPrecision, lf->lfClipPrecision,
                    lf->lfQuality, lf->lfPitchAndFamily, face);
}

HGDIOBJ GetStockObject(int which)
{
  static GDP_OBJECT pen = {GDP_KIND_PEN, nullptr, -1, nullptr, nullptr, nullptr, 0};
  static GDP_OBJECT br = {GDP_KIND_BRUSH, nullptr, -1, nullptr, nullptr, nullptr, 0};
  if (which == NULL_PEN)
    return &pen;
  if (which == NULL_BRUSH)
    return &br;
  return nullptr;
}

HGDIOBJ SelectObject(HDC ctx, HGDIOBJ obj)
{
  if (!ctx || !obj)
    return nullptr;
  intptr_t kind = GDP_IsObject(obj) ? obj->kind : reinterpret_cast<intptr_t>(obj);
  HGDIOBJ* slot = slotOf(ctx, kind);
  if (!slot)
    return nullptr;
  HGDIOBJ prev = *slot;
  *slot = GDP_IsObject(obj) ? obj : nullptr;
  return prev ? prev : placeholder(kind);
}

void SetTextColor(HDC ctx, int color)
{
  if (!ctx)
    return;
  ctx->textColor = color;
  CGColorRelease(ctx->textCGColor);
  ctx->textCGColor = CreateColor(color, 1.0f);
}

void SetBkColor(HDC ctx, int color)
{
  if (ctx)
    ctx->backgroundColor = color;
}

void SetBkMode(HDC ctx, int mode)
{
  if (ctx)
    ctx->backgroundMode = mode;
}

int GetTextMetrics(HDC ctx, TEXTMETRIC* tm)
{
  if (!tm)
    return 0;
  *tm = TEXTMETRIC{16, 12, 4, 3, 12};
  if (!ctx || !ctx->selectedFont)
    return 0;
  double a = 10, d = 3, l = 3;
  if (auto style = static_cast<TextStyleRef>(ctx->selectedFont->atsuStyle))
    TextStyleGetLineMetrics(style, &a, &d, &l);
  tm->tmAscent = int(std::ceil(a));
  tm->tmDescent = int(std::ceil(d));
  tm->tmInternalLeading = int(l);
  tm->tmHeight = int(std::ceil(a + d + l));
  tm->tmAveCharWidth = int(tm->tmHeight * 0.75);
  return 1;
}

int GetSysColor(int index)
{
  switch (index)
  {
  case 0: return 0x606060;
  case 1: return 0xe0e0e0;
  case 2:
  case 4:
  case 7: return 0xc0c0c0;
  case 5: return 0x202020;
  case 6: return 0x303030;
  case 8: return 0xfff0c8;
  default: return 0;
  }
}
