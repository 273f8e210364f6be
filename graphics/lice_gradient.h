#pragma once
// The gradient's row loop after clipping, and its fast paths.

#include "graphics/lice_blit_rows.h"

// w x h pixels; pixel i of row r gets the 16.16 values v + r * dy + i * dx
// (R, G, B, A), A being both the colour's alpha and the weight.
struct LICE_GradientJob
{
  unsigned char* dest = nullptr;
  long dest_step = 0;
  int w = 0, h = 0;
  int sel = 0; // low byte of the mode
  int64_t v[4] = {}, dx[4] = {}, dy[4] = {};
};

void LICE_GradientGeneric(const LICE_GradientJob& job);
const char* LICE_RunGradientJob(const LICE_GradientJob& job);
