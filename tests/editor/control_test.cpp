// Value, frame and layout maths of the control base and library, from
// tables worked out by hand, at the edges where divisions and clamps bite.

#include <cmath>

#include <gtest/gtest.h>

#include "tests/editor/EditorFixture.h"

namespace
{

struct EditorTest : ::testing::Test
{
  void SetUp() override
  {
    plug = MakeEditorPlug();
    gui = MakeEditor(plug.get());
    plug->AttachGraphics(gui);
  }
  template <class C>
  C* Attach(C* c)
  {
    gui->AttachControl(c);
    return c;
  }
  IBitmap Load(int id) { return gui->LoadIBitmap(id, "x", FindTestImage(id)->frames); }
  // The last value the host was told, or NaN.
  double LastInform() const
  {
    for (auto it = plug->mHostCalls.rbegin(); it != plug->mHostCalls.rend(); ++it)
      if (it->mKind == IPlugTest::HostCall::kInform)
        return it->mValue;
    return NAN;
  }

  std::unique_ptr<IPlugTest> plug;
  IGraphicsTest* gui = nullptr;
  IMouseMod left{true}, right{true, true}, shift{true, false, true};
};

struct Probe : IControl
{
  using IControl::IControl;
  bool Draw(IGraphics*) override { return true; }
  void SetValue(double v) { mValue = v; }
  bool RedrawPending() const { return mRedrawPending; }
};

struct Knob : IKnobControl
{
  using IKnobControl::IKnobControl;
  bool Draw(IGraphics*) override { return true; }
};

} // namespace

TEST(IRECTMaths, EmptyContainsIntersectsUnion)
{
  IRECT a(0, 0, 10, 10), b(10, 0, 20, 10), zero;
  EXPECT_TRUE(zero.Empty());
  EXPECT_FALSE(IRECT(0, 0, 0, 5).Empty()); // degenerate but not all zero
  EXPECT_FALSE(zero.Contains(0, 0));
  EXPECT_TRUE(a.Contains(9, 9));
  EXPECT_FALSE(a.Contains(10, 5));
  EXPECT_TRUE(a.Intersects(b));  // a's right edge 10 >= b's left 10
  EXPECT_FALSE(b.Intersects(a)); // b's left 10 is not < a's right 10
  EXPECT_FALSE(a.Intersects(zero));
  EXPECT_EQ(a.Union(b), IRECT(0, 0, 20, 10));
  EXPECT_EQ(zero.Union(b), b);
  EXPECT_EQ(IRECT(2, 3, 8, 9).Intersect(IRECT(5, 0, 20, 6)), IRECT(5, 3, 8, 6));
}

TEST(FrameMaths, FrameOfAStripForAValue)
{
  struct
  {
    double v;
    int n, frame;
  } rows[] = {
    {0.0, 1, 1},   {0.7, 1, 1},   {0.0, 10, 1},  {1.0, 10, 10}, {0.5, 10, 6}, // 1 + 4.5 + 0.5
    {0.05, 10, 1}, {0.06, 10, 2}, {1.2, 10, 10}, {-0.3, 10, 1}, {NAN, 10, 1},
    {0.5, 0, 1},   {0.5, -3, 1},  {0.5, 2, 2},   {0.49, 2, 1},  {0.25, 5, 2},
  };
  for (auto& r : rows)
    EXPECT_EQ(FrameForValue(r.v, r.n), r.frame) << r.v << " of " << r.n;
}

