#pragma once
// What the host prints about an open unit: identity, parameters, presets.

#include <cstdio>

#include "platform/audiounit/AUComponent.h"

// Each returns false when the unit refuses a query the report needs.
bool PrintIdentity(FILE* out, AudioUnit unit);
bool PrintParameters(FILE* out, AudioUnit unit);
bool PrintPresets(FILE* out, AudioUnit unit);
