#pragma once
// Pushes a whole buffer through an effect block by block.

#include "tools/signal/SignalBuffer.h"
#include "tools/vsthost/VstHostPlugin.h"

// Input channel c feeds effect input c; effect inputs beyond the buffer's
// channels get silence. The output has one channel per effect output.
// Returns the seconds spent inside the effect's process calls.
double ProcessAudio(VstHostPlugin& plugin, const SignalBuffer& in, SignalBuffer* out);
