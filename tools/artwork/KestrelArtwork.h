#pragma once
// The compressor editor's images: the background and the control strips,
// pixels premultiplied A, R, G, B.

#include <memory>

#include "graphics/lice.h"
#include "plugin/KestrelLayout.h"

// The size of one frame of each image: the artwork's own, but for the background, which
// fills the editor.
struct ArtImageInfo
{
  EKestrelImage image;
  int frameWidth, frameHeight;
};

constexpr ArtImageInfo kArtImages[] = {
  {kBackgroundImage, kKestrelEditorWidth, kKestrelEditorHeight},
  {kInputMeterImage, 134, 16},
  {kOutputMeterImage, 134, 16},
  {kButtonImage, 40, 22},
  {kMeterModeImage, 44, 34},
  {kThresholdSlideImage, 180, 40},
  {kCompensationSlideImage, 180, 40},
  {kSlideButtonImage, 14, 24},
  {kRatioImage, 100, 114},
  {kSmallKnobImage, 44, 44},
  {kKnobImage, 80, 72},
  {kDigitsImage, 14, 22},
};

// The frame size of an image, or null for one not in the table.
constexpr const ArtImageInfo* ArtImageInfoFor(EKestrelImage image)
{
  for (const ArtImageInfo& a : kArtImages)
    if (a.image == image)
      return &a;
  return nullptr;
}

constexpr bool ArtCoversTheLayout()
{
  for (const KestrelImageSpec& s : kKestrelImages)
    if (!ArtImageInfoFor(s.mId))
      return false;
  return true;
}
static_assert(ArtCoversTheLayout(), "every image the editor loads has a frame size");

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
