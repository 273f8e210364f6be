#include "graphics/lice_fastpath.h"

#include <atomic>

namespace
{
std::atomic<bool> g_fastPaths{true};
} // namespace

void LICE_SetFastPathsEnabled(bool enabled)
{
  g_fastPaths.store(enabled, std::memory_order_relaxed);
}

bool LICE_FastPathsEnabled()
{
  return g_fastPaths.load(std::memory_order_relaxed);
}
