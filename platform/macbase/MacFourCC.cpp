#include "platform/macbase/MacTypes.h"

void MacFourCCToText(FourCharCode code, char out[5])
{
  for (int i = 0; i < 4; ++i)
  {
    char c = char((code >> (24 - 8 * i)) & 0xFF);
    out[i] = (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  out[4] = 0;
}
