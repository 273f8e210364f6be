#pragma once
// String and module utilities of the drawing-context layer.

#include <cstdint>

#include "platform/cocoa/NSObject.h"
#include "platform/corefoundation/CFString.h"

// Copies at most n - 1 characters and a terminator; n below 1 leaves dst
// untouched. Returns dst.
char* lstrcpyn(char* dst, const char* src, int n);
// A new string the caller releases; null reads as "". Text that is not
// UTF-8 is taken as ASCII where it can be.
CFStringRef SWELL_CStringToCFString(const char* str);
// The main bundle's folder path, cut to size - 1 characters and
// terminated; size below 1 writes nothing. Returns the length written.
int GetModuleFileName(void* module, char* buf, int size);

// A Cocoa object carrying one value, for handing data through object slots.
class SWELL_APP_PREFIX_sdh : public NSObject
{
public:
  SWELL_APP_PREFIX_sdh* initWithVal(intptr_t val)
  {
    mVal = val;
    return this;
  }
  intptr_t getValue() const { return mVal; }

private:
  intptr_t mVal = 0;
};
