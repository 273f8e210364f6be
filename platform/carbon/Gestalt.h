#pragma once
// System information by selector. Only the system version is known; the
// driver (carbon_driver.h) sets it, 0x1058 (10.5.8) by default.

#include "platform/macbase/MacTypes.h"

constexpr OSType gestaltSystemVersion = MacFourCC("sysv");
enum : OSErr
{
  gestaltUndefSelectorErr = -5551
};

// gestaltUndefSelectorErr, leaving *response alone, for other selectors.
// Aborts for a null response, which the platform writes through.
OSErr Gestalt(OSType selector, SInt32* response);
