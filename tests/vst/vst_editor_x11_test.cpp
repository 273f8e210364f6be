// KestrelVST's editor in a Linux host's X11 window (needs an X server:
// scripts/test-all.sh starts Xvfb).

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <string>

#include "graphics/lice.h"
#include "graphics/lice_loaders.h"
#include "tests/vst/TestHost.h"
#include "wdl/IPlug/vst/IPlugVSTBundle.h"

using namespace vst;

namespace
{
struct KestrelEditorX11 : ::testing::Test
{
  void SetUp() override
  {
    if (!getenv("DISPLAY"))
      GTEST_SKIP() << "no X server (DISPLAY unset)";
    lib = dlopen(KESTREL_VST_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    ASSERT_NE(lib, nullptr) << dlerror();
    effect = host.Create(reinterpret_cast<TestHost::Entry>(dlsym(lib, "VSTPluginMain")));
    ASSERT_NE(effect, nullptr);
    conn = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(conn));
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    for (xcb_window_t* w : {&other, &third, &parent}) // the parent on top, seen whole
    {
      *w = xcb_generate_id(conn);
      xcb_create_window(conn, XCB_COPY_FROM_PARENT, *w, screen->root, 0, 0, 700, 249, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                        screen->root_visual, 0, nullptr);
      xcb_map_window(conn, *w);
    }
    sync();
  }
  void TearDown() override
  {
    if (effect)
      host.Close();
    if (lib)
      dlclose(lib);
    if (conn)
      xcb_disconnect(conn);
  }
  void sync() { free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr)); }
  static void* arg(xcb_window_t w) { return reinterpret_cast<void*>(uintptr_t(w)); }
  void* parentArg() const { return arg(parent); }
  // The window's children (the parent's by default).
  std::vector<xcb_window_t> children(xcb_window_t of = 0)
  {
    sync();
    std::vector<xcb_window_t> out;
    if (auto* tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, of ? of : parent), nullptr))
    {
      xcb_window_t* c = xcb_query_tree_children(tree);
      out.assign(c, c + xcb_query_tree_children_length(tree));
      free(tree);
    }
    return out;
  }
  uint32_t pixel(xcb_window_t w, int x, int y)
  {
    auto* img = xcb_get_image_reply(
      conn, xcb_get_image(conn, XCB_IMAGE_FORMAT_Z_PIXMAP, w, int16_t(x), int16_t(y), 1, 1, ~0u), nullptr);
    if (!img)
      return 0xDEADBEEF;
    uint32_t v = *reinterpret_cast<const uint32_t*>(xcb_get_image_data(img)) & 0xFFFFFF;
    free(img);
    return v;
  }
  void button(xcb_window_t w, uint8_t type, int x, int y)
  {
    xcb_button_press_event_t ev = {};
    ev.response_type = type;
    ev.detail = 1;
    ev.event = w;
    ev.event_x = int16_t(x);
    ev.event_y = int16_t(y);
    ev.same_screen = 1;
    xcb_send_event(conn, 0, w, type == XCB_BUTTON_PRESS ? XCB_EVENT_MASK_BUTTON_PRESS : XCB_EVENT_MASK_BUTTON_RELEASE,
                   reinterpret_cast<const char*>(&ev));
    sync();
  }

  TestHost host;
  void* lib = nullptr;
  AEffect* effect = nullptr;
  xcb_connection_t* conn = nullptr;
  xcb_window_t parent = 0, other = 0, third = 0;
};
} // namespace

