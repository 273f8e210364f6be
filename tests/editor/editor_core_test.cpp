// The editor core: the control list, parameter mirroring, dirty union and
// idle count, and which controls each drawing pass draws and cleans.

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace
{

struct Counting : IControl
{
  Counting(IPlugBase* plug, const IRECT& r, int paramIdx = -1) : IControl(plug, r, paramIdx) {}
  bool Draw(IGraphics*) override
  {
    ++mDraws;
    mDrawnValue = mValue;
    return true;
  }
  void OnGUIIdle() override { ++mIdles; }
  int mDraws = 0, mIdles = 0;
  double mDrawnValue = -1.0;
};

struct CoreTest : ::testing::Test
{
  void SetUp() override
  {
    plug = MakeEditorPlug();
    plug->GetParam(3)->InitDouble("db", 0.0, -60.0, 0.0, 0.1);
    gui = MakeEditor(plug.get(), 100, 50);
    plug->AttachGraphics(gui);
  }
  Counting* Add(IRECT r, int paramIdx = -1)
  {
    auto* c = new Counting(plug.get(), r, paramIdx);
    gui->AttachControl(c);
    return c;
  }
  void CleanAll()
  {
    IRECT all(0, 0, 100, 50);
    gui->Draw(&all);
  }
  std::unique_ptr<IPlugTest> plug;
  IGraphicsTest* gui = nullptr;
};

} // namespace

TEST_F(CoreTest, ConstructionListAndBackground)
{
  IGraphicsTest slow(plug.get(), 10, 10, 0);
  EXPECT_EQ(slow.FPS(), 24);
  IRECT r;
  EXPECT_TRUE(gui->Draw(&r)); // no controls: the screen is not touched
  EXPECT_EQ(gui->mScreenDraws, 0);

  auto* a = Add(IRECT(0, 0, 5, 5));
  EXPECT_EQ(gui->AttachControl(new Counting(plug.get(), IRECT())), 1);
  gui->AttachBackground(1, "bg");
  EXPECT_EQ(gui->NControls(), 3);
  EXPECT_EQ(gui->GetControl(1), a);
  EXPECT_EQ(gui->GetControl(0)->GetRECT(), IRECT(0, 0, 60, 40));
  EXPECT_EQ(gui->GetControl(0)->GetBlend().mMethod, IChannelBlend::kBlendClobber);
  EXPECT_EQ(gui->GetControl(0)->ParamIdx(), -1);
}

TEST_F(CoreTest, ParameterMirroring)
{
  auto* a = Add(IRECT(0, 0, 5, 5), 3);
  auto* b = Add(IRECT(5, 0, 9, 5), 3);
  auto* other = Add(IRECT(10, 0, 15, 5), 1);
  gui->SetParameterFromPlug(3, -15.0, false); // plain dB, normalised by the parameter
  gui->SetParameterFromPlug(99, 0.5, true);
  gui->SetParameterFromPlug(-1, 0.5, true);
  gui->DrainPostedValues();
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.75);
  EXPECT_DOUBLE_EQ(b->GetValue(), 0.75);
  EXPECT_EQ(other->GetValue(), 0.0);
  gui->SetControlFromPlug(2, 0.25);
  gui->SetControlFromPlug(7, 0.25);
  CleanAll(); // a paint with no tick before it, as when a window opens
  EXPECT_EQ(other->mDrawnValue, 0.25);

  gui->ClampControl(3, -30.0, -6.0, false);
  EXPECT_DOUBLE_EQ(a->GetClampLow(), 0.5);
  EXPECT_DOUBLE_EQ(b->GetClampHigh(), 0.9);
  gui->SetParameterFromGUI(3, 0.95); // the user's value, clamped and pushed
  EXPECT_DOUBLE_EQ(a->GetValue(), 0.9);
  EXPECT_EQ(plug->mHostCalls.size(), 2u);

  gui->HideControl(3, true);
  gui->GrayOutControl(1, true);
  EXPECT_TRUE(a->IsHidden() && b->IsHidden());
  EXPECT_TRUE(other->IsGrayed());
  EXPECT_FALSE(other->IsHidden());
}

