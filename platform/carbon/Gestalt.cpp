#include "platform/carbon/Gestalt.h"

#include "platform/carbon/carbon_driver.h"
#include "platform/carbon/carbon_handles.h"

namespace
{

SInt32 systemVersion = 0x1058;

} // namespace

void carbonDriverSetSystemVersion(SInt32 version)
{
  systemVersion = version;
}

OSErr Gestalt(OSType selector, SInt32* response)
{
  if (!response)
    carbonFail("Gestalt", "null response");
  if (selector != gestaltSystemVersion)
    return gestaltUndefSelectorErr;
  *response = systemVersion;
  return noErr;
}
