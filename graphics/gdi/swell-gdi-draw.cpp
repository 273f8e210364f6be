#include <algorithm>

#include "graphics/gdi/gdp_records.h"
#include "graphics/gdi/swell-gdi-ops.h"
#include "platform/coregraphics/CGPath.h"
#include "platform/hitheme/HITheme.h"

namespace
{

CGContextRef gcOf(HDC ctx)
{
  return ctx ? ctx->cgContext : nullptr;
}

// The selected pen, ready to stroke with; null when it would not draw.
HGDIOBJ usablePen(HDC ctx)
{
  HGDIOBJ pen = ctx ? ctx->selectedPen : nullptr;
  return pen && pen->param >= 0 ? pen : nullptr;
}

HGDIOBJ usableBrush(HDC ctx)
{
  HGDIOBJ brush = ctx ? ctx->selectedBrush : nullptr;
  return brush && brush->param >= 0 ? brush : nullptr;
}

void setStroke(CGContextRef gc, HGDIOBJ pen)
{
  CGContextSetStrokeColorWithColor(gc, pen->cgColor);
  CGContextSetLineWidth(gc, std::max(1, pen->param));
}

// Fills and/or strokes the current path with what the context has selected.
void paintPath(HDC ctx)
{
  CGContextRef gc = ctx->cgContext;
  HGDIOBJ pen = usablePen(ctx), brush = usableBrush(ctx);
  if (brush)
    CGContextSetFillColorWithColor(gc, brush->cgColor);
  if (pen)
    setStroke(gc, pen);
  if (pen || brush)
    CGContextDrawPath(gc, pen && brush ? kCGPathFillStroke : pen ? kCGPathStroke : kCGPathFill);
  CGContextBeginPath(gc);
}

CGRect rectOf(int l, int t, int r, int b)
{
  return CGRectMake(l, t, r - l, b - t);
}

} // namespace

void MoveToEx(HDC ctx, int x, int y, POINT* old)
{
  if (!ctx)
    return;
  if (old)
    *old = POINT{int(ctx->currentX), int(ctx->currentY)};
  ctx->currentX = float(x);
  ctx->currentY = float(y);
}

void SWELL_LineTo(HDC ctx, int x, int y)
{
  HGDIOBJ pen = usablePen(ctx);
  if (!pen || !gcOf(ctx))
    return;
  CGContextRef gc = ctx->cgContext;
  setStroke(gc, pen);
  CGContextBeginPath(gc);
  CGContextMoveToPoint(gc, ctx->currentX, ctx->currentY);
  CGContextAddLineToPoint(gc, x, y);
  CGContextStrokePath(gc);
  ctx->currentX = float(x);
  ctx->currentY = float(y);
}

void PolyBezierTo(HDC ctx, const POINT* pts, int n)
{
  HGDIOBJ pen = usablePen(ctx);
  if (!pen || !gcOf(ctx) || !pts || n < 3)
    return;
  CGContextRef gc = ctx->cgContext;
  CGContextBeginPath(gc);
  CGContextMoveToPoint(gc, ctx->currentX, ctx->currentY);
  // A partial curve at the end has no end point of its own: left out.
  int curves = n / 3;
  for (int i = 0; i < curves; ++i)
  {
    const POINT* p = pts + 3 * i;
    CGContextAddCurveToPoint(gc, p[0].x, p[0].y, p[1].x, p[1].y, p[2].x, p[2].y);
  }
  setStroke(gc, pen);
  CGContextStrokePath(gc);
  ctx->currentX = float(pts[3 * curves - 1].x);
  ctx->currentY = float(pts[3 * curves - 1].y);
}

void PolyPolyline(HDC ctx, const POINT* pts, const int* counts, int nlines)
{
  HGDIOBJ pen = usablePen(ctx);
  if (!pen || !gcOf(ctx) || !pts || !counts || nlines < 1)
    return;
  CGContextRef gc = ctx->cgContext;
  CGContextBeginPath(gc);
  for (int i = 0; i < nlines; ++i)
  {
    int c = counts[i];
    if (c < 1)
      continue;
    if (c >= 2)
    {
      CGContextMoveToPoint(gc, pts[0].x, pts[0].y);
      for (int k = 1; k < c; ++k)
        CGContextAddLineToPoint(gc, pts[k].x, pts[k].y);
    }
    pts += c;
  }
  setStroke(gc, pen);
  CGContextStrokePath(gc);
}

