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

// Underline position below the baseline and thickness, in pixels.
void TextStyleUnderline(TextStyleRef style, double* offset, double* thickness);
bool TextStyleIsUnderlined(TextStyleRef style);
