#include "platform/carbon/Gestalt.h"

#include "platform/carbon/carbon_driver.h"

void carbonDriverSetSystemVersion(SInt32 version)
{
  GestaltSetSystemVersion(version);
}