void SWELL_Polygon(HDC ctx, const POINT* pts, int n)
{
  if (!gcOf(ctx) || !pts || n < 2 || (!usablePen(ctx) && !usableBrush(ctx)))
    return;
  CGContextRef gc = ctx->cgContext;
  CGContextBeginPath(gc);
  CGContextMoveToPoint(gc, pts[0].x, pts[0].y);
  for (int i = 1; i < n; ++i)
    CGContextAddLineToPoint(gc, pts[i].x, pts[i].y);
  CGContextClosePath(gc);
  paintPath(ctx);
}

void RoundRect(HDC ctx, int l, int t, int r, int b, int ew, int eh)
{
  ew /= 3;
  eh /= 3;
  const POINT pts[10] = {{l, t + eh}, {l + ew, t}, {r - ew, t}, {r, t + eh}, {r, b - eh},
                         {r - ew, b}, {l + ew, b}, {l, b - eh}, {l, t + eh}, {l + ew, t}};
  SWELL_Polygon(ctx, pts, 10);
}

void Rectangle(HDC ctx, int l, int t, int r, int b)
{
  if (!gcOf(ctx))
    return;
  CGContextRef gc = ctx->cgContext;
  if (HGDIOBJ brush = usableBrush(ctx))
  {
    CGContextSetFillColorWithColor(gc, brush->cgColor);
    CGContextFillRect(gc, rectOf(l, t, r, b));
  }
  if (HGDIOBJ pen = usablePen(ctx))
  {
    setStroke(gc, pen);
    CGContextStrokeRect(gc, rectOf(l, t, r, b));
  }
}

void Ellipse(HDC ctx, int l, int t, int r, int b)
{
  if (!gcOf(ctx))
    return;
  CGContextBeginPath(ctx->cgContext);
  CGContextAddEllipseInRect(ctx->cgContext, rectOf(l, t, r, b));
  paintPath(ctx);
}

void SWELL_FillRect(HDC ctx, const RECT* r, HGDIOBJ brush)
{
  if (!gcOf(ctx) || !r || !GDP_IsObject(brush) || brush->kind != GDP_KIND_BRUSH || brush->param < 0)
    return;
  CGContextSetFillColorWithColor(ctx->cgContext, brush->cgColor);
  CGContextFillRect(ctx->cgContext, rectOf(r->left, r->top, r->right, r->bottom));
}

void SWELL_SetPixel(HDC ctx, int x, int y, int color)
{
  CGContextRef gc = gcOf(ctx);
  if (!gc)
    return;
  CGColorRef c = CreateColor(color, 1.0f);
  CGContextSetStrokeColorWithColor(gc, c);
  CGColorRelease(c);
  CGContextSetLineWidth(gc, 1.5);
  CGContextBeginPath(gc);
  CGContextMoveToPoint(gc, x, y);
  CGContextAddLineToPoint(gc, x + 0.5, y + 0.5);
  CGContextStrokePath(gc);
}

void SWELL_SetClipRegion(HDC ctx, const RECT* r)
{
  if (gcOf(ctx) && r)
    CGContextClipToRect(ctx->cgContext, rectOf(r->left, r->top, r->right, r->bottom));
}

void SWELL_PushClipRegion(HDC ctx)
{
  CGContextSaveGState(gcOf(ctx));
}

void SWELL_PopClipRegion(HDC ctx)
{
  CGContextRestoreGState(gcOf(ctx));
}

void SWELL_FillDialogBackground(HDC ctx, const RECT* r, int)
{
  CGContextRef gc = gcOf(ctx);
  if (!gc || !r)
    return;
  HIThemeSetFill(kThemeBrushDialogBackgroundActive, nullptr, gc, kHIThemeOrientationNormal);
  CGContextFillRect(gc, rectOf(r->left, r->top, r->right, r->bottom));
}
