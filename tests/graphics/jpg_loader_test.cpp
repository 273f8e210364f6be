// JPEG files made here with libjpeg; the loader's pixels are compared with
// a bare libjpeg decode of the same file.

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

std::vector<unsigned char> gradient(int w, int h, int comps)
{
  std::vector<unsigned char> px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < comps; ++c)
        px.push_back((unsigned char)((x * 9 + y * 5 + c * 60) & 255));
  return px;
}

Bytes jpegOf(int comps, bool progressive, int w = 37, int h = 21)
{
  return encodeJpeg(w, h, comps, gradient(w, h, comps), progressive);
}

void expectReferencePixels(const Bytes& file, LICE_IBitmap* bm)
{
  int w, h, comps;
  std::vector<unsigned char> ref = decodeJpegReference(file, &w, &h, &comps);
  ASSERT_EQ(bm->getWidth(), w);
  ASSERT_EQ(bm->getHeight(), h);
  for (int y = 0; y < h; ++y)
  {
    for (int x = 0; x < w; ++x)
    {
      const unsigned char* s = ref.data() + (size_t(y) * w + x) * comps;
      // Four-component (CMYK) images come out as zero rows.
      uint32_t want = comps == 3 ? argb(255, s[0], s[1], s[2]) : comps == 1 ? argb(255, s[0], s[0], s[0]) : 0;
      ASSERT_EQ(LICE_GetPixel(bm, x, y), want) << x << "," << y;
    }
  }
}

class JpegKinds : public testing::TestWithParam<std::tuple<int, bool>>
{
};

TEST_P(JpegKinds, MatchesABareDecode)
{
  auto [comps, progressive] = GetParam();
  Bytes f = jpegOf(comps, progressive);
  std::string path = writeTempFile("kind.jpg", f);
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadJPG(path.c_str(), nullptr));
  ASSERT_TRUE(bm);
  expectReferencePixels(f, bm.get());

  FlippedBitmap flipped;
  ASSERT_EQ(LICE_LoadJPG(path.c_str(), &flipped), &flipped);
  expectReferencePixels(f, &flipped);
}

INSTANTIATE_TEST_SUITE_P(GreyRgbCmyk, JpegKinds, testing::Combine(testing::Values(1, 3, 4), testing::Bool()));

// Every failure: null and nothing made. The caller's bitmap keeps its size
// until the header has been read and then has the image's.
void expectRefused(const Bytes& file, const std::string& what, int imageW = 0, int imageH = 0)
{
  std::string path = writeTempFile("bad.jpg", file);
  EXPECT_EQ(LICE_LoadJPG(path.c_str(), nullptr), nullptr) << what;
  LICE_MemBitmap mine(5, 4);
  EXPECT_EQ(LICE_LoadJPG(path.c_str(), &mine), nullptr) << what;
  const int w = mine.getWidth(), h = mine.getHeight();
  EXPECT_TRUE((w == 5 && h == 4) || (w == imageW && h == imageH)) << what << ": " << w << " x " << h;
}

size_t markerAt(const Bytes& f, unsigned char code, unsigned char orCode)
{
  for (size_t i = 0; i + 1 < f.size(); ++i)
    if (f[i] == 0xFF && (f[i + 1] == code || f[i + 1] == orCode))
      return i;
  return 0;
}

// The frame header's height and width (after the length and the precision).
void declareSize(Bytes& f, unsigned w, unsigned h)
{
  size_t sof = markerAt(f, 0xC0, 0xC2);
  ASSERT_NE(sof, 0u);
  f[sof + 5] = (unsigned char)(h >> 8);
  f[sof + 6] = (unsigned char)h;
  f[sof + 7] = (unsigned char)(w >> 8);
  f[sof + 8] = (unsigned char)w;
}

TEST(JpegBadInput, TruncatedFilesAreNotReportedAsLoaded)
{
  for (bool progressive : {false, true})
  {
    Bytes f = jpegOf(3, progressive, 64, 64);
    for (size_t cut : {size_t(2), size_t(20), f.size() / 3, f.size() / 2, f.size() - 40, f.size() - 2})
      expectRefused(Bytes(f.begin(), f.begin() + cut), "cut at " + std::to_string(cut), 64, 64);
  }
}

TEST(JpegBadInput, EmptyNonImageAndMissing)
{
  expectRefused({}, "empty");
  expectRefused(Bytes(200, 'x'), "text");
  EXPECT_EQ(LICE_LoadJPG("/nonexistent/x.jpg", nullptr), nullptr);
  EXPECT_EQ(LICE_LoadJPG(nullptr, nullptr), nullptr);
}

TEST(JpegBadInput, HugeDeclaredSizeFailsBeforeAllocating)
{
  Bytes f = jpegOf(3, true);
  declareSize(f, 20000, 20000);
  expectRefused(f, "20000 x 20000");
}

TEST(JpegBadInput, DataThatEndsEarlyStopsTheDecodeThere)
{
  // A few hundred bytes declaring 65500 x 4097 pixels, inside the pixel cap.
  for (bool progressive : {false, true})
  {
    Bytes f = encodeJpeg(16, 16, 1, gradient(16, 16, 1), progressive);
    declareSize(f, 65500, 4097);
    std::string path = writeTempFile("early.jpg", f);
    // A decode to the last row touches 1 GB; sanitizers' shadow of the
    // untouched reservation stays well below that.
    long grown = childPeakGrowthKB([&] {
      LICE_MemBitmap mine(5, 4);
      delete LICE_LoadJPG(path.c_str(), nullptr);
      LICE_LoadJPG(path.c_str(), &mine);
    });
    EXPECT_GE(grown, 0);
    EXPECT_LT(grown, 256 * 1024) << "progressive " << progressive;
    LICE_MemBitmap mine(5, 4); // resized before the rows (a progressive file is read whole first)
    EXPECT_EQ(LICE_LoadJPG(path.c_str(), &mine), nullptr);
    EXPECT_EQ(mine.getWidth(), progressive ? 5 : 65500);
  }
}

TEST(JpegWarnings, WarningsThatLoseNothingStillLoad)
{
  Bytes f = jpegOf(3, false), revision = f, stray = f;
  ASSERT_EQ(revision[6], 'J');
  revision[11] = 2; // JFIF 2.01
  revision[12] = 1;
  stray.insert(stray.begin() + long(markerAt(stray, 0xDB, 0xDB)), {0x00, 0x11, 0x22});
  for (const Bytes* file : {&revision, &stray})
  {
    std::unique_ptr<LICE_IBitmap> bm(LICE_LoadJPG(writeTempFile("warned.jpg", *file).c_str(), nullptr));
    ASSERT_TRUE(bm);
    expectReferencePixels(f, bm.get());
  }
}

TEST(JpegTarget, BitmapThatRefusesTheSizeStaysAlive)
{
  struct Fixed : LICE_MemBitmap
  {
    Fixed() : LICE_MemBitmap(3, 2) {}
    bool resize(int, int) override { return false; }
  } fixed;
  std::string path = writeTempFile("ok.jpg", jpegOf(1, false));
  EXPECT_EQ(LICE_LoadJPG(path.c_str(), &fixed), nullptr);
  EXPECT_EQ(fixed.getWidth(), 3);
  EXPECT_NE(fixed.getBits(), nullptr);
}

} // namespace
