// What the host hears for each gesture: begin before the first change, end
// only for a gesture that began, whatever order the mouse events arrive in.

#include <cmath>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace
{

struct Probe : IControl
{
  using IControl::IControl;
  bool Draw(IGraphics*) override { return true; }
};

// Background, a knob (param 0) under two disabled probes (param 2), a
// switch (param 1) and a contact (param 3).
void BuildLayout(IGraphicsTest* gui, IPlugBase* plug)
{
  gui->AttachBackground(1, "bg");
  IBitmap knob = gui->LoadIBitmap(3, "knob", 10), sw = gui->LoadIBitmap(2, "switch", 3);
  gui->AttachControl(new IKnobMultiControl(plug, 10, 10, 0, &knob)); // 16 x 16
  gui->AttachControl(new ISwitchControl(plug, 30, 5, 1, &sw));       // 12 x 10
  gui->AttachControl(new IContactControl(plug, 40, 20, 3, &sw));
  auto* hidden = new Probe(plug, IRECT(10, 10, 20, 20), 2);
  auto* grayed = new Probe(plug, IRECT(14, 14, 26, 26), 2);
  gui->AttachControl(hidden);
  gui->AttachControl(grayed);
  hidden->Hide(true);
  grayed->GrayOut(true);
}

struct GestureTest : ::testing::Test
{
  void SetUp() override
  {
    plug = MakeEditorPlug();
    gui = MakeEditor(plug.get());
    BuildLayout(gui, plug.get());
    plug->AttachGraphics(gui);
    gui->OpenWindow(nullptr);
  }
  // The host calls since the last look, as "B0 I0=0.0625 E0".
  std::string Heard()
  {
    std::string s;
    char buf[32];
    for (auto& c : plug->mHostCalls)
    {
      if (c.mKind == IPlugTest::HostCall::kInform)
        snprintf(buf, sizeof(buf), "I%d=%g ", c.mIdx, c.mValue);
      else
        snprintf(buf, sizeof(buf), "%c%d ", c.mKind == IPlugTest::HostCall::kBegin ? 'B' : 'E', c.mIdx);
      s += buf;
    }
    plug->mHostCalls.clear();
    if (!s.empty())
      s.pop_back();
    return s;
  }

  std::unique_ptr<IPlugTest> plug;
  IGraphicsTest* gui = nullptr;
  IMouseMod left{true}, right{true, true};
};

} // namespace

TEST_F(GestureTest, KnobDragEndsOutsideAndSwitchClick)
{
  gui->OnMouseDown(12, 12, &left);
  gui->OnMouseDrag(12, 12, &left); // no motion: not delivered
  gui->OnMouseDrag(12, 8, &left);  // 4 up in 16 pixels at gearing 4
  gui->OnMouseUp(59, 39, &left);   // released over the background
  EXPECT_EQ(Heard(), "B0 I0=0.0625 E0");

  gui->OnMouseDown(31, 6, &left);
  gui->OnMouseUp(31, 6, &left);
  EXPECT_EQ(Heard(), "B1 I1=0.5 E1");
  gui->OnMouseDown(2, 2, &left); // the background has no parameter
  gui->OnMouseUp(2, 2, &left);
  EXPECT_EQ(Heard(), "");
  EXPECT_EQ(gui->GetMouseControlIdx(2, 2), 0);
}

TEST_F(GestureTest, DoubleClicksStayBalanced)
{
  gui->OnMouseDown(12, 12, &left);
  gui->OnMouseDrag(12, 4, &left);
  gui->OnMouseUp(12, 4, &left);
  Heard();
  // The platform sends down, up, double click, up.
  EXPECT_FALSE(gui->OnMouseDblClick(12, 12, &left));
  EXPECT_EQ(Heard(), "B0 I0=0 E0"); // back to the default, in a gesture of its own
  gui->OnMouseUp(12, 12, &left);
  EXPECT_EQ(Heard(), ""); // a release without a press opens no gesture
  EXPECT_EQ(gui->GetCaptureIndex(), -1);

  gui->GetControl(2)->SetDoubleClickAsClick(true);
  EXPECT_TRUE(gui->OnMouseDblClick(31, 6, &left));
  EXPECT_EQ(gui->GetCaptureIndex(), 2);
  gui->OnMouseUp(0, 0, &left);
  EXPECT_EQ(Heard(), "B1 I1=0.5 E1");
}

