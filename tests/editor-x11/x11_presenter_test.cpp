#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/cocoa/NSEvent.h"
#include "platform/cocoa/NSView.h"
#include "platform/cocoa/NSWindow.h"
#include "platform/coregraphics/CGBitmapContext.h"
#include "wdl/IPlug/x11/X11Presenter.h"

namespace
{

constexpr int kW = 700, kH = 249;

// Fills what it draws with one colour and records the mouse in its own
// coordinates.
class PaintView : public NSView
{
public:
  PaintView() : NSView(NSMakeRect(0, 0, kW, kH)) {}
  void drawRect(NSRect r) override
  {
    CGContextRef port = NSGraphicsContext::currentContext()->graphicsPort();
    CGContextSetRGBFillColor(port, 1, 0.5, 0, 1);
    CGContextFillRect(port, r);
  }
  void mouseDown(NSEvent* e) override { note("down", e); }
  void mouseUp(NSEvent* e) override { note("up", e); }
  void mouseDragged(NSEvent* e) override { note("drag", e); }
  void otherMouseDown(NSEvent* e) override { note("other", e); }
  void scrollWheel(NSEvent* e) override { note("wheel" + std::to_string(int(e->deltaY())), e); }
  std::vector<std::string> log;

private:
  void note(const std::string& what, NSEvent* e)
  {
    NSPoint p = convertPointFromView(e->locationInWindow(), nullptr);
    std::string s = what + "@" + std::to_string(int(p.x)) + "," + std::to_string(int(p.y));
    if (e->modifierFlags() & NSCommandKeyMask)
      s += "+cmd";
    if (e->modifierFlags() & NSShiftKeyMask)
      s += "+shift";
    if (e->type() != NSScrollWheel && e->clickCount() > 1)
      s += "x" + std::to_string(e->clickCount());
    log.push_back(s);
  }
};

struct X11Presenting : ::testing::Test
{
  void SetUp() override
  {
    if (!getenv("DISPLAY"))
      GTEST_SKIP() << "no X server (DISPLAY unset)";
    conn = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(conn));
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    parent = xcb_generate_id(conn);
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, 800, 300, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(conn, parent);
    sync();
    window = new NSWindow(NSMakeRect(0, 0, kW, kH));
    view = new PaintView;
    window->setContentView(view);
  }
  void TearDown() override
  {
    presenter.Close();
    NSRelease(view);
    NSRelease(window);
    if (conn)
      xcb_disconnect(conn);
  }
  void sync() { free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr)); }

  // The child's pixels as 0xRRGGBB.
  std::vector<uint32_t> readBack(int x, int y, int w, int h)
  {
    presenter.Sync();
    xcb_get_image_reply_t* img =
      xcb_get_image_reply(conn,
                          xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, presenter.ChildWindow(), int16_t(x),
                                        int16_t(y), uint16_t(w), uint16_t(h), ~0u),
                          nullptr);
    std::vector<uint32_t> px;
    if (!img)
      return px;
    auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(img));
    for (int i = 0; i < w * h; ++i)
      px.push_back(data[i] & 0xFFFFFF);
    free(img);
    return px;
  }
  // The backing store's pixels, read from its bytes X, R, G, B.
  std::vector<uint32_t> expected(int x, int y, int w, int h)
  {
    CGContextRef port = window->graphicsContext()->graphicsPort();
    auto* base = static_cast<const uint8_t*>(CGBitmapContextGetData(port));
    std::vector<uint32_t> px;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i)
      {
        const uint8_t* p = base + (size_t(j) * kW + i) * 4;
        px.push_back(uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
      }
    return px;
  }
  void fillPattern()
  {
    auto* base = static_cast<uint8_t*>(CGBitmapContextGetData(window->graphicsContext()->graphicsPort()));
    for (int i = 0; i < kW * kH; ++i)
    {
      uint32_t v = uint32_t(i) * 2654435761u;
      memcpy(base + size_t(i) * 4, &v, 4);
    }
  }
  void press(uint8_t type, uint8_t button, int x, int y, uint16_t state, uint32_t time)
  {
    xcb_button_press_event_t ev = {};
    ev.response_type = type;
    ev.detail = button;
    ev.time = time;
    ev.event = presenter.ChildWindow();
    ev.event_x = int16_t(x);
    ev.event_y = int16_t(y);
    ev.state = state;
    ev.same_screen = 1;
    uint32_t mask = type == XCB_MOTION_NOTIFY  ? XCB_EVENT_MASK_POINTER_MOTION
                    : type == XCB_BUTTON_PRESS ? XCB_EVENT_MASK_BUTTON_PRESS
                                               : XCB_EVENT_MASK_BUTTON_RELEASE;
    xcb_send_event(conn, 0, presenter.ChildWindow(), mask, reinterpret_cast<const char*>(&ev));
    sync();
  }
  // Idles until the view has logged n events or two seconds pass.
  void idleUntil(size_t n)
  {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (view->log.size() < n && std::chrono::steady_clock::now() < end)
      presenter.Idle();
  }
  int childCount()
  {
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, parent), nullptr);
    int n = tree ? xcb_query_tree_children_length(tree) : -1;
    free(tree);
    return n;
  }

  xcb_connection_t* conn = nullptr;
  xcb_window_t parent = 0;
  NSWindow* window = nullptr;
  PaintView* view = nullptr;
  X11Presenter presenter;
};

} // namespace

