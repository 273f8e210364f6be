#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cg_test_bitmap.h"
#include "platform/coregraphics/CGImagePNG.h"

namespace
{

std::string tempPath(const char* name)
{
  return ::testing::TempDir() + name + std::to_string(::getpid()) + ".png";
}

// RGBA bytes of a PNG file, read by libpng independently of the writer.
std::vector<uint8_t> readRGBA(const std::string& path, png_uint_32* w, png_uint_32* h)
{
  png_image img = {};
  img.version = PNG_IMAGE_VERSION;
  std::vector<uint8_t> out;
  if (!png_image_begin_read_from_file(&img, path.c_str()))
    return out;
  img.format = PNG_FORMAT_RGBA;
  out.resize(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, out.data(), 0, nullptr))
    out.clear();
  *w = img.width;
  *h = img.height;
  return out;
}

} // namespace

TEST(CGImageWritePNG, SkipFirstIsOpaqueAndPremultipliedIsDividedBack)
{
  TestBitmap skip(2, 1, kCGImageAlphaNoneSkipFirst);
  skip.bytes = {0x00, 10, 20, 30, 0xFF, 40, 50, 60}; // X is ignored either way
  TestBitmap pre(1, 1, kCGImageAlphaPremultipliedFirst);
  pre.bytes = {128, 64, 128, 0}; // half alpha: colour doubles back

  struct Case
  {
    TestBitmap* bm;
    std::vector<uint8_t> rgba;
  } cases[] = {{&skip, {10, 20, 30, 255, 40, 50, 60, 255}}, {&pre, {(64 * 255 + 64) / 128, 255, 0, 128}}};
  for (Case& c : cases)
  {
    CGImageRef image = CGBitmapContextCreateImage(c.bm->ctx);
    std::string path = tempPath("cg_png_");
    ASSERT_TRUE(CGImageWritePNG(image, path.c_str()));
    CGImageRelease(image);
    png_uint_32 w = 0, h = 0;
    EXPECT_EQ(readRGBA(path, &w, &h), c.rgba);
    EXPECT_EQ(w, c.bm->width);
    EXPECT_EQ(h, 1u);
    remove(path.c_str());
  }
}
