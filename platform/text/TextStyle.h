#pragma once
// Text styles: a face found through fontconfig and rendered by FreeType,
// at a size in points (one point is one pixel, as at the platform's 72 dpi).
//
// A face name that is not installed falls back to DejaVu Sans in the
// requested weight and slant, the one face every build machine has, so
// text looks the same everywhere. "Found" means the requested name matched
// the installed face's family or full name.

#include <cstddef>
#include <cstdint>

typedef struct TextStyle* TextStyleRef;

// Null when neither the face nor the fallback can be opened, or size is
// not positive.
TextStyleRef TextStyleCreate(const char* faceName, double size, bool bold, bool italic, bool underline);
void TextStyleDispose(TextStyleRef style);

bool TextStyleFaceFound(TextStyleRef style);
// The font file in use.
const char* TextStyleFontFile(TextStyleRef style);
double TextStyleSize(TextStyleRef style);
// From the face's design metrics scaled to the size; leading is never
// negative.
void TextStyleGetLineMetrics(TextStyleRef style, double* ascent, double* descent, double* leading);

// One glyph rendered at the style's size: 8-bit coverage rows (top first),
// the offset of its left edge from the pen and of its top row above the
// baseline, and the pen advance in 1/64 pixel.
struct TextGlyph
{
  int left = 0, top = 0, width = 0, rows = 0;
  long advance = 0;
  const unsigned char* coverage = nullptr; // width * rows bytes
};

// Glyph index of a code point (0, the missing-glyph box, when absent).
unsigned TextStyleGlyphIndex(TextStyleRef style, uint32_t codepoint);
// The rendered glyph, cached by the style for its life; false when
// FreeType cannot load it.
bool TextStyleGlyph(TextStyleRef style, unsigned glyphIndex, TextGlyph* out);
// Kerning between two glyphs in 1/64 pixel (0 when the face has none).
long TextStyleKerning(TextStyleRef style, unsigned left, unsigned right);
// Underline position below the baseline and thickness, in pixels.
void TextStyleUnderline(TextStyleRef style, double* offset, double* thickness);
bool TextStyleIsUnderlined(TextStyleRef style);
