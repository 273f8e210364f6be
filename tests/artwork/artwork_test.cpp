#include <gtest/gtest.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "plugin/KestrelLayout.h"
#include "tools/artwork/ArtPng.h"
#include "tools/artwork/KestrelArtwork.h"

namespace
{

// One frame of a strip as bytes, for comparing frames.
std::vector<uint32_t> frame(LICE_MemBitmap* bm, int frames, int f)
{
  const int h = bm->getHeight() / frames;
  const LICE_PixelValue* p = bm->getBits() + size_t(f * h) * size_t(bm->getRowSpan());
  return std::vector<uint32_t>(p, p + size_t(h) * size_t(bm->getRowSpan()));
}

// Light in a rectangle of a frame: premultiplied channels summed.
long light(LICE_MemBitmap* bm, int frames, int f, int x0, int y0, int x1, int y1)
{
  const int h = bm->getHeight() / frames;
  long sum = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x)
    {
      const LICE_PixelValue v = bm->getBits()[size_t(f * h + y) * size_t(bm->getRowSpan()) + size_t(x)];
      sum += long((v >> 8) & 0xff) + long((v >> 16) & 0xff) + long((v >> 24) & 0xff);
    }
  return sum;
}

bool readPngSize(const std::string& path, png_uint_32* w, png_uint_32* h)
{
  png_image img = {};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str()))
    return false;
  *w = img.width;
  *h = img.height;
  png_image_free(&img);
  return true;
}

