#pragma once
// Switch for the fast paths of the blits and fills. With them off every
// operation runs its generic per-pixel loop, which defines the results; the
// tests compare the two bit for bit. On by default.

void LICE_SetFastPathsEnabled(bool enabled);
bool LICE_FastPathsEnabled();

// Some fast paths also have an AVX2 build; lice_simd.h holds the switch
// that turns it off (to test or measure the SSE2 build).
#include "graphics/lice_simd.h"
