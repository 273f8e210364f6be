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
