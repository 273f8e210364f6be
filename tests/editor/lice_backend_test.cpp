// The raster back end: colour packing, blend-to-mode mapping, and every
// primitive kept inside the back buffer and the pass's drawing area.

#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace {

// Draws whatever the test hands it, inside a pass over the given area.
struct Painter : IControl {
  Painter(IPlugBase* plug, const IRECT& r) : IControl(plug, r) {}
  bool Draw(IGraphics* g) override
  {
    mPaint(static_cast<IGraphicsLice*>(g));
    return true;
  }
  std::function<void(IGraphicsLice*)> mPaint;
};

struct BackendTest : ::testing::Test {
  void SetUp() override
  {
    plug = MakeEditorPlug();
    gui = MakeEditor(plug.get(), 20, 10);
    painter = new Painter(plug.get(), IRECT(0, 0, 20, 10));
    gui->AttachControl(painter);
    plug->AttachGraphics(gui);
    LICE_Clear(gui->GetBackBuffer(), 0);
  }
  // One strict pass over area, painting with f.
  void Paint(IRECT area, std::function<void(IGraphicsLice*)> f)
  {
    painter->mPaint = f;
    gui->Draw(&area);
  }
  LICE_PixelValue At(int x, int y)
  {
    IColor c = gui->GetPoint(x, y);
    return LiceColor(&c);
  }
  int Count(LICE_PixelValue v)
  {
    int n = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) n += At(x, y) == v;
    return n;
  }

  std::unique_ptr<IPlugTest> plug;
  IGraphicsTest* gui = nullptr;
  Painter* painter = nullptr;
};

}  // namespace

TEST(LiceMapping, ColourPackingAndBlendModes)
{
  IColor c(0x12, 0x34, 0x56, 0x78);
  EXPECT_EQ(LiceColor(&c), 0x78563412u);
  EXPECT_EQ(IColorFromLice(0x78563412u), c);
  IColor wild(300, -4, 255, 0);
  EXPECT_EQ(LiceColor(&wild), 0x00FF00FFu);  // channels limited to 0-255
  EXPECT_EQ(LiceColor(nullptr), 0u);

  struct {
    IChannelBlend::EBlendMethod m;
    int mode, rotated;
  } rows[] = {
      {IChannelBlend::kBlendNone, 0x10000, 0x10100},
      {IChannelBlend::kBlendClobber, 0, 0x100},
      {IChannelBlend::kBlendAdd, 0x10001, 0x10101},
      {IChannelBlend::kBlendColorDodge, 0x10002, 0x10102},
      {IChannelBlend::EBlendMethod(9), 0x10000, 0x10100},
  };
  for (auto& r : rows) {
    IChannelBlend b(r.m, 0.5f);
    EXPECT_EQ(LiceBlendMode(&b), r.mode) << r.m;
    EXPECT_EQ(LiceBlendMode(&b, true), r.rotated) << r.m;
  }
  EXPECT_EQ(LiceBlendMode(nullptr), 0x10000);
  EXPECT_EQ(LiceWeight(nullptr), 1.0f);
}

TEST_F(BackendTest, BitmapsClipToTheDrawingArea)
{
  auto* src = new LICE_MemBitmap(6, 4);
  for (int i = 0; i < 24; ++i) src->bits[i] = Px(255, i, 0, 0);
  IBitmap bmp(src, 6, 4, 1);
  gui->RetainBitmap(&bmp);
  IChannelBlend clobber(IChannelBlend::kBlendClobber);
  IRECT dest(2, 3, 8, 7);
  Paint(IRECT(4, 0, 20, 5), [&](IGraphicsLice* g) { g->DrawBitmap(&bmp, &dest, 1, 0, &clobber); });
  // Only x 4..6, y 3..4 land (x 7 would read past the source); pixel (x, y)
  // shows source (x - 2 + 1, y - 3).
  EXPECT_EQ(Count(0), 200 - 6);
  for (int y = 3; y < 5; ++y)
    for (int x = 4; x < 7; ++x) EXPECT_EQ(At(x, y), src->bits[(y - 3) * 6 + x - 1]) << x << "," << y;

  LICE_Clear(gui->GetBackBuffer(), 0);
  IRECT touching(20, 0, 26, 4);  // its left edge is the area's right edge
  Paint(IRECT(0, 0, 20, 10), [&](IGraphicsLice* g) { g->DrawBitmap(&bmp, &touching, 0, 0, &clobber); });
  EXPECT_EQ(Count(0), 200);
  gui->ReleaseBitmap(&bmp);
}

