// The process-wide bitmap cache: one decode per id, holds that keep an image
// alive while any editor uses it, a missing image drawn empty and reported
// once, and lookups from several threads at once. Each test uses its own ids.

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"
#include "tests/graphics/image_files.h"

namespace
{

std::atomic<int> g_freed{0};

struct CountedBitmap : LICE_MemBitmap
{
  CountedBitmap() : LICE_MemBitmap(4, 3) { LICE_Clear(this, 0x11223344); }
  ~CountedBitmap() override { ++g_freed; }
};

LICE_IBitmap* CountedLoader(int id, const char*)
{
  return id >= 100 && id < 200 ? new CountedBitmap : nullptr;
}

struct CacheTest : ::testing::Test
{
  void SetUp() override
  {
    plug = MakeEditorPlug();
    a = MakeEditor(plug.get());
    b = MakeEditor(plug.get());
    a->mLoader = b->mLoader = CountedLoader;
    g_freed = 0;
  }
  void TearDown() override
  {
    delete a;
    delete b;
  }
  std::unique_ptr<IPlugTest> plug;
  IGraphicsTest *a = nullptr, *b = nullptr;
};

} // namespace

TEST_F(CacheTest, OneDecodePerIdWhateverTheName)
{
  IBitmap first = a->LoadIBitmap(101, "knob.png", 4);
  IBitmap again = b->LoadIBitmap(101, "other.png", 2);
  EXPECT_EQ(first.mData, again.mData);
  EXPECT_EQ(a->mLoads + b->mLoads, 1);
  EXPECT_EQ(again.W, 4);
  EXPECT_EQ(again.H, 3);
  EXPECT_EQ(again.N, 2); // the frame count is the caller's
}

TEST_F(CacheTest, AMissingImageIsEmptyAndReportedOnce)
{
  testing::internal::CaptureStderr();
  IBitmap missing = a->LoadIBitmap(7001, "gone.png", 3);
  IBitmap again = b->LoadIBitmap(7001, "gone.png", 3);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "IGraphicsLice: image 7001 \"gone.png\" could not be loaded; it is drawn empty\n");
  EXPECT_NE(missing.mData, nullptr);
  EXPECT_EQ(missing.mData, again.mData);
  EXPECT_EQ(missing.W, 0);
  EXPECT_EQ(a->mLoads + b->mLoads, 1);

  // An editor built on it opens and draws.
  a->PrepDraw();
  a->AttachBackground(7001, "gone.png");
  a->AttachControl(new IKnobMultiControl(plug.get(), 3, 3, 0, &missing));
  IRECT r;
  ASSERT_TRUE(a->IsDirty(&r));
  EXPECT_TRUE(a->Draw(&r));
}

TEST_F(CacheTest, ReleaseFreesOnlyWhenNoEditorHoldsIt)
{
  IBitmap inA = a->LoadIBitmap(102, "x", 1);
  IBitmap inB = b->LoadIBitmap(102, "x", 1);
  a->ReleaseBitmap(&inA);
  EXPECT_EQ(g_freed, 0);
  EXPECT_EQ(inB.mData->getBits()[0], LICE_PixelValue(0x11223344)); // still B's
  b->ReleaseBitmap(&inB);
  EXPECT_EQ(g_freed, 1);
  b->ReleaseBitmap(&inB); // no longer cached: nothing happens
  EXPECT_EQ(g_freed, 1);
  EXPECT_EQ(b->LoadIBitmap(102, "x", 1).mData->getWidth(), 4); // loaded afresh
  EXPECT_EQ(a->mLoads + b->mLoads, 2);

  CountedBitmap own;
  IBitmap foreign(&own, 4, 3, 1);
  a->ReleaseBitmap(&foreign); // not the cache's: left alone
  EXPECT_EQ(g_freed, 1);

  auto* retained = new CountedBitmap;
  IBitmap kept(retained, 4, 3, 1);
  a->RetainBitmap(&kept);
  a->RetainBitmap(&kept); // a second hold, not a second entry
  a->ReleaseBitmap(&kept);
  EXPECT_EQ(g_freed, 1);
  a->ReleaseBitmap(&kept);
  EXPECT_EQ(g_freed, 2);
}

TEST_F(CacheTest, AnEditorsHoldsGoWithIt)
{
  IBitmap inA = a->LoadIBitmap(104, "x", 1);
  a->RetainBitmap(&inA);
  delete a;
  a = nullptr;
  IBitmap inB = b->LoadIBitmap(104, "x", 1);
  EXPECT_EQ(inB.mData, inA.mData); // cached beyond its editor
  EXPECT_EQ(b->mLoads, 0);
  b->ReleaseBitmap(&inB);
  EXPECT_EQ(g_freed, 1);
}

