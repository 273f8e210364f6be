// Text against the font file itself: the fallback face is pinned, and
// widths are checked against design advances read straight from it.

#include <ft2build.h>
#include FT_FREETYPE_H
#include <sys/stat.h>

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/coregraphics/CGBitmapContext.h"
#include "platform/text/TextLayout.h"

namespace
{

const char kDejaVu[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::vector<TextUnit> units(const char* ascii)
{
  return std::vector<TextUnit>(ascii, ascii + strlen(ascii));
}

// Design advances plus kerning, in font units, read without our code.
long designWidth(const char* text)
{
  FT_Library lib;
  FT_Face face;
  EXPECT_EQ(FT_Init_FreeType(&lib), 0);
  EXPECT_EQ(FT_New_Face(lib, kDejaVu, 0, &face), 0);
  long w = 0;
  unsigned prev = 0;
  for (const char* p = text; *p; ++p)
  {
    unsigned gi = FT_Get_Char_Index(face, FT_ULong(*p));
    FT_Load_Glyph(face, gi, FT_LOAD_NO_SCALE);
    FT_Vector k{0, 0};
    if (prev && FT_HAS_KERNING(face))
      FT_Get_Kerning(face, prev, gi, FT_KERNING_UNSCALED, &k);
    w += face->glyph->advance.x + k.x;
    prev = gi;
  }
  FT_Done_Face(face);
  FT_Done_FreeType(lib);
  return w;
}

TEST(TextStyleFaces, MissingFacesFallBackToThePinnedDejaVuSans)
{
  struct stat st;
  ASSERT_EQ(stat(kDejaVu, &st), 0);
  ASSERT_EQ(st.st_size, 759720) << "the fallback font file changed: widths in these tests depend on it";

  TextStyleRef arial = TextStyleCreate("Arial", 10, false, false, false);
  ASSERT_TRUE(arial);
  EXPECT_FALSE(TextStyleFaceFound(arial));
  EXPECT_STREQ(TextStyleFontFile(arial), kDejaVu);
  TextStyleRef dejavu = TextStyleCreate("dejavu sans", 10, false, false, false);
  EXPECT_TRUE(TextStyleFaceFound(dejavu));
  TextStyleRef bold = TextStyleCreate("No Such Face", 10, true, false, false);
  EXPECT_NE(std::string(TextStyleFontFile(bold)).find("DejaVuSans-Bold.ttf"), std::string::npos);
  EXPECT_EQ(TextStyleCreate("Arial", 0, false, false, false), nullptr);
  // A face FreeType cannot set at that size (above 65535 pixels) is given
  // back and refused, without waiting on the lock its own set-up holds.
  EXPECT_EQ(TextStyleCreate("DejaVu Sans", 70000, false, false, false), nullptr);
  TextStyleDispose(arial);
  TextStyleDispose(dejavu);
  TextStyleDispose(bold);
}

TEST(TextStyleMetrics, DesignMetricsScaledToTheSize)
{
  // DejaVu Sans: 2048 units an em, ascender 1901, descender -483, line 2384.
  TextStyleRef s = TextStyleCreate("DejaVu Sans", 2048, false, false, false);
  double a, d, l;
  TextStyleGetLineMetrics(s, &a, &d, &l);
  EXPECT_DOUBLE_EQ(a, 1901);
  EXPECT_DOUBLE_EQ(d, 483);
  EXPECT_DOUBLE_EQ(l, 0);
  TextStyleDispose(s);
}

TEST(TextMeasure, WidthIsTheAdvancesPlusKerning)
{
  // At 2048 points one font unit is one pixel.
  TextStyleRef s = TextStyleCreate("DejaVu Sans", 2048, false, false, false);
  for (const char* t : {"AVAWAY To", "Kestrel 2.0 -12 dB", "i"})
  {
    std::vector<TextUnit> u = units(t);
    EXPECT_DOUBLE_EQ(TextMeasureWidth(s, u.data(), u.size()), double(designWidth(t))) << t;
  }
  TextUnit control[] = {'a', '\n', '\t', 'a'};
  TextUnit plain[] = {'a', 'a'};
  EXPECT_EQ(TextMeasureWidth(s, control, 4), TextMeasureWidth(s, plain, 2));
  TextStyleDispose(s);
}

TEST(TextTruncate, CutTextFitsAndEndsWithAnEllipsis)
{
  TextStyleRef s = TextStyleCreate("Arial", 12, false, false, false);
  std::vector<TextUnit> u = units("Release time in milliseconds");
  double full = TextMeasureWidth(s, u.data(), u.size());
  EXPECT_EQ(TextTruncateEnd(s, u.data(), u.size(), full).size(), u.size());
  std::vector<TextUnit> cut = TextTruncateEnd(s, u.data(), u.size(), 60);
  ASSERT_GE(cut.size(), 2u);
  EXPECT_EQ(cut.back(), 0x2026);
  EXPECT_LE(TextMeasureWidth(s, cut.data(), cut.size()), 60);
  // One more character would not have fitted.
  std::vector<TextUnit> longer(u.begin(), u.begin() + cut.size());
  longer.push_back(0x2026);
  EXPECT_GT(TextMeasureWidth(s, longer.data(), longer.size()), 60);
  EXPECT_TRUE(TextTruncateEnd(s, u.data(), u.size(), 1).empty());
  TextStyleDispose(s);
}

TEST(TextTruncate, TheCutLineMeasuresAsTheCutTextLaidOutAfresh)
{
  // Surrogate pairs, so some cuts fall between the halves of one.
  TextStyleRef s = TextStyleCreate("Arial", 12, false, false, false);
  std::vector<TextUnit> u = {'a', 0xD83D, 0xDE00, 'W', 0xD83D, 0xDE00, 0xD83D, 0xDE00, 'V', 'A', '.'};
  bool halfPair = false;
  for (double max = 0; max <= TextMeasureWidth(s, u.data(), u.size()); max += 0.25)
  {
    double cutWidth = [&] {
      TextLine line(s, u.data(), u.size());
      line.TruncateEnd(max);
      return line.Width();
    }();
    std::vector<TextUnit> cut = TextTruncateEnd(s, u.data(), u.size(), max);
    EXPECT_EQ(cutWidth, TextMeasureWidth(s, cut.data(), cut.size())) << max;
    halfPair |= cut.size() >= 2 && cut[cut.size() - 2] == 0xD83D;
  }
  EXPECT_TRUE(halfPair);
  TextStyleDispose(s);
}

struct Canvas
{
  Canvas(size_t w, size_t h) : width(w), height(h), bytes(w * h * 4)
  {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    ctx = CGBitmapContextCreate(bytes.data(), w, h, 8, w * 4, space, kCGImageAlphaNoneSkipFirst);
    CGColorSpaceRelease(space);
  }
  ~Canvas() { CGContextRelease(ctx); }
  // Ink bounds in device coordinates (y up): x0, y0, x1, y1 inclusive.
  std::vector<long> ink() const
  {
    std::vector<long> b = {long(width), long(height), -1, -1};
    for (size_t row = 0; row < height; ++row)
      for (size_t x = 0; x < width; ++x)
        if (bytes[(row * width + x) * 4 + 1])
        {
          long y = long(height - 1 - row);
          b = {std::min(b[0], long(x)), std::min(b[1], y), std::max(b[2], long(x)), std::max(b[3], y)};
        }
    return b;
  }
  size_t width, height;
  std::vector<unsigned char> bytes;
  CGContextRef ctx;
};

TEST(TextDraw, InkSitsOnTheBaselineInsideTheClip)
{
  TextStyleRef s = TextStyleCreate("Arial", 20, false, false, false);
  const double red[4] = {1, 0, 0, 1};
  Canvas c(80, 40);
  std::vector<TextUnit> h = units("HH");
  TextDrawLine(c.ctx, s, h.data(), h.size(), 10, 12, red, 0);
  std::vector<long> b = c.ink();
  // Capitals stand on the baseline (row 12 up) and fit the measured width.
  EXPECT_EQ(b[1], 12);
  EXPECT_GE(b[0], 10);
  EXPECT_LE(b[2], 10 + long(TextMeasureWidth(s, h.data(), h.size())));
  EXPECT_GT(b[3], 12 + 10);

  Canvas clipped(80, 40);
  CGContextClipToRect(clipped.ctx, CGRectMake(0, 0, 20, 40));
  TextDrawLine(clipped.ctx, s, h.data(), h.size(), 10, 12, red, 0);
  EXPECT_LE(clipped.ink()[2], 19);

  // A NaN component counts as 0, as in every other colour the context takes.
  const double nanRed[4] = {std::nan(""), 0, 0, 1};
  Canvas unred(80, 40);
  TextDrawLine(unred.ctx, s, h.data(), h.size(), 10, 12, nanRed, 0);
  EXPECT_EQ(unred.ink()[2], -1);

  // Turned a quarter counter-clockwise, the line runs upward from the pen.
  Canvas turned(40, 80);
  TextDrawLine(turned.ctx, s, h.data(), h.size(), 30, 10, red, 90);
  b = turned.ink();
  EXPECT_GE(b[1], 10);
  EXPECT_LE(b[2], 30);
  EXPECT_GT(b[3], 30);
  TextStyleDispose(s);
}

TEST(TextDraw, CoverageIsTheGlyphsAddedUpWhereTheyOverlap)
{
  // White on black shows the coverage itself. Raw FreeType gives the same
  // glyphs at the kerned pen positions rounded to pixels.
  const char* text = "AVAWAY fjT,";
  TextStyleRef s = TextStyleCreate("DejaVu Sans", 24, false, false, false);
  Canvas c(200, 40);
  std::vector<TextUnit> u = units(text);
  const double white[4] = {1, 1, 1, 1};
  TextDrawLine(c.ctx, s, u.data(), u.size(), 10, 12, white, 0);
  TextStyleDispose(s);
  FT_Library lib;
  FT_Face face;
  FT_Init_FreeType(&lib);
  FT_New_Face(lib, kDejaVu, 0, &face);
  FT_Set_Char_Size(face, 0, 24 * 64, 72, 72);
  std::vector<int> want(200 * 40);
  for (long i = 0, pen = 0; text[i]; pen += face->glyph->advance.x, ++i)
  {
    FT_Vector k{0, 0};
    if (i)
      FT_Get_Kerning(face, FT_Get_Char_Index(face, FT_ULong(text[i - 1])), FT_Get_Char_Index(face, FT_ULong(text[i])),
                     FT_KERNING_UNFITTED, &k);
    pen += k.x;
    FT_Load_Char(face, FT_ULong(text[i]), FT_LOAD_NO_HINTING | FT_LOAD_RENDER);
    const FT_Bitmap& b = face->glyph->bitmap;
    for (unsigned y = 0; y < b.rows; ++y)
      for (unsigned x = 0; x < b.width; ++x)
      {
        int& v = want[size_t(28 - face->glyph->bitmap_top + int(y)) * 200 +
                      size_t(10 + ((pen + 32) >> 6) + face->glyph->bitmap_left + x)];
        v = std::min(255, v + b.buffer[y * unsigned(b.pitch) + x]);
      }
  }
  FT_Done_FreeType(lib);
  for (size_t i = 0; i < want.size(); ++i)
    ASSERT_EQ(c.bytes[i * 4 + 1], want[i]) << "pixel " << i % 200 << ", row " << i / 200;
}

} // namespace
