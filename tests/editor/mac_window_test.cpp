// The Mac window binding over the Cocoa stand-in: the view's life, its timer
// on the virtual clock, coordinates, images from the bundle and URLs.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "platform/cocoa/NSBundle.h"
#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSRunLoop.h"
#include "platform/cocoa/NSString.h"
#include "platform/cocoa/NSTimer.h"
#include "platform/cocoa/NSURL.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/coregraphics/CGBitmapContext.h"
#include "tests/support/IPlugTest.h"
#include "tools/artwork/ArtPng.h"
#include "wdl/IPlug/mac/IGraphicsCocoa.h"
#include "wdl/IPlug/mac/IGraphicsMac.h"

namespace
{
constexpr int kW = 60, kH = 249;

// Covers the editor; counts the editor's questions and records each pass's area.
struct Probe : IControl
{
  explicit Probe(IPlugBase* plug) : IControl(plug, IRECT(0, 0, kW, kH), 0) {}
  bool Draw(IGraphics* g) override
  {
    lastArea = g->GetDrawArea();
    ++draws;
    return true;
  }
  bool IsDirty() override
  {
    ++dirtyAsks;
    return mDirty;
  }
  void OnGUIIdle() override { ++idles; }
  void OnMouseDown(int x, int y, IMouseMod* m) override { lastX = x, lastY = y, lastMod = *m; }
  void OnMouseWheel(int, int, IMouseMod*, int d) override { lastWheel = d; }
  IRECT lastArea;
  int draws = 0, dirtyAsks = 0, idles = 0, lastX = -1, lastY = -1, lastWheel = 99;
  IMouseMod lastMod;
};

struct MacEditor : ::testing::Test
{
  void SetUp() override
  {
    loop = NSRunLoop::currentRunLoop();
    loop->useVirtualClock(100);
    plug = std::make_unique<IPlugTest>(IPlugInstanceInfo{}, 1, "1-1", 0, "E", "P", "M", 0x10000, 1, 2);
    plug->GetParam(0)->InitDouble("p", 0.0, 0.0, 1.0, 0.001);
    g = new IGraphicsMac(plug.get(), kW, kH, 30);
    probe = new Probe(plug.get());
    g->AttachControl(probe);
    plug->AttachGraphics(g);
  }
  void TearDown() override { loop->useSystemClock(); }
  NSRunLoop* loop;
  std::unique_ptr<IPlugTest> plug;
  IGraphicsMac* g;
  Probe* probe;
};

IGraphicsCocoa_v1002* ViewOf(IGraphicsMac* g)
{
  return static_cast<IGraphicsCocoa_v1002*>(g->GetWindow());
}

// A superview that keeps the last command reaching it.
struct CommandTaker : NSView
{
  using NSView::NSView;
  void doCommandBySelector(SEL s) override { taken = s; }
  SEL taken = nullptr;
};

std::string TempDir()
{
  char tmpl[] = "/tmp/macwinXXXXXX";
  return mkdtemp(tmpl);
}
} // namespace

TEST_F(MacEditor, OpeningMakesAViewAndClosingLetsGoOfIt)
{
  auto* free = ViewOf(g);
  EXPECT_EQ(free, nullptr);
  free = static_cast<IGraphicsCocoa_v1002*>(g->OpenWindow(nullptr));
  ASSERT_NE(free, nullptr);
  EXPECT_EQ(free->superview(), nullptr);
  EXPECT_EQ(free->frame().size.width, kW);
  EXPECT_EQ(free->frame().size.height, kH);
  EXPECT_TRUE(g->WindowIsOpen());
  free->retain();
  NSTimer* firstTimer = free->timer();
  firstTimer->retain();

  auto* parent = new CommandTaker(NSMakeRect(0, 0, 100, 300));
  auto* view = static_cast<IGraphicsCocoa_v1002*>(g->OpenWindow(parent));
  view->doCommandBySelector("insertNewline:"); // passed on up the chain
  EXPECT_STREQ(parent->taken, "insertNewline:");
  EXPECT_FALSE(firstTimer->isValid()); // the first view was closed before the second was made
  EXPECT_EQ(free->graphics(), nullptr);
  EXPECT_EQ(free->retainCount(), 1); // only this test's hold is left
  free->release();
  firstTimer->release();
  ASSERT_EQ(parent->subviews().size(), 1u);
  EXPECT_EQ(parent->subviews()[0], view);
  EXPECT_EQ(loop->timerCount(), 1);

  g->CloseWindow();
  EXPECT_TRUE(parent->subviews().empty());
  EXPECT_FALSE(g->WindowIsOpen());
  EXPECT_EQ(loop->timerCount(), 0);
  g->CloseWindow(); // twice is harmless

  // The host tearing its views down closes the editor's side without recursion.
  view = static_cast<IGraphicsCocoa_v1002*>(g->OpenWindow(parent));
  view->removeFromSuperview();
  EXPECT_FALSE(g->WindowIsOpen());
  EXPECT_EQ(loop->timerCount(), 0);
  g->OpenWindow(parent);
  parent->release(); // the parent goes first: the editor's view outlives it and still closes cleanly
  EXPECT_TRUE(g->WindowIsOpen());
  EXPECT_EQ(ViewOf(g)->superview(), nullptr);
  g->CloseWindow();
  EXPECT_EQ(loop->timerCount(), 0);
  // Removing a free-standing view closes the editor too.
  static_cast<NSView*>(g->OpenWindow(nullptr))->removeFromSuperview();
  EXPECT_FALSE(g->WindowIsOpen());
  EXPECT_EQ(loop->timerCount(), 0);
}