TEST_F(GestureTest, RightClickWheelAndReleasesWithoutPress)
{
  gui->OnMouseDown(12, 12, &right);
  gui->OnMouseUp(12, 12, &right);
  EXPECT_EQ(Heard(), "B0 E0");
  EXPECT_EQ(gui->mPrompts, 1);

  gui->OnMouseWheel(12, 12, &left, 1);
  EXPECT_EQ(Heard(), "B0 I0=0.01 E0");
  gui->OnMouseDown(12, 12, &left);
  gui->OnMouseWheel(50, 30, &left, 1); // goes to the captured knob, inside its gesture
  gui->OnMouseUp(12, 12, &left);
  EXPECT_EQ(Heard(), "B0 I0=0.02 E0");

  gui->OnMouseUp(41, 21, &left); // a contact released without a press
  EXPECT_EQ(Heard(), "I3=0");
}

TEST_F(GestureTest, DisabledControlsOnTopAreNeverHit)
{
  EXPECT_EQ(gui->GetMouseControlIdx(12, 12), 1); // the hidden probe covers it
  EXPECT_EQ(gui->GetMouseControlIdx(18, 18), 1); // so does the greyed one
  gui->OnMouseDown(18, 18, &left);
  gui->OnMouseUp(18, 18, &left);
  EXPECT_EQ(Heard(), "B0 E0");
}

TEST_F(GestureTest, NewPressCloseAndResizeEndTheOpenGesture)
{
  gui->OnMouseDown(12, 12, &left);
  gui->OnMouseDown(31, 6, &left); // the knob's release never came
  gui->OnMouseUp(31, 6, &left);
  EXPECT_EQ(Heard(), "B0 E0 B1 I1=0.5 E1");

  gui->OnMouseDown(12, 12, &left);
  gui->CloseWindow();
  gui->OnMouseUp(2, 2, &left);
  EXPECT_EQ(Heard(), "B0 E0");

  gui->OnMouseDown(12, 12, &left);
  gui->OnMouseDrag(12, 10, &left);
  gui->Resize(80, 50);
  EXPECT_EQ(Heard(), "B0 I0=0.03125 E0");
  EXPECT_EQ(gui->NControls(), 0);
  EXPECT_EQ(plug->mResizeW, 80);
  gui->OnMouseDrag(12, 2, &left);
  gui->OnMouseUp(12, 2, &left);
  EXPECT_EQ(Heard(), "");
}

// Random presses, drags, releases, double clicks, wheels, closes and
// resizes: a change made while a gesture is open is on its parameter,
// every end closes the open one, and values stay in 0..1.
TEST(GestureStream, RandomEventsKeepBeginAndEndBalanced)
{
  for (int seed = 0; seed < 200; ++seed)
  {
    auto plug = MakeEditorPlug();
    auto* gui = MakeEditor(plug.get());
    BuildLayout(gui, plug.get());
    plug->AttachGraphics(gui);
    TestRng rng{uint64_t(seed)};
    for (int step = 0; step < 300; ++step)
    {
      int x = rng.range(-5, 64), y = rng.range(-5, 44);
      IMouseMod mod(true, rng.chance(10), rng.chance(20), rng.chance(10));
      switch (rng.range(0, 9))
      {
      case 0:
      case 1: gui->OnMouseDown(x, y, &mod); break;
      case 2:
      case 3: gui->OnMouseUp(x, y, &mod); break;
      case 4:
      case 5: gui->OnMouseDrag(x, y, &mod); break;
      case 6: gui->OnMouseDblClick(x, y, &mod); break;
      case 7: gui->OnMouseWheel(x, y, &mod, rng.range(-3, 3)); break;
      case 8:
        if (rng.chance(50))
          gui->CloseWindow();
        else if (IControl* c = gui->GetControl(rng.range(1, 3)))
          c->SetDoubleClickAsClick(rng.chance(50));
        break;
      default:
        if (rng.chance(20))
        {
          gui->Resize(60, 40);
          BuildLayout(gui, plug.get());
        }
      }
    }
    gui->CloseWindow();
    int open = -1;
    for (size_t i = 0; i < plug->mHostCalls.size(); ++i)
    {
      const auto& c = plug->mHostCalls[i];
      std::string where = "seed " + std::to_string(seed) + " call " + std::to_string(i);
      if (c.mKind == IPlugTest::HostCall::kBegin)
      {
        ASSERT_EQ(open, -1) << where;
        open = c.mIdx;
      }
      else if (c.mKind == IPlugTest::HostCall::kEnd)
      {
        ASSERT_EQ(open, c.mIdx) << where;
        open = -1;
      }
      else
      {
        ASSERT_TRUE(open < 0 || open == c.mIdx) << where;
        ASSERT_TRUE(c.mValue >= 0.0 && c.mValue <= 1.0) << where;
      }
    }
    EXPECT_EQ(open, -1) << "seed " << seed;
  }
}
