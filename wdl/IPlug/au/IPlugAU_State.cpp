// The class-info dictionary hosts save in their documents. Not built yet:
// no state is handed out and none is taken.

#include "wdl/IPlug/au/IPlugAU.h"

ComponentResult IPlugAU::GetState(CFPropertyListRef*) { return kAudioUnitErr_InvalidProperty; }

ComponentResult IPlugAU::SetState(CFPropertyListRef) { return kAudioUnitErr_InvalidPropertyValue; }