TEST_F(EditorTest, BaseValueDefaultsDirtAndWheel)
{
  auto* c = Attach(new Probe(plug.get(), IRECT(0, 0, 10, 10), 0));
  c->SetValueFromPlug(0.0); // equal to the current value, still the first: becomes the default
  EXPECT_EQ(c->GetDefaultValue(), 0.0);
  c->SetValueFromPlug(0.3);
  c->SetValueFromPlug(NAN);
  c->SetValueFromPlug(INFINITY);
  EXPECT_EQ(c->GetValue(), 0.3);
  EXPECT_TRUE(plug->mHostCalls.empty()); // values from the plug-in never go back

  c->OnMouseDblClick(1, 1, &left);
  EXPECT_EQ(c->GetValue(), 0.0);
  EXPECT_EQ(LastInform(), 0.0);

  c->SetValue(0.995);
  c->OnMouseWheel(1, 1, &left, 1);
  EXPECT_EQ(c->GetValue(), 1.0); // 1.005 clamped
  c->OnMouseWheel(1, 1, &shift, -3);
  EXPECT_NEAR(c->GetValue(), 0.997, 1e-12);
  c->SetValue(7.0);
  c->SetDirty(true);
  EXPECT_EQ(LastInform(), 1.0); // the clamped value reaches the plug-in

  c->SetValueFromUserInput(NAN);
  EXPECT_EQ(c->GetValue(), 1.0);
  c->GrayOut(true);
  EXPECT_EQ(c->GetBlend().mWeight, 0.25f);
  c->GrayOut(false);
  EXPECT_EQ(c->GetBlend().mWeight, 1.0f);

  c->SetClean();
  c->SetValueFromPlug(0.4); // asks for one more pass
  c->SetClean();
  EXPECT_TRUE(c->IsDirty());
  c->SetClean();
  EXPECT_FALSE(c->IsDirty());

  auto* fresh = Attach(new Probe(plug.get(), IRECT(), 1));
  fresh->OnMouseDblClick(0, 0, &left); // no default yet
  EXPECT_EQ(fresh->GetValue(), 0.0);
  EXPECT_FALSE(fresh->IsHit(0, 0)); // empty hit area
}

TEST_F(EditorTest, ControlsWithoutPluginParameterOrEditorDoNotCall)
{
  Probe loose(nullptr, IRECT(0, 0, 5, 5), 2);
  loose.SetValue(0.5);
  loose.SetDirty(true);
  loose.OnMouseDown(1, 1, &right);
  loose.PromptUserInput();
  Probe unbound(plug.get(), IRECT(0, 0, 5, 5), -1);
  unbound.SetDirty(true);
  unbound.OnMouseDown(1, 1, &right);
  EXPECT_TRUE(plug->mHostCalls.empty());
  EXPECT_EQ(gui->mPrompts, 0);

  auto bare = MakeEditorPlug(); // a plug-in without an editor
  Probe orphan(bare.get(), IRECT(0, 0, 5, 5), 0);
  orphan.OnMouseDown(1, 1, &right);
  Probe outOfRange(plug.get(), IRECT(0, 0, 5, 5), 9);
  outOfRange.OnMouseDown(1, 1, &right);
  EXPECT_EQ(gui->mPrompts, 1);
  EXPECT_EQ(gui->mLastPromptParam, nullptr); // no such parameter
  EXPECT_TRUE(outOfRange.RedrawPending());
}

