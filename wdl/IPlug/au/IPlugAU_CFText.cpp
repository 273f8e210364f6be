#include "wdl/IPlug/au/IPlugAU_CFText.h"

#include <climits>
#include <cstring>

int UTF8FitLength(const char* text, int maxBytes)
{
  int len = int(strnlen(text, size_t(maxBytes > 0 ? maxBytes : 0)));
  if (text[len] == '\0')
    return len;
  // Back off to the start of the character that would be cut.
  while (len > 0 && (static_cast<unsigned char>(text[len]) & 0xC0) == 0x80)
    --len;
  return len;
}

CFStringRef NewCFString(const char* text)
{
  CFStringRef s = CFStringCreateWithCString(kCFAllocatorDefault, text ? text : "", kCFStringEncodingUTF8);
  return s ? s : CFStringCreateWithCString(kCFAllocatorDefault, "", kCFStringEncodingUTF8);
}

CFStringRef NewCFStringCut(const char* text, int maxBytes)
{
  if (!text)
    text = "";
  int len = UTF8FitLength(text, maxBytes);
  CFStringRef s = CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text), len,
                                          kCFStringEncodingUTF8, false);
  return s ? s : NewCFString("");
}

bool CFStringToText(CFStringRef str, WDL_TypedBuf<char>* out)
{
  if (!str || CFGetTypeID(str) != CFStringGetTypeID())
    return false;
  CFIndex size = CFStringGetMaximumSizeForEncoding(CFStringGetLength(str), kCFStringEncodingUTF8);
  if (size < 0 || size >= INT_MAX)
    return false;
  if (!out->Resize(int(size) + 1))
    return false;
  return CFStringGetCString(str, out->Get(), size + 1, kCFStringEncodingUTF8);
}
