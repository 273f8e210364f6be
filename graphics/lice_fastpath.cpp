#include "graphics/lice_fastpath.h"

#include <atomic>

namespace
{
std::atomic<bool> g_fastPaths{true};

bool processorHasAvx2()
{
#if defined(__x86_64__) || defined(__i386__)
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

std::atomic<bool> g_avx2{processorHasAvx2()};
} // namespace

void LICE_SetFastPathsEnabled(bool enabled)
{
  g_fastPaths.store(enabled, std::memory_order_relaxed);
}

bool LICE_FastPathsEnabled()
{
  return g_fastPaths.load(std::memory_order_relaxed);
}

void LICE_SetAvx2Enabled(bool enabled)
{
  g_avx2.store(enabled && processorHasAvx2(), std::memory_order_relaxed);
}

bool LICE_Avx2Enabled()
{
  return g_avx2.load(std::memory_order_relaxed);
}
