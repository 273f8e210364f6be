#include "wdl/IPlug/Hosts.h"

#include <cstring>

#include "wdl/IPlug/IPlugUtilities.h"

namespace
{
struct HostEntry
{
  const char* substring;
  EHostId id;
};

// Searched in order; the first substring found decides.
constexpr HostEntry kHosts[] = {
  {"cubase", kHostCubase},
  {"reaper", kHostReaper},
  {"nuendo", kHostNuendo},
  {"cakewalk", kHostSonar},
  {"samplitude", kHostSamplitude},
  {"fruity", kHostFL},
  {"live", kHostAbletonLive},
  {"melodyne", kHostMelodyneStudio},
  {"vstmanlib", kHostVSTScanner},
  {"aulab", kHostAULab},
  {"forte", kHostForte},
  {"chainer", kHostChainer},
  {"audition", kHostAudition},
  {"orion", kHostOrion},
  {"sawstudio", kHostSAWStudio},
  {"logic", kHostLogic},
  {"digital", kHostDigitalPerformer},
  {"ardour", kHostArdour},
  {"mixbus", kHostArdour},
};
} // namespace

EHostId LookUpHost(const char* host)
{
  char lower[kMaxHostNameLen + 1];
  char cut[kMaxHostNameLen + 1];
  size_t n = host ? strnlen(host, kMaxHostNameLen) : 0;
  memcpy(cut, host ? host : "", n);
  cut[n] = 0;
  ToLower(lower, cut);
  for (const HostEntry& e : kHosts)
    if (strstr(lower, e.substring))
      return e.id;
  return kHostUnknown;
}
