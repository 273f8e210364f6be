// Rendering: pulls each connected input bus once per time stamp, binds the
// host's buffers to the base's channels and runs the processing frame.
// Not built yet: every render is refused, so a host never reads buffers this
// unit did not write.

#include "wdl/IPlug/au/IPlugAU.h"

ComponentResult IPlugAU::RenderProc(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32,
                                    AudioBufferList*)
{
  return kAudioUnitErr_InvalidPropertyValue;
}
