#include <gtest/gtest.h>

#include "gdi_test_canvas.h"

namespace
{

struct Tools
{
  Tools(Canvas& c, int penColor, int penWidth, int brushColor)
    : dc(c.dc), pen(CreatePen(0, penWidth, penColor)), brush(CreateSolidBrush(brushColor))
  {
    SelectObject(dc, pen);
    SelectObject(dc, brush);
  }
  ~Tools()
  {
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(1));
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(2));
    DeleteObject(pen);
    DeleteObject(brush);
  }
  HDC dc;
  HGDIOBJ pen, brush;
};

TEST(GdiShapes, RectangleFillsThenStrokesOverTheEdge)
{
  Canvas c(10, 10);
  Tools t(c, 0x0000ff, 2, 0xff0000);
  Rectangle(c.dc, 2, 2, 8, 8);
  // A 2-pixel pen centred on x = 2 covers columns 1 and 2 over the fill.
  EXPECT_EQ(c.rgb(0, 5), 0);
  EXPECT_EQ(c.rgb(1, 5), 0x0000ff);
  EXPECT_EQ(c.rgb(2, 5), 0x0000ff);
  EXPECT_EQ(c.rgb(3, 5), 0xff0000);
  EXPECT_EQ(c.rgb(7, 7), 0x0000ff);
  EXPECT_EQ(c.rgb(6, 6), 0xff0000);
}

TEST(GdiShapes, NullPenAndBrushDrawNothing)
{
  Canvas c(6, 6);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  SelectObject(c.dc, GetStockObject(NULL_BRUSH));
  Rectangle(c.dc, 0, 0, 6, 6);
  Ellipse(c.dc, 0, 0, 6, 6);
  SWELL_LineTo(c.dc, 5, 5);
  RECT all = {0, 0, 6, 6};
  SWELL_FillRect(c.dc, &all, GetStockObject(NULL_BRUSH));
  EXPECT_EQ(c.ink().right, -1);
}

TEST(GdiShapes, PolygonEllipseAndFillRect)
{
  Canvas c(12, 12);
  {
    Tools t(c, 0, 0, 0x00ff00);
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    const POINT tri[3] = {{0, 0}, {12, 0}, {0, 12}};
    SWELL_Polygon(c.dc, tri, 3);
    EXPECT_EQ(c.rgb(1, 1), 0x00ff00);
    EXPECT_EQ(c.rgb(10, 10), 0);
  }
  Canvas e(12, 12);
  {
    Tools t(e, 0, 0, 0xffffff);
    SelectObject(e.dc, GetStockObject(NULL_PEN));
    Ellipse(e.dc, 0, 0, 12, 12);
    EXPECT_EQ(e.rgb(6, 6), 0xffffff);
    EXPECT_EQ(e.rgb(0, 0), 0);
  }
  HGDIOBJ b = CreateSolidBrush(0x123456);
  RECT r = {1, 2, 3, 4};
  SWELL_FillRect(c.dc, &r, b);
  EXPECT_EQ(c.rgb(2, 3), 0x123456);
  SWELL_FillRect(c.dc, &r, reinterpret_cast<HGDIOBJ>(2));
  SWELL_FillRect(c.dc, nullptr, b);
  DeleteObject(b);
}

TEST(GdiClip, PushedClipsPopBackToTheWholeContext)
{
  Canvas c(8, 8);
  HGDIOBJ red = CreateSolidBrush(0xff0000), blue = CreateSolidBrush(0x0000ff);
  RECT all = {0, 0, 8, 8}, corner = {0, 0, 4, 4}, inner = {2, 2, 6, 6};
  SWELL_PushClipRegion(c.dc);
  SWELL_SetClipRegion(c.dc, &corner);
  SWELL_SetClipRegion(c.dc, &inner); // clips intersect
  SWELL_FillRect(c.dc, &all, red);
  SWELL_PopClipRegion(c.dc);
  EXPECT_EQ(c.ink().left, 2);
  EXPECT_EQ(c.ink().right, 3);
  EXPECT_EQ(c.ink().bottom, 3);
  RECT below = {0, 6, 8, 8};
  SWELL_FillRect(c.dc, &below, blue);
  EXPECT_EQ(c.rgb(7, 7), 0x0000ff);
  DeleteObject(red);
  DeleteObject(blue);
}

TEST(GdiLines, PositionsAndWholeCurvesOnly)
{
  Canvas c(20, 20);
  Tools t(c, 0xffffff, 2, 0);
  POINT old;
  MoveToEx(c.dc, 2, 10, nullptr);
  MoveToEx(c.dc, 3, 10, &old);
  EXPECT_EQ(old.x, 2);
  SWELL_LineTo(c.dc, 17, 10);
  EXPECT_EQ(c.rgb(10, 10), 0xffffff);
  EXPECT_EQ(c.dc->currentX, 17);

  const POINT pts[5] = {{17, 2}, {3, 2}, {3, 18}, {9, 9}, {9, 9}};
  PolyBezierTo(c.dc, pts, 5); // one whole curve; the two extra points are ignored
  EXPECT_EQ(c.dc->currentX, 3);
  EXPECT_EQ(c.dc->currentY, 18);
  PolyBezierTo(c.dc, pts, 2);
  EXPECT_EQ(c.dc->currentY, 18);

  Canvas p(10, 10);
  Tools tp(p, 0xffffff, 1, 0);
  const POINT lines[4] = {{1, 1}, {1, 8}, {5, 0}, {5, 9}};
  const int counts[4] = {2, -7, 1, 0};
  PolyPolyline(p.dc, lines, counts, 4);
  EXPECT_EQ(p.ink().left, 0);
  EXPECT_LE(p.ink().right, 1);
}

TEST(GdiPixels, SetPixelAndDialogBackground)
{
  Canvas c(4, 4);
  SWELL_SetPixel(c.dc, 1, 1, 0xffffff);
  // A short thick stroke from the pixel's corner: part of it is covered
  // (6 of 16 samples), in the colour; far neighbours are not.
  EXPECT_EQ(c.rgb(1, 1), 0x606060);
  EXPECT_EQ(c.rgb(3, 3), 0);
  RECT r = {0, 0, 4, 2};
  SWELL_FillDialogBackground(c.dc, &r, 0);
  EXPECT_EQ(c.rgb(3, 0), 0xececec);
  EXPECT_EQ(c.rgb(3, 3), 0);
}

} // namespace
