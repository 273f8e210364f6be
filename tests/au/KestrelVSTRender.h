#pragma once
// KestrelVST rendered by the project's VST host. In its own file: the VST
// host's headers name the shared buffer AudioBuffer, which is also a Core
// Audio record.

#include <string>

#include "tools/signal/SignalBuffer.h"

// The signal through the VST at library path, with the program of that
// name; false with the reason in *error.
bool RenderKestrelVST(const char* library, const SignalBuffer& in, const char* program, int block, SignalBuffer* out,
                      std::string* error);
