#pragma once
// Row kernels built for AVX2 (lice_blit_avx2.cpp): n pixels of source s
// combined into d. Call only when LICE_Avx2Enabled().

#include "graphics/lice_bitmap.h"

// Overlay at weight w, 0 <= w <= 256.
void LICE_OverlayRowAvx2(unsigned char* d, const unsigned char* s, int n, int w);
// HSV adjust at weight w, 0 <= w <= 256.
void LICE_HSVAdjustRowAvx2(unsigned char* d, const unsigned char* s, int n, int w);
// Copy of colour c over n pixels at weight 255.
void LICE_Copy255RowAvx2(unsigned char* d, int n, LICE_PixelValue c);
