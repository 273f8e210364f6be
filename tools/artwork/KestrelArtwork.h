#pragma once
// The compressor editor's twelve images: the background and the control
// strips, frames stacked top to bottom, pixels premultiplied A, R, G, B.

#include <memory>

#include "graphics/lice.h"

struct ArtImageInfo {
  const char* file;
  int frames;
  int frameWidth, frameHeight;
};

// In the order the editor loads them.
constexpr ArtImageInfo kArtImages[] = {
    {"kestrelbg.png", 1, 700, 249},   {"topVU.png", 121, 134, 16},    {"botVU.png", 121, 134, 16},
    {"button.png", 2, 40, 22},        {"outgr.png", 2, 44, 34},       {"topslide.png", 100, 180, 40},
    {"botslide.png", 100, 180, 40},   {"slidebutton.png", 1, 14, 24}, {"ratiostack.png", 5, 100, 114},
    {"smallknob.png", 136, 44, 44},   {"knob.png", 136, 80, 72},      {"numberstack.png", 100, 14, 22},
};
constexpr int kArtImageCount = int(sizeof(kArtImages) / sizeof(kArtImages[0]));

// Draws image i of kArtImages; null for an index out of range.
std::unique_ptr<LICE_MemBitmap> ArtDrawImage(int i);

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
