#pragma once
// Private to the stand-ins and the drawing layer above them: one reading of
// UTF-8, so a string and the text drawn from the same bytes agree.

#include <cstddef>

#include "platform/corefoundation/CFString.h"

// Calls emit(unit) for each UTF-16 unit of a well-formed UTF-8 text and
// returns their count, or -1 when it is malformed (overlong forms,
// surrogates, values above U+10FFFF, truncated sequences).
template <class Emit>
inline CFIndex DecodeUtf16(const UInt8* s, size_t n, Emit emit)
{
  CFIndex units = 0;
  for (size_t i = 0; i < n;)
  {
    UInt8 c = s[i];
    size_t len;
    UInt32 cp;
    if (c < 0x80)
    {
      len = 1;
      cp = c;
    }
    else if (c >= 0xC2 && c <= 0xDF)
    {
      len = 2;
      cp = c & 0x1F;
    }
    else if (c >= 0xE0 && c <= 0xEF)
    {
      len = 3;
      cp = c & 0x0F;
    }
    else if (c >= 0xF0 && c <= 0xF4)
    {
      len = 4;
      cp = c & 0x07;
    }
    else
      return -1;
    if (n - i < len)
      return -1;
    for (size_t k = 1; k < len; ++k)
    {
      if ((s[i + k] & 0xC0) != 0x80)
        return -1;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
      return -1;
    if (cp >= 0x10000)
    {
      emit(UniChar(0xD800 + ((cp - 0x10000) >> 10)));
      emit(UniChar(0xDC00 + ((cp - 0x10000) & 0x3FF)));
      units += 2;
    }
    else
    {
      emit(UniChar(cp));
      ++units;
    }
    i += len;
  }
  return units;
}
