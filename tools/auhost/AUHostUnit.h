#pragma once
// What the host does with an open unit besides rendering: channel and format
// negotiation, parameters and presets by name, and the class-info state.
// Each returns false with the reason in *error.

#include <string>

#include "platform/audiounit/AUComponent.h"
#include "platform/corefoundation/CFBase.h"

// The string as UTF-8 ("" for anything that is not a string).
std::string AUHostText(CFStringRef s);
// Releases what a unit handed out; the platform crashes on a null, so the
// optional fields (a parameter's unit name) are checked first.
void AUHostRelease(CFTypeRef object);
// Sets *error to why, with the unit's result code when there is one;
// returns false.
bool AUHostFail(std::string* error, const std::string& why, OSStatus err = noErr);

struct AUHostFormat
{
  double sampleRate = 44100.0;
  UInt32 maxFrames = 512;
  int inputChannels = 2;  // on input bus 0
  int outputChannels = 0; // on output bus 0; 0: the most the unit allows with inputChannels (at most 2)
};

// Sets the slice size and sample rate, chooses a supported configuration
// for the input channels, sets both stream formats and initialises the unit.
// The chosen output count is written back into *format.
bool AUHostNegotiate(AudioUnit unit, AUHostFormat* format, std::string* error);

// A parameter by its name; the value is the parameter's own (not normalised).
bool AUHostSetParameter(AudioUnit unit, const std::string& name, float value, std::string* error);
// A factory preset by its name or number.
bool AUHostSelectPreset(AudioUnit unit, const std::string& preset, std::string* error);

// The unit's class-info dictionary (a new reference), or null.
CFPropertyListRef AUHostSaveState(AudioUnit unit, std::string* error);
bool AUHostRestoreState(AudioUnit unit, CFPropertyListRef state, std::string* error);
