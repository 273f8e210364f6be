#pragma once
// The compressor editor's images: the background and the control strips,
// pixels premultiplied A, R, G, B.

#include <memory>

#include "graphics/lice.h"
#include "plugin/KestrelLayout.h"

// Draws an image of the editor's table, frames stacked top to bottom; null for an image
// not in it.
std::unique_ptr<LICE_MemBitmap> ArtDrawImage(EKestrelImage image);

// Pieces shared by the background and the strips.
class ArtCanvas;
void ArtDrawBackground(ArtCanvas& c);
void ArtDrawKnobFrame(ArtCanvas& c, bool small, float value);
void ArtDrawSliderFrame(ArtCanvas& c, bool bipolar, float value);
void ArtDrawSliderHandle(ArtCanvas& c, float cx, float top);
void ArtDrawMeterFrame(ArtCanvas& c, bool zoned, int lit);
void ArtDrawButtonFrame(ArtCanvas& c, bool on);
void ArtDrawMeterModeFrame(ArtCanvas& c, int mode);
void ArtDrawRatioFrame(ArtCanvas& c, int selected);
void ArtDrawDigitFrame(ArtCanvas& c, int frame);

// Knob travel in degrees, 0 up, clockwise.
constexpr float kArtKnobMin = -135, kArtKnobMax = 135;
