#include "platform/coregraphics/CGImagePNG.h"

#include <png.h>

#include <cstdio>
#include <new>
#include <vector>

namespace
{

// One image row as R, G, B, A, not premultiplied.
void toRGBA(const unsigned char* src, size_t width, CGBitmapInfo info, unsigned char* dst)
{
  bool premultiplied = (info & kCGBitmapAlphaInfoMask) == kCGImageAlphaPremultipliedFirst;
  for (size_t x = 0; x < width; ++x, src += 4, dst += 4)
  {
    unsigned a = premultiplied ? src[0] : 255;
    for (int i = 0; i < 3; ++i)
    {
      unsigned c = src[i + 1];
      if (premultiplied)
        c = a ? (c * 255 + a / 2) / a : 0;
      dst[i] = (unsigned char)(c > 255 ? 255 : c);
    }
    dst[3] = (unsigned char)a;
  }
}

// Kept apart from the C++ objects of the caller: longjmp must not cross
// anything with a destructor.
bool encode(FILE* fp, size_t width, size_t height, png_bytep* rows)
{
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info)
  {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, fp);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_rows(png, info, rows);
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

} // namespace

bool CGImageWritePNG(CGImageRef image, const char* path)
{
  const unsigned char* bytes = CGImageGetBytes(image);
  if (!bytes || !path)
    return false;
  size_t width = CGImageGetWidth(image), height = CGImageGetHeight(image), span = CGImageGetBytesPerRow(image);
  std::vector<unsigned char> pixels;
  std::vector<png_bytep> rows;
  try
  {
    pixels.resize(width * height * 4);
    rows.resize(height);
  }
  catch (const std::bad_alloc&)
  {
    return false;
  }
  for (size_t y = 0; y < height; ++y)
  {
    rows[y] = pixels.data() + y * width * 4;
    toRGBA(bytes + y * span, width, CGImageGetBitmapInfo(image), rows[y]);
  }
  FILE* fp = fopen(path, "wb");
  if (!fp)
    return false;
  bool ok = encode(fp, width, height, rows.data());
  if (fclose(fp) != 0)
    ok = false;
  if (!ok)
    remove(path);
  return ok;
}
