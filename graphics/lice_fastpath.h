#pragma once
// Switch for the fast paths of the blits and fills. With them off every
// operation runs its generic per-pixel loop, which defines the results; the
// tests compare the two bit for bit. On by default.

void LICE_SetFastPathsEnabled(bool enabled);
bool LICE_FastPathsEnabled();
