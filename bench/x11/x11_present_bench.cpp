// The editor's 700 x 249 frame and a knob-sized dirty rectangle copied to
// an X child window, each iteration waiting until the server has drawn
// it: through shared memory, and through the socket as with a remote
// server. The conversion alone runs beside them for comparison.

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <vector>

#include "platform/cocoa/NSWindow.h"
#include "wdl/IPlug/x11/X11PixelFormat.h"
#include "wdl/IPlug/x11/X11Presenter.h"

namespace
{

constexpr int kW = 700, kH = 249;

struct Scene
{
  Scene()
  {
    conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn))
      return;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    parent = xcb_generate_id(conn);
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, kW, kH, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, 0, nullptr);
    xcb_map_window(conn, parent);
    free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr));
    window = new NSWindow(NSMakeRect(0, 0, kW, kH));
    ok = presenter.Open(parent, window);
  }
  ~Scene()
  {
    presenter.Close();
    NSRelease(window);
    xcb_disconnect(conn);
  }
  xcb_connection_t* conn = nullptr;
  xcb_window_t parent = 0;
  NSWindow* window = nullptr;
  X11Presenter presenter;
  bool ok = false;
};

void copy(benchmark::State& state, int w, int h, bool shared = true)
{
  if (!getenv("DISPLAY"))
  {
    state.SkipWithError("no X server (DISPLAY unset)");
    return;
  }
  Scene scene;
  if (!scene.ok)
  {
    state.SkipWithError("cannot open the child window");
    return;
  }
  if (!shared)
    scene.presenter.LimitRequestBytes(1 << 22);
  for (auto _ : state)
  {
    scene.presenter.PresentRect(100, 100 % (kH - h + 1), w, h);
    scene.presenter.Sync();
  }
}

void BM_FullFrame(benchmark::State& state)
{
  copy(state, kW, kH);
}
void BM_DirtyRect60x40(benchmark::State& state)
{
  copy(state, 60, 40);
}
// Without shared memory: the pixels travel through the socket.
void BM_FullFrameThroughSocket(benchmark::State& state)
{
  copy(state, kW, kH, false);
}
void BM_DirtyRect60x40ThroughSocket(benchmark::State& state)
{
  copy(state, 60, 40, false);
}

void BM_ConvertFullFrame(benchmark::State& state)
{
  std::vector<uint32_t> src(size_t(kW) * kH, 0x80402010u), dst(src.size());
  X11PixelFormat format;
  for (auto _ : state)
  {
    format.convert(src.data(), dst.data(), int(src.size()));
    benchmark::DoNotOptimize(dst.data());
  }
}

} // namespace

BENCHMARK(BM_FullFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirtyRect60x40)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FullFrameThroughSocket)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DirtyRect60x40ThroughSocket)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ConvertFullFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