TEST_F(EditorTest, SwitchStepsAndWraps)
{
  IBitmap three = Load(2);
  auto* sw = Attach(new ISwitchControl(plug.get(), 5, 5, 0, &three));
  EXPECT_EQ(sw->GetRECT(), IRECT(5, 5, 17, 15)); // one 12 x 10 frame
  double expect[] = {0.5, 1.0, 0.0, 0.5};
  for (double e : expect)
  {
    sw->OnMouseDown(6, 6, &left);
    EXPECT_EQ(sw->GetValue(), e);
  }
  auto* one = Attach(new ISwitchControl(plug.get(), 0, 0, 1, nullptr)); // no frames: toggles
  one->OnMouseDown(0, 0, &left);
  EXPECT_EQ(one->GetValue(), 1.0);
  one->OnMouseDown(0, 0, &left);
  EXPECT_EQ(one->GetValue(), 0.0);

  // A step up to 1.001 is not wrapped; the push clamps it.
  sw->SetValueFromPlug(0.5006);
  sw->OnMouseDown(6, 6, &left);
  EXPECT_EQ(sw->GetValue(), 1.0);
  size_t before = plug->mHostCalls.size();
  sw->OnMouseDown(6, 6, &right); // prompts, pushes the unchanged value
  EXPECT_EQ(sw->GetValue(), 1.0);
  EXPECT_EQ(plug->mHostCalls.size(), before + 1);
  EXPECT_EQ(LastInform(), 1.0);
  EXPECT_EQ(gui->mPrompts, 1);

  auto* contact = Attach(new IContactControl(plug.get(), 0, 0, 2, &three));
  contact->OnMouseDown(1, 1, &left);
  EXPECT_EQ(contact->GetValue(), 0.5);
  contact->OnMouseUp(1, 1, &left);
  EXPECT_EQ(contact->GetValue(), 0.0);

  IRECT r(30, 30, 40, 40);
  auto* invisible = Attach(new IInvisibleSwitchControl(plug.get(), &r, 3));
  invisible->OnMouseDown(31, 31, &right); // no prompt: it only toggles
  EXPECT_EQ(invisible->GetValue(), 1.0);
  invisible->OnMouseDown(31, 31, &left);
  EXPECT_EQ(invisible->GetValue(), 0.0);
  EXPECT_EQ(gui->mPrompts, 1);
}

TEST_F(EditorTest, OverlayAnswersInItsTargetWhileOff)
{
  IBitmap three = Load(2);
  IRECT target(40, 0, 50, 10);
  auto* ov = Attach(new IBitmapOverlayControl(plug.get(), 0, 0, 0, &three, &target));
  gui->SetAllControlsDirty();
  IRECT all(0, 0, 60, 40);
  gui->Draw(&all);
  EXPECT_TRUE(ov->IsHit(45, 5));
  EXPECT_FALSE(ov->IsHit(5, 5));
  ov->SetValueFromPlug(1.0);
  gui->Draw(&all);
  EXPECT_FALSE(ov->IsHit(45, 5));
  EXPECT_TRUE(ov->IsHit(5, 5));
}

TEST_F(EditorTest, KnobGearingAndFineDrag)
{
  struct
  {
    EDirection dir;
    double gearing;
    int dX, dY;
    bool fine;
    double gain;
  } rows[] = {
    {kVertical, 4.0, 0, -10, false, 0.0625}, // 10 up in a 40-high control
    {kVertical, 4.0, 0, -10, true, 0.00625},  {kVertical, 4.0, 0, 10, false, -0.0625},
    {kHorizontal, 0.7, 7, 0, false, 0.25},    // 7 / 40 / 0.7
    {kHorizontal, 0.7, 0, 9, false, 0.0},     // vertical motion ignored
    {kVertical, 0.0, 0, -10, false, 0.0},     // zero gearing: no change
    {kVertical, -2.0, 0, -10, false, -0.125}, // negative gearing turns the other way
    {kVertical, NAN, 0, -10, false, -0.5},    // a NaN gearing: the push turns NaN into the low clamp
  };
  IMouseMod fine(true, false, false, true);
  for (auto& r : rows)
  {
    Knob knob(plug.get(), IRECT(0, 0, 40, 40), 0, r.dir, r.gearing);
    IKnobControl* k = &knob;
    k->SetValueFromPlug(0.5);
    k->OnMouseDrag(0, 0, r.dX, r.dY, r.fine ? &fine : &left);
    EXPECT_NEAR(k->GetValue(), 0.5 + r.gain, 1e-12) << r.gearing << " " << r.dX << "," << r.dY;
  }
  size_t before = plug->mHostCalls.size();
  Knob flat(plug.get(), IRECT(3, 3, 3, 3), 0, kVertical, 4.0); // zero extent
  flat.OnMouseDrag(0, 0, 5, 5, &left);
  EXPECT_EQ(flat.GetValue(), 0.0);
  EXPECT_EQ(plug->mHostCalls.size(), before);
}

