#include "wdl/IPlug/x11/X11PixelFormat.h"

#include <cstring>

namespace
{

// The shift of an 8-bit mask; -1 for any other mask.
int shiftOf(uint32_t mask)
{
  for (int s = 0; s <= 24; ++s)
    if (mask == (0xFFu << s))
      return s;
  return -1;
}

constexpr bool kHostLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;

} // namespace

bool X11PixelFormat::setMasks(uint32_t red, uint32_t green, uint32_t blue)
{
  int r = shiftOf(red), g = shiftOf(green), b = shiftOf(blue);
  if (r < 0 || g < 0 || b < 0)
    return false;
  redShift = r;
  greenShift = g;
  blueShift = b;
  return true;
}

void X11PixelFormat::convert(const uint32_t* src, uint32_t* dst, int count) const
{
  bool swapOut = msbFirst == kHostLittleEndian;
  if (kHostLittleEndian && redShift == 16 && greenShift == 8 && blueShift == 0 && !swapOut)
  {
    // The common case: bytes A, R, G, B reversed are the value 0xAARRGGBB.
    for (int i = 0; i < count; ++i)
      dst[i] = __builtin_bswap32(src[i]);
    return;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(src);
  for (int i = 0; i < count; ++i, bytes += 4)
  {
    uint32_t v = uint32_t(bytes[1]) << redShift | uint32_t(bytes[2]) << greenShift | uint32_t(bytes[3]) << blueShift;
    dst[i] = swapOut ? __builtin_bswap32(v) : v;
  }
}