// Opening over an editor in a gesture ends the gesture; a host may answer by opening
// the editor itself, into another parent. One view survives, the last one asked for.
TEST(MacEditorReentry, AnOpenAnsweredByAnotherOpenLeavesOneView)
{
  struct ReopeningPlug : IPlugTest
  {
    using IPlugTest::IPlugTest;
    void EndInformHostOfParamChange(int idx) override
    {
      IPlugTest::EndInformHostOfParamChange(idx);
      if (NSView* p = std::exchange(reopenInto, nullptr))
        GetGUI()->OpenWindow(p);
    }
    NSView* reopenInto = nullptr;
  };
  NSRunLoop* loop = NSRunLoop::currentRunLoop();
  ReopeningPlug plug(IPlugInstanceInfo{}, 1, "1-1", 0, "E", "P", "M", 0x10000, 1, 2);
  plug.GetParam(0)->InitDouble("p", 0.0, 0.0, 1.0, 0.001);
  auto* g = new IGraphicsMac(&plug, kW, kH, 30);
  g->AttachControl(new Probe(&plug));
  plug.AttachGraphics(g);
  NSView *a = new NSView(NSMakeRect(0, 0, 100, 300)), *b = new NSView(NSMakeRect(0, 0, 100, 300)),
         *c = new NSView(NSMakeRect(0, 0, 100, 300));
  g->OpenWindow(a);
  IMouseMod mod;
  g->OnMouseDown(5, 5, &mod);
  plug.reopenInto = b;
  g->OpenWindow(c);
  EXPECT_EQ(plug.reopenInto, nullptr);
  EXPECT_EQ(loop->timerCount(), 1);
  EXPECT_TRUE(a->subviews().empty());
  EXPECT_TRUE(b->subviews().empty());
  EXPECT_EQ(c->subviews().size(), 1u);
  g->CloseWindow();
  EXPECT_EQ(loop->timerCount(), 0);
  EXPECT_TRUE(c->subviews().empty());
  for (NSView* v : {a, b, c})
    v->release();
}

TEST_F(MacEditor, TimerTicksAtTheFrameRateAndIdlesEvery21CleanTicks)
{
  g->OpenWindow(nullptr);
  const int asked = probe->dirtyAsks;
  loop->runMode(NSDefaultRunLoopMode, 100 + 1.0 / 30 - 1e-9);
  EXPECT_EQ(probe->dirtyAsks, asked);
  loop->runMode(NSEventTrackingRunLoopMode, 100 + 1.0 / 30); // common modes: fires while tracking too
  EXPECT_EQ(probe->dirtyAsks, asked + 1);
  EXPECT_TRUE(ViewOf(g)->needsDisplay()); // the first tick finds the new control dirty
  probe->SetClean();
  probe->SetClean();
  const int ticksAsked = probe->dirtyAsks;
  loop->runFor(21.0 / 30 + 1e-6);
  EXPECT_EQ(probe->dirtyAsks - ticksAsked, 21);
  EXPECT_EQ(probe->idles, 1);
  loop->runFor(20.0 / 30 + 1e-6);
  EXPECT_EQ(probe->idles, 1);
  loop->runFor(1.0 / 30);
  EXPECT_EQ(probe->idles, 2);
  g->CloseWindow();
  const int closedAt = probe->dirtyAsks;
  loop->runFor(1.0);
  EXPECT_EQ(probe->dirtyAsks, closedAt); // nothing fires after close
}

