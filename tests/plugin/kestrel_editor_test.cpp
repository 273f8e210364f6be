#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "plugin/KestrelControls.h"
#include "plugin/KestrelEditorLink.h"
#include "tests/plugin/KestrelHarness.h"
#include "tests/support/IGraphicsTest.h"

namespace
{
// Image sizes a layout can be checked against: width, height per frame.
struct Art
{
  const char* name;
  int w, frameH, frames;
};
constexpr Art kArt[] = {
  {"kestrelbg.png", 700, 249, 1}, {"topVU.png", 200, 30, 121},    {"botVU.png", 200, 30, 121},
  {"button.png", 40, 20, 2},      {"outgr.png", 60, 30, 2},       {"topslide.png", 180, 40, 100},
  {"botslide.png", 180, 40, 100}, {"slidebutton.png", 10, 10, 1}, {"ratiostack.png", 100, 118, 5},
  {"smallknob.png", 50, 30, 136}, {"knob.png", 70, 70, 136},      {"numberstack.png", 14, 20, 100},
};

std::vector<std::string> gLoaded;
std::vector<int> gControlsAtLoad;

LICE_IBitmap* LoadArt(int, const char* name)
{
  for (const Art& a : kArt)
    if (std::string(a.name) == name)
      return new LICE_MemBitmap(a.w, a.frameH * a.frames);
  return nullptr;
}

// The bitmap cache outlives editors, so the order is taken from the requests.
struct RecordingEditor : IGraphicsTest
{
  using IGraphicsTest::IGraphicsTest;
  IBitmap LoadIBitmap(int id, const char* name, int nStates) override
  {
    gLoaded.push_back(name);
    gControlsAtLoad.push_back(NControls());
    return IGraphicsTest::LoadIBitmap(id, name, nStates);
  }
};

struct EditorHarness : KestrelHarness
{
  EditorHarness()
  {
    gLoaded.clear();
    gControlsAtLoad.clear();
    g = new RecordingEditor(plug.get(), 700, 249, 30);
    g->mLoader = LoadArt;
    plug->BuildEditor(g);
  }
  IGraphicsTest* g;
};

std::vector<int> Frames(IOdometerControl& c)
{
  std::vector<int> f;
  for (int i = 0; i < c.NDigits(); ++i)
    f.push_back(c.DigitFrame(i));
  return f;
}
} // namespace

TEST(KestrelEditor, OdometerFramesRollTowardTheNextDigit)
{
  IBitmap strip(nullptr, 14, 2000, 100);
  IOdometerControl four(nullptr, 0, 0, 4, &strip), three(nullptr, 0, 0, 3, &strip);
  EXPECT_EQ(four.GetRECT(), IRECT(0, 0, 56, 20));
  four.SetValueFromPlug(250);
  EXPECT_EQ(Frames(four), (std::vector<int>{0, 20, 50, 0}));
  four.SetValueFromPlug(2000);
  EXPECT_EQ(Frames(four), (std::vector<int>{20, 0, 0, 0}));
  four.SetValueFromPlug(259);
  EXPECT_EQ(Frames(four), (std::vector<int>{0, 20, 50, 90}));
  four.SetValueFromPlug(259.5);
  EXPECT_EQ(Frames(four), (std::vector<int>{0, 20, 55, 90}));
  three.SetValueFromPlug(12.34);
  EXPECT_EQ(Frames(three), (std::vector<int>{0, 10, 20}));
  EXPECT_EQ(four.GetValue(), 0.0); // the value itself is not touched
}

TEST(KestrelEditor, OdometerLimitsDigitsAndValues)
{
  IBitmap strip(nullptr, 14, 2000, 100);
  IOdometerControl many(nullptr, 0, 0, 25, &strip), none(nullptr, 0, 0, -3, &strip);
  EXPECT_EQ(many.NDigits(), 10);
  EXPECT_EQ(none.NDigits(), 0);
  for (double v : {double(NAN), double(INFINITY), -double(INFINITY), 1e300, -5.0})
  {
    many.SetValueFromPlug(v);
    for (int f : Frames(many))
      EXPECT_TRUE(f >= 0 && f < 100) << v;
  }
}

