#include "wdl/IPlug/IPlugUtilities.h"

#include <cctype>
#include <cstdio>

void GetVersionParts(int version, int* pVer, int* pMaj, int* pMin)
{
  if (pVer)
    *pVer = int(unsigned(version) >> 16);
  if (pMaj)
    *pMaj = (version >> 8) & 0xFF;
  if (pMin)
    *pMin = version & 0xFF;
}

int GetDecimalVersion(int version)
{
  int ver, rmaj, rmin;
  GetVersionParts(version, &ver, &rmaj, &rmin);
  return 10000 * ver + 100 * rmaj + rmin;
}

void GetVersionStr(int version, char* str, size_t size)
{
  int ver, rmaj, rmin;
  GetVersionParts(version, &ver, &rmaj, &rmin);
  if (str && size)
    snprintf(str, size, "v%d.%d", ver, rmaj);
}

int ToLower(char* dest, const char* src)
{
  int n = 0;
  if (src)
    for (; src[n]; ++n)
      dest[n] = char(tolower(static_cast<unsigned char>(src[n])));
  dest[n] = 0;
  return n;
}

bool IsWhitespace(char c)
{
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
