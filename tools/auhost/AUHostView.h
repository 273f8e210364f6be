#pragma once
// Opens a unit's editor the two ways a Mac host does and saves what it
// shows: "cocoa" makes the view factory class the Cocoa UI property names
// and asks it for a view; "carbon" opens the view component the view list
// names and has it create its control in a composited Carbon window.

#include <string>

#include "platform/audiounit/AUComponent.h"

// False, with the reason in *error, when the unit has no such view or the
// picture cannot be written.
bool AUHostSnapshotView(AudioUnit unit, const std::string& kind, const std::string& pngPath, std::string* error);