TEST_F(EditorTest, FaderHandleAndSnap)
{
  IBitmap handle = Load(4); // 8 x 6
  auto* v = Attach(new IFaderControl(plug.get(), 10, 2, 50, 0, &handle, kVertical));
  EXPECT_EQ(v->GetRECT(), IRECT(10, 2, 18, 52));
  // Travel 50 - 6 = 44; value 1 is at the top.
  EXPECT_EQ(v->GetHandleRECT(1.0), IRECT(10, 2, 18, 8));
  EXPECT_EQ(v->GetHandleRECT(0.0), IRECT(10, 46, 18, 52));
  EXPECT_EQ(v->GetHandleRECT(0.5), IRECT(10, 24, 18, 30));
  v->OnMouseDown(12, 2 + 3, &left); // on the top handle position
  EXPECT_EQ(v->GetValue(), 1.0);
  v->OnMouseDown(12, 2 + 1, &left); // above it: 1 + 2/44, clamped
  EXPECT_EQ(v->GetValue(), 1.0);
  v->OnMouseDrag(12, 2 + 3 + 11, 0, 11, &left);
  EXPECT_EQ(v->GetValue(), 0.75);
  EXPECT_EQ(v->GetHandleRECT(-1.0), v->GetHandleRECT(0.75));

  auto* h = Attach(new IFaderControl(plug.get(), 0, 20, 40, 1, &handle, kHorizontal));
  EXPECT_EQ(h->GetRECT(), IRECT(0, 20, 40, 26));
  h->OnMouseDown(4 + 16, 21, &left); // travel 32, half handle 4
  EXPECT_EQ(h->GetValue(), 0.5);
  EXPECT_EQ(h->GetHandleRECT(0.5), IRECT(16, 20, 24, 26));

  size_t before = plug->mHostCalls.size();
  auto* stuck = Attach(new IFaderControl(plug.get(), 0, 0, 6, 2, &handle, kVertical)); // length = handle
  stuck->OnMouseDown(1, 1, &left);
  stuck->OnMouseDrag(1, 4, 0, 3, &left);
  EXPECT_EQ(stuck->GetValue(), 0.0);
  EXPECT_EQ(plug->mHostCalls.size(), before);
  auto* shortTrack = Attach(new IFaderControl(plug.get(), 0, 0, 4, 2, &handle, kVertical)); // travel -2
  shortTrack->OnMouseDown(1, 2, &left);                                                     // 1 - (2 - 3) / -2
  EXPECT_GT(plug->mHostCalls.size(), before); // the last value told was the other fader's 0.5 too
  EXPECT_EQ(LastInform(), 0.5);
  EXPECT_EQ(shortTrack->GetHandleRECT(0.0), IRECT(0, -2, 8, 4)); // up past the top
}

