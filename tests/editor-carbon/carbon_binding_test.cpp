#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "graphics/gdi/gdp_records.h"
#include "platform/carbon/carbon_driver.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/coregraphics/CGBitmapContext.h"
#include "tests/support/IPlugTest.h"
#include "wdl/IPlug/IControls.h"
#include "tests/editor-carbon/CarbonEditor.h"

namespace
{

// Records what reaches it; optionally closes the editor's window from inside.
class Recorder : public IKnobControl
{
public:
  Recorder(IPlugBase* p, IRECT r, int param) : IKnobControl(p, r, param) {}
  bool Draw(IGraphics*) override { return true; }
  void OnMouseDown(int x, int y, IMouseMod* m) override
  {
    log.push_back({'D', x, y, *m});
    if (closeOnDown)
      mEditor->CloseWindow();
  }
  void OnMouseDblClick(int x, int y, IMouseMod* m) override { log.push_back({'2', x, y, *m}); }
  void OnMouseUp(int x, int y, IMouseMod* m) override { log.push_back({'U', x, y, *m}); }
  void OnMouseWheel(int x, int, IMouseMod* m, int d) override { log.push_back({'W', x, d, *m}); }
  struct Entry
  {
    char what;
    int x, y;
    IMouseMod mod;
  };
  std::vector<Entry> log;
  bool closeOnDown = false;
  IGraphics* mEditor = nullptr;
};

struct Fixture : ::testing::Test
{
  std::unique_ptr<IPlugTest> plug;
  IGraphicsMac* ed = nullptr;
  WindowRef window = nullptr;

  void SetUp() override
  {
    plug = std::make_unique<IPlugTest>(IPlugInstanceInfo{}, 2, "1-1", 0, "E", "P", "M", 0x10000, 1, 2);
    for (int i = 0; i < 2; ++i)
      plug->GetParam(i)->InitDouble("p", 0.0, 0.0, 1.0, 0.001);
    ed = MakeMacEditor(plug.get());
    ed->AttachControl(new Quadrants(plug.get(), 0));
    plug->AttachGraphics(ed);
  }
  void TearDown() override
  {
    plug.reset();
    if (window)
      DisposeWindow(window);
  }
  void Open(bool composited, int winW = 80, int winH = 50)
  {
    Rect b = {100, 200, SInt16(100 + winH), SInt16(200 + winW)};
    ASSERT_EQ(CreateNewWindow(kDocumentWindowClass, composited ? kWindowCompositingAttribute : 0, &b, &window), noErr);
    ASSERT_NE(ed->OpenWindow(window, nullptr), nullptr);
  }
};

std::vector<unsigned char> WindowPixels(WindowRef w)
{
  return EditorRows(carbonDriverCopyWindowImage(w));
}

void ExpectSameRGB(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b)
{
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i)
    if (i % 4)
    {
      ASSERT_EQ(a[i], b[i]) << "pixel " << i / 4;
    }
}

class CarbonPixels : public Fixture, public ::testing::WithParamInterface<bool>
{
};

// What the Cocoa view shows of the editor, in a window of its own.
std::vector<unsigned char> CocoaPixels(IGraphicsMac* ed)
{
  NSView* view = static_cast<NSView*>(ed->OpenWindow(nullptr));
  auto* window = new NSWindow(NSMakeRect(0, 0, kW, kH));
  window->setContentView(view);
  window->display();
  std::vector<unsigned char> px = EditorRows(CGBitmapContextCreateImage(window->graphicsContext()->graphicsPort()));
  ed->CloseWindow();
  NSRelease(window);
  return px;
}

TEST_P(CarbonPixels, CarbonShowsWhatCocoaShowsAtEveryValue)
{
  for (double v : {0.0, 0.4, 1.0})
  {
    Open(GetParam());
    ed->SetParameterFromPlug(0, v, true);
    virtualClockAdvance(2.0 / 30);
    carbonDriverUpdateWindow(window);
    std::vector<unsigned char> carbon = WindowPixels(window);
    ExpectSameRGB(carbon, Reference(ed));
    ExpectSameRGB(carbon, CocoaPixels(ed));
    DisposeWindow(window);
    window = nullptr;
  }
  // The white mark sits at the top left, as the editor drew it.
  Open(GetParam());
  carbonDriverUpdateWindow(window);
  std::vector<unsigned char> px = WindowPixels(window);
  EXPECT_EQ(px[(2 * kW + 3) * 4 + 1], 255);
  EXPECT_EQ(px[(2 * kW + 3) * 4 + 2], 255);
}

INSTANTIATE_TEST_SUITE_P(Windows, CarbonPixels, ::testing::Values(true, false));

TEST_F(Fixture, TimerTicksAtZeroThenEveryTwoFrames)
{
  Open(true);
  ControlRef pane = PaneOf(ed);
  carbonDriverUpdateWindow(window);
  ed->SetParameterFromPlug(0, 0.5, true);
  virtualClockAdvance(0);
  EXPECT_TRUE(HIViewGetNeedsDisplay(pane)); // first tick at once
  carbonDriverUpdateWindow(window);
  ed->SetParameterFromPlug(0, 0.7, true);
  virtualClockAdvance(1.0 / 30);
  EXPECT_FALSE(HIViewGetNeedsDisplay(pane));
  virtualClockAdvance(1.0 / 30);
  EXPECT_TRUE(HIViewGetNeedsDisplay(pane));
}

