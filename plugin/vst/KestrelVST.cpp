// KestrelVST: the compressor on the VST 2 binding, as a Linux VST 2 library.

#include "plugin/Kestrel.h"
#include "wdl/IPlug/vst/IPlugVSTEntry.h"

IPLUG_VST_ENTRY(Kestrel)
