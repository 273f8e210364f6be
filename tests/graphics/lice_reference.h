#pragma once
// A straightforward per-pixel model of the raster operations, written from
// their formulas for the tests to compare against: one channel at a time,
// plain int arithmetic (64-bit where the sums grow), each destination pixel
// mapped back to its source independently of the library's clipping code.

#include <cstdint>

#include "tests/graphics/lice_test_support.h"

namespace ref
{

// Result of combining source colour s into destination d with operator
// selector sel (0-5, 0x10000-0x10005) at weight w; d when sel names none.
LICE_PixelValue Combine(int sel, LICE_PixelValue d, LICE_PixelValue s, int64_t w);

// Operator op (0-5) with source channels s = A, R, G, B of any size.
LICE_PixelValue CombineColor(int op, LICE_PixelValue d, const int64_t s[4], int64_t w);

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
void Glyph(TestBitmap& bm, int x, int y, LICE_PixelValue color, const unsigned char* cov, int gw, int gh, float alpha,
           int mode);

} // namespace ref

namespace ref
{

// Sampling blits, each destination pixel solved on its own from the
// formulas: positions as 16.16 in 128 bits, the row position of the scaled
// blit as its accumulated double.

// trunc(v * 65536), held within +-2^62 (the library's range for positions).
int64_t Fixed(double v);

// The sampling blits' rule for one sampled colour (no channel copy). The
// scaled blit's copy at alpha 0.5 without filter bits is a whole-pixel half
// mix.
LICE_PixelValue SamplePixel(int mode, float alpha, LICE_PixelValue d, LICE_PixelValue s, bool scaled);

void ScaledBlit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                float src_y, float src_w, float src_h, float alpha, int mode);
void DeltaBlit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
               float src_y, float src_w, float src_h, double sx_step, double sy_step, double row_sx_step,
               double row_sy_step, double sx_step_change, double sy_step_change, bool keep, float alpha, int mode);
void RotatedBlit(TestBitmap& dest, TestBitmap& src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                 float src_y, float src_w, float src_h, float angle, bool keep, float alpha, int mode, float cdx,
                 float cdy);
void GradRect(TestBitmap& bm, int x, int y, int w, int h, const float start[4], const float dx[4], const float dy[4],
              int mode);

} // namespace ref