TEST_F(KestrelEditorX11, OpensDrawsTakesClicksAndCloses)
{
  ASSERT_EQ(host.Dispatch(op::kEditOpen, 0, 0, parentArg()), 1);
  for (int i = 0; i < 3; ++i)
    host.Dispatch(op::kEditIdle);
  std::vector<xcb_window_t> kids = children();
  ASSERT_EQ(kids.size(), 1u);

  // A point only the background covers shows the background image's pixel.
  WDL_String resources;
  VSTResourcePathForLibrary(KESTREL_VST_PATH, &resources);
  LICE_IBitmap* bg = LICE_LoadPNG((std::string(resources.Get()) + "/kestrelbg.png").c_str());
  ASSERT_NE(bg, nullptr);
  for (auto [x, y] : {std::pair{5, 5}, {690, 240}, {350, 3}})
  {
    const uint8_t* px = reinterpret_cast<const uint8_t*>(bg->getBits() + y * bg->getRowSpan() + x);
    const uint32_t want = uint32_t(px[1]) << 16 | uint32_t(px[2]) << 8 | px[3];
    EXPECT_EQ(pixel(kids[0], x, y), want) << x << "," << y;
  }
  delete bg;

  // A click on the Decadence switch turns it on, told to the host as a gesture.
  const float before = effect->getParameter(effect, 6);
  button(kids[0], XCB_BUTTON_PRESS, 31, 214);
  host.Dispatch(op::kEditIdle);
  button(kids[0], XCB_BUTTON_RELEASE, 31, 214);
  host.Dispatch(op::kEditIdle);
  EXPECT_NE(effect->getParameter(effect, 6), before);
  EXPECT_EQ(host.Count(host::kBeginEdit), 1);
  EXPECT_EQ(host.Count(host::kEndEdit), 1);

  EXPECT_EQ(host.Dispatch(op::kEditClose), 1);
  EXPECT_TRUE(children().empty());
  EXPECT_EQ(host.Dispatch(op::kEditClose), 1); // twice is harmless
  EXPECT_EQ(host.Dispatch(op::kEditIdle), 0);
}

TEST_F(KestrelEditorX11, TheHostMayDestroyItsWindowFirst)
{
  ASSERT_EQ(host.Dispatch(op::kEditOpen, 0, 0, parentArg()), 1);
  host.Dispatch(op::kEditIdle);
  xcb_destroy_window(conn, parent);
  sync();
  host.Dispatch(op::kEditIdle);
  EXPECT_EQ(host.Dispatch(op::kEditClose), 1);
  // Open again into a window that is gone: refused, nothing left open.
  EXPECT_EQ(host.Dispatch(op::kEditOpen, 0, 0, parentArg()), 0);
  EXPECT_EQ(host.Dispatch(op::kEditOpen, 0, 0, nullptr), 0);
}

// The user closes the plug-in window, or the host moves the editor, mid-click:
// the host answers a request of the editor by closing it or opening it into
// another window, from inside the idle call that delivered the click or from
// inside its own close or open (into third) while the mouse is down. Each
// request acts on what is open when it is made.
TEST_F(KestrelEditorX11, TheHostMayCloseOrReopenFromInsideAGesture)
{
  static int32_t awaited, answer;
  static void* into;
  into = arg(other);
  host.mOnRequest = [](TestHost* h, int32_t opCode) {
    if (opCode == awaited)
      awaited = -1, h->Dispatch(answer, 0, 0, into);
  };
  for (int32_t request : {host::kBeginEdit, host::kAutomate, host::kEndEdit})
    for (int32_t closeOrOpen : {op::kEditClose, op::kEditOpen})
      for (int32_t during : {op::kIdle, op::kEditClose, op::kEditOpen})
      {
        if (during != op::kIdle && request != host::kEndEdit)
          continue;
        SCOPED_TRACE(testing::Message() << request << " answered by " << closeOrOpen << " during " << during);
        ASSERT_EQ(host.Dispatch(op::kEditOpen, 0, 0, parentArg()), 1);
        const xcb_window_t child = children()[0];
        awaited = request, answer = closeOrOpen;
        button(child, XCB_BUTTON_PRESS, 31, 214);
        host.Dispatch(op::kEditIdle);
        host.Dispatch(during, 0, 0, arg(third));
        if (!children().empty())
          button(child, XCB_BUTTON_RELEASE, 31, 214);
        host.Dispatch(op::kEditIdle);
        EXPECT_EQ(awaited, -1);
        const xcb_window_t shownIn = during == op::kEditOpen ? third : answer == op::kEditOpen ? other : 0;
        for (xcb_window_t w : {parent, other, third})
          ASSERT_EQ(children(w).size(), w == shownIn ? 1u : 0u);
        const int begun = host.Count(host::kBeginEdit);
        if (shownIn) // the editor takes clicks where it was last opened
          button(children(shownIn)[0], XCB_BUTTON_PRESS, 31, 214);
        host.Dispatch(op::kEditIdle);
        EXPECT_EQ(host.Count(host::kBeginEdit), begun + (shownIn ? 1 : 0));
        EXPECT_EQ(host.Dispatch(op::kEditClose), 1);
      }
}
