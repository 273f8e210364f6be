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

#include <type_traits>

#include "graphics/lice_bitmap.h"
#if __has_include("graphics/lice_sysbitmap.h")
#include "graphics/lice_sysbitmap.h"
#endif
// PNG and JPEG loading.
#include "graphics/lice_loaders.h"

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
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, RECT* src_rect, float alpha, int mode);
void LICE_Blit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int src_x, int src_y, int src_w,
               int src_h, float alpha, int mode);
// Resizes dest to src's size and copies every pixel, alpha included.
void LICE_Copy(LICE_IBitmap* dest, LICE_IBitmap* src);

void LICE_PutPixel(LICE_IBitmap* bm, int x, int y, LICE_PixelValue color, float alpha, int mode);
// The stored pixel, or 0 outside the bitmap.
LICE_PixelValue LICE_GetPixel(LICE_IBitmap* bm, int x, int y);
// With LICE_BLIT_USE_ALPHA the colour's A byte scales alpha.
void LICE_FillRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha, int mode);
// Every pixel p of the rectangle becomes (p & mask) | orbits.
void LICE_ClearRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue mask, LICE_PixelValue orbits);
void LICE_Clear(LICE_IBitmap* bm, LICE_PixelValue color);
// Draws an 8-bit coverage mask (glyph_w x glyph_h bytes, rows packed) in color.
void LICE_DrawGlyph(LICE_IBitmap* bm, int x, int y, LICE_PixelValue color, const unsigned char* alphas, int glyph_w,
                    int glyph_h, float alpha, int mode);

// Sampling blits and further bitmap operations. Positions are held in 64-bit
// fixed point, so every legal bitmap size samples correctly; a non-finite
// coordinate, size, angle or mesh point draws nothing.

// Draws the float source rectangle stretched into the destination
// rectangle; negative sizes mirror. LICE_BLIT_FILTER_BILINEAR filters, and
// shrinking by 1.7 or more both ways then averages a small radial kernel.
void LICE_ScaledBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                     float src_y, float src_w, float src_h, float alpha, int mode);
// Rotates the source rectangle by angle (radians) about its centre, moved by
// (centre_dx, centre_dy), and scales it into the destination rectangle.
// keep_in_source_rect keeps neighbouring source pixels out.
void LICE_RotatedBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h,
                      float src_x, float src_y, float src_w, float src_h, float angle, bool keep_in_source_rect,
                      float alpha, int mode, float centre_dx, float centre_dy);
// Samples from (src_x, src_y) moving by (sx_step, sy_step) per destination
// pixel and by (row_sx_step, row_sy_step) per row; the per-pixel steps
// change by (sx_step_change, sy_step_change) per row.
void LICE_DeltaBlit(LICE_IBitmap* dest, LICE_IBitmap* src, int dest_x, int dest_y, int dest_w, int dest_h, float src_x,
                    float src_y, float src_w, float src_h, double sx_step, double sy_step, double row_sx_step,
                    double row_sy_step, double sx_step_change, double sy_step_change, bool keep_in_source_rect,
                    float alpha, int mode);
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

// Vector drawing: lines, rectangles, triangles, curves, circles and arcs.
// Only the mode's low byte counts (0-5; the source-alpha and filter bits have
// no effect). Mode 0 without anti-aliasing stores at alpha 1.0 and takes the
// exact half mix (d + s) / 2 at 0.5; other positive alphas use the weighted
// copy, negative ones draw nothing. Lines weigh by trunc(alpha * 256);
// plotted curve points, circles and arcs by trunc(alpha * 255). Lines,
// triangles, circles and arcs mirror y on flipped bitmaps before clipping;
// dashed lines and curves address the buffer as it is. NaN or infinite
// coordinates, radii or angles draw nothing.
//
// Clips a line to [left, right) x [top, bottom) (Cohen-Sutherland); false
// when nothing is left.
bool LICE_ClipLine(int* x1, int* y1, int* x2, int* y2, int left, int top, int right, int bottom);
// Both end pixels included.
void LICE_Line(LICE_IBitmap* bm, int x1, int y1, int x2, int y2, LICE_PixelValue color, float alpha, int mode, bool aa);
void LICE_FLine(LICE_IBitmap* bm, float x1, float y1, float x2, float y2, LICE_PixelValue color, float alpha, int mode,
                bool aa);
