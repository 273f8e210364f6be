#include "wdl/IPlug/Log.h"

#include <cctype>
#include <cstdio>

const char* CurrentTime()
{
  static char sTime[128];
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  size_t n = strftime(sTime, 64, "%Y%m%d %H:%M ", &local);
  char zone[64];
  size_t z = strftime(zone, sizeof(zone), "%Z", &local);
  for (size_t i = 0; i < z && n < sizeof(sTime) - 1; ++i)
    if (isupper(static_cast<unsigned char>(zone[i])))
      sTime[n++] = zone[i];
  sTime[n] = 0;
  return sTime;
}

void CompileTimestamp(const char* date, const char* time, WDL_String* pStr)
{
  pStr->Set("[");
  pStr->Append(date);
  pStr->Append(" ");
  pStr->Append(time);
  pStr->Append("]");
}

const char* AppendTimestamp(const char* date, const char* time, const char* cStr)
{
  static WDL_String sStr;
  static bool sDone = false;
  if (!sDone)
  {
    sDone = true;
    WDL_String ts;
    CompileTimestamp(date, time, &ts);
    sStr.Set(cStr);
    sStr.Append(" ");
    sStr.Append(ts.Get());
  }
  return sStr.Get();
}

const char* VSTOpcodeStr(int)
{
  return "";
}
const char* AUSelectStr(int)
{
  return "";
}
const char* AUPropertyStr(int)
{
  return "";
}
const char* AUScopeStr(int)
{
  return "";
}
