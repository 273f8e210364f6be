#pragma once
// A generator unit inside the host that plays a buffer: what the host
// connects to a unit's input bus to feed it through a connection, as a host
// on the platform connects a file player. Registered with the Component
// Manager on first use; one instance per connection.

#include "platform/audiounit/AUComponent.h"
#include "tools/signal/SignalBuffer.h"

struct AUHostPlayerSettings
{
  const SignalBuffer* source = nullptr; // channel c of the output plays channel c of the source
  int channels = 2;
  UInt32 maxFrames = 512;
  // Whether the player hands out a fast render procedure; without one the
  // unit pulls it through AudioUnitRender.
  bool fastDispatch = true;
};

// A new player instance, or null.
AudioUnit AUHostOpenPlayer(const AUHostPlayerSettings& settings);
