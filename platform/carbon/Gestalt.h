#pragma once
// Shared with the Cocoa stand-in; the driver (carbon_driver.h) sets the version.
#include "platform/macbase/Gestalt.h"
