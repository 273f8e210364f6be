// The compressor's editor driven through the Cocoa stand-in: events sent to
// a window reach the controls, and the values reach the plug-in and the host.

#include <gtest/gtest.h>

#include "platform/cocoa/NSBundle.h"
#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "tests/plugin/KestrelHarness.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

namespace
{
constexpr int kH = Kestrel::kEditorHeight;

struct MouseHarness : KestrelHarness
{
  MouseHarness()
  {
    NSBundle::bundleWithPath(KESTREL_VST_BUNDLE);
    g = new IGraphicsMac(plug.get(), Kestrel::kEditorWidth, kH, Kestrel::kEditorFPS);
    g->SetBundleID("com.brackmere.vst.Kestrel");
    plug->BuildEditor(g);
    window = new NSWindow(NSMakeRect(0, 0, Kestrel::kEditorWidth, kH));
    content = new NSView(window->contentRect());
    window->setContentView(content);
    g->OpenWindow(content);
    plug->mHostCalls.clear();
  }
  ~MouseHarness()
  {
    g->CloseWindow();
    content->release();
    window->release();
  }
  // Editor coordinates (top-left origin) to the window's (bottom-left).
  void send(NSEventType type, int x, int y, NSEventModifierFlags flags = 0)
  {
    NSEvent* e = NSEvent::mouseEventWithType(type, CGPointMake(x, kH - y), flags, 0, window, 1);
    window->sendEvent(e);
    e->release();
  }
  void click(int x, int y)
  {
    send(NSLeftMouseDown, x, y);
    send(NSLeftMouseUp, x, y);
  }
  // Begin, one or more automations, end, all for idx.
  void expectGesture(int idx)
  {
    ASSERT_GE(plug->mHostCalls.size(), 3u);
    EXPECT_EQ(plug->mHostCalls.front().mKind, IPlugTest::HostCall::kBegin);
    EXPECT_EQ(plug->mHostCalls.back().mKind, IPlugTest::HostCall::kEnd);
    for (const auto& c : plug->mHostCalls)
      EXPECT_EQ(c.mIdx, idx);
    EXPECT_EQ(plug->mHostCalls[1].mKind, IPlugTest::HostCall::kInform);
    plug->mHostCalls.clear();
  }
  IGraphicsMac* g;
  NSWindow* window;
  NSView* content;
};
} // namespace

TEST(KestrelEditorMouse, SwitchesToggleTheirParameters)
{
  MouseHarness h;
  struct
  {
    int x, y, param;
  } switches[] = {{596, 77, kMeter}, {26, 209, kDecadence}, {613, 28, kSidechain}, {613, 205, kAutoMakeup}};
  for (auto s : switches)
  {
    const int before = h.plug->GetParam(s.param)->Int();
    h.click(s.x + 4, s.y + 4);
    EXPECT_EQ(h.plug->GetParam(s.param)->Int(), 1 - before) << s.param;
    h.expectGesture(s.param);
    h.click(s.x + 4, s.y + 4);
    EXPECT_EQ(h.plug->GetParam(s.param)->Int(), before) << s.param;
    h.plug->mHostCalls.clear();
  }
}

TEST(KestrelEditorMouse, RatioRegionsSelectTheirRatio)
{
  MouseHarness h;
  const int L = 363, T = 65;
  const int at[][2] = {{20, 6}, {5, 35}, {5, 71}, {20, 102}, {70, 50}};
  for (int state : {4, 0, 3, 1, 2})
  {
    h.click(L + at[state][0], T + at[state][1]);
    EXPECT_EQ(h.plug->GetParam(kRatio)->Int(), state);
    h.expectGesture(kRatio);
  }
  h.click(L + 17, T + 10); // between the regions: nothing changes, no value is told
  EXPECT_EQ(h.plug->GetParam(kRatio)->Int(), 2);
  for (const auto& c : h.plug->mHostCalls)
    EXPECT_NE(c.mKind, IPlugTest::HostCall::kInform);
}

TEST(KestrelEditorMouse, KnobDragsWithAndWithoutTheFineModifier)
{
  for (NSEventModifierFlags flags : {NSEventModifierFlags(0), NSShiftKeyMask})
  {
    MouseHarness h;
    IControl* attack = h.g->GetControl(6);
    ASSERT_EQ(attack->ParamIdx(), kAttack);
    const IRECT r = attack->GetRECT();
    const double start = attack->GetValue();
    const int x = (r.L + r.R) / 2, y = (r.T + r.B) / 2;
    h.send(NSLeftMouseDown, x, y, flags);
    h.send(NSLeftMouseDragged, x, y - 10, flags);
    h.send(NSLeftMouseUp, x, y - 10, flags);
    // Up by 10 pixels over a control h high with gearing 4, a tenth of it when fine.
    double step = 10.0 / r.Height() / 4.0 / (flags ? 10.0 : 1.0);
    EXPECT_DOUBLE_EQ(attack->GetValue(), start + step) << flags;
    EXPECT_NEAR(h.plug->GetParam(kAttack)->GetNormalized(), start + step, 1.0 / 1995) << flags;
    h.expectGesture(kAttack);
  }
}
