#pragma once
// One fuzz input through one image loader, from memory.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "graphics/lice_loader_private.h"

inline int fuzzImageLoader(const uint8_t* data, size_t size, LICE_FileReader read)
{
  FILE* fp = fmemopen(const_cast<uint8_t*>(data), size, "rb");
  if (!fp)
    return 0;
  // A smaller cap than the loaders' keeps each run quick; the check that
  // enforces it is the same code.
  delete read(fp, nullptr, int64_t(1) << 22);
  fclose(fp);
  return 0;
}
