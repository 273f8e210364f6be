#pragma once
// Raster graphics: bitmaps, blits, pixels, fills and glyphs.
//
// Every drawing call takes a mode word and a float alpha:
//   low byte   combine operator (LICE_BLIT_MODE_*); LICE_Blit also takes
//              0xF0-0xFF, a channel copy: destination byte (mode >> 2) & 3
//              becomes source byte mode & 3 (bytes 0 A, 1 R, 2 G, 3 B)
//   0x100      bilinear filtering (scaled, rotated and delta blits only)
//   0x10000    weight each pixel by the source pixel's alpha byte
// Alpha 1.0 is full strength; 0 and NaN draw nothing. Nothing reports an
// error: null bitmaps, empty areas and unknown modes draw nothing.

#include "graphics/lice_bitmap.h"
#if __has_include("graphics/lice_sysbitmap.h")
#include "graphics/lice_sysbitmap.h"
#endif

#define LICE_BLIT_MODE_MASK 0xff
#define LICE_BLIT_MODE_COPY 0
#define LICE_BLIT_MODE_ADD 1
#define LICE_BLIT_MODE_DODGE 2
#define LICE_BLIT_MODE_MUL 3
#define LICE_BLIT_MODE_OVERLAY 4
#define LICE_BLIT_MODE_HSVADJ 5
#define LICE_BLIT_MODE_CHANCOPY 0xf0
#define LICE_BLIT_FILTER_MASK 0xff00
#define LICE_BLIT_FILTER_BILINEAR 0x100
#define LICE_BLIT_USE_ALPHA 0x10000

// Unscaled blit of src_rect (null: the whole source) to (dest_x, dest_y).
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, RECT* src_rect,
               float alpha, int mode);
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int src_x, int src_y,
               int src_w, int src_h, float alpha, int mode);
// Resizes dest to src's size and copies every pixel, alpha included.
void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src);

void LICE_PutPixel(LICE_IBitmap* bm, int x, int y, LICE_PixelValue color, float alpha, int mode);
// The stored pixel, or 0 outside the bitmap.
LICE_PixelValue LICE_GetPixel(LICE_IBitmap* bm, int x, int y);
// With LICE_BLIT_USE_ALPHA the colour's A byte scales alpha.
void LICE_FillRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha,
                   int mode);
// Every pixel p of the rectangle becomes (p & mask) | orbits.
void LICE_ClearRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue mask,
                    LICE_PixelValue orbits);
void LICE_Clear(LICE_IBitmap* bm, LICE_PixelValue color);
// Draws an 8-bit coverage mask (glyph_w x glyph_h bytes, rows packed) in color.
void LICE_DrawGlyph(LICE_IBitmap* bm, int x, int y, LICE_PixelValue color, const unsigned char* alphas,
                    int glyph_w, int glyph_h, float alpha, int mode);

// Sampling blits and further bitmap operations. Positions are held in 64-bit
// fixed point, so every legal bitmap size samples correctly; a non-finite
// coordinate, size, angle or mesh point draws nothing.

// Draws the float source rectangle stretched into the destination
// rectangle; negative sizes mirror. LICE_BLIT_FILTER_BILINEAR filters, and
// shrinking by 1.7 or more both ways then averages a small radial kernel.
void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h,
                     float src_x, float src_y, float src_w, float src_h, float alpha, int mode);
// Rotates the source rectangle by angle (radians) about its centre, moved by
// (centre_dx, centre_dy), and scales it into the destination rectangle.
// keep_in_source_rect keeps neighbouring source pixels out.
void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h,
                      float src_x, float src_y, float src_w, float src_h, float angle, bool keep_in_source_rect,
                      float alpha, int mode, float centre_dx, float centre_dy);
// Samples from (src_x, src_y) moving by (sx_step, sy_step) per destination
// pixel and by (row_sx_step, row_sy_step) per row; the per-pixel steps
// change by (sx_step_change, sy_step_change) per row.
void LICE_DeltaBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h,
                    float src_x, float src_y, float src_w, float src_h, double sx_step, double sy_step,
                    double row_sx_step, double row_sy_step, double sx_step_change, double sy_step_change,
                    bool keep_in_source_rect, float alpha, int mode);
// Warps the source through mesh_cols x mesh_rows (x, y) source points, row
// by row, spread evenly over the destination rectangle.
void LICE_TransformBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h,
                        float* mesh_points, int mesh_cols, int mesh_rows, float alpha, int mode);

// Four-channel linear gradient: colours 0-1 (alpha 0-1 is also the weight)
// with steps per pixel along x and per row along y.
void LICE_GradRect(LICE_IBitmap* bm, int x, int y, int w, int h, float ir, float ig, float ib, float ia, float drdx,
                   float dgdx, float dbdx, float dadx, float drdy, float dgdy, float dbdy, float dady, int mode);
// One pass of a five-point blur of a source area into dest; dest may be src.
void LICE_Blur(LICE_IBitmap* dest, LICE_IBitmap* src, int dstx, int dsty, int srcx, int srcy, int srcw, int srch);
// Fills the run of pixels matching pixel (x, y) under comparemask along each
// row through column x: p becomes (p & keepmask) | newcolor.
void LICE_SimpleFill(LICE_IBitmap* bm, int x, int y, LICE_PixelValue newcolor, LICE_PixelValue comparemask,
                     LICE_PixelValue keepmask);
// Halves src into dest, each pixel the quarter mix of four.
void LICE_HalveBlitAA(LICE_IBitmap* dest, LICE_IBitmap* src);
// 0 when equal; otherwise the size difference (b - a) or the memcmp order.
int LICE_BitmapCmp(LICE_IBitmap* a, LICE_IBitmap* b);
// Pixels equal to color (A byte ignored) become color, the rest opaque.
void LICE_SetAlphaFromColorMask(LICE_IBitmap* bm, LICE_PixelValue color);
// Each channel c becomes (c * trunc(scale * 256) + trunc(add * 256)) >> 8.
void LICE_MultiplyAddRect(LICE_IBitmap* bm, int x, int y, int w, int h, float rsc, float gsc, float bsc, float asc,
                          float radd, float gadd, float badd, float aadd);