// Horizontal and vertical lines only; the pattern starts at the smaller end
// and the larger end pixel is never drawn. pxon <= 0 or pxon + pxoff <= 0
// draws nothing. aa is not used.
void LICE_DashedLine(LICE_IBitmap* bm, int x1, int y1, int x2, int y2, int pxon, int pxoff, LICE_PixelValue color,
                     float alpha, int mode, bool aa);
// Outline of columns x ... x + w and rows y ... y + h.
void LICE_DrawRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue color, float alpha, int mode);
// Fills the inside of the outline with bgcolor, then draws the outline.
void LICE_BorderedRect(LICE_IBitmap* bm, int x, int y, int w, int h, LICE_PixelValue bgcolor, LICE_PixelValue fgcolor,
                       float alpha, int mode);
// The bottom vertex row is not drawn. The edges advance by one addition
// per row from the top vertex; a top more than 2^20 rows above the bitmap
// starts them at row 0 with one multiplication instead.
void LICE_FillTriangle(LICE_IBitmap* bm, int x1, int y1, int x2, int y2, int x3, int y3, LICE_PixelValue color,
                       float alpha, int mode);
// A tolerance above 1 (quadratic) or 0 (cubic) draws straight pieces for
// chords shorter than it (an infinite one, for every chord); otherwise, NaN
// included, one point per subdivision.
void LICE_DrawQBezier(LICE_IBitmap* bm, float xstart, float ystart, float xctl, float yctl, float xend, float yend,
                      LICE_PixelValue color, float alpha, int mode, bool aa, float tol);
void LICE_DrawCBezier(LICE_IBitmap* bm, float xstart, float ystart, float xctl1, float yctl1, float xctl2, float yctl2,
                      float xend, float yend, LICE_PixelValue color, float alpha, int mode, bool aa, float tol);
// y on the cubic at x (x rising from x0 to x3), by eight bisections in t;
// every output pointer may be null. A template over the float type, built
// for float; its arguments take T without deduction, so that literals and
// nulls convert.
template <class T = float>
T LICE_CBezier_GetY(std::type_identity_t<T> x0, std::type_identity_t<T> x1, std::type_identity_t<T> x2,
                    std::type_identity_t<T> x3, std::type_identity_t<T> y0, std::type_identity_t<T> y1,
                    std::type_identity_t<T> y2, std::type_identity_t<T> y3, std::type_identity_t<T> x,
                    std::type_identity_t<T>* next_x, std::type_identity_t<T>* dydx, double* t_lo, double* t_hi);
// Radii 2, 2.5, 3, 3.5 and 4 are drawn from fixed masks through
// LICE_DrawGlyph. Negative radii and radii above 2^22 draw nothing.
void LICE_Circle(LICE_IBitmap* bm, float cx, float cy, float r, LICE_PixelValue color, float alpha, int mode, bool aa);
void LICE_FillCircle(LICE_IBitmap* bm, float cx, float cy, float r, LICE_PixelValue color, float alpha, int mode,
                     bool aa);
// True when r is a masked radius (its mask went to LICE_DrawGlyph).
bool CachedCircle(LICE_IBitmap* bm, float cx, float cy, float r, LICE_PixelValue color, float alpha, int mode, bool aa);
// Angles in radians, 0 up, clockwise: the point at a is (cx + r sin a,
// cy - r cos a). The whole circle is drawn through a box cut at the two end
// points; spans over pi are split first, spans of 2pi or more are circles.
void LICE_Arc(LICE_IBitmap* bm, float cx, float cy, float r, float start, float end, LICE_PixelValue color, float alpha,
              int mode, bool aa);
void LICE_RoundRect(LICE_IBitmap* bm, float x, float y, float w, float h, int cornerradius, LICE_PixelValue color,
                    float alpha, int mode, bool aa);