std::string slurp(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(Artwork, EveryLoadedImageHasItsFramesStackedVertically)
{
  ASSERT_EQ(kKestrelImageCount, 12);
  for (const KestrelImageSpec& e : kKestrelImages)
  {
    SCOPED_TRACE(e.mFile);
    auto bm = ArtDrawImage(e.mId);
    ASSERT_TRUE(bm);
    EXPECT_EQ(bm->getWidth(), e.mFrameWidth);
    EXPECT_EQ(bm->getHeight(), e.mFrameHeight * e.mFrames);
    // Every step of a strip shows something new.
    for (int f = 1; f < e.mFrames; ++f)
      ASSERT_NE(frame(bm.get(), e.mFrames, f - 1), frame(bm.get(), e.mFrames, f)) << "frame " << f;
  }
  auto bg = ArtDrawImage(kBackgroundImage);
  EXPECT_EQ(bg->getWidth(), 700);
  EXPECT_EQ(bg->getHeight(), 249);
  EXPECT_EQ(KestrelImageFor(kDigitsImage)->mFrameWidth, 14);
  EXPECT_FALSE(ArtDrawImage(EKestrelImage(100)));
}

TEST(Artwork, EveryControlLiesOnTheBackground)
{
  for (const KestrelControlSpec& s : kKestrelControls)
  {
    const KestrelImageSpec* info = KestrelImageFor(s.mImage);
    const int w = s.mKind == EKestrelControlKind::Readout ? s.mDigits * info->mFrameWidth : info->mFrameWidth;
    EXPECT_TRUE(s.mX >= 0 && s.mY >= 0 && s.mX + w <= 700 && s.mY + info->mFrameHeight <= 249) << s.mX << "," << s.mY;
  }
}

TEST(Artwork, RatioFramesCoverTheClickAreasAndLightTheChosenOne)
{
  EXPECT_GE(KestrelImageFor(kRatioImage)->mFrameWidth, 100);
  EXPECT_GE(KestrelImageFor(kRatioImage)->mFrameHeight, 114);
  auto bm = ArtDrawImage(kRatioImage);
  const int area[5][4] = {{18, 4, 31, 17}, {3, 33, 16, 46}, {3, 69, 16, 82}, {18, 100, 31, 113}, {42, 12, 99, 105}};
  for (int a = 0; a < 5; ++a)
    for (int f = 0; f < 5; ++f)
    {
      if (f == a)
        continue;
      EXPECT_GT(light(bm.get(), 5, a, area[a][0], area[a][1], area[a][2], area[a][3]),
                light(bm.get(), 5, f, area[a][0], area[a][1], area[a][2], area[a][3]))
        << "area " << a << " frame " << f;
    }
}

// The read-out's wheel rule, written from its definition: the state of each
// digit for a raw value, and the strip frame a 1-based state shows.
static int odometerState(double v, int p)
{
  const int k = int(v * 100 / std::pow(10.0, p)) % 1000;
  const int r = k % 100, b = k / 100 * 100;
  const int f = r <= 89 ? b : b + (5 * r - 450) * 2;
  return int(f / 1000.0 * 100);
}
static int stripFrame(int state)
{
  return state < 2 ? 0 : state - 1;
}

TEST(Artwork, DigitWheelShowsEachDigitUprightAtItsTenthAndRollsBetween)
{
  auto bm = ArtDrawImage(kDigitsImage);
  auto shown = [&](int state) { return frame(bm.get(), 100, stripFrame(state)); };
  for (int d = 0; d < 10; ++d)
  {
    for (int e = 0; e < d; ++e)
      EXPECT_NE(shown(10 * d), shown(10 * e)) << d << " vs " << e;
    // Every step of the roll away from d shows neither d nor the next digit.
    for (int j = 1; j < 10; ++j)
    {
      if (d == 0 && j == 1)
        continue; // states 0 and 1 share the first frame
      EXPECT_NE(shown(10 * d + j), shown(10 * d)) << d << "+" << j;
      EXPECT_NE(shown(10 * d + j), shown((10 * d + 10) % 100)) << d << "+" << j;
    }
  }
  EXPECT_EQ(shown(1), shown(0));
  // The wheel's last frame is 0 again, the end of the roll from 9.
  EXPECT_EQ(frame(bm.get(), 100, 99), shown(0));
  // Release 259.5 on four digits: 0, 2, 5 half way to 6, 9.
  const int states[4] = {odometerState(259.5, 3), odometerState(259.5, 2), odometerState(259.5, 1),
                         odometerState(259.5, 0)};
  EXPECT_EQ(states[0], 0);
  EXPECT_EQ(shown(states[1]), shown(20));
  EXPECT_EQ(states[2], 55);
  EXPECT_EQ(shown(states[3]), shown(90));
}

TEST(Artwork, DrawingAndFilesAreTheSameEveryTime)
{
  // Named per process: two test runs on one machine must not write each other's files.
  const std::string stem = testing::TempDir() + "art_" + std::to_string(getpid());
  const std::string a = stem + "_a.png", b = stem + "_b.png";
  for (const KestrelImageSpec& image : kKestrelImages)
  {
    auto x = ArtDrawImage(image.mId), y = ArtDrawImage(image.mId);
    EXPECT_EQ(LICE_BitmapCmp(x.get(), y.get()), 0) << image.mFile;
    ASSERT_TRUE(ArtWritePNG(x.get(), a.c_str()));
    ASSERT_TRUE(ArtWritePNG(y.get(), b.c_str()));
    const std::string bytes = slurp(a);
    EXPECT_FALSE(bytes.empty());
    EXPECT_EQ(bytes, slurp(b)) << image.mFile;
    // What the build put into both bundles is this drawing.
    for (const char* bundle : {"/KestrelVST.vst", "/KestrelAU.component"})
      EXPECT_EQ(slurp(std::string(KESTREL_BUILD_DIR) + bundle + "/Contents/Resources/" + image.mFile), bytes)
        << bundle << " " << image.mFile;
  }
  std::remove(a.c_str());
  std::remove(b.c_str());
  png_uint_32 w = 0, h = 0;
  ASSERT_TRUE(readPngSize(std::string(KESTREL_BUILD_DIR) + "/KestrelVST.vst/Contents/Resources/knob.png", &w, &h));
  EXPECT_EQ(w, 80u);
  EXPECT_EQ(h, 72u * 136u);
}
