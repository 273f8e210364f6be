#include "platform/cocoa/NSString.h"

#include "platform/corefoundation/CFString.h"

NSString* NSString::stringWithCString(const char* cString)
{
  if (!cString)
    NSFatal("NSString stringWithCString: NULL cString");
  // Core Foundation judges the encoding, so both layers accept the same texts.
  CFStringRef check = CFStringCreateWithCString(nullptr, cString, kCFStringEncodingUTF8);
  if (!check)
    return nullptr;
  CFRelease(check);
  return new NSString(cString);
}
