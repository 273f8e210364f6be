#include "plugin/KestrelEditorLink.h"

// Without an editor there are no controls to update: the compressor never holds a non-null
// meter or read-out pointer in this build.
void PushMeterValue(IBitmapControl*, double) {}

void PushReadoutValue(IOdometerControl*, double) {}
