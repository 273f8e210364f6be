// The test effect as a VST 2 library, built the way the deliverable is.

#include "tests/vst/TestEffect.h"
#include "wdl/IPlug/vst/IPlugVSTEntry.h"

IPLUG_VST_ENTRY(TestEffect)