TEST_F(MacEditor, ViewAndEditorCoordinates)
{
  auto* view = static_cast<IGraphicsCocoa_v1002*>(g->OpenWindow(nullptr));
  probe->SetClean();
  probe->SetClean();
  loop->runFor(0.05);
  view->setNeedsDisplay(false);
  g->GetControl(0)->SetDirty(false);
  loop->runFor(1.0 / 30);
  NSRect marked = view->needsDisplayRect();
  EXPECT_EQ(marked.origin.y, 0); // the whole control, bottom-up
  EXPECT_EQ(marked.size.height, kH);

  // drawRect covers a fractional rectangle whole, flipped into editor rows.
  view->drawRect(NSMakeRect(10.5, 20.25, 5.2, 3.1));
  EXPECT_EQ(probe->lastArea, IRECT(10, kH - 24, 16, kH - 20));

  NSEvent* down =
    NSEvent::mouseEventWithType(NSLeftMouseDown, CGPointMake(10.7, 200.2),
                                NSShiftKeyMask | NSDeviceLeftCommandKeyMask | NSAlternateKeyMask, 0, nullptr, 1);
  view->mouseDown(down);
  EXPECT_EQ(probe->lastX, 10);
  EXPECT_EQ(probe->lastY, 49);
  EXPECT_TRUE(probe->lastMod.L && probe->lastMod.R && probe->lastMod.S && probe->lastMod.A && !probe->lastMod.C);
  down->release();
  for (auto [delta, want] : {std::pair{0.6, 0}, {-1.9, -1}, {3.0, 3}})
  {
    NSEvent* wheel = NSEvent::scrollWheelEvent(CGPointMake(5, 5), 0, 0, nullptr, 0, delta);
    view->scrollWheel(wheel);
    EXPECT_EQ(probe->lastWheel, want) << delta;
    wheel->release();
  }
}

TEST_F(MacEditor, DirtyRectangleFlipsIntoTheView)
{
  // A control at {20, 30, 60, 50} of a 249-high editor marks origin (20, 199), size 40 x 20.
  struct Box : IControl
  {
    using IControl::IControl;
    bool Draw(IGraphics*) override { return true; }
  };
  g->AttachControl(new Box(plug.get(), IRECT(20, 30, 60, 50)));
  auto* view = static_cast<IGraphicsCocoa_v1002*>(g->OpenWindow(nullptr));
  for (int i = 0; i < 3; ++i)
    for (int c = 0; c < g->NControls(); ++c)
      g->GetControl(c)->SetClean();
  g->GetControl(1)->SetDirty(false);
  loop->runFor(1.0 / 30 + 1e-6);
  NSRect m = view->needsDisplayRect();
  EXPECT_EQ(m.origin.x, 20);
  EXPECT_EQ(m.origin.y, 199);
  EXPECT_EQ(m.size.width, 40);
  EXPECT_EQ(m.size.height, 20);
}

TEST_F(MacEditor, DrawScreenCopiesTheBackBufferIntoTheWindow)
{
  NSWindow* window = new NSWindow(NSMakeRect(0, 0, kW, kH));
  g->OpenWindow(nullptr);
  window->setContentView(ViewOf(g));
  struct Fill : IControl
  {
    using IControl::IControl;
    bool Draw(IGraphics* g) override
    {
      IColor c(255, 200, 100, 50);
      IRECT r = mDrawArea;
      return g->FillIRect(&c, &r, nullptr);
    }
  };
  g->AttachControl(new Fill(plug.get(), IRECT(5, 10, 25, 40)));
  window->display();
  auto* backing = static_cast<const uint8_t*>(CGBitmapContextGetData(window->graphicsContext()->graphicsPort()));
  // Both are bytes (A or X), R, G, B per pixel, top row first.
  LICE_SysBitmap* back = g->GetBackBuffer();
  auto* bits = reinterpret_cast<const uint8_t*>(back->getBits());
  int mismatches = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
    {
      const uint8_t* px = backing + 4 * (y * kW + x);
      const uint8_t* bb = bits + 4 * (y * back->getRowSpan() + x);
      mismatches += px[1] != bb[1] || px[2] != bb[2] || px[3] != bb[3];
    }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(backing[4 * (20 * kW + 10) + 1], 200);
  EXPECT_EQ(backing[4 * (5 * kW + 10) + 1], 0);
  g->CloseWindow();
  window->release();
}

