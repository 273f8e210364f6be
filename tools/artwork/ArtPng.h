#pragma once
// Saving a premultiplied A, R, G, B bitmap as an 8-bit RGBA PNG.

#include "graphics/lice.h"

// False, leaving no file behind, when the file cannot be written.
bool ArtWritePNG(LICE_IBitmap* bm, const char* path);
