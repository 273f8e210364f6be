#pragma once
// One line of UTF-16 text in a style: measured as the sum of its glyph
// advances plus kerning, cut at the end to a width, and drawn into a
// Core Graphics context.
//
// Drawing works in the context's user space with y growing upward from
// the baseline: glyph coverage becomes one premultiplied image of the
// line, drawn through the transform, the clip and the context's alpha.
// As the platform's own text engine, the layer blends that image straight
// into the context's pixels, exactly as drawing it as an image would,
// unless the line is turned or the context's transform turns or shears it.

#include <vector>

#include "platform/coregraphics/CGContext.h"
#include "platform/text/TextStyle.h"

typedef uint16_t TextUnit;
struct TextPlaced;

// A line laid out once, then measured, cut and drawn from that layout. It
// holds its style's lock for its life and lays out into the style's own
// buffers, so drawing again allocates nothing (unless it is turned or
// sheared: that goes through the platform's image drawing): one line per
// style at a time on a thread. Control characters (below U+0020) take no room and
// draw nothing; unpaired surrogates draw as U+FFFD.
class TextLine
{
public:
  // A null style or text gives an empty line.
  TextLine(TextStyleRef style, const TextUnit* text, size_t n);
  ~TextLine();
  TextLine(const TextLine&) = delete;
  TextLine& operator=(const TextLine&) = delete;

  double Width() const { return double(width_) / 64.0; }
  // Cuts the end and adds an ellipsis so that the line measures at most
  // maxWidth; nothing changes when it already fits, and the line becomes
  // empty when not even the ellipsis fits. At most once per line.
  void TruncateEnd(double maxWidth);
  // The units of the text the line still draws (before any ellipsis).
  size_t KeptUnits() const { return kept_; }
  bool HasEllipsis() const { return ellipsis_; }
  // Draws with the baseline's left end at (x, y), turned counter-clockwise
  // by rotation degrees about that point, in a colour of four components
  // 0..1 (not premultiplied).
  void Draw(CGContextRef c, double x, double y, const double rgba[4], double rotation) const;

private:
  // Where the next glyph goes, in 1/64 pixel, and the glyph before it.
  struct Pen
  {
    long x = 0;
    bool started = false;
    unsigned last = 0;
  };
  // Moves the pen over a code point's glyph, kerned against the one before;
  // false (the pen unmoved) when the glyph cannot be loaded.
  bool step(Pen& pen, uint32_t codepoint, TextPlaced* at) const;
  void place(Pen& pen, uint32_t codepoint);
  // The pen after the first `units` units of the text, with the count of
  // glyphs they placed and whether the cut splits a surrogate pair.
  Pen penAfter(size_t units, size_t* glyphs, bool* halfPair) const;
  // Width in 1/64 pixel of the first `units` units followed by an ellipsis.
  long widthWithEllipsis(size_t units) const;

  TextStyle* style_;
  long width_ = 0; // 1/64 pixel
  size_t kept_;
  bool ellipsis_ = false;
};

// The calls below lay the text out once each.
double TextMeasureWidth(TextStyleRef style, const TextUnit* text, size_t n);
// The text cut at the end with an ellipsis so that it measures at most
// maxWidth; unchanged when it already fits, empty when not even the
// ellipsis fits.
std::vector<TextUnit> TextTruncateEnd(TextStyleRef style, const TextUnit* text, size_t n, double maxWidth);
void TextDrawLine(CGContextRef c, TextStyleRef style, const TextUnit* text, size_t n, double x, double y,
                  const double rgba[4], double rotation);

// For tests: false sends every line through the platform's image drawing,
// the way turned lines always go.
void TextSetDirectBlend(bool on);
