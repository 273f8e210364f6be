#pragma once
// Colours and control geometry shared by the background and the strips.

#include "tools/artwork/ArtCanvas.h"

namespace art
{

constexpr LICE_PixelValue kPanelTop = ArtRGB(48, 52, 60), kPanelBottom = ArtRGB(26, 28, 33);
constexpr LICE_PixelValue kWell = ArtRGB(12, 13, 15), kGroove = ArtRGB(14, 15, 18);
constexpr LICE_PixelValue kEdgeLight = ArtRGB(70, 75, 84), kEdgeDark = ArtRGB(10, 11, 13);
constexpr LICE_PixelValue kLabel = ArtRGB(176, 182, 192), kLabelDim = ArtRGB(112, 118, 128);
constexpr LICE_PixelValue kAccent = ArtRGB(255, 168, 56), kAccentHot = ArtRGB(255, 214, 150);
constexpr LICE_PixelValue kAccentDim = ArtRGB(78, 56, 30);
constexpr LICE_PixelValue kCapTop = ArtRGB(84, 90, 100), kCapBottom = ArtRGB(36, 39, 45);
constexpr LICE_PixelValue kFaceTop = ArtRGB(58, 62, 70), kFaceBottom = ArtRGB(40, 43, 49);
constexpr LICE_PixelValue kPointer = ArtRGB(236, 238, 242);

// Knob strips: centre and radii within a frame; on the background, the name's gap above the ring.
struct KnobGeometry
{
  float cx, cy, ring, ringWidth, cap, face, pointerIn, pointerOut, pointerWidth, labelGap;
};
constexpr KnobGeometry kBigKnob{40, 36, 24, 3.2f, 18.5f, 15.5f, 5, 14, 2.6f, 9};
constexpr KnobGeometry kSmallKnob{22, 22, 16.5f, 2.6f, 12.5f, 10.5f, 3.5f, 9.5f, 2.2f, 6};

// Slider strips: the handle's travel and the groove.
constexpr float kSlideLeft = 12, kSlideRight = 168, kSlideGrooveY = 27;
// Meter strips: the bar's first column, length and rows.
constexpr int kMeterX = 10, kMeterLength = 120, kMeterY = 3, kMeterHeight = 10;
// Digit wheels.
constexpr float kDigitCap = 14, kDigitWeight = 2.1f;

} // namespace art
