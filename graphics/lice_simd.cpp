#include "graphics/lice_simd.h"

#include <atomic>

namespace
{
std::atomic<bool> g_avx2{LICE_ProcessorHasAvx2()};
}

bool LICE_ProcessorHasAvx2()
{
#if LICE_AVX2_BUILD
  // Also checks that the system saves the wide registers.
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
#else
  return false;
#endif
}

void LICE_SetAvx2Enabled(bool on)
{
  g_avx2.store(on && LICE_ProcessorHasAvx2(), std::memory_order_relaxed);
}

bool LICE_Avx2Enabled()
{
  return g_avx2.load(std::memory_order_relaxed);
}
