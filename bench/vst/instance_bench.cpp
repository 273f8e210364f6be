// Creating a KestrelVST instance, from VSTPluginMain to the end of effOpen,
// as hosts do for every scan, insert and session load, and opening the
// editor of a process's first instance. The first instance of a process
// finds the bitmap cache empty, so each sample runs in a forked child that
// loads the library afresh and reports its time through a pipe; this
// process never maps the library itself. The editor samples need an X
// server (DISPLAY). KESTREL_VST names another build of the library to time.

#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <thread>

#include "platform/vst/AEffect.h"
#include "platform/vst/VstOpcodes.h"

namespace
{

using EntryProc = AEffect* (*)(VstHostCallback);
using Clock = std::chrono::steady_clock;

intptr_t HostCallback(AEffect*, int32_t opCode, int32_t, intptr_t, void*, float)
{
  return opCode == vst::host::kVersion ? 2400 : 0;
}

intptr_t Dispatch(AEffect* effect, int32_t opCode, void* ptr = nullptr)
{
  return effect->dispatcher(effect, opCode, 0, 0, ptr, 0.0f);
}

double Since(Clock::time_point start)
{
  return std::chrono::duration<double>(Clock::now() - start).count();
}

AEffect* NewInstance(EntryProc entry)
{
  AEffect* effect = entry(HostCallback);
  if (effect)
    Dispatch(effect, vst::op::kOpen);
  return effect;
}

// Seconds to make (and open) the instance after `before` others, or, with
// editorAfterMs not negative, to open the first instance's editor that many
// milliseconds after making it; negative on failure.
double Sample(int before, int editorAfterMs)
{
  const char* path = getenv("KESTREL_VST");
  void* lib = dlopen(path ? path : KESTREL_VST_PATH, RTLD_NOW | RTLD_LOCAL);
  auto entry = lib ? reinterpret_cast<EntryProc>(dlsym(lib, "VSTPluginMain")) : nullptr;
  if (!entry)
    return -1.0;
  for (int i = 0; i < before; ++i)
    if (AEffect* effect = NewInstance(entry))
      Dispatch(effect, vst::op::kClose);
  Clock::time_point start = Clock::now();
  AEffect* effect = NewInstance(entry);
  double seconds = effect ? Since(start) : -1.0;
  if (effect && editorAfterMs >= 0)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(editorAfterMs));
    xcb_connection_t* conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn))
      return -1.0;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    xcb_window_t parent = xcb_generate_id(conn);
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, parent, screen->root, 0, 0, 700, 249, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(conn, parent);
    free(xcb_get_input_focus_reply(conn, xcb_get_input_focus(conn), nullptr));
    start = Clock::now();
    bool opened = Dispatch(effect, vst::op::kEditOpen, reinterpret_cast<void*>(uintptr_t(parent))) != 0;
    seconds = opened ? Since(start) : -1.0;
    Dispatch(effect, vst::op::kEditClose);
    xcb_disconnect(conn);
  }
  return seconds;
}

double SampleInChild(int before, int editorAfterMs)
{
  int fds[2];
  if (pipe(fds) != 0)
    return -1.0;
  pid_t child = fork();
  if (child == 0)
  {
    close(fds[0]);
    double seconds = Sample(before, editorAfterMs);
    _exit(write(fds[1], &seconds, sizeof seconds) == sizeof seconds ? 0 : 1);
  }
  close(fds[1]);
  double seconds = -1.0;
  if (child < 0 || read(fds[0], &seconds, sizeof seconds) != sizeof seconds)
    seconds = -1.0;
  close(fds[0]);
  int status = 0;
  if (child > 0)
    waitpid(child, &status, 0);
  return seconds;
}

void Run(benchmark::State& state, int before, int editorAfterMs = -1)
{
  for (auto _ : state)
  {
    double seconds = SampleInChild(before, editorAfterMs);
    if (seconds < 0)
    {
      state.SkipWithError("the child could not create the instance or open its editor");
      break;
    }
    state.SetIterationTime(seconds);
  }
}

void BM_InstanceFirstInProcess(benchmark::State& state)
{
  Run(state, 0);
}
void BM_InstanceSecondInProcess(benchmark::State& state)
{
  Run(state, 1);
}
// Arg: milliseconds from the instance to the editor, as a host's set-up
// between the two takes.
void BM_EditorOpenOfFirstInstance(benchmark::State& state)
{
  if (!getenv("DISPLAY"))
  {
    state.SkipWithError("no DISPLAY");
    return;
  }
  Run(state, 0, int(state.range(0)));
}
BENCHMARK(BM_InstanceFirstInProcess)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InstanceSecondInProcess)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorOpenOfFirstInstance)
  ->Arg(0)
  ->Arg(30)
  ->Arg(100)
  ->UseManualTime()
  ->Iterations(20)
  ->Unit(benchmark::kMillisecond);

} // namespace
BENCHMARK_MAIN();
