// The KestrelAU library: the compressor on the Audio Unit binding, reached
// through its one exported entry.

#include "plugin/Kestrel.h"
#include "wdl/IPlug/au/IPlugAUEntry.h"

IPlugAU* MakePlug()
{
  return IPlugAUMakePlug<Kestrel>(IPLUG_AU_BUNDLE_ID, "Kestrel_View");
}

IPLUG_AU_EXPORT ComponentResult Kestrel_Entry(ComponentParameters* params, void* storage)
{
  return IPlugAU::IPlugAUEntry(params, storage);
}
