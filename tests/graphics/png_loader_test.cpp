// PNG files of every colour type and depth are made here with libpng, then
// loaded; the expected pixels come from the samples written, expanded by
// the PNG format's own rules.

#include <png.h>
#include <zlib.h>

#include <memory>

#include <gtest/gtest.h>

#include "graphics/lice.h"
#include "image_files.h"

namespace
{

struct FlippedBitmap : LICE_MemBitmap
{
  bool isFlipped() override { return true; }
};

// Refuses every size.
struct FixedBitmap : LICE_MemBitmap
{
  FixedBitmap() : LICE_MemBitmap(3, 2) {}
  bool resize(int, int) override { return false; }
};

int channelsOf(int type)
{
  return type == PNG_COLOR_TYPE_GRAY_ALPHA  ? 2
         : type == PNG_COLOR_TYPE_RGB       ? 3
         : type == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                                            : 1;
}

// A sample of `depth` bits as 8 bits: sub-byte depths scale to full range,
// 16 bits keep their high byte.
unsigned to8(unsigned v, int depth)
{
  if (depth == 16)
    return v >> 8;
  return v * 255 / ((1u << depth) - 1);
}

PngSpec makeSpec(int type, int depth, bool interlaced, bool trns)
{
  PngSpec s;
  s.width = 13;
  s.height = 7;
  s.colorType = type;
  s.depth = depth;
  s.interlaced = interlaced;
  int n = s.width * s.height * channelsOf(type);
  unsigned maxv = (1u << depth) - 1;
  int entries = type == PNG_COLOR_TYPE_PALETTE ? int(maxv < 20 ? maxv + 1 : 20) : 0;
  for (int i = 0; i < n; ++i)
  {
    unsigned v = unsigned(i * 2654435761u >> 7);
    s.samples.push_back(entries ? v % entries : v & maxv);
  }
  for (int i = 0; i < entries; ++i)
  {
    s.palette.insert(s.palette.end(),
                     {(unsigned char)(i * 11), (unsigned char)(255 - i * 7), (unsigned char)(i * 5 + 3)});
    if (trns && i < entries / 2 + 1)
      s.paletteAlpha.push_back((unsigned char)(i * 40 + 1));
  }
  if (trns && !entries)
  {
    // Make sure the transparent colour occurs: it is the first pixel's.
    s.hasTrns = true;
    s.trnsGray = s.trnsR = s.samples[0];
    if (type == PNG_COLOR_TYPE_RGB)
    {
      s.trnsG = s.samples[1];
      s.trnsB = s.samples[2];
    }
  }
  return s;
}

uint32_t expectedPixel(const PngSpec& s, int x, int y)
{
  int c = channelsOf(s.colorType);
  const unsigned* v = s.samples.data() + (size_t(y) * s.width + x) * c;
  switch (s.colorType)
  {
  case PNG_COLOR_TYPE_PALETTE: {
    const unsigned char* p = s.palette.data() + v[0] * 3;
    unsigned a = v[0] < s.paletteAlpha.size() ? s.paletteAlpha[v[0]] : 255;
    return argb(a, p[0], p[1], p[2]);
  }
  case PNG_COLOR_TYPE_GRAY: {
    unsigned g = to8(v[0], s.depth), a = s.hasTrns && v[0] == s.trnsGray ? 0 : 255;
    return argb(a, g, g, g);
  }
  case PNG_COLOR_TYPE_GRAY_ALPHA: {
    unsigned g = to8(v[0], s.depth);
    return argb(to8(v[1], s.depth), g, g, g);
  }
  case PNG_COLOR_TYPE_RGB: {
    bool clear = s.hasTrns && v[0] == s.trnsR && v[1] == s.trnsG && v[2] == s.trnsB;
    return argb(clear ? 0 : 255, to8(v[0], s.depth), to8(v[1], s.depth), to8(v[2], s.depth));
  }
  default: return argb(to8(v[3], s.depth), to8(v[0], s.depth), to8(v[1], s.depth), to8(v[2], s.depth));
  }
}

void expectPixels(const PngSpec& s, LICE_IBitmap* bm)
{
  ASSERT_EQ(bm->getWidth(), s.width);
  ASSERT_EQ(bm->getHeight(), s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      ASSERT_EQ(LICE_GetPixel(bm, x, y), expectedPixel(s, x, y)) << "at " << x << "," << y;
}

struct Format
{
  int type, depth;
};

class PngFormats : public testing::TestWithParam<std::tuple<Format, bool, bool>>
{
};

TEST_P(PngFormats, LoadsEveryPixelAsARGB)
{
  auto [fmt, interlaced, trns] = GetParam();
  PngSpec s = makeSpec(fmt.type, fmt.depth, interlaced, trns);
  std::string path = writeTempFile("fmt.png", encodePng(s));

  std::unique_ptr<LICE_IBitmap> made(LICE_LoadPNG(path.c_str(), nullptr));
  ASSERT_TRUE(made);
  expectPixels(s, made.get());

  // Into a flipped bitmap of another size: upright and resized.
  FlippedBitmap flipped;
  flipped.resize(40, 2);
  ASSERT_EQ(LICE_LoadPNG(path.c_str(), &flipped), &flipped);
  expectPixels(s, &flipped);

  std::unique_ptr<LICE_DeferredPNG> later(LICE_DeferredPNG::Open(path.c_str()));
  ASSERT_TRUE(later && !later->isDecoded());
  expectPixels(s, later.get()); // sized from the header, then decoded
}

INSTANTIATE_TEST_SUITE_P(WithoutAlphaChannel, PngFormats,
                         testing::Combine(testing::Values(Format{0, 1}, Format{0, 2}, Format{0, 4}, Format{0, 8},
                                                          Format{0, 16}, Format{2, 8}, Format{2, 16}, Format{3, 1},
                                                          Format{3, 2}, Format{3, 4}, Format{3, 8}),
                                          testing::Bool(), testing::Bool()));
// A transparency chunk is not allowed beside an alpha channel.
INSTANTIATE_TEST_SUITE_P(WithAlphaChannel, PngFormats,
                         testing::Combine(testing::Values(Format{4, 8}, Format{4, 16}, Format{6, 8}, Format{6, 16}),
                                          testing::Bool(), testing::Values(false)));

Bytes rgbaFile()
{
  return encodePng(makeSpec(PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false));
}

// A file whose IHDR declares w x h, with a valid CRC and nothing after it.
Bytes declaredSize(uint32_t w, uint32_t h)
{
  Bytes f = rgbaFile();
  for (int i = 0; i < 4; ++i)
  {
    f[16 + i] = (unsigned char)(w >> (24 - 8 * i));
    f[20 + i] = (unsigned char)(h >> (24 - 8 * i));
  }
  uint32_t crc = uint32_t(crc32(0, f.data() + 12, 17));
  for (int i = 0; i < 4; ++i)
    f[29 + i] = (unsigned char)(crc >> (24 - 8 * i));
  return f;
}

// Every failure: null and nothing made. The caller's bitmap keeps its size
// until the header has been read and then has the image's (13 x 7).
void expectRefused(const Bytes& file, const char* what)
{
  std::string path = writeTempFile("bad.png", file);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), nullptr), nullptr) << what;
  LICE_MemBitmap mine(5, 4);
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), &mine), nullptr) << what;
  const int w = mine.getWidth(), h = mine.getHeight();
  EXPECT_TRUE((w == 5 && h == 4) || (w == 13 && h == 7)) << what << ": " << w << " x " << h;
}

