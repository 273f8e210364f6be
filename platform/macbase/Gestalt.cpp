#include "platform/macbase/Gestalt.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace
{

std::atomic<SInt32> gSystemVersion{0x1068};

} // namespace

OSErr Gestalt(OSType selector, SInt32* response)
{
  if (!response)
  {
    std::fprintf(stderr, "Gestalt: null response\n");
    std::abort();
  }
  if (selector != gestaltSystemVersion)
    return gestaltUndefSelectorErr;
  *response = gSystemVersion.load(std::memory_order_relaxed);
  return noErr;
}

void GestaltSetSystemVersion(SInt32 version)
{
  gSystemVersion.store(version, std::memory_order_relaxed);
}
