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
  // enforces it is the same code. Odd sizes decode into a caller's bitmap,
  // which a failed load leaves resized.
  const int64_t cap = int64_t(1) << 22;
  if (size & 1)
  {
    LICE_MemBitmap into(3, 2);
    read(fp, &into, cap);
  }
  else
  {
    delete read(fp, nullptr, cap);
  }
  fclose(fp);
  return 0;
}
