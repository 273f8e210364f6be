#pragma once
// A straightforward per-pixel model of the raster operations, written from
// their formulas for the tests to compare against: one channel at a time,
// plain int arithmetic (64-bit where the sums grow), each destination pixel
// mapped back to its source independently of the library's clipping code.

#include <cstdint>

#include "tests/graphics/lice_test_support.h"

namespace ref {

// Result of combining source colour s into destination d with operator
// selector sel (0-5, 0x10000-0x10005) at weight w; d when sel names none.
LICE_PixelValue Combine(int sel, LICE_PixelValue d, LICE_PixelValue s, int64_t w);

// trunc(alpha * 256) with the library's limit of +-65536.
int Weight(float alpha);

// The blit's rule for one pixel: exact-alpha copies and source-alpha opaque
// copy included; d when nothing is drawn.
LICE_PixelValue BlitPixel(int mode, float alpha, LICE_PixelValue d, LICE_PixelValue s);

// The fill's and PutPixel's rule for one pixel (mode low byte only).
LICE_PixelValue FillPixel(int mode, float alpha, LICE_PixelValue d, LICE_PixelValue c);

void Blit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int src_x, int src_y, int src_w, int src_h,
          float alpha, int mode);
void FillRect(TestBitmap& bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha, int mode);
void Glyph(TestBitmap& bm, int x, int y, LICE_PixelValue color, const unsigned char* cov, int gw, int gh,
           float alpha, int mode);

}  // namespace ref
