#include "wdl/IPlug/IPlugAssert.h"

#include <cstdio>
#include <cstdlib>

void IPlugFatalAssert(const char* file, unsigned line, const char* expr)
{
  fprintf(stderr, "%s:%u: failed assertion `%s'\n", file, line, expr);
  fflush(stderr);
  abort();
}