// f with a chunk of `type` declaring `length` after IHDR: body, then a CRC
// when body is all of it.
Bytes withChunk(Bytes f, const char* type, uint32_t length, const Bytes& body)
{
  auto be32 = [](uint32_t v) {
    return Bytes{Bytes::value_type(v >> 24), Bytes::value_type(v >> 16), Bytes::value_type(v >> 8),
                 Bytes::value_type(v)};
  };
  Bytes c = be32(length);
  c.insert(c.end(), type, type + 4);
  c.insert(c.end(), body.begin(), body.end());
  Bytes crc = be32(uint32_t(crc32(0, c.data() + 4, uInt(c.size() - 4))));
  if (body.size() == length)
    c.insert(c.end(), crc.begin(), crc.end());
  f.insert(f.begin() + 33, c.begin(), c.end());
  return f;
}

TEST(PngBadInput, TruncationAtEveryChunkBoundaryAndMidImageData)
{
  Bytes f = rgbaFile();
  std::vector<size_t> cuts = pngChunkBoundaries(f);
  ASSERT_GE(cuts.size(), 4u); // IHDR, IDAT, IEND, end
  cuts.pop_back();            // the whole file loads
  std::vector<size_t> more;
  for (size_t i = 0; i + 1 < cuts.size(); ++i)
    more.push_back((cuts[i] + cuts[i + 1]) / 2);
  cuts.insert(cuts.end(), more.begin(), more.end());
  cuts.push_back(4);
  for (size_t cut : cuts)
    expectRefused(Bytes(f.begin(), f.begin() + cut), ("cut at " + std::to_string(cut)).c_str());
}