TEST_F(BackendTest, StraightLinesAreClampedToTheBufferAndClipped)
{
  IColor red = COLOR_RED;
  LICE_PixelValue px = LiceColor(&red);
  Paint(IRECT(0, 0, 20, 10), [&](IGraphicsLice* g) { g->DrawHorizontalLine(&red, -3, -5, 10000); });
  for (int x = 0; x < 20; ++x) EXPECT_EQ(At(x, 0), px);
  EXPECT_EQ(Count(px), 20);

  // A shrunk back buffer keeps its row span: lines stay inside the visible width.
  LICE_Clear(gui->GetBackBuffer(), 0);
  gui->GetBackBuffer()->resize(12, 6);
  LICE_Clear(gui->GetBackBuffer(), 0);
  Paint(IRECT(0, 0, 20, 10), [&](IGraphicsLice* g) {
    g->DrawHorizontalLine(&red, 100, 0, 100);
    g->DrawVerticalLine(&red, 100, -7, 100);
  });
  LICE_IBitmap* bb = gui->GetBackBuffer();
  ASSERT_GT(bb->getRowSpan(), 12);
  int lit = 0;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < bb->getRowSpan(); ++x) lit += bb->getBits()[y * bb->getRowSpan() + x] == px;
  EXPECT_EQ(lit, 12 + 6 - 1);  // bottom row and right column of the 12 x 6 view
  EXPECT_EQ(bb->getBits()[5 * bb->getRowSpan() + 11], px);

  gui->GetBackBuffer()->resize(20, 10);
  LICE_Clear(gui->GetBackBuffer(), 0);
  Paint(IRECT(5, 2, 8, 4), [&](IGraphicsLice* g) {
    IRECT whole(0, 0, 19, 9);
    g->DrawRect(&red, &whole);
    g->DrawHorizontalLine(&red, 3, 0, 19);
  });
  EXPECT_EQ(Count(px), 3);  // only the row-3 stretch inside the area
}

TEST_F(BackendTest, PixelsPointsAndFillsStayInside)
{
  IColor blue = COLOR_BLUE;
  LICE_PixelValue px = LiceColor(&blue);
  bool outside = true, inside = false;
  Paint(IRECT(2, 2, 6, 6), [&](IGraphicsLice* g) {
    outside = g->ForcePixel(&blue, 30, 3) || g->ForcePixel(&blue, -1, 3) || g->ForcePixel(&blue, 7, 3);
    inside = g->ForcePixel(&blue, 5, 5);
    g->DrawPoint(&blue, 2.4f, 1.6f, nullptr, false);  // rounds to (2, 2)
    g->DrawPoint(&blue, NAN, 3.0f, nullptr, false);
    g->DrawPoint(&blue, 1e30f, 3.0f, nullptr, false);
    IRECT big(-100, 4, 100, 5);
    g->FillIRect(&blue, &big, nullptr);
  });
  EXPECT_FALSE(outside);
  EXPECT_TRUE(inside);
  EXPECT_EQ(At(5, 5), px);
  EXPECT_EQ(At(2, 2), px);
  EXPECT_EQ(Count(px), 2 + 4);
  EXPECT_EQ(gui->GetPoint(-1, 0), COLOR_TRANSPARENT);
}

TEST(LiceBackBuffer, RepeatedPrepDrawAndAFailedBufferDrawNothing)
{
  auto plug = MakeEditorPlug();
  auto* gui = MakeEditor(plug.get(), 1 << 15, 1 << 15);  // 2^30 pixels: refused
  plug->AttachGraphics(gui);
  gui->PrepDraw();  // the old buffers are freed, not leaked
  EXPECT_EQ(gui->GetData(), nullptr);
  IBitmap bg = gui->LoadIBitmap(1, "bg", 1);
  gui->AttachControl(new IBitmapControl(plug.get(), 0, 0, -1, &bg));
  IRECT r;
  ASSERT_TRUE(gui->IsDirty(&r));
  EXPECT_TRUE(gui->Draw(&r));
  IColor c = COLOR_RED;
  EXPECT_FALSE(gui->ForcePixel(&c, 0, 0));
  EXPECT_FALSE(gui->DrawHorizontalLine(&c, 0, 0, 5));
  EXPECT_EQ(gui->GetPoint(0, 0), COLOR_TRANSPARENT);
}
