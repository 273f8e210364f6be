#include "image_files.h"

#include <png.h>
#include <setjmp.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <jpeglib.h>

#include <gtest/gtest.h>

namespace
{

void appendBytes(png_structp png, png_bytep data, size_t n)
{
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

int channels(int colorType)
{
  switch (colorType)
  {
  case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
  case PNG_COLOR_TYPE_RGB: return 3;
  case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
  default: return 1;
  }
}

// One row packed as the file stores it.
Bytes packRow(const PngSpec& s, int y)
{
  int n = s.width * channels(s.colorType);
  const unsigned* v = s.samples.data() + size_t(y) * n;
  Bytes row((size_t(n) * s.depth + 7) / 8, 0);
  for (int i = 0; i < n; ++i)
  {
    if (s.depth == 16)
    {
      row[2 * i] = (unsigned char)(v[i] >> 8);
      row[2 * i + 1] = (unsigned char)v[i];
    }
    else if (s.depth == 8)
    {
      row[i] = (unsigned char)v[i];
    }
    else
    {
      int bit = i * s.depth;
      row[bit / 8] |= (unsigned char)(v[i] << (8 - s.depth - bit % 8));
    }
  }
  return row;
}

} // namespace

Bytes encodePng(const PngSpec& s)
{
  Bytes out;
  std::vector<Bytes> rows;
  for (int y = 0; y < s.height; ++y)
    rows.push_back(packRow(s, y));
  std::vector<png_bytep> ptrs;
  for (Bytes& r : rows)
    ptrs.push_back(r.data());

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("png encode");
  }
  png_set_write_fn(png, &out, appendBytes, nullptr);
  png_set_IHDR(png, info, s.width, s.height, s.depth, s.colorType,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> pal;
  for (size_t i = 0; i + 2 < s.palette.size(); i += 3)
    pal.push_back({s.palette[i], s.palette[i + 1], s.palette[i + 2]});
  if (!pal.empty())
    png_set_PLTE(png, info, pal.data(), int(pal.size()));
  if (!s.paletteAlpha.empty())
  {
    png_set_tRNS(png, info, s.paletteAlpha.data(), int(s.paletteAlpha.size()), nullptr);
  }
  else if (s.hasTrns)
  {
    png_color_16 c{};
    c.gray = png_uint_16(s.trnsGray);
    c.red = png_uint_16(s.trnsR);
    c.green = png_uint_16(s.trnsG);
    c.blue = png_uint_16(s.trnsB);
    png_set_tRNS(png, info, nullptr, 0, &c);
  }
  png_set_rows(png, info, ptrs.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes encodeJpeg(int width, int height, int components, const std::vector<unsigned char>& samples, bool progressive,
                 int quality)
{
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = JDIMENSION(width);
  c.image_height = JDIMENSION(height);
  c.input_components = components;
  c.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (progressive)
    jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height)
  {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t(c.next_scanline) * width * components);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(mem, mem + size);
  free(mem);
  return out;
}

std::vector<unsigned char> decodeJpegReference(const Bytes& file, int* width, int* height, int* components)
{
  jpeg_decompress_struct d;
  jpeg_error_mgr err;
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, file.data(), (unsigned long)file.size());
  jpeg_read_header(&d, TRUE);
  jpeg_start_decompress(&d);
  *width = int(d.output_width);
  *height = int(d.output_height);
  *components = d.output_components;
  std::vector<unsigned char> out(size_t(*width) * *height * *components);
  while (d.output_scanline < d.output_height)
  {
    JSAMPROW row = out.data() + size_t(d.output_scanline) * *width * *components;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return out;
}

std::string writeTempFile(const std::string& name, const Bytes& bytes)
{
  std::string path = testing::TempDir() + "lice_" + std::to_string(getpid()) + "_" + name;
  FILE* f = fopen(path.c_str(), "wb");
  if (!f)
    throw std::runtime_error("cannot write " + path);
  if (!bytes.empty())
    fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  return path;
}

std::vector<size_t> pngChunkBoundaries(const Bytes& file)
{
  std::vector<size_t> at;
  size_t p = 8;
  while (p + 8 <= file.size())
  {
    at.push_back(p);
    uint32_t len = uint32_t(file[p]) << 24 | uint32_t(file[p + 1]) << 16 | uint32_t(file[p + 2]) << 8 | file[p + 3];
    p += 12 + size_t(len);
  }
  at.push_back(file.size());
  return at;
}

long childPeakGrowthKB(const std::function<void()>& work)
{
  long peak[2] = {-1, -1}; // idle, busy
  for (int busy = 0; busy < 2; ++busy)
  {
    pid_t pid = fork();
    if (pid == 0)
    {
      if (busy)
        work();
      _exit(0);
    }
    int status = 0;
    rusage usage{};
    if (pid > 0 && wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status))
      peak[busy] = usage.ru_maxrss;
  }
  return peak[0] < 0 || peak[1] < 0 ? -1 : peak[1] - peak[0];
}
