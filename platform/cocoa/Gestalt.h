#pragma once
// Shared with the Carbon stand-in.
#include "platform/macbase/Gestalt.h"
