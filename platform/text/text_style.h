#pragma once
// Private to the text layer: the style record, its caches and the buffers
// the one line being laid out in it uses. Everything after `lock` is
// guarded by it; the face's metrics are fixed at creation and read freely.

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text/TextStyle.h"

// One glyph rendered at the style's size: 8-bit coverage rows (top first),
// the offset of its left edge from the pen and of its top row above the
// baseline, and the pen advance in 1/64 pixel.
struct TextGlyph
{
  int left = 0, top = 0, width = 0, rows = 0;
  long advance = 0;
  const unsigned char* coverage = nullptr; // width * rows bytes
};

struct TextCachedGlyph
{
  TextGlyph glyph; // coverage points into pixels
  std::vector<unsigned char> pixels;
};

// A glyph placed on a line: pen position in 1/64 pixel.
struct TextPlaced
{
  unsigned index;
  long pen;
  TextGlyph glyph;
};

// One code point of a laid-out line: the text unit it ends before, and
// how many glyphs were placed ahead of it.
struct TextCodepoint
{
  uint32_t unitEnd;
  uint32_t placedBefore;
};

struct TextStyle
{
  ~TextStyle();
  FT_Face face = nullptr;
  std::string file;
  double size = 0;
  bool found = false;
  bool underline = false;

  std::mutex lock;
  std::unordered_map<uint32_t, unsigned> indexOf; // code point to glyph
  std::unordered_map<unsigned, TextCachedGlyph> glyphs;
  std::unordered_map<uint64_t, long> kerning; // (left << 32 | right) to 1/64 pixel
  // The line laid out under the lock, kept between lines so that steady
  // drawing allocates nothing.
  std::vector<TextPlaced> placed;
  std::vector<TextCodepoint> codepoints;
  std::vector<unsigned char> mask;
  std::vector<int32_t> columns;
  uint64_t colourKey = ~uint64_t(0);
  unsigned char colours[256][4];
};

// Both need the style's lock held.
// The glyph of a code point (index 0, the missing-glyph box, when the face
// lacks it); null when FreeType cannot load it.
const TextGlyph* textGlyphOf(TextStyle* style, uint32_t codepoint, unsigned* index);
// Kerning between two glyphs in 1/64 pixel (0 when the face has none).
long textKerning(TextStyle* style, unsigned left, unsigned right);
