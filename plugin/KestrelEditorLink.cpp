#include "plugin/KestrelEditorLink.h"

#include <algorithm>

#include "plugin/KestrelControls.h"

void PushMeterValue(IBitmapControl* meter, double normalized)
{
  if (meter)
    meter->PostValueFromPlug(std::clamp(normalized, 0.0, 1.0));
}

void PushReadoutValue(IOdometerControl* readout, double value)
{
  if (readout)
    readout->PostValueFromPlug(value);
}
