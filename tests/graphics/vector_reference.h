#pragma once
// A plain model of the vector primitives for the tests to compare against:
// each primitive lists its plots (buffer pixel, weight) from the formulas,
// in order, and one loop applies them with a bounds test per pixel. No
// pointers, no unchecked writes, no fast paths.

#include "tests/graphics/lice_reference.h"

namespace vref
{

void Line(TestBitmap& bm, int x1, int y1, int x2, int y2, LICE_PixelValue c, float alpha, int mode, bool aa);
void FLine(TestBitmap& bm, float x1, float y1, float x2, float y2, LICE_PixelValue c, float alpha, int mode, bool aa);
void DashedLine(TestBitmap& bm, int x1, int y1, int x2, int y2, int pxon, int pxoff, LICE_PixelValue c, float alpha,
                int mode);
void DrawRect(TestBitmap& bm, int x, int y, int w, int h, LICE_PixelValue c, float alpha, int mode);
void FillTriangle(TestBitmap& bm, int x1, int y1, int x2, int y2, int x3, int y3, LICE_PixelValue c, float alpha,
                  int mode);
void QBezier(TestBitmap& bm, float x0, float y0, float x1, float y1, float x2, float y2, LICE_PixelValue c, float alpha,
             int mode, bool aa, float tol);
void CBezier(TestBitmap& bm, float x0, float y0, float x1, float y1, float x2, float y2, float x3, float y3,
             LICE_PixelValue c, float alpha, int mode, bool aa, float tol);
void Circle(TestBitmap& bm, float cx, float cy, float r, LICE_PixelValue c, float alpha, int mode, bool aa, bool fill);
void Arc(TestBitmap& bm, float cx, float cy, float r, float a1, float a2, LICE_PixelValue c, float alpha, int mode,
         bool aa);
void RoundRect(TestBitmap& bm, float x, float y, float w, float h, int rad, LICE_PixelValue c, float alpha, int mode,
               bool aa);

} // namespace vref