TEST(KestrelEditor, RatioRegionsAreHalfOpen)
{
  EditorHarness h;
  auto* ratio = dynamic_cast<IImageMapControl*>(h.g->GetControl(1));
  ASSERT_NE(ratio, nullptr);
  const int L = 363, T = 65;
  IMouseMod left(true);
  ratio->OnMouseDown(L + 50, T + 50, &left);
  EXPECT_EQ(ratio->GetValue(), 1.0);
  EXPECT_EQ(h.plug->GetParam(kRatio)->Int(), kRatioAllIn);
  ratio->OnMouseDown(L + 17, T + 10, &left);
  EXPECT_EQ(ratio->GetValue(), 1.0);
  struct Hit
  {
    int dx, dy, state;
  } hits[] = {{18, 4, 0},   {30, 16, 0},  {31, 16, -1}, {3, 33, 1},  {15, 45, 1},  {3, 69, 2},
              {16, 70, -1}, {18, 100, 3}, {30, 112, 3}, {42, 12, 4}, {98, 104, 4}, {99, 50, -1}};
  for (const Hit& c : hits)
    EXPECT_EQ(ratio->RegionAt(L + c.dx, T + c.dy), c.state) << c.dx << "," << c.dy;
  ratio->OnMouseDown(L + 20, T + 105, &left);
  EXPECT_EQ(ratio->GetValue(), 0.75);
  IMouseMod right(true, true);
  ratio->OnMouseDown(L + 20, T + 5, &right);
  EXPECT_EQ(ratio->GetValue(), 0.75);
}

TEST(KestrelEditor, LayoutInAttachOrder)
{
  EditorHarness h;
  const std::vector<std::string> order = {"kestrelbg.png",  "topVU.png",     "botVU.png",    "button.png",
                                          "outgr.png",      "topslide.png",  "botslide.png", "slidebutton.png",
                                          "ratiostack.png", "smallknob.png", "knob.png",     "numberstack.png"};
  EXPECT_EQ(gLoaded, order);
  // The background loads first, the digit strip once both meters are on.
  EXPECT_EQ(gControlsAtLoad, (std::vector<int>{0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 15}));
  ASSERT_EQ(h.g->NControls(), 18);
  struct Expect
  {
    int l, t, w, h, param;
  } want[] = {
    {0, 0, 700, 249, -1},
    {363, 65, 100, 118, kRatio},
    {596, 77, 60, 30, kMeter},
    {26, 209, 40, 20, kDecadence},
    {613, 28, 40, 20, kSidechain},
    {613, 205, 40, 20, kAutoMakeup},
    {113, 19, 70, 70, kAttack},
    {250, 82, 70, 70, kRelease},
    {113, 146, 70, 70, kImpetus},
    {422, 5, 180, 40, kThreshold},
    {424, 197, 180, 40, kCompensation},
    {344, 201, 50, 30, kParallel},
    {344, 17, 50, 30, kDetectorHPF},
    {460, 50, 200, 30, -1},
    {460, 135, 200, 30, -1},
    {199, 52, 56, 20, -1},
    {204, 116, 56, 20, -1},
    {199, 179, 42, 20, -1},
  };
  for (int i = 0; i < 18; ++i)
  {
    const Expect& e = want[i];
    IControl* c = h.g->GetControl(i);
    EXPECT_EQ(c->GetRECT(), IRECT(e.l, e.t, e.l + e.w, e.t + e.h)) << i;
    EXPECT_EQ(c->ParamIdx(), e.param) << i;
  }
  EXPECT_EQ(h.plug->GetGUI(), h.g);
  EXPECT_EQ(h.plug->GetInputMeter(), h.g->GetControl(13));
  EXPECT_EQ(h.plug->GetOutputMeter(), h.g->GetControl(14));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(h.plug->GetReadout(i), h.g->GetControl(15 + i));
}

TEST(KestrelEditor, AudioPathPostsMetersAndReadouts)
{
  EditorHarness h;
  h.Set(kRelease, 259.0);
  IRECT r;
  h.g->IsDirty(&r); // the editor's tick takes what was posted
  EXPECT_EQ(Frames(*h.plug->GetReadout(1)), (std::vector<int>{0, 20, 50, 90}));
  PushMeterValue(h.plug->GetInputMeter(), 7.0);
  PushMeterValue(h.plug->GetOutputMeter(), 0.25);
  h.g->IsDirty(&r);
  EXPECT_EQ(h.plug->GetInputMeter()->GetValue(), 1.0);
  EXPECT_EQ(h.plug->GetOutputMeter()->GetValue(), 0.25);
}