TEST_F(CacheTest, CropCopiesTheAreaAndIsRetained)
{
  IBitmap src = a->LoadIBitmap(103, "x", 1); // 4 x 3 of 0x11223344
  src.mData->getBits()[1 * 4 + 2] = 0xABCDEF01;
  IRECT r(2, 1, 6, 2); // runs 2 past the right edge
  IBitmap crop = a->CropBitmap(&src, &r);
  ASSERT_EQ(crop.W, 4);
  ASSERT_EQ(crop.H, 1);
  LICE_PixelValue* px = crop.mData->getBits();
  EXPECT_EQ(px[0], LICE_PixelValue(0xABCDEF01));
  EXPECT_EQ(px[1], LICE_PixelValue(0x11223344));
  EXPECT_EQ(px[2], 0u); // outside the source: transparent
  a->ReleaseBitmap(&crop);
  IRECT negative(3, 3, 1, 1);
  IBitmap none = a->CropBitmap(&src, &negative);
  EXPECT_EQ(none.W, 0);
  EXPECT_EQ(a->CropBitmap(nullptr, &r).mData, nullptr);
  a->ReleaseBitmap(&none);
}

TEST(BitmapCacheThreads, ConcurrentMissesShareOneImage)
{
  auto plug = MakeEditorPlug();
  constexpr int kThreads = 8;
  std::vector<IGraphicsTest*> editors;
  std::atomic<int> decodes{0};
  for (int i = 0; i < kThreads; ++i)
  {
    editors.push_back(MakeEditor(plug.get()));
    editors.back()->mLoader = [&decodes](int id, const char* name) {
      ++decodes;
      std::this_thread::sleep_for(std::chrono::milliseconds(2)); // widen the window between miss and append
      return CountedLoader(id, name);
    };
  }
  g_freed = 0;
  std::vector<IBitmap> got(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i)
    threads.emplace_back([&, i] { got[i] = editors[i]->LoadIBitmap(150, "shared", 1); });
  for (auto& t : threads)
    t.join();
  for (int i = 1; i < kThreads; ++i)
    EXPECT_EQ(got[i].mData, got[0].mData);
  // Every decode but the cached one was freed at once; the cached one goes with the last hold.
  EXPECT_EQ(g_freed, decodes - 1);
  for (int i = 0; i < kThreads; ++i)
    editors[i]->ReleaseBitmap(&got[i]);
  EXPECT_EQ(g_freed, decodes.load());
  for (auto* e : editors)
    delete e;
}

// 3 x 2 RGBA; pixel 1 is argb(128, 40, 50, 60).
static Bytes SmallPng()
{
  PngSpec spec;
  spec.width = 3;
  spec.height = 2;
  spec.colorType = 6; // RGBA
  spec.samples = {10, 20, 30, 255, 40, 50, 60, 128, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  return encodePng(spec);
}

TEST(BitmapCacheFiles, DeferredImagesAreDecodedByTheFirstUseAtTheLatest)
{
  Bytes bad = SmallPng();
  bad[bad.size() / 2] ^= 0x55; // the image data fails its checksum
  std::string good = writeTempFile("deferred.png", SmallPng()), broken = writeTempFile("broken.png", bad);
  auto plug = MakeEditorPlug();
  IGraphicsTest gui(plug.get(), 10, 10);
  gui.mLoader = [&](int id, const char*) { return LICE_DeferredPNG::Open((id == 8100 ? broken : good).c_str()); };
  testing::internal::CaptureStderr();
  std::vector<IBitmap> images;
  for (int id = 8100; id < 8106; ++id)
    images.push_back(gui.LoadIBitmap(id, "knob.png", 1));
  EXPECT_EQ(images[0].W, 3); // from the header

  // Whatever the background thread has not done yet, the first use does.
  std::vector<std::thread> threads;
  std::atomic<int> right{0};
  for (size_t i = 1; i < images.size(); ++i)
    threads.emplace_back([&, i] { right += images[i].mData->getBits()[1] == argb(128, 40, 50, 60); });
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(right, 5);
  EXPECT_EQ(images[0].mData->getBits(), nullptr); // drawn empty
  gui.ReleaseBitmap(&images[0]);                  // after a decode in hand
  EXPECT_NE(testing::internal::GetCapturedStderr().find("image 8100 \"knob.png\" could not be loaded"),
            std::string::npos);
}

TEST(BitmapCacheFiles, TheTestBindingReadsPNGFilesByName)
{
  std::string path = writeTempFile("editor_knob.png", SmallPng());
  auto plug = MakeEditorPlug();
  IGraphicsTest gui(plug.get(), 10, 10);
  gui.mImageDir = path.substr(0, path.rfind('/'));
  IBitmap bmp = gui.LoadIBitmap(8001, path.substr(path.rfind('/') + 1).c_str(), 2);
  ASSERT_EQ(bmp.W, 3);
  ASSERT_EQ(bmp.H, 2);
  EXPECT_EQ(bmp.mData->getBits()[1], argb(128, 40, 50, 60));
  testing::internal::CaptureStderr();
  EXPECT_EQ(gui.LoadIBitmap(8002, "no_such_file.png", 1).W, 0);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("8002"), std::string::npos);
}
