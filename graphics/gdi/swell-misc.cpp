#include "graphics/gdi/swell-misc.h"

#include <cstring>

#include "platform/corefoundation/CFBundle.h"

char* lstrcpyn(char* dst, const char* src, int n)
{
  if (!dst || n < 1)
    return dst;
  int i = 0;
  if (src)
    for (; i < n - 1 && src[i]; ++i)
      dst[i] = src[i];
  dst[i] = 0;
  return dst;
}

CFStringRef SWELL_CStringToCFString(const char* str)
{
  if (!str)
    str = "";
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, str, kCFStringEncodingUTF8);
  if (!s)
    s = CFStringCreateWithCString(kCFAllocatorDefault, str, kCFStringEncodingASCII);
  return s;
}

int GetModuleFileName(void*, char* buf, int size)
{
  if (!buf || size < 1)
    return 0;
  buf[0] = 0;
  CFURLRef url = CFBundleCopyBundleURL(CFBundleGetMainBundle());
  char path[8192];
  if (url && CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(path), sizeof path))
    lstrcpyn(buf, path, size);
  CFRelease(url);
  return int(strlen(buf));
}
