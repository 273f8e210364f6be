#pragma once
// Pushes a whole buffer through an initialised unit slice by slice, from
// sample time 0, feeding input bus 0 by a render callback or by a
// connection to a player unit. The unit is not reset first: its state
// (parameter glides included) carries on from its set-up.

#include <string>

#include "platform/audiounit/AUComponent.h"
#include "tools/auhost/AUHostUnit.h"
#include "tools/signal/SignalBuffer.h"

enum class AUHostInput
{
  kCallback,            // a render callback on input bus 0
  kConnection,          // a player unit connected to input bus 0 (fast render procedure)
  kConnectionNoFastProc // the same player without one: pulled through AudioUnitRender
};

// Input channel c feeds channel c of input bus 0; the output has the
// negotiated output channels. Returns false with the reason in *error;
// *seconds (when given) is the time spent inside the unit's render.
bool AUHostRender(AudioUnit unit, const AUHostFormat& format, AUHostInput input, const SignalBuffer& in,
                  SignalBuffer* out, std::string* error, double* seconds = nullptr);
