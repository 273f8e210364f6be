#pragma once
// The Carbon stand-in: windows, controls and views, Carbon events and
// event-loop timers, QuickDraw regions and ports, and Gestalt. Offscreen:
// nothing reaches a screen, and carbon_driver.h plays the system's part.

#include "platform/carbon/CarbonEvents.h"
#include "platform/carbon/Controls.h"
#include "platform/carbon/Gestalt.h"
#include "platform/carbon/HIView.h"
#include "platform/carbon/MacWindows.h"
#include "platform/carbon/QuickDraw.h"