TEST(MacEditorFiles, ImagesComeFromTheBundleByIdentifier)
{
  std::string root = TempDir() + "/Probe.vst";
  for (const char* d : {"", "/Contents", "/Contents/Resources"})
    mkdir((root + d).c_str(), 0755);
  FILE* f = fopen((root + "/Contents/Info.plist").c_str(), "w");
  fputs("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
        "<string>com.brackmere.test.probe</string><key>CFBundleExecutable</key><string>Probe.so</string>"
        "</dict></plist>",
        f);
  fclose(f);
  LICE_MemBitmap art(3, 4);
  ASSERT_TRUE(ArtWritePNG(&art, (root + "/Contents/Resources/dot.png").c_str()));
  ASSERT_NE(NSBundle::bundleWithPath(root.c_str()), nullptr);

  IGraphicsMac g(nullptr, 10, 10, 30);
  EXPECT_EQ(g.OSLoadBitmap(1, "dot.png"), nullptr); // no identifier yet
  g.SetBundleID("com.brackmere.test.probe");
  for (const char* name : {"dot.png", "dot.PNG", "sub/dot.png"})
  {
    LICE_IBitmap* bm = g.OSLoadBitmap(1, name);
    ASSERT_NE(bm, nullptr) << name;
    EXPECT_EQ(bm->getWidth(), 3);
    EXPECT_EQ(bm->getHeight(), 4);
    delete bm;
  }
  for (const char* name : {"dot.gif", "dot.jpg", "missing.png", "png", ".png"})
    EXPECT_EQ(g.OSLoadBitmap(1, name), nullptr) << name;
  EXPECT_EQ(g.OSLoadBitmap(1, nullptr), nullptr);

  WDL_String host("unchanged"), plugin;
  g.HostPath(&host);
  g.PluginPath(&plugin);
  EXPECT_EQ(std::string(host.Get()), root + "/Contents/Probe.so");
  EXPECT_EQ(std::string(plugin.Get()), root.substr(0, root.rfind('/') + 1));
  IGraphicsMac other(nullptr, 10, 10, 30);
  other.HostPath(&host);
  EXPECT_EQ(std::string(host.Get()), root + "/Contents/Probe.so"); // no bundle: left as it was
  g.HostPath(nullptr);
  g.PluginPath(nullptr);

  NSString* text = ToNSString("Kestrel \xc3\xa9");
  EXPECT_STREQ(text->UTF8String(), "Kestrel \xc3\xa9");
  text->release();
  EXPECT_EQ(ToNSString("\xc3"), nullptr); // not text in the platform's C-string encoding
  EXPECT_EQ(ToNSString(nullptr), nullptr);
}

TEST(MacEditorFiles, OpenURLReportsWhetherAnythingOpened)
{
  IGraphicsMac g(nullptr, 10, 10, 30);
  NSWorkspace::sharedWorkspace()->setURLOpener("true");
  EXPECT_TRUE(g.OpenURL("http://brackmere.example/", nullptr, nullptr, nullptr));
  EXPECT_TRUE(g.OpenURL("/tmp", nullptr, nullptr, nullptr));
  EXPECT_FALSE(g.OpenURL("http://no spaces allowed", nullptr, nullptr, nullptr)); // no URL: the backup may be tried
  EXPECT_FALSE(g.OpenURL("", nullptr, nullptr, nullptr));
  EXPECT_FALSE(g.OpenURL(nullptr, nullptr, nullptr, nullptr));
  NSWorkspace::sharedWorkspace()->setURLOpener("false");
  EXPECT_FALSE(g.OpenURL("http://brackmere.example/", nullptr, nullptr, nullptr));
  NSWorkspace::sharedWorkspace()->setURLOpener(nullptr);
  EXPECT_EQ(IGraphicsMac::GetUserOSVersion(), 0x1068);
  EXPECT_EQ(g.OpenWindow(nullptr, nullptr), nullptr); // no Carbon window
}