TEST(PngBadInput, EmptyNonImageMissingAndCorrupt)
{
  expectRefused({}, "empty");
  expectRefused(Bytes(100, 'x'), "text");
  Bytes f = rgbaFile();
  f[f.size() / 2] ^= 0x55; // breaks the IDAT checksum
  expectRefused(f, "corrupt");
  LICE_MemBitmap mine(5, 4); // keeps the image's size, as the failed decode left it
  EXPECT_EQ(LICE_LoadPNG(writeTempFile("bad.png", f).c_str(), &mine), nullptr);
  EXPECT_EQ(std::pair(mine.getWidth(), mine.getHeight()), std::pair(13, 7));
  // Deferred, the header is taken and the pixels come out empty.
  std::unique_ptr<LICE_DeferredPNG> later(LICE_DeferredPNG::Open(writeTempFile("bad.png", f).c_str()));
  ASSERT_TRUE(later);
  EXPECT_EQ(later->getBits(), nullptr);
  EXPECT_EQ(later->getWidth(), 0);
  EXPECT_EQ(LICE_DeferredPNG::Open(writeTempFile("text.png", Bytes(100, 'x')).c_str()), nullptr);
  EXPECT_EQ(LICE_DeferredPNG::Open("/nonexistent/x.png"), nullptr);
  EXPECT_EQ(LICE_LoadPNG("/nonexistent/x.png", nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNG(nullptr, nullptr), nullptr);
}

TEST(PngBadInput, HugeDeclaredSizesFailBeforeAllocating)
{
  expectRefused(declaredSize(20000, 20000), "2^28 exceeded");
  expectRefused(declaredSize(0x7fffffff, 1), "wide");
  expectRefused(declaredSize(16384, 16385), "just over");
}

TEST(PngBadInput, DeclaredChunkLengthsCostNothing)
{
  // 84 bytes: IHDR, then an sPLT chunk declaring 0x73737373 bytes.
  Bytes hostile = withChunk(rgbaFile(), "sPLT", 0x73737373, Bytes(43, 's'));
  hostile.resize(84);
  expectRefused(hostile, "sPLT past the end");
  std::string path = writeTempFile("splt.png", hostile);
  EXPECT_LT(childPeakGrowthKB([&] { delete LICE_LoadPNG(path.c_str(), nullptr); }), 64 * 1024);

  // Whole chunks the pixels do not need load, however large.
  PngSpec s = makeSpec(PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false);
  Bytes big = withChunk(encodePng(s), "tEXt", 200000, Bytes(200000, 't'));
  big = withChunk(big, "sPLT", 300, Bytes(300, 's'));
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNG(writeTempFile("text.png", big).c_str(), nullptr));
  ASSERT_TRUE(bm);
  expectPixels(s, bm.get());
}

TEST(PngTarget, BitmapThatRefusesTheSizeStaysAlive)
{
  std::string path = writeTempFile("ok.png", rgbaFile());
  FixedBitmap fixed;
  EXPECT_EQ(LICE_LoadPNG(path.c_str(), &fixed), nullptr);
  EXPECT_EQ(fixed.getWidth(), 3);
  EXPECT_NE(fixed.getBits(), nullptr);
}

TEST(PngTarget, SysBitmapRowsFollowItsSpan)
{
  PngSpec s = makeSpec(PNG_COLOR_TYPE_RGB, 8, false, false);
  std::string path = writeTempFile("sys.png", encodePng(s));
  LICE_SysBitmap bm(40, 20); // shrinking keeps the wider span
  ASSERT_EQ(LICE_LoadPNG(path.c_str(), &bm), &bm);
  ASSERT_EQ(bm.getRowSpan(), 40);
  expectPixels(s, &bm);
}

} // namespace
