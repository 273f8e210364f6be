// The raster back end: colour packing, blend-to-mode mapping, and every
// primitive kept inside the back buffer and the pass's drawing area.

#include <cstring>
#include <functional>
#include <utility>

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace
{

// Draws whatever the test hands it, inside a pass over the given area.
struct Painter : IControl
{
  Painter(IPlugBase* plug, const IRECT& r) : IControl(plug, r) {}
  bool Draw(IGraphics* g) override
  {
    mPaint(static_cast<IGraphicsLice*>(g));
    return true;
  }
  std::function<void(IGraphicsLice*)> mPaint;
};

struct BackendTest : ::testing::Test
{
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
    painter->mPaint = std::move(f);
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
      for (int x = 0; x < 20; ++x)
        n += At(x, y) == v;
    return n;
  }

  std::unique_ptr<IPlugTest> plug;
  IGraphicsTest* gui = nullptr;
  Painter* painter = nullptr;
};

} // namespace

TEST(LiceMapping, ColourPackingAndBlendModes)
{
  IColor c(0x12, 0x34, 0x56, 0x78);
  EXPECT_EQ(LiceColor(&c), 0x78563412u);
  EXPECT_EQ(IColorFromLice(0x78563412u), c);
  IColor wild(300, -4, 255, 0);
  EXPECT_EQ(LiceColor(&wild), 0x00FF00FFu); // channels limited to 0-255
  EXPECT_EQ(LiceColor(nullptr), 0u);

  struct
  {
    IChannelBlend::EBlendMethod m;
    int mode, rotated;
  } rows[] = {
    {IChannelBlend::kBlendNone, 0x10000, 0x10100},      {IChannelBlend::kBlendClobber, 0, 0x100},
    {IChannelBlend::kBlendAdd, 0x10001, 0x10101},       {IChannelBlend::kBlendColorDodge, 0x10002, 0x10102},
    {IChannelBlend::EBlendMethod(9), 0x10000, 0x10100},
  };
  for (auto& r : rows)
  {
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
  for (int i = 0; i < 24; ++i)
    src->bits[i] = Px(255, i, 0, 0);
  IBitmap bmp(src, 6, 4, 1);
  gui->RetainBitmap(&bmp);
  IChannelBlend clobber(IChannelBlend::kBlendClobber);
  IRECT dest(2, 3, 8, 7);
  Paint(IRECT(4, 0, 20, 5), [&](IGraphicsLice* g) { g->DrawBitmap(&bmp, &dest, 1, 0, &clobber); });
  // Only x 4..6, y 3..4 land (x 7 would read past the source); pixel (x, y)
  // shows source (x - 2 + 1, y - 3).
  EXPECT_EQ(Count(0), 200 - 6);
  for (int y = 3; y < 5; ++y)
    for (int x = 4; x < 7; ++x)
      EXPECT_EQ(At(x, y), src->bits[(y - 3) * 6 + x - 1]) << x << "," << y;
  gui->DrawBitmap(&bmp, &dest, 1, 0, &clobber); // outside a pass: still the last pass's area
  EXPECT_EQ(Count(0), 200 - 6);

  LICE_Clear(gui->GetBackBuffer(), 0);
  IRECT touching(20, 0, 26, 4); // its left edge is the area's right edge
  Paint(IRECT(0, 0, 20, 10), [&](IGraphicsLice* g) { g->DrawBitmap(&bmp, &touching, 0, 0, &clobber); });
  EXPECT_EQ(Count(0), 200);
  gui->ReleaseBitmap(&bmp);
}

TEST_F(BackendTest, StraightLinesAreClampedToTheBufferAndClipped)
{
  IColor red = COLOR_RED;
  LICE_PixelValue px = LiceColor(&red);
  Paint(IRECT(0, 0, 20, 10), [&](IGraphicsLice* g) { g->DrawHorizontalLine(&red, -3, -5, 10000); });
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ(At(x, 0), px);
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
    for (int x = 0; x < bb->getRowSpan(); ++x)
      lit += bb->getBits()[y * bb->getRowSpan() + x] == px;
  EXPECT_EQ(lit, 12 + 6 - 1); // bottom row and right column of the 12 x 6 view
  EXPECT_EQ(bb->getBits()[5 * bb->getRowSpan() + 11], px);

  gui->GetBackBuffer()->resize(20, 10);
  LICE_Clear(gui->GetBackBuffer(), 0);
  Paint(IRECT(5, 2, 8, 4), [&](IGraphicsLice* g) {
    IRECT whole(0, 0, 19, 9);
    g->DrawRect(&red, &whole);
    g->DrawHorizontalLine(&red, 3, 0, 19);
  });
  EXPECT_EQ(Count(px), 3); // only the row-3 stretch inside the area
  IRECT border(0, 0, 19, 9);
  gui->DrawRect(&red, &border); // outside a pass only the buffer clips
  EXPECT_EQ(Count(px), 3 + 56);
}

TEST_F(BackendTest, PixelsPointsAndFillsStayInside)
{
  IColor blue = COLOR_BLUE;
  LICE_PixelValue px = LiceColor(&blue);
  bool outside = true, inside = false;
  Paint(IRECT(2, 2, 6, 6), [&](IGraphicsLice* g) {
    outside = g->ForcePixel(&blue, 30, 3) || g->ForcePixel(&blue, -1, 3) || g->ForcePixel(&blue, 7, 3);
    inside = g->ForcePixel(&blue, 5, 5);
    g->DrawPoint(&blue, 2.4f, 1.6f, nullptr, false); // rounds to (2, 2)
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
  IRECT row(-100, 8, 100, 9);
  EXPECT_TRUE(gui->ForcePixel(&blue, 7, 3) && gui->FillIRect(&blue, &row, nullptr)); // outside a pass
  EXPECT_EQ(Count(px), 2 + 4 + 1 + 20);
}

TEST(LiceBackBuffer, RepeatedPrepDrawAndAFailedBufferDrawNothing)
{
  auto plug = MakeEditorPlug();
  auto* gui = MakeEditor(plug.get(), 1 << 15, 1 << 15); // 2^30 pixels: refused
  plug->AttachGraphics(gui);
  gui->PrepDraw(); // the old buffers are freed, not leaked
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

// A primitive drawn in a pass over an area equals the raw raster call on a
// copy of the buffer, inside the area, and leaves every pixel outside alone.
TEST_F(BackendTest, TransformsAndVectorsMatchTheRasterCallInsideTheArea)
{
  IBitmap img = gui->LoadIBitmap(6, "mask", 1); // 9 x 7
  IColor col(200, 10, 220, 90);
  IChannelBlend add(IChannelBlend::kBlendAdd, 0.7f);
  struct Case
  {
    const char* name;
    std::function<void(IGraphicsLice*)> editor;
    std::function<void(LICE_IBitmap*)> raw;
  } cases[] = {
    {"line", [&](IGraphicsLice* g) { g->DrawLine(&col, 1.7f, 9.2f, 18.9f, 0.5f, &add, true); },
     [&](LICE_IBitmap* b) { LICE_Line(b, 1, 9, 18, 0, LiceColor(&col), 0.7f, 0x10001, true); }},
    {"circle", [&](IGraphicsLice* g) { g->DrawCircle(&col, 9.5f, 4.5f, 6.0f, nullptr, true); },
     [&](LICE_IBitmap* b) { LICE_Circle(b, 9.5f, 4.5f, 6.0f, LiceColor(&col), 1.0f, 0x10000, true); }},
    {"arc", [&](IGraphicsLice* g) { g->DrawArc(&col, 10.0f, 5.0f, 7.0f, -1.0f, 2.5f, &add, false); },
     [&](LICE_IBitmap* b) { LICE_Arc(b, 10.0f, 5.0f, 7.0f, -1.0f, 2.5f, LiceColor(&col), 0.7f, 0x10001, false); }},
    {"rotated", [&](IGraphicsLice* g) { g->DrawRotatedBitmap(&img, 10, 5, 0.6, 1, &add); },
     [&](LICE_IBitmap* b) {
       LICE_RotatedBlit(b, img.mData, 6, 2, 9, 7, 0.0f, 0.0f, 9.0f, 7.0f, 0.6f, false, 0.7f, 0x10101, 0.0f, 1.0f);
     }},
  };
  const IRECT area(3, 0, 10, 6); // crossed by each shape's edge
  for (auto& c : cases)
  {
    TestRng rng{7};
    LICE_IBitmap* bb = gui->GetBackBuffer();
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x)
        bb->getBits()[y * bb->getRowSpan() + x] = rng.pixel();
    LICE_MemBitmap before(20, 10), expect(20, 10);
    LICE_Copy(&before, bb);
    LICE_Copy(&expect, bb);
    c.raw(&expect);
    Paint(area, c.editor);
    int changed = 0;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x)
      {
        LICE_PixelValue want = area.Contains(x, y) ? expect.bits[y * 20 + x] : before.bits[y * 20 + x];
        ASSERT_EQ(bb->getBits()[y * bb->getRowSpan() + x], want) << c.name << " at " << x << "," << y;
        changed += want != before.bits[y * 20 + x];
      }
    EXPECT_GT(changed, 0) << c.name;
  }
}

TEST_F(BackendTest, MasksScalingAndNonFiniteShapes)
{
  IBitmap part = gui->LoadIBitmap(6, "mask", 1);
  Paint(IRECT(0, 0, 20, 10), [&](IGraphicsLice* g) {
    EXPECT_FALSE(g->DrawLine(&COLOR_RED, NAN, 0.0f, 5.0f, 5.0f, nullptr, false));
    EXPECT_FALSE(g->DrawCircle(&COLOR_RED, 5.0f, 5.0f, INFINITY, nullptr, false));
    EXPECT_FALSE(g->DrawRotatedBitmap(&part, 5, 5, NAN, 0, nullptr));
    g->DrawLine(&COLOR_RED, 1e30f, 0.0f, 5.0f, 5.0f, nullptr, false);
  });
  EXPECT_EQ(Count(0), 200);

  Paint(IRECT(0, 0, 20, 10), [&](IGraphicsLice* g) { g->DrawRotatedMask(&part, &part, &part, 3, 2, 30.0, nullptr); });
  int drawn = 200 - Count(0);
  EXPECT_GT(drawn, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x)
      if (!IRECT(3, 2, 12, 9).Contains(x, y))
      {
        EXPECT_EQ(At(x, y), 0u) << x << "," << y;
      }

  auto* flat = new LICE_MemBitmap(4, 6);
  LICE_Clear(flat, Px(255, 40, 80, 120));
  IBitmap src(flat, 4, 6, 3);
  gui->RetainBitmap(&src);
  IBitmap big = gui->ScaleBitmap(&src, 8, 12);
  EXPECT_EQ(big.W, 8);
  EXPECT_EQ(big.H, 12);
  EXPECT_EQ(big.N, 3); // all frames scale together
  for (int i = 0; i < 8 * 12; ++i)
    ASSERT_EQ(big.mData->getBits()[i], Px(255, 40, 80, 120)) << i;
  EXPECT_EQ(gui->ScaleBitmap(&src, -3, 5).W, 0);
  gui->ReleaseBitmap(&big);
  gui->ReleaseBitmap(&src);
}
