#pragma once
// Row kernels built for AVX2 (lice_blit_avx2.cpp): n pixels of source s
// combined into d. Call only when LICE_Avx2Enabled().

// Overlay at weight w, 0 <= w <= 256.
void LICE_OverlayRowAvx2(unsigned char* d, const unsigned char* s, int n, int w);
// HSV adjust at weight w, 0 <= w <= 256.
void LICE_HSVAdjustRowAvx2(unsigned char* d, const unsigned char* s, int n, int w);
