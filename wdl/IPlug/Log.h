#pragma once
// Tracing exists as an interface but does nothing in this plug-in; the
// timestamp helpers and the coarse timer are kept for the bindings.

#include <ctime>

#include "wdl/wdlstring.h"

inline void Trace(const char* /*funcName*/, int /*line*/, const char* /*format*/, ...) {}
#define TRACE Trace(__FUNCTION__, __LINE__, "")

const char* CurrentTime();
void CompileTimestamp(const char* date, const char* time, WDL_String* pStr);
const char* AppendTimestamp(const char* date, const char* time, const char* cStr);

// Names for traces are not kept.
const char* VSTOpcodeStr(int opCode);
const char* AUSelectStr(int select);
const char* AUPropertyStr(int propID);
const char* AUScopeStr(int scope);

class Timer
{
public:
  Timer() : mT(clock()) {}
  // True, and the timer restarted, once more than sec x 100 clock ticks have passed.
  bool Every(double sec)
  {
    clock_t t = clock();
    if (double(t - mT) > sec * 100.0)
    {
      mT = t;
      return true;
    }
    return false;
  }

private:
  clock_t mT;
};
