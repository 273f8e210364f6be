// The loader list, the extension check and the resource forms.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "graphics/gdi/swell-misc.h"
#include "graphics/lice.h"
#include "image_files.h"

namespace
{

Bytes smallPng()
{
  PngSpec s;
  s.width = 2;
  s.height = 1;
  s.samples = {10, 200};
  return encodePng(s);
}

TEST(ImageLoaderList, PngFirstThenJpegWithTheirFilters)
{
  LICE_ImageLoaderEntry* png = LICE_ImageLoader_list;
  ASSERT_EQ(png, &LICE_pngldr);
  LICE_ImageLoaderEntry* jpg = png->next;
  ASSERT_EQ(jpg, &LICE_jgpldr);
  EXPECT_EQ(jpg->next, nullptr);
  EXPECT_EQ(png->loadfunc, &LICE_PNGLoader::loadfunc);
  EXPECT_EQ(png->get_extlist, &LICE_PNGLoader::get_extlist);
  EXPECT_EQ(jpg->loadfunc, &LICE_JPGLoader::loadfunc);
  EXPECT_EQ(jpg->get_extlist, &LICE_JPGLoader::get_extlist);
  const char pngList[] = "PNG files (*.PNG)\0*.PNG\0";
  const char jpgList[] = "JPEG files (*.JPG;*.JPEG;*.JFIF)\0*.JPG;*.JPEG;*.JFIF\0";
  EXPECT_EQ(memcmp(png->get_extlist(), pngList, sizeof pngList), 0);
  EXPECT_EQ(memcmp(jpg->get_extlist(), jpgList, sizeof jpgList), 0);
}

TEST(ImageLoaderList, ExtensionCheckLooksOnlyAtTheLastNamePart)
{
  // The same PNG bytes under several names: only the name decides.
  LICE_ImageLoaderEntry* png = LICE_ImageLoader_list;
  Bytes f = smallPng();
  std::unique_ptr<LICE_IBitmap> bm(png->loadfunc(writeTempFile("a.PnG", f).c_str(), true, nullptr));
  EXPECT_TRUE(bm);
  EXPECT_EQ(png->loadfunc(writeTempFile("a.png.txt", f).c_str(), true, nullptr), nullptr);
  std::string dir = testing::TempDir() + "lice_dir.png";
  mkdir(dir.c_str(), 0700);
  std::string noDot = dir + "/image";
  FILE* out = fopen(noDot.c_str(), "wb");
  fwrite(f.data(), 1, f.size(), out);
  fclose(out);
  EXPECT_EQ(png->loadfunc(noDot.c_str(), true, nullptr), nullptr);
  bm.reset(png->loadfunc(noDot.c_str(), false, nullptr));
  EXPECT_TRUE(bm);
  EXPECT_EQ(png->loadfunc("", true, nullptr), nullptr);

  LICE_ImageLoaderEntry* jpg = png->next;
  std::vector<unsigned char> grey(16 * 8, 90);
  Bytes j = encodeJpeg(16, 8, 1, grey, false);
  bm.reset(jpg->loadfunc(writeTempFile("b.JPEG", j).c_str(), true, nullptr));
  EXPECT_TRUE(bm);
  bm.reset(jpg->loadfunc(writeTempFile("b.jfif", j).c_str(), true, nullptr));
  EXPECT_TRUE(bm);
  EXPECT_EQ(jpg->loadfunc(writeTempFile("b.jpg.txt", j).c_str(), true, nullptr), nullptr);
  EXPECT_EQ(jpg->loadfunc(writeTempFile("b.png", j).c_str(), true, nullptr), nullptr);
}

TEST(ImageLoaderResources, NumberedResourcesNeverLoad)
{
  LICE_MemBitmap bm(2, 2);
  EXPECT_EQ(LICE_LoadPNGFromResource(nullptr, 0, nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromResource(&bm, 101, &bm), nullptr);
  EXPECT_EQ(LICE_LoadJPGFromResource(&bm, 101, &bm), nullptr);
}

TEST(ImageLoaderResources, NamedResourceComesFromTheBundleResources)
{
  char bundle[1536];
  ASSERT_GT(GetModuleFileName(nullptr, bundle, sizeof bundle), 0);
  std::string res = std::string(bundle) + "/Contents/Resources";
  mkdir((std::string(bundle) + "/Contents").c_str(), 0700);
  mkdir(res.c_str(), 0700);
  Bytes f = smallPng();
  FILE* out = fopen((res + "/knob.png").c_str(), "wb");
  ASSERT_TRUE(out);
  fwrite(f.data(), 1, f.size(), out);
  fclose(out);
  std::unique_ptr<LICE_IBitmap> bm(LICE_LoadPNGFromNamedResource("knob.png", nullptr));
  ASSERT_TRUE(bm);
  EXPECT_EQ(LICE_GetPixel(bm.get(), 1, 0), argb(255, 200, 200, 200));
  unlink((res + "/knob.png").c_str());

  EXPECT_EQ(LICE_LoadPNGFromNamedResource(std::string(2100, 'a').c_str(), nullptr), nullptr);
  EXPECT_EQ(LICE_LoadPNGFromNamedResource(nullptr, nullptr), nullptr);
}

} // namespace

namespace
{

// Writes the fuzz seeds: KESTREL_SEED_DIR=fuzz/graphics/corpus
// lice_loader_tests --gtest_also_run_disabled_tests --gtest_filter=*Seeds*
TEST(ImageLoaderSeeds, DISABLED_WriteFuzzSeeds)
{
  const char* dir = getenv("KESTREL_SEED_DIR");
  ASSERT_TRUE(dir);
  auto save = [&](const std::string& name, const Bytes& b) {
    FILE* f = fopen((std::string(dir) + "/" + name).c_str(), "wb");
    ASSERT_TRUE(f);
    fwrite(b.data(), 1, b.size(), f);
    fclose(f);
  };
  PngSpec s;
  s.width = 5;
  s.height = 3;
  for (int i = 0; i < 15; ++i)
    s.samples.push_back(unsigned(i % 2));
  s.depth = 1;
  save("gray1.png", encodePng(s));
  s.colorType = 3;
  s.depth = 2;
  s.palette = {0, 0, 0, 255, 0, 0, 0, 255, 0};
  s.paletteAlpha = {0, 128};
  save("palette_trns.png", encodePng(s));
  s = PngSpec();
  s.width = 9;
  s.height = 9;
  s.colorType = 6;
  s.depth = 16;
  s.interlaced = true;
  for (int i = 0; i < 9 * 9 * 4; ++i)
    s.samples.push_back(unsigned(i * 977) & 0xffff);
  save("rgba16_interlaced.png", encodePng(s));
  s = PngSpec();
  s.width = 4;
  s.height = 4;
  s.colorType = 2;
  for (int i = 0; i < 48; ++i)
    s.samples.push_back(unsigned(i * 5));
  s.hasTrns = true;
  save("rgb_trns.png", encodePng(s));

  std::vector<unsigned char> px;
  for (int i = 0; i < 16 * 16 * 4; ++i)
    px.push_back((unsigned char)(i * 7));
  save("gray.jpg", encodeJpeg(16, 16, 1, px, false));
  save("rgb.jpg", encodeJpeg(16, 16, 3, px, false));
  save("progressive.jpg", encodeJpeg(16, 16, 3, px, true));
  save("cmyk.jpg", encodeJpeg(16, 16, 4, px, false));
}

} // namespace
