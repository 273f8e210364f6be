#pragma once
// Mac base types and result codes used by the Component Manager, Core
// Foundation and Audio Unit stand-ins. Widths follow the 64-bit Mac ABI:
// integers keep their Mac sizes, anything that carries a pointer is
// pointer-sized.

#include <cstdint>

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;
typedef float Float32;
typedef double Float64;
typedef unsigned char Boolean;

typedef SInt16 OSErr;
typedef SInt32 OSStatus;
typedef UInt32 FourCharCode;
typedef FourCharCode OSType;

typedef char* Ptr;
typedef Ptr* Handle;

// Builds a four-character code from its text, first character in the high
// byte ('aufx' is 0x61756678).
constexpr FourCharCode MacFourCC(const char (&text)[5])
{
  return (FourCharCode(UInt8(text[0])) << 24) | (FourCharCode(UInt8(text[1])) << 16) |
         (FourCharCode(UInt8(text[2])) << 8) | FourCharCode(UInt8(text[3]));
}

// Writes the code's four characters and a terminator into out; a byte that is
// not printable ASCII shows as '?', so the text is always safe to print.
void MacFourCCToText(FourCharCode code, char out[5]);

enum : OSStatus
{
  noErr = 0,
  paramErr = -50,
  memFullErr = -108,
  validInstancesExist = -209,
  invalidComponentID = -3000,
  internalComponentErr = -2070,
};

// Component Manager codes are 32-bit words with the high bit set.
constexpr OSStatus kMacComponentErr(UInt32 word)
{
  return OSStatus(word);
}
constexpr OSStatus badComponentInstance = kMacComponentErr(0x80008001u);
constexpr OSStatus badComponentSelector = kMacComponentErr(0x80008002u);

static_assert(sizeof(Boolean) == 1 && sizeof(OSType) == 4 && sizeof(OSStatus) == 4);
static_assert(MacFourCC("aufx") == 0x61756678u);
