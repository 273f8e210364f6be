#pragma once

// The compressor's only contact with its editor: values pushed into the two meters and the
// three read-outs. The audio thread calls these: each leaves the value in the control's
// mailbox (no lock, no allocation) for the editor's next tick. The pointers are null while
// no editor is built.
class IBitmapControl;
class IOdometerControl;

// normalized is clamped into 0..1.
void PushMeterValue(IBitmapControl* meter, double normalized);
// value is the parameter's plain value.
void PushReadoutValue(IOdometerControl* readout, double value);
