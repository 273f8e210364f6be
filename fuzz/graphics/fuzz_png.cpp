// Editor artwork and user files reach the PNG loader as raw bytes.

#include "fuzz/graphics/fuzz_loader.h"

// libFuzzer finds it by name; no header declares it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  return fuzzImageLoader(data, size, lice_ReadPNG);
}
