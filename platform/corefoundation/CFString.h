#pragma once
// Immutable strings. Text goes in and out as UTF-8 (or 7-bit ASCII); lengths
// count UTF-16 code units as on the platform.

#include "platform/corefoundation/CFBase.h"

typedef UInt32 CFStringEncoding;
constexpr CFStringEncoding kCFStringEncodingASCII = 0x0600;
constexpr CFStringEncoding kCFStringEncodingUTF8 = 0x08000100;

typedef UInt16 UniChar;
struct CFRange
{
  CFIndex location;
  CFIndex length;
};
inline CFRange CFRangeMake(CFIndex location, CFIndex length)
{
  return CFRange{location, length};
}

CFTypeID CFStringGetTypeID();

// A new string, or null for a null text, an unsupported encoding or bytes
// that are not valid in the encoding (malformed UTF-8, non-ASCII for ASCII).
CFStringRef CFStringCreateWithCString(CFAllocatorRef alloc, const char* cStr, CFStringEncoding encoding);
// As above for a text of numBytes bytes that need not be terminated; an
// embedded zero byte is refused.
CFStringRef CFStringCreateWithBytes(CFAllocatorRef alloc, const UInt8* bytes, CFIndex numBytes,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation);

// Copies the text and a terminator. False when the buffer is too small for
// both (or the text has no form in the encoding); a buffer of at least one
// byte then holds an empty text, and nothing is written beyond bufferSize.
Boolean CFStringGetCString(CFStringRef str, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
// UTF-16 code units; 0 for anything that is not a string.
CFIndex CFStringGetLength(CFStringRef str);
// Copies the UTF-16 units of range. A range outside the string (or a null
// string or buffer) ends the process with a message, as on the platform.
void CFStringGetCharacters(CFStringRef str, CFRange range, UniChar* buffer);
// Bytes that length UTF-16 units can need in the encoding (no terminator);
// kCFNotFound for a negative length, an overflow or an unknown encoding.
CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding);

// A constant string, made once per text and never freed; retain and release
// do nothing to it. For literals only, like the platform's CFSTR.
CFStringRef __CFStringMakeConstantString(const char* cStr);
#define CFSTR(text) __CFStringMakeConstantString("" text "")