TEST_F(Fixture, MouseReachesTheEditorInPaneCoordinates)
{
  Open(false);
  auto* rec = new Recorder(plug.get(), IRECT(0, 0, kW, kH), 1);
  ed->AttachControl(rec);
  EXPECT_EQ(carbonDriverSendMouse(window, kEventMouseDown, {10.7, 20.2}, cmdKey | shiftKey, 1), noErr);
  EXPECT_EQ(carbonDriverSendMouse(window, kEventMouseDown, {11, 21}, optionKey | controlKey, 2), noErr);
  EXPECT_EQ(carbonDriverSendMouse(window, kEventMouseUp, {12, 22}, 0, 1), noErr);
  EXPECT_EQ(carbonDriverSendWheel(window, {13, 23}, kEventMouseWheelAxisY, -3, 0), noErr);
  EXPECT_EQ(carbonDriverSendWheel(window, {13, 23}, kEventMouseWheelAxisX, 5, 0), eventNotHandledErr);
  ASSERT_EQ(rec->log.size(), 4u);
  auto& d = rec->log[0];
  EXPECT_EQ(d.what, 'D');
  EXPECT_EQ(d.x, 10);
  EXPECT_EQ(d.y, 20);
  EXPECT_TRUE(d.mod.L && d.mod.R && d.mod.S && !d.mod.C && !d.mod.A);
  EXPECT_EQ(rec->log[1].what, '2');
  EXPECT_TRUE(rec->log[1].mod.C && rec->log[1].mod.A && !rec->log[1].mod.R);
  EXPECT_EQ(rec->log[2].what, 'U');
  EXPECT_EQ(rec->log[3].what, 'W');
  EXPECT_EQ(rec->log[3].y, -3);
}

TEST_F(Fixture, DragThroughCarbonMovesTheParameter)
{
  Open(true);
  ed->AttachControl(new Recorder(plug.get(), IRECT(0, 0, kW, kH), 1));
  carbonDriverSendMouse(window, kEventMouseDown, {30, 30}, 0, 1);
  carbonDriverSendMouse(window, kEventMouseDragged, {30, 20}, 0, 0);
  carbonDriverSendMouse(window, kEventMouseUp, {30, 20}, 0, 1);
  // 10 pixels up on a 40-pixel-high knob at gearing 4: 10 / (40 * 4).
  EXPECT_NEAR(plug->GetParam(1)->GetNormalized(), 10.0 / 160, 1e-9);
}

TEST_F(Fixture, CloseFromInsideAHandlerWaitsForItToReturn)
{
  Open(true);
  auto* rec = new Recorder(plug.get(), IRECT(0, 0, kW, kH), 1);
  rec->closeOnDown = true;
  rec->mEditor = ed;
  ed->AttachControl(rec);
  EXPECT_EQ(carbonDriverSendMouse(window, kEventMouseDown, {5, 5}, 0, 1), noErr);
  EXPECT_EQ(ed->GetCarbonHost(), nullptr);
  // Nothing reaches the editor any more: no timer, no mouse.
  ed->SetParameterFromPlug(0, 0.9, true);
  EXPECT_EQ(virtualClockAdvance(1.0), 0);
  carbonDriverSendMouse(window, kEventMouseDown, {5, 5}, 0, 1);
  EXPECT_EQ(rec->log.size(), 1u);
}

TEST_F(Fixture, ResizeSetsWindowAndPane)
{
  Open(true);
  ed->Resize(70, 45);
  Rect b;
  GetWindowBounds(window, kWindowContentRgn, &b);
  EXPECT_EQ(b.left, 200);
  EXPECT_EQ(b.top, 100);
  EXPECT_EQ(b.right - b.left, 70);
  EXPECT_EQ(b.bottom - b.top, 45);
  HIRect f;
  HIViewGetFrame(PaneOf(ed), &f);
  EXPECT_EQ(f.size.width, 70);
  EXPECT_EQ(f.size.height, 45);
  IGraphicsCarbon other(ed, window, nullptr); // the window cannot reach x = 200 + 32600, the pane can
  EXPECT_TRUE(other.Resize(32600, 45));
  HIViewGetFrame(other.GetView(), &f);
  EXPECT_EQ(f.size.width, 32600);
}

// The host disposes the window, or only the pane, before it closes the view.
TEST_F(Fixture, DisposedWindowOrPaneIsNeverTouchedAgain)
{
  for (bool composited : {true, false})
    for (bool wholeWindow : {true, false})
    {
      Open(composited);
      ed->SetParameterFromPlug(0, 0.3, true);
      if (wholeWindow)
        DisposeWindow(std::exchange(window, nullptr));
      else
        DisposeControl(PaneOf(ed));
      EXPECT_EQ(virtualClockAdvance(1.0), 0);
      if (window)
        carbonDriverSendMouse(window, kEventMouseDown, {5, 5}, 0, 1);
      ed->CloseWindow();
      if (window)
        DisposeWindow(std::exchange(window, nullptr));
    }
}

} // namespace
