#pragma once
// Image files made inside the tests with libpng and libjpeg, so the
// loaders are checked against pixels we chose ourselves.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// Samples as libpng takes them for the type and depth (16-bit big-endian,
// sub-byte depths packed high bits first); rows are width * channels
// samples each, before packing.
struct PngSpec
{
  int width = 1, height = 1;
  int colorType = 0; // PNG_COLOR_TYPE_*
  int depth = 8;
  bool interlaced = false;
  std::vector<unsigned> samples;           // height * width * channels
  std::vector<unsigned char> palette;      // r, g, b per entry
  std::vector<unsigned char> paletteAlpha; // tRNS of a palette image
  bool hasTrns = false;
  unsigned trnsGray = 0, trnsR = 0, trnsG = 0, trnsB = 0;
};
Bytes encodePng(const PngSpec& s);

// colorSpace: 1 gray, 3 RGB, 4 CMYK; samples interleaved, height rows.
Bytes encodeJpeg(int width, int height, int components, const std::vector<unsigned char>& samples, bool progressive,
                 int quality = 90);
// The pixels a bare libjpeg decode gives (output components per pixel).
std::vector<unsigned char> decodeJpegReference(const Bytes& file, int* width, int* height, int* components);

// Writes bytes to a file under the test temp folder and returns its path.
std::string writeTempFile(const std::string& name, const Bytes& bytes);

// Offsets of every chunk start in a PNG file, then its length.
std::vector<size_t> pngChunkBoundaries(const Bytes& file);

// How far, in kilobytes, running work in a forked child raised its peak
// resident memory above that of a child doing nothing; -1 on failure.
long childPeakGrowthKB(const std::function<void()>& work);

inline uint32_t argb(unsigned a, unsigned r, unsigned g, unsigned b)
{
  return a | r << 8 | g << 16 | b << 24;
}