TEST_F(CoreTest, DirtyUnionAndIdleCount)
{
  auto* a = Add(IRECT(10, 10, 20, 20));
  auto* b = Add(IRECT(30, 5, 40, 15));
  IRECT r;
  ASSERT_TRUE(gui->IsDirty(&r));
  EXPECT_EQ(r, IRECT(10, 5, 40, 20));
  CleanAll();
  for (int i = 1; i <= 20; ++i)
    ASSERT_FALSE(gui->IsDirty(&r));
  EXPECT_EQ(a->mIdles, 0);
  b->SetDirty(false); // a dirty tick restarts the count
  EXPECT_TRUE(gui->IsDirty(&r));
  CleanAll();
  for (int i = 1; i <= 20; ++i)
    gui->IsDirty(&r);
  EXPECT_EQ(a->mIdles, 0);
  gui->IsDirty(&r); // the 21st clean tick
  EXPECT_EQ(a->mIdles, 1);
  EXPECT_EQ(b->mIdles, 1);
  for (int i = 1; i <= 20; ++i)
    gui->IsDirty(&r);
  EXPECT_EQ(a->mIdles, 1);
}

TEST_F(CoreTest, StrictPassDrawsWhatTouchesAndCleansWhatItCovered)
{
  auto* left = Add(IRECT(0, 0, 10, 10));
  auto* right = Add(IRECT(20, 0, 30, 10)); // L equals the pass's R
  auto* before = Add(IRECT(40, 0, 50, 10));
  auto* hidden = Add(IRECT(12, 0, 18, 10));
  hidden->Hide(true);
  IRECT pass(10, 0, 20, 10);
  before->SetClean();
  gui->Draw(&pass);
  EXPECT_EQ(left->mDraws, 0); // its R 10 is not past the pass's L 10
  EXPECT_EQ(right->mDraws, 1);
  EXPECT_EQ(hidden->mDraws, 0);
  EXPECT_EQ(gui->mScreenDraws, 1);
  // Neither neighbour lay inside the pass: both keep their redraw.
  EXPECT_TRUE(left->IsDirty());
  EXPECT_TRUE(right->IsDirty());
  EXPECT_TRUE(hidden->IsDirty()); // asked for one more pass when hidden
  gui->Draw(&pass);
  EXPECT_FALSE(hidden->IsDirty());
}

TEST_F(CoreTest, NonStrictPasses)
{
  gui->AttachBackground(1, "bg");
  auto* a = Add(IRECT(5, 5, 15, 15));
  auto* b = Add(IRECT(10, 10, 20, 20));
  auto* far = Add(IRECT(40, 30, 50, 40));
  auto* hidden = Add(IRECT(0, 0, 4, 4));
  gui->SetStrictDrawing(false);
  hidden->Hide(true);
  IRECT r;
  gui->IsDirty(&r);
  gui->Draw(&r); // the dirty background redraws everything visible
  EXPECT_EQ(a->mDraws, 1);
  EXPECT_EQ(far->mDraws, 1);
  EXPECT_EQ(hidden->mDraws, 0);
  EXPECT_TRUE(hidden->IsDirty());
  EXPECT_FALSE(a->IsDirty());

  gui->IsDirty(&r);
  gui->Draw(&r); // only the hidden one's area, without it
  EXPECT_EQ(hidden->mDraws, 0);
  EXPECT_TRUE(hidden->IsDirty()); // hiding asked for one more pass
  b->SetDirty(false);
  gui->IsDirty(&r);
  gui->Draw(&r); // b's area (the background, a and b) and the hidden one's again
  EXPECT_FALSE(hidden->IsDirty());
  EXPECT_EQ(hidden->mDraws, 0);
  EXPECT_EQ(a->mDraws, 2);
  EXPECT_EQ(b->mDraws, 2);
  EXPECT_EQ(far->mDraws, 1);
}
