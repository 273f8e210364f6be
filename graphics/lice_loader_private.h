#pragma once
// Private to the image loaders: the decoders over an open file, and the
// handling of the target bitmap that both share.

#include <cstdio>

#include "graphics/lice_bitmap.h"

// Decode an open file (left open) with a pixel cap; the public loaders use
// LICE_MAX_BITMAP_PIXELS, fuzzing a smaller one.
LICE_IBitmap* lice_ReadPNG(FILE* fp, LICE_IBitmap* bmp, int64_t maxPixels);
LICE_IBitmap* lice_ReadJPG(FILE* fp, LICE_IBitmap* bmp, int64_t maxPixels);
// The size from an open PNG file's header, read up to the image data.
bool lice_ReadPNGSize(FILE* fp, int64_t maxPixels, int* w, int* h);
typedef LICE_IBitmap* (*LICE_FileReader)(FILE* fp, LICE_IBitmap* bmp, int64_t maxPixels);
// Opens the file, reads it with the full cap and closes it.
LICE_IBitmap* lice_loadFile(const char* filename, LICE_IBitmap* bmp, LICE_FileReader read);

// The bitmap to decode w x h pixels into: the caller's, resized, or a new
// one; null when it cannot take that size (a new one is then freed).
LICE_IBitmap* lice_loadBitmap(LICE_IBitmap* given, int w, int h);
// After a failed decode: frees a bitmap the loader made. The caller's keeps
// what the decode left: the image's size and the rows written so far.
void lice_loadAbandon(LICE_IBitmap* given, LICE_IBitmap* bm);
// Image row y: flipped bitmaps keep the top row last.
LICE_PixelValue* lice_loadRow(LICE_IBitmap* bm, int y);

// True when the name's last extension (after its last separator) is one of
// exts (case-insensitive, each with its dot), exts ending with null.
bool lice_hasExtension(const char* filename, const char* const* exts);
