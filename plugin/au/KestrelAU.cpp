// The KestrelAU library: the compressor on the Audio Unit binding, reached
// through its exported entry, and the entry of its Carbon view component.

#include "plugin/Kestrel.h"
#include "wdl/IPlug/au/IPlugAUEntry.h"

IPlugAU* MakePlug()
{
  return IPlugAUMakePlug<Kestrel>(IPLUG_AU_BUNDLE_ID, "Kestrel_View");
}

// Found by the names in Info.plist, not through a header.
IPLUG_AU_EXPORT ComponentResult Kestrel_Entry(ComponentParameters* params, void* storage);
IPLUG_AU_EXPORT ComponentResult Kestrel_ViewEntry(ComponentParameters* params, void* storage);

IPLUG_AU_EXPORT ComponentResult Kestrel_Entry(ComponentParameters* params, void* storage)
{
  return IPlugAU::IPlugAUEntry(params, storage);
}

IPLUG_AU_EXPORT ComponentResult Kestrel_ViewEntry(ComponentParameters* params, void* storage)
{
  return IPlugAU::IPlugAUCarbonViewEntry(params, storage);
}
