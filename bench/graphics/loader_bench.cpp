// Image decoding next to the bare libraries in the same run: LICE_LoadPNG /
// LICE_LoadJPG against a plain png_read_image or jpeg_read_scanlines loop
// over the same file.

#include <png.h>
#include <setjmp.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <benchmark/benchmark.h>

#include "graphics/lice.h"

namespace
{

// Smooth gradients with a little texture, like rendered control artwork.
std::vector<unsigned char> artwork(int w, int h, int comps)
{
  std::vector<unsigned char> px(size_t(w) * h * comps);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < comps; ++c)
        px[(size_t(y) * w + x) * comps + c] = (unsigned char)((x * (c + 1) + y * 3 + ((x * y) >> 5) % 7) & 255);
  return px;
}

std::string tempPath(const std::string& name)
{
  return "/tmp/kestrel_bench_" + name;
}

std::string pngFile(int w, int h)
{
  std::string path = tempPath("png_" + std::to_string(w) + "x" + std::to_string(h) + ".png");
  std::vector<unsigned char> px = artwork(w, h, 4);
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  img.width = png_uint_32(w);
  img.height = png_uint_32(h);
  img.format = PNG_FORMAT_RGBA;
  png_image_write_to_file(&img, path.c_str(), 0, px.data(), 0, nullptr);
  return path;
}

std::string jpegFile(int w, int h, bool progressive)
{
  std::string path = tempPath(std::string("jpg_") + (progressive ? "p" : "b") + std::to_string(w) + ".jpg");
  std::vector<unsigned char> px = artwork(w, h, 3);
  FILE* f = fopen(path.c_str(), "wb");
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = JDIMENSION(w);
  c.image_height = JDIMENSION(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 90, TRUE);
  if (progressive)
    jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height)
  {
    JSAMPROW row = px.data() + size_t(c.next_scanline) * w * 3;
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  fclose(f);
  return path;
}

// libpng alone: the same file into a reused buffer, alpha moved first.
bool barePng(const char* path, std::vector<unsigned char>& buf, std::vector<png_bytep>& rows)
{
  FILE* fp = fopen(path, "rb");
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)))
  {
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(fp);
    return false;
  }
  png_init_io(png, fp);
  png_read_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  png_set_swap_alpha(png);
  png_read_update_info(png, info);
  buf.resize(size_t(w) * h * 4);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; ++y)
    rows[y] = buf.data() + size_t(y) * w * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  fclose(fp);
  return true;
}

// libjpeg alone: the same file into a reused image buffer.
void bareJpeg(const char* path, std::vector<unsigned char>& image)
{
  FILE* fp = fopen(path, "rb");
  jpeg_decompress_struct d;
  jpeg_error_mgr err;
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_stdio_src(&d, fp);
  jpeg_read_header(&d, TRUE);
  jpeg_start_decompress(&d);
  size_t span = size_t(d.output_width) * d.output_components;
  image.resize(span * d.output_height);
  while (d.output_scanline < d.output_height)
  {
    JSAMPROW row = image.data() + d.output_scanline * span;
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  fclose(fp);
}

void setPixels(benchmark::State& state, int w, int h)
{
  state.counters["ns/pixel"] =
    benchmark::Counter(double(w) * h, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_LoadPNG(benchmark::State& state)
{
  int w = int(state.range(0)), h = int(state.range(1));
  std::string path = pngFile(w, h);
  LICE_MemBitmap bm;
  LICE_LoadPNG(path.c_str(), &bm); // pixel pages touched outside the timing, as for the bare loop
  for (auto _ : state)
    benchmark::DoNotOptimize(LICE_LoadPNG(path.c_str(), &bm));
  setPixels(state, w, h);
}

void BM_BarePNG(benchmark::State& state)
{
  int w = int(state.range(0)), h = int(state.range(1));
  std::string path = pngFile(w, h);
  std::vector<unsigned char> buf;
  std::vector<png_bytep> rows;
  barePng(path.c_str(), buf, rows);
  for (auto _ : state)
    benchmark::DoNotOptimize(barePng(path.c_str(), buf, rows));
  setPixels(state, w, h);
}

void BM_LoadJPG(benchmark::State& state)
{
  std::string path = jpegFile(4096, 4096, state.range(0) != 0);
  LICE_MemBitmap bm;
  LICE_LoadJPG(path.c_str(), &bm);
  for (auto _ : state)
    benchmark::DoNotOptimize(LICE_LoadJPG(path.c_str(), &bm));
  setPixels(state, 4096, 4096);
}

void BM_BareJPG(benchmark::State& state)
{
  std::string path = jpegFile(4096, 4096, state.range(0) != 0);
  std::vector<unsigned char> image;
  bareJpeg(path.c_str(), image);
  for (auto _ : state)
    bareJpeg(path.c_str(), image);
  setPixels(state, 4096, 4096);
}

} // namespace

BENCHMARK(BM_LoadPNG)->Args({700, 249})->Args({4096, 4096})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BarePNG)->Args({700, 249})->Args({4096, 4096})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadJPG)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareJPG)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
