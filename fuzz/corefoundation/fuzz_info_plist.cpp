// Bundle Info.plist files come from disk: the reader must survive any bytes.

#include <cstddef>
#include <cstdint>

#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/cf_info_plist.h"

// libFuzzer finds it by name; no header declares it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  CFDictionaryRef dict = CFInfoPlistParse(data, size);
  if (!dict)
    return 0;
  CFIndex n = CFDictionaryGetCount(dict);
  const void* keys[64];
  const void* values[64];
  if (n <= 64)
  {
    CFDictionaryGetKeysAndValues(dict, keys, values);
    char buf[256];
    for (CFIndex i = 0; i < n; ++i)
      CFStringGetCString(static_cast<CFStringRef>(values[i]), buf, sizeof buf, kCFStringEncodingUTF8);
  }
  CFRelease(dict);
  return 0;
}
