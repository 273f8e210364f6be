#pragma once
// The panel's lettering: a small stroke font of lines and arcs, drawn with
// round pens. Glyphs are six units tall from cap line to baseline.

#include <string>

#include "tools/artwork/ArtCanvas.h"

struct ArtText
{
  float cap = 6;         // cap height in pixels
  float weight = 1.2f;   // pen width in pixels
  float tracking = 1.6f; // extra space between glyphs, in glyph units
  LICE_PixelValue color = ArtRGB(255, 255, 255);
};

// Width of the text's ink, pens included. Unknown characters are blank.
float ArtTextWidth(const ArtText& style, const std::string& text);
// Draws with the left end of the baseline at (x, baseline).
void ArtDrawText(ArtCanvas& c, const ArtText& style, float x, float baseline, const std::string& text);
void ArtDrawTextCentred(ArtCanvas& c, const ArtText& style, float cx, float baseline, const std::string& text);
void ArtDrawTextRight(ArtCanvas& c, const ArtText& style, float right, float baseline, const std::string& text);
// One glyph centred on cx (used for digit wheels, which want every digit
// centred in its cell whatever its width).
void ArtDrawGlyphCentred(ArtCanvas& c, const ArtText& style, float cx, float baseline, char ch);
