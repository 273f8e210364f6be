#include <png.h>

#include <cfloat>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "gdi_test_canvas.h"
#include "platform/cocoa/NSGraphicsContext.h"
#include "platform/cocoa/NSImage.h"

namespace
{

// Pixel (x, y) of a source gets colour 0x00RRGGBB = (x + 1) << 16 | (y + 1) << 8.
void paintGrid(Canvas& c)
{
  auto* p = static_cast<uint8_t*>(SWELL_GetCtxFrameBuffer(c.dc));
  for (int y = 0; y < c.h; ++y)
    for (int x = 0; x < c.w; ++x)
    {
      uint8_t* q = p + (y * c.w + x) * 4;
      q[0] = 255;
      q[1] = uint8_t(x + 1);
      q[2] = uint8_t(y + 1);
      q[3] = 0;
    }
}

int grid(int x, int y)
{
  return (x + 1) << 16 | (y + 1) << 8;
}

TEST(GdiCopies, BitBltKeepsOrientationAndCrops)
{
  Canvas src(4, 3), dst(8, 8);
  paintGrid(src);
  BitBlt(dst.dc, 1, 2, 4, 3, src.dc, 0, 0, 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      ASSERT_EQ(dst.rgb(1 + x, 2 + y), grid(x, y)) << x << "," << y;
  EXPECT_EQ(dst.rgb(0, 2), 0);
  EXPECT_EQ(dst.rgb(1, 5), 0);

  Canvas part(8, 8);
  BitBlt(part.dc, 0, 0, 5, 5, src.dc, 2, 1, 0); // crop runs past the source: cut to 2 x 2
  EXPECT_EQ(part.rgb(0, 0), grid(2, 1));
  EXPECT_EQ(part.rgb(1, 1), grid(3, 2));
  EXPECT_EQ(part.ink().right, 1);
  EXPECT_EQ(part.ink().bottom, 1);
  BitBlt(part.dc, 0, 0, 0, 5, src.dc, 0, 0, 0);
  BitBlt(part.dc, 0, 0, 5, 5, nullptr, 0, 0, 0);
}

TEST(GdiCopies, StretchBltScalesTheCroppedPart)
{
  Canvas src(4, 3), dst(8, 8);
  paintGrid(src);
  StretchBlt(dst.dc, 0, 0, 4, 4, src.dc, 1, 1, 2, 2, 0);
  EXPECT_EQ(dst.rgb(0, 0), grid(1, 1));
  EXPECT_EQ(dst.rgb(1, 1), grid(1, 1));
  EXPECT_EQ(dst.rgb(2, 0), grid(2, 1));
  EXPECT_EQ(dst.rgb(3, 3), grid(2, 2));
  EXPECT_EQ(dst.rgb(4, 0), 0);
}

TEST(GdiCopies, AlphaCopiesPremultiply)
{
  // One source pixel A 128, R 200, G 100, B 0.
  const uint8_t px[4] = {128, 200, 100, 0};
  Canvas black(1, 1);
  BitBltAlphaFromMem(black.dc, 0, 0, 1, 1, px, 1, 1, 0, 0, 0, true, 1.0f);
  // k = 256: alpha 128, colour c * 128 >> 8 over black.
  EXPECT_EQ(black.rgb(0, 0), 100 << 16 | 50 << 8);

  Canvas white(1, 1);
  HGDIOBJ w = CreateSolidBrush(0xffffff);
  RECT r = {0, 0, 1, 1};
  SWELL_FillRect(white.dc, &r, w);
  DeleteObject(w);
  // Without source alpha at opacity 0.5: k = 128 for every pixel, then
  // 128 * c >> 8 + 255 * 127 / 255 of the white under it.
  BitBltAlphaFromMem(white.dc, 0, 0, 1, 1, px, 1, 1, 0, 0, 0, false, 0.5f);
  EXPECT_EQ(white.rgb(0, 0), (100 + 127) << 16 | (50 + 127) << 8 | 127);
  BitBltAlphaFromMem(white.dc, 0, 0, 1, 1, px, 1, 1, 0, 0, 0, false, 0.00001f);
  EXPECT_EQ(white.rgb(0, 0), (100 + 127) << 16 | (50 + 127) << 8 | 127);
  // 255 x this opacity is 0.49999997f: with the half added in double the weight is 0 (in float it would be 1).
  BitBltAlphaFromMem(white.dc, 0, 0, 1, 1, px, 1, 1, 0, 0, 0, false, 0.0019607842f);
  EXPECT_EQ(white.rgb(0, 0), (100 + 127) << 16 | (50 + 127) << 8 | 127);
}

TEST(GdiCopies, OpacityAboveOneCopiesAsOneAndNaNDrawsNothing)
{
  const uint8_t px[4] = {128, 200, 100, 0};
  const int withAlpha = 100 << 16 | 50 << 8, flat = 200 << 16 | 100 << 8;
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  const struct
  {
    float opacity;
    bool useSrcAlpha;
    int expected;
  } cases[] = {
    {1.0f, true, withAlpha}, {8.4e6f, true, withAlpha}, {1e10f, true, withAlpha},
    {inf, true, withAlpha},  {FLT_MAX, false, flat},    {inf, false, flat},
    {nan, true, 0},          {nan, false, 0},           {-inf, true, 0},
  };
  for (const auto& t : cases)
  {
    Canvas c(1, 1);
    BitBltAlphaFromMem(c.dc, 0, 0, 1, 1, px, 1, 1, 0, 0, 0, t.useSrcAlpha, t.opacity);
    EXPECT_EQ(c.rgb(0, 0), t.expected) << t.opacity << (t.useSrcAlpha ? " with" : " without") << " source alpha";
  }
}

TEST(GdiCopies, AlphaCopiesClipToTheSourceAndReadBottomUpSpans)
{
  // Two rows of two opaque pixels; row 0 red 101, row 1 red 202.
  const uint8_t rows[16] = {255, 101, 0, 0, 255, 101, 0, 0, 255, 202, 0, 0, 255, 202, 0, 0};
  Canvas c(4, 4);
  BitBltAlphaFromMem(c.dc, 0, 0, 4, 4, rows, -2, 2, 0, 0, 0, true, 1.0f);
  // Bottom-up: the first row drawn is the last in memory; A 255 gives c * 255 >> 8.
  EXPECT_EQ(c.rgb(0, 0) >> 16, 201);
  EXPECT_EQ(c.rgb(0, 1) >> 16, 100);
  EXPECT_EQ(c.rgb(0, 2), 0);
  EXPECT_EQ(c.ink().right, 1);
  Canvas d(4, 4);
  // A negative source origin shifts the destination instead.
  BitBltAlphaFromMem(d.dc, 0, 0, 3, 3, rows, 2, 2, -1, -1, 0, false, 0.5f);
  EXPECT_EQ(d.ink().left, 1);
  EXPECT_EQ(d.ink().top, 1);
  EXPECT_EQ(d.ink().right, 2);
}

TEST(GdiCopies, BitBltAlphaOpaqueIsAPlainCopy)
{
  Canvas src(2, 2), a(2, 2), b(2, 2);
  paintGrid(src);
  BitBlt(a.dc, 0, 0, 2, 2, src.dc, 0, 0, 0);
  BitBltAlpha(b.dc, 0, 0, 2, 2, src.dc, 0, 0, 0, false, 1.0f);
  EXPECT_EQ(memcmp(SWELL_GetCtxFrameBuffer(a.dc), SWELL_GetCtxFrameBuffer(b.dc), 16), 0);
}

std::string writePng(const char* name, const std::vector<uint8_t>& rgba, int w, int h)
{
  std::string path = testing::TempDir() + name;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = png_uint_32(w);
  img.height = png_uint_32(h);
  img.format = PNG_FORMAT_RGBA;
  EXPECT_TRUE(png_image_write_to_file(&img, path.c_str(), 0, rgba.data(), 0, nullptr));
  return path;
}

TEST(GdiImages, NamedImagesMagentaAndDrawing)
{
  // 2 x 2: magenta, green / blue, white; all opaque.
  std::string path =
    writePng("gdi_named.png", {255, 0, 255, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255}, 2, 2);
  HGDIOBJ plain = LoadNamedImage(path.c_str(), false);
  HGDIOBJ keyed = LoadNamedImage(path.c_str(), true);
  ASSERT_TRUE(plain && keyed);
  int wh[2];
  EXPECT_EQ(GetObject(keyed, sizeof wh, wh), 1);
  EXPECT_EQ(wh[0], 2);
  EXPECT_EQ(wh[1], 2);
  EXPECT_TRUE(GetNSImageFromHICON(plain));

  Canvas c(4, 4), k(4, 4);
  RECT r = {0, 0, 4, 4};
  DrawImageInRect(c.dc, plain, &r);
  DrawImageInRect(k.dc, keyed, &r);
  EXPECT_EQ(c.rgb(0, 0), 0xff00ff); // upright: the first row on top
  EXPECT_EQ(c.rgb(3, 0), 0x00ff00);
  EXPECT_EQ(c.rgb(0, 3), 0x0000ff);
  EXPECT_EQ(k.rgb(0, 0), 0); // magenta became transparent
  EXPECT_EQ(k.rgb(3, 3), 0xffffff);
  EXPECT_EQ(NSGraphicsContext::currentContext(), nullptr);

  // Without a path, only registered names are found.
  EXPECT_EQ(LoadNamedImage("gdi_named", false), nullptr);
  EXPECT_EQ(LoadNamedImage("", false), nullptr);
  plain->image->setName("gdi_named");
  HGDIOBJ byName = LoadNamedImage("gdi_named", false);
  ASSERT_TRUE(byName);
  EXPECT_EQ(byName->param, 0); // the named cache keeps it
  DeleteObject(byName);
  DeleteObject(plain);
  DeleteObject(keyed);
  EXPECT_TRUE(NSImage::imageNamed("gdi_named"));
}

} // namespace
