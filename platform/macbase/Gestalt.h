#pragma once
// System information by selector, one answer for the whole process (the
// Carbon and Cocoa stand-ins share it). Only the system version ('sysv')
// is known: the version a test or host sets, 10.6.8 until then.

#include "platform/macbase/MacTypes.h"

constexpr OSType gestaltSystemVersion = 0x73797376; // 'sysv'
constexpr OSErr gestaltUndefSelectorErr = -5551;

// The version as BCD digits, 0x1068 for 10.6.8. Other selectors answer
// gestaltUndefSelectorErr and leave *response alone; a null response
// aborts, as the platform writes through it.
OSErr Gestalt(OSType selector, SInt32* response);

// Stand-in only.
void GestaltSetSystemVersion(SInt32 version);