TEST_F(EditorTest, RadioButtonLayoutAndClicks)
{
  IBitmap button = Load(5); // 10 x 20, two frames of 10
  IRECT column(0, 0, 10, 100);
  auto* v = Attach(new IRadioButtonsControl(plug.get(), &column, 0, 4, &button, kVertical));
  ASSERT_EQ(v->NButtons(), 4);
  int ys[] = {0, 30, 60, 90}; // step (100 - 40) / 3 + 10
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(*v->GetButtonRECT(i), IRECT(0, ys[i], 10, ys[i] + 10)) << i;
  v->OnMouseDown(5, 65, &left);
  EXPECT_NEAR(v->GetValue(), 2.0 / 3.0, 1e-15);
  size_t before = plug->mHostCalls.size();
  v->OnMouseDown(5, 45, &left); // between buttons: the unchanged value is pushed
  EXPECT_NEAR(v->GetValue(), 2.0 / 3.0, 1e-15);
  EXPECT_EQ(plug->mHostCalls.size(), before + 1);

  IRECT row(0, 0, 50, 10);
  auto* h = Attach(new IRadioButtonsControl(plug.get(), &row, 1, 3, &button, kHorizontal));
  int xs[] = {0, 20, 40}; // gap (50 - 30) / 2
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(h->GetButtonRECT(i)->L, xs[i]);

  IRECT small(0, 0, 10, 10);
  auto* one = Attach(new IRadioButtonsControl(plug.get(), &small, 2, 1, &button));
  one->SetValueFromPlug(0.4);
  one->OnMouseDown(5, 5, &left);
  EXPECT_EQ(one->GetValue(), 0.4);
  auto* none = Attach(new IRadioButtonsControl(plug.get(), &small, 3, 0, nullptr));
  none->OnMouseDown(5, 5, &left);
  EXPECT_EQ(none->NButtons(), 0);
  gui->SetAllControlsDirty();
  IRECT all(0, 0, 60, 40);
  EXPECT_TRUE(gui->Draw(&all));
}

TEST_F(EditorTest, TextCaptionURLAndFileSelector)
{
  IRECT r(0, 0, 30, 10);
  IText style(12, &COLOR_RED, "A font name far longer than thirty-one characters");
  EXPECT_EQ(strlen(style.mFont), 31u);
  auto* text = Attach(new ITextControl(plug.get(), &r, &style, nullptr));
  text->SetClean();
  text->SetTextFromPlug(nullptr);
  EXPECT_FALSE(text->IsDirty()); // null is the empty text it already had
  text->SetTextFromPlug("hi");
  EXPECT_TRUE(text->IsDirty());

  plug->GetParam(1)->InitDouble("q", 0.0, 0.0, 1.0, 0.1, "dB");
  auto* caption = Attach(new ICaptionControl(plug.get(), &r, 0, &style, true));
  auto* labelled = Attach(new ICaptionControl(plug.get(), &r, 1, &style, true));
  auto* invalid = Attach(new ICaptionControl(plug.get(), &r, 42, &style, true));
  gui->SetAllControlsDirty();
  IRECT all(0, 0, 60, 40);
  gui->Draw(&all);
  EXPECT_STREQ(caption->GetText(), "0 "); // empty label, separating space kept
  EXPECT_STREQ(labelled->GetText(), "0 dB");
  EXPECT_STREQ(invalid->GetText(), "");

  auto* url = Attach(new IURLControl(plug.get(), &r, "first", "second", nullptr));
  url->OnMouseDown(1, 1, &left);
  ASSERT_EQ(gui->mURLs.size(), 2u);
  EXPECT_EQ(gui->mURLs[1], "second");
  std::string longURL(600, 'u');
  auto* cut = Attach(new IURLControl(plug.get(), &r, longURL.c_str()));
  gui->mOpenURLResult = true;
  cut->OnMouseDown(1, 1, &left);
  EXPECT_EQ(gui->mURLs.back().size(), size_t(MAX_URL_LEN - 1));

  auto* fs = Attach(new IFileSelectorControl(plug.get(), &r, 2, nullptr, IGraphics::kFileOpen));
  fs->OnMouseDown(1, 1, &left);
  EXPECT_EQ(fs->GetValue(), 1.0);
  fs->OnMouseDown(1, 1, &left);
  EXPECT_EQ(fs->GetValue(), 0.0);
  EXPECT_EQ(gui->mFilePrompts, 2);
  fs->SetClean();
  EXPECT_TRUE(fs->IsDirty()); // once after a selection
  EXPECT_FALSE(fs->IsDirty());
  fs->SetLastSelectedFileFromPlug(nullptr);
  WDL_String out("x");
  fs->GetLastSelectedFileForPlug(&out);
  EXPECT_STREQ(out.Get(), "");
}