TEST_F(X11Presenting, TheChildShowsTheBackingStoreWholeAndInChunks)
{
  ASSERT_TRUE(presenter.Open(parent, window));
  EXPECT_TRUE(presenter.UsesSharedMemory()); // a local server
  EXPECT_EQ(childCount(), 1);
  fillPattern();
  presenter.PresentRect(0, 0, kW, kH);
  EXPECT_EQ(readBack(0, 0, kW, kH), expected(0, 0, kW, kH));

  // Rows split over many requests, and a row split in column bands.
  fillPattern();
  auto* base = static_cast<uint32_t*>(CGBitmapContextGetData(window->graphicsContext()->graphicsPort()));
  for (int i = 0; i < kW * kH; ++i)
    base[i] ^= 0x00FFFF00;
  presenter.LimitRequestBytes(24 + 4 * 1000);
  presenter.PresentRect(-5, 100, kW + 10, 149); // clipped to the window
  EXPECT_EQ(readBack(0, 100, kW, 149), expected(0, 100, kW, 149));
  presenter.LimitRequestBytes(24 + 4 * 64);
  for (int i = 0; i < kW * kH; ++i)
    base[i] ^= 0x0F0F0F00;
  presenter.PresentRect(0, 0, kW, 3);
  EXPECT_EQ(readBack(0, 0, kW, 3), expected(0, 0, kW, 3));
}

TEST_F(X11Presenting, IdleCopiesWhatTheDisplayPassDrew)
{
  ASSERT_TRUE(presenter.Open(parent, window));
  presenter.PresentRect(0, 0, kW, kH);                      // all black
  view->setNeedsDisplayInRect(NSMakeRect(20, 199, 40, 20)); // rows 30..50 from the top
  presenter.Idle();
  std::vector<uint32_t> px = readBack(0, 0, kW, kH);
  EXPECT_EQ(px[size_t(30) * kW + 20], 0xFF8000u);
  EXPECT_EQ(px[size_t(49) * kW + 59], 0xFF8000u);
  EXPECT_EQ(px[size_t(29) * kW + 20], 0u);
  EXPECT_EQ(px[size_t(30) * kW + 60], 0u);
  EXPECT_EQ(px, expected(0, 0, kW, kH));
}

TEST_F(X11Presenting, ButtonsMotionAndWheelArriveAsViewEvents)
{
  ASSERT_TRUE(presenter.Open(parent, window));
  press(XCB_BUTTON_PRESS, 1, 10, 20, XCB_MOD_MASK_SHIFT, 1000);
  press(XCB_MOTION_NOTIFY, 0, 15, 25, XCB_BUTTON_MASK_1, 1010);
  press(XCB_BUTTON_RELEASE, 1, 15, 25, XCB_BUTTON_MASK_1, 1020);
  press(XCB_BUTTON_PRESS, 1, 13, 23, 0, 1100); // a second click, near and soon
  press(XCB_BUTTON_RELEASE, 1, 13, 23, 0, 1110);
  press(XCB_BUTTON_PRESS, 4, 30, 40, 0, 5000);
  press(XCB_BUTTON_RELEASE, 4, 30, 40, 0, 5001); // wheel releases mean nothing
  press(XCB_BUTTON_PRESS, 3, 1, 248, 0, 6000);
  press(XCB_BUTTON_PRESS, 2, 0, 0, 0, 7000);
  idleUntil(8);
  // Editor rows grow downwards: the view's y is the height less the X row.
  EXPECT_EQ(view->log, (std::vector<std::string>{"down@10,229+shift", "drag@15,224", "up@15,224", "down@13,226x2",
                                                 "up@13,226x2", "wheel1@30,209", "down@1,1+cmd", "other@0,249"}));
}

TEST_F(X11Presenting, CloseLeavesNoWindowAndMayComeTwice)
{
  ASSERT_TRUE(presenter.Open(parent, window));
  EXPECT_EQ(window->retainCount(), 2);
  presenter.Close();
  EXPECT_FALSE(presenter.IsOpen());
  EXPECT_EQ(childCount(), 0);
  EXPECT_EQ(window->retainCount(), 1);
  presenter.Close();
  presenter.Idle();
}

TEST_F(X11Presenting, TheHostMayDestroyItsWindowFirst)
{
  ASSERT_TRUE(presenter.Open(parent, window));
  xcb_destroy_window(conn, parent);
  sync();
  auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (presenter.ChildWindow() && std::chrono::steady_clock::now() < end)
    presenter.Idle();
  EXPECT_EQ(presenter.ChildWindow(), 0u);
  presenter.PresentRect(0, 0, kW, kH); // nowhere to go: nothing
  presenter.Close();

  // And without an idle call between: the close meets a window already gone.
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
  parent = xcb_generate_id(conn);
  xcb_create_window(conn, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                    screen->root_visual, 0, nullptr);
  sync();
  ASSERT_TRUE(presenter.Open(parent, window));
  xcb_destroy_window(conn, parent);
  sync();
  presenter.Close();
  EXPECT_EQ(window->retainCount(), 1);
}

TEST_F(X11Presenting, WhatIsNotAWindowIsRefused)
{
  EXPECT_FALSE(presenter.Open(0, window));
  EXPECT_FALSE(presenter.Open(uintptr_t(1) << 40, window)); // a pointer, not an id
  EXPECT_FALSE(presenter.Open(0x1FFFFFFF, window));         // no such window
  EXPECT_FALSE(presenter.Open(parent, nullptr));
  NSWindow* empty = new NSWindow(NSMakeRect(0, 0, 0, 0));
  EXPECT_FALSE(presenter.Open(parent, empty));
  empty->release();
  EXPECT_FALSE(presenter.Open(parent, window, ":9999")); // no such display
  EXPECT_FALSE(presenter.IsOpen());
  EXPECT_EQ(window->retainCount(), 1);
}
